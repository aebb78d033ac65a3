#include "core/model/Stroke.h"

#include <cmath>
#include <limits>

namespace tessaldo {
namespace {

// Per axis: which way the segment goes through the cells, and at what part of
// the segment (0..1) it crosses the next cell border and every one after.
struct AxisWalk {
    int step = 0;
    double next = std::numeric_limits<double>::infinity();
    double delta = std::numeric_limits<double>::infinity();
};

AxisWalk WalkAlong(double from, double to, double cellSize)
{
    AxisWalk walk;
    const double span = to - from;
    if (span == 0)
        return walk;
    walk.step = span > 0 ? 1 : -1;
    const double cellStart = std::floor(from / cellSize) * cellSize;
    const double border = span > 0 ? cellStart + cellSize : cellStart;
    walk.next = (border - from) / span;
    walk.delta = cellSize / std::abs(span);
    return walk;
}

int CellIndex(double at, double cellSize)
{
    return static_cast<int>(std::floor(at / cellSize));
}

} // namespace

std::vector<Cell> CellsAlongSegment(PointF from, PointF to, double cellSize, PictureSize size)
{
    std::vector<Cell> cells;
    Cell cell{CellIndex(from.x, cellSize), CellIndex(from.y, cellSize)};
    const Cell last{CellIndex(to.x, cellSize), CellIndex(to.y, cellSize)};
    AxisWalk x = WalkAlong(from.x, to.x, cellSize);
    AxisWalk y = WalkAlong(from.y, to.y, cellSize);
    // A segment crosses at most one border per cell on each axis.
    const int crossings = std::abs(last.column - cell.column) + std::abs(last.row - cell.row);
    for (int i = 0; i <= crossings; ++i) {
        if (IsInside(cell, size))
            cells.push_back(cell);
        if (x.next < y.next) {
            cell.column += x.step;
            x.next += x.delta;
        } else {
            cell.row += y.step;
            y.next += y.delta;
        }
    }
    return cells;
}

} // namespace tessaldo
