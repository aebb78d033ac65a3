#include "core/session/EditSession.h"
#include "RandomPicture.h"
#include "TempDir.h"
#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/code/CodeReader.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/session/Incoming.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

using namespace tessaldo;

namespace {

// What code --format raw writes.
std::string Raw(const DotGrid &grid)
{
    const ModuleBytes bytes = PictureModuleBytes(grid);
    return {bytes.begin(), bytes.end()};
}

int SetDots(const EditSession &session)
{
    return static_cast<int>(
        std::count(session.Doc().Edited().dots.begin(), session.Doc().Edited().dots.end(), DotState::Set));
}

} // namespace

TEST(EditSessionTest, HistoryKeepsTenThousandStepsAndDropsTheOldest)
{
    EditSession session;
    int announced = 0;
    session.Subscribe([&] { ++announced; });
    for (int step = 0; step <= History::kSteps; ++step)
        session.ToggleDot(step % kDotCount);
    EXPECT_EQ(announced, History::kSteps + 1);
    EXPECT_EQ(session.Steps().Count(), History::kSteps);
    while (session.Steps().CanUndo())
        session.Undo();
    // The first step is gone: dot 0 stays as it set it.
    EXPECT_EQ(SetDots(session), 1);
    EXPECT_TRUE(session.Doc().Grid().IsSet(0));
    session.Redo();
    EXPECT_EQ(session.Steps().Index(), 1);
    EXPECT_TRUE(session.Doc().Grid().IsSet(1));
}

TEST(EditSessionTest, StepsThatChangeNothingAreNoSteps)
{
    EditSession session;
    session.New();
    session.SetType(LcdType::Column);
    session.Apply(Transform::ShiftUp);
    session.TakeDots("Paste", {});
    session.Paint(std::vector<int>{4}, DotState::Clear);
    EXPECT_TRUE(session.IsClean());
    session.EndStroke();
    EXPECT_EQ(session.Steps().Count(), 0);
}

TEST(EditSessionTest, AStrokeIsOneStepEndedByWhateverComesNext)
{
    EditSession session;
    session.Paint(std::vector<int>{1, 2}, DotState::Set);
    session.Paint(std::vector<int>{3}, DotState::Set);
    EXPECT_EQ(SetDots(session), 3);
    EXPECT_EQ(session.Steps().Count(), 0);
    session.SetType(LcdType::Row);
    EXPECT_EQ(session.Steps().Count(), 2);
    session.Undo();
    session.Undo();
    EXPECT_EQ(session.Doc(), Document{});
}

TEST(EditSessionTest, CleanIsThePictureLastStartedWithSavedOrOpened)
{
    EditSession session;
    EXPECT_TRUE(session.IsClean());
    session.ToggleDot(1);
    EXPECT_FALSE(session.IsClean());
    session.ToggleDot(1);
    EXPECT_TRUE(session.IsClean()) << "judged by the picture, not by the steps that led to it";
    session.ToggleDot(1);
    session.PictureSaved();
    session.Paint(std::vector<int>{9}, DotState::Set);
    EXPECT_FALSE(session.IsClean()); // a drag not yet ended is a change too
    session.EndStroke();
    session.Undo();
    EXPECT_TRUE(session.IsClean());

    Drawing drawing;
    drawing.dots[5] = DotState::Set;
    session.Open(drawing);
    EXPECT_TRUE(session.IsClean());
    session.New(); // the opened picture is still what a file holds; the cleared one is not
    EXPECT_FALSE(session.IsClean());
    session.Undo();
    EXPECT_TRUE(session.IsClean());
    EXPECT_TRUE(session.Doc().Grid().IsSet(5));
}

TEST(EditSessionTest, CommandsAreListedOnceWithTheirKeysAndState)
{
    std::set<std::string_view> keys;
    for (const EditorCommand &command : EditorCommands()) {
        for (const std::string_view key : command.keys)
            EXPECT_TRUE(key.empty() || keys.insert(key).second) << key;
    }
    EXPECT_EQ(EditorCommands().size(), 72U);
    EXPECT_EQ(CommandWithId(CommandId::Redo).keys[1], "Ctrl+Y");
    // The page calls each command by its enumerator's name.
    std::set<std::string_view> names;
    for (const EditorCommand &command : EditorCommands())
        EXPECT_TRUE(names.insert(CommandName(command.id)).second) << CommandName(command.id);
    EXPECT_EQ(CommandName(CommandId::RotateCounterclockwise), "RotateCounterclockwise");
    EXPECT_EQ(CommandName(CommandId::SaveSetAsFolder), "SaveSetAsFolder");
    const auto onlyOnPage = [](const EditorCommand &command) { return !command.OfferedBy(Face::Window); };
    const auto pageOnly = std::find_if(EditorCommands().begin(), EditorCommands().end(), onlyOnPage);
    ASSERT_NE(pageOnly, EditorCommands().end());
    EXPECT_EQ(pageOnly->id, CommandId::CopyLink);
    EXPECT_TRUE(pageOnly->OfferedBy(Face::Page));
    EXPECT_EQ(std::count_if(EditorCommands().begin(), EditorCommands().end(), onlyOnPage), 1);
    // The tool bar's commands stand in the window's menu bar alone.
    const auto menuBarOnly = [](const EditorCommand &command) {
        return !command.InGridMenu() && command.OfferedBy(Face::Window) && !command.OfferedBy(Face::Page);
    };
    EXPECT_EQ(std::count_if(EditorCommands().begin(), EditorCommands().end(), menuBarOnly), 7);
    EXPECT_TRUE(CommandWithId(CommandId::Undo).InGridMenu());
    // Each command is either the session's or the face's, never both nor neither.
    EditSession every;
    for (const EditorCommand &command : EditorCommands())
        EXPECT_NE(every.Perform(command.id), IsCarriedOutByFace(command.id)) << CommandName(command.id);

    EditSession session;
    EXPECT_FALSE(session.IsEnabled(CommandId::Undo, true));
    EXPECT_FALSE(session.IsEnabled(CommandId::Redo, true));
    EXPECT_FALSE(session.IsEnabled(CommandId::Paste, false));
    EXPECT_TRUE(session.IsEnabled(CommandId::Paste, true));
    EXPECT_TRUE(session.Perform(CommandId::Invert));
    EXPECT_EQ(SetDots(session), kDotCount);
    EXPECT_TRUE(session.IsEnabled(CommandId::Undo, false));
    EXPECT_TRUE(session.Perform(CommandId::Undo));
    EXPECT_TRUE(session.IsEnabled(CommandId::Redo, false));
    EXPECT_FALSE(session.IsEnabled(CommandId::Undo, false));
    EXPECT_FALSE(session.Perform(CommandId::Paste));
    EXPECT_EQ(SetDots(session), 0);

    // The forms of "Copy as C Array": one checked at a time, the module's until another is chosen.
    const auto checkedForms = [&session] {
        std::string checked;
        for (const CommandId id :
             {CommandId::ModuleArrayForm, CommandId::XbmArrayForm, CommandId::GfxArrayForm, CommandId::PagesArrayForm})
            checked += session.IsChecked(id) ? '1' : '0';
        return checked;
    };
    EXPECT_EQ(checkedForms(), "1000");
    EXPECT_EQ(session.ArrayText(), CArray({session.Grid(), "picture", "the Tessaldo window"}));
    EXPECT_TRUE(session.Perform(CommandId::GfxArrayForm));
    EXPECT_EQ(checkedForms(), "0010");
    EXPECT_NE(session.ArrayText().find("drawBitmap(x, y, picture, picture_WIDTH"), std::string::npos);
    EXPECT_FALSE(session.IsChecked(CommandId::CopyAsCArray));
    EXPECT_EQ(session.RenamePicture(0, "wifi"), "");
    EXPECT_NE(session.ArrayText().find("drawBitmap(x, y, wifi, wifi_WIDTH"), std::string::npos) << "its own name";
    EXPECT_EQ(ArrayFormFromName("pages"), CodeFormat::Pages);
    EXPECT_EQ(ArrayFormFromName("raw"), std::nullopt); // remembered by no face, taken by none
}

TEST(EditSessionTest, EachCommandStandsInAMenuOfTheMenuBarWithItsPlatformKey)
{
    struct Case {
        CommandId id;
        TopMenu menu;
        StandardKey key;
    };
    const Case cases[] = {
        {CommandId::NewPicture, TopMenu::File, StandardKey::New},
        {CommandId::Open, TopMenu::File, StandardKey::Open},
        {CommandId::SaveAs, TopMenu::File, StandardKey::SaveAs},
        {CommandId::Exit, TopMenu::File, StandardKey::Quit},
        {CommandId::Run, TopMenu::Edit, StandardKey::None},
        {CommandId::About, TopMenu::Help, StandardKey::None},
        {CommandId::SaveSetAs, TopMenu::File, StandardKey::None},
        {CommandId::Undo, TopMenu::Edit, StandardKey::Undo},
        {CommandId::Redo, TopMenu::Edit, StandardKey::Redo},
        {CommandId::CopyAsCArray, TopMenu::Edit, StandardKey::None},
        {CommandId::ZoomIn, TopMenu::View, StandardKey::ZoomIn},
        {CommandId::ZoomOut, TopMenu::View, StandardKey::ZoomOut},
        {CommandId::RotateClockwise, TopMenu::Picture, StandardKey::None},
        {CommandId::MoveLater, TopMenu::Picture, StandardKey::None},
        {CommandId::FillTool, TopMenu::Tools, StandardKey::None},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CommandWithId(c.id).menu, c.menu) << CommandName(c.id);
        EXPECT_EQ(CommandWithId(c.id).standardKey, c.key) << CommandName(c.id);
    }
    std::set<StandardKey> keys;
    for (const EditorCommand &command : EditorCommands())
        EXPECT_TRUE(command.standardKey == StandardKey::None || keys.insert(command.standardKey).second)
            << CommandName(command.id);
    EXPECT_EQ(TopMenuCaption(TopMenu::Picture), "Picture");
}

TEST(EditSessionTest, IncomingIsAnImageThenAFileThenCode)
{
    EXPECT_EQ(RouteIncoming({true, "a.Lcd", "0x01"}).kind, IncomingKind::Image);
    EXPECT_EQ(RouteIncoming({false, "C:\\x\\A.LCD", "0x01"}).kind, IncomingKind::DrawingFile);
    EXPECT_EQ(RouteIncoming({false, "lcd", {}}).kind, IncomingKind::ImageFile);
    EXPECT_EQ(RouteIncoming({false, "a.lcd.png", {}}).kind, IncomingKind::ImageFile);
    EXPECT_EQ(RouteIncoming({false, "icons.H", "0x01"}).kind, IncomingKind::SourceFile);
    EXPECT_EQ(RouteIncoming({false, "code.txt", {}}).kind, IncomingKind::SourceFile);
    EXPECT_TRUE(IsSourceFileName("icons.H") && IsSourceFileName("main.cpp") && IsSourceFileName("blink.ino")
                && IsSourceFileName("code.TXT"));
    EXPECT_FALSE(IsSourceFileName("h") || IsSourceFileName("a.hex") || IsSourceFileName("a.c.png"));

    const Routed nothing = RouteIncoming({});
    EXPECT_FALSE(nothing.Takes());
    EXPECT_EQ(CannotPaste(nothing), "Cannot paste: the clipboard holds no image, file or code.");

    const Routed bad = RouteIncoming({false, {}, "0x01, 0x02"});
    EXPECT_EQ(bad.kind, IncomingKind::Code);
    EXPECT_FALSE(bad.Takes());
    EXPECT_EQ(CannotPaste(bad), "Cannot paste: found 2 values; a picture is 32 values, or 33 beginning with 0xA4.");

    EditSession session;
    session.ToggleDot(17);
    const Routed code = RouteIncoming({false, {}, session.Run()});
    ASSERT_TRUE(code.Takes());
    EXPECT_EQ(*code.dots, session.Doc().Edited().dots);

    const Routed icons = RouteIncoming({false, {}, "char a[32] = {0}; char A[32] = {1}; char b[33] = {0xA4};"});
    ASSERT_TRUE(icons.Takes());
    session.CopyPicture();
    EXPECT_EQ(session.TakePictures("Paste", icons.pictures),
              "Names in a set differ in more than case, so a is now a_2.");
    ASSERT_EQ(session.Doc().pictures.size(), 4U) << "the edited picture gives its place to the three";
    EXPECT_EQ(session.Doc().pictures[1].name, "a_2");
    EXPECT_EQ(session.Doc().pictures[2].name, "A");
    EXPECT_EQ(session.Doc().pictures[2].dots[0], DotState::Set);
}

TEST(EditSessionTest, TheCopyKeyRunsFirstOnStaleCodeAndCopiesNothingFromAnEmptyBox)
{
    EditSession session;
    const std::string blank = session.Run();
    EXPECT_EQ(session.CopyByKey(blank).text, blank);
    EXPECT_EQ(session.CopyByKey(blank).note, "");
    session.ToggleDot(9);
    const EditSession::KeyCopy ran = session.CopyByKey(blank);
    EXPECT_EQ(ran.text, LCDtoCODE(session.Grid()));
    EXPECT_NE(ran.note.find("run first"), std::string::npos) << ran.note;
    EXPECT_FALSE(session.CodeIsStale());
    session.ForgetCode(); // the code moved out, the box emptied
    const EditSession::KeyCopy none = session.CopyByKey("");
    EXPECT_EQ(none.text, "");
    EXPECT_NE(none.note.find("press Run"), std::string::npos) << none.note;
}

TEST(EditSessionTest, CodeIsStaleWhileThePictureDiffersFromTheOneRunMadeItFrom)
{
    EditSession session;
    session.ToggleDot(1);
    EXPECT_FALSE(session.CodeIsStale());
    session.Run();
    session.ToggleDot(2);
    EXPECT_TRUE(session.CodeIsStale());
    session.SetType(LcdType::Row); // the type does not change the code's bytes
    session.Undo();
    EXPECT_TRUE(session.CodeIsStale());
    session.Undo();
    EXPECT_FALSE(session.CodeIsStale());
    session.Paint(std::vector<int>{7}, DotState::Set);
    EXPECT_TRUE(session.CodeIsStale());
    session.ForgetCode();
    EXPECT_FALSE(session.CodeIsStale());
    session.Run();
    session.New();
    session.Undo();
    EXPECT_FALSE(session.CodeIsStale());
}

TEST(EditSessionTest, EverySetChangeUndoesAndRedoesExactly)
{
    EditSession session;
    std::mt19937 random(7);
    std::vector<Document> shown{session.Doc()};
    for (int step = 0; step < 400; ++step) {
        const std::size_t count = session.Doc().pictures.size();
        switch (random() % 8) {
        case 0:
            session.AddPicture();
            break;
        case 1:
            session.CopyPicture();
            break;
        case 2:
            session.DeletePicture();
            break;
        case 3:
            session.MovePicture(random() % count, random() % count);
            break;
        case 4:
            session.RenamePicture(random() % count, "p" + std::to_string(random() % 50));
            break;
        case 5:
            session.SetDelay(random() % count, static_cast<int>(1 + random() % 500));
            break;
        case 6:
            session.Select(random() % count);
            session.ToggleDot(static_cast<int>(random() % kDotCount));
            break;
        default:
            session.SetType(random() % 2 ? LcdType::Row : LcdType::Column);
        }
        if (session.Steps().Index() == static_cast<int>(shown.size()))
            shown.push_back(session.Doc());
    }
    ASSERT_GT(shown.size(), 300U);
    for (std::size_t back = shown.size() - 1; back > 0; --back) {
        session.Undo();
        ASSERT_TRUE(session.Doc().SameSet(shown[back - 1])) << back;
    }
    while (session.Steps().CanRedo())
        session.Redo();
    EXPECT_TRUE(session.Doc().SameSet(shown.back()));
}

TEST(EditSessionTest, ASetKeepsUniqueNamesDelaysInRangeAndItsLastPicture)
{
    EditSession session;
    session.DeletePicture();
    EXPECT_EQ(session.Doc().pictures.size(), 1U);
    session.CopyPicture();
    session.CopyPicture();
    EXPECT_EQ(session.Doc().pictures[2].name, "picture_3");
    EXPECT_EQ(session.Doc().current, 2U);
    EXPECT_NE(session.RenamePicture(0, "Picture_2"), "");
    EXPECT_NE(session.RenamePicture(0, "2x"), "");
    EXPECT_NE(session.RenamePicture(0, "int"), "");
    EXPECT_EQ(session.RenamePicture(0, "Arrow"), "");
    EXPECT_EQ(session.RenamePicture(0, "arrow"), "") << "its own name again, in other case";
    EXPECT_NE(session.SetDelay(0, -1), "");
    EXPECT_NE(session.SetDelay(0, 65'536), "") << "more than the header's unsigned short holds";
    EXPECT_EQ(session.SetDelay(0, 65'535), "");
    session.Select(0);
    EXPECT_FALSE(session.IsEnabled(CommandId::MoveEarlier, false));
    EXPECT_TRUE(session.Perform(CommandId::MoveLater));
    EXPECT_EQ(session.Doc().current, 1U);
    EXPECT_EQ(session.Doc().Edited().name, "arrow");
    EXPECT_FALSE(session.Perform(CommandId::Play)) << "the window's or page's timer plays";
}

TEST(EditSessionTest, AFileOfOnePictureIsACleanPointOnlyForASetOfOne)
{
    EditSession session;
    session.AddPicture();
    session.Open(Drawing{});
    session.PictureSaved();
    EXPECT_FALSE(session.IsClean()) << "the set of two is saved nowhere";
    session.SetSaved();
    session.Select(0); // looking at another picture changes nothing to save
    EXPECT_TRUE(session.IsClean());
    EXPECT_FALSE(session.OnionDots());
    session.ToggleDot(3);
    session.Perform(CommandId::NextPicture);
    session.Perform(CommandId::OnionSkin);
    ASSERT_TRUE(session.OnionDots());
    EXPECT_EQ((*session.OnionDots())[3], DotState::Set);
    session.SetPlaying(true);
    EXPECT_FALSE(session.OnionDots()) << "playing shows what the module would";
    session.SetDelay(0, 0);
    session.SetPlaying(true);
    EXPECT_EQ(session.ShowNextFrame(), kShortestShownMs);
    EXPECT_EQ(session.Doc().current, 0U) << "from the last picture to the first";
    session.ToggleDot(4);
    EXPECT_FALSE(session.IsPlaying()) << "an edit stops the play where the user sees it";
}

TEST(SetFilesTest, SourcesOpenAsSetsUpToTheirSizeLimitAndOnlyOwnHeadersAreWrittenOver)
{
    const TempDir dir;
    const auto mine = dir.Write("mine.h", "static const unsigned char a[33] = {0xA4};\n"
                                          "static const unsigned char b[33] = {0xA4, 1};\n");
    const SetFile read = ReadSetFile(mine, LcdType::Row);
    ASSERT_TRUE(read.set);
    EXPECT_EQ(read.set->pictures.size(), 2U);
    EXPECT_EQ(read.set->type, LcdType::Row);
    EXPECT_FALSE(read.ownHeader);
    EXPECT_FALSE(HeaderMayReplace(mine));
    EXPECT_TRUE(HeaderMayReplace(dir / "new.h"));
    EXPECT_TRUE(HeaderMayReplace(dir.Write("empty.h", "")));

    const auto huge = dir.Write("huge.c", std::string(kMaxSourceBytes + 1, ' '));
    EXPECT_EQ(ReadSetFile(huge, LcdType::Column).status.message(),
              "Cannot open \"" + huge.string() + "\": it is larger than 16 MiB.");
    // Judged by the size alone, as the page does before it reads a file.
    EXPECT_TRUE(CheckSourceSize(huge, kMaxSourceBytes));
    EXPECT_EQ(CheckSourceSize(huge, kMaxSourceBytes + 1).message(),
              ReadSetFile(huge, LcdType::Column).status.message());
    EXPECT_FALSE(ReadSetFile(dir.Write("none.c", "int x;"), LcdType::Column).set);
}

// Code that tells its layout is pasted in it; 32 bare values ask which of
// their readings they are, in the grid's type, unless every reading is one.
TEST(EditSessionTest, OnlyValuesThatDoNotTellTheirLayoutOfferTheirReadings)
{
    const DotGrid box = FilledBox(LcdType::Row, {3, 4}, {10, 11});
    const std::string bare = ValueList(LayoutBytes(box, BitLayout::Rows));
    const auto route = [](const std::string &text) { return RouteIncoming({false, {}, text, LcdType::Row}); };

    const Routed asked = route(bare);
    ASSERT_TRUE(asked.Takes());
    ASSERT_EQ(asked.candidates.size(), 3U);
    EXPECT_EQ(asked.candidates.front().layouts, std::vector{BitLayout::Rows});
    EXPECT_EQ(asked.candidates.front().shown, std::vector{box.AllDots()});
    EXPECT_EQ(*asked.dots, DotsFromLayoutBytes(LayoutBytes(box, BitLayout::Rows), BitLayout::Module, box.nLCDType()))
        << "as ever, the module's";
    const Routed answered = RouteIncoming({false, {}, bare, LcdType::Row}, BitLayout::Rows);
    EXPECT_TRUE(answered.candidates.empty());
    EXPECT_EQ(*answered.dots, box.AllDots());

    for (const std::string &told : {LCDtoCODE(box), CArray({box, "box", ""}), XbmText(box, "box"), Raw(box)}) {
        const Routed known = route(told);
        EXPECT_TRUE(known.candidates.empty()) << told;
        EXPECT_EQ(*known.dots, box.AllDots()) << told;
    }
    EXPECT_TRUE(route("char a[32] = {0};").candidates.empty()) << "a blank picture reads alike in every layout";
    EXPECT_TRUE(
        route("#define icon_width 16\n#define icon_height 8\nchar icon_bits[] = {" + bare + "};").candidates.size() > 1)
        << "no X BitMap of 16 x 16";
}

// Several arrays that say no layout, pasted or opened as a set, are asked
// about once for all of them, and read as answered; those that say theirs keep it.
TEST(EditSessionTest, ArraysThatDoNotTellTheirLayoutAreAskedAboutOnceForAll)
{
    const DotGrid wide = FilledBox(LcdType::Row, {2, 5}, {13, 7});
    const DotGrid tall = FilledBox(LcdType::Row, {6, 1}, {8, 14});
    const std::string told = CArray({tall, "told", ""});
    const std::string text = "const unsigned char wide[] = {" + ValueList(LayoutBytes(wide, BitLayout::Rows))
                             + "};\nconst unsigned char tall[] = {" + ValueList(LayoutBytes(tall, BitLayout::Rows))
                             + "};\n" + told;

    const Routed pasted = RouteIncoming({false, {}, text, LcdType::Row});
    ASSERT_FALSE(pasted.candidates.empty());
    EXPECT_EQ(pasted.candidates.front().layouts, std::vector{BitLayout::Rows});
    EXPECT_EQ(pasted.candidates.front().shown, (std::vector{wide.AllDots(), tall.AllDots()}));
    const Routed answered = RouteIncoming({false, {}, text, LcdType::Row}, BitLayout::Rows);
    ASSERT_EQ(answered.pictures.size(), 3U);
    EXPECT_EQ(answered.pictures.at(0).dots, wide.AllDots());
    EXPECT_EQ(answered.pictures.at(2).dots, tall.AllDots());

    const SetReading opened = ReadSet(text, LcdType::Row);
    ASSERT_TRUE(opened.set);
    EXPECT_EQ(opened.choices.size(), pasted.candidates.size());
    const SetReading read = ReadSet(text, LcdType::Row, {}, BitLayout::Rows);
    EXPECT_TRUE(read.choices.empty());
    EXPECT_EQ(read.set->pictures.at(1).dots, tall.AllDots());
}

// Names are C identifiers of at most the 63 characters C tells apart: a
// longer one is refused by Rename, and refuses Save Set as Folder before any
// file is written; a file's long name is cut to it.
TEST(EditSessionTest, NamesLongerThanCTellsApartAreRefusedBeforeAnythingIsWritten)
{
    EditSession session;
    EXPECT_NE(session.RenamePicture(0, std::string(kMaxNameLength + 1, 'a')), "");
    EXPECT_EQ(session.RenamePicture(0, std::string(kMaxNameLength, 'a')), "");

    TempDir dir;
    Document set;
    set.pictures = {{"first", 100, {}}, {std::string(300, 'b'), 100, {}}};
    const FileStatus saved = SaveSetFolder(set, dir / "set", ReplaceDrawings::Yes);
    EXPECT_NE(saved.message().find("the name '" + std::string(300, 'b') + "' is longer than 63 characters"),
              std::string::npos)
        << saved.message();
    EXPECT_FALSE(std::filesystem::exists(dir / "set" / "first.Lcd"));
    EXPECT_EQ(NameFromFileName(std::string(200, 'c') + ".Lcd"), std::string(kMaxNameLength, 'c'));
}
