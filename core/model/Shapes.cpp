#include "core/model/Shapes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tessaldo {

CellRect RectBetween(Cell a, Cell b)
{
    const Cell topLeft{std::min(a.column, b.column), std::min(a.row, b.row)};
    return {topLeft, {std::abs(a.column - b.column) + 1, std::abs(a.row - b.row) + 1}};
}

std::optional<CellRect> ClippedRect(CellRect rect, PictureSize size)
{
    const int left = std::max(rect.topLeft.column, 0);
    const int top = std::max(rect.topLeft.row, 0);
    const int right = std::min(rect.topLeft.column + rect.size.width, size.width);
    const int bottom = std::min(rect.topLeft.row + rect.size.height, size.height);
    if (left >= right || top >= bottom)
        return std::nullopt;
    return CellRect{{left, top}, {right - left, bottom - top}};
}

std::vector<Cell> LineCells(Cell from, Cell to)
{
    const int dx = std::abs(to.column - from.column);
    const int dy = -std::abs(to.row - from.row);
    const int stepX = from.column < to.column ? 1 : -1;
    const int stepY = from.row < to.row ? 1 : -1;
    std::vector<Cell> cells;
    cells.reserve(static_cast<std::size_t>(std::max(dx, -dy)) + 1);
    int error = dx + dy;
    for (Cell at = from;;) {
        cells.push_back(at);
        if (at == to)
            return cells;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.column += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.row += stepY;
        }
    }
}

namespace {

// The cells of each row from its leftmost to its rightmost, for a shape
// whose outline meets every row it spans: what filling it means.
std::vector<Cell> FilledRows(const std::vector<Cell> &outline)
{
    if (outline.empty())
        return {};
    const auto [lowest, highest] =
        std::minmax_element(outline.begin(), outline.end(), [](const Cell &a, const Cell &b) { return a.row < b.row; });
    const int top = lowest->row;
    const std::size_t rows = static_cast<std::size_t>(highest->row - top) + 1;
    std::vector<int> left(rows, INT32_MAX);
    std::vector<int> right(rows, INT32_MIN);
    for (const Cell &cell : outline) {
        const auto row = static_cast<std::size_t>(cell.row - top);
        left[row] = std::min(left[row], cell.column);
        right[row] = std::max(right[row], cell.column);
    }
    std::size_t count = 0;
    for (std::size_t row = 0; row < rows; ++row)
        count += static_cast<std::size_t>(right[row] - left[row] + 1);
    std::vector<Cell> cells;
    cells.reserve(count);
    for (std::size_t row = 0; row < rows; ++row)
        for (int column = left[row]; column <= right[row]; ++column)
            cells.push_back({column, top + static_cast<int>(row)});
    return cells;
}

// Each cell once, row by row, so that a shape's cells are in one order whatever drew them.
void SortUnique(std::vector<Cell> &cells)
{
    const auto before = [](const Cell &a, const Cell &b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    };
    std::sort(cells.begin(), cells.end(), before);
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
}

} // namespace

std::vector<Cell> RectangleCells(Cell a, Cell b, bool filled)
{
    const CellRect rect = RectBetween(a, b);
    const int left = rect.topLeft.column;
    const int top = rect.topLeft.row;
    const int right = left + rect.size.width - 1;
    const int bottom = top + rect.size.height - 1;
    std::vector<Cell> cells;
    for (int row = top; row <= bottom; ++row) {
        const bool edge = filled || row == top || row == bottom;
        for (int column = left; column <= right; column += edge || column == right ? 1 : right - left)
            cells.push_back({column, row});
    }
    return cells;
}

std::vector<Cell> EllipseCells(Cell a, Cell b, bool filled)
{
    // Zingl's rasterising of an ellipse inside a rectangle: integer steps of
    // an error term, which closes without gaps for every size of box, flat
    // and one-dot-wide ones included.
    std::int64_t x0 = std::min(a.column, b.column);
    std::int64_t x1 = std::max(a.column, b.column);
    std::int64_t y0 = std::min(a.row, b.row);
    std::int64_t y1 = std::max(a.row, b.row);
    std::int64_t width = x1 - x0;
    const std::int64_t height = y1 - y0;
    std::int64_t odd = height & 1;
    std::int64_t dx = 4 * (1 - width) * height * height;
    std::int64_t dy = 4 * (odd + 1) * width * width;
    std::int64_t error = dx + dy + odd * width * width;
    y0 += (height + 1) / 2;
    y1 = y0 - odd;
    width = 8 * width * width;
    odd = 8 * height * height;
    std::vector<Cell> cells;
    const auto put = [&cells](std::int64_t x, std::int64_t y) {
        cells.push_back({static_cast<int>(x), static_cast<int>(y)});
    };
    do {
        put(x1, y0);
        put(x0, y0);
        put(x0, y1);
        put(x1, y1);
        const std::int64_t twice = 2 * error;
        if (twice <= dy) {
            ++y0;
            --y1;
            error += dy += width;
        }
        if (twice >= dx || 2 * error > dy) {
            ++x0;
            --x1;
            error += dx += odd;
        }
    } while (x0 <= x1);
    while (y0 - y1 <= height) { // a flat ellipse stops early: finish its tips
        put(x0 - 1, y0);
        put(x1 + 1, y0++);
        put(x0 - 1, y1);
        put(x1 + 1, y1--);
    }
    if (filled)
        return FilledRows(cells); // row by row already, each cell once: no sort of a whole screen's cells
    SortUnique(cells);
    return cells;
}

Cell StraightLineEnd(Cell from, Cell to)
{
    const int dx = to.column - from.column;
    const int dy = to.row - from.row;
    // Within 22.5 degrees of an axis the line lies along it; tan(22.5) is about 0.414, 2 / 5 near enough.
    if (5 * std::abs(dy) < 2 * std::abs(dx))
        return {to.column, from.row};
    if (5 * std::abs(dx) < 2 * std::abs(dy))
        return {from.column, to.row};
    const int side = std::max(std::abs(dx), std::abs(dy));
    return {from.column + (dx < 0 ? -side : side), from.row + (dy < 0 ? -side : side)};
}

Cell SquareEnd(Cell from, Cell to)
{
    const int dx = to.column - from.column;
    const int dy = to.row - from.row;
    const int side = std::max(std::abs(dx), std::abs(dy));
    return {from.column + (dx < 0 ? -side : side), from.row + (dy < 0 ? -side : side)};
}

std::vector<int> FloodDots(const DotGrid &grid, Cell start)
{
    const PictureSize size = grid.Size();
    if (!IsInside(start, size))
        return {};
    const DotState state = grid.State(grid.DotAt(start));
    std::vector<std::uint8_t> reached(static_cast<std::size_t>(size.DotCount()), 0);
    const auto flat = [&size](Cell cell) {
        return static_cast<std::size_t>(cell.row) * static_cast<std::size_t>(size.width)
               + static_cast<std::size_t>(cell.column);
    };
    const auto open = [&](Cell cell) { return reached[flat(cell)] == 0 && grid.State(grid.DotAt(cell)) == state; };
    // Run by run along the rows, each run seeding the runs it touches above
    // and below: a fill of a whole screen visits each dot a few times, not
    // a stack entry for each of its edges.
    std::vector<Cell> seeds{start};
    while (!seeds.empty()) {
        const Cell seed = seeds.back();
        seeds.pop_back();
        if (!open(seed))
            continue;
        int left = seed.column;
        int right = seed.column;
        while (left > 0 && open({left - 1, seed.row}))
            --left;
        while (right + 1 < size.width && open({right + 1, seed.row}))
            ++right;
        std::fill(reached.begin() + static_cast<std::ptrdiff_t>(flat({left, seed.row})),
                  reached.begin() + static_cast<std::ptrdiff_t>(flat({right, seed.row})) + 1, 1);
        for (const int row : {seed.row - 1, seed.row + 1}) {
            if (row < 0 || row >= size.height)
                continue;
            bool inRun = false;
            for (int column = left; column <= right; ++column) {
                const bool next = open({column, row});
                if (next && !inRun)
                    seeds.push_back({column, row});
                inRun = next;
            }
        }
    }
    // Read off row by row, which is the dots' own order at any size but the
    // module's; there only, the 256 of them are sorted.
    std::vector<int> dots;
    for (int row = 0; row < size.height; ++row)
        for (int column = 0; column < size.width; ++column)
            if (reached[flat({column, row})] != 0)
                dots.push_back(grid.DotAt({column, row}));
    if (!std::is_sorted(dots.begin(), dots.end()))
        std::sort(dots.begin(), dots.end());
    return dots;
}

} // namespace tessaldo
