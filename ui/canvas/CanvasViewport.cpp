#include "ui/canvas/CanvasViewport.h"

#include <algorithm>
#include <cmath>

using namespace tessaldo;

namespace {

int FloorDiv(int value, int by)
{
    return value >= 0 ? value / by : -((-value + by - 1) / by);
}

} // namespace

void CanvasViewport::Show(PictureSize size, QSize area)
{
    m_size = size;
    m_area = area;
    if (m_fitted)
        m_zoom = Allowed(FitZoom({size.width + m_roomRight, size.height}, area.width(), area.height()));
    ScrollTo(m_scroll);
}

void CanvasViewport::SetRoomRight(int columns)
{
    m_roomRight = columns;
    Show(m_size, m_area);
}

void CanvasViewport::Fit()
{
    m_fitted = true;
    m_scroll = {};
    Show(m_size, m_area);
}

void CanvasViewport::ZoomTo(Zoom zoom, QPointF about)
{
    const QPoint origin = Origin();
    const double column = (about.x() - origin.x()) / DotPixels();
    const double row = (about.y() - origin.y()) / DotPixels();
    m_fitted = false;
    m_zoom = Allowed(zoom);
    ScrollTo({static_cast<int>(std::lround(column * DotPixels() - about.x())),
              static_cast<int>(std::lround(row * DotPixels() - about.y()))});
}

Zoom CanvasViewport::Allowed(Zoom zoom) const
{
    return IsModuleSize(m_size) && zoom.dotsPerPixel > 1 ? Zoom{} : zoom;
}

void CanvasViewport::ScrollTo(QPoint scroll)
{
    const QSize over = Overflow();
    m_scroll = {std::clamp(scroll.x(), 0, over.width()), std::clamp(scroll.y(), 0, over.height())};
}

QSize CanvasViewport::Canvas() const
{
    return {ZoomedPixels(m_size.width, m_zoom), ZoomedPixels(m_size.height, m_zoom)};
}

QSize CanvasViewport::Spread() const
{
    return {ZoomedPixels(m_size.width + m_roomRight, m_zoom), ZoomedPixels(m_size.height, m_zoom)};
}

QSize CanvasViewport::Overflow() const
{
    const QSize canvas = Spread();
    return {std::max(0, canvas.width() - m_area.width()), std::max(0, canvas.height() - m_area.height())};
}

QPoint CanvasViewport::Origin() const
{
    const QSize canvas = Spread();
    const auto along = [](int area, int canvas, int scroll) { return canvas <= area ? (area - canvas) / 2 : -scroll; };
    return {along(m_area.width(), canvas.width(), m_scroll.x()), along(m_area.height(), canvas.height(), m_scroll.y())};
}

QRect CanvasViewport::CellRect(Cell cell) const
{
    const int shrink = m_zoom.dotsPerPixel;
    const int side = m_zoom.cellPixels;
    return {Origin() + QPoint(FloorDiv(cell.column * side, shrink), FloorDiv(cell.row * side, shrink)),
            QSize(side, side)};
}

Cell CanvasViewport::CellAt(QPoint point) const
{
    const QPoint inPicture = point - Origin();
    const int shrink = m_zoom.dotsPerPixel;
    const int side = m_zoom.cellPixels;
    return {FloorDiv(inPicture.x() * shrink, side), FloorDiv(inPicture.y() * shrink, side)};
}
