#include "core/code/CodeGenerator.h"
#include "RandomPicture.h"

#include <gtest/gtest.h>

#include <random>

using namespace tessaldo;

namespace {

const std::string kFirstPrefix = R"(printf("%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c",0xA4,)";
const std::string kSecondPrefix = R"(printf("%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c",)";

std::string RepeatedList(const std::string &item, int count)
{
    std::string list;
    for (int i = 0; i < count; ++i)
        list += (i == 0 ? "" : ",") + item;
    return list;
}

DotGrid GridWithSet(std::initializer_list<int> dots)
{
    DotGrid grid;
    for (const int dot : dots)
        grid.SetDot(dot, DotState::Set);
    return grid;
}

} // namespace

TEST(BlockCode, WritesUpperCaseHexWithoutLeadingZeros)
{
    EXPECT_EQ(BlockCODE(DotGrid{}, 0), "0");
    EXPECT_EQ(BlockCODE(GridWithSet({3}), 0), "8");
    EXPECT_EQ(BlockCODE(GridWithSet({8, 9, 10, 11, 12}), 8), "1F");
    EXPECT_EQ(BlockCODE(GridWithSet({248, 249, 250, 251, 252, 253, 254, 255}), 248), "FF");
    EXPECT_EQ(BlockCODE(GridWithSet({17, 19}), 16), "A");
}

TEST(BlockCode, LowestNumberedDotIsTheLeastSignificantBit)
{
    for (int bit = 0; bit < 8; ++bit) {
        const DotGrid grid = GridWithSet({40 + bit});
        const unsigned expected = 1u << bit;
        EXPECT_EQ(std::stoul(BlockCODE(grid, 40), nullptr, 16), expected) << bit;
        EXPECT_EQ(BlockCODE(grid, 32), "0");
        EXPECT_EQ(BlockCODE(grid, 48), "0");
    }
}

TEST(LcdToCode, ClearPictureGivesTheExactTwoStatements)
{
    const std::string expected =
        kFirstPrefix + RepeatedList("0x0", 14) + ");\r\n" + kSecondPrefix + RepeatedList("0x0", 18) + ");";
    const std::string code = LCDtoCODE(DotGrid{});
    EXPECT_EQ(code, expected);
    EXPECT_EQ(code.size(), 223u);
}

TEST(LcdToCode, FullPictureWritesEveryPictureByteAsFF)
{
    DotGrid grid;
    for (int dot = 0; dot < kDotCount; ++dot)
        grid.ToggleDot(dot);
    EXPECT_EQ(LCDtoCODE(grid),
              kFirstPrefix + RepeatedList("0xFF", 14) + ");\r\n" + kSecondPrefix + RepeatedList("0xFF", 18) + ");");
}

TEST(LcdToCode, SplitsFourteenBytesThenEighteenAndEndsWithoutLineEnd)
{
    // Dot 111 is the last of block 13, dot 112 the first of block 14.
    const std::string code = LCDtoCODE(GridWithSet({0, 9, 10, 111, 112, 255}));
    const std::size_t lineEnd = code.find("\r\n");
    ASSERT_NE(lineEnd, std::string::npos);
    const std::string first = code.substr(0, lineEnd);
    const std::string second = code.substr(lineEnd + 2);
    EXPECT_EQ(first.rfind(kFirstPrefix + "0x1,0x6,0x0,", 0), 0u);
    EXPECT_TRUE(first.ends_with(",0x80);"));
    EXPECT_EQ(second.rfind(kSecondPrefix + "0x1,", 0), 0u);
    EXPECT_TRUE(second.ends_with(",0x0,0x80);"));
    EXPECT_EQ(second.find('\r'), std::string::npos);
    EXPECT_EQ(second.find('\n'), std::string::npos);
}

TEST(LcdToCode, DependsOnTheDotsOnlyNeverOnTheType)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        DotGrid grid = RandomGrid(random, LcdType::Column);
        const DotGrid before = grid;
        const std::string column = LCDtoCODE(grid);
        EXPECT_EQ(grid, before);
        grid.SetLCDType(LcdType::Row);
        EXPECT_EQ(LCDtoCODE(grid), column);
    }
}
