#include "CliRunner.h"
#include "RandomPicture.h"
#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/formats/DrawingFile.h"
#include "core/model/BitLayout.h"
#include "core/model/Transform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>

using namespace tessaldo;

namespace {

// Dots 0 and 1 set, dot 17 set: in the column layout dot 1 is below dot 0,
// in the row layout to its right.
DotGrid SmallPicture(LcdType type)
{
    DotGrid grid;
    grid.SetLCDType(type);
    grid.SetDot(0, DotState::Set);
    grid.SetDot(1, DotState::Set);
    grid.SetDot(17, DotState::Set);
    return grid;
}

std::string ShowLines(LcdType type, const std::vector<std::string> &firstRows)
{
    std::string text = "type " + std::to_string(LcdTypeValue(type)) + "\n";
    for (int row = 0; row < kGridSide; ++row)
        text += (row < static_cast<int>(firstRows.size()) ? firstRows[row] : std::string(16, '.')) + "\n";
    return text;
}

} // namespace

TEST(CliCode, PrintsExactlyTheRunTextFollowedByCrLf)
{
    TempDir dir;
    const auto file = dir / "picture.Lcd";
    ASSERT_TRUE(SaveFile(SmallPicture(LcdType::Row), file).ok());
    const CliResult result = RunCliProcess({"code", file.string()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, LCDtoCODE(SmallPicture(LcdType::Row)) + "\r\n");
    EXPECT_EQ(result.err, "");
}

TEST(CliCode, LegacyFileLoadsIntoAFreshPicture)
{
    TempDir dir;
    const auto file = dir.Write("old.Lcd", std::string(255, '0') + "\r\n");
    DotGrid expected;
    for (int dot = 0; dot < 255; ++dot)
        expected.SetDot(dot, DotState::Set);
    const CliResult result = RunCliProcess({"code", file.string()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, LCDtoCODE(expected) + "\r\n");
}

// Each library's array compiles as plain C and, drawn by a few lines that
// follow that library's documented bit order rather than this program's, is
// the picture `show` prints: u8g2's drawXBM takes a row's leftmost dot from
// bit 0, Adafruit GFX's drawBitmap from bit 7 (0x80 >> (x & 7)), and a page
// display a byte for a column of eight rows, the top one in D0.
TEST(CliCode, EachLibrarysArrayCompilesAndDrawsThePictureAsTheLibraryReadsIt)
{
#ifdef _WIN32
    GTEST_SKIP() << "the arrays are compiled by gcc through a shell";
#else
    if (std::system("gcc --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no gcc to compile the arrays";
    const std::pair<const char *, const char *> forms[] = {
        {"xbm", "(picture_bits[y * 2 + x / 8] >> (x % 8)) & 1"},
        {"gfx", "picture[y * ((picture_WIDTH + 7) / 8) + x / 8] & (0x80 >> (x & 7))"},
        {"pages", "(picture[(y / 8) * 16 + x] >> (y % 8)) & 1"},
    };
    TempDir dir;
    std::mt19937 random(5);
    for (const LcdType type : {LcdType::Column, LcdType::Row}) {
        const auto drawing = dir / "picture.Lcd";
        ASSERT_TRUE(SaveFile(RandomGrid(random, type), drawing).ok());
        const std::string shown = RunCliProcess({"show", drawing.string()}).out;
        for (const auto &[format, dot] : forms) {
            const CliResult code = RunCliProcess({"code", drawing.string(), "--format", format});
            ASSERT_EQ(code.exitCode, 0) << code.err;
            const std::string program = code.out + "#include <stdio.h>\n\nint main(void)\n{\n    printf(\"type "
                                        + std::to_string(LcdTypeValue(type))
                                        + "\\n\");\n    for (int y = 0; y < 16; ++y) {\n"
                                          "        for (int x = 0; x < 16; ++x)\n            putchar(("
                                        + dot + ") ? '#' : '.');\n        putchar('\\n');\n    }\n    return 0;\n}\n";
            const auto source = dir.Write("draw.c", program);
            const auto drawn = dir / "drawn.txt";
            const std::string build = "gcc -x c -std=c99 -pedantic -Wall -Wextra -Werror -o "
                                      + ShellQuote((dir / "draw").string()) + " " + ShellQuote(source.string()) + " && "
                                      + ShellQuote((dir / "draw").string()) + " >" + ShellQuote(drawn.string());
            ASSERT_EQ(std::system(build.c_str()), 0) << program;
            EXPECT_EQ(TempDir::Read(drawn), shown) << program;
        }
    }
#endif
}

TEST(CliShow, DrawsEachDotWhereTheWindowShowsItForTheFilesType)
{
    TempDir dir;
    const auto column = dir / "column.Lcd";
    const auto row = dir / "row.Lcd";
    ASSERT_TRUE(SaveFile(SmallPicture(LcdType::Column), column).ok());
    ASSERT_TRUE(SaveFile(SmallPicture(LcdType::Row), row).ok());

    const CliResult columnShow = RunCliProcess({"show", column.string()});
    EXPECT_EQ(columnShow.exitCode, 0);
    EXPECT_EQ(columnShow.out, ShowLines(LcdType::Column, {"#...............", "##.............."}));

    const CliResult rowShow = RunCliProcess({"show", row.string()});
    EXPECT_EQ(rowShow.exitCode, 0);
    EXPECT_EQ(rowShow.out, ShowLines(LcdType::Row, {"##..............", ".#.............."}));
}

TEST(CliShow, APbmOfAnySizeIsShownAtItsSizeUnderItsSize)
{
    TempDir dir;
    std::mt19937 random(12);
    Dots dots({128, 64});
    for (DotState &dot : dots)
        dot = random() % 2 ? DotState::Set : DotState::Clear;
    std::string raster;
    std::string shown = "size 128 x 64\n";
    for (int row = 0; row < 64; ++row) {
        for (int column = 0; column < 128; ++column) {
            const bool set = dots[static_cast<std::size_t>(row * 128 + column)] == DotState::Set;
            if (column % 8 == 0)
                raster += '\0';
            raster.back() = static_cast<char>(raster.back() | (set ? 0x80 >> column % 8 : 0));
            shown += set ? '#' : '.';
        }
        shown += '\n';
    }
    const auto pbm = dir.Write("splash.pbm", "P4\n# a splash screen\n128 64\n" + raster);
    for (const std::string &file : {pbm.string(), std::string("-")}) {
        const CliResult result = RunCliProcess({"show", file}, pbm.string());
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, shown) << file;
    }
}

TEST(CliErrors, RefusedFilePrintsTheReasonOnStandardErrorOnly)
{
    TempDir dir;
    const auto file = dir.Write("bad.Lcd", " 7\r\n1111");
    for (const std::string command : {"code", "show"}) {
        const CliResult result = RunCliProcess({command, file.string()});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err,
                  "Cannot open \"" + file.string() + "\": its type line gives 7, but the LCD type must be 0 or 1.\n");
    }
    const CliResult missing = RunCliProcess({"code", (dir / "none.Lcd").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos);
}

TEST(CliErrors, WrongUsageNamesTheProblemInOneLineAndExitsTwo)
{
    TempDir dir;
    const auto file = dir.Write("a.Lcd", " 0\r\n1");
    const std::string f = file.string();
    const std::pair<std::vector<std::string>, std::string> wrong[] = {
        {{}, "tessaldo-cli: missing command"},
        {{"--bogus"}, "tessaldo-cli: unknown option '--bogus'"},
        {{"draw", f}, "tessaldo-cli: unknown command 'draw'"},
        {{"--help", "code"}, "tessaldo-cli: unexpected argument 'code'"},
        {{"code"}, "tessaldo-cli code: missing FILE"},
        {{"code", f, f}, "tessaldo-cli code: unexpected argument '" + f + "'"},
        {{"code", f, "--format"}, "tessaldo-cli code: option '--format' needs a value"},
        {{"code", f, "--format", "hex"},
         "tessaldo-cli code: --format must be ccs, c, raw, xbm, gfx, pages or u8x8, not 'hex'"},
        {{"code", f, "--name", "a", "--name", "b"}, "tessaldo-cli code: option '--name' is given twice"},
        {{"show", f, "--invert"}, "tessaldo-cli show: unknown option '--invert'"},
        {{"edit", f, f, "invert", "spin"},
         "tessaldo-cli edit: unknown operation 'spin' (invert, shift-up, shift-down, shift-left, shift-right, "
         "flip-h, flip-v, rotate-cw, rotate-ccw)"},
        {{"header"}, "tessaldo-cli header: missing FILE"},
        {{"decode", f, "--each", "-"},
         "tessaldo-cli decode: --each writes a folder of files; '-' is standard output, which holds one"},
        {{"decode", f, f, "--replace"}, "tessaldo-cli decode: --replace goes with --each FOLDER"},
        {{"header", f, "--frames", "x", "--delay", "65536"},
         "tessaldo-cli header: --delay must be 0 to 65535, not 65536"},
    };
    for (const auto &[args, problem] : wrong) {
        const CliResult result = RunCliProcess(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, problem + "\nTry 'tessaldo-cli --help'.\n");
    }
}

TEST(CliHelp, PrintsUsageOnStandardOutputForEitherSpellingAndPerCommand)
{
    for (const char *help : {"--help", "-h"}) {
        const CliResult result = RunCliProcess({help});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out.rfind("Usage: tessaldo-cli", 0), 0u);
        EXPECT_NE(result.out.find("A '-' reads standard input: for FILE the drawing (code, show, edit"),
                  std::string::npos);
        EXPECT_EQ(result.err, "");
    }
    EXPECT_EQ(RunCliProcess({"show", "-h"}).out.substr(0, 82),
              "Usage:\n  show FILE\n               print the picture as the window shows it: a line");
}

TEST(CliStandardInput, DashReadsTheDrawingFromStandardInput)
{
    TempDir dir;
    const auto file = dir / "picture.Lcd";
    ASSERT_TRUE(SaveFile(SmallPicture(LcdType::Row), file).ok());
    const CliResult code = RunCliProcess({"code", "-"}, file.string());
    EXPECT_EQ(code.exitCode, 0);
    EXPECT_EQ(code.out, LCDtoCODE(SmallPicture(LcdType::Row)) + "\r\n");
    const CliResult show = RunCliProcess({"show", "-"}, file.string());
    EXPECT_EQ(show.out, RunCliProcess({"show", file.string()}).out);

    const CliResult empty = RunCliProcess({"code", "-"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.err, "Cannot read standard input: the file is empty.\n");
}

TEST(CliEdit, AppliesTheOperationsInOrderInTheFilesLayoutAndWritesAsSaveDoes)
{
    TempDir dir;
    std::mt19937 random(88);
    for (const LcdType type : {LcdType::Column, LcdType::Row}) {
        const DotGrid start = RandomGrid(random, type);
        const auto file = dir / "in.Lcd";
        ASSERT_TRUE(SaveFile(start, file).ok());
        const CliResult result =
            RunCliProcess({"edit", file.string(), file.string(), "rotate-cw", "shift-left", "flip-v", "invert"});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        DotGrid expected = start;
        for (const Transform transform :
             {Transform::RotateClockwise, Transform::ShiftLeft, Transform::FlipVertically, Transform::Invert})
            ApplyTransform(expected, transform);
        EXPECT_EQ(TempDir::Read(file), FormatDrawing(expected)); // in place
    }

    // A legacy file is read as type 0 and comes out in today's form; '-' works both ways.
    const auto legacy = dir.Write("old.Lcd", "0" + std::string(254, '1') + "\r\n");
    const CliResult upgraded = RunCliProcess({"edit", "-", "-"}, legacy.string());
    DotGrid dotZero;
    dotZero.SetDot(0, DotState::Set);
    EXPECT_EQ(upgraded.exitCode, 0);
    EXPECT_EQ(upgraded.out, FormatDrawing(dotZero));
}

TEST(CliEdit, WrongOperationOrRefusedFileWritesNothing)
{
    TempDir dir;
    const auto good = dir / "good.Lcd";
    ASSERT_TRUE(SaveFile(DotGrid{}, good).ok());
    const auto out = dir.Write("out.Lcd", "untouched");
    const CliResult unknown = RunCliProcess({"edit", good.string(), out.string(), "invert", "rotate"});
    EXPECT_EQ(unknown.exitCode, 2);
    const auto bad = dir.Write("bad.Lcd", " 3\r\n");
    const CliResult refused = RunCliProcess({"edit", bad.string(), out.string(), "invert"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("bad.Lcd"), std::string::npos);
    EXPECT_EQ(TempDir::Read(out), "untouched");
}

TEST(CliEdit, ResizesAtAnAnchorScalesByWholeFactorsAndStartsANewPictureOfAnySize)
{
    TempDir dir;
    const auto small = dir.Write("small.pbm", "P1\n3 2\n110\n001\n");
    const std::pair<std::vector<std::string>, std::string> edits[] = {
        {{"resize", "5x3@bottom-right"}, "P1\n5 3\n00000\n00110\n00001\n"},
        {{"resize", "5x4@centre"}, "P1\n5 4\n00000\n01100\n00010\n00000\n"},
        {{"resize", "2x1"}, "P1\n2 1\n11\n"},
        {{"scale", "2"}, "P1\n6 4\n111100\n111100\n000011\n000011\n"},
        {{"scale", "2", "rotate-cw", "scale", "1/2"}, "P1\n2 3\n01\n01\n10\n"},
    };
    for (const auto &[steps, expected] : edits) {
        std::vector<std::string> args = {"edit", small.string(), "-"};
        args.insert(args.end(), steps.begin(), steps.end());
        const CliResult result = RunCliProcess(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, expected) << steps.back();
    }
    EXPECT_EQ(RunCliProcess({"edit", "--size", "3x1", "-", "invert"}).out, "P1\n3 1\n111\n");
    // Back at 16 x 16 it is a drawing file again, and a new 16 x 16 picture is a fresh one.
    EXPECT_EQ(RunCliProcess({"edit", small.string(), "-", "resize", "16x16"}).out.substr(0, 4), " 0\r\n");
    EXPECT_EQ(RunCliProcess({"edit", "--size", "16x16", "-"}).out, FormatDrawing(DotGrid{}));

    const auto drawing = dir / "small.Lcd";
    const CliResult lcd = RunCliProcess({"edit", small.string(), drawing.string()});
    EXPECT_EQ(lcd.exitCode, 1);
    EXPECT_EQ(lcd.err, "Cannot save \"" + drawing.string()
                           + "\": the picture is 3 x 2, and a .Lcd file holds a 16 x 16 picture; name the file .pbm "
                             "or .xbm.\n");
    EXPECT_FALSE(std::filesystem::exists(drawing));
    const CliResult tooLarge = RunCliProcess({"edit", "--size", "600x1", "-", "scale", "2"});
    EXPECT_EQ(tooLarge.exitCode, 1);
    EXPECT_EQ(tooLarge.err, "Cannot scale the 600 x 1 picture 2 times: a picture is at most 1024 dots each way.\n");
    const std::pair<std::vector<std::string>, std::string> wrong[] = {
        {{"edit", "--size", "1025x1", "-"},
         "--size must be WIDTHxHEIGHT, each 1 to 1024 dots, such as 128x64, not '1025x1'"},
        {{"edit", small.string(), "-", "scale", "1/0"},
         "scale must be N or 1/N, a whole factor from 1 to 1024, not '1/0'"},
        {{"edit", small.string(), "-", "resize", "4x4@middle"},
         "resize's anchor must be top-left, top, top-right, left, centre, right, bottom-left, bottom or bottom-right, "
         "not 'middle'"},
        {{"edit", small.string(), "-", "resize"}, "resize needs its value after it: resize WxH[@ANCHOR]"},
    };
    for (const auto &[args, problem] : wrong) {
        const CliResult result = RunCliProcess(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err, "tessaldo-cli edit: " + problem + "\nTry 'tessaldo-cli --help'.\n");
    }
}

TEST(CliDecode, HeaderThenDecodeEachGivesBackEveryPictureUnderItsArrayName)
{
    TempDir dir;
    std::mt19937 random(5);
    std::vector<std::string> args = {"header"};
    std::vector<DotGrid> grids;
    for (int i = 0; i < 20; ++i) {
        grids.push_back(RandomGrid(random, LcdType::Row));
        args.push_back((dir / ("icon-" + std::to_string(i) + ".Lcd")).string());
        ASSERT_TRUE(SaveFile(grids.back(), args.back()).ok());
    }
    args.push_back("--output");
    args.push_back((dir / "icons.h").string());
    ASSERT_EQ(RunCliProcess(args).exitCode, 0);
    const auto folder = dir / "back";
    const CliResult each =
        RunCliProcess({"decode", (dir / "icons.h").string(), "--each", folder.string(), "--type", "1"});
    ASSERT_EQ(each.exitCode, 0) << each.err;
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(TempDir::Read(folder / ("icon_" + std::to_string(i) + ".Lcd")), FormatDrawing(grids[i])) << i;

    // One picture by name, from standard input, in the type the header states unless told another.
    const CliResult one = RunCliProcess({"decode", "-", "-", "--name", "icon_7"}, (dir / "icons.h").string());
    EXPECT_EQ(one.out, FormatDrawing(grids[7]));
    DotGrid seventh = grids[7];
    seventh.SetLCDType(LcdType::Column);
    EXPECT_EQ(RunCliProcess({"decode", "-", "-", "--name", "icon_7", "--type", "0"}, (dir / "icons.h").string()).out,
              FormatDrawing(seventh));
    // The frames of an animation come back one file each, under their own names.
    const auto frames = dir / "frames.h";
    ASSERT_EQ(RunCliProcess({"header", args[1], args[2], "--frames", "spin", "--output", frames.string()}).exitCode, 0);
    ASSERT_EQ(RunCliProcess({"decode", frames.string(), "--each", (dir / "f").string()}).exitCode, 0);
    EXPECT_EQ(TempDir::Read(dir / "f" / "icon_1.Lcd"), FormatDrawing(grids[1]));
    const CliResult several = RunCliProcess({"decode", (dir / "icons.h").string(), (dir / "x.Lcd").string()});
    EXPECT_EQ(several.exitCode, 1);
    EXPECT_NE(several.err.find("it holds 20 pictures (icon_0, icon_1,"), std::string::npos) << several.err;
}

TEST(CliHeader, ASourceGivesItsPicturesAndOnlyAHeaderOfThisProgramIsWrittenOver)
{
    TempDir dir;
    std::mt19937 random(9);
    const DotGrid a = RandomGrid(random, LcdType::Row);
    const DotGrid b = RandomGrid(random, LcdType::Row);
    const auto aFile = dir.Write("a.Lcd", FormatDrawing(a));
    const std::string icons = (dir / "icons.h").string();
    ASSERT_EQ(RunCliProcess({"header", aFile.string(), "--output", icons}).exitCode, 0);
    // A picture appended: the header is read whole before it is written over.
    const CliResult appended =
        RunCliProcess({"header", icons, dir.Write("b.Lcd", FormatDrawing(b)).string(), "--output", icons});
    ASSERT_EQ(appended.exitCode, 0) << appended.err;
    const std::string both = TempDir::Read(icons);
    ASSERT_EQ(RunCliProcess({"header", icons, "--output", icons}).exitCode, 0);
    const std::string again = TempDir::Read(icons);
    EXPECT_EQ(again.substr(again.find('\n')), both.substr(both.find('\n'))) << "the same bytes after line 1";
    ASSERT_EQ(RunCliProcess({"decode", icons, "--each", (dir / "back").string()}).exitCode, 0);
    EXPECT_EQ(TempDir::Read(dir / "back" / "a.Lcd"), FormatDrawing(a));
    EXPECT_EQ(TempDir::Read(dir / "back" / "b.Lcd"), FormatDrawing(b));

    // Code written by hand is read, but never written over; nor is a drawing.
    const std::string code = "static const unsigned char logo[32] = {0};\nint counter;\n";
    const auto mine = dir.Write("mine.h", code);
    for (const auto &out : {mine, aFile}) {
        const CliResult refused = RunCliProcess({"header", mine.string(), "--output", out.string()});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err, "Cannot save \"" + out.string()
                                   + "\": it holds code that is no header of this program, or one changed since it "
                                     "was written, which writing over it would lose; remove it first, or write to "
                                     "another file.\n");
    }
    EXPECT_EQ(TempDir::Read(mine), code);
    EXPECT_EQ(RunCliProcess({"header", mine.string(), "--output", (dir / "logo.h").string()}).exitCode, 0);
}

TEST(CliDecode, ARefusedArrayOrAClashWritesNothingAndArraysPassedOverAreNamed)
{
    TempDir dir;
    std::string values;
    for (int i = 0; i < 32; ++i)
        values += "1,";
    const auto clash = dir.Write("clash.h", "a[]={" + values + "};\nA[]={" + values + "};\n");
    const auto bad = dir.Write("bad.h", "a[]={" + values + "};\nb[]={CMD," + values.substr(2) + "};\n");
    const auto folder = dir / "out";
    const CliResult clashed = RunCliProcess({"decode", clash.string(), "--each", folder.string()});
    EXPECT_EQ(clashed.exitCode, 1);
    EXPECT_EQ(clashed.err,
              "Cannot save \"" + folder.string() + "\": the names a and A would both be the file A.Lcd.\n");
    const CliResult refused = RunCliProcess({"decode", bad.string(), "--each", folder.string()});
    EXPECT_EQ(refused.err, "Cannot decode \"" + bad.string()
                               + "\": the name CMD on line 2, column 6 is not #defined above it as a value.\n");
    EXPECT_FALSE(std::filesystem::exists(folder));
    std::filesystem::create_directories(dir / "blocked" / "b.Lcd");
    const auto two = dir.Write("two.h", "a[]={" + values + "};\nb[]={" + values + "};\n");
    EXPECT_EQ(RunCliProcess({"decode", two.string(), "--each", (dir / "blocked").string()}).err,
              "Cannot save \"" + (dir / "blocked" / "b.Lcd").string() + "\": it is a folder.\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "blocked" / "a.Lcd")) << "a refusal leaves no part of the set";
    const auto kept = dir / "kept";
    std::filesystem::create_directory(kept);
    const auto mine = dir.Write("kept/a.Lcd", "mine");
    EXPECT_EQ(RunCliProcess({"decode", two.string(), "--each", kept.string()}).err,
              "Cannot save \"" + kept.string()
                  + "\": it already holds drawings the set would replace (a.Lcd); --replace writes over them.\n");
    EXPECT_EQ(TempDir::Read(mine), "mine");
    EXPECT_FALSE(std::filesystem::exists(kept / "b.Lcd"));
    EXPECT_EQ(RunCliProcess({"decode", two.string(), "--each", kept.string(), "--replace"}).exitCode, 0);
    EXPECT_EQ(TempDir::Read(mine), TempDir::Read(kept / "b.Lcd"));
    const auto out = dir.Write("out.Lcd", "untouched");
    EXPECT_EQ(RunCliProcess({"decode", bad.string(), out.string(), "--name", "a"}).exitCode, 1);
    EXPECT_EQ(TempDir::Read(out), "untouched");
    EXPECT_EQ(RunCliProcess({"decode", bad.string(), "--each", "f", "--name", "a"}).exitCode, 2);

    const auto font = dir.Write("font.h", "font[]={1,2,3};\nlogo[]={" + values + "};\n");
    const CliResult taken = RunCliProcess({"decode", font.string(), out.string()});
    EXPECT_EQ(taken.exitCode, 0);
    EXPECT_EQ(taken.err, "Passed over in \"" + font.string()
                             + "\": the array font on line 1 has 3 values; a picture is 32 values, or 33 beginning "
                               "with 0xA4, or of another size where its code or the size given tells it.\nNote: the "
                               "picture's values do not say which display's layout they are in, "
                               "and are read as the module's; --layout names another, and --layout all shows the "
                               "picture under each.\n");
    EXPECT_NE(TempDir::Read(out), "untouched");
}

// Bytes from another display's library are read in its layout, as the type
// shows the picture; --layout all shows every reading, the drawn one first;
// code that tells its own layout is read in it, and a --layout against it refused.
TEST(CliDecode, LayoutReadsOtherDisplaysBytesAndAllShowsEveryReadingLikeliestFirst)
{
    TempDir dir;
    const DotGrid box = FilledBox(LcdType::Row, {2, 3}, {12, 10});
    const auto rows = dir.Write("rows.h", "const unsigned char icon[] PROGMEM = {"
                                              + ValueList(LayoutBytes(box, BitLayout::Rows)) + "};\n");
    const std::string shown = RunCliProcess({"show", dir.Write("box.Lcd", FormatDrawing(box)).string()}).out;

    EXPECT_EQ(RunCliProcess({"decode", rows.string(), "-", "--layout", "rows", "--type", "1"}).out, FormatDrawing(box));
    const CliResult all = RunCliProcess({"decode", rows.string(), "--layout", "all", "--type", "1"});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    std::vector<std::string> lines;
    for (std::size_t start = 0, end = 0; (end = all.out.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(all.out.substr(start, end - start));
    ASSERT_EQ(lines.size(), 18U);
    EXPECT_EQ(lines[0], "type 1");
    EXPECT_EQ(lines[1].substr(0, 18), "rows              ");
    EXPECT_NE(lines[1].find("module/xbm"), std::string::npos) << "one picture in the row type, named once";
    std::string first = "type 1\n";
    for (std::size_t row = 2; row < lines.size(); ++row) {
        EXPECT_EQ(lines[row].size(), 16U * 3 + 2 * 2);
        first += lines[row].substr(0, 16) + "\n";
    }
    EXPECT_EQ(first, shown);

    // An X BitMap says its layout; the module's 33 values say theirs.
    const auto xbm = dir.Write("box.xbm", XbmText(box, "box"));
    EXPECT_EQ(RunCliProcess({"decode", xbm.string(), "-", "--type", "1"}).out, FormatDrawing(box));
    // So do the Adafruit GFX array code writes, and a header in another layout, which --layout may name.
    const std::string boxFile = (dir / "box.Lcd").string();
    const auto gfx = dir.Write("gfx.h", RunCliProcess({"code", boxFile, "--format", "gfx"}).out);
    EXPECT_EQ(RunCliProcess({"decode", gfx.string(), "-", "--type", "1"}).out, FormatDrawing(box));
    EXPECT_EQ(RunCliProcess({"decode", gfx.string(), "-", "--type", "1", "--layout", "gfx"}).out, FormatDrawing(box))
        << "the form's name names its layout";
    const std::string pages = (dir / "pages.h").string();
    ASSERT_EQ(RunCliProcess({"header", boxFile, "--layout", "pages", "--output", pages}).exitCode, 0);
    EXPECT_EQ(RunCliProcess({"decode", pages, "-", "--layout", "pages"}).out, FormatDrawing(box));
    EXPECT_EQ(RunCliProcess({"decode", pages, "--layout", "all"}).out.substr(0, 13), "type 1\npages ");
    const auto own = dir.Write("own.h", CArray({box, "box", ""}));
    const auto out = dir.Write("out.Lcd", "untouched");
    const CliResult refused = RunCliProcess({"decode", own.string(), out.string(), "--layout", "pages"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Cannot decode \"" + own.string()
                               + "\": the picture box is in the module layout, as its values begin with 0xA4; leave "
                                 "out --layout pages.\n");
    EXPECT_EQ(TempDir::Read(out), "untouched");
    EXPECT_EQ(RunCliProcess({"decode", rows.string(), "-", "--layout", "all"}).exitCode, 2);
    EXPECT_EQ(
        RunCliProcess({"decode", rows.string(), "-", "--layout", "columns"}).err,
        "tessaldo-cli decode: --layout must be module (c), xbm, rows (gfx), pages, tiles (u8x8) or all, not 'columns'\n"
        "Try 'tessaldo-cli --help'.\n");
}

// Branches of a conditional that give an array other bytes are told apart as
// the compiler's command line tells them, by every command that reads the
// source; the refusal says how (send's too, with the module's tests).
TEST(CliDecode, DefineSettlesTheConditionBetweenTwoPicturesOfOneName)
{
    TempDir dir;
    const DotGrid avr = SmallPicture(LcdType::Column);
    const auto source = dir.Write(
        "icons.h", "#ifdef __AVR__\nconst unsigned char x[] PROGMEM = {"
                       + ValueList(LayoutBytes(avr, BitLayout::Module)) + "};\n#else\nconst unsigned char x[] = {"
                       + ValueList(LayoutBytes(DotGrid{}, BitLayout::Module)) + "};\n#endif\n");
    const CliResult refused = RunCliProcess({"decode", source.string(), "-"});
    EXPECT_EQ(refused.err, "Cannot decode \"" + source.string()
                               + "\": it holds 2 different pictures named x, in branches of a conditional that the "
                                 "text itself does not settle; --define NAME[=VALUE] settles its condition, as a "
                                 "compiler's -D does.\n");
    const CliResult avrOnly =
        RunCliProcess({"decode", source.string(), "-", "--define", "__AVR__", "--define", "F_CPU=16000000"});
    EXPECT_EQ(avrOnly.out, FormatDrawing(avr)) << avrOnly.err;
    EXPECT_EQ(RunCliProcess({"decode", source.string(), "-", "--define", "1x"}).exitCode, 2);
    const std::string made = (dir / "made.h").string();
    EXPECT_EQ(RunCliProcess({"header", source.string(), "--define", "__AVR__", "--output", made}).err, "");
    EXPECT_EQ(RunCliProcess({"decode", made, "-"}).out, FormatDrawing(avr));
}

namespace {

using DotsAt = std::function<bool(int x, int y)>;

// A picture's bytes as a library's documentation orders them: XBM and
// Adafruit GFX rows of (w + 7) / 8 bytes, the leftmost dot in bit 0 or in
// bit 7 (0x80 >> (x & 7)); SSD1306 pages, byte (y / 8) * w + x, the top dot in bit 0.
std::string ArrayOf(const std::string &declaration, PictureSize size, const std::string &order, const DotsAt &set)
{
    const int rowBytes = (size.width + 7) / 8;
    std::vector<int> bytes(
        static_cast<std::size_t>(order == "pages" ? size.width * ((size.height + 7) / 8) : rowBytes * size.height));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            if (!set(x, y))
                continue;
            if (order == "pages")
                bytes.at(static_cast<std::size_t>((y / 8) * size.width + x)) |= 1 << (y % 8);
            else
                bytes.at(static_cast<std::size_t>(y * rowBytes + x / 8)) |=
                    order == "xbm" ? 1 << (x % 8) : 0x80 >> (x & 7);
        }
    }
    std::string text = declaration + " = {";
    for (std::size_t at = 0; at < bytes.size(); ++at)
        text += (at % 16 == 0 ? "\n    " : " ") + std::to_string(bytes[at]) + ",";
    return text + "\n};\n";
}

// A plain PBM's dots, '1' set, row by row, after "W H ".
std::string PbmDots(const std::string &pbm)
{
    std::istringstream in(pbm);
    std::string magic;
    int width = 0;
    int height = 0;
    in >> magic >> width >> height;
    std::string dots = std::to_string(width) + " " + std::to_string(height) + " ";
    for (char c = 0; in.get(c);)
        if (c == '0' || c == '1')
            dots += c;
    return magic == "P1" ? dots : "no plain PBM";
}

std::string DotsOf(PictureSize size, const DotsAt &set)
{
    std::string dots = std::to_string(size.width) + " " + std::to_string(size.height) + " ";
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            dots += set(x, y) ? '1' : '0';
    return dots;
}

const DotsAt kHeart = [](int x, int y) { return std::abs(2 * x - 7) + 2 * y <= 12 && y >= 2 && (y > 2 || x % 7 != 0); };
const DotsAt kRing = [](int x, int y) {
    const int distance = (2 * x - 31) * (2 * x - 31) + (2 * y - 31) * (2 * y - 31);
    return distance >= 400 && distance <= 784;
};
const DotsAt kSplash = [](int x, int y) { return x == 0 || y == 0 || x == 127 || y == 63 || x == 2 * y; };

} // namespace

// Sketches as their authors write them, arrays of several sizes drawn by the
// libraries' calls: each array comes back at the size its call draws it, in
// the layout that call takes, as a PBM.
TEST(CliDecode, ASketchsArraysComeBackAtTheSizesItsCallsDrawThem)
{
    TempDir dir;
    const std::string u8g2 = "#include <U8g2lib.h>\n#define HEART_W 8\n#define HEART_H 8\nconst int RING = 32;\n"
                             + ArrayOf("static const unsigned char heart[] U8X8_PROGMEM", {8, 8}, "xbm", kHeart)
                             + ArrayOf("static const unsigned char ring[] U8X8_PROGMEM", {32, 32}, "xbm", kRing)
                             + ArrayOf("static const unsigned char splash[] U8X8_PROGMEM", {128, 64}, "xbm", kSplash)
                             + "U8G2_SSD1306_128X64_NONAME_F_HW_I2C u8g2(U8G2_R0);\nvoid loop(void) {\n"
                               "  u8g2.clearBuffer();\n  u8g2.drawXBMP(0, 0, 128, 64, splash);\n"
                               "  u8g2.drawXBMP(10, 10, HEART_W, HEART_H, heart);\n"
                               "  u8g2.drawXBMP(40, 10, RING, RING, ring);\n  u8g2.sendBuffer();\n}\n";
    const std::string gfx = "#include <Adafruit_SSD1306.h>\n#define SCREEN_WIDTH 128\n#define SCREEN_HEIGHT 64\n"
                            + ArrayOf("const unsigned char heart_bmp[] PROGMEM", {8, 8}, "rows", kHeart)
                            + ArrayOf("const unsigned char ring_bmp[] PROGMEM", {32, 32}, "rows", kRing)
                            + ArrayOf("const unsigned char logo_bmp[] PROGMEM", {128, 64}, "rows", kSplash)
                            + "void setup() {\n  display.drawBitmap(0, 0, logo_bmp, SCREEN_WIDTH, SCREEN_HEIGHT, "
                              "SSD1306_WHITE);\n  display.drawBitmap(4, 4, heart_bmp, 8, 8, 1);\n"
                              "  display.drawBitmap((display.width() - 32) / 2, 16, ring_bmp, 32, 32, 1);\n}\n";
    const auto u8g2File = dir.Write("u8g2.ino", u8g2);
    const auto gfxFile = dir.Write("gfx.ino", gfx);
    const CliResult each = RunCliProcess({"decode", u8g2File.string(), "--each", (dir / "u8g2").string()});
    EXPECT_EQ(each.exitCode, 0) << each.err;
    EXPECT_EQ(each.err, "");
    const std::pair<std::string, std::pair<PictureSize, DotsAt>> pictures[] = {
        {"heart", {{8, 8}, kHeart}}, {"ring", {{32, 32}, kRing}}, {"splash", {{128, 64}, kSplash}}};
    for (const auto &[name, picture] : pictures)
        EXPECT_EQ(PbmDots(TempDir::Read(dir / "u8g2" / (name + ".pbm"))), DotsOf(picture.first, picture.second))
            << name;
    EXPECT_EQ(PbmDots(RunCliProcess({"decode", gfxFile.string(), "-", "--name", "heart_bmp"}).out),
              DotsOf({8, 8}, kHeart));
    EXPECT_EQ(PbmDots(RunCliProcess({"decode", gfxFile.string(), "-", "--name", "logo_bmp"}).out),
              DotsOf({128, 64}, kSplash));
    const CliResult xbm =
        RunCliProcess({"decode", gfxFile.string(), (dir / "ring.xbm").string(), "--name", "ring_bmp"});
    EXPECT_EQ(xbm.exitCode, 0) << xbm.err;
    EXPECT_NE(TempDir::Read(dir / "ring.xbm").find("#define ring_width 32"), std::string::npos);
    // What the call tells stands: another size or layout is refused with the reason.
    EXPECT_EQ(RunCliProcess({"decode", gfxFile.string(), "-", "--name", "ring_bmp", "--size", "16x64"}).err,
              "Cannot decode \"" + gfxFile.string()
                  + "\": its picture is 32 x 32, as drawBitmap draws it 32 x 32 on line 86; leave out --size.\n");
    EXPECT_EQ(RunCliProcess({"decode", u8g2File.string(), "-", "--size", "128"}).exitCode, 2);
}

// A frame buffer whose code says no size: refused with the size of the
// display it likeliest fits, shown at every size it fits with --layout all,
// and read at the size --size gives, where its length fits that size.
TEST(CliDecode, AFrameBufferOfNoSaidSizeIsOfferedTheDisplaySizesItFits)
{
#ifdef _WIN32
    GTEST_SKIP() << "netpbm draws the text through a shell";
#else
    TempDir dir;
    const auto text = dir / "text.pbm";
    if (std::system(("pbmtext -builtin fixed Tessaldo 2>/dev/null | pnmpad -white -width 128 -height 64 | pamtopnm "
                     "-plain >"
                     + ShellQuote(text.string()))
                        .c_str())
        != 0)
        GTEST_SKIP() << "no netpbm to draw the text";
    const std::string drawn = PbmDots(TempDir::Read(text));
    const DotsAt set = [&drawn](int x, int y) { return drawn.at(std::string("128 64 ").size() + y * 128 + x) == '1'; };
    const auto buffer = dir.Write("buffer.c", ArrayOf("uint8_t buffer[1024]", {128, 64}, "pages", set));
    const std::string out = (dir / "out.pbm").string();
    const CliResult refused = RunCliProcess({"decode", buffer.string(), out});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Cannot decode \"" + buffer.string()
                               + "\": the array buffer on line 1 has 1024 values and its code tells no size; give "
                                 "--size WxH, e.g. --size 128x64 (likeliest), or see every size it fits with "
                                 "--layout all.\n");
    const CliResult all = RunCliProcess({"decode", buffer.string(), "--layout", "all"});
    EXPECT_EQ(all.out.substr(0, all.out.find('\n')), "size 128 x 64, pages/tiles");
    EXPECT_NE(all.out.find("size 64 x 128, rows"), std::string::npos);
    EXPECT_EQ(RunCliProcess({"decode", buffer.string(), out, "--size", "128x64"}).exitCode, 0);
    EXPECT_EQ(PbmDots(TempDir::Read(out)), drawn);
    EXPECT_EQ(RunCliProcess({"decode", buffer.string(), out, "--size", "84x48"}).err,
              "Passed over in \"" + buffer.string()
                  + "\": the array buffer on line 1 has 1024 values, but at 84 x 48 its picture takes 528 bytes in "
                    "rows, xbm or tiles and 504 in pages.\nCannot decode \""
                  + buffer.string()
                  + "\": the array buffer on line 1 has 1024 values, but at 84 x 48 its picture takes 528 bytes in "
                    "rows, xbm or tiles and 504 in pages.\n");
#endif
}

// Real firmware's pictures come back in their own size and layout: Marlin's
// width beside rows, Adafruit's defines named after the bitmap, Arduboy2's
// pages, GxEPD2's array of pictures at the size given; where nothing tells a
// size, the refusal names --size and the sizes that fit.
TEST(CliDecode, RealFirmwareComesBackInItsOwnSizeAndLayout)
{
    TempDir dir;
    const std::string ring = ArrayOf("x", {32, 32}, "rows", kRing);
    const std::string ringValues = ring.substr(ring.find('{') + 1, ring.rfind('}') - ring.find('{') - 1);
    const struct {
        std::string text;
        std::vector<std::string> options;
        std::vector<std::pair<std::string, std::string>> pictures; // file and its dots
    } cases[] = {
        {"#define STATUS_LOGO_WIDTH 8\n"
             + ArrayOf("const unsigned char status_logo_bmp[] PROGMEM", {8, 8}, "rows", kHeart),
         {},
         {{"status_logo_bmp.pbm", DotsOf({8, 8}, kHeart)}}},
        {"#include <Arduboy2.h>\n" + ArrayOf("const uint8_t PROGMEM ring[]", {32, 32}, "pages", kRing)
             + "void loop() { arduboy.drawBitmap(0, 0, ring, 32, 32); }\n",
         {},
         {{"ring.pbm", DotsOf({32, 32}, kRing)}}},
        {"#define splash1_width 128\n#define splash1_height 64\n"
             + ArrayOf("const uint8_t PROGMEM splash1_data[]", {128, 64}, "rows", kSplash),
         {},
         {{"splash1_data.pbm", DotsOf({128, 64}, kSplash)}}},
        {"const unsigned char Num[2][128] PROGMEM = {" + ringValues + ringValues + "};\n",
         {"--size", "32x32"},
         {{"Num_000.pbm", DotsOf({32, 32}, kRing)}, {"Num_001.pbm", DotsOf({32, 32}, kRing)}}},
    };
    for (std::size_t at = 0; at < std::size(cases); ++at) {
        const auto source = dir.Write("sketch" + std::to_string(at) + ".h", cases[at].text);
        const auto folder = dir / ("each" + std::to_string(at));
        std::vector<std::string> arguments{"decode", source.string(), "--each", folder.string()};
        arguments.insert(arguments.end(), cases[at].options.begin(), cases[at].options.end());
        const CliResult each = RunCliProcess(arguments);
        EXPECT_EQ(each.exitCode, 0) << each.err;
        for (const auto &[file, dots] : cases[at].pictures)
            EXPECT_EQ(PbmDots(TempDir::Read(folder / file)), dots) << file;
    }
    const auto num = dir.Write("num.h", cases[3].text);
    EXPECT_EQ(RunCliProcess({"decode", num.string(), "-"}).err,
              "Cannot decode \"" + num.string()
                  + "\": the array Num[2][128] on line 1 holds 2 pictures of 128 bytes and its code tells no size; "
                    "give --size WxH, e.g. --size 32x32 (likeliest), or see every size it fits with --layout "
                    "all.\n");
    const CliResult each = RunCliProcess({"decode", num.string(), "--each", (dir / "num").string()});
    EXPECT_EQ(each.exitCode, 1);
    EXPECT_NE(each.err.find("Note: --size WxH reads Num at a size it fits: 32x32, "), std::string::npos) << each.err;
}
