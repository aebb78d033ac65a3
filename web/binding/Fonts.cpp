// Fonts the page opens: which kind a file is, and its glyphs as a set of
// pictures; TrueType and OpenType come drawn already, by the page's module of
// the same FreeType adapter as the window's (web/raster/), so that every face
// gives the same dots; and the set saved as a font.
#include "web/binding/Fonts.h"

#include "core/code/CodeFormats.h"
#include "core/formats/FontFiles.h"
#include "core/formats/SetHeader.h"
#include "core/session/GlyphSet.h"
#include "core/session/Texts.h"
#include "fontraster/FontRaster.h"
#include "web/binding/Convert.h"

#include <emscripten/bind.h>

#include <array>

using namespace tessaldo;
using emscripten::val;

namespace {

// The kind of font `bytes` hold, as FontKindOf tells it: "" for none, else
// "bdf", "u8g2", "gfx" or "truetype", the last drawn at a pixel size.
std::string FontKindName(const std::string &fileName, const val &bytes)
{
    static constexpr std::array kNames{"", "bdf", "u8g2", "gfx", "truetype"};
    return kNames.at(static_cast<std::size_t>(FontKindOf(fileName, page::BytesOf(bytes))));
}

// The font in `bytes`, read as its kind asks, or as BDF where it was drawn.
Result<BdfReading> ReadFontOf(const std::string &fileName, const std::string &bytes, bool drawn, LcdType type)
{
    return ReadFont(bytes, drawn ? FontKind::Bdf : FontKindOf(fileName, bytes), fileName, type);
}

} // namespace

namespace tessaldo::page {

val OpenFont(EditSession &session, const std::string &fileName, const val &bytes, bool drawn)
{
    const LcdType type = session.Doc().type;
    const Result<BdfReading> read = ReadFontOf(fileName, BytesOf(bytes), drawn, type);
    val result = val::object();
    result.set("note", std::string());
    if (!read)
        result.set("problem", read.message());
    else if (read.value().glyphs.empty())
        result.set("problem", FilledText(TextId::CannotImport, {fileName, Text(TextId::FontNoPictures)}));
    else {
        Document set = GlyphSetOf(read.value(), type);
        const BitLayout layout = DefaultSetLayout(set.Size());
        session.OpenSet(std::move(set), layout);
        result.set("problem", std::string());
        result.set("note", FontReadingNotes(fileName, read.value()));
    }
    return result;
}

val FontFile(const EditSession &session, const std::string &fileName, int mode)
{
    const Result<std::string> text = FontFileText(session.Doc(), FontFormatOfFile(fileName),
                                                  static_cast<U8g2Mode>(mode), NameFromFileName(fileName));
    val result = val::object();
    result.set("text", text ? text.value() : std::string());
    result.set("problem", text ? std::string() : text.message());
    return result;
}

DisplayPreview PreviewOf(const EditSession &session, const Display &display, const std::string &sample)
{
    if (!session.HoldsFont() || sample.empty())
        return PreviewOnDisplay(session.Doc().Grid(), session.ArrayForm(), display);
    return {SampleLine(session.Doc(), sample, display.size), {}};
}

} // namespace tessaldo::page

EMSCRIPTEN_BINDINGS(tessaldo_fonts)
{
    emscripten::function("fontKind", &FontKindName);
    // The largest pixel size a TrueType or OpenType font is drawn at; the smallest is 1.
    emscripten::constant("maxFontPixelSize", kMaxFontPixelSize);
}
