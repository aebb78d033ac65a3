#include "PicturePainter.h"

#include <QPainter>

using namespace tessaldo;

namespace {
const QColor kClearColor(255, 255, 255);
const QColor kSetColor(0, 0, 0);
const QColor kLineColor(128, 128, 128);
} // namespace

int PicturePixels(int cellPixels, bool gridLines)
{
    return kGridSide * cellPixels + (gridLines ? 1 : 0);
}

void PaintPicture(QPainter &painter, const DotGrid &grid, LcdType layout, int cellPixels, bool gridLines)
{
    const int side = PicturePixels(cellPixels, gridLines);
    painter.fillRect(0, 0, side, side, kClearColor);
    for (int dot = 0; dot < kDotCount; ++dot) {
        if (grid.IsSet(dot)) {
            const Cell cell = CellOfDot(layout, dot);
            painter.fillRect(cell.column * cellPixels, cell.row * cellPixels, cellPixels, cellPixels, kSetColor);
        }
    }
    if (!gridLines)
        return;
    // Drawn last, over the cells, so that neighbouring set dots still read as separate cells.
    painter.setPen(QPen(kLineColor, 0));
    for (int line = 0; line <= kGridSide; ++line) {
        const int at = line * cellPixels;
        painter.drawLine(at, 0, at, side - 1);
        painter.drawLine(0, at, side - 1, at);
    }
}
