#pragma once

#include "core/model/LcdType.h"
#include "core/model/PictureSize.h"

namespace tessaldo {

// Screen arithmetic of the dot grid. The constants are the module's 16 x 16;
// the sized forms below serve pictures of any size. The grid's place is in twips (15 to a
// pixel at 96 dpi) from the top-left corner of the frame that holds it.

inline constexpr int kGridSide = 16;
inline constexpr int kDotCount = kGridSide * kGridSide;
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kGridLeftTwips = 200;
inline constexpr int kGridTopTwips = 300;

constexpr bool IsDotIndex(int dot)
{
    return dot >= 0 && dot < kDotCount;
}

// A cell of the grid as the screen shows it: column from the left, row from the top.
struct Cell {
    int column = 0;
    int row = 0;
    friend bool operator==(const Cell &, const Cell &) = default;
};

// Where dot `dot` appears on screen in the given layout. The row layout is
// the transpose of the column layout, so the diagonal never moves.
constexpr Cell CellOfDot(LcdType type, int dot)
{
    const int q = dot / kGridSide;
    const int r = dot % kGridSide;
    return type == LcdType::Column ? Cell{q, r} : Cell{r, q};
}

// The dot shown at `cell`; the inverse of CellOfDot.
constexpr int DotAtCell(LcdType type, Cell cell)
{
    return type == LcdType::Column ? cell.column * kGridSide + cell.row : cell.row * kGridSide + cell.column;
}

constexpr bool IsInsideGrid(Cell cell)
{
    return cell.column >= 0 && cell.column < kGridSide && cell.row >= 0 && cell.row < kGridSide;
}

// The same for a picture of `size`: at 16 x 16 as above; at any other size
// the type plays no part and dots run along rows, y * width + x.
constexpr Cell CellOfDot(LcdType type, int dot, PictureSize size)
{
    return IsModuleSize(size) ? CellOfDot(type, dot) : Cell{dot % size.width, dot / size.width};
}
constexpr int DotAtCell(LcdType type, Cell cell, PictureSize size)
{
    return IsModuleSize(size) ? DotAtCell(type, cell) : cell.row * size.width + cell.column;
}
constexpr bool IsInside(Cell cell, PictureSize size)
{
    return cell.column >= 0 && cell.column < size.width && cell.row >= 0 && cell.row < size.height;
}

} // namespace tessaldo
