#include "core/model/Resize.h"
#include "core/model/BitLayout.h"
#include "core/model/Transform.h"

#include "DrawnDots.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tessaldo;

TEST(Resize, CropsAndExtendsFromTheAnchorWithClearDots)
{
    const Dots start = Drawn({"#..", "..#"});
    EXPECT_EQ(Rows(ResizedDots(start, LcdType::Row, {4, 3}, Anchor::TopLeft)),
              (std::vector<std::string>{"#...", "..#.", "...."}));
    // An odd difference at the centre leaves the extra dot right and below.
    EXPECT_EQ(Rows(ResizedDots(start, LcdType::Row, {4, 3}, Anchor::Centre)),
              (std::vector<std::string>{"#...", "..#.", "...."}));
    EXPECT_EQ(Rows(ResizedDots(start, LcdType::Row, {5, 4}, Anchor::BottomRight)),
              (std::vector<std::string>{".....", ".....", "..#..", "....#"}));
    EXPECT_EQ(Rows(ResizedDots(start, LcdType::Row, {1, 1}, Anchor::BottomRight)), (std::vector<std::string>{"#"}));
    EXPECT_EQ(AnchorFromName("center"), Anchor::Centre);
    EXPECT_FALSE(AnchorFromName("middle"));
}

// A 16 x 16 picture keeps each dot's state with its index in its type; made
// larger, its dots are where the screen showed them.
TEST(Resize, LeavesTheModulesTypeBehindAtOtherSizes)
{
    Dots module;
    module[1] = DotState::Set; // column 0, row 1 in the column type
    const Dots larger = ResizedDots(module, LcdType::Column, {17, 16}, Anchor::TopLeft);
    EXPECT_EQ(larger[17], DotState::Set);
    EXPECT_EQ(ResizedDots(larger, LcdType::Column, kModuleSize, Anchor::TopLeft), module);
}

TEST(Resize, ScalesByWholeFactorsWithinTheLargestSide)
{
    const Dots start = Drawn({"#.", ".#"});
    const std::optional<Dots> doubled = EnlargedDots(start, LcdType::Row, 2);
    ASSERT_TRUE(doubled);
    EXPECT_EQ(Rows(*doubled), (std::vector<std::string>{"##..", "##..", "..##", "..##"}));
    EXPECT_EQ(ReducedDots(*doubled, LcdType::Row, 2), start);
    EXPECT_FALSE(EnlargedDots(Dots({513, 1}), LcdType::Row, 2));
    // A last block that the factor does not divide counts only its own dots.
    EXPECT_EQ(Rows(*ReducedDots(Drawn({"..#"}), LcdType::Row, 2)), (std::vector<std::string>{".#"}));
}

TEST(Resize, TurningAPictureThatIsNotSquareSwapsItsSides)
{
    DotGrid grid;
    grid.SetAllDots(Drawn({"#..", "..."}));
    ApplyTransform(grid, Transform::RotateClockwise);
    EXPECT_EQ(Rows(grid.AllDots()), (std::vector<std::string>{".#", "..", ".."}));
    ApplyTransform(grid, Transform::RotateCounterclockwise);
    EXPECT_EQ(Rows(grid.AllDots()), (std::vector<std::string>{"#..", "..."}));
}

// The last column of a 12-dot-wide picture: pages give each column a byte, tiles pad it to whole tiles.
TEST(Resize, SizedLayoutsPadAsTheirLibrariesDo)
{
    const PictureSize size{12, 9};
    EXPECT_EQ(LayoutByteCount(BitLayout::Xbm, size), 18U);
    EXPECT_EQ(LayoutByteCount(BitLayout::Pages, size), 24U);
    EXPECT_EQ(LayoutByteCount(BitLayout::Tiles, size), 32U);
    const BitPlace rows = PlaceOfCell(BitLayout::Rows, LcdType::Row, {11, 8}, size);
    EXPECT_EQ(rows.byte, 17);
    EXPECT_EQ(rows.bit, 4);
    const BitPlace pages = PlaceOfCell(BitLayout::Pages, LcdType::Row, {11, 8}, size);
    EXPECT_EQ(pages.byte, 23);
    EXPECT_EQ(pages.bit, 0);
    const BitPlace tiles = PlaceOfCell(BitLayout::Tiles, LcdType::Row, {11, 8}, size);
    EXPECT_EQ(tiles.byte, 3 * 8 + 3);
    EXPECT_EQ(tiles.bit, 0);
    DotGrid grid;
    grid.SetAllDots(Drawn({"#.........#.", "............", "............", "............", "............",
                           "............", "............", "............", "...........#"}));
    for (const BitLayout layout : kEveryBitLayout)
        EXPECT_EQ(DotsFromSizedLayoutBytes(SizedLayoutBytes(grid, layout), layout, LcdType::Row, size), grid.AllDots())
            << BitLayoutName(layout);
}
