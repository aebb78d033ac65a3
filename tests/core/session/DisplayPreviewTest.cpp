#include "core/session/DisplayPreview.h"
#include "core/session/Canvas.h"
#include "core/session/Texts.h"

#include "RandomPicture.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

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

} // namespace

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
