#pragma once

#include "core/formats/BdfFont.h"
#include "core/formats/FontFiles.h"
#include "core/formats/U8g2Font.h"
#include "core/model/BitmapFont.h"
#include "core/model/Displays.h"
#include "core/model/Document.h"
#include "core/platform/Result.h"

#include <array>
#include <string>
#include <string_view>

// A font opened for editing: a set of pictures, one a glyph, all in the
// font's common cell, each keeping where its origin lies, where the baseline
// runs and how far the pen moves on, and the font its name and line metrics,
// so that it is saved as a font that draws text as the one opened did.
namespace tessaldo {

// The endings of the font files the faces open as a font's glyphs: BDF,
// TrueType and OpenType, u8g2's C source, a GFXfont's header.
inline constexpr std::array<std::string_view, 5> kFontFileEndings{".bdf", ".ttf", ".otf", ".c", ".h"};

// The name of the picture of a character's glyph: U_00B0, as a set's header names it.
std::string GlyphPictureName(char32_t codePoint);

// The font's glyphs as such a set, in the font's order, in `type`.
Document GlyphSetOf(const BdfReading &reading, LcdType type);

// A clear glyph for `codePoint` in the set's cell, placed as the edited glyph
// is (or, where the edited picture is none, on the cell's bottom row at its
// left edge, advancing by the cell's width).
Picture BlankGlyph(const Document &set, char32_t codePoint);

// The set as a font: each glyph's dots in a box shrunk to them, as the fonts'
// converters shrink it. A picture that has no glyph's metrics yet is taken by
// its name (U_XXXX) as BlankGlyph places one; one that names no character, and
// two glyphs for one character, refuse it with the reason.
Result<BitmapFont> FontOfSet(const Document &set);

// The text of the set saved as a font file in `format` (`mode` and the C
// `name` for u8g2 and GFX, as the command line's font writes them).
Result<std::string> FontFileText(const Document &set, FontFormat format, U8g2Mode mode, std::string_view name);

// The pictures a text needs of the set, each with the sentence naming the
// characters it has no glyph for ("" when it has all).
struct GlyphsKept {
    std::vector<bool> kept; // one for each picture of the set
    std::string missing;
};
GlyphsKept GlyphsForText(const Document &set, std::string_view text);

// What shows a glyph's character on every face: the character itself in
// UTF-8 ("A", "°", "도"), or its name ("U+0020") for a space, a control or
// another character that would show as nothing.
std::string GlyphCaption(char32_t codePoint);
// How many columns right of the picture a glyph's advance reaches, which a
// canvas widens the glyph's cell by to show where the next glyph starts; 0
// for an advance within the picture and for a picture that is no glyph.
int AdvanceBeyondCell(const Picture &picture);
// What the strip shows for a picture: a glyph's GlyphCaption, any other picture's name.
std::string StripCaption(const Picture &picture);

// A line of `text` drawn in the set's font as u8g2 and GFX draw it: each
// glyph's dots from the pen, which starts at the left edge on the font's
// baseline and moves on by the glyph's advance; a character the font lacks
// draws nothing. The dots fill a display of `size`, row by row.
Dots SampleLine(const Document &set, std::string_view text, PictureSize size);
// The text the preview starts from: the one Glyphs from Text kept, else the
// set's first characters, in its order.
std::string SampleTextOf(const Document &set);
// The dots a line of `text` takes in the set's font, from the pen's start to
// the furthest of its end and the last dot across, and over the font's ascent
// and descent or the glyphs' dots down; at least 1 x 1.
PictureSize SampleLineSize(const Document &set, std::string_view text);
// The preset the preview shows a font's set on: the smallest that holds the
// line of its SampleTextOf, else the largest (DisplayHolding).
std::size_t SampleDisplay(const Document &set);

} // namespace tessaldo
