#pragma once

#include "DotGrid.h"
#include "PixelsToDots.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <string>

class QIODevice;

namespace tessaldo {

inline constexpr int kMaxPngScale = 64;
// The brightness of every pixel as seen on a white background, by qGray.
GreyImage GreyFromImage(const QImage &image);

// Decodes the image file, or says why it cannot be used. Large JPEG images
// are decoded reduced, which is all sixteen cells need.
bool ReadGreyImage(const QString &path, GreyImage &grey, std::string &error);
// The same for an image that is already in memory, such as standard input.
bool ReadGreyImage(QIODevice &device, GreyImage &grey, std::string &error);

// The picture as the window shows it for its type: each dot `scale` pixels
// square, black on white, with one-pixel grid lines from scale 4 up.
QImage ImageFromPicture(const DotGrid &grid, int scale);

} // namespace tessaldo
