#include "core/session/EditSession.h"
#include "core/session/GridGesture.h"
#include "core/session/Texts.h"

#include "RandomPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <vector>

using namespace tessaldo;

namespace {

// A set of `count` random pictures of `size`, as a header would open it.
Document RandomSet(std::mt19937 &random, PictureSize size, int count)
{
    Document set;
    set.pictures.clear();
    for (int i = 0; i < count; ++i)
        set.pictures.push_back({"p" + std::to_string(i), 100, RandomDots(random, size)});
    return set;
}

} // namespace

TEST(SizedSessionTest, StrokesOnALargePictureKeepTheirDotsNotCopiesOfIt)
{
    const PictureSize screen{800, 480};
    const std::size_t picture = static_cast<std::size_t>(screen.DotCount());
    EditSession session;
    ASSERT_EQ(session.TakeDots("New", Dots(screen)), "");
    const Document start = session.Doc();
    const std::size_t first = session.Steps().KeptBytes();
    EXPECT_LE(first, 2 * picture + 1024) << "a step that changes the size keeps both pictures";
    // A thousand diagonal strokes, the worst a pencil does: every dot a run of its own.
    for (int stroke = 0; stroke < 1000; ++stroke) {
        for (int along = 0; along < 20; ++along) {
            const int dot = (stroke % 460 + along) * screen.width + stroke / 460 * 40 + along;
            session.Paint(std::vector<int>{dot}, DotState::Set);
        }
        session.EndStroke();
    }
    ASSERT_EQ(session.Steps().Count(), 1001);
    EXPECT_LT(session.Steps().KeptBytes() - first, picture) << "all of them cost less than one copy of the picture";

    // A change of most dots keeps no more than the two pictures it lies between.
    std::mt19937 random(3);
    const std::size_t before = session.Steps().KeptBytes();
    session.TakeDots("Paste", RandomDots(random, screen));
    EXPECT_LE(session.Steps().KeptBytes() - before, 2 * picture + 1024);

    const Document end = session.Doc();
    while (session.Steps().Index() > 1)
        session.Undo();
    EXPECT_EQ(session.Doc(), start);
    while (session.Steps().CanRedo())
        session.Redo();
    EXPECT_EQ(session.Doc(), end);
}

TEST(SizedSessionTest, AResizeOfASetIsOneStepOnEveryPicture)
{
    std::mt19937 random(5);
    EditSession session;
    Document set = RandomSet(random, {16, 16}, 3);
    set.type = LcdType::Row;
    set.current = 1;
    session.OpenSet(set);
    ASSERT_EQ(session.Resize({21, 10}, Anchor::Centre), "");
    ASSERT_EQ(session.Steps().Count(), 2);
    for (const Picture &picture : session.Doc().pictures)
        EXPECT_EQ(picture.dots.Size(), (PictureSize{21, 10}));
    // The middle of the first picture as a Row picture shows it: cell (4, 3) of 16 x 16 went to (6, 0).
    EXPECT_EQ(session.Doc().pictures[0].dots[6], set.pictures[0].dots[3 * 16 + 4]);
    const Document resized = session.Doc();
    session.Undo();
    EXPECT_EQ(session.Doc(), set);
    session.Redo();
    EXPECT_EQ(session.Doc(), resized);

    // What would leave one picture another size than the rest is refused, naming both.
    EXPECT_EQ(session.Apply(Transform::RotateClockwise), FilledText(TextId::TurnInSet, {PictureSizeText({21, 10})}));
    EXPECT_FALSE(session.IsEnabled(CommandId::RotateClockwise, false));
    EXPECT_TRUE(session.IsEnabled(CommandId::FlipHorizontally, false));
    EXPECT_EQ(session.TakeDots("Paste", Dots()), FilledText(TextId::OtherSize, {"16 x 16", "21 x 10"}));
    EXPECT_NE(session.TakePictures("Paste", {Picture{}}), "");
    EXPECT_EQ(session.Enlarge(49), FilledText(TextId::EnlargedTooFar, {"49", "21 x 10", "1024"}));
    EXPECT_NE(session.Resize({1025, 1}), "");
    EXPECT_EQ(session.Steps().Count(), 2);
    // A picture added to the set, or the set cleared, keeps its size.
    session.AddPicture();
    EXPECT_EQ(session.Doc().Edited().dots, Dots(PictureSize{21, 10}));
    session.New();
    EXPECT_EQ(session.Doc().Edited().dots, Dots(PictureSize{21, 10}));

    // Alone, a picture turns and takes any size.
    EditSession alone;
    ASSERT_EQ(alone.TakeDots("Paste", RandomDots(random, {3, 5})), "");
    ASSERT_EQ(alone.Apply(Transform::RotateClockwise), "");
    EXPECT_EQ(alone.Doc().Size(), (PictureSize{5, 3}));
    ASSERT_EQ(alone.Enlarge(3), "");
    ASSERT_EQ(alone.Reduce(2), "");
    EXPECT_EQ(alone.Doc().Size(), (PictureSize{8, 5}));
}

TEST(SizedSessionTest, AStrokeReachesEveryDotOfA128x64Picture)
{
    constexpr double kCell = 4;
    const PictureSize oled{128, 64};
    EditSession session;
    ASSERT_EQ(session.TakeDots("New", Dots(oled)), "");
    const Document clear = session.Doc();
    GridGesture gesture(kCell);
    const auto middle = [](int column, int row) { return PointF{(column + 0.5) * kCell, (row + 0.5) * kCell}; };
    // Rows run along: dot y * 128 + x, and cells past the 16th column or row are in the picture.
    gesture.Press(0, middle(0, 0), session.Doc().type);
    const std::vector<int> painted = gesture.Move(63 * 128 + 127, middle(127, 63), session.Grid());
    session.Paint(painted, gesture.PaintState());
    // Past the last column, the pointer is over no dot, and nothing is painted there.
    session.Paint(gesture.Move(-1, middle(140, 63), session.Grid()), gesture.PaintState());
    EXPECT_EQ(gesture.Release(-1), GridGesture::End::Stroke);
    session.EndStroke();

    ASSERT_EQ(painted.size(), 128U + 63U) << "a slant of 127 columns and 63 rows crosses one border at a time";
    EXPECT_EQ(painted.front(), 0);
    EXPECT_EQ(painted.back(), 63 * 128 + 127);
    const Dots &dots = session.Doc().Edited().dots;
    EXPECT_EQ(std::count(dots.begin(), dots.end(), DotState::Set), 128 + 63);
    EXPECT_EQ(dots[32 * 128 + 64], DotState::Set) << "the middle";
    EXPECT_EQ(session.Steps().Count(), 2);
    session.Undo();
    EXPECT_EQ(session.Doc(), clear);
}

TEST(SizedSessionTest, RunOffTheModulesSizeWritesTheChosenArrayNotEmptyPrintfLines)
{
    EditSession session;
    ASSERT_EQ(session.NewPicture({128, 64}), "");
    session.ToggleDot(0);
    const std::string pages = session.Run();
    EXPECT_EQ(pages.find("printf"), std::string::npos);
    EXPECT_NE(pages.find("_PAGES"), std::string::npos) << pages.substr(0, 200);
    EXPECT_FALSE(session.CodeIsStale());
    session.SetArrayForm(CodeFormat::Xbm);
    EXPECT_NE(session.Run().find("_width 128"), std::string::npos);
    ASSERT_EQ(session.NewPicture(kModuleSize), "");
    EXPECT_EQ(session.Run().rfind("printf", 0), 0U);
}

TEST(SizedSessionTest, APictureTakesTheArrayFormOfItsDisplayAndSaysWhenAnotherIsChosen)
{
    struct Case {
        PictureSize size;
        CodeFormat form; // what a new picture of that size is copied as
        std::string_view copied;
    };
    const Case cases[] = {
        {{800, 480}, CodeFormat::Gfx, "Copied the 800 x 480 picture as Adafruit GFX drawBitmap: 48,000 bytes."},
        {{128, 64}, CodeFormat::Pages, "Copied the 128 x 64 picture as SSD1306 Pages: 1,024 bytes."},
        {{8, 8}, CodeFormat::Tiles, "Copied the 8 x 8 picture as u8x8 Tiles: 8 bytes."},
        {{100, 50}, CodeFormat::Pages, "Copied the 100 x 50 picture as SSD1306 Pages: 700 bytes."}, // no display
        {kModuleSize, CodeFormat::C, "Copied the 16 x 16 picture as Module C Array: 33 bytes."},
    };
    for (const Case &c : cases) {
        EditSession session;
        ASSERT_EQ(session.NewPicture(c.size), "");
        EXPECT_EQ(session.ArrayForm(), c.form) << PictureSizeText(c.size);
        EXPECT_EQ(session.CopiedText(), c.copied);
        EXPECT_EQ(session.FormAdvice(), "") << PictureSizeText(c.size);
    }

    EditSession session;
    ASSERT_EQ(session.NewPicture({800, 480}), "");
    session.SetArrayForm(CodeFormat::Pages);
    EXPECT_EQ(session.ArrayForm(), CodeFormat::Pages) << "the user's choice stands";
    EXPECT_EQ(session.FormAdvice(), "The 800 x 480 7.5-inch e-paper takes the Adafruit GFX drawBitmap form; the array "
                                    "here is SSD1306 Pages.");
    EXPECT_EQ(session.FormSwitchCaption(), "Use Adafruit GFX drawBitmap");
    session.UseDisplaysForm();
    EXPECT_EQ(session.ArrayForm(), CodeFormat::Gfx);
    EXPECT_EQ(session.FormAdvice(), "");
    session.SetPreviewDisplay(DisplayOfSize({128, 64}).value());
    EXPECT_EQ(session.ArrayForm(), CodeFormat::Pages) << "choosing a display chooses its form";
}

TEST(SizedSessionTest, ASetIsSavedInTheArrayFormChosenOrTheOneItWasOpenedIn)
{
    struct Case {
        PictureSize size;
        std::optional<CodeFormat> chosen;
        std::optional<BitLayout> opened; // the layout of the header the set came from
        BitLayout saved;
    };
    const Case cases[] = {
        {{128, 64}, std::nullopt, std::nullopt, BitLayout::Pages},
        {{128, 64}, CodeFormat::Xbm, std::nullopt, BitLayout::Xbm},
        {{128, 64}, CodeFormat::Gfx, std::nullopt, BitLayout::Rows},
        {{800, 480}, std::nullopt, std::nullopt, BitLayout::Rows},
        {{8, 8}, std::nullopt, std::nullopt, BitLayout::Tiles},
        {{128, 64}, std::nullopt, BitLayout::Xbm, BitLayout::Xbm},
        {{128, 64}, CodeFormat::Gfx, BitLayout::Xbm, BitLayout::Rows},
        {kModuleSize, CodeFormat::Xbm, std::nullopt, BitLayout::Module},
        {kModuleSize, std::nullopt, BitLayout::Rows, BitLayout::Rows},
    };
    std::mt19937 random(41);
    for (const Case &c : cases) {
        EditSession session;
        if (c.opened)
            session.OpenSet(RandomSet(random, c.size, 2), *c.opened);
        else
            ASSERT_EQ(session.NewPicture(c.size), "");
        if (c.chosen)
            session.SetArrayForm(*c.chosen);
        EXPECT_EQ(session.HeaderLayout(), c.saved) << PictureSizeText(c.size);
    }
}

TEST(SizedSessionTest, APictureIsPreviewedOnTheSmallestDisplayThatHoldsIt)
{
    struct Case {
        PictureSize size;
        std::string_view display;
    };
    const Case cases[] = {
        {{1, 1}, "32 x 32 icon (SSD1306 0.96-inch OLED)"}, // not one u8x8 tile, which takes 8 x 8 only
        {{12, 7}, "32 x 32 icon (SSD1306 0.96-inch OLED)"},
        {{8, 8}, "8 x 8 u8x8 tile (SSD1306 0.96-inch OLED)"},
        {kModuleSize, "16 x 16 the serial graphic LCD module"},
        {{17, 16}, "32 x 32 icon (SSD1306 0.96-inch OLED)"},
        {{100, 50}, "128 x 64 SSD1306 0.96-inch OLED"},
        {{300, 130}, "400 x 240 2.7-inch memory LCD"},
        {{800, 480}, "800 x 480 7.5-inch e-paper"},
        {{1024, 1024}, "800 x 480 7.5-inch e-paper"}, // none holds it: the largest
    };
    for (const Case &c : cases) {
        EditSession session;
        ASSERT_EQ(session.NewPicture(c.size), "");
        EXPECT_EQ(Displays()[session.PreviewDisplay()].name, c.display) << PictureSizeText(c.size);
    }
}

TEST(SizedSessionTest, ATypedSizeIsTwoWholeNumbersFrom1To1024)
{
    struct Case {
        std::string_view width;
        std::string_view height;
        std::string_view problem; // "" for a size
    };
    const std::string notWhole = FilledText(TextId::SizeNotWhole, {"1024"});
    const Case cases[] = {
        {"1", "1", ""},
        {"1024", "1024", ""},
        {"12", "7", ""},
        {"0", "64", "A picture is 1 to 1024 dots wide and high, so it cannot be 0 x 64."},
        {"-3", "64", "A picture is 1 to 1024 dots wide and high, so it cannot be -3 x 64."},
        {"128", "2000", "A picture is 1 to 1024 dots wide and high, so it cannot be 128 x 2000."},
        {"12.5", "64", notWhole},
        {"", "64", notWhole},
        {"128", "", notWhole},
        {"1e3", "64", notWhole},
        {"99999999999", "64", notWhole},
    };
    for (const Case &c : cases) {
        const Result<PictureSize> typed = TypedPictureSize(c.width, c.height);
        EXPECT_EQ(typed ? std::string() : typed.message(), c.problem) << c.width << " x " << c.height;
        if (typed) {
            EXPECT_EQ(PictureSizeText(typed.value()), std::string(c.width) + " x " + std::string(c.height));
        }
    }
}

TEST(SizedSessionTest, TheLcdTypeIsRefusedOffTheModulesSizeAndNeverAStep)
{
    EditSession session;
    ASSERT_EQ(session.NewPicture({128, 64}), "");
    const LcdType kept = session.Doc().type;
    const auto steps = session.Steps().Count();
    EXPECT_EQ(session.SetType(kept == LcdType::Row ? LcdType::Column : LcdType::Row),
              "The LCD type places the dots of a 16 x 16 picture only, and this one is 128 x 64.");
    EXPECT_EQ(session.Doc().type, kept);
    EXPECT_EQ(session.Steps().Count(), steps);
    ASSERT_EQ(session.NewPicture(kModuleSize), "");
    EXPECT_EQ(session.SetType(LcdType::Column), "");
    EXPECT_EQ(session.Doc().type, LcdType::Column);
}
