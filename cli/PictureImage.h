#pragma once

#include "DotGrid.h"

#include <QImage>
#include <QString>

namespace tessaldo {

struct ImportOptions {
    LcdType type = LcdType::Column;
    int threshold = 128; // a pixel darker than this is a set dot
    bool invert = false;
};

inline constexpr int kMaxPngScale = 64;

// The picture drawn from a 16 x 16 image as the module shows it in the given
// layout. Transparent pixels count as white.
DotGrid PictureFromImage(const QImage &image, const ImportOptions &options);

// The picture as the window shows it for its type: each dot `scale` pixels
// square, black on white, with one-pixel grid lines from scale 4 up.
QImage ImageFromPicture(const DotGrid &grid, int scale);

// Reads the image file, or says why it cannot be used.
bool ReadPictureImage(const QString &path, QImage &image, std::string &error);

} // namespace tessaldo
