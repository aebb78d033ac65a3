// The editing session the page shows: the same one the window binds. The
// page subscribes once and redraws from it after every announced change.
#include "web/binding/Convert.h"

#include "core/code/CodeFormats.h"
#include "core/formats/DocumentText.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/formats/ShareLink.h"
#include "core/formats/StoredZip.h"
#include "core/platform/FileIo.h"
#include "core/platform/ScratchFolder.h"
#include "core/session/DisplayPreview.h"
#include "core/session/EditSession.h"
#include "core/session/GlyphSet.h"
#include "core/session/GridGesture.h"
#include "core/session/Texts.h"
#include "web/binding/Fonts.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using namespace tessaldo;
using namespace tessaldo::page;
using emscripten::val;

namespace {

// The page's file system lives in memory; the set's files pass through it.
constexpr std::string_view kScratchRoot = "/scratch";

// All of a picture's file the set's folder holds: a drawing file's first
// bytes, or a bitmap of any size, as large as a source may be.
constexpr std::size_t kPictureFileBytes = kMaxSourceBytes;

// The line a header of the page's begins with: "Made by ...".
constexpr std::string_view kHeaderMaker = "the Tessaldo window";

// A frame's delay as viewers show it: the browser gives a GIF's as written.
int FrameDelay(const val &frame, bool gif)
{
    const int delayMs = frame["delayMs"].as<int>();
    return gif ? GifFrameDelayMs(delayMs) : delayMs;
}

class PageSession {
public:
    void Subscribe(val listener)
    {
        m_session.Subscribe([listener = std::move(listener)] { listener(); });
    }

    std::string Dots() const { return DotsOf(m_session.Doc().Edited().dots); }
    int Type() const { return LcdTypeValue(m_session.Doc().type); }

    void ToggleDot(int dot) { m_session.ToggleDot(dot); }
    void SetType(int type) { m_session.SetType(TypeOf(type)); }
    // Dots of the picture's size, as an import of it gives them, or else of the module's.
    void TakeDots(const std::string &caption, const std::string &dots)
    {
        const tessaldo::PictureSize size = m_session.Doc().Size();
        const bool sized = !IsModuleSize(size) && dots.size() == static_cast<std::size_t>(size.DotCount());
        m_session.TakeDots(caption, sized ? DotsFrom(dots, size) : GridFrom(0, dots).AllDots());
    }
    // Dots of a told size, as a paste read at the size chosen for it brings:
    // the picture takes that size; '' or why not (a set of another size).
    std::string TakeDotsOfSize(const std::string &caption, const std::string &dots, int width, int height)
    {
        const tessaldo::PictureSize size{width, height};
        if (width <= 0 || height <= 0 || dots.size() != static_cast<std::size_t>(size.DotCount())) {
            TakeDots(caption, dots);
            return {};
        }
        return m_session.TakeDots(caption, IsModuleSize(size) ? GridFrom(0, dots).AllDots() : DotsFrom(dots, size));
    }
    void NewPicture() { m_session.New(); }
    std::string TakePictures(const std::string &caption, const val &pictures)
    {
        std::vector<Picture> taken;
        const auto count = pictures["length"].as<std::size_t>();
        for (std::size_t i = 0; i < count; ++i)
            taken.push_back(PictureFrom(pictures[i]));
        return m_session.TakePictures(caption, std::move(taken));
    }

    // An image's frames, [{dots, delayMs}] at the picture's size, as the set the
    // window opens them as, in the type being edited. The browser gives a GIF's
    // delays as written; they are shown as viewers show them.
    void OpenFrames(const std::string &fileName, const val &frames, bool gif)
    {
        const tessaldo::PictureSize size = m_session.Doc().Size();
        std::vector<Picture> pictures;
        const auto count = frames["length"].as<std::size_t>();
        pictures.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const val frame = frames[i];
            pictures.push_back({{}, FrameDelay(frame, gif), DotsFrom(frame["dots"].as<std::string>(), size)});
        }
        m_session.OpenSet(SetOfFrames(std::move(pictures), m_session.Doc().type, NameFromFileName(fileName)));
    }

    // A header or C source opened as the set: {problem, note, choices}, the
    // problem the whole message when nothing was opened, the note what was
    // passed over. Pictures that say no layout are read in `layout`; before
    // the user answered (""), nothing is opened while there are choices to ask about.
    val OpenSetText(const std::string &fileName, const std::string &text, const std::string &layout)
    {
        const SetReading reading = ReadSet(text, m_session.Doc().type, {}, AnsweredLayout(layout));
        val result = val::object();
        result.set("problem", reading.set ? std::string() : OpenFailed(fileName, reading.problem).message());
        result.set("note", ReadingNote(fileName, reading));
        result.set("choices", ChoicesValue(reading.set ? reading.choices : std::vector<LayoutChoice>{}));
        if (reading.set && reading.choices.empty())
            m_session.OpenSet(*reading.set, reading.layout);
        return result;
    }

    // A source read apart, in a worker of the page's, crosses as the text of
    // its document and the index of its layout in kBitLayouts; opened as
    // OpenSetText opens it.
    std::string DocumentText() const { return WriteDocumentText(m_session.Doc()); }
    int HeaderLayoutIndex() const
    {
        return static_cast<int>(std::find(kBitLayouts.begin(), kBitLayouts.end(), m_session.HeaderLayout())
                                - kBitLayouts.begin());
    }
    // The message when the set's text does not read back, "" when opened.
    std::string OpenSetDocument(const std::string &documentText, int layoutIndex)
    {
        DocumentReading reading = ReadDocumentText(documentText);
        if (reading.document)
            m_session.OpenSet(std::move(*reading.document), kBitLayouts.at(static_cast<std::size_t>(layoutIndex)));
        return reading.problem;
    }

    // A font's glyphs and metrics (web/binding/Fonts.cpp): opened, saved, a
    // glyph added by its character, the glyphs a text draws kept.
    val OpenFont(const std::string &fileName, const val &bytes, int pixelSize)
    {
        return page::OpenFont(m_session, fileName, bytes, pixelSize);
    }
    val FontFile(const std::string &fileName, int mode) const { return page::FontFile(m_session, fileName, mode); }
    std::string AddGlyph(int codePoint) { return m_session.AddGlyph(static_cast<char32_t>(codePoint)); }
    std::string KeepGlyphsForText(const std::string &text) { return m_session.KeepGlyphsForText(text); }
    bool HoldsFont() const { return m_session.HoldsFont(); }
    std::string SampleText() const { return SampleTextOf(m_session.Doc()); }
    // The edited glyph's {baseline, originColumn, advance} in dots, null for a picture that is no glyph.
    val GlyphLines() const
    {
        const std::optional<GlyphMetrics> &glyph = m_session.Doc().Edited().glyph;
        if (!glyph)
            return val::null();
        val lines = val::object();
        lines.set("baseline", glyph->baseline);
        lines.set("originColumn", glyph->originColumn);
        lines.set("advance", glyph->advance);
        return lines;
    }

    // Drawing files, [{name, bytes}], opened as the set in the order given, those
    // that do not open as one left out: {problem, note}, the problem the
    // message when none opened, the note the files left out and why.
    val OpenSetDrawings(const val &files)
    {
        val result = val::object();
        result.set("note", std::string());
        result.set("problem", std::string());
        const ScratchFolder folder(kScratchRoot);
        std::vector<std::filesystem::path> names;
        const auto count = files["length"].as<std::size_t>();
        for (std::size_t i = 0; i < count; ++i) {
            names.emplace_back(files[i]["name"].as<std::string>());
            if (FileStatus put = ScratchFolder::Put(names.back(), BytesOf(files[i]["bytes"])); !put) {
                result.set("problem", put.message());
                return result;
            }
        }
        Document set;
        std::vector<std::string> leftOut;
        if (FileStatus opened = OpenSetFiles(names, set, &leftOut); !opened) {
            result.set("problem", opened.message());
            return result;
        }
        result.set("note", LeftOutNote(leftOut));
        m_session.OpenSet(std::move(set));
        return result;
    }

    // The header the set is saved as under `fileName`: {text, problem}.
    val SetHeaderText(const std::string &fileName) const
    {
        const SetText header = FormatSetHeader(m_session.Doc(), std::filesystem::path(fileName), kHeaderMaker,
                                               std::nullopt, m_session.HeaderLayout());
        val result = val::object();
        result.set("text", header.text);
        result.set("problem", header.problem);
        return result;
    }

    // The drawing files the set is saved as in the folder `folderName`:
    // {files: [{name, bytes}], problem}.
    val SetFolderFiles(const std::string &folderName) const
    {
        const ScratchFolder folder(kScratchRoot);
        val result = val::object();
        val files = val::array();
        const FileStatus saved = SaveSetFolder(m_session.Doc(), folderName);
        result.set("problem", saved.message());
        result.set("files", files);
        if (!saved)
            return result;
        for (const Picture &picture : m_session.Doc().pictures) {
            val file = val::object();
            const std::string name = PictureFileName(picture.name, picture.dots.Size());
            file.set("name", name);
            const std::optional<std::string> bytes =
                ScratchFolder::Read(std::filesystem::path(folderName) / name, kPictureFileBytes);
            file.set("bytes", bytes ? Uint8Array(*bytes) : val::null());
            files.call<void>("push", file);
        }
        return result;
    }

    // The same files in a zip archive, in the folder `folderName` inside it,
    // dated `time` ({year, month, day, hour, minute, second}): {bytes, problem}.
    val SetFolderZip(const std::string &folderName, const val &time) const
    {
        const ScratchFolder folder(kScratchRoot);
        val result = val::object();
        const FileStatus saved = SaveSetFolder(m_session.Doc(), folderName);
        std::vector<ZipEntry> entries;
        for (const Picture &picture : m_session.Doc().pictures) {
            const std::string name = folderName + "/" + PictureFileName(picture.name, picture.dots.Size());
            entries.push_back(
                {name, saved ? ScratchFolder::Read(name, kPictureFileBytes).value_or(std::string()) : std::string()});
        }
        const ZipMade zip =
            saved ? StoredZip(entries, {time["year"].as<int>(), time["month"].as<int>(), time["day"].as<int>(),
                                        time["hour"].as<int>(), time["minute"].as<int>(), time["second"].as<int>()})
                  : ZipMade{{}, saved.message()};
        result.set("problem", zip.problem);
        result.set("bytes", Uint8Array(zip.bytes));
        return result;
    }

    // The set: its size, the edited picture, and any picture's name, delay and dots.
    std::size_t Count() const { return m_session.Doc().pictures.size(); }
    std::size_t Current() const { return m_session.Doc().current; }
    std::string PictureName(std::size_t index) const { return PictureAt(index).name; }
    int PictureDelay(std::size_t index) const { return PictureAt(index).delayMs; }
    std::string PictureAccessibleName(std::size_t index) const
    {
        return tessaldo::PictureAccessibleName(m_session.Doc(), index);
    }
    std::string PictureAccessibleDescription(std::size_t index) const
    {
        return tessaldo::PictureAccessibleDescription(m_session.Doc(), index);
    }
    std::string PictureDots(std::size_t index) const { return DotsOf(PictureAt(index).dots); }
    void Select(std::size_t index) { m_session.Select(index); }
    void MovePicture(std::size_t from, std::size_t to) { m_session.MovePicture(from, to); }
    std::string RenamePicture(std::size_t index, const std::string &name)
    {
        return m_session.RenamePicture(index, name);
    }
    std::string SetDelay(std::size_t index, int delayMs) { return m_session.SetDelay(index, delayMs); }
    // The previous picture's dots under the grid, or "" when none are shown.
    std::string OnionDots() const
    {
        const std::optional<DotGrid::Dots> dots = m_session.OnionDots();
        return dots ? DotsOf(*dots) : std::string();
    }
    void SetPlaying(bool on) { m_session.SetPlaying(on); }
    bool IsPlaying() const { return m_session.IsPlaying(); }
    int ShowNextFrame() { return m_session.ShowNextFrame(); }
    int ShownMs() const { return m_session.ShownMs(); }
    bool HoldsSet() const { return m_session.HoldsSet(); }
    bool IsClean() const { return m_session.IsClean(); }
    std::string SaveChangesQuestion() const { return std::string(m_session.SaveChangesQuestion()); }
    void SetSaved() { m_session.SetSaved(); }

    // Opens a picture file's bytes, a drawing file, PBM or XBM at its own
    // size, or says why it cannot: the message, empty when opened.
    std::string OpenDrawing(const std::string &name, const val &bytes)
    {
        const ParsedDrawing parsed = ParsePicture(BytesOf(bytes), ReadFrom::File(name), m_session.Doc().type);
        if (!parsed)
            return parsed.message();
        return m_session.Open(parsed.value());
    }

    // The edited picture at any size: its sides, and its dots a byte each (1
    // for set) by index, viewed in the core's memory. The view lasts only
    // until the next change, so the page copies it as it is told of one.
    int Width() const { return m_session.Doc().Edited().dots.Size().width; }
    int Height() const { return m_session.Doc().Edited().dots.Size().height; }
    val DotView() const { return ByteView(m_session.Doc().Edited().dots); }
    // The previous picture's dots as DotView gives them, or null when none are shown.
    val OnionView()
    {
        m_onion = m_session.OnionDots();
        return m_onion ? ByteView(*m_onion) : val::null();
    }

    // The pencil's drag at any size: the gesture's dots painted in the session's picture, not a copy of 256.
    void StrokeTo(GridGesture &gesture, int dot, double x, double y)
    {
        const std::vector<int> dots = gesture.Move(dot, {x, y}, m_session.Grid());
        if (!dots.empty())
            m_session.Paint(dots, gesture.PaintState());
    }

    // The tools, cells given as column and row.
    Tool CurrentTool() const { return m_session.CurrentTool(); }
    void DragShape(int fromX, int fromY, int toX, int toY, bool constrained)
    {
        m_session.DragShape({fromX, fromY}, {toX, toY}, constrained);
    }
    void Fill(int x, int y) { m_session.Fill({x, y}); }
    void SelectCells(int ax, int ay, int bx, int by) { m_session.SelectCells({ax, ay}, {bx, by}); }
    void SelectNone() { m_session.SelectNone(); }
    // {left, top, width, height} in cells, or null when nothing is selected.
    val Selection() const
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
    void DragSelection(int dx, int dy) { m_session.DragSelection(dx, dy); }

    void Paint(const val &dots, bool set)
    {
        m_session.Paint(emscripten::vecFromJSArray<int>(dots), set ? DotState::Set : DotState::Clear);
    }
    void EndStroke() { m_session.EndStroke(); }

    bool Perform(CommandId id) { return m_session.Perform(id); }
    bool IsEnabled(CommandId id, bool somethingToPaste) const { return m_session.IsEnabled(id, somethingToPaste); }
    bool IsChecked(CommandId id) const { return m_session.IsChecked(id); }

    // What "Copy as C Array" copies, and the name of its form, which the page
    // remembers and gives back at the next visit; a name of no form is not taken.
    std::string ArrayText() const { return m_session.ArrayText(); }
    // What Copy and Cut of a selection copy: its dots as one array, '' without a selection.
    std::string SelectionArrayText() const { return m_session.SelectionArrayText(); }
    std::string ArrayForm() const { return std::string(CodeFormatName(m_session.ArrayForm())); }
    void SetArrayForm(const std::string &name)
    {
        if (const std::optional<CodeFormat> form = ArrayFormFromName(name))
            m_session.SetArrayForm(*form);
    }

    void MarkSaved() { m_session.PictureSaved(); }

    // The work as the browser's storage keeps it, and the session made that
    // work again: the message when the text is damaged, "" when restored.
    std::string KeptText() const { return WriteKeptText(m_session.Doc(), m_session.SavedDoc()); }
    // The same in parts, for storage to write only what changed: {document,
    // saved: [[index, text]] changed since the last call, documentParts,
    // savedParts}, the saved set's parts 0 while it is the document's. Joined,
    // the parts, and the saved set's after a line break, are KeptText.
    val KeptParts()
    {
        val result = val::object();
        result.set("document", PartsValue(m_documentParts.Changed(m_session.Doc())));
        result.set("documentParts", m_documentParts.Count());
        const bool same = m_session.Doc().SameSet(m_session.SavedDoc());
        if (same)
            m_savedParts.Forget();
        result.set("saved", PartsValue(same ? std::vector<TextPart>() : m_savedParts.Changed(m_session.SavedDoc())));
        result.set("savedParts", same ? 0 : m_savedParts.Count());
        return result;
    }
    // After storage refused a part, the next call gives every part again.
    void ForgetKeptParts()
    {
        m_documentParts.Forget();
        m_savedParts.Forget();
    }
    std::string Restore(const std::string &text)
    {
        KeptReading kept = ReadKeptText(text);
        if (kept.document)
            m_session.Restore(std::move(*kept.document), std::move(kept.saved));
        return kept.problem;
    }

    // The link to the document from the page at `pageAddress`: {address, note,
    // tooLong}, tooLong the sentence saying to send the file instead where the
    // link is longer than mail and chat pass on, else "".
    val ShareLinkTo(const std::string &pageAddress) const
    {
        const ShareLink link = MakeShareLink(pageAddress, m_session.Doc());
        val result = val::object();
        result.set("address", link.address);
        result.set("note", link.note);
        result.set("tooLong", link.tooLong ? FilledText(TextId::LinkTooLong, {std::to_string(link.address.size()),
                                                                              std::to_string(kLinkLimit)})
                                           : std::string());
        return result;
    }
    // Shows the document of an address's fragment as one step: the message, "" when shown.
    std::string OpenLink(const std::string &fragment)
    {
        LinkReading reading = ReadShareLink(fragment);
        if (reading.document)
            m_session.OpenShared(std::move(*reading.document));
        return reading.problem;
    }

    std::string Run() { return m_session.Run(); }
    void ForgetCode() { m_session.ForgetCode(); }
    bool CodeIsStale() const { return m_session.CodeIsStale(); }
    // What Ctrl+C copies, {text, note}: the text empty where nothing is to be copied.
    val CopyByKey(const std::string &shown)
    {
        const EditSession::KeyCopy copy = m_session.CopyByKey(shown);
        val result = val::object();
        result.set("text", copy.text);
        result.set("note", copy.note);
        return result;
    }

    // The picture's size, {width, height}; and the work made another size:
    // a new clear picture, or the set cropped, extended or scaled as one
    // step, "" when done or the sentence saying why not. The page's boxes
    // take only the sizes a picture may have.
    val Size() const { return SizeValue(m_session.Doc().Size()); }
    val PictureSizeAt(std::size_t index) const { return SizeValue(PictureAt(index).dots.Size()); }
    void NewPictureOfSize(int width, int height) { m_session.NewPicture({width, height}); }
    std::string Resize(int width, int height, const std::string &anchor)
    {
        return m_session.Resize({width, height}, AnchorFromName(anchor).value_or(Anchor::TopLeft));
    }
    std::string Enlarge(int factor) { return m_session.Enlarge(factor); }
    std::string Reduce(int factor) { return m_session.Reduce(factor); }

    // The picture as the chosen display shows it, read back from the bytes of
    // the array form: {shown, display, colours, width, height, pixels, note},
    // the pixels RGBA a dot each, the display an index into displays(), the
    // colours into panelColours().
    // `sample`: for a font's set, the line of text the display shows in it ("" for the picture).
    val Preview(const std::string &sample) const
    {
        val result = val::object();
        const bool shown = m_session.PreviewShown();
        result.set("shown", shown);
        result.set("display", m_session.PreviewDisplay());
        const PanelColours colours = m_session.PreviewColours();
        result.set("colours", static_cast<int>(std::find(kPanelColours.begin(), kPanelColours.end(), colours)
                                               - kPanelColours.begin()));
        if (!shown)
            return result;
        const Display &display = Displays()[m_session.PreviewDisplay()];
        const DisplayPreview preview = page::PreviewOf(m_session, display, sample);
        const PanelPalette palette = PaletteOf(colours);
        const tessaldo::PictureSize size = preview.dots.Size();
        std::string pixels(static_cast<std::size_t>(size.DotCount()) * 4, '\xff');
        for (int row = 0; row < size.height; ++row) {
            for (int column = 0; column < size.width; ++column) {
                const std::size_t dot = (static_cast<std::size_t>(row) * static_cast<std::size_t>(size.width))
                                        + static_cast<std::size_t>(column);
                const std::uint32_t colour = DotColour(palette, row, preview.dots[dot] == DotState::Set);
                pixels[dot * 4] = static_cast<char>(colour >> 16);
                pixels[dot * 4 + 1] = static_cast<char>(colour >> 8);
                pixels[dot * 4 + 2] = static_cast<char>(colour);
            }
        }
        result.set("width", size.width);
        result.set("height", size.height);
        result.set("pixels", Uint8Array(pixels));
        result.set("note", preview.note);
        return result;
    }
    void SetPreviewDisplay(std::size_t index) { m_session.SetPreviewDisplay(index); }
    void SetPreviewColours(std::size_t index)
    {
        if (index < kPanelColours.size())
            m_session.SetPreviewColours(kPanelColours.at(index));
    }

    // The bytes Save writes for the picture under `name`: {bytes, problem}.
    val PictureFile(const std::string &name) const
    {
        const Result<std::string> bytes = PictureFileBytes(m_session.Doc().Grid(), std::filesystem::path(name));
        val result = val::object();
        result.set("problem", bytes ? std::string() : bytes.message());
        result.set("bytes", Uint8Array(bytes ? bytes.value() : std::string()));
        return result;
    }

private:
    static val SizeValue(tessaldo::PictureSize size)
    {
        val value = val::object();
        value.set("width", size.width);
        value.set("height", size.height);
        return value;
    }

    const Picture &PictureAt(std::size_t index) const { return m_session.Doc().pictures.at(index); }

    static val PartsValue(const std::vector<TextPart> &parts)
    {
        val list = val::array();
        for (const TextPart &part : parts) {
            val entry = val::array();
            entry.call<void>("push", part.index);
            entry.call<void>("push", part.text);
            list.call<void>("push", entry);
        }
        return list;
    }

    static val ByteView(const tessaldo::Dots &dots)
    {
        return val(emscripten::typed_memory_view(dots.size(), reinterpret_cast<const unsigned char *>(dots.data())));
    }

    EditSession m_session;
    std::optional<tessaldo::Dots> m_onion; // what OnionView last viewed
    PartWriter m_documentParts;
    PartWriter m_savedParts;
};

} // namespace

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
        .function("setPreviewDisplay", &PageSession::SetPreviewDisplay)
        .function("setPreviewColours", &PageSession::SetPreviewColours)
        .function("pictureFile", &PageSession::PictureFile);
}
