#pragma once

#include "core/model/PictureSize.h"

#include <array>

// How the canvas shows a picture of any size, the same in the window and on
// the page: a cell is a whole number of pixels, so that every dot is crisp,
// and grid lines are drawn only where a cell is large enough to keep a dot
// visible between them.
namespace tessaldo {

// A cell's side in pixels, from the smallest to the largest the zoom steps through.
inline constexpr std::array kZoomSteps{1, 2, 3, 4, 5, 6, 8, 10, 12, 13, 16, 20, 24, 32, 40, 48, 64};
// Grid lines, one pixel between cells and around them all, from this side on.
inline constexpr int kGridLinesFrom = 4;

constexpr bool ShowsGridLines(int cellPixels)
{
    return cellPixels >= kGridLinesFrom;
}

// The pixels a picture's side of `dots` takes at `cellPixels` a cell, its lines included.
constexpr int CanvasPixels(int dots, int cellPixels)
{
    return dots * cellPixels + (ShowsGridLines(cellPixels) ? 1 : 0);
}

// The largest cell, of at least one pixel and at most the largest step,
// at which the whole picture fits `width` x `height` pixels.
int FitCellPixels(PictureSize size, int width, int height);
// The next step up or down from `cellPixels`, or `cellPixels` at either end.
int ZoomedIn(int cellPixels);
int ZoomedOut(int cellPixels);

} // namespace tessaldo
