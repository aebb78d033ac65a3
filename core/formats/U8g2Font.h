#pragma once

#include "core/model/BitmapFont.h"
#include "core/platform/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// u8g2's font format, as its drawStr and drawUTF8 read it and as its bdfconv
// writes it, byte for byte: a sketch takes the font Tessaldo writes exactly as
// it takes u8g2's own.
namespace tessaldo {

// How each glyph's box is kept: shrunk to its dots, a common height, or one
// common cell (bdfconv's -b 0, 1, 2).
enum class U8g2Mode { Proportional = 0, CommonHeight = 1, Monospace = 2 };

// One step of a glyph choice in u8g2's map syntax: "32-127", "$b0", "~$7f",
// "$ac00-$ac40>$e000"; "*" is 32-255.
struct GlyphRange {
    char32_t first = 0;
    char32_t last = 0;
    char32_t target = 0; // where `first` goes; the rest follow it
    bool leaveOut = false;
};
Result<std::vector<GlyphRange>> ParseGlyphMap(std::string_view map);

// For each of the font's glyphs, the character it is written as, or none where
// the map leaves it out: the steps in order, a later one deciding over an earlier.
std::vector<std::optional<char32_t>> ChooseGlyphs(const BitmapFont &font, const std::vector<GlyphRange> &map);

// The font's bytes in u8g2's format, of the glyphs `chosen` gives a character
// (as ChooseGlyphs), the last byte the 0 that ends the font.
Result<std::vector<std::uint8_t>> EncodeU8g2Font(const BitmapFont &font,
                                                 const std::vector<std::optional<char32_t>> &chosen, U8g2Mode mode);

// The C source that holds the font as `name`, with the comment bdfconv writes
// above it.
Result<std::string> FormatU8g2Font(const BitmapFont &font, const std::vector<std::optional<char32_t>> &chosen,
                                   U8g2Mode mode, std::string_view name);

struct U8g2Source {
    std::string name;
    std::vector<std::uint8_t> bytes;
};
// Every u8g2 font C source holds (`const uint8_t NAME[…] U8G2_FONT_SECTION("NAME") = "…";`).
std::vector<U8g2Source> FindU8g2Fonts(std::string_view source);

// The glyphs of a font in u8g2's format, each as it draws them: the box its
// mode keeps, the advance, and the character; the font's ascent and descent
// are what its dots reach, as the format keeps no FONT_ASCENT.
Result<BitmapFont> DecodeU8g2Font(const std::vector<std::uint8_t> &bytes, std::string_view name);

} // namespace tessaldo
