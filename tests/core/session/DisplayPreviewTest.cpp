#include "core/session/DisplayPreview.h"
#include "core/session/Canvas.h"
#include "core/session/Texts.h"

#include "RandomPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

using namespace tessaldo;

namespace {

const Display &Preset(PictureSize size)
{
    return Displays()[DisplayOfSize(size).value()];
}

DotGrid RandomOf(PictureSize size)
{
    std::mt19937 random(7);
    DotGrid grid;
    grid.SetAllDots(RandomDots(random, size));
    return grid;
}

// The display's dots read one by one from where PlaceOfCell puts the form's
// bytes: what the preview shows, however it computes it.
Dots ReadDotByDot(const DotGrid &grid, CodeFormat form, const Display &display)
{
    const PictureSize size = grid.Size();
    const BitLayout written = LayoutOfForm(form);
    const BitLayout read = form == CodeFormat::Xbm || form == CodeFormat::Gfx ? written : display.buffer;
    std::vector<std::uint8_t> bytes(LayoutByteCount(written, size));
    for (int dot = 0; dot < size.DotCount(); ++dot)
        if (grid.IsSet(dot)) {
            const BitPlace place = PlaceOfCell(written, grid.nLCDType(), grid.CellOf(dot), size);
            bytes.at(static_cast<std::size_t>(place.byte)) |= static_cast<std::uint8_t>(1U << place.bit);
        }
    Dots panel(display.size);
    for (int row = 0; row < std::min(size.height, display.size.height); ++row)
        for (int column = 0; column < std::min(size.width, display.size.width); ++column) {
            const BitPlace place = PlaceOfCell(read, grid.nLCDType(), {column, row}, size);
            const auto byte = static_cast<std::size_t>(place.byte);
            if (byte < bytes.size() && ((bytes[byte] >> place.bit) & 1U) != 0)
                panel[static_cast<std::size_t>(row * display.size.width + column)] = DotState::Set;
        }
    return panel;
}

} // namespace

TEST(DisplayPreview, ShowsWhatEachDisplayReadsOfEachFormAtEverySize)
{
    for (const PictureSize size : {PictureSize{1, 1}, {12, 7}, kModuleSize, {128, 64}, {800, 480}})
        for (const LcdType type : {LcdType::Column, LcdType::Row}) {
            DotGrid grid = RandomOf(size);
            grid.SetLCDType(type);
            for (const CodeFormat form :
                 {CodeFormat::C, CodeFormat::Xbm, CodeFormat::Gfx, CodeFormat::Pages, CodeFormat::Tiles}) {
                if (LayoutOfForm(form) == BitLayout::Module && !IsModuleSize(size))
                    continue; // the module's bytes are for 16 x 16 only, and none are shown
                for (const Display &display : Displays()) {
                    SCOPED_TRACE(PictureSizeText(size) + " " + std::string(CodeFormatName(form)) + " on "
                                 + std::string(display.name));
                    EXPECT_EQ(PreviewOnDisplay(grid, form, display).dots, ReadDotByDot(grid, form, display));
                }
            }
        }
}

TEST(DisplayPreview, ShowsTheBytesAsTheDisplaysControllerReadsThem)
{
    const DotGrid splash = RandomOf({128, 64});
    const Display &oled = Preset({128, 64});
    const DisplayPreview pages = PreviewOnDisplay(splash, CodeFormat::Pages, oled);
    EXPECT_EQ(pages.dots, splash.AllDots());
    EXPECT_EQ(pages.note, "");
    // Drawn by the library's call, an X BitMap shows as drawn whatever the controller's order.
    EXPECT_EQ(PreviewOnDisplay(splash, CodeFormat::Xbm, oled).dots, splash.AllDots());

    // E-paper takes rows: the pages' bytes written to it as they are scatter the picture.
    const Display &paper = Preset({200, 200});
    const DisplayPreview scattered = PreviewOnDisplay(splash, CodeFormat::Pages, paper);
    ASSERT_EQ(scattered.dots.Size(), paper.size);
    EXPECT_EQ(scattered.note, FilledText(TextId::PreviewReadAs, {paper.name, BitLayoutName(BitLayout::Rows), "pages"}));
    bool differs = false;
    for (int row = 0; row < 64 && !differs; ++row)
        for (int column = 0; column < 128 && !differs; ++column)
            differs = scattered.dots[static_cast<std::size_t>(row * 200 + column)]
                      != splash.AllDots()[static_cast<std::size_t>(row * 128 + column)];
    EXPECT_TRUE(differs);

    const DisplayPreview module = PreviewOnDisplay(splash, CodeFormat::C, oled);
    EXPECT_EQ(module.note, FilledText(TextId::PreviewNotForModule, {"16 x 16", "128 x 64"}));
    EXPECT_EQ(module.dots, Dots(oled.size)) << "nothing is shown of bytes no display takes";
}

TEST(Canvas, CellsAreWholePixelsThatFitAndStepThroughTheZoom)
{
    EXPECT_EQ(FitCellPixels({128, 64}, 800, 600), 6);
    EXPECT_EQ(FitCellPixels({800, 480}, 600, 400), 1) << "never less than a pixel a dot";
    EXPECT_EQ(FitCellPixels({1, 1}, 4000, 4000), kZoomSteps.back());
    EXPECT_EQ(CanvasPixels(16, 13), 209) << "the module's grid as the window always drew it";
    EXPECT_EQ(CanvasPixels(800, 3), 2400) << "no grid lines below 4 pixels";
    EXPECT_EQ(ZoomedIn(13), 16);
    EXPECT_EQ(ZoomedOut(13), 12);
    EXPECT_EQ(ZoomedIn(7), 8) << "a fitted cell between steps goes to the next";
    EXPECT_EQ(ZoomedOut(7), 6);
    EXPECT_EQ(ZoomedIn(kZoomSteps.back()), kZoomSteps.back());
    EXPECT_EQ(ZoomedOut(1), 1);
}

TEST(Canvas, ZoomsBelowAPixelADotSoThatAnyPictureFits)
{
    struct Case {
        PictureSize size;
        int width;
        int height;
        Zoom fit;
    };
    const Case cases[] = {
        {{128, 64}, 800, 600, {6, 1}},    // whole cells as before
        {{800, 480}, 800, 480, {1, 1}},   // exactly a pixel a dot
        {{800, 480}, 799, 600, {1, 2}},   // a pixel short: half
        {{800, 480}, 267, 160, {1, 3}},   // 800 / 3 rounds up to 267
        {{1024, 1024}, 128, 128, {1, 8}}, // the smallest step
        {{1024, 1024}, 100, 100, {1, 8}}, // nothing fits: the smallest step still
    };
    for (const Case &c : cases)
        EXPECT_EQ(FitZoom(c.size, c.width, c.height), c.fit) << c.size.width << " in " << c.width;

    struct Step {
        Zoom from;
        Zoom in;
        Zoom out;
    };
    const Step steps[] = {
        {{1, 1}, {2, 1}, {1, 2}},    {{1, 2}, {1, 1}, {1, 3}}, {{1, 8}, {1, 6}, {1, 8}},
        {{64, 1}, {64, 1}, {48, 1}}, {{7, 1}, {8, 1}, {6, 1}}, // a fitted cell between steps
    };
    for (const Step &s : steps) {
        EXPECT_EQ(ZoomedIn(s.from), s.in) << s.from.cellPixels << "/" << s.from.dotsPerPixel;
        EXPECT_EQ(ZoomedOut(s.from), s.out) << s.from.cellPixels << "/" << s.from.dotsPerPixel;
    }
    EXPECT_EQ(ZoomedPixels(16, {13, 1}), 209) << "the module's grid as the window always drew it";
    EXPECT_EQ(ZoomedPixels(801, {1, 2}), 401) << "a last block short of dots takes a pixel";
}

TEST(Canvas, ABlockWithASetDotIsNeverDrawnClear)
{
    Dots dots({5, 4});
    const auto set = [&dots](int x, int y) { dots[static_cast<std::size_t>(y * 5 + x)] = DotState::Set; };
    set(0, 0);                       // one of 16 in the first 4 x 4 block
    set(4, 0), set(4, 1), set(4, 2); // three of the last column's block, cut by the edge
    struct Case {
        int left;
        int top;
        int side;
        int ink;
    };
    const Case cases[] = {
        {0, 0, 4, kLeastInk}, // 1 of 16 would be 16: raised
        {1, 1, 3, 0},         // all clear
        {4, 0, 4, 191},       // 3 of the 4 dots in the picture, 191.25 rounded
        {4, 0, 2, 255},       // both set
        {0, 0, 1, 255},
    };
    for (const Case &c : cases)
        EXPECT_EQ(BlockInk(dots, c.left, c.top, c.side), c.ink) << c.left << "," << c.top << " side " << c.side;
}
