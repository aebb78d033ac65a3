#include "PictureImage.h"

#include "PicturePainter.h"

#include <QImageReader>
#include <QPainter>

namespace tessaldo {
namespace {

constexpr int kGridFromScale = 4;

// Luminance of the pixel as seen on a white background.
int LuminanceOverWhite(QRgb pixel)
{
    const int alpha = qAlpha(pixel);
    return (qGray(pixel) * alpha + 255 * (255 - alpha)) / 255;
}

} // namespace

DotGrid PictureFromImage(const QImage &image, const ImportOptions &options)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    DotGrid grid;
    grid.SetLCDType(options.type);
    for (int row = 0; row < kGridSide; ++row) {
        for (int column = 0; column < kGridSide; ++column) {
            const bool dark = LuminanceOverWhite(pixels.pixel(column, row)) < options.threshold;
            const bool set = dark != options.invert;
            grid.SetDot(DotAtCell(options.type, {column, row}), set ? DotState::Set : DotState::Clear);
        }
    }
    return grid;
}

QImage ImageFromPicture(const DotGrid &grid, int scale)
{
    const bool lines = scale >= kGridFromScale;
    const int side = PicturePixels(scale, lines);
    QImage image(side, side, QImage::Format_RGB32);
    QPainter painter(&image);
    PaintPicture(painter, grid, grid.nLCDType(), scale, lines);
    return image;
}

bool ReadPictureImage(const QString &path, QImage &image, std::string &error)
{
    QImageReader reader(path);
    const QByteArray format = reader.format();
    if (format != "png" && format != "bmp" && format != "gif" && format != "jpeg") {
        error = reader.canRead() ? "it is not a PNG, BMP, GIF or JPEG image" : reader.errorString().toStdString();
        return false;
    }
    image = reader.read();
    if (image.isNull()) {
        error = reader.errorString().toStdString();
        return false;
    }
    if (image.width() != kGridSide || image.height() != kGridSide) {
        error = "it is " + std::to_string(image.width()) + " x " + std::to_string(image.height())
                + " pixels, but a picture must be exactly 16 x 16";
        return false;
    }
    return true;
}

} // namespace tessaldo
