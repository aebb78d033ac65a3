#pragma once

#include "core/model/Dots.h"
#include "core/model/PictureSize.h"

#include <array>
#include <cstdint>

// How the canvas shows a picture of any size, the same in the window and on
// the page: a cell is a whole number of pixels, so that every dot is crisp,
// or a pixel shows a whole block of dots; grid lines are drawn only where a
// cell is large enough to keep a dot visible between them.
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

// Below a pixel a dot, one pixel shows a block of `dotsPerPixel` x
// `dotsPerPixel` dots, so that a picture up to 1024 x 1024 fits a small view.
struct Zoom {
    int cellPixels = 1;   // pixels a dot's side takes, when dotsPerPixel is 1
    int dotsPerPixel = 1; // dots a pixel's side shows, when cellPixels is 1

    friend bool operator==(const Zoom &, const Zoom &) = default;
};
// The blocks' sides below a pixel a dot, from the largest zoom to the smallest:
// 1024 dots take 128 pixels at the last.
inline constexpr std::array kShrinkSteps{2, 3, 4, 5, 6, 8};

// The pixels a picture's side of `dots` takes at `zoom`, a last block short of dots included.
int ZoomedPixels(int dots, Zoom zoom);
// The largest whole cell that fits, as FitCellPixels, or else the largest
// shrink step at which the whole picture fits, or the smallest step.
Zoom FitZoom(PictureSize size, int width, int height);
// The next step up or down, through the shrink steps and then kZoomSteps, or `zoom` at either end.
Zoom ZoomedIn(Zoom zoom);
Zoom ZoomedOut(Zoom zoom);

// How much of the block of `side` x `side` dots whose top left dot is
// (`left`, `top`) is set, as ink from 0 (all clear, drawn as a clear dot) to
// 255 (all set), for one pixel of a zoomed-out canvas or preview; dots past
// the picture's edges count as absent, not clear; `dots` run along rows, as
// at any size but the module's, which fits any view whole. The share of set dots is
// scaled to 255, rounded, and raised to at least kLeastInk when any dot is
// set, so that a one-dot line never fades into the clear dots around it.
inline constexpr std::uint8_t kLeastInk = 128;
std::uint8_t BlockInk(const Dots &dots, int left, int top, int side);

} // namespace tessaldo
