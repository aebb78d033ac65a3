#include "core/formats/SetHeader.h"

#include "RandomPicture.h"
#include "TempDir.h"
#include "core/code/CodeFormats.h"
#include "core/formats/DrawingFile.h"

#include <algorithm>

#include <gtest/gtest.h>

using namespace tessaldo;

namespace {

// Names of every kind a set may hold: cases, digits, underscores, prefixes of one another.
Document RandomSet(std::mt19937 &random, PictureSize size = kModuleSize)
{
    static const char *const kNames[] = {"arrow", "Arrow_up", "x", "_bell", "b2", "lcd_3", "Wifi", "wifi_off", "a_b_c"};
    Document set;
    set.type = random() % 2 ? LcdType::Row : LcdType::Column;
    set.form = random() % 2 ? SetForm::Frames : SetForm::Pictures;
    set.pictures.clear();
    const int delays = static_cast<int>(random() % 3); // all 100, all alike, each its own
    const int alike = static_cast<int>(random() % 60'000) + 1;
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
        if (random() % 3 == 0 && !set.pictures.empty())
            continue;
        const int delay = delays == 0 ? 100 : delays == 1 ? alike : static_cast<int>(random() % 65'536);
        set.pictures.push_back(
            {kNames[i], delay, IsModuleSize(size) ? RandomGrid(random, set.type).AllDots() : RandomDots(random, size)});
    }
    return set;
}

std::string Data(const std::string &name)
{
    return TempDir::Read(std::filesystem::path(TESSALDO_TEST_DATA) / name);
}

std::string Problem(const Document &set)
{
    return FormatSetHeader(set, std::filesystem::path("icons.h"), "tessaldo-cli header").problem;
}

} // namespace

TEST(SetHeader, ReadingAHeaderBackAndWritingItAgainGivesTheSameSetAndBytes)
{
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        const Document set = RandomSet(random);
        for (const std::optional<std::filesystem::path> &file :
             {std::optional<std::filesystem::path>("out/icons.h"), std::optional<std::filesystem::path>()}) {
            const SetText header = FormatSetHeader(set, file, "tessaldo-cli header x");
            ASSERT_EQ(header.problem, "");
            const SetReading reading = ReadSet(header.text, LcdType::Column);
            ASSERT_TRUE(reading.set) << reading.problem;
            EXPECT_TRUE(reading.ownHeader && reading.typeSaid);
            EXPECT_EQ(*reading.set, set) << header.text;
            EXPECT_EQ(reading.passedOver, 0u) << "the index's own arrays are no pictures passed over";
            EXPECT_EQ(FormatSetHeader(*reading.set, file, "tessaldo-cli header x").text, header.text);
            EXPECT_TRUE(SafeToOverwrite(header.text));
        }
    }
}

// In another display's layout too, whichever way it is read: as this
// program's own header, and as any source once it is changed by hand.
TEST(SetHeader, AHeaderInAnyLayoutReadsBackExactly)
{
    std::mt19937 random(11);
    const std::filesystem::path file("icons.h");
    for (const BitLayout layout : kBitLayouts) {
        for (int round = 0; round < 4; ++round) {
            const Document set = RandomSet(random);
            const SetText header = FormatSetHeader(set, file, "tessaldo-cli header x", std::nullopt, layout);
            ASSERT_EQ(header.problem, "");
            const SetReading reading = ReadSet(header.text, LcdType::Column);
            ASSERT_TRUE(reading.set) << reading.problem;
            EXPECT_TRUE(reading.ownHeader && SafeToOverwrite(header.text));
            EXPECT_EQ(reading.layout, layout);
            EXPECT_EQ(*reading.set, set) << header.text;
            EXPECT_EQ(FormatSetHeader(set, file, "tessaldo-cli header x", std::nullopt, layout).text, header.text);
            const SetReading edited = ReadSet(header.text + "/* mine */\n", LcdType::Column);
            ASSERT_TRUE(edited.set) << edited.problem;
            EXPECT_FALSE(edited.ownHeader || SafeToOverwrite(header.text + " "));
            EXPECT_EQ(edited.layout, layout);
            EXPECT_EQ(*edited.set, set) << header.text;
        }
    }
}

// Pictures of any size, which share one, in each layout that takes them,
// tiles at 16 x 16 too; the module's layout takes 16 x 16 only.
TEST(SetHeader, ASetOfAnySizeReadsBackExactlyWithItsWidthAndHeight)
{
    std::mt19937 random(34);
    const std::filesystem::path file("icons.h");
    for (const PictureSize size : {PictureSize{8, 8}, kModuleSize, PictureSize{32, 32}, PictureSize{128, 64}}) {
        for (const BitLayout layout : {BitLayout::Xbm, BitLayout::Rows, BitLayout::Pages, BitLayout::Tiles}) {
            const Document set = RandomSet(random, size);
            const SetText header = FormatSetHeader(set, file, "tessaldo-cli header x", std::nullopt, layout);
            ASSERT_EQ(header.problem, "");
            const std::string sizeLines = "#define icons_WIDTH " + std::to_string(size.width)
                                          + "\n#define icons_HEIGHT " + std::to_string(size.height) + "\n";
            EXPECT_EQ(header.text.find(sizeLines) != std::string::npos, !IsModuleSize(size)) << header.text;
            const std::string arrays = "[" + std::to_string(LayoutByteCount(layout, size)) + "] = {";
            EXPECT_NE(header.text.find(arrays), std::string::npos) << header.text;
            const SetReading reading = ReadSet(header.text, LcdType::Column);
            ASSERT_TRUE(reading.set) << reading.problem;
            EXPECT_TRUE(reading.ownHeader && SafeToOverwrite(header.text));
            EXPECT_EQ(reading.layout, layout);
            EXPECT_EQ(*reading.set, set) << header.text;
            EXPECT_EQ(FormatSetHeader(*reading.set, file, "tessaldo-cli header x", std::nullopt, layout).text,
                      header.text);
        }
    }
    Document set = RandomSet(random, {32, 32});
    EXPECT_EQ(Problem(set), "Cannot save \"icons.h\": the module shows 16 x 16 pictures and the set's are 32 x 32; the "
                            "layouts xbm, rows, pages and tiles take any size.");
    set.pictures.push_back({"odd_one", kDefaultDelayMs, RandomDots(random, {32, 16})});
    EXPECT_EQ(FormatSetHeader(set, std::nullopt, "c", std::nullopt, BitLayout::Xbm).problem,
              "Cannot make the header: its pictures are not all of one size: " + set.pictures.front().name
                  + " is 32 x 32, odd_one 32 x 16.");
}

TEST(SetHeader, OnlyAnUnchangedHeaderOfThisProgramIsSafeToOverwrite)
{
    std::mt19937 random(3);
    Document set = RandomSet(random);
    set.form = SetForm::Pictures;
    const std::string header = FormatSetHeader(set, std::filesystem::path("icons.h"), "tessaldo-cli header").text;
    EXPECT_TRUE(SafeToOverwrite(""));
    const std::string touched[] = {header + "int counter;\n", "/* mine */\n" + header,
                                   header.substr(0, header.find("#define icons_COUNT")) + "\n#endif /* ICONS_H */\n"};
    for (const std::string &text : touched) {
        EXPECT_FALSE(SafeToOverwrite(text)) << text;
        EXPECT_EQ(ReadSet(text, LcdType::Column).set->pictures.size(), set.pictures.size()) << "still read";
    }
    // Another program's source: its arrays, in the type the caller says.
    const std::string foreign = CArray({RandomGrid(random, LcdType::Row), "logo", "logo.Lcd"});
    const SetReading other = ReadSet(foreign + "static const char font[3] = {1, 2, 3};", LcdType::Row);
    ASSERT_TRUE(other.set);
    EXPECT_FALSE(other.ownHeader || other.typeSaid || SafeToOverwrite(foreign));
    EXPECT_EQ(other.set->type, LcdType::Row);
    EXPECT_EQ(other.set->pictures.front().name, "logo");
    EXPECT_EQ(other.passedOver, 1u);
    EXPECT_EQ(ReadSet("a[]={1};", LcdType::Column).set, std::nullopt);
    EXPECT_EQ(
        ReadSet(foreign + CArray({RandomGrid(random, LcdType::Row), "logo", "logo.Lcd"}), LcdType::Column).problem,
        "it holds 2 different pictures named logo, in branches of a conditional that the text itself does not "
        "settle");
}

TEST(SetHeader, NamesOfASourceLongerThanCTellsApartAreCutToFitKeptDistinctAndNamed)
{
    std::mt19937 random(5);
    const std::string longer = "icon_" + std::string(70, 'x');
    std::string source;
    for (const std::string &name : {longer + "a", longer + "b", std::string(kMaxNameLength, 'k')})
        source += CArray({RandomGrid(random, LcdType::Column), name, name + ".Lcd"});
    const SetReading reading = ReadSet(source, LcdType::Column);
    ASSERT_TRUE(reading.set) << reading.problem;
    const std::string cut = longer.substr(0, kMaxNameLength);
    const std::vector<Picture> &pictures = reading.set->pictures;
    EXPECT_EQ(pictures.at(0).name, cut);
    EXPECT_EQ(pictures.at(1).name, cut.substr(0, kMaxNameLength - 2) + "_2");
    EXPECT_EQ(pictures.at(2).name, std::string(kMaxNameLength, 'k'));
    EXPECT_EQ(ReadingNote("icons.h", reading),
              "Names in \"icons.h\" longer than 63 characters are cut to fit: " + longer + "a is now " + cut + ", "
                  + longer + "b is now " + pictures.at(1).name + ".");
    for (const std::optional<std::filesystem::path> &file :
         {std::optional<std::filesystem::path>("icons.h"), std::optional<std::filesystem::path>()})
        EXPECT_TRUE(FormatSetHeader(*reading.set, file, "c").problem.empty())
            << FormatSetHeader(*reading.set, file, "c").problem;
}

TEST(SetHeader, WhatTheEarlierVersionWroteIsSafeToOverwriteAndReadsBack)
{
    const SetReading icons = ReadSet(Data("earlier-icons.h"), LcdType::Row);
    ASSERT_TRUE(icons.set);
    EXPECT_TRUE(icons.ownHeader);
    EXPECT_EQ(icons.set->pictures.at(1).name, "Dot_2");
    EXPECT_EQ(icons.set->type, LcdType::Row);
    const SetReading frames = ReadSet(Data("earlier-frames.h"), LcdType::Column);
    ASSERT_TRUE(frames.set);
    EXPECT_EQ(frames.set->form, SetForm::Frames);
    EXPECT_EQ(frames.name, "spin");
    EXPECT_EQ(frames.set->pictures.at(2).delayMs, 40);
    for (const char *file : {"earlier-icons.h", "earlier-frames.h", "earlier-blink.h"}) {
        EXPECT_TRUE(SafeToOverwrite(Data(file))) << file;
        std::string changed = Data(file);
        changed.replace(changed.find("0xA4"), 4, "0xa4");
        EXPECT_FALSE(SafeToOverwrite(changed)) << file;
    }
}

TEST(SetHeader, NamesThatWouldBreakTheCodeOrClashAreRefused)
{
    Document set;
    set.pictures = {{"icons", 100, {}}};
    EXPECT_NE(FormatSetHeader(set, std::filesystem::path("icons.h"), "c").text.find("icons_set[icons_set_COUNT]"),
              std::string::npos);
    // A Korean file name names the set in Latin letters, not after its first picture.
    const std::string korean = FormatSetHeader(set, std::filesystem::path(u8"아이콘.h"), "c").text;
    EXPECT_NE(korean.find("#ifndef AIKON_H\n"), std::string::npos) << korean;
    EXPECT_NE(korean.find("aikon[aikon_COUNT]"), std::string::npos) << korean;
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"Logo", "logo"}, "the names Logo and logo are the same without case"},
        {{"COUNT"},
         "the C name icons_COUNT would stand for a macro of the set and for the index constant of the "
         "picture COUNT"},
        {{"icons_X", "x"}, "the C name icons_X would stand for the array of the picture icons_X and for the index"},
        {{"ICONS_H"}, "would stand for the include guard"},
        {{"class"}, "the name 'class' is a keyword of C or C++"},
        {{"2arrows"}, "the name '2arrows' is no C identifier"},
    };
    for (const auto &[names, problem] : refused) {
        set.pictures.clear();
        for (const std::string &name : names)
            set.pictures.push_back({name, 100, {}});
        EXPECT_NE(Problem(set).find(problem), std::string::npos) << Problem(set);
        EXPECT_EQ(Problem(set).rfind("Cannot save \"icons.h\": ", 0), 0u);
    }
    set.pictures = {{"a", 70'000, {}}};
    EXPECT_NE(Problem(set).find("the delay of a, 70000 ms, is not from 0 to 65535 ms"), std::string::npos);
}

TEST(SetFolder, SavedAndOpenedInNameOrderOrRefusedBeforeAnythingIsWritten)
{
    TempDir dir;
    std::mt19937 random(11);
    Document set;
    set.type = LcdType::Row;
    set.pictures = {{"b", 100, RandomGrid(random, set.type).AllDots()},
                    {"a", 100, RandomGrid(random, set.type).AllDots()}};
    ASSERT_TRUE(SaveSetFolder(set, dir / "set").ok());
    Document opened;
    std::vector<std::filesystem::path> passedOver;
    ASSERT_TRUE(OpenSetFolder(dir / "set", opened, passedOver).ok());
    EXPECT_TRUE(passedOver.empty());
    std::swap(set.pictures[0], set.pictures[1]);
    EXPECT_EQ(opened, set);

    set.pictures.push_back({"A", 100, {}});
    EXPECT_EQ(SaveSetFolder(set, dir / "clash").message(),
              "Cannot save \"" + (dir / "clash").string() + "\": the names a and A would both be the file A.Lcd.");
    EXPECT_FALSE(std::filesystem::exists(dir / "clash"));
    DotGrid column;
    ASSERT_TRUE(SaveFile(column, dir / "set" / "c.Lcd").ok());
    const std::filesystem::path mixed[] = {dir / "set" / "a.Lcd", dir / "set" / "c.Lcd"};
    EXPECT_NE(OpenSetFiles(mixed, opened)
                  .message()
                  .find("it is drawn for type 0 (HLCD112, HLCD114), the files "
                        "before it for type 1 (HLCD154, HLCD168)"),
              std::string::npos);
    EXPECT_EQ(opened.pictures.size(), 2u) << "a refused open leaves the set as it was";
    // What a face takes: the drawings that fit together, the rest named.
    std::vector<std::string> leftOut;
    ASSERT_TRUE(OpenSetFiles(mixed, opened, &leftOut).ok());
    EXPECT_EQ(opened.pictures.size(), 1u);
    ASSERT_EQ(leftOut.size(), 1u);
    EXPECT_EQ(
        LeftOutNote(leftOut).rfind("Left out of the set:\nCannot open \"" + mixed[1].string() + "\": it is drawn", 0),
        0u);
}

TEST(SetFolder, DrawingsThatWouldChangeAreReplacedOnlyWhenToldAndOtherFilesAreNamed)
{
    TempDir dir;
    Document set;
    set.pictures = {{"a", 100, {}}, {"b", 100, {}}, {"c", 100, {}}};
    ASSERT_TRUE(SaveSetFolder(set, dir.path()).ok());
    EXPECT_TRUE(SaveSetFolder(set, dir.path()).ok()) << "the same bytes again replace nothing";
    const std::string before = TempDir::Read(dir / "b.Lcd");
    dir.Write("c.Lcd", before + "\r\n"); // longer, else the same
    set.pictures[1].dots[0] = DotState::Set;
    set.pictures[0].dots[0] = DotState::Set;
    EXPECT_EQ(DrawingsReplaced(set, dir.path()), (std::vector{dir / "a.Lcd", dir / "b.Lcd", dir / "c.Lcd"}));
    EXPECT_EQ(SaveSetFolder(set, dir.path()).message(),
              "Cannot save \"" + dir.path().string()
                  + "\": it already holds drawings the set would replace (a.Lcd, b.Lcd and c.Lcd).");
    EXPECT_EQ(TempDir::Read(dir / "b.Lcd"), before);
    ASSERT_TRUE(SaveSetFolder(set, dir.path(), ReplaceDrawings::Yes).ok());
    EXPECT_TRUE(DrawingsReplaced(set, dir.path()).empty());

    dir.Write("readme.txt", "notes");
    std::filesystem::create_directory(dir / "old");
    Document opened;
    std::vector<std::filesystem::path> passedOver;
    ASSERT_TRUE(OpenSetFolder(dir.path(), opened, passedOver).ok());
    EXPECT_EQ(opened.pictures.size(), 3u);
    EXPECT_EQ(FolderPassedOverNote(dir.path(), passedOver),
              "Passed over in \"" + dir.path().string() + "\": old and readme.txt, which are no drawing files (.Lcd).");
}

TEST(SetHeader, AFolderOfPicturesOfOneSizeOpensWhateverTheirFormatAndOneOfAnotherSizeIsRefused)
{
    TempDir dir;
    Document set;
    set.pictures = {{"a", 100, Dots({8, 3})}, {"b", 100, Dots({8, 3})}};
    set.pictures[1].dots[2] = DotState::Set;
    ASSERT_TRUE(SaveSetFolder(set, dir.path()).ok());
    DotGrid grid;
    grid.SetAllDots(set.pictures[1].dots);
    std::filesystem::rename(dir / "b.pbm", dir / "c.pbm");
    dir.Write("b.xbm", XbmText(grid, "b"));
    Document opened;
    std::vector<std::filesystem::path> passedOver;
    ASSERT_TRUE(OpenSetFolder(dir.path(), opened, passedOver).ok());
    EXPECT_EQ(opened.pictures,
              (std::vector<Picture>{set.pictures[0], set.pictures[1], {"c", 100, set.pictures[1].dots}}));

    dir.Write("d.Lcd", FormatDrawing(DotGrid{}));
    EXPECT_EQ(OpenSetFolder(dir.path(), opened, passedOver).message(),
              "Cannot open \"" + (dir / "d.Lcd").string()
                  + "\": its picture is 16 x 16, the pictures before it 8 x 3.");
    const TempDir empty;
    empty.Write("readme.txt", "notes");
    EXPECT_EQ(OpenSetFolder(empty.path(), opened, passedOver).message(),
              "Cannot open \"" + empty.path().string() + "\": it holds no picture files (.Lcd, .pbm or .xbm).");
}

// Thousands of arrays that are no pictures are not a line each: the first
// few are named, the rest counted, but never one left over that fits.
TEST(SetHeader, PassedOverNamesTheFirstFewAndCountsTheRest)
{
    const auto note = [](int arrays) {
        std::string text;
        for (int i = 0; i < arrays; ++i)
            text += "const unsigned char a" + std::to_string(i) + "[] = {1, 2, 3};\n";
        return PassedOverText("many.h", ReadSet(text, LcdType::Column));
    };
    const std::string many = note(5000);
    EXPECT_EQ(std::count(many.begin(), many.end(), '\n'), 8);
    EXPECT_NE(many.find("\"many.h\": the array a7 on line 8 has 3 values; "), std::string::npos) << many;
    EXPECT_TRUE(many.ends_with("\nPassed over in \"many.h\": 4992 more arrays that are no pictures.")) << many;
    const std::string nine = note(9);
    EXPECT_EQ(std::count(nine.begin(), nine.end(), '\n'), 8);
    EXPECT_TRUE(
        nine.ends_with("the array a8 on line 9 has 3 values; a picture is 32 values, or 33 beginning with 0xA4."))
        << nine;
}
