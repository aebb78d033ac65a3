#pragma once

#include "core/convert/PixelsToDots.h"

#include <string>
#include <vector>

namespace tessaldo {

// How a line of inserted text goes on the picture, the same from a font in
// the window, from Unifont's glyphs on the page and on the command line.
struct TextPlacement {
    bool invert = false; // the line's cells flipped: text cut out of a filled picture
    bool onto = false;   // the text's dots set over the picture; else they replace it
    Cell origin{};       // where the line's top-left cell goes: the cell the user pointed at
};

// The line's cells, laid out from the top-left cell, put on `picture` in its
// own layout as `placement` says; whether some of the text's dots fell past
// its right or bottom edge there, and were cut.
bool PlaceText(DotGrid &picture, ScreenCells cells, TextPlacement placement);

// Where a centred line of `length` dots starts on a side of `side` dots,
// across or down: the spare dot after it, and a line longer than the side cut
// on both ends.
int CentredStart(int side, int length);

// Whether a glyph drawn at a size too small for it has lost all or most of
// its dots: its pixels' ink (each pixel's darkness, 0 to 1, summed) came to at
// least a dot, and fewer than half as many dots were set.
bool GlyphFaded(double ink, int setDots);
// What the user is told of the characters that GlyphFaded at the font's
// pixel size: "At 14 px "°" and "." lose all or most of their dots; ...".
std::string FadedNote(const std::vector<std::string> &characters, int pixelSize);

// What the user is told when the line does not fit: "is 40 dots wide and does not fit ...".
std::string CutNote(int width, PictureSize size = kModuleSize);
// The line's width as the dialog shows it, a whole sentence, cut or not.
std::string TextWidthNote(int width, bool cut);

} // namespace tessaldo
