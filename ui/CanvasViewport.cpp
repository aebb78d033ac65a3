#include "CanvasViewport.h"

#include "core/session/Canvas.h"

#include <algorithm>
#include <cmath>

using namespace tessaldo;

void CanvasViewport::Show(PictureSize size, QSize area)
{
    m_size = size;
    m_area = area;
    if (m_fitted)
        m_cell = FitCellPixels(size, area.width(), area.height());
    ScrollTo(m_scroll);
}

void CanvasViewport::Fit()
{
    m_fitted = true;
    m_scroll = {};
    Show(m_size, m_area);
}

void CanvasViewport::ZoomTo(int cellPixels, QPointF about)
{
    const QPoint origin = Origin();
    const double column = (about.x() - origin.x()) / m_cell;
    const double row = (about.y() - origin.y()) / m_cell;
    m_fitted = false;
    m_cell = cellPixels;
    ScrollTo({static_cast<int>(std::lround(column * m_cell - about.x())),
              static_cast<int>(std::lround(row * m_cell - about.y()))});
}

void CanvasViewport::ScrollTo(QPoint scroll)
{
    const QSize over = Overflow();
    m_scroll = {std::clamp(scroll.x(), 0, over.width()), std::clamp(scroll.y(), 0, over.height())};
}

QSize CanvasViewport::Canvas() const
{
    return {CanvasPixels(m_size.width, m_cell), CanvasPixels(m_size.height, m_cell)};
}

QSize CanvasViewport::Overflow() const
{
    const QSize canvas = Canvas();
    return {std::max(0, canvas.width() - m_area.width()), std::max(0, canvas.height() - m_area.height())};
}

QPoint CanvasViewport::Origin() const
{
    const QSize canvas = Canvas();
    const auto along = [](int area, int canvas, int scroll) { return canvas <= area ? (area - canvas) / 2 : -scroll; };
    return {along(m_area.width(), canvas.width(), m_scroll.x()), along(m_area.height(), canvas.height(), m_scroll.y())};
}
