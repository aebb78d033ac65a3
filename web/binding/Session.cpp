// The editing session the page shows (PageSession.h): the picture, its
// drawing, sizes and preview, and the binding of the whole session.
#include "web/binding/PageSession.h"

#include "core/code/CodeFormats.h"
#include "core/formats/DrawingFile.h"
#include "core/session/DisplayPreview.h"
#include "core/session/GlyphSet.h"
#include "web/binding/Fonts.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using emscripten::val;

namespace tessaldo::page {

void PageSession::TakeDots(const std::string &caption, const std::string &dots)
{
    const tessaldo::PictureSize size = m_session.Doc().Size();
    const bool sized = !IsModuleSize(size) && dots.size() == static_cast<std::size_t>(size.DotCount());
    m_session.TakeDots(caption, sized ? DotsFrom(dots, size) : GridFrom(0, dots).AllDots());
}

std::string PageSession::TakeDotsOfSize(const std::string &caption, const std::string &dots, int width, int height)
{
    const tessaldo::PictureSize size{width, height};
    if (width <= 0 || height <= 0 || dots.size() != static_cast<std::size_t>(size.DotCount())) {
        TakeDots(caption, dots);
        return {};
    }
    return m_session.TakeDots(caption, IsModuleSize(size) ? GridFrom(0, dots).AllDots() : DotsFrom(dots, size));
}

std::string PageSession::TakePictures(const std::string &caption, const val &pictures)
{
    std::vector<Picture> taken;
    const auto count = pictures["length"].as<std::size_t>();
    for (std::size_t i = 0; i < count; ++i)
        taken.push_back(PictureFrom(pictures[i]));
    return m_session.TakePictures(caption, std::move(taken));
}

std::string PageSession::OpenDrawing(const std::string &name, const val &bytes)
{
    const ParsedDrawing parsed = ParsePicture(BytesOf(bytes), ReadFrom::File(name), m_session.Doc().type);
    if (!parsed)
        return parsed.message();
    return m_session.Open(parsed.value());
}

val PageSession::OnionView()
{
    m_onion = m_session.OnionDots();
    return m_onion ? ByteView(*m_onion) : val::null();
}

void PageSession::StrokeTo(GridGesture &gesture, int dot, double x, double y)
{
    const std::vector<int> dots = gesture.Move(dot, {x, y}, m_session.Grid());
    if (!dots.empty())
        m_session.Paint(dots, gesture.PaintState());
}

val PageSession::Selection() const
{
    const std::optional<CellRect> rect = m_session.Selection();
    if (!rect)
        return val::null();
    val result = val::object();
    result.set("left", rect->topLeft.column);
    result.set("top", rect->topLeft.row);
    result.set("width", rect->size.width);
    result.set("height", rect->size.height);
    return result;
}

void PageSession::Paint(const val &dots, bool set)
{
    m_session.Paint(emscripten::vecFromJSArray<int>(dots), set ? DotState::Set : DotState::Clear);
}

void PageSession::SetArrayForm(const std::string &name)
{
    if (const std::optional<CodeFormat> form = ArrayFormFromName(name))
        m_session.SetArrayForm(*form);
}

val PageSession::CopyByKey(const std::string &shown)
{
    const EditSession::KeyCopy copy = m_session.CopyByKey(shown);
    val result = val::object();
    result.set("text", copy.text);
    result.set("note", copy.note);
    return result;
}

std::string PageSession::Resize(int width, int height, const std::string &anchor)
{
    return m_session.Resize({width, height}, AnchorFromName(anchor).value_or(Anchor::TopLeft));
}

val PageSession::OpenFont(const std::string &fileName, const val &bytes, bool drawn)
{
    return page::OpenFont(m_session, fileName, bytes, drawn);
}

val PageSession::FontFile(const std::string &fileName, int mode) const
{
    return page::FontFile(m_session, fileName, mode);
}

std::string PageSession::SampleText() const
{
    return SampleTextOf(m_session.Doc());
}

std::string PageSession::StripCaption(std::size_t index) const
{
    return tessaldo::StripCaption(PictureAt(index));
}

val PageSession::GlyphLines() const
{
    const std::optional<GlyphMetrics> &glyph = m_session.Doc().Edited().glyph;
    if (!glyph)
        return val::null();
    val lines = val::object();
    lines.set("baseline", glyph->baseline);
    lines.set("originColumn", glyph->originColumn);
    lines.set("advance", glyph->advance);
    lines.set("beyond", AdvanceBeyondCell(m_session.Doc().Edited()));
    return lines;
}

val PageSession::Preview(const std::string &sample)
{
    val result = val::object();
    const bool shown = m_session.PreviewShown();
    result.set("shown", shown);
    result.set("display", m_session.PreviewDisplay());
    const PanelColours colours = m_session.PreviewColours();
    result.set("colours", static_cast<int>(std::find(kPanelColours.begin(), kPanelColours.end(), colours)
                                           - kPanelColours.begin()));
    result.set("pixels", val::null());
    result.set("advice", m_session.FormAdvice());
    result.set("switchCaption", m_session.FormSwitchCaption());
    if (!shown)
        return result;
    Previewed now{m_session.Doc().Edited().dots,
                  m_session.Doc().type,
                  m_session.ArrayForm(),
                  m_session.PreviewDisplay(),
                  colours,
                  sample};
    // A glyph's baseline and advance move its sample line without a dot changing.
    if (now == m_previewed && !m_session.HoldsFont())
        return result;
    m_previewed = std::move(now);
    const Display &display = Displays()[m_session.PreviewDisplay()];
    const DisplayPreview preview = page::PreviewOf(m_session, display, sample);
    const PanelPalette palette = PaletteOf(colours);
    const tessaldo::PictureSize size = preview.dots.Size();
    // A row's two colours once, then four bytes a dot: an 800 x 480 panel is redrawn on every step.
    const auto rgba = [](std::uint32_t colour) {
        return std::array{static_cast<char>(colour >> 16), static_cast<char>(colour >> 8), static_cast<char>(colour),
                          '\xff'};
    };
    std::string pixels(static_cast<std::size_t>(size.DotCount()) * 4, '\xff');
    char *pixel = pixels.data();
    auto dot = preview.dots.begin();
    for (int row = 0; row < size.height; ++row) {
        const std::array clear = rgba(DotColour(palette, row, false));
        const std::array set = rgba(DotColour(palette, row, true));
        for (int column = 0; column < size.width; ++column, ++dot, pixel += 4)
            std::memcpy(pixel, (*dot == DotState::Set ? set : clear).data(), 4);
    }
    result.set("width", size.width);
    result.set("height", size.height);
    result.set("pixels", Uint8Array(pixels));
    result.set("note", preview.note);
    return result;
}

void PageSession::SetPreviewColours(std::size_t index)
{
    if (index < kPanelColours.size())
        m_session.SetPreviewColours(kPanelColours.at(index));
}

val PageSession::PictureFile(const std::string &name) const
{
    const Result<std::string> bytes = PictureFileBytes(m_session.Doc().Grid(), std::filesystem::path(name));
    val result = val::object();
    result.set("problem", bytes ? std::string() : bytes.message());
    result.set("bytes", Uint8Array(bytes ? bytes.value() : std::string()));
    return result;
}

int PageSession::HeaderLayoutIndex() const
{
    return static_cast<int>(std::find(kEveryBitLayout.begin(), kEveryBitLayout.end(), m_session.OpenedLayout())
                            - kEveryBitLayout.begin());
}

val PageSession::SizeValue(tessaldo::PictureSize size)
{
    val value = val::object();
    value.set("width", size.width);
    value.set("height", size.height);
    return value;
}

val PageSession::ByteView(const tessaldo::Dots &dots)
{
    return val(emscripten::typed_memory_view(dots.size(), reinterpret_cast<const unsigned char *>(dots.data())));
}

void PageSession::Subscribe(val listener)
{
    m_session.Subscribe([listener = std::move(listener)] { listener(); });
}

} // namespace tessaldo::page

using namespace tessaldo;
using namespace tessaldo::page;

EMSCRIPTEN_BINDINGS(tessaldo_session)
{
    emscripten::function("frameDelay", &FrameDelay);
    emscripten::enum_<Tool>("Tool")
        .value("Pencil", Tool::Pencil)
        .value("Line", Tool::Line)
        .value("Rectangle", Tool::Rectangle)
        .value("Ellipse", Tool::Ellipse)
        .value("Fill", Tool::Fill)
        .value("Select", Tool::Select);
    emscripten::class_<PageSession>("Session")
        .constructor<>()
        .function("subscribe", &PageSession::Subscribe)
        .function("dots", &PageSession::Dots)
        .function("type", &PageSession::Type)
        .function("toggleDot", &PageSession::ToggleDot)
        .function("setType", &PageSession::SetType)
        .function("takeDots", &PageSession::TakeDots)
        .function("takeDotsOfSize", &PageSession::TakeDotsOfSize)
        .function("newPicture", &PageSession::NewPicture)
        .function("takePictures", &PageSession::TakePictures)
        .function("openFrames", &PageSession::OpenFrames)
        .function("openSetText", &PageSession::OpenSetText)
        .function("openSetDrawings", &PageSession::OpenSetDrawings)
        .function("openFont", &PageSession::OpenFont)
        .function("fontFile", &PageSession::FontFile)
        .function("addGlyph", &PageSession::AddGlyph)
        .function("keepGlyphsForText", &PageSession::KeepGlyphsForText)
        .function("holdsFont", &PageSession::HoldsFont)
        .function("sampleText", &PageSession::SampleText)
        .function("glyphLines", &PageSession::GlyphLines)
        .function("documentText", &PageSession::DocumentText)
        .function("headerLayoutIndex", &PageSession::HeaderLayoutIndex)
        .function("openSetDocument", &PageSession::OpenSetDocument)
        .function("setHeaderText", &PageSession::SetHeaderText)
        .function("setFolderFiles", &PageSession::SetFolderFiles)
        .function("setFolderZip", &PageSession::SetFolderZip)
        .function("count", &PageSession::Count)
        .function("current", &PageSession::Current)
        .function("pictureName", &PageSession::PictureName)
        .function("stripCaption", &PageSession::StripCaption)
        .function("pictureDelay", &PageSession::PictureDelay)
        .function("pictureAccessibleName", &PageSession::PictureAccessibleName)
        .function("pictureAccessibleDescription", &PageSession::PictureAccessibleDescription)
        .function("pictureDots", &PageSession::PictureDots)
        .function("select", &PageSession::Select)
        .function("movePicture", &PageSession::MovePicture)
        .function("renamePicture", &PageSession::RenamePicture)
        .function("setDelay", &PageSession::SetDelay)
        .function("onionDots", &PageSession::OnionDots)
        .function("setPlaying", &PageSession::SetPlaying)
        .function("isPlaying", &PageSession::IsPlaying)
        .function("showNextFrame", &PageSession::ShowNextFrame)
        .function("shownMs", &PageSession::ShownMs)
        .function("holdsSet", &PageSession::HoldsSet)
        .function("isClean", &PageSession::IsClean)
        .function("saveChangesQuestion", &PageSession::SaveChangesQuestion)
        .function("setSaved", &PageSession::SetSaved)
        .function("openDrawing", &PageSession::OpenDrawing)
        .function("width", &PageSession::Width)
        .function("height", &PageSession::Height)
        .function("dotView", &PageSession::DotView)
        .function("onionView", &PageSession::OnionView)
        .function("strokeTo", &PageSession::StrokeTo)
        .function("tool", &PageSession::CurrentTool)
        .function("dragShape", &PageSession::DragShape)
        .function("fill", &PageSession::Fill)
        .function("selectCells", &PageSession::SelectCells)
        .function("selectNone", &PageSession::SelectNone)
        .function("selection", &PageSession::Selection)
        .function("dragSelection", &PageSession::DragSelection)
        .function("paint", &PageSession::Paint)
        .function("endStroke", &PageSession::EndStroke)
        .function("perform", &PageSession::Perform)
        .function("isEnabled", &PageSession::IsEnabled)
        .function("isChecked", &PageSession::IsChecked)
        .function("arrayText", &PageSession::ArrayText)
        .function("copiedText", &PageSession::CopiedText)
        .function("selectionArrayText", &PageSession::SelectionArrayText)
        .function("arrayForm", &PageSession::ArrayForm)
        .function("setArrayForm", &PageSession::SetArrayForm)
        .function("markSaved", &PageSession::MarkSaved)
        .function("keptText", &PageSession::KeptText)
        .function("keptParts", &PageSession::KeptParts)
        .function("forgetKeptParts", &PageSession::ForgetKeptParts)
        .function("restore", &PageSession::Restore)
        .function("shareLink", &PageSession::ShareLinkTo)
        .function("openLink", &PageSession::OpenLink)
        .function("run", &PageSession::Run)
        .function("forgetCode", &PageSession::ForgetCode)
        .function("codeIsStale", &PageSession::CodeIsStale)
        .function("copyByKey", &PageSession::CopyByKey)
        .function("size", &PageSession::Size)
        .function("pictureSize", &PageSession::PictureSizeAt)
        .function("newPictureOfSize", &PageSession::NewPictureOfSize)
        .function("resize", &PageSession::Resize)
        .function("enlarge", &PageSession::Enlarge)
        .function("reduce", &PageSession::Reduce)
        .function("preview", &PageSession::Preview)
        .function("useDisplaysForm", &PageSession::UseDisplaysForm)
        .function("setPreviewDisplay", &PageSession::SetPreviewDisplay)
        .function("setPreviewColours", &PageSession::SetPreviewColours)
        .function("pictureFile", &PageSession::PictureFile);
}
