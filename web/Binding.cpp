// The core as the page sees it. A picture crosses as its type (0 or 1) and a
// string of 256 characters, '1' for a set dot; bytes cross as Uint8Arrays.
// Every rule the page follows is computed here, by the same code the desktop
// program runs.
#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/code/CodeReader.h"
#include "core/convert/GlyphText.h"
#include "core/convert/PixelsToDots.h"
#include "core/convert/TextPlacement.h"
#include "core/formats/BitmapFiles.h"
#include "core/formats/DocumentText.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/ImageHeader.h"
#include "core/formats/PngPixels.h"
#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/formats/ShareLink.h"
#include "core/formats/StoredZip.h"
#include "core/model/PictureName.h"
#include "core/platform/FileIo.h"
#include "core/session/EditSession.h"
#include "core/session/Incoming.h"
#include "core/session/ProgramTexts.h"
#include "core/session/SerialRates.h"

#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <filesystem>
#include <map>

using namespace tessaldo;
using emscripten::val;

namespace {

LcdType TypeOf(int type)
{
    return type == 1 ? LcdType::Row : LcdType::Column;
}

DotGrid GridFrom(int type, const std::string &dots)
{
    DotGrid grid;
    grid.SetLCDType(TypeOf(type));
    for (int dot = 0; dot < kDotCount && dot < static_cast<int>(dots.size()); ++dot)
        grid.SetDot(dot, dots[static_cast<std::size_t>(dot)] == '1' ? DotState::Set : DotState::Clear);
    return grid;
}

std::string DotsOf(const DotGrid::Dots &dots)
{
    std::string text(kDotCount, '0');
    for (int dot = 0; dot < kDotCount; ++dot)
        text[static_cast<std::size_t>(dot)] = dots[static_cast<std::size_t>(dot)] == DotState::Set ? '1' : '0';
    return text;
}

std::string BytesOf(const val &array)
{
    const std::vector<std::uint8_t> bytes = emscripten::convertJSArrayToNumberVector<std::uint8_t>(array);
    return std::string(bytes.begin(), bytes.end());
}

val Uint8Array(const std::uint8_t *data, std::size_t size)
{
    val array = val::global("Uint8Array").new_(size);
    array.call<void>("set", val(emscripten::typed_memory_view(size, data)));
    return array;
}

std::string LcdToCode(const std::string &dots)
{
    return LCDtoCODE(GridFrom(0, dots));
}

val ModuleBytesOf(const std::string &dots)
{
    const ModuleBytes bytes = PictureModuleBytes(GridFrom(0, dots));
    return Uint8Array(bytes.data(), bytes.size());
}

std::string FormatDrawingOf(int type, const std::string &dots)
{
    return FormatDrawing(GridFrom(type, dots));
}

val CellOf(int type, int dot)
{
    const Cell cell = CellOfDot(type == 1 ? LcdType::Row : LcdType::Column, dot);
    val result = val::object();
    result.set("column", cell.column);
    result.set("row", cell.row);
    return result;
}

int DotAt(int type, int column, int row)
{
    return DotAtCell(type == 1 ? LcdType::Row : LcdType::Column, {column, row});
}

// The picture's dots from the screen cells, laid out for the type.
std::string DotsFromCells(int type, const ScreenCells &cells)
{
    DotGrid grid = GridFrom(type, {});
    PutCells(grid, cells);
    return DotsOf(grid.AllDots());
}

// An image being imported: its greys, given a band of rows at a time so that
// the page answers between bands and never holds a large image's pixels
// whole, and the cells' greys for each fit, so that a threshold change costs
// only the halftone.
class ImportedImage {
public:
    ImportedImage(int width, int height)
        : m_grey{width, height,
                 std::vector<std::uint8_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 255)}
    {
    }

    explicit ImportedImage(GreyImage grey, std::optional<ScreenCells> dotForDot = std::nullopt)
        : m_grey(std::move(grey)),
          m_filled(m_grey.pixels.size()),
          m_dotForDot(dotForDot)
    {
    }

    // A 16 x 16 XBM or PBM, which the options do not change.
    bool DotForDot() const { return m_dotForDot.has_value(); }

    // The next rows, four bytes a pixel as the canvas gives them.
    void AddRows(const val &rgba)
    {
        const std::vector<std::uint8_t> pixels = emscripten::convertJSArrayToNumberVector<std::uint8_t>(rgba);
        for (std::size_t i = 0; 4 * i + 3 < pixels.size() && m_filled < m_grey.pixels.size(); ++i, ++m_filled)
            m_grey.pixels[m_filled] =
                GreyOverWhite(pixels[4 * i], pixels[4 * i + 1], pixels[4 * i + 2], pixels[4 * i + 3]);
    }

    std::string Dots(int type, const std::string &fit, int threshold, const std::string &dither, bool invert)
    {
        const Fit chosenFit = FitFromName(fit).value_or(Fit::Contain);
        auto greys = m_greys.find(chosenFit);
        if (greys == m_greys.end())
            greys = m_greys.emplace(chosenFit, ResampleToCells(m_grey, chosenFit)).first;
        const DotOptions options{chosenFit, threshold, DitherFromName(dither).value_or(Dither::None), invert};
        return DotsFromCells(type, ImportedCells(greys->second, options, m_dotForDot));
    }

private:
    GreyImage m_grey;
    std::size_t m_filled = 0; // the pixels given so far
    std::map<Fit, CellGreys> m_greys;
    std::optional<ScreenCells> m_dotForDot;
};

// An XBM or PBM read by the core, as the desktop reads it: {image, width,
// height}, or {problem}.
val BitmapImage(const val &file)
{
    BitmapRead read = ReadBitmapFile(BytesOf(file));
    val result = val::object();
    if (!read.problem.empty()) {
        result.set("problem", read.problem);
        return result;
    }
    result.set("width", read.bitmap.width);
    result.set("height", read.bitmap.height);
    result.set("image", ImportedImage(GreysOfBitmap(read.bitmap), DotForDot(read.bitmap)));
    return result;
}

bool IsBitmapFileStart(const val &start)
{
    return IsBitmapFile(BytesOf(start));
}

// A PNG decoded by the core rather than the canvas, whose data the page
// inflates and hands over in pieces.
class PngImage {
public:
    explicit PngImage(const val &file) : m_png(BytesOf(file)) {}
    bool Damaged() const { return m_png.Damaged(); }
    int Width() const { return m_png.Width(); }
    int Height() const { return m_png.Height(); }
    val Compressed() const
    {
        const std::string &data = m_png.Compressed();
        return Uint8Array(reinterpret_cast<const std::uint8_t *>(data.data()), data.size());
    }
    void Add(const val &inflated) { m_png.Add(BytesOf(inflated)); }
    bool Complete() const { return m_png.Complete(); }
    ImportedImage Greys() { return ImportedImage(m_png.TakeGreys()); }

private:
    PngPixels m_png;
};

// What the header of an image file declares: {width, height, problem} or null.
val DeclaredSize(const val &start)
{
    const std::optional<ImageSize> size = DeclaredImageSize(BytesOf(start));
    if (!size)
        return val::null();
    val result = val::object();
    result.set("width", static_cast<double>(size->width));
    result.set("height", static_cast<double>(size->height));
    result.set("problem", HasTooManyPixels(*size) ? TooManyPixels(*size) : std::string());
    return result;
}

// Why the whole file's data stops before its format's end, or "": the browser
// decodes a cut-short GIF or JPEG without complaint.
std::string CutShortImageOf(const val &whole)
{
    return CutShortImage(BytesOf(whole));
}

// A GIF whose screen is too large around frames that are not, on its frames'
// screen, as the desktop reads it; null for any other file.
val GifOnItsFramesScreenOf(const val &whole)
{
    const std::optional<std::string> fitted = GifOnItsFramesScreen(BytesOf(whole));
    if (!fitted)
        return val::null();
    return Uint8Array(reinterpret_cast<const std::uint8_t *>(fitted->data()), fitted->size());
}

std::string TooManyPixelsFor(double width, double height)
{
    const ImageSize size{static_cast<std::int64_t>(width), static_cast<std::int64_t>(height)};
    return HasTooManyPixels(size) ? TooManyPixels(size) : std::string();
}

// Text from Unifont glyphs given as hex digits: {dots, width, cut}, or {problem}
// when a glyph's hex is no glyph.
val TextDots(int type, const val &hexes, bool alignLeft, int offsetX, int offsetY, bool invert, bool onto,
             const std::string &under)
{
    std::vector<Glyph> glyphs;
    for (const std::string &hex : emscripten::vecFromJSArray<std::string>(hexes)) {
        const std::optional<Glyph> glyph = GlyphFromHex(hex);
        if (!glyph) {
            val result = val::object();
            result.set("problem", std::string("the glyph data is damaged"));
            return result;
        }
        glyphs.push_back(*glyph);
    }
    const GlyphLine line = LayGlyphs(glyphs, alignLeft, offsetX, offsetY);
    DotGrid grid = GridFrom(type, under);
    PlaceText(grid, line.cells, {invert, onto});
    val result = val::object();
    result.set("dots", DotsOf(grid.AllDots()));
    result.set("width", line.width);
    result.set("cut", line.cut);
    return result;
}

// A picture of a set as the page sees it: {name, delayMs, dots}.
val PictureValue(const Picture &picture)
{
    val result = val::object();
    result.set("name", picture.name);
    result.set("delayMs", picture.delayMs);
    result.set("dots", DotsOf(picture.dots));
    return result;
}

Picture PictureFrom(const val &value)
{
    return {value["name"].as<std::string>(), value["delayMs"].as<int>(),
            GridFrom(0, value["dots"].as<std::string>()).AllDots()};
}

// A folder in the page's memory that the core's file code reads and writes
// as it does a disk's, made the current one so that the files keep the names
// the user knows in every message; gone with everything in it when done.
class ScratchFolder {
public:
    ScratchFolder()
    {
        static int made = 0;
        m_path = std::filesystem::path("/scratch") / std::to_string(++made);
        std::filesystem::create_directories(m_path);
        std::filesystem::current_path(m_path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path("/", ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    static FileStatus Put(const std::string &name, const val &bytes)
    {
        return WriteFileAtomically(name, BytesOf(bytes));
    }
    static std::optional<std::string> Read(const std::filesystem::path &file)
    {
        std::string bytes;
        return ReadFileStart(file, kDrawingBytesRead, bytes) ? std::optional(std::move(bytes)) : std::nullopt;
    }
    static val Take(const std::filesystem::path &file)
    {
        const std::optional<std::string> bytes = Read(file);
        return bytes ? Uint8Array(reinterpret_cast<const std::uint8_t *>(bytes->data()), bytes->size()) : val::null();
    }

private:
    std::filesystem::path m_path;
};

// The line a header of the page's begins with: "Made by ...".
constexpr std::string_view kHeaderMaker = "the Tessaldo window";

// The user's answer to "Which Layout?": a layout's name, or "" before there is one.
std::optional<BitLayout> AnsweredLayout(const std::string &name)
{
    return name.empty() ? std::nullopt : BitLayoutFromName(name);
}

// Readings to ask about, [{name, layout, pictures}], each picture its dots, the likeliest reading first.
val ChoicesValue(const std::vector<LayoutChoice> &choices)
{
    val result = val::array();
    for (const LayoutChoice &choice : choices) {
        val entry = val::object();
        entry.set("name", LayoutChoiceName(choice));
        entry.set("layout", std::string(BitLayoutName(choice.layouts.front())));
        val pictures = val::array();
        for (const DotGrid::Dots &dots : choice.shown)
            pictures.call<void>("push", DotsOf(dots));
        entry.set("pictures", pictures);
        result.call<void>("push", entry);
    }
    return result;
}

// The editing session the page shows: the same one the window binds. The
// page subscribes once and redraws from it after every announced change.
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
    void TakeDots(const std::string &caption, const std::string &dots)
    {
        m_session.TakeDots(caption, GridFrom(0, dots).AllDots());
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

    // An image's frames, [{dots, delayMs}], as the set the window opens them as,
    // in the type being edited. The browser gives a GIF's delays as written;
    // they are shown as viewers show them.
    void OpenFrames(const std::string &fileName, const val &frames, bool gif)
    {
        std::vector<Picture> pictures;
        const auto count = frames["length"].as<std::size_t>();
        pictures.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const val frame = frames[i];
            pictures.push_back({{}, FrameDelay(frame, gif), GridFrom(0, frame["dots"].as<std::string>()).AllDots()});
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
    void OpenSetDocument(const std::string &documentText, int layoutIndex)
    {
        DocumentReading reading = ReadDocumentText(documentText);
        if (reading.document)
            m_session.OpenSet(std::move(*reading.document), kBitLayouts.at(static_cast<std::size_t>(layoutIndex)));
    }

    // Drawing files, [{name, bytes}], opened as the set in the order given, those
    // that do not open as one left out: {problem, note}, the problem the
    // message when none opened, the note the files left out and why.
    val OpenSetDrawings(const val &files)
    {
        val result = val::object();
        result.set("note", std::string());
        result.set("problem", std::string());
        const ScratchFolder folder;
        std::vector<std::filesystem::path> names;
        const auto count = files["length"].as<std::size_t>();
        for (std::size_t i = 0; i < count; ++i) {
            names.emplace_back(files[i]["name"].as<std::string>());
            if (FileStatus put = ScratchFolder::Put(names.back().string(), files[i]["bytes"]); !put) {
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
        const ScratchFolder folder;
        val result = val::object();
        val files = val::array();
        const FileStatus saved = SaveSetFolder(m_session.Doc(), folderName);
        result.set("problem", saved.message());
        result.set("files", files);
        if (!saved)
            return result;
        for (const Picture &picture : m_session.Doc().pictures) {
            val file = val::object();
            file.set("name", DrawingFileName(picture.name));
            file.set("bytes", ScratchFolder::Take(std::filesystem::path(folderName) / DrawingFileName(picture.name)));
            files.call<void>("push", file);
        }
        return result;
    }

    // The same files in a zip archive, in the folder `folderName` inside it,
    // dated `time` ({year, month, day, hour, minute, second}): {bytes, problem}.
    val SetFolderZip(const std::string &folderName, const val &time) const
    {
        const ScratchFolder folder;
        val result = val::object();
        const FileStatus saved = SaveSetFolder(m_session.Doc(), folderName);
        std::vector<ZipEntry> entries;
        for (const Picture &picture : m_session.Doc().pictures) {
            const std::string name = folderName + "/" + DrawingFileName(picture.name);
            entries.push_back({name, saved ? ScratchFolder::Read(name).value_or(std::string()) : std::string()});
        }
        const ZipMade zip =
            saved ? StoredZip(entries, {time["year"].as<int>(), time["month"].as<int>(), time["day"].as<int>(),
                                        time["hour"].as<int>(), time["minute"].as<int>(), time["second"].as<int>()})
                  : ZipMade{{}, saved.message()};
        result.set("problem", zip.problem);
        result.set("bytes", Uint8Array(reinterpret_cast<const std::uint8_t *>(zip.bytes.data()), zip.bytes.size()));
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

    // Opens a drawing file's bytes, or says why it cannot: the message, empty when opened.
    std::string OpenDrawing(const std::string &name, const val &bytes)
    {
        std::string start = BytesOf(bytes);
        start.resize(std::min(start.size(), kDrawingBytesRead));
        const ParsedDrawing parsed = ParseDrawing(start);
        if (!parsed.drawing)
            return OpenFailed(name, parsed.reason).message();
        m_session.Open(*parsed.drawing);
        return {};
    }

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

    // The link to the document from the page at `pageAddress`: {address, note}.
    val ShareLinkTo(const std::string &pageAddress) const
    {
        const ShareLink link = MakeShareLink(pageAddress, m_session.Doc());
        val result = val::object();
        result.set("address", link.address);
        result.set("note", link.note);
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

private:
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

    EditSession m_session;
    PartWriter m_documentParts;
    PartWriter m_savedParts;
};

val Commands()
{
    val commands = val::array();
    for (const EditorCommand &command : EditorCommands()) {
        if (!command.OfferedBy(Face::Page))
            continue;
        val keys = val::array();
        for (const std::string_view key : command.keys) {
            if (!key.empty())
                keys.call<void>("push", std::string(key));
        }
        val entry = val::object();
        entry.set("id", command.id);
        entry.set("caption", std::string(command.caption));
        entry.set("keys", keys);
        entry.set("gridOnly", command.gridOnly);
        entry.set("startsGroup", command.startsGroup);
        entry.set("checkable", command.checkable);
        entry.set("oneOfSeveral", command.arrayForm.has_value()); // checking it unchecks the others
        entry.set("submenu", std::string(command.submenu));
        commands.call<void>("push", entry);
    }
    return commands;
}

// What a paste or a drop brings: {kind, dots, pictures, candidates, problem},
// with problem the whole message when a paste would take nothing; pictures
// holds code of several, candidates the readings of values that do not say
// their layout (as ChoicesValue, in `type`) while `layout` gives no answer.
val Route(bool image, const std::string &fileName, const val &text, int type, const std::string &layout)
{
    Incoming incoming{image, fileName, std::nullopt, TypeOf(type)};
    if (text.isString())
        incoming.text = text.as<std::string>();
    const Routed routed = RouteIncoming(incoming, AnsweredLayout(layout));
    static constexpr std::array kKinds{"nothing", "image", "drawing-file", "source-file", "image-file", "code"};
    val result = val::object();
    result.set("kind", std::string(kKinds.at(static_cast<std::size_t>(routed.kind))));
    if (routed.dots)
        result.set("dots", DotsOf(*routed.dots));
    val pictures = val::array();
    for (const Picture &picture : routed.pictures)
        pictures.call<void>("push", PictureValue(picture));
    result.set("pictures", pictures);
    result.set("candidates", ChoicesValue(routed.candidates));
    result.set("problem", routed.Takes() ? std::string() : CannotPaste(routed));
    return result;
}

std::string NameToSaveAsOf(const std::string &typed, const std::string &extension)
{
    return NameToSaveAs(typed, extension);
}

// The page's title for the file being edited, marked while there are unsaved changes.
std::string ShownTitleOf(const std::string &fileName, bool unsaved)
{
    return ShownTitle(fileName, unsaved);
}

// The messages of an open or save the browser could not carry out.
std::string OpenFailedOf(const std::string &name, const std::string &reason)
{
    return OpenFailed(name, reason).message();
}

std::string SaveFailedOf(const std::string &name, const std::string &reason)
{
    return SaveFailed(name, reason).message();
}

bool IsSourceFile(const std::string &name)
{
    return IsSourceFileName(name);
}

// Why a source of `size` bytes is refused unread: "" when it may be read.
std::string RefuseSourceSize(const std::string &fileName, double size)
{
    return CheckSourceSize(fileName, static_cast<std::uintmax_t>(size)).message();
}

// Why a header is not saved over a file that holds other code: "" when it may be.
std::string RefuseOverwrite(const std::string &fileName, const std::string &existingText)
{
    return HeaderMayReplaceText(fileName, existingText).message();
}

val Texts()
{
    val texts = val::object();
    texts.set("title", std::string(kProgramTitle));
    texts.set("author", std::string(kAuthorLine));
    texts.set("licence", std::string(kLicenceLine));
    texts.set("manual", std::string(kManualLine));
    texts.set("copy", std::string(kCopyCaption));
    texts.set("noText", std::string(kNoTextOnClipboard));
    texts.set("renameQuestion", std::string(kRenameQuestion));
    texts.set("layoutChoiceTitle", std::string(kLayoutChoiceTitle));
    texts.set("layoutQuestion", std::string(kLayoutQuestion));
    texts.set("setLayoutQuestion", std::string(kSetLayoutQuestion));
    texts.set("delayQuestion", std::string(kDelayQuestion));
    texts.set("close", std::string(kCloseCaption));
    texts.set("dotForDot", std::string(kDotForDotNote));
    texts.set("usage", std::string(kUsageNote));
    texts.set("nameNeeded", std::string(kNameNeeded));
    texts.set("type0", std::string(LcdTypeCaption(LcdType::Column)));
    texts.set("type1", std::string(LcdTypeCaption(LcdType::Row)));
    return texts;
}

val Bauds()
{
    val bauds = val::array();
    for (const int baud : kStandardBauds)
        bauds.call<void>("push", baud);
    return bauds;
}

// The bench's measure of the generator, run in WebAssembly: nanoseconds per call.
double TimeLcdToCode(const std::string &dots, int calls)
{
    const DotGrid grid = GridFrom(0, dots);
    const double start = emscripten_get_now();
    std::size_t total = 0;
    for (int i = 0; i < calls; ++i)
        total += LCDtoCODE(grid).size();
    const double elapsed = emscripten_get_now() - start;
    return total == 0 ? 0 : elapsed * 1e6 / calls;
}

} // namespace

EMSCRIPTEN_BINDINGS(tessaldo)
{
    emscripten::function("lcdToCode", &LcdToCode);
    emscripten::function("moduleBytes", &ModuleBytesOf);
    emscripten::function("formatDrawing", &FormatDrawingOf);
    emscripten::function("describeDotBit", &DescribeDotBit);
    emscripten::function("cellOf", &CellOf);
    emscripten::function("dotAt", &DotAt);
    emscripten::function("declaredSize", &DeclaredSize);
    emscripten::function("tooManyPixels", &TooManyPixelsFor);
    emscripten::function("cutShortImage", &CutShortImageOf);
    emscripten::function("gifOnItsFramesScreen", &GifOnItsFramesScreenOf);
    emscripten::function("isBitmapFile", &IsBitmapFileStart);
    emscripten::function("bitmapImage", &BitmapImage);
    emscripten::function("frameDelay", &FrameDelay);
    emscripten::function("textDots", &TextDots);
    emscripten::function("commands", &Commands);
    emscripten::function("route", &Route);
    emscripten::function("refuseOverwrite", &RefuseOverwrite);
    emscripten::function("refuseSourceSize", &RefuseSourceSize);
    // All of a drawing file the reader looks at: the page reads no more of one.
    emscripten::constant("drawingBytesRead", kDrawingBytesRead);
    emscripten::function("isSourceFileName", &IsSourceFile);
    emscripten::function("nameToSaveAs", &NameToSaveAsOf);
    emscripten::function("shownTitle", &ShownTitleOf);
    emscripten::function("openFailed", &OpenFailedOf);
    emscripten::function("saveFailed", &SaveFailedOf);
    emscripten::function("bauds", &Bauds);
    emscripten::function("texts", &Texts);
    emscripten::function("timeLcdToCode", &TimeLcdToCode);
    emscripten::enum_<CommandId>("CommandId")
        .value("Undo", CommandId::Undo)
        .value("Redo", CommandId::Redo)
        .value("Invert", CommandId::Invert)
        .value("ShiftUp", CommandId::ShiftUp)
        .value("ShiftDown", CommandId::ShiftDown)
        .value("ShiftLeft", CommandId::ShiftLeft)
        .value("ShiftRight", CommandId::ShiftRight)
        .value("FlipHorizontally", CommandId::FlipHorizontally)
        .value("FlipVertically", CommandId::FlipVertically)
        .value("RotateClockwise", CommandId::RotateClockwise)
        .value("RotateCounterclockwise", CommandId::RotateCounterclockwise)
        .value("ImportImage", CommandId::ImportImage)
        .value("InsertText", CommandId::InsertText)
        .value("Paste", CommandId::Paste)
        .value("CopyAsCArray", CommandId::CopyAsCArray)
        .value("ModuleArrayForm", CommandId::ModuleArrayForm)
        .value("XbmArrayForm", CommandId::XbmArrayForm)
        .value("GfxArrayForm", CommandId::GfxArrayForm)
        .value("PagesArrayForm", CommandId::PagesArrayForm)
        .value("CopyLink", CommandId::CopyLink)
        .value("SendToModule", CommandId::SendToModule)
        .value("PreviousPicture", CommandId::PreviousPicture)
        .value("NextPicture", CommandId::NextPicture)
        .value("AddPicture", CommandId::AddPicture)
        .value("CopyPicture", CommandId::CopyPicture)
        .value("DeletePicture", CommandId::DeletePicture)
        .value("MoveEarlier", CommandId::MoveEarlier)
        .value("MoveLater", CommandId::MoveLater)
        .value("RenamePicture", CommandId::RenamePicture)
        .value("PictureDelay", CommandId::PictureDelay)
        .value("OnionSkin", CommandId::OnionSkin)
        .value("SaveAsAnimation", CommandId::SaveAsAnimation)
        .value("Play", CommandId::Play)
        .value("PlayOnModule", CommandId::PlayOnModule)
        .value("OpenSet", CommandId::OpenSet)
        .value("SaveSet", CommandId::SaveSet)
        .value("SaveSetAs", CommandId::SaveSetAs)
        .value("SaveSetAsFolder", CommandId::SaveSetAsFolder);
    emscripten::class_<PageSession>("Session")
        .constructor<>()
        .function("subscribe", &PageSession::Subscribe)
        .function("dots", &PageSession::Dots)
        .function("type", &PageSession::Type)
        .function("toggleDot", &PageSession::ToggleDot)
        .function("setType", &PageSession::SetType)
        .function("takeDots", &PageSession::TakeDots)
        .function("newPicture", &PageSession::NewPicture)
        .function("takePictures", &PageSession::TakePictures)
        .function("openFrames", &PageSession::OpenFrames)
        .function("openSetText", &PageSession::OpenSetText)
        .function("openSetDrawings", &PageSession::OpenSetDrawings)
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
        .function("paint", &PageSession::Paint)
        .function("endStroke", &PageSession::EndStroke)
        .function("perform", &PageSession::Perform)
        .function("isEnabled", &PageSession::IsEnabled)
        .function("isChecked", &PageSession::IsChecked)
        .function("arrayText", &PageSession::ArrayText)
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
        .function("copyByKey", &PageSession::CopyByKey);
    emscripten::class_<ImportedImage>("ImportedImage")
        .constructor<int, int>()
        .function("addRows", &ImportedImage::AddRows)
        .function("dotForDot", &ImportedImage::DotForDot)
        .function("dots", &ImportedImage::Dots);
    emscripten::class_<PngImage>("PngImage")
        .constructor<const val &>()
        .function("damaged", &PngImage::Damaged)
        .function("width", &PngImage::Width)
        .function("height", &PngImage::Height)
        .function("compressed", &PngImage::Compressed)
        .function("add", &PngImage::Add)
        .function("complete", &PngImage::Complete)
        .function("greys", &PngImage::Greys);
}
