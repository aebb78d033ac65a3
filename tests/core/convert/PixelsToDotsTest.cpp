#include "core/convert/PixelsToDots.h"

#include "core/formats/ImageHeader.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <numeric>
#include <set>

using namespace tessaldo;
using namespace std::literals;

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

// A GIF frame's LZW data for the pixels, written as an encoder that never
// clears writes it: the code width grows to 12 bits and the dictionary fills.
std::string Lzw(const std::vector<int> &pixels, int minimum)
{
    std::map<std::pair<int, int>, int> table; // (prefix code, pixel) -> code
    const int clear = 1 << minimum;
    int next = clear + 2;
    int width = minimum + 1;
    std::string codes;
    std::uint32_t bits = 0;
    int count = 0;
    const auto put = [&](int code) {
        for (bits |= static_cast<std::uint32_t>(code) << count, count += width; count >= 8; count -= 8, bits >>= 8)
            codes += static_cast<char>(bits & 0xFF);
    };
    put(clear);
    int prefix = pixels[0];
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        if (const auto found = table.find({prefix, pixels[i]}); found != table.end()) {
            prefix = found->second;
            continue;
        }
        put(prefix);
        width += next == 1 << width && width < 12;
        if (next < 4096)
            table[{prefix, pixels[i]}] = next++;
        prefix = pixels[i];
    }
    put(prefix);
    width += next == 1 << width && width < 12;
    put(clear + 1);
    put(0); // flushes the last bits
    std::string data(1, static_cast<char>(minimum));
    for (std::size_t at = 0; at < codes.size(); at += 255)
        data += static_cast<char>(std::min<std::size_t>(255, codes.size() - at)) + codes.substr(at, 255);
    return data + '\0';
}

// A whole GIF of frames of width x height, each with its LZW data.
std::string Gif(int width, int height, const std::vector<std::string> &frames)
{
    const std::string size{static_cast<char>(width), static_cast<char>(width >> 8), static_cast<char>(height),
                           static_cast<char>(height >> 8)};
    std::string gif = "GIF89a" + size + std::string(3, '\0');
    for (const std::string &data : frames)
        gif.append("\x2C\0\0\0\0", 5).append(size).append(1, '\0').append(data);
    return gif + '\x3B';
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
    EXPECT_EQ(FitName(Fit::Stretch), "stretch");
    EXPECT_EQ(DitherName(DotOptions{}.dither), "none");
    EXPECT_EQ(SetCount(CellsFromPixels(GreyImage{}, {})), 0); // an empty image is all margin
}

// Away from 16 x 16 the picture's own sides set each fit's scale and margins,
// and a dither spreads its error within them.
TEST(PixelsToDots, APictureOfAnySizeFitsTheImageToItsOwnSides)
{
    const GreyImage leftHalf = Image(200, 100, [](int x, int) { return x < 100 ? 0 : 255; });
    const PictureSize wide{64, 16};
    const auto columns = [](const ScreenCells &cells) {
        std::string row;
        for (int column = 0; column < cells.Size().width; ++column)
            row += cells.At({column, 5}) ? '#' : '.';
        return row;
    };
    // Contain: 32 x 16 in the middle; cover and stretch: the whole width, its left half black.
    EXPECT_EQ(columns(CellsFromPixels(leftHalf, {Fit::Contain}, wide)),
              std::string(16, '.') + std::string(16, '#') + std::string(32, '.'));
    for (const Fit fit : {Fit::Cover, Fit::Stretch}) {
        const ScreenCells cells = CellsFromPixels(leftHalf, {fit}, wide);
        EXPECT_EQ(cells.Size(), wide);
        EXPECT_EQ(SetCount(cells), 32 * 16) << FitName(fit);
        EXPECT_EQ(columns(cells), std::string(32, '#') + std::string(32, '.')) << FitName(fit);
    }
    // Cover fills 250 x 122 from a square's middle rows: its top and bottom are cut.
    const GreyImage band = Image(100, 100, [](int, int y) { return y < 25 || y >= 75 ? 0 : 255; });
    EXPECT_EQ(SetCount(CellsFromPixels(band, {Fit::Cover}, {250, 122})), 0);
    EXPECT_EQ(SetCount(CellsFromPixels(band, {Fit::Stretch}, {250, 122})), 250 * 122 / 2);

    // A quarter grey comes out a quarter set (less under Atkinson, which
    // hands on only six eighths of the error), the last row included; a big
    // image averages to the same greys.
    for (const Dither dither : {Dither::FloydSteinberg, Dither::Atkinson, Dither::Bayer}) {
        const ScreenCells cells = CellsFromPixels(Even(2500, 1220, 191), {Fit::Stretch, 128, dither}, {250, 122});
        if (dither == Dither::Atkinson)
            EXPECT_LT(SetCount(cells), 250 * 122 / 4);
        else
            EXPECT_NEAR(SetCount(cells), 250 * 122 / 4, 250 * 122 / 50) << DitherName(dither);
        int lastRow = 0;
        for (int column = 0; column < 250; ++column)
            lastRow += cells.At({column, 121}) ? 1 : 0;
        EXPECT_GT(lastRow, 0) << DitherName(dither);
    }
    EXPECT_EQ(ResampleToCells(Even(2500, 1220, 191), Fit::Stretch, {250, 122}), CellGreys(PictureSize{250, 122}, 191));
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

    // Padding to four bytes counts in each row; the pixels, not a file size of 0, tell what is needed.
    const auto le = [](std::uint32_t value) {
        return std::string{char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    };
    const std::string bmp = "BM" + le(0) + le(0) + le(54) + le(40) + le(3) + le(static_cast<std::uint32_t>(-2))
                            + std::string("\x01\x00\x18\x00", 4) + std::string(24, '\0') + std::string(24, '\x7F');
    EXPECT_EQ(CutShortImage(bmp), "");
    for (std::size_t size = 2; size < bmp.size(); ++size)
        EXPECT_EQ(CutShortImage(bmp.substr(0, size)), "the BMP data ends early") << size;
    EXPECT_EQ(CutShortImage("BM" + le(bmp.size() + 1) + bmp.substr(6)), "the BMP data ends early");
    const std::string xbm = "#define a_width 9\n#define a_height 2\nstatic char a_bits[] = {0x01, 0x02, 0x03, 0x04";
    EXPECT_EQ(CutShortImage(xbm + "};"), "");
    EXPECT_EQ(CutShortImage(xbm.substr(0, xbm.size() - 6)), "the XBM data ends early");
}

TEST(ImageHeader, AGifFrameMustDecodeToItsEveryPixel)
{
    constexpr std::size_t kPixels = std::size_t{128} * 64;
    std::vector<int> noise(kPixels);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<int>((i * 2654435761U >> 13) % 256); // fills the dictionary
    const std::string full = Lzw(noise, 8);
    const std::string runs = Lzw(std::vector<int>(kPixels, 1), 2); // each code the one just being made
    for (const std::string &data : {full, runs}) {
        EXPECT_EQ(CutShortImage(Gif(128, 64, {data, data})), "");
        EXPECT_EQ(CutShortImage(Gif(128, 63, {data})), ""); // what follows the last pixel is not read
        EXPECT_EQ(CutShortImage(Gif(128, 65, {data, data})), "frame 1 of the GIF cannot be decoded");
    }
    std::string damaged = runs;
    damaged[damaged.size() / 2] ^= 0x40;
    EXPECT_EQ(CheckImageData(Gif(128, 64, {runs, damaged})).problem, "frame 2 of the GIF cannot be decoded");
    EXPECT_EQ(CheckImageData(Gif(128, 64, {full, full, full})).gifFrames, 3U);
    // Code sizes outside 2..8, a code not yet made, and the end before the pixels.
    for (const std::string_view data :
         {"\x01\x01\x02\x00"sv, "\x09\x01\x00\x00"sv, "\x02\x01\x34\x00"sv, "\x02\x01\x2C\x00"sv})
        EXPECT_EQ(CutShortImage(Gif(1, 1, {std::string(data)})), "frame 1 of the GIF cannot be decoded") << data;
}
