#include "core/convert/TextPlacement.h"

#include <gtest/gtest.h>

#include <algorithm>

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

TEST(TextPlacement, TheLineGoesWhereTheUserPointedCutAtTheEdge)
{
    const PictureSize size{40, 20};
    ScreenCells line(size);
    line.At({0, 0}) = line.At({1, 0}) = line.At({2, 0}) = true; // laid out from the top-left cell
    DotGrid picture;
    picture.SetAllDots(Dots(size));
    EXPECT_TRUE(PlaceText(picture, line, {false, false, {38, 5}})) << "its third dot falls past the right edge";
    EXPECT_TRUE(picture.IsSet(picture.DotAt({38, 5})) && picture.IsSet(picture.DotAt({39, 5})));
    EXPECT_EQ(std::count(picture.AllDots().begin(), picture.AllDots().end(), DotState::Set), 2);

    EXPECT_FALSE(PlaceText(picture, line, {true, false, {10, 19}}));
    EXPECT_TRUE(picture.IsClear(picture.DotAt({12, 19})) && picture.IsSet(picture.DotAt({13, 19})));
    EXPECT_TRUE(picture.IsSet(picture.DotAt({0, 0}))) << "cut out of a filled picture, the rest set";
}
