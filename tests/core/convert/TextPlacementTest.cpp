#include "core/convert/TextPlacement.h"

#include <gtest/gtest.h>

using namespace tessaldo;

TEST(TextPlacement, InvertedOntoOrReplacingAndItsWidth)
{
    ScreenCells line{};
    line[0] = true; // the top-left cell
    DotGrid picture;
    const int corner = DotAtCell(LcdType::Column, {0, 0});
    const int below = DotAtCell(LcdType::Column, {0, 1});
    picture.SetDot(below, DotState::Set);

    DotGrid onto = picture;
    PlaceText(onto, line, {false, true});
    EXPECT_TRUE(onto.IsSet(corner) && onto.IsSet(below)) << "onto keeps the picture's dots";

    DotGrid replaced = picture;
    PlaceText(replaced, line, {false, false});
    EXPECT_TRUE(replaced.IsSet(corner) && replaced.IsClear(below));

    DotGrid inverted = picture;
    PlaceText(inverted, line, {true, false});
    EXPECT_TRUE(inverted.IsClear(corner) && inverted.IsSet(below));

    EXPECT_EQ(TextWidthNote(8, false), "The text is 8 dots wide.");
    EXPECT_EQ(TextWidthNote(40, true), "The text is 40 dots wide and does not fit the 16 x 16 picture, so it is cut.");
}
