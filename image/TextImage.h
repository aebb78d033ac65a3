#pragma once

#include "PixelsToDots.h"

#include <QString>
#include <QStringList>

#include <string>

namespace tessaldo {

// GNU Unifont is drawn for exactly 16 pixels: every Hangul syllable and CJK
// ideograph a 16 x 16 bitmap, every Latin letter 8 x 16.
inline constexpr const char *kDefaultTextFamily = "Unifont";
inline constexpr int kDefaultTextPixels = 16;

struct TextOptions {
    QString family = QString::fromLatin1(kDefaultTextFamily);
    int pixelSize = kDefaultTextPixels;
    bool alignLeft = false; // else a line narrower than the grid is centred
};

// One line of text drawn on the 16 x 16 cells, its baseline at the font's
// ascent from the top row; wider lines are cut at the right edge. Unifont at
// its own size is drawn without antialiasing, pixel for pixel; other fonts
// are antialiased and left to the threshold. A character the font has no
// glyph for is refused, never drawn from another font. Needs a running
// QGuiApplication, which knows the fonts.
bool RenderText(const QString &text, const TextOptions &options, GreyImage &cells, std::string &error);

// The font families installed, Unifont first when it is there.
QStringList TextFamilies();

} // namespace tessaldo
