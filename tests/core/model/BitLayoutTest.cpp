#include "core/model/BitLayout.h"
#include "RandomPicture.h"
#include "core/code/CodeGenerator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

using namespace tessaldo;

namespace {

DotGrid OneDotAt(LcdType type, Cell cell)
{
    DotGrid grid;
    grid.SetLCDType(type);
    grid.SetDot(DotAtCell(type, cell), DotState::Set);
    return grid;
}

struct Expected {
    BitLayout layout;
    LcdType type;
    int byte;
    std::uint8_t value;
};

} // namespace

// One dot, shown at column 9 and row 10, lands where each library's documentation puts it.
TEST(BitLayout, PutsTheDotWhereEachLibraryReadsIt)
{
    const Cell cell{9, 10};
    for (const Expected &expected : {
             Expected{BitLayout::Module, LcdType::Column, 19, 0x04}, // dot 154
             Expected{BitLayout::Module, LcdType::Row, 21, 0x02},    // dot 169
             Expected{BitLayout::Xbm, LcdType::Column, 21, 0x02},
             Expected{BitLayout::Xbm, LcdType::Row, 21, 0x02},
             Expected{BitLayout::Rows, LcdType::Column, 21, 0x40},
             Expected{BitLayout::Pages, LcdType::Row, 25, 0x04},
         }) {
        SCOPED_TRACE(std::string(BitLayoutName(expected.layout)));
        PictureBytes want{};
        want.at(expected.byte) = expected.value;
        EXPECT_EQ(LayoutBytes(OneDotAt(expected.type, cell), expected.layout), want);
    }
}

TEST(BitLayout, ModuleLayoutIsTheModulesBytesAfterTheCommand)
{
    std::mt19937 random(7);
    const DotGrid grid = RandomGrid(random, LcdType::Row);
    const ModuleBytes module = PictureModuleBytes(grid);
    const PictureBytes bytes = LayoutBytes(grid, BitLayout::Module);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), module.begin() + 1));
}

TEST(BitLayout, BytesReadBackToTheSamePictureInEveryLayoutAndType)
{
    std::mt19937 random(11);
    for (const LcdType type : {LcdType::Column, LcdType::Row})
        for (const BitLayout layout : kBitLayouts) {
            const DotGrid grid = RandomGrid(random, type);
            EXPECT_EQ(DotsFromLayoutBytes(LayoutBytes(grid, layout), layout, type), grid.AllDots())
                << BitLayoutName(layout);
        }
}

// At any size each dot is written to and read from where PlaceOfCell puts it,
// and bytes short of the whole read as clear dots.
TEST(BitLayout, SizedBytesHoldEachDotWherePlaceOfCellPutsIt)
{
    std::mt19937 random(13);
    for (const PictureSize size : {PictureSize{1, 1}, {12, 7}, kModuleSize, {128, 64}, {800, 480}})
        for (const LcdType type : {LcdType::Column, LcdType::Row})
            for (const BitLayout layout : kEveryBitLayout) {
                SCOPED_TRACE(PictureSizeText(size) + " " + std::string(BitLayoutName(layout)));
                DotGrid grid;
                grid.SetLCDType(type);
                grid.SetAllDots(RandomDots(random, size));
                std::vector<std::uint8_t> placed(LayoutByteCount(layout, size));
                const std::size_t half = placed.size() / 2;
                Dots fromHalf(size);
                for (int dot = 0; dot < size.DotCount(); ++dot) {
                    const BitPlace place = PlaceOfCell(layout, type, grid.CellOf(dot), size);
                    if (!grid.IsSet(dot))
                        continue;
                    placed.at(static_cast<std::size_t>(place.byte)) |= static_cast<std::uint8_t>(1U << place.bit);
                    if (static_cast<std::size_t>(place.byte) < half)
                        fromHalf[static_cast<std::size_t>(dot)] = DotState::Set;
                }
                EXPECT_EQ(SizedLayoutBytes(grid, layout), placed);
                EXPECT_EQ(DotsFromSizedLayoutBytes(std::span(placed).first(half), layout, type, size), fromHalf);
            }
}

TEST(BitLayout, NamesRoundTripAndUnknownNamesGiveNothing)
{
    for (const BitLayout layout : kBitLayouts)
        EXPECT_EQ(BitLayoutFromName(BitLayoutName(layout)), layout);
    // The code form that writes a layout names it too: code --format gfx, then decode --layout gfx.
    EXPECT_EQ(BitLayoutFromName("c"), BitLayout::Module);
    EXPECT_EQ(BitLayoutFromName("gfx"), BitLayout::Rows);
    EXPECT_FALSE(BitLayoutFromName("XBM"));
    EXPECT_FALSE(BitLayoutFromName(""));
}
