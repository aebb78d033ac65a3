#pragma once

#include "core/model/DotGrid.h"

class QPainter;

// Draws the picture as the window shows it: white and black cells of
// `cellPixels` in the given layout, from the painter's origin, with
// one-pixel grey lines on every cell edge when `gridLines` is set. The
// window and the PNG export both draw through here, so they always agree.
void PaintPicture(QPainter &painter, const tessaldo::DotGrid &grid, tessaldo::LcdType layout, int cellPixels,
                  bool gridLines);

// The side of the square PaintPicture covers for a 16 x 16 picture, or the
// pixels of a side of `dots` dots; grid lines add the closing line.
int PicturePixels(int cellPixels, bool gridLines, int dots = tessaldo::kGridSide);
