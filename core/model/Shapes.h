#pragma once

#include "core/model/DotGrid.h"
#include "core/model/Layout.h"

#include <optional>
#include <vector>

// The rules of the drawing tools, the same in every face: which cells a
// line, a box or an ellipse dragged between two cells covers, what Shift
// makes of the drag, and which dots a fill reaches.
namespace tessaldo {

// The tools of the canvas. The pencil clicks and strokes as the grid always did.
enum class Tool { Pencil, Line, Rectangle, Ellipse, Fill, Select };

// A rectangle of cells: its top-left cell and its size, neither side empty.
struct CellRect {
    Cell topLeft;
    PictureSize size;
    friend bool operator==(const CellRect &, const CellRect &) = default;
};

// The rectangle whose opposite corners are the cells `a` and `b`, both inside it.
CellRect RectBetween(Cell a, Cell b);
// The part of `rect` inside a picture of `size`, or nothing where none is.
std::optional<CellRect> ClippedRect(CellRect rect, PictureSize size);

// Every cell of the straight line from `from` to `to`, both ends included,
// one a column or row (Bresenham's line), `from` first.
std::vector<Cell> LineCells(Cell from, Cell to);
// The outline of the box with corners `a` and `b`, or every cell in it.
std::vector<Cell> RectangleCells(Cell a, Cell b, bool filled);
// The ellipse that fits the box with corners `a` and `b`, touching all four
// sides, as an outline one cell thick with no gaps, or filled. Symmetric
// about both of the box's middle lines.
std::vector<Cell> EllipseCells(Cell a, Cell b, bool filled);

// Where Shift takes the end of a drag from `from` to `to`: a line to the
// nearest of the horizontal, the vertical and the two diagonals, a box or
// an ellipse to a square, the longer side kept.
Cell StraightLineEnd(Cell from, Cell to);
Cell SquareEnd(Cell from, Cell to);

// The dots a fill at `start` reaches: `start` and every dot of its state
// joined to it by edges, never by corners alone; none where `start` is outside the picture.
std::vector<int> FloodDots(const DotGrid &grid, Cell start);

} // namespace tessaldo
