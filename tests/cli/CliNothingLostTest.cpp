// Nothing the command line writes is lost: the format a name asks for, a
// write that fails, an input that never ends, and every way out and back at
// sizes from 1 x 1 to 800 x 480.
#include "CliRunner.h"
#include "ImageCommands.h"
#include "RandomPicture.h"
#include "TextCommands.h"
#include "core/formats/DrawingFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace tessaldo;

namespace {

#ifndef _WIN32
// Runs a shell line around the tool, `$CLI` standing for it; its exit status and standard error.
CliResult RunShell(const std::string &line)
{
    TempDir dir;
    const std::string command =
        "CLI=" + ShellQuote(TESSALDO_CLI) + "; " + line + " 2>" + ShellQuote((dir / "err").string());
    const int status = std::system(command.c_str());
    CliResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = TempDir::Read(dir / "err");
    return result;
}
#endif

std::filesystem::path SavedPicture(const TempDir &dir, const std::string &name, std::mt19937 &random, PictureSize size)
{
    DotGrid grid;
    grid.SetAllDots(RandomDots(random, size));
    auto file = dir / name;
    EXPECT_TRUE(SavePicture(grid, file).ok());
    return file;
}

// The picture as show prints it, without the type a 16 x 16 picture is read in.
std::string Shown(const std::filesystem::path &file)
{
    const CliResult shown = RunCliProcess({"show", file.string()});
    EXPECT_EQ(shown.exitCode, 0) << file << ": " << shown.err;
    return shown.out.starts_with("type ") ? shown.out.substr(shown.out.find('\n')) : shown.out;
}

} // namespace

TEST(CliOutput, TheNameOfOutAsksForItsFormatAtEverySizeAndOneOfNoneIsRefused)
{
    TempDir dir;
    std::mt19937 random(40);
    const std::string picture = SavedPicture(dir, "p.pbm", random, kModuleSize).string();
    const std::string image = dir / "p.png";
    ASSERT_EQ(RunCliProcess({"export", picture, image, "--scale", "1"}).exitCode, 0);
    std::string values;
    for (int i = 0; i < 32; ++i)
        values += "0x55, ";
    const auto source = dir.Write("a.h", "const unsigned char a[] = {" + values + "};\n");
    const std::string png = "\x89PNG";
    // Each command writes OUT as its name asks, and refuses a name it cannot write.
    const std::vector<std::string> commands[] = {
        {"decode", source.string()}, {"edit", "--size", "16x16"}, {"edit", picture}, {"import", image}, {"text", "A"}};
    const std::pair<std::string, std::string> outs[] = {
        {"o.pbm", "P1\n16 16"}, {"o.XBM", "#define o_width 16"}, {"o.Lcd", " "}, {"o.png", png}, {"o.txt", ""}};
    for (const std::vector<std::string> &command : commands) {
        const bool writesPng = command[0] == "import" || command[0] == "text";
        for (const auto &[name, start] : outs) {
            std::vector<std::string> args = command;
            args.insert(command[0] == "edit" && command[1] != "--size" ? args.begin() + 2 : args.end(),
                        (dir / name).string());
            std::filesystem::remove(dir / name);
            const CliResult result = RunCliProcess(args);
            const bool refused = start.empty() || (start == png && !writesPng);
            EXPECT_EQ(result.exitCode, refused ? 2 : 0) << args[0] << " " << name << ": " << result.err;
            EXPECT_EQ(std::filesystem::exists(dir / name), !refused) << args[0] << " " << name;
            if (refused)
                EXPECT_NE(result.err.find("OUT must end in .Lcd, .pbm"), std::string::npos) << result.err;
            else
                EXPECT_EQ(TempDir::Read(dir / name).substr(0, start.size()), start) << args[0] << " " << name;
        }
    }
    EXPECT_NE(RunCliProcess({"import", image, (dir / "o.txt").string()}).err.find(".png or .h, the files import"),
              std::string::npos);
    const CliResult png2 = RunCliProcess({"png", picture, (dir / "o.txt").string()});
    EXPECT_EQ(png2.exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "o.txt"));
}

TEST(CliInput, AFileAnotherCommandReadsIsNamedWithThatCommand)
{
    TempDir dir;
    std::mt19937 random(41);
    const std::string picture = SavedPicture(dir, "p.pbm", random, {12, 7}).string();
    const std::string image = dir / "p.png";
    ASSERT_EQ(RunCliProcess({"export", picture, image}).exitCode, 0);
    const auto source = dir.Write("icons.ino", "const unsigned char a[] = {1};\n");
    EXPECT_NE(RunCliProcess({"show", image}).err.find(" It is an image: tessaldo-cli import FILE OUT"),
              std::string::npos);
    EXPECT_NE(RunCliProcess({"code", source.string()}).err.find(" It holds code: tessaldo-cli decode FILE OUT"),
              std::string::npos);
    // Arrays that fit no display's size still get a size proposed, and the count a compiler sees.
    std::string values;
    for (int i = 0; i < 24; ++i)
        values += std::to_string(i) + ", ";
    const auto blob = dir.Write("blob.c", "const unsigned char blob[] = {" + values + "};\n");
    EXPECT_EQ(RunCliProcess({"decode", blob.string(), "-"}).err,
              "Cannot decode \"" + blob.string()
                  + "\": the array blob on line 1 has 24 values and its code tells no size; give --size WxH, e.g. "
                    "--size 8x24 (likeliest), or see every size it fits with --layout all.\n");
    const auto declared = dir.Write("a.c", "const unsigned char a[40] = {" + values + "};\n");
    EXPECT_NE(RunCliProcess({"decode", declared.string(), "-"}).err.find("has 40 values (24 given, the rest zero)"),
              std::string::npos);
}

TEST(CliHelp, HelpCommandPrintsWhatCommandHelpDoesForEveryCommand)
{
    for (const std::span<const Command> part : {TextCommands(), ImageCommands()}) {
        for (const Command &command : part) {
            const CliResult help = RunCliProcess({"help", std::string(command.name)});
            EXPECT_EQ(help.exitCode, 0) << command.name << ": " << help.err;
            EXPECT_EQ(help.out, RunCliProcess({std::string(command.name), "--help"}).out) << command.name;
        }
    }
    EXPECT_EQ(RunCliProcess({"help"}).out, RunCliProcess({"--help"}).out);
    EXPECT_EQ(RunCliProcess({"help", "nothing"}).exitCode, 2);
}

#ifndef _WIN32
TEST(CliOutput, AWriteToStandardOutputThatFailsFailsTheCommand)
{
    TempDir dir;
    std::mt19937 random(41);
    const std::string picture = ShellQuote(SavedPicture(dir, "p.Lcd", random, kModuleSize).string());
    const std::string large = ShellQuote(SavedPicture(dir, "large.pbm", random, {800, 480}).string());
    const std::string code =
        ShellQuote(dir.Write("large.h", RunCliProcess({"code", dir / "large.pbm", "--format", "xbm"}).out).string());
    for (const std::string &command : std::vector<std::string>{
             "code " + picture, "code " + large + " --format xbm", "header " + picture, "show " + picture,
             "show " + large, "decode " + code + " -", "png " + picture + " -", "--help", "help decode"}) {
        const CliResult result = RunShell("$CLI " + command + " >/dev/full");
        EXPECT_EQ(result.exitCode, 1) << command;
        EXPECT_TRUE(result.err.starts_with("Cannot write standard output: ")) << command << ": " << result.err;
    }
}

// An input that never ends is read as far as a file of it would be, then
// refused or taken as that file is; a writer that never stops is ended by
// the closed pipe.
TEST(CliStandardInput, InputThatNeverEndsIsReadAsAFileOfItWouldBe)
{
    TempDir dir;
    const std::string out = ShellQuote((dir / "out.Lcd").string());
    const std::string file = ShellQuote((dir / "endless").string());
    for (const std::string writer : {"cat /dev/zero", "yes 1", "yes '#define a_width 8'"}) {
        ASSERT_EQ(RunShell(writer + " | head -c 20000000 >" + file).exitCode, 0);
        for (const std::string &command : std::vector<std::string>{
                 "show -", "code -", "edit - " + out, "png - " + ShellQuote((dir / "out.png").string()),
                 "import - " + out, "decode - " + out, "header -", "text A " + out + " --onto -"}) {
            const CliResult endless = RunShell(writer + " | timeout 120 $CLI " + command + " >/dev/null");
            const CliResult fromFile = RunShell("$CLI " + command + " <" + file + " >/dev/null");
            EXPECT_EQ(endless.exitCode, fromFile.exitCode) << writer << " | " << command << ": " << endless.err;
            EXPECT_EQ(endless.err.empty(), fromFile.err.empty()) << writer << " | " << command << ": " << endless.err;
        }
    }
}
#endif

TEST(CliHeader, AnOutputThatHoldsTheSameBytesIsLeftAlone)
{
    TempDir dir;
    std::mt19937 random(42);
    const std::string picture = SavedPicture(dir, "p.pbm", random, {12, 7}).string();
    const auto header = dir / "set.h";
    ASSERT_EQ(RunCliProcess({"header", picture, "--output", header.string()}).exitCode, 0);
    const auto before = std::filesystem::last_write_time(header) - std::chrono::hours(1);
    std::filesystem::last_write_time(header, before);
    ASSERT_EQ(RunCliProcess({"header", picture, "--output", header.string()}).exitCode, 0);
    EXPECT_EQ(std::filesystem::last_write_time(header), before);
    ASSERT_EQ(RunCliProcess({"header", picture, "--output", header.string(), "--layout", "rows"}).exitCode, 0);
    EXPECT_NE(std::filesystem::last_write_time(header), before);
}

// Every way a picture leaves the command line and comes back, at sizes whose
// width is and is not a multiple of 8: the same dots at the same size under
// the same name.
TEST(CliRoundTrip, EveryWayOutAndBackKeepsThePictureAtEverySize)
{
    struct Way {
        const char *name;
        std::vector<std::vector<std::string>> steps; // IN the picture, OUT the file it comes back as
        bool anySize = true;                         // else 16 x 16 only
    };
    const Way ways[] = {
        {"code xbm, decode", {{"code", "IN", "--format", "xbm", ">", "pic.h"}, {"decode", "pic.h", "OUT"}}},
        {"code gfx, decode", {{"code", "IN", "--format", "gfx", ">", "pic.h"}, {"decode", "pic.h", "OUT"}}},
        {"code c, decode", {{"code", "IN", "--format", "c", ">", "pic.h"}, {"decode", "pic.h", "OUT"}}, false},
        {"header, decode --each",
         {{"header", "IN", "IN2", "--output", "set.h"}, {"decode", "set.h", "--each", "each"}}},
        {"header, header",
         {{"header", "IN", "--output", "set.h"},
          {"header", "set.h", "--output", "again.h"},
          {"decode", "again.h", "--each", "each"}}},
        {"header gfx, header",
         {{"code", "IN", "--format", "gfx", ">", "pic.h"},
          {"header", "pic.h", "--output", "set.h"},
          {"decode", "set.h", "--each", "each"}}},
        {"export png, import",
         {{"export", "IN", "pic.png", "--scale", "1"}, {"import", "pic.png", "OUT", "--size", "SIZE"}}},
        {"import png, import",
         {{"import", "IN", "pic.png", "--size", "SIZE"}, {"import", "pic.png", "OUT", "--size", "SIZE"}}},
        {"export xbm, edit", {{"export", "IN", "pic.xbm"}, {"edit", "pic.xbm", "OUT", "flip-h", "flip-h"}}},
        {"export pbm, edit", {{"export", "IN", "pic.pbm"}, {"edit", "pic.pbm", "OUT", "rotate-cw", "rotate-ccw"}}},
    };
    std::mt19937 random(43);
    for (const PictureSize size :
         {PictureSize{1, 1}, PictureSize{12, 7}, kModuleSize, PictureSize{128, 64}, PictureSize{800, 480}}) {
        for (const Way &way : ways) {
            if (!way.anySize && !IsModuleSize(size))
                continue;
            TempDir dir;
            const auto in = SavedPicture(dir, "in.pbm", random, size);
            const auto in2 = SavedPicture(dir, "in2.pbm", random, size);
            const std::string sizeText = std::to_string(size.width) + "x" + std::to_string(size.height);
            const std::string what = std::string(way.name) + " at " + sizeText;
            bool each = false;
            for (std::vector<std::string> step : way.steps) {
                std::string redirect;
                for (auto word = step.begin(); word != step.end(); ++word) {
                    if (*word == ">") {
                        redirect = (dir / *(word + 1)).string();
                        step.erase(word, step.end());
                        break;
                    }
                    each = each || *word == "--each";
                    const bool file = word->find('.') != std::string::npos || *word == "each";
                    *word = *word == "IN"     ? in.string()
                            : *word == "IN2"  ? in2.string()
                            : *word == "SIZE" ? sizeText
                            : *word == "OUT"  ? (dir / "out.pbm").string()
                            : file            ? (dir / *word).string()
                                              : *word;
                }
                const CliResult result = RunCliProcess(step);
                ASSERT_EQ(result.exitCode, 0) << what << ", " << step[0] << ": " << result.err;
                if (!redirect.empty())
                    std::ofstream(redirect, std::ios::binary) << result.out;
            }
            const std::string suffix = IsModuleSize(size) ? ".Lcd" : ".pbm";
            const auto back = each ? dir / "each" / ("in" + suffix) : dir / "out.pbm";
            ASSERT_TRUE(std::filesystem::exists(back)) << what;
            EXPECT_EQ(Shown(back), Shown(in)) << what;
            if (way.steps.front().size() > 2 && way.steps.front()[2] == "IN2") {
                EXPECT_EQ(Shown(dir / "each" / ("in2" + suffix)), Shown(in2)) << what;
            }
        }
    }
}

TEST(CliFont, AFolderOfBitmapsMakesAFont)
{
    TempDir dir;
    std::mt19937 random(44);
    std::filesystem::create_directories(dir / "glyphs");
    SavedPicture(dir, "glyphs/U+0041.pbm", random, {8, 12});
    SavedPicture(dir, "glyphs/U+0042.xbm", random, {8, 12});
    const CliResult font = RunCliProcess({"font", (dir / "glyphs").string(), "--output", (dir / "f.bdf").string()});
    EXPECT_EQ(font.exitCode, 0) << font.err;
    EXPECT_NE(TempDir::Read(dir / "f.bdf").find("CHARS 2"), std::string::npos);
}
