#include "core/model/Stroke.h"
#include "core/code/CodeGenerator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

using namespace tessaldo;

TEST(CellsAlongSegment, HorizontalStrokeCoversEveryCellBetweenItsEnds)
{
    const std::vector<Cell> cells = CellsAlongSegment({2 * 13 + 6, 3 * 13 + 6}, {9 * 13 + 1, 3 * 13 + 12}, 13);
    ASSERT_EQ(cells.size(), 8u);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(cells[static_cast<std::size_t>(i)], (Cell{2 + i, 3}));
}

TEST(CellsAlongSegment, ReversedAndVerticalStrokesKeepTheirOrder)
{
    const std::vector<Cell> left = CellsAlongSegment({100, 20}, {10, 20}, 13);
    EXPECT_EQ(left.front(), (Cell{7, 1}));
    EXPECT_EQ(left.back(), (Cell{0, 1}));
    EXPECT_EQ(left.size(), 8u);
    const std::vector<Cell> up = CellsAlongSegment({5, 200}, {5, 1}, 13);
    EXPECT_EQ(up.size(), 16u);
    EXPECT_EQ(up.front(), (Cell{0, 15}));
}

TEST(CellsAlongSegment, StrokeStayingInOneCellGivesThatCell)
{
    EXPECT_EQ(CellsAlongSegment({3, 3}, {3, 3}, 13), std::vector<Cell>({Cell{0, 0}}));
    EXPECT_EQ(CellsAlongSegment({1, 1}, {12, 12}, 13), std::vector<Cell>({Cell{0, 0}}));
}

TEST(CellsAlongSegment, LeavesOutCellsOutsideTheGrid)
{
    const std::vector<Cell> cells = CellsAlongSegment({-50, 6}, {30, 6}, 13);
    EXPECT_EQ(cells, std::vector<Cell>({Cell{0, 0}, Cell{1, 0}, Cell{2, 0}}));
    EXPECT_TRUE(CellsAlongSegment({-50, -50}, {-5, 300}, 13).empty());
}

TEST(CellsAlongSegment, AnySlantedStrokeLeavesNoGap)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(0, 16 * 13 - 0.001);
    for (int round = 0; round < 500; ++round) {
        const PointF from{coordinate(random), coordinate(random)};
        const PointF to{coordinate(random), coordinate(random)};
        const std::vector<Cell> cells = CellsAlongSegment(from, to, 13);
        ASSERT_FALSE(cells.empty());
        EXPECT_EQ(cells.front(), (Cell{int(from.x / 13), int(from.y / 13)}));
        EXPECT_EQ(cells.back(), (Cell{int(to.x / 13), int(to.y / 13)}));
        for (std::size_t i = 1; i < cells.size(); ++i) {
            const int step =
                std::abs(cells[i].column - cells[i - 1].column) + std::abs(cells[i].row - cells[i - 1].row);
            EXPECT_EQ(step, 1) << "cells must share a side";
        }
    }
}

TEST(DescribeDotBit, NamesByteStatementAndBitForTheEndsOfBothStatements)
{
    EXPECT_EQ(DescribeDotBit(0), "Dot 0: byte 0 (first printf), bit 0 = 0x1");
    EXPECT_EQ(DescribeDotBit(37), "Dot 37: byte 4 (first printf), bit 5 = 0x20");
    EXPECT_EQ(DescribeDotBit(111), "Dot 111: byte 13 (first printf), bit 7 = 0x80");
    EXPECT_EQ(DescribeDotBit(112), "Dot 112: byte 14 (second printf), bit 0 = 0x1");
    EXPECT_EQ(DescribeDotBit(255), "Dot 255: byte 31 (second printf), bit 7 = 0x80");
}
