#include "core/session/GridGesture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tessaldo;

namespace {

constexpr double kCell = 10;

// The middle of a cell of the column layout, where dot = column * 16 + row.
PointF Middle(int column, int row)
{
    return {(column + 0.5) * kCell, (row + 0.5) * kCell};
}

int Dot(int column, int row)
{
    return DotAtCell(LcdType::Column, {column, row});
}

} // namespace

TEST(GridGesture, ClicksStrokesAndTheirEnds)
{
    DotGrid grid;
    GridGesture gesture(kCell);

    // A press and a release on one dot, moving within it, is a click.
    gesture.Press(Dot(2, 3), Middle(2, 3), LcdType::Column);
    EXPECT_TRUE(gesture.Move(Dot(2, 3), {25.9, 35.9}, grid).empty());
    EXPECT_EQ(gesture.Release(Dot(2, 3)), GridGesture::End::Click);
    EXPECT_EQ(gesture.ClickedDot(), Dot(2, 3));

    // Released over another dot without reaching it first: nothing.
    gesture.Press(Dot(2, 3), Middle(2, 3), LcdType::Column);
    EXPECT_EQ(gesture.Release(Dot(4, 3)), GridGesture::End::Nothing);
    EXPECT_FALSE(gesture.IsPressed());

    // A press outside the grid begins nothing.
    gesture.Press(-1, {-5, -5}, LcdType::Column);
    EXPECT_TRUE(gesture.Move(Dot(0, 0), Middle(0, 0), grid).empty());
    EXPECT_EQ(gesture.Release(Dot(0, 0)), GridGesture::End::Nothing);

    // Reaching another dot flips the pressed one and paints what the pointer crossed, each dot once.
    grid.SetDot(Dot(1, 0), DotState::Set);
    gesture.Press(Dot(0, 0), Middle(0, 0), LcdType::Column);
    EXPECT_EQ(gesture.Move(Dot(2, 0), Middle(2, 0), grid), (std::vector<int>{Dot(0, 0), Dot(2, 0)}));
    EXPECT_EQ(gesture.PaintState(), DotState::Set);
    for (const int dot : {Dot(0, 0), Dot(2, 0)})
        grid.SetDot(dot, DotState::Set);
    EXPECT_TRUE(gesture.Move(Dot(1, 0), Middle(1, 0), grid).empty());
    EXPECT_EQ(gesture.Move(Dot(1, 1), Middle(1, 1), grid), std::vector<int>{Dot(1, 1)});
    // Back on the pressed dot, the release closes the stroke; it is no click.
    EXPECT_EQ(gesture.Release(Dot(0, 0)), GridGesture::End::Stroke);

    // A stroke from a set dot clears; one the pointer was taken from still closes.
    gesture.Press(Dot(0, 0), Middle(0, 0), LcdType::Row);
    EXPECT_EQ(gesture.Move(Dot(0, 1), Middle(0, 1), grid),
              (std::vector<int>{Dot(0, 0), DotAtCell(LcdType::Row, {0, 1})}));
    EXPECT_EQ(gesture.PaintState(), DotState::Clear);
    EXPECT_EQ(gesture.Cancel(), GridGesture::End::Stroke);
    EXPECT_EQ(gesture.Cancel(), GridGesture::End::Nothing);
}
