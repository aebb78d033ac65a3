// Fonts the page opens: which kind a file is, and its glyphs as a set of
// pictures, TrueType and OpenType drawn by the same FreeType adapter as the
// window's, so that every face gives the same dots.
#include "web/binding/Convert.h"

#include "FontRaster.h"
#include "core/code/CodeFormats.h"
#include "core/convert/GlyphNames.h"
#include "core/formats/DocumentText.h"
#include "core/formats/FontFiles.h"
#include "core/formats/SetHeader.h"
#include "core/session/Texts.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <array>
#include <string>

using namespace tessaldo;
using namespace tessaldo::page;
using emscripten::val;

namespace {

// The kind of font `bytes` hold, as FontKindOf tells it: "" for none, else
// "bdf", "u8g2", "gfx" or "truetype", the last drawn at a pixel size.
std::string FontKindName(const std::string &fileName, const val &bytes)
{
    static constexpr std::array kNames{"", "bdf", "u8g2", "gfx", "truetype"};
    return kNames.at(static_cast<std::size_t>(FontKindOf(fileName, BytesOf(bytes))));
}

// The font in `bytes`, read or drawn as its kind asks.
Result<BdfReading> ReadFontOf(const std::string &fileName, const std::string &bytes, int pixelSize, LcdType type)
{
    const FontKind kind = FontKindOf(fileName, bytes);
    if (kind != FontKind::TrueType)
        return ReadFont(bytes, kind, fileName, type);
    const Result<BitmapFont> font = RasteriseFont(bytes, pixelSize, {}, fileName);
    return font ? ReadFont(font.value(), fileName, type) : Result<BdfReading>::Failed(font.message());
}

// The font in `bytes` as the set of its glyphs' pictures, each named as a
// header names the glyph of its character: {problem, note, document,
// layout}, the set crossing as the text of its document and the index of
// its layout, as a source read apart does; `pixelSize` is a TrueType or
// OpenType font's.
val FontSet(const std::string &fileName, const val &bytes, int pixelSize, int type)
{
    val result = val::object();
    result.set("note", std::string());
    const Result<BdfReading> read = ReadFontOf(fileName, BytesOf(bytes), pixelSize, TypeOf(type));
    if (read && read.value().glyphs.empty()) {
        result.set("problem", FilledText(TextId::CannotImport, {fileName, Text(TextId::FontNoPictures)}));
        return result;
    }
    if (!read) {
        result.set("problem", read.message());
        return result;
    }
    Document set;
    set.type = TypeOf(type);
    set.pictures.clear();
    for (const FontGlyph &glyph : read.value().glyphs)
        set.pictures.push_back({NameFromFileName(DrawingFileName(CodePointName(glyph.codePoint))), kDefaultDelayMs,
                                glyph.picture.AllDots()});
    const BitLayout layout = DefaultSetLayout(set.Size());
    result.set("problem", std::string());
    result.set("note", FontReadingNotes(fileName, read.value()));
    result.set("document", WriteDocumentText(set));
    result.set("layout",
               static_cast<int>(std::find(kBitLayouts.begin(), kBitLayouts.end(), layout) - kBitLayouts.begin()));
    return result;
}

} // namespace

EMSCRIPTEN_BINDINGS(tessaldo_fonts)
{
    emscripten::function("fontKind", &FontKindName);
    emscripten::function("fontSet", &FontSet);
    // The largest pixel size a TrueType or OpenType font is drawn at; the smallest is 1.
    emscripten::constant("maxFontPixelSize", kMaxFontPixelSize);
}
