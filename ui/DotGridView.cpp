#include "DotGridView.h"

#include <QMouseEvent>
#include <QPainter>

using namespace tessaldo;

namespace {

constexpr int kGridPixels = kGridSide * DotGridView::kCellPixels + 1; // the closing line included
const QColor kClearColor(255, 255, 255);
const QColor kSetColor(0, 0, 0);
const QColor kLineColor(128, 128, 128);

} // namespace

DotGridView::DotGridView(const DotGrid &grid, QWidget *parent) : QWidget(parent), m_grid(grid)
{
    setFixedSize(kGridPixels, kGridPixels);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DotGridView::SetLayout(LcdType layout)
{
    m_layout = layout;
    update();
}

QRect DotGridView::CellRect(int dot) const
{
    const Cell cell = CellOfDot(m_layout, dot);
    return {cell.column * kCellPixels, cell.row * kCellPixels, kCellPixels, kCellPixels};
}

int DotGridView::DotAt(QPoint point) const
{
    if (point.x() < 0 || point.y() < 0)
        return -1;
    const Cell cell{point.x() / kCellPixels, point.y() / kCellPixels};
    return IsInsideGrid(cell) ? DotAtCell(m_layout, cell) : -1;
}

QSize DotGridView::sizeHint() const
{
    return {kGridPixels, kGridPixels};
}

void DotGridView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), kClearColor);
    for (int dot = 0; dot < kDotCount; ++dot) {
        if (m_grid.IsSet(dot))
            painter.fillRect(CellRect(dot), kSetColor);
    }
    // One-pixel lines on every cell edge, drawn last so that neighbouring set
    // dots still read as separate cells.
    painter.setPen(QPen(kLineColor, 0));
    for (int line = 0; line <= kGridSide; ++line) {
        const int at = line * kCellPixels;
        painter.drawLine(at, 0, at, kGridPixels - 1);
        painter.drawLine(0, at, kGridPixels - 1, at);
    }
}

void DotGridView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressedDot = DotAt(event->position().toPoint());
}

void DotGridView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int pressed = std::exchange(m_pressedDot, -1);
    if (pressed >= 0 && DotAt(event->position().toPoint()) == pressed)
        emit DotClicked(pressed);
}
