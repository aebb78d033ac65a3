#include "core/model/DotGrid.h"
#include "core/model/Layout.h"

#include <array>
#include <gtest/gtest.h>

using namespace tessaldo;

TEST(DotLayout, PlacesTheFirstDotsOfEachLayoutAsTheModuleShowsThem)
{
    // Dot 16 starts the second column in the column layout, the second row in the row layout.
    EXPECT_EQ(CellOfDot(LcdType::Column, 16), (Cell{1, 0}));
    EXPECT_EQ(CellOfDot(LcdType::Row, 16), (Cell{0, 1}));
    EXPECT_EQ(CellOfDot(LcdType::Column, 1), (Cell{0, 1}));
    EXPECT_EQ(CellOfDot(LcdType::Row, 1), (Cell{1, 0}));
    EXPECT_EQ(CellOfDot(LcdType::Column, 255), (Cell{15, 15}));
}

TEST(DotLayout, EveryLayoutShowsEachDotInItsOwnCellInsideTheGrid)
{
    for (const LcdType type : {LcdType::Column, LcdType::Row}) {
        std::array<int, kDotCount> seen{};
        for (int dot = 0; dot < kDotCount; ++dot) {
            const Cell cell = CellOfDot(type, dot);
            ASSERT_TRUE(IsInsideGrid(cell)) << dot;
            EXPECT_EQ(DotAtCell(type, cell), dot);
            ++seen[static_cast<std::size_t>(cell.row * kGridSide + cell.column)];
        }
        for (const int count : seen)
            EXPECT_EQ(count, 1);
    }
}

TEST(DotLayout, RowLayoutIsTheTransposeAndKeepsTheDiagonalInPlace)
{
    for (int dot = 0; dot < kDotCount; ++dot) {
        const Cell column = CellOfDot(LcdType::Column, dot);
        const Cell row = CellOfDot(LcdType::Row, dot);
        EXPECT_EQ(column.column, row.row);
        EXPECT_EQ(column.row, row.column);
    }
    for (int dot = 0; dot < kDotCount; dot += 17)
        EXPECT_EQ(CellOfDot(LcdType::Column, dot), CellOfDot(LcdType::Row, dot)) << dot;
}

TEST(DotGrid, StartsClearWithTypeZero)
{
    const DotGrid grid;
    EXPECT_EQ(grid.nLCDType(), LcdType::Column);
    for (int dot = 0; dot < kDotCount; ++dot)
        EXPECT_TRUE(grid.IsClear(dot)) << dot;
}

TEST(DotGrid, ToggleFlipsOnlyThatDotAndTwiceRestoresIt)
{
    DotGrid grid;
    grid.ToggleDot(37);
    EXPECT_TRUE(grid.IsSet(37));
    EXPECT_FALSE(grid.IsClear(37));
    for (int dot = 0; dot < kDotCount; ++dot)
        EXPECT_EQ(grid.IsClear(dot), dot != 37) << dot;
    grid.ToggleDot(37);
    EXPECT_EQ(grid, DotGrid{});
}

TEST(DotGrid, TypeChangeKeepsEveryDotWithItsIndex)
{
    DotGrid grid;
    grid.SetDot(16, DotState::Set);
    grid.SetDot(255, DotState::Set);
    const DotGrid::Dots before = grid.AllDots();
    grid.SetLCDType(LcdType::Row);
    EXPECT_EQ(grid.AllDots(), before);
    grid.SetLCDType(LcdType::Row);
    EXPECT_EQ(grid.nLCDType(), LcdType::Row);
    grid.SetLCDType(LcdType::Column);
    EXPECT_EQ(grid.AllDots(), before);
}

TEST(DotGrid, ClearLcdClearsEveryDotAndKeepsTheType)
{
    DotGrid grid;
    grid.SetLCDType(LcdType::Row);
    for (int dot = 0; dot < kDotCount; dot += 3)
        grid.ToggleDot(dot);
    grid.ClearLCD();
    for (int dot = 0; dot < kDotCount; ++dot)
        EXPECT_TRUE(grid.IsClear(dot)) << dot;
    EXPECT_EQ(grid.nLCDType(), LcdType::Row);
    const DotGrid cleared = grid;
    grid.ClearLCD();
    EXPECT_EQ(grid, cleared);
}

TEST(DotGrid, RefusesDotIndicesOutsideThePicture)
{
    DotGrid grid;
    EXPECT_THROW(grid.ToggleDot(256), std::out_of_range);
    EXPECT_THROW(grid.SetDot(-1, DotState::Set), std::out_of_range);
    EXPECT_EQ(grid, DotGrid{});
}
