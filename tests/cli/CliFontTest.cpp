// font and import with the fonts the display libraries take: the reference
// files bdfconv and fontconvert wrote, from the same BDFs, through the command
// line; the fonts read back; the glyphs a text needs.
#include "CliRunner.h"
#include "DebianFonts.h"
#include "core/formats/BdfFont.h"
#include "core/formats/GfxFont.h"
#include "core/formats/U8g2Font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <tuple>

using namespace tessaldo;

namespace {

const std::filesystem::path kReferences = std::filesystem::path(TESSALDO_TEST_DATA) / "fonts";
// A TrueType font the set-up script installs (fonts-dejavu-core).
const std::filesystem::path kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// The BDF of one of Debian's X11 fonts, made once for all the tests.
std::filesystem::path Bdf(const std::string &stem, std::string &why)
{
    static const TempDir kFolder;
    static std::map<std::string, std::filesystem::path> made;
    if (const auto found = made.find(stem); found != made.end())
        return found->second;
    return made[stem] = DebianBdf(stem, kFolder.path(), why);
}

// The word after `key` in `line`.
std::string After(const std::string &line, const std::string &key)
{
    std::istringstream in(line.substr(line.find(key) + key.size()));
    std::string word;
    in >> word;
    return word;
}

std::string Quoted(const std::string &line)
{
    const std::size_t quote = line.find('\'');
    return line.substr(quote + 1, line.find('\'', quote + 1) - quote - 1);
}

struct Reference {
    std::string file; // in tests/data/fonts
    std::string bdf;  // the stem of the Debian font it was made from
    std::vector<std::string> options;
};

// Each reference file with the options of font that write it.
std::vector<Reference> References()
{
    std::vector<Reference> references;
    const std::map<std::string, std::string> modes{{"0", "proportional"}, {"1", "height"}, {"2", "mono"}};
    std::istringstream u8g2(TempDir::Read(kReferences / "u8g2" / "COMMANDS"));
    for (std::string line; std::getline(u8g2, line);) {
        const std::string bdf = line.substr(line.rfind(' ') + 1);
        references.push_back({"u8g2/" + line.substr(0, line.find(':')),
                              bdf.substr(0, bdf.size() - 4),
                              {"--glyphs", Quoted(line), "--mode", modes.at(After(line, "-b"))}});
    }
    std::istringstream gfx(TempDir::Read(kReferences / "gfx" / "COMMANDS"));
    for (std::string line; std::getline(gfx, line);) {
        std::istringstream codes(line.substr(line.find(" 8 ") + 3));
        std::string first;
        std::string last;
        codes >> first >> last;
        const std::string file = "gfx/" + line.substr(0, line.find(':'));
        references.push_back(
            {file,
             After(line, "Debian's"),
             {"--glyphs", first + "-" + last, "--name", After(TempDir::Read(kReferences / file), "const GFXfont ")}});
    }
    return references;
}

} // namespace

// Every reference file, byte for byte from its BDF; read back, each font
// gives its '0' as the BDF draws it.
TEST(CliFont, WritesTheConvertersFilesAndReadsThemBack)
{
    const TempDir dir;
    for (const Reference &reference : References()) {
        SCOPED_TRACE(reference.file);
        std::string why;
        const std::filesystem::path bdf = Bdf(reference.bdf, why);
        if (bdf.empty())
            GTEST_SKIP() << why;
        const std::filesystem::path out = dir / std::filesystem::path(reference.file).filename();
        std::vector<std::string> args{"font", bdf.string(), "--output", out.string()};
        args.insert(args.end(), reference.options.begin(), reference.options.end());
        const CliResult written = RunCliProcess(args);
        ASSERT_EQ(written.exitCode, 0) << written.err;
        EXPECT_EQ(TempDir::Read(out), TempDir::Read(kReferences / reference.file));

        const std::filesystem::path back = dir / "back.bdf";
        const CliResult read = RunCliProcess({"font", out.string(), "--output", back.string()});
        ASSERT_EQ(read.exitCode, 0) << read.err;
        const BitmapFont original = ReadBdfFont(TempDir::Read(bdf), LcdType::Row).font;
        const BitmapFont again = ReadBdfFont(TempDir::Read(back), LcdType::Row).font;
        ASSERT_NE(again.Find('0'), nullptr);
        EXPECT_EQ(Reduced(*again.Find('0')).dots, Reduced(*original.Find('0')).dots);
    }
}

// --text keeps exactly the glyphs a text draws, and names those the font lacks.
TEST(CliFont, ATextTakesItsOwnGlyphsAndNamesThoseMissing)
{
    const TempDir dir;
    const std::string text = "온도 23.5°C";
    const std::vector<std::tuple<std::string, std::vector<char32_t>, std::string>> cases{
        {"6x13",
         {U' ', U'.', U'2', U'3', U'5', U'C', U'\xb0'},
         "The font has no glyph for U+B3C4 도 and U+C628 온, which the text draws.\n"},
        {"18x18ko", {U' ', U'.', U'2', U'3', U'5', U'C', U'\xb0', U'\xb3c4', U'\xc628'}, ""},
        // TrueType draws only the text's characters, and names those it lacks as any font does.
        {"DejaVuSans.ttf",
         {U' ', U'.', U'2', U'3', U'5', U'C', U'\xb0'},
         "The font has no glyph for U+B3C4 도 and U+C628 온, which the text draws.\n"},
    };
    for (const auto &[stem, codes, missing] : cases) {
        SCOPED_TRACE(stem);
        std::string why = "needs Debian's fonts-dejavu-core";
        const bool trueType = stem.ends_with(".ttf");
        const std::filesystem::path source = trueType ? kDejaVuSans : Bdf(stem, why);
        if (!std::filesystem::exists(source))
            GTEST_SKIP() << why;
        std::vector<std::string> args{"font", source.string(), "--text", text, "--output", "-"};
        args.insert(args.end(), {"--format", "u8g2", "--name", "u8g2_font_status"});
        if (trueType)
            args.insert(args.end(), {"--size", "12"});
        const CliResult written = RunCliProcess(args);
        ASSERT_EQ(written.exitCode, 0) << written.err;
        EXPECT_EQ(written.err, missing);
        const std::vector<U8g2Source> fonts = FindU8g2Fonts(written.out);
        ASSERT_EQ(fonts.size(), 1U);
        std::vector<char32_t> read;
        const Result<BitmapFont> font = DecodeU8g2Font(fonts[0].bytes, fonts[0].name);
        ASSERT_TRUE(font) << font.message();
        for (const BitmapGlyph &glyph : font.value().glyphs)
            read.push_back(glyph.codePoint);
        std::sort(read.begin(), read.end());
        EXPECT_EQ(read, codes);
    }
}

// import takes every kind of font, at the font's own size: the reference
// files as one picture per glyph, and a font of 18 x 18 glyphs as a header.
TEST(CliFont, ImportTakesEveryFontAtItsOwnSize)
{
    const TempDir dir;
    for (const Reference &reference : References()) {
        SCOPED_TRACE(reference.file);
        const std::string text = TempDir::Read(kReferences / reference.file);
        const std::vector<U8g2Source> u8g2 = FindU8g2Fonts(text);
        const std::size_t glyphs = u8g2.empty() ? GfxFontGlyphs(ReadGfxFont(text).value()).glyphs.size()
                                                : DecodeU8g2Font(u8g2[0].bytes, u8g2[0].name).value().glyphs.size();
        const std::filesystem::path folder = dir / std::filesystem::path(reference.file).stem();
        const CliResult imported =
            RunCliProcess({"import", (kReferences / reference.file).string(), "--each", folder.string()});
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
        EXPECT_EQ(static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {})), glyphs);
    }
    std::string why;
    const std::filesystem::path bdf = Bdf("18x18ko", why);
    if (bdf.empty())
        GTEST_SKIP() << why;
    const std::filesystem::path few = dir / "few.bdf";
    ASSERT_EQ(RunCliProcess({"font", bdf.string(), "--glyphs", "$ac00-$ac02", "--output", few.string()}).exitCode, 0);
    const CliResult header = RunCliProcess({"import", few.string(), (dir / "hangul.h").string()});
    ASSERT_EQ(header.exitCode, 0) << header.err;
    EXPECT_NE(TempDir::Read(dir / "hangul.h").find("U_AC02"), std::string::npos);
    // A u8g2 font's glyphs come out as those of the BDF of the same glyphs.
    ASSERT_EQ(RunCliProcess({"font", few.string(), "--output", (dir / "few.c").string()}).exitCode, 0);
    for (const std::string font : {"few.bdf", "few.c"})
        ASSERT_EQ(
            RunCliProcess({"import", (dir / font).string(), "--each", (dir / ("each " + font)).string()}).exitCode, 0);
    const std::string picture = TempDir::Read(dir / "each few.bdf" / "U+AC02.pbm");
    EXPECT_NE(picture, "");
    EXPECT_EQ(TempDir::Read(dir / "each few.c" / "U+AC02.pbm"), picture);
}

// Glyphs drawn by hand go out as u8g2 fonts and GFXfonts that draw what
// their BDF draws: each glyph's dots, place and advance.
TEST(CliFont, DrawnGlyphsGoOutAsEveryFormat)
{
    const TempDir dir;
    ASSERT_EQ(RunCliProcess({"text", "A가.", "--each", (dir / "drawn").string()}).exitCode, 0);
    const auto glyphsOf = [&dir](const std::string &file) {
        const std::filesystem::path bdf = dir / (file + ".bdf");
        const CliResult made = RunCliProcess({"font", (dir / file).string(), "--output", bdf.string()});
        EXPECT_EQ(made.exitCode, 0) << made.err;
        std::vector<BitmapGlyph> glyphs;
        for (const BitmapGlyph &glyph : ReadBdfFont(TempDir::Read(bdf), LcdType::Row).font.glyphs)
            glyphs.push_back(Reduced(glyph));
        return glyphs;
    };
    const std::vector<BitmapGlyph> expected = glyphsOf("drawn");
    ASSERT_EQ(expected.size(), 3U);
    for (const std::string file : {"u8g2_font_drawn.c", "drawn_ascii.h"}) {
        SCOPED_TRACE(file);
        const CliResult made = RunCliProcess({"font", (dir / "drawn").string(), "--output", (dir / file).string(),
                                              "--glyphs", file.ends_with(".h") ? "32-127" : "*,$ac00"});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        std::vector<BitmapGlyph> read = glyphsOf(file);
        std::vector<BitmapGlyph> wanted = expected;
        if (file.ends_with(".h")) {
            wanted.erase(wanted.end() - 1); // GFX takes codes up to 255
            // and holds every code between the glyphs, blank where there is none.
            std::erase_if(read, [](const BitmapGlyph &glyph) { return glyph.advance == 0 && glyph.dots.empty(); });
        }
        // The u8g2 font keeps those below 0x100 first, as drawUTF8 looks for them.
        std::sort(read.begin(), read.end(), [](const auto &a, const auto &b) { return a.codePoint < b.codePoint; });
        EXPECT_EQ(read, wanted);
    }
}

// A glyph drawn in a 16 x 16 cell has the box of its dots in every format,
// as bdfconv shrinks it.
TEST(CliFont, DrawnGlyphsHaveTheBoxOfTheirDotsInEveryFormat)
{
    const TempDir dir;
    ASSERT_EQ(RunCliProcess({"text", "A", "--each", (dir / "drawn").string()}).exitCode, 0);
    std::vector<FontBox> boxes;
    for (const std::string file : {"a.bdf", "u8g2_font_a.c", "a.h"}) {
        SCOPED_TRACE(file);
        const CliResult made = RunCliProcess({"font", (dir / "drawn").string(), "--output", (dir / file).string()});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        const std::string text = TempDir::Read(dir / file);
        const BitmapFont font = file.ends_with(".bdf") ? ReadBdfFont(text, LcdType::Row).font
                                : file.ends_with(".h") ? GfxFontGlyphs(ReadGfxFont(text).value())
                                                       : DecodeU8g2Font(FindU8g2Fonts(text)[0].bytes, "a").value();
        ASSERT_EQ(font.glyphs.size(), 1U);
        boxes.push_back(font.glyphs[0].box);
    }
    EXPECT_LT(boxes[0].width, 16);
    EXPECT_EQ(boxes[1], boxes[0]);
    EXPECT_EQ(boxes[2], boxes[0]);
}

// Several sources make one font as a fallback font does: the first that has
// a character gives it, with one note counting the chosen characters later
// sources also have, and the line takes the largest ascent and descent.
TEST(CliFont, TheFirstSourceThatHasACharacterGivesIt)
{
    std::string why;
    const std::filesystem::path small = Bdf("4x6", why);
    const std::filesystem::path large = Bdf("9x15", why);
    if (small.empty() || large.empty())
        GTEST_SKIP() << why;
    const TempDir dir;
    const std::vector<std::pair<std::string, std::string>> cases{{"65", "1"}, {"48-57,$180", "10"}};
    for (const auto &[map, count] : cases) {
        SCOPED_TRACE(map);
        const CliResult made = RunCliProcess(
            {"font", small.string(), large.string(), "--glyphs", map, "--output", (dir / "x.bdf").string()});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        EXPECT_EQ(made.err, "Note: later sources also have " + count
                                + " of the characters chosen; each was taken from the first source that has it.\n");
        const BitmapFont font = ReadBdfFont(TempDir::Read(dir / "x.bdf"), LcdType::Row).font;
        const BitmapFont first = ReadBdfFont(TempDir::Read(small), LcdType::Row).font;
        ASSERT_FALSE(font.glyphs.empty());
        EXPECT_EQ(font.glyphs[0], Reduced(*first.Find(font.glyphs[0].codePoint)));
        EXPECT_EQ(font.Find(0x180) != nullptr, map.ends_with("$180")); // which only the later source has
        EXPECT_EQ(std::pair(font.ascent, font.descent), std::pair(12, 3));
    }
    // Pictures take their place among the sources: drawn first, their A is the font's.
    ASSERT_EQ(RunCliProcess({"text", "A", "--each", (dir / "drawn").string()}).exitCode, 0);
    const CliResult drawnFirst = RunCliProcess(
        {"font", (dir / "drawn").string(), small.string(), "--glyphs", "65", "--output", (dir / "d.bdf").string()});
    ASSERT_EQ(drawnFirst.exitCode, 0) << drawnFirst.err;
    EXPECT_GT(ReadBdfFont(TempDir::Read(dir / "d.bdf"), LcdType::Row).font.Find('A')->box.height, 5); // 4x6's is 5
}

// TrueType drawn at three sizes: every glyph otf2bdf -p PX -r 72 draws, read
// through the BDF reader, has the same dots, place and advance from font, and
// the font its ascent and descent (FreeType's rounded scale gives 13 at 14 px
// where otf2bdf gives 12).
TEST(CliFont, TrueTypeHasOtf2bdfsDotsAtEachSize)
{
    const std::filesystem::path &ttf = kDejaVuSans;
    if (!std::filesystem::exists(ttf) || std::system("command -v otf2bdf > /dev/null") != 0)
        GTEST_SKIP() << "DejaVu Sans drawn by otf2bdf needs Debian's fonts-dejavu-core and otf2bdf";
    const TempDir dir;
    for (const std::string size : {"12", "14", "16"}) {
        SCOPED_TRACE(size);
        const std::filesystem::path theirs = dir / ("otf2bdf" + size + ".bdf");
        const std::filesystem::path ours = dir / ("font" + size + ".bdf");
        // otf2bdf's status is no guide: it exits with 8 having written the whole font.
        ASSERT_NE(std::system(("otf2bdf -p " + size + " -r 72 -o " + ShellQuote(theirs.string()) + " "
                               + ShellQuote(ttf.string()))
                                  .c_str()),
                  -1);
        const CliResult made = RunCliProcess({"font", ttf.string(), "--size", size, "--output", ours.string()});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        const BitmapFont expected = ReadBdfFont(TempDir::Read(theirs), LcdType::Row).font;
        const BitmapFont drawn = ReadBdfFont(TempDir::Read(ours), LcdType::Row).font;
        ASSERT_GT(expected.glyphs.size(), 5000U);
        EXPECT_EQ(std::pair(drawn.ascent, drawn.descent), std::pair(expected.ascent, expected.descent));
        std::size_t same = 0;
        for (const BitmapGlyph &glyph : expected.glyphs) {
            const BitmapGlyph *found = drawn.Find(glyph.codePoint);
            same += found != nullptr && Reduced(*found) == Reduced(glyph) ? 1 : 0;
        }
        std::cout << size << " px: " << same << " of otf2bdf's " << expected.glyphs.size()
                  << " glyphs have its dots and advance\n";
        EXPECT_EQ(same, expected.glyphs.size());
    }
}

// A TrueType font needs its pixel size, and nothing else takes one.
TEST(CliFont, OnlyTrueTypeTakesAPixelSizeAndNeedsIt)
{
    const std::string ttf = kDejaVuSans.string();
    if (!std::filesystem::exists(ttf))
        GTEST_SKIP() << "needs Debian's fonts-dejavu-core";
    const std::string u8g2 = (kReferences / "u8g2" / "u8g2_font_5x7_tf.c").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"font", ttf, "--output", "-"}, "--size PX gives the pixel size to draw it at"},
        {{"import", ttf, "x.h"}, "--size PX gives the pixel size to draw it at"},
        {{"font", ttf, "--size", "129", "--output", "-"}, "--size must be 1 to 128"},
        {{"font", u8g2, "--size", "12", "--output", "-"}, "--size is the pixel size of a TrueType or OpenType font"},
        {{"import", u8g2, "x.h", "--size", "12"}, "--size applies to images and to TrueType and OpenType fonts"},
    };
    for (const auto &[args, said] : cases) {
        SCOPED_TRACE(args[0] + " " + args[2]);
        const CliResult refused = RunCliProcess(args);
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_NE(refused.err.find(said), std::string::npos) << refused.err;
    }
}

// A GFXfont drawn from TrueType moves down a line by the font's own line
// spacing, as fontconvert's yAdvance does: DejaVu Sans spaces its lines by
// 2384 of its 2048 units, more than its ascent and descent.
TEST(CliFont, TrueTypeGivesAGfxFontItsLineSpacing)
{
    if (!std::filesystem::exists(kDejaVuSans))
        GTEST_SKIP() << "needs Debian's fonts-dejavu-core";
    for (const auto &[size, yAdvance] : {std::pair("12", 14), {"14", 16}, {"24", 28}}) {
        SCOPED_TRACE(size);
        const CliResult made = RunCliProcess({"font", kDejaVuSans.string(), "--size", size, "--glyphs", "32-126,$b0",
                                              "--output", "-", "--format", "gfx"});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        const Result<GfxFont> font = ReadGfxFont(made.out);
        ASSERT_TRUE(font) << font.message();
        EXPECT_EQ(font.value().yAdvance, yAdvance);
    }
}

// A refusal is one sentence: a C source names the font its ending asks for,
// however its arrays fail as pictures; an empty text says it is empty.
TEST(CliFont, RefusalsSayWhyInOneSentence)
{
    const TempDir dir;
    const std::string notPictures = "const uint8_t a[] = {1, 2, 3};\n";
    const std::string u8g2 = (kReferences / "u8g2" / "u8g2_font_5x7_tf.c").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{dir.Write("empty.c", "").string()},
         "holds no u8g2 font (an array marked U8G2_FONT_SECTION) and no glyph "
         "pictures."},
        {{dir.Write("nofont.c", notPictures).string()},
         "holds no u8g2 font (an array marked U8G2_FONT_SECTION) and no glyph pictures."},
        {{dir.Write("nofont.h", notPictures).string()},
         "holds no GFXfont (a bitmap array, a GFXglyph table and the GFXfont) and no glyph pictures."},
        {{dir.Write("cut.h", notPictures + "const GFXglyph aGlyphs[] = { { 0, 1, 1, 4, 0, -3 } };\n").string()},
         "is a GFX header cut short, with a GFXglyph table but not the GFXfont that follows it."},
        {{dir.Write("nofont.ino", notPictures).string()},
         "holds no u8g2 font (an array marked U8G2_FONT_SECTION), no GFXfont and no glyph pictures."},
        {{(dir / "missing.h").string(), u8g2},
         "Cannot open \"" + (dir / "missing.h").string() + "\": No such file or directory."},
        {{u8g2, "--text", ""}, "Cannot make the font: the text is empty, so it chooses no glyphs."},
    };
    for (const auto &[sources, said] : cases) {
        SCOPED_TRACE(sources[0]);
        std::vector<std::string> args{"font"};
        args.insert(args.end(), sources.begin(), sources.end());
        args.insert(args.end(), {"--output", (dir / "out.bdf").string()});
        const CliResult refused = RunCliProcess(args);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err,
                  (sources.size() > 1 ? "" : "Cannot make the font: \"" + sources[0] + "\" ") + said + "\n");
    }
}
