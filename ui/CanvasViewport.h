#pragma once

#include "core/model/PictureSize.h"

#include <QPoint>
#include <QPointF>
#include <QSize>

// Which part of the picture the canvas shows and how large: the cell's side
// in whole pixels, fitted to the area until the user zooms, and the scroll
// into a picture larger than the area, which a smaller one stands centred in.
class CanvasViewport {
public:
    // A picture of `size` in `area` pixels; a fitted cell fits it again, a scroll stays within it.
    void Show(tessaldo::PictureSize size, QSize area);
    int CellPixels() const { return m_cell; }
    void Fit();
    // `cellPixels` a cell, the picture's point under `about`, in the area's pixels, kept there.
    void ZoomTo(int cellPixels, QPointF about);
    void ScrollTo(QPoint scroll);
    QPoint Scroll() const { return m_scroll; }
    // The picture's pixels, its grid lines included, and how far they pass the area.
    QSize Canvas() const;
    QSize Overflow() const;
    // Where the picture's top-left corner stands in the area.
    QPoint Origin() const;

private:
    tessaldo::PictureSize m_size;
    QSize m_area;
    int m_cell = 1;
    bool m_fitted = true;
    QPoint m_scroll;
};
