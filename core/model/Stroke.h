#pragma once

#include "core/model/Layout.h"

#include <vector>

namespace tessaldo {

struct PointF {
    double x = 0;
    double y = 0;
};

// The cells of the grid that the straight segment from `from` to `to` passes
// through, in the order it meets them, `from`'s cell first. Coordinates are
// in units where a cell is `cellSize` wide; cells outside a picture of `size` are left out.
std::vector<Cell> CellsAlongSegment(PointF from, PointF to, double cellSize, PictureSize size = kModuleSize);

} // namespace tessaldo
