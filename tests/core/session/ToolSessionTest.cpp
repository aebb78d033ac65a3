#include "core/model/BitLayout.h"
#include "core/session/EditSession.h"
#include "core/session/Incoming.h"
#include "core/session/Texts.h"

#include "DrawnDots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace tessaldo;

namespace {

using Lines = std::vector<std::string>;

// A session editing the picture drawn, as a paste would give it: one step.
struct DrawnSession {
    explicit DrawnSession(const Lines &rows) { EXPECT_EQ(session.TakeDots("Paste", Drawn(rows)), ""); }
    Lines Shown() const { return Rows(session.Doc().Edited().dots); }
    int Steps() const { return session.Steps().Index(); }
    EditSession session;
};

} // namespace

TEST(ToolSession, AShapeShowsAsItIsDraggedAndBecomesOneStep)
{
    DrawnSession drawn({"......", "......", "......", "......"});
    EditSession &session = drawn.session;
    session.SetTool(Tool::Rectangle);
    session.DragShape({1, 1}, {2, 2}, false);
    session.DragShape({1, 1}, {4, 3}, false);
    EXPECT_EQ(drawn.Shown(), (Lines{"......", ".####.", ".#..#.", ".####."})) << "each drag replaces the last";
    EXPECT_EQ(drawn.Steps(), 1);
    session.EndStroke();
    EXPECT_EQ(drawn.Steps(), 2);

    // Swapped to clear, the shape clears; Shift makes a circle, cut where it reaches past the picture.
    session.SetTool(Tool::Ellipse);
    session.SetFilledShapes(true);
    EXPECT_TRUE(session.Perform(CommandId::ClearDots));
    EXPECT_TRUE(session.IsChecked(CommandId::ClearDots));
    session.DragShape({1, 1}, {9, 2}, true);
    session.EndStroke();
    EXPECT_EQ(drawn.Shown(), (Lines{"......", ".###..", ".#....", ".#...."}));
    EXPECT_EQ(drawn.Steps(), 3);
    session.Undo();
    EXPECT_EQ(drawn.Shown(), (Lines{"......", ".####.", ".#..#.", ".####."}));

    // Shapes start inside the picture; the pencil and the fill drag none.
    session.DragShape({-1, 0}, {3, 3}, false);
    session.SetTool(Tool::Pencil);
    session.DragShape({0, 0}, {3, 3}, false);
    session.EndStroke();
    EXPECT_EQ(drawn.Steps(), 2);
    EXPECT_TRUE(session.Steps().CanRedo()) << "nothing was drawn to drop the step undone";
}

TEST(ToolSession, ShapesDrawSetDotsWhereverTheyStart)
{
    DrawnSession drawn({"##..", "##..", "...."});
    drawn.session.SetTool(Tool::Rectangle);
    drawn.session.SetFilledShapes(true);
    drawn.session.DragShape({0, 0}, {2, 1}, false);
    EXPECT_EQ(drawn.Shown(), (Lines{"###.", "###.", "...."}));
}

TEST(ToolSession, AFillIsOneStepAndNothingOutsideThePicture)
{
    DrawnSession drawn({"####.", "#..#.", "####."});
    drawn.session.Fill({1, 1});
    EXPECT_EQ(drawn.Shown(), (Lines{"####.", "####.", "####."}));
    drawn.session.Fill({0, 0});
    EXPECT_EQ(drawn.Steps(), 2) << "a set region filled with set dots is no step";
    drawn.session.SetToolColour(DotState::Clear);
    drawn.session.Fill({0, 0});
    EXPECT_EQ(drawn.Shown(), (Lines{".....", ".....", "....."}))
        << "the colour swapped, a fill of a set region clears it";
    drawn.session.Fill({5, 0});
    EXPECT_EQ(drawn.Steps(), 3);
    drawn.session.Undo();
    drawn.session.Undo();
    EXPECT_EQ(drawn.Shown(), (Lines{"####.", "#..#.", "####."}));
}

TEST(ToolSession, ASelectionDraggedOffTheEdgeComesBackWhole)
{
    DrawnSession drawn({"##....", "#.....", "......", "......"});
    EditSession &session = drawn.session;
    session.SelectCells({1, 1}, {0, 0});
    ASSERT_EQ(session.Selection(), (CellRect{{0, 0}, {2, 2}}));
    session.DragSelection(5, 1);
    EXPECT_EQ(drawn.Shown(), (Lines{"......", ".....#", ".....#", "......"}));
    session.DragSelection(3, 2);
    EXPECT_EQ(drawn.Shown(), (Lines{"......", "......", "...##.", "...#.."}));
    session.EndStroke();
    EXPECT_EQ(drawn.Steps(), 2) << "a whole drag is one step";
    EXPECT_EQ(session.Selection(), (CellRect{{3, 2}, {2, 2}}));
    EXPECT_EQ(Rows(*session.SelectedDots()), (Lines{"##", "#."}));

    session.DragSelection(1, -2); // a second drag goes on from where the first left it
    session.EndStroke();
    EXPECT_EQ(drawn.Shown(), (Lines{"....##", "....#.", "......", "......"}));
    EXPECT_EQ(drawn.Steps(), 3);

    session.Undo();
    EXPECT_EQ(drawn.Shown(), (Lines{"......", "......", "...##.", "...#.."}));
    EXPECT_FALSE(session.Selection()) << "Undo lets the selection go";
    session.SelectAll();
    session.Redo();
    EXPECT_FALSE(session.Selection());
}

TEST(ToolSession, DeleteFlipAndTurnActOnTheSelectionEachAStep)
{
    DrawnSession drawn({"#.....", "......", "...###", "...#.."});
    EditSession &session = drawn.session;
    session.SelectCells({3, 2}, {5, 3});
    EXPECT_EQ(session.Apply(Transform::FlipHorizontally), "");
    EXPECT_EQ(drawn.Shown(), (Lines{"#.....", "......", "...###", ".....#"}));
    // Turned at the bottom edge, the 3 x 2 selection is 2 x 3, and its last row waits below the picture.
    EXPECT_EQ(session.Apply(Transform::RotateClockwise), "");
    EXPECT_EQ(Rows(*session.SelectedDots()), (Lines{".#", ".#", "##"}));
    EXPECT_EQ(drawn.Shown(), (Lines{"#.....", "......", "....#.", "....#."}));
    session.DragSelection(0, -1);
    session.EndStroke();
    EXPECT_EQ(drawn.Shown(), (Lines{"#.....", "....#.", "....#.", "...##."}));
    EXPECT_EQ(drawn.Steps(), 4);

    session.DeleteSelection();
    EXPECT_EQ(drawn.Shown(), (Lines{"#.....", "......", "......", "......"}));
    EXPECT_EQ(session.Selection(), (CellRect{{3, 1}, {2, 3}})) << "the selection stays, empty";
    EXPECT_EQ(drawn.Steps(), 5);
    for (int step = 0; step < 4; ++step)
        session.Undo();
    EXPECT_EQ(drawn.Shown(), (Lines{"#.....", "......", "...###", "...#.."}));
}

TEST(ToolSession, APasteLandsInsideThePictureSelectedOrIsRefusedWhenLarger)
{
    DrawnSession drawn({"....#", ".....", "....."});
    EditSession &session = drawn.session;
    EXPECT_EQ(session.PasteAt(Drawn({"##", "#."}), {1, 1}), "");
    EXPECT_EQ(drawn.Shown(), (Lines{"....#", ".##..", ".#..."}));
    EXPECT_EQ(session.Selection(), (CellRect{{1, 1}, {2, 2}}));
    session.DragSelection(-1, -1);
    session.EndStroke();
    EXPECT_EQ(drawn.Shown(), (Lines{"##..#", "#....", "....."})) << "the paste moves, the picture under it stays";

    EXPECT_EQ(session.PasteAt(Drawn({"##", "##"}), {4, 9}), "");
    EXPECT_EQ(session.Selection(), (CellRect{{3, 1}, {2, 2}})) << "kept inside, so that all of it shows";
    EXPECT_EQ(drawn.Steps(), 4);

    EXPECT_EQ(session.PasteAt(Dots({6, 1}), {0, 0}), FilledText(TextId::PasteTooLarge, {"6 x 1", "5 x 3"}));
    EXPECT_EQ(drawn.Steps(), 4);
}

TEST(ToolSession, AnythingElseEndsADragAsAStepOfItsOwn)
{
    DrawnSession drawn({"##....", "##....", "......"});
    EditSession &session = drawn.session;
    session.SetTool(Tool::Line);
    session.SelectCells({0, 0}, {1, 1});
    session.DragSelection(2, 0);
    session.DragShape({0, 2}, {5, 2}, false); // the move is left unended
    session.Paint(std::vector<int>{0}, DotState::Set);
    session.EndStroke();
    EXPECT_EQ(drawn.Shown(), (Lines{"#.##..", "..##..", "######"}));
    EXPECT_EQ(drawn.Steps(), 4) << "the move, the line and the pencil's dot";
    session.Undo();
    session.Undo();
    EXPECT_EQ(drawn.Shown(), (Lines{"..##..", "..##..", "......"}));

    session.SetTool(Tool::Rectangle);
    session.DragShape({0, 0}, {1, 1}, false);
    session.Undo(); // ends the box, then takes it back
    EXPECT_EQ(drawn.Shown(), (Lines{"..##..", "..##..", "......"}));
    EXPECT_TRUE(session.Steps().CanRedo());
}

TEST(ToolSession, TheSelectionCopiesAsAnArrayOfItsOwn)
{
    EditSession session;
    session.ToggleDot(5);
    session.ToggleDot(40);
    session.SelectAll();
    EXPECT_EQ(session.SelectionArrayText(), session.ArrayText()) << "at 16 x 16, the module's array of the picture";

    DrawnSession wide({"#.......", ".#......", "..#.....", "...#...."});
    wide.session.SelectCells({1, 1}, {3, 3});
    EditSession alone;
    ASSERT_EQ(alone.TakeDots("Paste", Drawn({"#..", ".#.", "..#"})), "");
    EXPECT_EQ(wide.session.SelectionArrayText(), alone.ArrayText()) << "as SSD1306 pages, named as the picture";
    wide.session.SelectNone();
    EXPECT_EQ(wide.session.SelectionArrayText(), "");
}

TEST(ToolSession, NewPictureReplacesTheWorkAsOneStep)
{
    EditSession session;
    session.ToggleDot(3);
    session.AddPicture();
    const Document work = session.Doc();
    EXPECT_EQ(session.NewPicture({128, 64}), "");
    ASSERT_EQ(session.Doc().pictures.size(), 1U);
    EXPECT_EQ(session.Doc().Edited().dots, Dots({128, 64}));
    EXPECT_TRUE(session.IsClean()) << "nothing drawn on it yet is lost";
    EXPECT_EQ(session.NewPicture({0, 64}), FilledText(TextId::SizeOutOfRange, {"1024", "0 x 64"}));
    session.Undo();
    EXPECT_EQ(session.Doc(), work);
    EXPECT_FALSE(session.IsClean());
}

TEST(ToolSession, BytesThatSayNoSizeArePastedAtTheDisplaySizeChosen)
{
    EditSession drawing;
    ASSERT_EQ(drawing.NewPicture({128, 64}), "");
    drawing.SetTool(Tool::Rectangle);
    drawing.DragShape({2, 2}, {60, 40}, false);
    drawing.SetTool(Tool::Ellipse);
    drawing.DragShape({70, 5}, {120, 60}, false);
    drawing.EndStroke();
    std::string code = "const unsigned char splash[] = {";
    for (const std::uint8_t byte : SizedLayoutBytes(drawing.Grid(), BitLayout::Pages))
        code += std::to_string(byte) + ",";
    code += "};";
    const Incoming pasted{false, {}, code, LcdType::Column};

    const Routed asked = RouteIncoming(pasted);
    ASSERT_GE(asked.candidates.size(), 2U);
    const LayoutChoice &likeliest = asked.candidates.front();
    EXPECT_EQ(likeliest.size, (PictureSize{128, 64}));
    EXPECT_NE(std::find(likeliest.layouts.begin(), likeliest.layouts.end(), BitLayout::Pages), likeliest.layouts.end());
    EXPECT_TRUE(std::any_of(asked.candidates.begin(), asked.candidates.end(), [](const LayoutChoice &choice) {
        return choice.size == PictureSize{64, 128};
    }));
    EXPECT_EQ(asked.dots, drawing.Grid().AllDots()) << "the likeliest reading until the user answers";

    const Routed chosen = RouteIncoming(pasted, BitLayout::Pages, PictureSize{128, 64});
    EXPECT_EQ(chosen.dots, drawing.Grid().AllDots());
    EXPECT_TRUE(chosen.candidates.empty());
    const Routed sideways = RouteIncoming(pasted, BitLayout::Rows, PictureSize{64, 128});
    ASSERT_TRUE(sideways.dots);
    EXPECT_EQ(sideways.dots->Size(), (PictureSize{64, 128}));
    EXPECT_EQ(RouteIncoming(pasted, BitLayout::Pages).dots, drawing.Grid().AllDots())
        << "a layout alone: its likeliest size";
}
