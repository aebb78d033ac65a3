#include "core/formats/BitmapFiles.h"
#include "RandomPicture.h"
#include "core/code/CodeFormats.h"

#include <gtest/gtest.h>

#include <random>

using namespace tessaldo;

namespace {

// The picture a 16 x 16 bitmap file imports as, in `type`, whatever the options.
DotGrid Imported(const std::string &file, LcdType type)
{
    const BitmapRead read = ReadBitmapFile(file);
    EXPECT_EQ(read.problem, "");
    const std::optional<ScreenCells> cells = DotForDot(read.bitmap);
    EXPECT_TRUE(cells.has_value());
    DotGrid grid;
    grid.SetLCDType(type);
    const CellGreys greys = ResampleToCells(GreysOfBitmap(read.bitmap), Fit::Cover);
    PutCells(grid, ImportedCells(greys, {Fit::Cover, 0, Dither::Atkinson, true}, cells));
    return grid;
}

std::string Rows(const Bitmap &bitmap)
{
    std::string rows;
    for (std::size_t i = 0; i < bitmap.black.size(); ++i)
        rows += std::string(bitmap.black[i] == DotState::Set ? "#" : ".") + ((i + 1) % bitmap.width == 0 ? "|" : "");
    return rows;
}

} // namespace

TEST(BitmapFiles, WhatIsWrittenComesBackDotForDotInEitherTypeWhateverTheOptions)
{
    std::mt19937 random(7);
    for (const LcdType type : {LcdType::Column, LcdType::Row}) {
        const DotGrid grid = RandomGrid(random, type);
        EXPECT_EQ(Imported(PbmBytes(grid), type), grid);
        EXPECT_EQ(Imported(XbmText(grid, "icon"), type), grid);
    }
    // The first row's leftmost dot is the top bit of the raw rows' first byte.
    DotGrid corner;
    corner.SetDot(0, DotState::Set);
    EXPECT_EQ(PbmBytes(corner), std::string("P4\n16 16\n\x80", 10) + std::string(31, '\0'));
}

TEST(BitmapFiles, EveryFormThatTheirToolsWriteIsRead)
{
    // A 10 x 2 PBM, plain with comments and packed digits, and raw with a padded row.
    const std::string plain = "P1\n# by hand\n10 # wide\n2\n1000000001\n0 1 0 0 0 0 0 0 1 0\n";
    const std::string raw = std::string("P4 10 2\n\x80\x40\x40\x80", 12);
    for (const std::string &pbm : {plain, raw}) {
        const BitmapRead read = ReadBitmapFile(pbm);
        ASSERT_EQ(read.problem, "") << pbm;
        EXPECT_EQ(Rows(read.bitmap), "#........#|.#......#.|");
    }
    // X11's chars with a hot spot and a comment, and X10's shorts; the leftmost pixel in bit 0 either way.
    const std::string x11 = "/* made by bitmap */\n#define b_width 9\n#define b_height 2\n#define b_x_hot 1\n"
                            "#define b_y_hot 1\nstatic unsigned char b_bits[] = {\n   0x01, 0x01, 0xfe, 0x00, };\n";
    const std::string x10 = "#define b_width 9\n#define b_height 2\nstatic short b_bits[] = {0x0101, 0x00fe};\n";
    for (const std::string &xbm : {x11, x10}) {
        ASSERT_TRUE(IsBitmapFile(xbm));
        const BitmapRead read = ReadBitmapFile(xbm);
        ASSERT_EQ(read.problem, "") << xbm;
        EXPECT_EQ(Rows(read.bitmap), "#.......#|.#######.|");
        EXPECT_FALSE(DotForDot(read.bitmap));
        EXPECT_EQ(GreysOfBitmap(read.bitmap).pixels[0], 0);
        EXPECT_EQ(GreysOfBitmap(read.bitmap).pixels[1], 255);
    }
    EXPECT_FALSE(IsBitmapFile("P6 1 1 255\n"));
    EXPECT_FALSE(IsBitmapFile("static char a[] = {0};"));
}

TEST(BitmapFiles, DamagedOrHugeFilesAreRefusedWithTheReason)
{
    const std::string xbmHead = "#define a_width 9\n#define a_height 2\n";
    const std::pair<std::string, std::string> cases[] = {
        {std::string("P4 16 16\n") + std::string(31, '\0'), "the PBM data ends early"},
        {"P1 2 2 1 0 1", "the PBM data ends early"},
        {"P1 2 1 1 2", "the PBM holds '2' on line 1 where a pixel, 0 or 1, should be"},
        {"P1\n# two rows\n2 2\n10\n1x\n", "the PBM holds 'x' on line 5 where a pixel, 0 or 1, should be"},
        {"P1 1 1 1 1", "the PBM goes on after its pixels"},
        {"P4 sixteen 16\n", "the PBM does not give its width and height as numbers"},
        {"P4 0 16\n", "the PBM has no pixels: it is 0 x 16"},
        {"P4 99999999999999999999999 99999999\n",
         "it is 99999999999999999999999 x 99999999 pixels; images up to 64 megapixels can be imported"},
        {"P4 4294967295 4294967295\n",
         "it is 4294967295 x 4294967295 pixels; images up to 64 megapixels can be imported"},
        {"#define a_height 2\nstatic char a_bits[] = {0};", "the XBM does not define its width and height as numbers"},
        {xbmHead + "static char a_bits[] = {0x01, 0x02, 0x03};",
         "the XBM holds 3 values where its 9 x 2 pixels need 4"},
        {xbmHead + "static char a_bits[] = {0x01, 0x102, 0x03, 0x04};",
         "the XBM holds '0x102' on line 3 where a value of 8 bits should be"},
        {"/* two\nlines */" + xbmHead + "static char a_bits[] = {\n0x01, 0x02,\n0x03, 0xZ4};",
         "the XBM holds '0xZ4' on line 6 where a value of 8 bits should be"},
        {xbmHead + "static char a_bits[] = {0x01, 0x02,", "the XBM data ends early"},
        {"#define a_width 100000\n#define a_height 100000\n",
         "it is 100000 x 100000 pixels; images up to 64 megapixels can be imported"},
    };
    for (const auto &[file, reason] : cases)
        EXPECT_EQ(ReadBitmapFile(file).problem, reason) << file;
}
