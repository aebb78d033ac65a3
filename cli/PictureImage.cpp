#include "PictureImage.h"

#include <QImageReader>
#include <QPainter>

namespace tessaldo {
namespace {

const QColor kSetColor(0, 0, 0);
const QColor kClearColor(255, 255, 255);
const QColor kLineColor(128, 128, 128);
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
    const int side = kGridSide * scale + (lines ? 1 : 0);
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(kClearColor);
    QPainter painter(&image);
    for (int dot = 0; dot < kDotCount; ++dot) {
        if (grid.IsSet(dot)) {
            const Cell cell = CellOfDot(grid.nLCDType(), dot);
            painter.fillRect(cell.column * scale, cell.row * scale, scale, scale, kSetColor);
        }
    }
    if (lines) {
        painter.setPen(kLineColor);
        for (int line = 0; line <= kGridSide; ++line) {
            painter.drawLine(line * scale, 0, line * scale, side - 1);
            painter.drawLine(0, line * scale, side - 1, line * scale);
        }
    }
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
