#include "core/code/LayoutGuess.h"
#include "core/model/Transform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

using namespace tessaldo;

namespace {

// The icons of drawn-icons.txt, each as the type shows it.
std::vector<DotGrid> DrawnIcons(LcdType type)
{
    std::ifstream file(std::string(TESSALDO_TEST_DATA) + "/drawn-icons.txt");
    std::vector<DotGrid> icons;
    int row = kGridSide;
    for (std::string line; std::getline(file, line);) {
        const bool dots = line.size() == kGridSide && line.find_first_not_of(".#") == std::string::npos;
        if (dots && row < kGridSide) {
            for (int column = 0; column < kGridSide; ++column)
                if (line.at(column) == '#')
                    icons.back().SetDot(DotAtCell(type, {column, row}), DotState::Set);
            ++row;
        } else if (!line.empty() && line.rfind("# ", 0) != 0) {
            icons.emplace_back().SetLCDType(type); // a name begins the next icon
            row = 0;
        }
    }
    return icons;
}

bool Names(const LayoutCandidate &candidate, BitLayout layout)
{
    return std::find(candidate.layouts.begin(), candidate.layouts.end(), layout) != candidate.layouts.end();
}

} // namespace

// Whatever library's layout a real icon comes in, it is the first picture
// offered, in either type, drawn dark on light or light on dark. Only the
// module's column type reads XBM's bytes as the picture's transpose, which is
// as smooth: there the two tie, and the module's, as values that say no
// layout are read, comes first.
TEST(LayoutGuess, RanksTheTrueLayoutOfRealIconsFirst)
{
    for (const LcdType type : {LcdType::Column, LcdType::Row}) {
        const std::vector<DotGrid> icons = DrawnIcons(type);
        ASSERT_EQ(icons.size(), 6U);
        for (std::size_t icon = 0; icon < icons.size(); ++icon) {
            for (const bool inverted : {false, true}) {
                DotGrid grid = icons.at(icon);
                if (inverted)
                    ApplyTransform(grid, Transform::Invert);
                for (const BitLayout layout : kBitLayouts) {
                    const std::vector<LayoutCandidate> ranked = RankLayouts(LayoutBytes(grid, layout), type);
                    const auto truth =
                        std::find_if(ranked.begin(), ranked.end(), [&grid](const LayoutCandidate &candidate) {
                            return candidate.dots == grid.AllDots();
                        });
                    ASSERT_NE(truth, ranked.end());
                    EXPECT_TRUE(Names(*truth, layout));
                    const bool transposed =
                        type == LcdType::Column && (layout == BitLayout::Module || layout == BitLayout::Xbm);
                    const auto asSmooth =
                        std::count_if(ranked.begin(), ranked.end(), [&truth](const LayoutCandidate &candidate) {
                            return candidate.roughness <= truth->roughness;
                        });
                    EXPECT_EQ(asSmooth, transposed ? 2 : 1)
                        << "icon " << icon << " type " << LcdTypeValue(type) << " inverted " << inverted << " in "
                        << BitLayoutName(layout) << ": " << CandidateName(ranked.front()) << " ranked first";
                    EXPECT_TRUE(Names(ranked.front(), transposed ? BitLayout::Module : layout));
                }
            }
        }
    }
}

// Layouts that read the bytes as one picture are offered once, under all their names.
TEST(LayoutGuess, OffersEachPictureOnce)
{
    const PictureBytes bytes = LayoutBytes(DrawnIcons(LcdType::Row).at(3), BitLayout::Pages); // the bell
    std::vector<std::string> names;
    for (const LayoutCandidate &candidate : RankLayouts(bytes, LcdType::Row))
        names.push_back(CandidateName(candidate));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"module/xbm", "pages", "rows"}));
    EXPECT_EQ(RankLayouts(bytes, LcdType::Column).size(), 4U);

    const std::vector<LayoutCandidate> blank = RankLayouts(PictureBytes{}, LcdType::Column);
    ASSERT_EQ(blank.size(), 1U);
    EXPECT_EQ(CandidateName(blank.front()), "module/rows/xbm/pages");
}

// A set's pictures are drawn for one display: the layout that draws them all
// least rough comes first, named as "C Array Form" names it and shown by its
// first pictures; layouts that read every picture alike are one choice.
TEST(LayoutGuess, RanksOneLayoutForAllOfASetsPictures)
{
    const std::vector<DotGrid> icons = DrawnIcons(LcdType::Row);
    std::vector<PictureBytes> bytes;
    for (const DotGrid &icon : icons)
        bytes.push_back(LayoutBytes(icon, BitLayout::Rows));
    const std::vector<LayoutChoice> ranked = RankSetLayouts(bytes, LcdType::Row);
    ASSERT_EQ(ranked.size(), 3U); // the module's and XBM's read alike in this type
    EXPECT_EQ(LayoutChoiceName(ranked.front()), "Adafruit GFX drawBitmap");
    ASSERT_EQ(ranked.front().shown.size(), kChoiceShown);
    EXPECT_EQ(ranked.front().shown.at(1), icons.at(1).AllDots());

    const PictureBytes bell = LayoutBytes(icons.at(3), BitLayout::Pages);
    std::vector<std::string> names;
    for (const LayoutChoice &choice : RankSetLayouts({&bell, 1}, LcdType::Row))
        names.push_back(LayoutChoiceName(choice));
    EXPECT_EQ(names,
              (std::vector<std::string>{"SSD1306 Pages", "Module C Array or XBM for u8g2", "Adafruit GFX drawBitmap"}));

    // A frame along every edge is rough in any layout; it does not outvote the heart beside it.
    PictureBytes frame{};
    for (std::size_t row = 0; row < 16; ++row) {
        const bool edge = row == 0 || row == 15;
        frame.at(row * 2) = edge ? 0xFF : 0x80;
        frame.at(row * 2 + 1) = edge ? 0xFF : 0x01;
    }
    const std::vector<PictureBytes> framed{{0x00, 0x00, 0x1C, 0x38, 0x3E, 0x7C, 0x7F, 0xFE, 0x7F, 0xFE, 0x7F, 0xFE,
                                            0x3F, 0xFC, 0x1F, 0xF8, 0x0F, 0xF0, 0x07, 0xE0, 0x03, 0xC0, 0x01, 0x80},
                                           frame};
    EXPECT_EQ(LayoutChoiceName(RankSetLayouts(framed, LcdType::Column).front()), "Adafruit GFX drawBitmap");
}

// A frame buffer that says no size: of the common displays' sizes and the
// layouts its byte count fits, the one it was drawn in reads smoothest.
TEST(LayoutGuess, ABufferOfNoSaidSizeReadsSmoothestAtTheSizeAndLayoutItWasDrawnIn)
{
    const auto drawn = [](PictureSize size) {
        DotGrid grid;
        Dots dots(size);
        const int radius = size.height / 3;
        std::size_t dot = 0; // row by row, as away from 16 x 16
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const int dx = x - size.width / 3;
                const int dy = y - size.height / 2;
                const bool ring = std::abs(dx * dx + dy * dy - radius * radius) <= radius;
                const bool bar = y == size.height - 4 && x > size.width / 2 && x < size.width - 4;
                dots[dot++] = ring || bar ? DotState::Set : DotState::Clear;
            }
        }
        grid.SetAllDots(dots);
        return grid;
    };
    for (const auto &[size, layout] :
         {std::pair{PictureSize{128, 64}, BitLayout::Pages}, std::pair{PictureSize{128, 64}, BitLayout::Rows},
          std::pair{PictureSize{84, 48}, BitLayout::Pages}, std::pair{PictureSize{250, 122}, BitLayout::Xbm}}) {
        const DotGrid grid = drawn(size);
        const std::vector<std::uint8_t> bytes = SizedLayoutBytes(grid, layout);
        const std::vector<LayoutCandidate> ranked = RankSizedLayouts(bytes, kDisplaySizes, LcdType::Column);
        ASSERT_GT(ranked.size(), 2U);
        EXPECT_EQ(ranked.front().dots, grid.AllDots()) << PictureSizeText(size) << " " << BitLayoutName(layout);
        EXPECT_NE(std::find(ranked.front().layouts.begin(), ranked.front().layouts.end(), layout),
                  ranked.front().layouts.end());
    }
    EXPECT_TRUE(RankSizedLayouts(std::vector<std::uint8_t>(1000), kDisplaySizes, LcdType::Column).empty());
}

TEST(LayoutGuess, AChoiceNamesEachOfItsReadingsOnce)
{
    const LayoutChoice pagesAndTiles{{BitLayout::Pages, BitLayout::Tiles}, {}, 0, {128, 64}};
    EXPECT_EQ(LayoutChoiceName(pagesAndTiles), "SSD1306 Pages or u8x8 Tiles");
}
