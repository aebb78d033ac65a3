#include "image/PicturePainter.h"

#include <QPainter>

using namespace tessaldo;

namespace {
const QColor kClearColor(255, 255, 255);
const QColor kSetColor(0, 0, 0);
const QColor kLineColor(128, 128, 128);
} // namespace

int PicturePixels(int cellPixels, bool gridLines, int dots)
{
    return dots * cellPixels + (gridLines ? 1 : 0);
}

void PaintPicture(QPainter &painter, const DotGrid &grid, LcdType layout, int cellPixels, bool gridLines)
{
    const PictureSize size = grid.Size();
    const int width = PicturePixels(cellPixels, gridLines, size.width);
    const int height = PicturePixels(cellPixels, gridLines, size.height);
    painter.fillRect(0, 0, width, height, kClearColor);
    for (int dot = 0; dot < size.DotCount(); ++dot) {
        if (grid.IsSet(dot)) {
            const Cell cell = CellOfDot(layout, dot, size);
            painter.fillRect(cell.column * cellPixels, cell.row * cellPixels, cellPixels, cellPixels, kSetColor);
        }
    }
    if (!gridLines)
        return;
    // Drawn last, over the cells, so that neighbouring set dots still read as separate cells.
    painter.setPen(QPen(kLineColor, 0));
    for (int line = 0; line <= size.width; ++line)
        painter.drawLine(line * cellPixels, 0, line * cellPixels, height - 1);
    for (int line = 0; line <= size.height; ++line)
        painter.drawLine(0, line * cellPixels, width - 1, line * cellPixels);
}
