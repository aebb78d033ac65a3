#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A font as the display libraries draw it: each glyph's dots in a box placed
// against the baseline, and the advance that moves the pen on. A picture of a
// character says none of that, so the formats that write fonts for those
// libraries start from here.
namespace tessaldo {

struct FontBox {
    int width = 0;
    int height = 0;
    int x = 0; // the box's left edge, right of the origin
    int y = 0; // the box's bottom row, above the baseline
    bool operator==(const FontBox &) const = default;
};

struct BitmapGlyph {
    char32_t codePoint = 0;
    int advance = 0; // the pen's move to the next glyph, in dots (DWIDTH)
    FontBox box;
    // One byte a dot, 1 where it is set: the box's rows from its top, each from its left.
    std::vector<std::uint8_t> dots;
    bool operator==(const BitmapGlyph &) const = default;

    bool Dot(int column, int row) const
    {
        return dots[static_cast<std::size_t>(row) * static_cast<std::size_t>(box.width)
                    + static_cast<std::size_t>(column)]
               != 0;
    }
};

struct BitmapFont {
    std::string name;      // the font's own name (a BDF's FONT)
    std::string copyright; // "" where the font gives none
    int ascent = 0;        // dots above the baseline a line takes
    int descent = 0;       // dots below it
    // Dots from one line's baseline to the next, where the font's source says
    // (TrueType's line spacing, a GFXfont's yAdvance); none where it does not.
    std::optional<int> lineHeight;
    std::optional<char32_t> defaultCharacter; // what programs draw for a character the font lacks
    std::vector<BitmapGlyph> glyphs;          // in the font's own order
    bool operator==(const BitmapFont &) const = default;

    // The first glyph for `codePoint`, or none.
    const BitmapGlyph *Find(char32_t codePoint) const;
};

// The glyph with its box shrunk to its dots: blank columns and rows trimmed
// from every side, as the fonts' converters do before they measure a font. A
// blank glyph keeps its left edge and its box's top, with no width or height.
BitmapGlyph Reduced(const BitmapGlyph &glyph);

// Sets the font's ascent and descent to what its dots reach: the highest top
// above the baseline and the lowest bottom below it, neither less than 0.
// The formats that keep no ascent and descent (GFX's, u8g2's) still keep
// every glyph's place, and a line of their text takes no less.
void SetAscentAndDescentFromDots(BitmapFont &font);

} // namespace tessaldo
