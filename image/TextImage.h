#pragma once

#include "core/convert/PixelsToDots.h"
#include "core/convert/TextPlacement.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace tessaldo {

// GNU Unifont is drawn for exactly 16 pixels: every Hangul syllable and CJK
// ideograph a 16 x 16 bitmap, every Latin letter 8 x 16.
inline constexpr const char *kDefaultTextFamily = "Unifont";
inline constexpr int kDefaultTextPixels = 16;

struct TextOptions {
    QString family = QString::fromLatin1(kDefaultTextFamily);
    int pixelSize = kDefaultTextPixels;
    bool alignLeft = false; // else the line is centred, a line wider than the picture cut on both sides
    int offsetX = 0;        // whole dots to the right
    int offsetY = 0;        // whole dots down
    int threshold = 128;    // a cell darker than this is set
    bool invert = false;
    bool onto = false; // the text's dots are set over the picture; else they replace it
};

// How wide the line is drawn, and whether any of it falls outside the picture.
struct TextExtent {
    int width = 0;
    bool cut = false;
    std::vector<std::string> faded; // the characters that lost all or most of their dots (GlyphFaded), each once
};

// One line of text drawn on the cells of a picture of `size`, centred on it
// both ways unless told otherwise. Unifont at its own size is drawn without
// antialiasing, pixel for pixel; other fonts are antialiased and left to the
// threshold. A character the font has no glyph for is refused, never drawn
// from another font. Needs a running QGuiApplication, which knows the fonts.
bool RenderText(const QString &text, const TextOptions &options, PictureSize size, GreyImage &cells, TextExtent &extent,
                std::string &error);

// The text put on the picture in the picture's own layout and size, as the
// options say; a refused text leaves the picture as it was.
bool PutText(DotGrid &picture, const QString &text, const TextOptions &options, TextExtent &extent, std::string &error);

// The font families installed, Unifont first when it is there.
QStringList TextFamilies();

} // namespace tessaldo
