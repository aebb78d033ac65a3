// What an image or a text to import turns into: the core reads the files and
// lays the dots, as the desktop program does.
#include "web/binding/Convert.h"

#include "core/convert/GlyphText.h"
#include "core/convert/PixelsToDots.h"
#include "core/convert/TextPlacement.h"
#include "core/formats/BitmapFiles.h"
#include "core/formats/ImageHeader.h"
#include "core/formats/PngPixels.h"
#include "core/session/Incoming.h"

#include <array>
#include <emscripten/bind.h>

#include <map>
#include <tuple>

using namespace tessaldo;
using namespace tessaldo::page;
using emscripten::val;

namespace {

// The picture's dots from the screen cells, at their size, laid out for the type.
std::string DotsFromCells(int type, const ScreenCells &cells)
{
    DotGrid grid;
    grid.SetLCDType(TypeOf(type));
    grid.SetAllDots(tessaldo::Dots(cells.Size()));
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
          m_dotForDot(std::move(dotForDot))
    {
    }

    // An XBM or PBM of the picture's size, which the options do not change.
    bool DotForDot() const { return m_dotForDot.has_value(); }

    // The next rows, four bytes a pixel as the canvas gives them.
    void AddRows(const val &rgba)
    {
        const std::vector<std::uint8_t> pixels = emscripten::convertJSArrayToNumberVector<std::uint8_t>(rgba);
        for (std::size_t i = 0; 4 * i + 3 < pixels.size() && m_filled < m_grey.pixels.size(); ++i, ++m_filled)
            m_grey.pixels[m_filled] =
                GreyOverWhite(pixels[4 * i], pixels[4 * i + 1], pixels[4 * i + 2], pixels[4 * i + 3]);
    }

    // The dots of a picture of `width` x `height`, the image fitted to it.
    std::string Dots(int type, const std::string &fit, int threshold, const std::string &dither, bool invert, int width,
                     int height)
    {
        const Fit chosenFit = FitFromName(fit).value_or(Fit::Contain);
        const PictureSize size{width, height};
        auto greys = m_greys.find({chosenFit, size.width, size.height});
        if (greys == m_greys.end())
            greys =
                m_greys
                    .emplace(std::tuple{chosenFit, size.width, size.height}, ResampleToCells(m_grey, chosenFit, size))
                    .first;
        const DotOptions options{chosenFit, threshold, DitherFromName(dither).value_or(Dither::None), invert};
        return DotsFromCells(type, ImportedCells(greys->second, options, m_dotForDot));
    }

private:
    GreyImage m_grey;
    std::size_t m_filled = 0;                               // the pixels given so far
    std::map<std::tuple<Fit, int, int>, CellGreys> m_greys; // by fit and picture size
    std::optional<ScreenCells> m_dotForDot;
};

// An XBM or PBM read by the core, as the desktop reads it: {image, width,
// height}, or {problem}; taken dot for dot where it is the picture's size,
// `pictureWidth` x `pictureHeight`.
val BitmapImage(const val &file, int pictureWidth, int pictureHeight)
{
    BitmapRead read = ReadBitmapFile(BytesOf(file));
    val result = val::object();
    if (!read.problem.empty()) {
        result.set("problem", read.problem);
        return result;
    }
    result.set("width", read.bitmap.width);
    result.set("height", read.bitmap.height);
    result.set("image",
               ImportedImage(GreysOfBitmap(read.bitmap), DotForDot(read.bitmap, {pictureWidth, pictureHeight})));
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
    val Compressed() const { return Uint8Array(m_png.Compressed()); }
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
    return Uint8Array(*fitted);
}

std::string TooManyPixelsFor(double width, double height)
{
    const ImageSize size{static_cast<std::int64_t>(width), static_cast<std::int64_t>(height)};
    return HasTooManyPixels(size) ? TooManyPixels(size) : std::string();
}

// Text from Unifont glyphs given as hex digits on `under`, a picture of
// width x height: {dots, width, cut}, or {problem} when a glyph's hex is no glyph.
val TextDots(int type, const val &hexes, bool alignLeft, int offsetX, int offsetY, bool invert, bool onto,
             const std::string &under, int width, int height)
{
    const PictureSize size{width, height};
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
    const GlyphLine line = LayGlyphs(glyphs, alignLeft, offsetX, offsetY, size);
    DotGrid grid = GridFrom(type, under);
    if (!IsModuleSize(size))
        grid.SetAllDots(DotsFrom(under, size));
    PlaceText(grid, line.cells, {invert, onto});
    val result = val::object();
    result.set("dots", DotsOf(grid.AllDots()));
    result.set("width", line.width);
    result.set("cut", line.cut);
    return result;
}

// What a paste or a drop brings: {kind, dots, width, height, pictures,
// candidates, problem}, with problem the whole message when a paste would
// take nothing; pictures holds code of several, candidates the readings of
// values that do not say their layout (as ChoicesValue, in `type`) while
// `layout` gives no answer. `width` and `height` are the chosen candidate's
// size (0 while none is chosen): one array's bytes fit several sizes.
val Route(bool image, const std::string &fileName, const val &text, int type, const std::string &layout, int width,
          int height)
{
    Incoming incoming{image, fileName, std::nullopt, TypeOf(type)};
    if (text.isString())
        incoming.text = text.as<std::string>();
    std::optional<PictureSize> size;
    if (width > 0 && height > 0)
        size = PictureSize{width, height};
    const Routed routed = RouteIncoming(incoming, AnsweredLayout(layout), size);
    static constexpr std::array kKinds{"nothing", "image", "drawing-file", "source-file", "image-file", "code"};
    val result = val::object();
    result.set("kind", std::string(kKinds.at(static_cast<std::size_t>(routed.kind))));
    if (routed.dots) {
        result.set("dots", DotsOf(*routed.dots));
        result.set("width", routed.dots->Size().width);
        result.set("height", routed.dots->Size().height);
    }
    val pictures = val::array();
    for (const Picture &picture : routed.pictures)
        pictures.call<void>("push", PictureValue(picture));
    result.set("pictures", pictures);
    result.set("candidates", ChoicesValue(routed.candidates));
    result.set("problem", routed.Takes() ? std::string() : CannotPaste(routed));
    return result;
}

} // namespace

EMSCRIPTEN_BINDINGS(tessaldo_import)
{
    emscripten::function("declaredSize", &DeclaredSize);
    emscripten::function("tooManyPixels", &TooManyPixelsFor);
    emscripten::function("cutShortImage", &CutShortImageOf);
    emscripten::function("gifOnItsFramesScreen", &GifOnItsFramesScreenOf);
    emscripten::function("isBitmapFile", &IsBitmapFileStart);
    emscripten::function("bitmapImage", &BitmapImage);
    emscripten::function("textDots", &TextDots);
    emscripten::function("route", &Route);
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
