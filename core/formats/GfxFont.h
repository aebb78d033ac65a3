#pragma once

#include "core/model/BitmapFont.h"
#include "core/platform/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Adafruit GFX's GFXfont (display.setFont(&NAME)), with the values its
// fontconvert gives a bitmap font: the glyphs' own boxes, unshrunk, one for
// every code from the first to the last.
namespace tessaldo {

struct GfxGlyph {
    unsigned bitmapOffset = 0;
    int width = 0;
    int height = 0;
    int xAdvance = 0;
    int xOffset = 0;
    int yOffset = 0; // of the box's top row from the line GFX's cursor is on, one row above the baseline
    bool operator==(const GfxGlyph &) const = default;
};

struct GfxFont {
    std::vector<std::uint8_t> bitmap; // each glyph's rows with no padding between them, from its highest dot
    std::vector<GfxGlyph> glyphs;     // one for each code from `first` to `last`
    unsigned first = 0;
    unsigned last = 0;
    int yAdvance = 0;
    bool operator==(const GfxFont &) const = default;
};

// The font's codes from `first` to `last`; a code the font lacks is drawn
// with its default character, as FreeType gives it to fontconvert. The line
// height is the first glyph's, as fontconvert gives it for a bitmap font.
// GFX reads codes as bytes: a code past 255 is refused.
Result<GfxFont> BuildGfxFont(const BitmapFont &font, char32_t first, char32_t last);

// The header fontconvert writes for the font, `name` its GFXfont.
std::string FormatGfxFont(const GfxFont &font, std::string_view name);

// The first GFXfont a header holds: its bitmap array, its glyph table and the GFXfont itself.
Result<GfxFont> ReadGfxFont(std::string_view source);

// The glyphs as GFX draws them, each with its code, box and advance: not the
// entries the writers put at codes the font lacks (no box and no advance, or
// the default character's copies). The ascent and descent are what the dots reach.
BitmapFont GfxFontGlyphs(const GfxFont &font);

} // namespace tessaldo
