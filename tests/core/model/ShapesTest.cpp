#include "core/model/Shapes.h"

#include "DrawnDots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace tessaldo;

namespace {

// The cells as rows of a picture of `size`; a cell outside it fails the test.
std::vector<std::string> CellRows(const std::vector<Cell> &cells, PictureSize size)
{
    Dots dots(size);
    for (const Cell cell : cells) {
        EXPECT_TRUE(IsInside(cell, size)) << cell.column << ", " << cell.row << " lies outside the box";
        if (IsInside(cell, size))
            dots[static_cast<std::size_t>(cell.row * size.width + cell.column)] = DotState::Set;
    }
    return Rows(dots);
}

DotGrid RowGrid(const Dots &dots)
{
    DotGrid grid;
    grid.SetLCDType(LcdType::Row);
    grid.SetAllDots(dots);
    return grid;
}

} // namespace

TEST(Shapes, LinesRunFromEndToEndOneCellAColumnAndShiftStraightensThem)
{
    EXPECT_EQ(CellRows(LineCells({0, 0}, {5, 2}), {6, 3}), (std::vector<std::string>{"##....", "..##..", "....##"}));
    const std::vector<Cell> back = LineCells({5, 2}, {0, 0});
    EXPECT_EQ(back.front(), (Cell{5, 2}));
    EXPECT_EQ(back.back(), (Cell{0, 0}));
    EXPECT_EQ(back.size(), 6U);
    EXPECT_EQ(LineCells({3, 3}, {3, 3}), (std::vector<Cell>{{3, 3}}));

    // Shift: the nearest of across, down and the diagonals, the longer side kept.
    EXPECT_EQ(StraightLineEnd({0, 0}, {5, 1}), (Cell{5, 0}));
    EXPECT_EQ(StraightLineEnd({0, 0}, {1, -5}), (Cell{0, -5}));
    EXPECT_EQ(StraightLineEnd({2, 2}, {6, 5}), (Cell{6, 6}));
    EXPECT_EQ(StraightLineEnd({0, 0}, {-3, 4}), (Cell{-4, 4}));
    EXPECT_EQ(CellRows(LineCells({0, 0}, StraightLineEnd({0, 0}, {3, 2})), {4, 4}),
              (std::vector<std::string>{"#...", ".#..", "..#.", "...#"}));
    EXPECT_EQ(SquareEnd({4, 4}, {1, 6}), (Cell{1, 7}));
}

TEST(Shapes, BoxesAreOutlinedOrFilledAtEverySizeDownToOneCell)
{
    EXPECT_EQ(CellRows(RectangleCells({3, 2}, {0, 0}, false), {4, 3}),
              (std::vector<std::string>{"####", "#..#", "####"}));
    EXPECT_EQ(CellRows(RectangleCells({0, 0}, {3, 2}, true), {4, 3}),
              (std::vector<std::string>{"####", "####", "####"}));
    EXPECT_EQ(RectangleCells({2, 2}, {2, 2}, false), (std::vector<Cell>{{2, 2}}));
    EXPECT_EQ(RectangleCells({0, 0}, {0, 3}, false).size(), 4U) << "a box one cell wide holds each cell once";
    EXPECT_EQ(RectangleCells({0, 0}, {1, 1}, false).size(), 4U);

    EXPECT_EQ(RectBetween({5, 1}, {2, 3}), (CellRect{{2, 1}, {4, 3}}));
    EXPECT_EQ(ClippedRect({{-2, 6}, {4, 4}}, {8, 8}), (CellRect{{0, 6}, {2, 2}}));
    EXPECT_EQ(ClippedRect({{8, 0}, {2, 2}}, {8, 8}), std::nullopt);
}

TEST(Shapes, EllipsesFitTheirBoxClosedAndSymmetric)
{
    EXPECT_EQ(CellRows(EllipseCells({0, 0}, {6, 4}, false), {7, 5}),
              (std::vector<std::string>{"..###..", ".#...#.", "#.....#", ".#...#.", "..###.."}));
    EXPECT_EQ(CellRows(EllipseCells({7, 7}, {0, 0}, false), {8, 8}),
              (std::vector<std::string>{"..####..", ".#....#.", "#......#", "#......#", "#......#", "#......#",
                                        ".#....#.", "..####.."}));
    EXPECT_EQ(CellRows(EllipseCells({0, 0}, {9, 2}, false), {10, 3}),
              (std::vector<std::string>{"..######..", "##......##", "..######.."}));
    EXPECT_EQ(CellRows(EllipseCells({0, 0}, {6, 0}, false), {7, 1}), (std::vector<std::string>{"#######"}));
    EXPECT_EQ(EllipseCells({1, 1}, {1, 1}, false), (std::vector<Cell>{{1, 1}}));

    for (int width = 1; width <= 14; ++width) {
        for (int height = 1; height <= 14; ++height) {
            SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
            const PictureSize box{width, height};
            const std::vector<std::string> outline =
                CellRows(EllipseCells({0, 0}, {width - 1, height - 1}, false), box);
            const std::vector<std::string> filled = CellRows(EllipseCells({width - 1, 0}, {0, height - 1}, true), box);
            // Symmetric about both middle lines, and touching all four sides.
            for (const std::string &row : outline)
                EXPECT_EQ(row, std::string(row.rbegin(), row.rend()));
            EXPECT_EQ(outline, std::vector<std::string>(outline.rbegin(), outline.rend()));
            EXPECT_NE(outline.front().find('#'), std::string::npos);
            EXPECT_TRUE(std::any_of(outline.begin(), outline.end(), [](const std::string &r) { return r[0] == '#'; }));
            // Closed: a fill from outside the outline reaches nothing of what filling it covers.
            Dots framed({width + 2, height + 2});
            for (int row = 0; row < height; ++row)
                for (int column = 0; column < width; ++column)
                    if (outline[row][column] == '#')
                        framed[static_cast<std::size_t>((row + 1) * (width + 2) + column + 1)] = DotState::Set;
            const std::vector<int> outside = FloodDots(RowGrid(framed), {0, 0});
            for (int row = 0; row < height; ++row)
                for (int column = 0; column < width; ++column) {
                    const bool reached =
                        std::binary_search(outside.begin(), outside.end(), (row + 1) * (width + 2) + column + 1);
                    EXPECT_EQ(filled[row][column] == '#', !reached) << "at " << column << ", " << row;
                    if (outline[row][column] == '#') {
                        EXPECT_EQ(filled[row][column], '#') << "filled holds the outline";
                    }
                }
        }
    }
}

TEST(Shapes, FillReachesAlongEdgesOnlyAndClearsASetRegion)
{
    const DotGrid grid = RowGrid(Drawn({
        "..#...",
        ".#.#..",
        "#...#.",
        ".#.#..",
        "..#...",
    }));
    // The diamond's corners touch diagonally: its inside stays apart from the outside.
    const std::vector<int> inside = FloodDots(grid, {2, 2});
    EXPECT_EQ(inside, (std::vector<int>{8, 13, 14, 15, 20}));
    // A set dot reaches the set dots it shares an edge with, here none.
    EXPECT_EQ(FloodDots(grid, {2, 0}), (std::vector<int>{2}));
    EXPECT_EQ(FloodDots(grid, {0, 0}), (std::vector<int>{0, 1, 6})) << "the corner the diagonal cuts off";
    EXPECT_TRUE(FloodDots(grid, {6, 0}).empty());
    EXPECT_TRUE(FloodDots(grid, {-1, 2}).empty());
}
