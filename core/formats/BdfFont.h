#pragma once

#include "core/model/BitmapFont.h"
#include "core/model/DotGrid.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Pictures of characters as a bitmap font in the Glyph Bitmap Distribution
// Format 2.1, which every font tool reads: u8g2's bdfconv turns it into its
// fonts, bdftopcf into the X server's, FontForge opens it. Every glyph is the
// picture as the window shows it: a 16 x 16 cell whose baseline is two dots
// above its bottom, as in Unifont, which text draws from, or a cell of the
// pictures' own size on whose bottom row the baseline lies.
namespace tessaldo {

struct FontGlyph {
    char32_t codePoint = 0;
    DotGrid picture;
};

// Why `family` cannot be the font's family name ("" when it can): the font's
// name (XLFD) keeps its fields apart with '-' and matches with '?' and '*'.
std::string FamilyProblem(std::string_view family);
// The family a font file's name suggests: its stem, each character the name
// cannot hold made a space.
std::string FamilyFromFileName(const std::filesystem::path &file);

// The font, its glyphs in code point order; the code points are distinct,
// the pictures share one size and the family is usable. The font's box is the
// pictures' cell, each glyph's box shrunk to its dots, as bdfconv shrinks it.
std::string FormatBdfFont(std::vector<FontGlyph> glyphs, std::string_view family);

// The font with every metric it has: each glyph's advance (DWIDTH), its box
// shrunk to its dots (BBX), and the font's FONT_ASCENT and FONT_DESCENT, so
// that any program draws the same text from it as from the font it was read from.
std::string FormatBdfFont(const BitmapFont &font);

// The pictures as the glyphs FormatBdfFont(glyphs, family) writes: each
// advancing by its cell, the cell's bottom `descent` below the baseline, its
// box shrunk to its dots, so that every format gives a glyph the same box.
BitmapFont PicturesAsFont(std::vector<FontGlyph> glyphs, std::string_view family);

struct BdfReading {
    std::vector<FontGlyph> glyphs; // in the font's order
    BitmapFont font;               // every glyph with a code point, each as the font draws it, in the font's order
    std::string problem;           // why the font cannot be read at all: the glyphs are empty then
    std::size_t passedOver = 0;    // glyphs that make no picture: no code point, too large, or a code point repeated
    std::string firstPassedOver;   // which was the first, and why
    std::string note;              // a flaw the font was read in spite of ("" for none), and why that loses nothing
    // Where every picture holds the glyph's origin: its column, and the rows above the baseline.
    int originColumn = 0;
    int baseline = 0;
};
// Every glyph of the font as a picture in `type`. The pictures are the size
// of the font's bounding box, where that box holds the origin and is not
// 16 x 16, each glyph's box placed in it by its offsets from the origin; any
// other font's glyphs are placed in the 16 x 16 cell, the origin at its left edge and
// FONT_ASCENT below its top (without that property, or where it and
// FONT_DESCENT are both 0, the top of the font's bounding box).
BdfReading ReadBdfFont(std::string_view text, LcdType type);

} // namespace tessaldo
