#include "core/model/Transform.h"
#include "RandomPicture.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

using namespace tessaldo;

namespace {

using Cells = std::set<std::pair<int, int>>; // (column, row) as the screen shows them

DotGrid PictureOf(LcdType type, const Cells &cells)
{
    DotGrid grid;
    grid.SetLCDType(type);
    for (const auto &[column, row] : cells)
        grid.SetDot(DotAtCell(type, {column, row}), DotState::Set);
    return grid;
}

Cells SetCells(const DotGrid &grid)
{
    Cells cells;
    for (int dot = 0; dot < kDotCount; ++dot) {
        if (grid.IsSet(dot))
            cells.insert({CellOfDot(grid.nLCDType(), dot).column, CellOfDot(grid.nLCDType(), dot).row});
    }
    return cells;
}

} // namespace

// Two dots near the top-left corner, neither on the diagonal nor mirror images
// of each other, so a wrong axis, direction or layout moves them elsewhere.
TEST(Transform, MovesThePictureAsTheScreenShowsItInBothLayouts)
{
    const Cells start = {{1, 0}, {0, 2}};
    const std::pair<Transform, Cells> expected[] = {
        {Transform::ShiftUp, {{0, 1}}},
        {Transform::ShiftDown, {{1, 1}, {0, 3}}},
        {Transform::ShiftLeft, {{0, 0}}},
        {Transform::ShiftRight, {{2, 0}, {1, 2}}},
        {Transform::FlipHorizontally, {{14, 0}, {15, 2}}},
        {Transform::FlipVertically, {{1, 15}, {0, 13}}},
        {Transform::RotateClockwise, {{15, 1}, {13, 0}}},
        {Transform::RotateCounterclockwise, {{0, 14}, {2, 15}}},
    };
    for (const LcdType type : {LcdType::Column, LcdType::Row}) {
        for (const auto &[transform, cells] : expected) {
            DotGrid grid = PictureOf(type, start);
            ApplyTransform(grid, transform);
            EXPECT_EQ(SetCells(grid), cells) << TransformName(transform) << " in type " << LcdTypeValue(type);
            EXPECT_EQ(grid.nLCDType(), type);
        }
        DotGrid inverted = PictureOf(type, start);
        ApplyTransform(inverted, Transform::Invert);
        EXPECT_EQ(SetCount(inverted.AllDots()), kDotCount - 2);
        EXPECT_TRUE(inverted.IsClear(DotAtCell(type, {1, 0})));
    }
}

TEST(Transform, TurnsAndFlipsUndoEachOtherAndShiftsLoseOnlyTheEdge)
{
    std::mt19937 random(8);
    for (const LcdType type : {LcdType::Column, LcdType::Row}) {
        const DotGrid start = RandomGrid(random, type);
        const auto after = [&](std::initializer_list<Transform> transforms) {
            DotGrid grid = start;
            for (const Transform transform : transforms)
                ApplyTransform(grid, transform);
            return grid;
        };
        const Transform cw = Transform::RotateClockwise;
        const Transform ccw = Transform::RotateCounterclockwise;
        EXPECT_EQ(after({cw, cw, cw, cw}), start);
        EXPECT_EQ(after({cw, ccw}), start);
        EXPECT_EQ(after({cw, cw}), after({Transform::FlipHorizontally, Transform::FlipVertically}));
        EXPECT_EQ(after({Transform::FlipHorizontally, Transform::FlipHorizontally}), start);
        EXPECT_EQ(after({Transform::FlipVertically, Transform::FlipVertically}), start);
        EXPECT_EQ(after({Transform::Invert, Transform::Invert}), start);
        EXPECT_NE(after({cw}), start);

        // Left then right keeps everything but the left column, which comes back clear.
        const DotGrid shifted = after({Transform::ShiftLeft, Transform::ShiftRight});
        for (int dot = 0; dot < kDotCount; ++dot) {
            const bool leftColumn = CellOfDot(type, dot).column == 0;
            EXPECT_EQ(shifted.State(dot), leftColumn ? DotState::Clear : start.State(dot)) << dot;
        }
        DotGrid emptied = start;
        for (int i = 0; i < kGridSide; ++i)
            ApplyTransform(emptied, Transform::ShiftUp);
        EXPECT_EQ(SetCount(emptied.AllDots()), 0);
    }
}

TEST(Transform, CommandLineNamesRoundTrip)
{
    for (const char *name : {"invert", "shift-up", "shift-down", "shift-left", "shift-right", "flip-h", "flip-v",
                             "rotate-cw", "rotate-ccw"}) {
        const auto transform = TransformFromName(name);
        ASSERT_TRUE(transform) << name;
        EXPECT_EQ(TransformName(*transform), name);
    }
    EXPECT_FALSE(TransformFromName("rotate"));
    EXPECT_FALSE(TransformFromName("Invert"));
}
