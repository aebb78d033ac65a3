// The core as the page sees it. A picture crosses as its type (0 or 1) and a
// string of 256 characters, '1' for a set dot; bytes cross as Uint8Arrays.
// Every rule the page follows is computed here, by the same code the desktop
// program runs.
#include "CodeFormats.h"
#include "CodeGenerator.h"
#include "CodeReader.h"
#include "DrawingFile.h"
#include "FileIo.h"
#include "GlyphText.h"
#include "ImageHeader.h"
#include "PixelsToDots.h"
#include "ProgramTexts.h"
#include "SerialRates.h"
#include "Stroke.h"
#include "Transform.h"

#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <map>

using namespace tessaldo;
using emscripten::val;

namespace {

DotGrid GridFrom(int type, const std::string &dots)
{
    DotGrid grid;
    grid.SetLCDType(type == 1 ? LcdType::Row : LcdType::Column);
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

std::string CArrayOf(const std::string &dots)
{
    return CArray({GridFrom(0, dots), "picture", "the Tessaldo window"});
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

// What Open makes of a file's bytes: {type: -1 for a legacy file, dots} or {problem}.
val ReadDrawing(const std::string &name, const val &bytes)
{
    std::string start = BytesOf(bytes);
    start.resize(std::min(start.size(), kDrawingBytesRead));
    const ParsedDrawing parsed = ParseDrawing(start);
    val result = val::object();
    if (!parsed.drawing) {
        result.set("problem", OpenFailed(name, parsed.reason).message());
        return result;
    }
    result.set("type", parsed.drawing->type ? LcdTypeValue(*parsed.drawing->type) : -1);
    result.set("dots", DotsOf(parsed.drawing->dots));
    return result;
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

std::string Transformed(int type, const std::string &dots, const std::string &name)
{
    DotGrid grid = GridFrom(type, dots);
    if (const std::optional<Transform> transform = TransformFromName(name))
        ApplyTransform(grid, *transform);
    return DotsOf(grid.AllDots());
}

// The cells a drag crosses, as [column, row, column, row, ...].
val StrokeCells(double x0, double y0, double x1, double y1, double cellSize)
{
    val cells = val::array();
    for (const Cell &cell : CellsAlongSegment({x0, y0}, {x1, y1}, cellSize)) {
        cells.call<void>("push", cell.column);
        cells.call<void>("push", cell.row);
    }
    return cells;
}

// The picture's dots from the screen cells, laid out for the type.
std::string DotsFromCells(int type, const ScreenCells &cells)
{
    DotGrid grid = GridFrom(type, {});
    PutCells(grid, cells);
    return DotsOf(grid.AllDots());
}

// An image being imported: its greys, kept while the options change, and
// the cells' greys for each fit, so that a threshold change costs only the halftone.
class ImportedImage {
public:
    ImportedImage(const val &rgba, int width, int height)
    {
        const std::vector<std::uint8_t> pixels = emscripten::convertJSArrayToNumberVector<std::uint8_t>(rgba);
        m_grey = {width, height, {}};
        m_grey.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (std::size_t i = 0; i < m_grey.pixels.size() && 4 * i + 3 < pixels.size(); ++i)
            m_grey.pixels[i] = GreyOverWhite(pixels[4 * i], pixels[4 * i + 1], pixels[4 * i + 2], pixels[4 * i + 3]);
    }

    std::string Dots(int type, const std::string &fit, int threshold, const std::string &dither, bool invert)
    {
        const Fit chosenFit = FitFromName(fit).value_or(Fit::Contain);
        auto greys = m_greys.find(chosenFit);
        if (greys == m_greys.end())
            greys = m_greys.emplace(chosenFit, ResampleToCells(m_grey, chosenFit)).first;
        return DotsFromCells(type,
                             Halftone(greys->second, threshold, DitherFromName(dither).value_or(Dither::None), invert));
    }

private:
    GreyImage m_grey;
    std::map<Fit, CellGreys> m_greys;
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
    GlyphLine line = LayGlyphs(glyphs, alignLeft, offsetX, offsetY);
    if (invert) {
        for (bool &cell : line.cells)
            cell = !cell;
    }
    DotGrid grid = GridFrom(type, under);
    if (onto)
        AddCells(grid, line.cells);
    else
        PutCells(grid, line.cells);
    val result = val::object();
    result.set("dots", DotsOf(grid.AllDots()));
    result.set("width", line.width);
    result.set("cut", line.cut);
    return result;
}

// What a paste of text makes: {dots} or {problem}.
val CodeDots(const std::string &text)
{
    const PickedPicture picked = ReadPictureCode(text);
    val result = val::object();
    if (picked.bytes)
        result.set("dots", DotsOf(DotsFromPictureBytes(*picked.bytes)));
    else
        result.set("problem", picked.problem);
    return result;
}

val Texts()
{
    val texts = val::object();
    texts.set("title", std::string(kProgramTitle));
    texts.set("author", std::string(kAuthorLine));
    texts.set("mail", std::string(kContactMail));
    texts.set("web", std::string(kContactWeb));
    texts.set("copy", std::string(kCopyCaption));
    texts.set("noText", std::string(kNoTextOnClipboard));
    texts.set("close", std::string(kCloseCaption));
    texts.set("usage", std::string(kUsageNote));
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
    emscripten::function("cArray", &CArrayOf);
    emscripten::function("moduleBytes", &ModuleBytesOf);
    emscripten::function("formatDrawing", &FormatDrawingOf);
    emscripten::function("readDrawing", &ReadDrawing);
    emscripten::function("describeDotBit", &DescribeDotBit);
    emscripten::function("cellOf", &CellOf);
    emscripten::function("dotAt", &DotAt);
    emscripten::function("transformed", &Transformed);
    emscripten::function("strokeCells", &StrokeCells);
    emscripten::function("declaredSize", &DeclaredSize);
    emscripten::function("tooManyPixels", &TooManyPixelsFor);
    emscripten::function("cutShortImage", &CutShortImageOf);
    emscripten::function("textDots", &TextDots);
    emscripten::function("codeDots", &CodeDots);
    emscripten::function("bauds", &Bauds);
    emscripten::function("texts", &Texts);
    emscripten::function("timeLcdToCode", &TimeLcdToCode);
    emscripten::class_<ImportedImage>("ImportedImage")
        .constructor<val, int, int>()
        .function("dots", &ImportedImage::Dots);
}
