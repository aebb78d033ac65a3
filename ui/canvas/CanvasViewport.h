#pragma once

#include "core/model/PictureSize.h"
#include "core/model/Shapes.h"
#include "core/session/Canvas.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

// Which part of the picture the canvas shows and how large: the cell's side
// in whole pixels, or a pixel for a block of dots where the picture is
// larger than the area, fitted to the area until the user zooms, and the
// scroll into a picture larger than the area, which a smaller one stands
// centred in.
class CanvasViewport {
public:
    // A picture of `size` in `area` pixels; a fitted zoom fits it again, a scroll stays within it.
    void Show(tessaldo::PictureSize size, QSize area);
    // Blank columns kept in view right of the picture, fitted and scrolled to
    // with it, where a glyph's advance reaches past its cell.
    void SetRoomRight(int columns);
    int RoomRight() const { return m_roomRight; }
    tessaldo::Zoom CurrentZoom() const { return m_zoom; }
    // A cell's side in whole pixels: one where a pixel shows a block of dots.
    int CellPixels() const { return m_zoom.cellPixels; }
    // The pixels a dot's side takes, less than one where a pixel shows a block.
    double DotPixels() const { return static_cast<double>(m_zoom.cellPixels) / m_zoom.dotsPerPixel; }
    void Fit();
    // `zoom`, the picture's point under `about`, in the area's pixels, kept there.
    void ZoomTo(tessaldo::Zoom zoom, QPointF about);
    void ScrollTo(QPoint scroll);
    QPoint Scroll() const { return m_scroll; }
    // The picture's pixels, its grid lines included, and how far they pass the area.
    QSize Canvas() const;
    QSize Overflow() const;
    // The picture's pixels and the room right of it.
    QSize Spread() const;
    // Where the picture's top-left corner stands in the area.
    QPoint Origin() const;
    // The pixels that show `cell`, its left and top line included, in the area; a block's one pixel when shrunk.
    QRect CellRect(tessaldo::Cell cell) const;
    // The cell under `point` of the area, inside the picture or not.
    tessaldo::Cell CellAt(QPoint point) const;

private:
    // The module's dots stand in the order of its LCD type, which no block of dots averages; it always fits.
    tessaldo::Zoom Allowed(tessaldo::Zoom zoom) const;

    tessaldo::PictureSize m_size;
    QSize m_area;
    tessaldo::Zoom m_zoom;
    bool m_fitted = true;
    int m_roomRight = 0;
    QPoint m_scroll;
};
