#include "PixelsToDots.h"

#include "ImageHeader.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <set>

using namespace tessaldo;

namespace {

GreyImage Image(int width, int height, const std::function<int(int, int)> &grey)
{
    GreyImage image{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.pixels.push_back(static_cast<std::uint8_t>(grey(x, y)));
    }
    return image;
}

GreyImage Even(int width, int height, int grey)
{
    return Image(width, height, [grey](int, int) { return grey; });
}

// The cells drawn as 16 lines of '#' and '.', as tessaldo-cli show prints them.
std::string Drawn(const ScreenCells &cells)
{
    std::string text;
    for (std::size_t i = 0; i < cells.size(); ++i)
        text += std::string(cells[i] ? "#" : ".") + (i % 16 == 15 ? "\n" : "");
    return text;
}

int SetCount(const ScreenCells &cells)
{
    return static_cast<int>(std::count(cells.begin(), cells.end(), true));
}

std::string Rows(std::initializer_list<std::pair<int, std::string>> runs)
{
    std::string text;
    for (const auto &[count, row] : runs) {
        for (int i = 0; i < count; ++i)
            text += row + "\n";
    }
    return text;
}

} // namespace

// Blocks whose edges land on cell edges: each cell's expected state is known
// by construction.
TEST(PixelsToDots, FitsLayTheImageOntoTheCellsAsTheirNamesSay)
{
    // 64 x 32, its left half black: 4 x 4 pixels to a cell when contained,
    // 2 x 2 when it covers, 4 x 2 when stretched.
    const GreyImage leftHalf = Image(64, 32, [](int x, int) { return x < 32 ? 0 : 255; });
    const std::string contained =
        Rows({{4, std::string(16, '.')}, {8, std::string(8, '#') + std::string(8, '.')}, {4, std::string(16, '.')}});
    EXPECT_EQ(Drawn(CellsFromPixels(leftHalf, {Fit::Contain})), contained);
    // Cover cuts the outer quarters off left and right: the black half shows as the left half.
    EXPECT_EQ(Drawn(CellsFromPixels(leftHalf, {Fit::Cover})), Rows({{16, std::string(8, '#') + std::string(8, '.')}}));
    EXPECT_EQ(Drawn(CellsFromPixels(leftHalf, {Fit::Stretch})),
              Rows({{16, std::string(8, '#') + std::string(8, '.')}}));

    // Cover really cuts: a black stripe in the outer eighth of a wide image is gone.
    const GreyImage edgeStripe = Image(64, 32, [](int x, int) { return x < 8 ? 0 : 255; });
    EXPECT_EQ(SetCount(CellsFromPixels(edgeStripe, {Fit::Cover})), 0);
    EXPECT_EQ(SetCount(CellsFromPixels(edgeStripe, {Fit::Stretch})), 2 * 16);

    // A 4 x 4 checkerboard enlarged: each pixel becomes a block of 4 x 4 cells.
    const GreyImage board = Image(4, 4, [](int x, int y) { return (x + y) % 2 ? 255 : 0; });
    const std::string a = "####....####....";
    const std::string b = "....####....####";
    EXPECT_EQ(Drawn(CellsFromPixels(board, {Fit::Contain})), Rows({{4, a}, {4, b}, {4, a}, {4, b}}));

    // Area averaging, not sampling: 1-pixel black and white columns average to grey.
    const GreyImage fine = Image(32, 32, [](int x, int) { return x % 2 ? 255 : 0; });
    const CellGreys greys = ResampleToCells(fine, Fit::Contain);
    EXPECT_DOUBLE_EQ(greys[0], 127.5);
    EXPECT_DOUBLE_EQ(greys[255], 127.5);
    // A cell half on the image and half on the white margin.
    const CellGreys margin = ResampleToCells(Even(16, 5, 0), Fit::Contain); // 5 rows centred: 5.5 .. 10.5
    EXPECT_DOUBLE_EQ(margin[5 * 16], 127.5);
    EXPECT_DOUBLE_EQ(margin[6 * 16], 0);
    EXPECT_DOUBLE_EQ(margin[4 * 16], 255);
}

TEST(PixelsToDots, EveryDitherKeepsBlackAndWhiteAndFollowsTheShade)
{
    for (const Dither dither : {Dither::None, Dither::FloydSteinberg, Dither::Atkinson, Dither::Bayer}) {
        for (const int threshold : {0, 1, 128, 255}) {
            const auto plain = [&](int grey) {
                return Halftone(ResampleToCells(Even(40, 40, grey), Fit::Contain), threshold, Dither::None, false);
            };
            const ScreenCells black = CellsFromPixels(Even(40, 40, 0), {Fit::Contain, threshold, dither});
            const ScreenCells white = CellsFromPixels(Even(40, 40, 255), {Fit::Contain, threshold, dither});
            EXPECT_EQ(black, plain(0)) << int(dither) << " " << threshold;
            EXPECT_EQ(white, plain(255)) << int(dither) << " " << threshold;
        }
        if (dither == Dither::None)
            continue;
        const int half = SetCount(CellsFromPixels(Even(16, 16, 128), {Fit::Contain, 128, dither}));
        EXPECT_NEAR(half, 128, 16) << int(dither);
        // Darker shades set more dots.
        int previous = kDotCount + 1;
        for (const int grey : {32, 96, 160, 224}) {
            const int set = SetCount(CellsFromPixels(Even(16, 16, grey), {Fit::Contain, 128, dither}));
            EXPECT_LT(set, previous) << int(dither) << " " << grey;
            previous = set;
        }
        // A left-to-right gradient: the left half is darker, so it holds more set dots.
        const ScreenCells ramp =
            CellsFromPixels(Image(16, 16, [](int x, int) { return x * 17; }), {Fit::Contain, 128, dither});
        int left = 0;
        for (std::size_t i = 0; i < ramp.size(); ++i)
            left += ramp[i] && i % 16 < 8;
        EXPECT_GT(left, 3 * (SetCount(ramp) - left)) << int(dither);
    }
    const ScreenCells inverted = CellsFromPixels(Even(16, 16, 0), {Fit::Contain, 128, Dither::Bayer, true});
    EXPECT_EQ(SetCount(inverted), 0);
}

TEST(PixelsToDots, CellsLandOnTheDotsOfTheLayoutAndNamesParse)
{
    ScreenCells cells{};
    cells[1] = true; // second column, first row
    DotGrid column;
    PutCells(column, cells);
    EXPECT_TRUE(column.IsSet(16));
    DotGrid row;
    row.SetLCDType(LcdType::Row);
    PutCells(row, cells);
    EXPECT_TRUE(row.IsSet(1));
    EXPECT_EQ(FitFromName("cover"), Fit::Cover);
    EXPECT_EQ(DitherFromName("floyd-steinberg"), Dither::FloydSteinberg);
    EXPECT_FALSE(FitFromName("fill"));
    EXPECT_FALSE(DitherFromName("Bayer"));
    EXPECT_EQ(SetCount(CellsFromPixels(GreyImage{}, {})), 0); // an empty image is all margin
}

TEST(ImageHeader, GifOrJpegCutAnywhereIsToldAndAWholeOneIsNot)
{
    const std::string screen("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF", 19);
    const std::string loop("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    const std::string frame = std::string("\x21\xF9\x04\x00\x04\x00\x00\x00", 8)
                              + std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00", 15);
    const std::string gif = screen + loop + frame + frame + "\x3B";
    // Without its trailer a GIF that ends just after a frame is whole, as some encoders write it.
    const std::set<std::size_t> frameEnds = {gif.size() - 1 - frame.size(), gif.size() - 1};
    EXPECT_EQ(CutShortImage(gif), "");
    for (std::size_t size = 6; size < gif.size(); ++size)
        EXPECT_EQ(CutShortImage(gif.substr(0, size)),
                  frameEnds.contains(size) ? "" : "the GIF ends before its last frame")
            << size;

    // The end-of-image marker inside a segment and the stuffed zero and restart in the scan do not end it.
    const std::string jpeg = std::string("\xFF\xD8\xFF\xE1\x00\x08\xFF\xD9\xFF\xD9\x00\x00", 12)
                             + std::string("\xFF\xDA\x00\x04\x01\x00\x12\xFF\x00\x34\xFF\xD0\x56\xFF\xD9", 15);
    EXPECT_EQ(CutShortImage(jpeg + "a video after the picture"), "");
    for (std::size_t size = 3; size < jpeg.size(); ++size)
        EXPECT_EQ(CutShortImage(jpeg.substr(0, size)), "the JPEG data ends early") << size;
    EXPECT_EQ(CutShortImage("\x89PNG\r\n\x1A\n"), "");
}
