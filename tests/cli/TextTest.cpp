// Text drawn from Unifont must be the font's own bitmaps, checked against the
// hex file the font is built from, not against this program's rendering.
#include "CliRunner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace {

const char *const kUnifontHex = "/usr/share/unifont/unifont.hex";

// The glyph's rows as '#' and '.', 8 or 16 wide, from its line in the hex file.
std::vector<std::string> Glyph(unsigned codePoint)
{
    std::ifstream hex(kUnifontHex);
    char key[8];
    std::snprintf(key, sizeof key, "%04X:", codePoint);
    for (std::string line; std::getline(hex, line);) {
        if (line.rfind(key, 0) != 0)
            continue;
        const std::string bits = line.substr(line.find(':') + 1);
        const std::size_t digitsPerRow = bits.size() / 16;
        std::vector<std::string> rows;
        for (std::size_t row = 0; row < 16; ++row) {
            const unsigned long value = std::stoul(bits.substr(row * digitsPerRow, digitsPerRow), nullptr, 16);
            std::string text;
            for (std::size_t bit = digitsPerRow * 4; bit-- > 0;)
                text += (value >> bit) & 1 ? '#' : '.';
            rows.push_back(text);
        }
        return rows;
    }
    return {};
}

// What `show` prints for a picture whose rows are these, placed from column
// `left` and row `top`, over the rows `under` (a clear picture if none).
std::string Shown(int type, const std::vector<std::vector<std::string>> &glyphs, int left, int top = 0,
                  std::vector<std::string> under = {})
{
    under.resize(16, std::string(16, '.'));
    for (int row = 0; row < 16; ++row) {
        std::string line;
        for (const auto &glyph : glyphs)
            line += glyph[static_cast<std::size_t>(row)];
        for (int i = 0; i < static_cast<int>(line.size()); ++i) {
            const int column = left + i;
            if (column >= 0 && column < 16 && row + top < 16 && line[static_cast<std::size_t>(i)] == '#')
                under[static_cast<std::size_t>(row + top)][static_cast<std::size_t>(column)] = '#';
        }
    }
    std::string text = "type " + std::to_string(type) + "\n";
    for (const std::string &line : under)
        text += line + "\n";
    return text;
}

std::string ShowText(const std::vector<std::string> &args, const std::string &expectedErr = "")
{
    TempDir dir;
    const CliResult drawn = RunCliProcess(args);
    EXPECT_EQ(drawn.exitCode, 0) << drawn.err;
    EXPECT_EQ(drawn.err, expectedErr);
    return RunCliProcess({"show", dir.Write("text.Lcd", drawn.out).string()}).out;
}

} // namespace

TEST(CliText, UnifontGlyphsComeOutDotForDotInBothLayouts)
{
    if (!std::ifstream(kUnifontHex))
        GTEST_SKIP() << kUnifontHex << " is not installed (Debian's unifont package)";
    for (const int type : {0, 1}) {
        const std::string t = std::to_string(type);
        for (const auto &[text, codePoint] : std::map<std::string, unsigned>{{"가", 0xAC00}, {"温", 0x6E29}})
            EXPECT_EQ(ShowText({"text", text, "-", "--type", t}), Shown(type, {Glyph(codePoint)}, 0)) << text;
        EXPECT_EQ(ShowText({"text", "Ab", "-", "--type", t}), Shown(type, {Glyph('A'), Glyph('b')}, 0));
        EXPECT_EQ(ShowText({"text", "A", "-", "--type", t}), Shown(type, {Glyph('A')}, 4)); // centred
        EXPECT_EQ(ShowText({"text", "A", "-", "--type", t, "--align", "left"}), Shown(type, {Glyph('A')}, 0));
    }
    // A wider line stays centred, cut on both sides, and the user is told.
    EXPECT_EQ(ShowText({"text", "Hello", "-"},
                       "The text \"Hello\" is 40 dots wide and does not fit the 16 x 16 picture, so it is cut.\n"),
              Shown(0, {Glyph('H'), Glyph('e'), Glyph('l'), Glyph('l'), Glyph('o')}, -12));
    EXPECT_EQ(ShowText({"text", "가A", "-", "--align", "left"},
                       "The text \"가A\" is 24 dots wide and does not fit the 16 x 16 picture, so it is cut.\n"),
              Shown(0, {Glyph(0xAC00)}, 0));
}

TEST(CliText, OntoSetsTheTextsDotsOverAPictureAndOffsetMovesItByWholeDots)
{
    if (!std::ifstream(kUnifontHex))
        GTEST_SKIP() << kUnifontHex << " is not installed (Debian's unifont package)";
    TempDir dir;
    // A row-layout picture with its top row set.
    const auto base = dir.Write("base.Lcd", " 1\r\n" + std::string(256, '1'));
    const auto topRow = dir / "top.Lcd";
    std::vector<std::string> edit = {"edit", base.string(), topRow.string(), "invert"};
    edit.resize(edit.size() + 15, "shift-up");
    ASSERT_EQ(RunCliProcess(edit).exitCode, 0);
    EXPECT_EQ(ShowText({"text", "A", "-", "--onto", topRow.string(), "--align", "left", "--offset", "3,1"}),
              Shown(1, {Glyph('A')}, 3, 1, {std::string(16, '#')}));
    EXPECT_EQ(ShowText({"text", "A", "-", "--align", "left", "--offset", "-2,0"},
                       "The text \"A\" is 8 dots wide and does not fit the 16 x 16 picture, so it is cut.\n"),
              Shown(0, {Glyph('A')}, -2));
}

TEST(CliText, MissingGlyphsAndUnknownFamiliesAreRefused)
{
    TempDir dir;
    const auto out = dir / "out.Lcd";
    const CliResult missing = RunCliProcess({"text", "A😀", out.string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("has no glyph for U+1F600"), std::string::npos) << missing.err;
    const CliResult family = RunCliProcess({"text", "A", out.string(), "--font", "No Such Family"});
    EXPECT_EQ(family.exitCode, 1);
    EXPECT_NE(family.err.find("--list-fonts"), std::string::npos) << family.err;
    EXPECT_EQ(RunCliProcess({"text", "", out.string()}).exitCode, 2) << "no text is no picture";
    EXPECT_EQ(RunCliProcess({"text", "A\x01", out.string()}).err,
              "Cannot draw \"AU+0001\": the text must be one line of characters, without control characters.\n");
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_NE(RunCliProcess({"text", "--list-fonts"}).out.rfind("Unifont\n", 0), std::string::npos);
}

TEST(CliText, EachCharacterGetsItsOwnFileForAHeader)
{
    TempDir dir;
    const CliResult each = RunCliProcess({"text", "가A", "--each", (dir / "glyphs").string()});
    ASSERT_EQ(each.exitCode, 0) << each.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "glyphs" / "U+AC00.Lcd"));
    EXPECT_TRUE(std::filesystem::exists(dir / "glyphs" / "U+0041.Lcd"));
    const CliResult header =
        RunCliProcess({"header", (dir / "glyphs" / "U+AC00.Lcd").string(), (dir / "glyphs" / "U+0041.Lcd").string()});
    EXPECT_EQ(header.exitCode, 0) << header.err;
    EXPECT_NE(header.out.find("U_AC00[33]"), std::string::npos);
    dir.Write("glyphs.h", header.out);
    const auto source =
        dir.Write("glyphs.c", "#include \"glyphs.h\"\nint main(void) { return U_AC00[0] + U_0041[0] - 2 * 0xA4; }\n");
    const std::string compile = "cc -std=c99 -pedantic -Wall -Wextra -Werror -o " + ShellQuote((dir / "g").string())
                                + " " + ShellQuote(source.string()) + " && " + ShellQuote((dir / "g").string());
    EXPECT_EQ(std::system(compile.c_str()), 0);
}

// --size tells the picture's WxH from the font's pixel size by its form;
// the line is centred on the picture's own width and height and cut at its edges.
TEST(CliText, APictureOfAnySizeTakesTheTextAtItsOwnWidth)
{
    if (!std::ifstream(kUnifontHex))
        GTEST_SKIP() << kUnifontHex << " is not installed (Debian's unifont package)";
    TempDir dir;
    const auto show = [&dir](const std::vector<std::string> &args, const std::string &expectedErr = "") {
        const CliResult drawn = RunCliProcess(args);
        EXPECT_EQ(drawn.exitCode, 0) << drawn.err;
        EXPECT_EQ(drawn.err, expectedErr);
        return RunCliProcess({"show", dir.Write("text.pbm", drawn.out).string()}).out;
    };
    std::vector<std::string> rows(64, std::string(128, '.'));
    for (std::size_t row = 0; row < 16; ++row)
        rows[24 + row].replace(56, 16, Glyph('H')[row] + Glyph('i')[row]);
    std::string expected = "size 128 x 64\n";
    for (const std::string &row : rows)
        expected += row + "\n";
    EXPECT_EQ(show({"text", "Hi", "-", "--size", "128x64"}), expected);
    // Both forms at once: the font's size and the picture's.
    EXPECT_EQ(show({"text", "Hi", "-", "--size", "12", "--size", "128x64"},
                   "At 12 px \"H\" loses all or most of its dots; a larger font size keeps them.\n")
                  .substr(0, 14),
              "size 128 x 64\n");

    // --onto takes the picture's size from its file, and says where the line is cut.
    const auto under = dir.Write("under.pbm", "P1\n20 10\n" + std::string(199, '0') + "1\n");
    const std::string onto =
        show({"text", "A", "-", "--onto", under.string()},
             "The text \"A\" is 8 dots wide and does not fit the 20 x 10 picture, so it is cut.\n");
    std::string glyph = "size 20 x 10\n";
    for (std::size_t row = 0; row < 10; ++row)
        glyph += "......" + Glyph('A')[row + 3] + "....." + (row == 9 ? "#" : ".") + "\n";
    EXPECT_EQ(onto, glyph);
    const CliResult clash = RunCliProcess({"text", "A", "-", "--onto", under.string(), "--size", "16x16"});
    EXPECT_EQ(clash.exitCode, 2);
    EXPECT_EQ(clash.err.substr(0, clash.err.find('\n')),
              "tessaldo-cli text: --onto " + under.string()
                  + " is 20 x 10, and the text goes onto it at that size; leave out --size 16x16");
}

// A font drawn smaller than its glyphs' strokes loses them to the threshold:
// the user is told which characters, and the picture is written still.
TEST(CliText, CharactersThatLoseMostOfTheirDotsAreNamed)
{
    const std::string fonts = RunCliProcess({"text", "--list-fonts"}).out;
    if (fonts.find("NanumGothic\n") == std::string::npos)
        GTEST_SKIP() << "NanumGothic is not installed (Debian's fonts-nanum package)";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--font", "NanumGothic", "--size", "14", "--size", "64x16"},
         "At 14 px \"°\" loses all or most of its dots; a larger font size "
         "keeps them.\n"},
        {{"--font", "NanumGothic", "--size", "64", "--size", "256x64"}, ""},
        {{"--size", "64x16"}, ""},
    };
    for (const auto &[options, note] : cases) {
        std::vector<std::string> args = {"text", "23.5°C", "-"};
        args.insert(args.end(), options.begin(), options.end());
        const CliResult drawn = RunCliProcess(args);
        EXPECT_EQ(drawn.exitCode, 0) << drawn.err;
        EXPECT_EQ(drawn.err, note);
    }
}
