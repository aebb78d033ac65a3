#include "DebianFonts.h"
#include "TempDir.h"
#include "core/formats/BdfFont.h"
#include "core/formats/FontFiles.h"
#include "core/formats/FontText.h"
#include "core/formats/GfxFont.h"
#include "core/formats/U8g2Font.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

using namespace tessaldo;

namespace {

const std::filesystem::path kReferences = std::filesystem::path(TESSALDO_TEST_DATA) / "fonts";

// One of Debian's X11 fonts read from its BDF, once.
const BitmapFont *DebianFont(const std::string &stem, std::string &why)
{
    const BdfReading *reading = DebianReading(stem, why);
    if (reading == nullptr)
        return nullptr;
    EXPECT_EQ(reading->problem, "") << stem;
    return &reading->font;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The word after `key` in `line`.
std::string After(const std::string &line, const std::string &key)
{
    std::istringstream in(line.substr(line.find(key) + key.size()));
    std::string word;
    in >> word;
    return word;
}

// The glyph as the font keeps it once shrunk to its dots, under the code it was written as.
BitmapGlyph ShrunkAs(const BitmapGlyph &glyph, char32_t code)
{
    BitmapGlyph shrunk = Reduced(glyph);
    shrunk.codePoint = code;
    return shrunk;
}

} // namespace

// Each reference file bdfconv wrote, from the same BDF, map and mode, byte
// for byte; and the font read back from it gives the glyphs that went in.
TEST(FontFormats, U8g2FontsAreBdfconvsByteForByteAndReadBack)
{
    for (const std::string &line : Lines(TempDir::Read(kReferences / "u8g2" / "COMMANDS"))) {
        SCOPED_TRACE(line);
        const std::string file = line.substr(0, line.find(':'));
        const std::string bdf = line.substr(line.rfind(' ') + 1);
        std::string why;
        const BitmapFont *font = DebianFont(bdf.substr(0, bdf.size() - 4), why);
        if (font == nullptr)
            GTEST_SKIP() << why;
        const std::size_t quote = line.find('\'');
        const Result<std::vector<GlyphRange>> map =
            ParseGlyphMap(line.substr(quote + 1, line.find('\'', quote + 1) - quote - 1));
        ASSERT_TRUE(map) << map.message();
        const std::vector<std::optional<char32_t>> chosen = ChooseGlyphs(*font, map.value());
        const auto mode = static_cast<U8g2Mode>(std::stoi(After(line, "-b")));
        const Result<std::string> written = FormatU8g2Font(*font, chosen, mode, After(line, "-n"));
        ASSERT_TRUE(written) << written.message();
        const std::string expected = TempDir::Read(kReferences / "u8g2" / file);
        EXPECT_EQ(written.value(), expected);

        const std::vector<U8g2Source> found = FindU8g2Fonts(expected);
        ASSERT_EQ(found.size(), 1U);
        EXPECT_EQ(found[0].name, After(line, "-n"));
        EXPECT_EQ(found[0].bytes, EncodeU8g2Font(*font, chosen, mode).value());
        const Result<BitmapFont> back = DecodeU8g2Font(found[0].bytes, found[0].name);
        ASSERT_TRUE(back) << back.message();
        std::vector<BitmapGlyph> sent;
        for (std::size_t i = 0; i < chosen.size(); ++i)
            if (chosen[i])
                sent.push_back(ShrunkAs(font->glyphs[i], *chosen[i]));
        std::stable_partition(sent.begin(), sent.end(), [](const BitmapGlyph &g) { return g.codePoint < 0x100; });
        ASSERT_EQ(back.value().glyphs.size(), sent.size());
        for (std::size_t i = 0; i < sent.size(); ++i) {
            const BitmapGlyph &read = back.value().glyphs[i];
            const BitmapGlyph shrunk = Reduced(read);
            // Modes 1 and 2 keep a common box and advance, the glyph in it
            // where it was, moved right of the origin.
            BitmapGlyph expected = sent[i];
            if (mode != U8g2Mode::Proportional) {
                expected.advance = read.advance;
                expected.box.x = shrunk.box.x;
                expected.box.y = shrunk.box.width == 0 ? shrunk.box.y : expected.box.y;
            }
            EXPECT_EQ(mode == U8g2Mode::Proportional ? read : shrunk, expected);
        }
        // The format keeps no ascent or descent: they are what the glyphs sent
        // reach, a blank glyph's top among them, as the font's box holds it.
        std::pair<int, int> reach;
        for (const BitmapGlyph &glyph : sent)
            reach = {std::max(reach.first, glyph.box.y + glyph.box.height), std::max(reach.second, -glyph.box.y)};
        EXPECT_EQ(std::pair(back.value().ascent, back.value().descent), reach);
    }
}

// Each reference header fontconvert wrote, its name aside, and read back.
TEST(FontFormats, GfxFontsAreFontconvertsAndReadBack)
{
    for (const std::string &line : Lines(TempDir::Read(kReferences / "gfx" / "COMMANDS"))) {
        SCOPED_TRACE(line);
        std::string why;
        const BitmapFont *font = DebianFont(After(line, "Debian's"), why);
        if (font == nullptr)
            GTEST_SKIP() << why;
        std::istringstream words(line.substr(line.find(" 8 ") + 3));
        unsigned first = 0;
        unsigned last = 0;
        words >> first >> last;
        const Result<GfxFont> gfx = BuildGfxFont(*font, first, last);
        ASSERT_TRUE(gfx) << gfx.message();
        const std::string expected = TempDir::Read(kReferences / "gfx" / line.substr(0, line.find(':')));
        EXPECT_EQ(FormatGfxFont(gfx.value(), After(expected, "const GFXfont ")), expected);
        const Result<GfxFont> back = ReadGfxFont(expected);
        ASSERT_TRUE(back) << back.message();
        EXPECT_EQ(back.value(), gfx.value());
        const BitmapFont glyphs = GfxFontGlyphs(back.value());
        const BitmapGlyph *capital = font->Find('A');
        EXPECT_EQ(*glyphs.Find('A'), *capital);
    }
}

// u8g2's and GFX's formats keep no ascent or descent: a font read back from
// either has what its glyphs reach, the highest top above the baseline and
// the lowest bottom below, 'A' or no 'A'; u8g2's font box also holds the
// tops of blank glyphs (9x15's space reaches 12, its other ASCII glyphs 11).
// Written again as a GFXfont, it keeps a line height: GFX's own yAdvance,
// or the ascent and descent where its first glyph is blank.
TEST(FontFormats, U8g2AndGfxFontsReadBackWithTheAscentAndDescentTheirGlyphsReach)
{
    using Metrics = std::pair<int, int>;
    const std::vector<std::tuple<std::string, std::string, Metrics, Metrics>> cases{
        {"9x15", "32-255", {12, 3}, {12, 3}},
        {"4x6", "32-255", {5, 1}, {5, 1}},
        {"18x18ko", "32-255", {15, 2}, {15, 2}},
        {"9x15", "48-57", {10, 0}, {10, 0}},
        {"9x15", "32-126,$b0", {12, 3}, {11, 3}}};
    for (const auto &[stem, map, fromU8g2, fromGfx] : cases) {
        std::string why;
        const BitmapFont *font = DebianFont(stem, why);
        if (font == nullptr)
            GTEST_SKIP() << why;
        const std::vector<std::optional<char32_t>> chosen = ChooseGlyphs(*font, ParseGlyphMap(map).value());
        for (const auto &[format, kind] :
             {std::pair(FontFormat::U8g2, FontKind::U8g2), {FontFormat::Gfx, FontKind::Gfx}}) {
            SCOPED_TRACE(stem + " " + map + (kind == FontKind::Gfx ? " GFX" : " u8g2"));
            const Result<std::string> text = FormatFont(*font, chosen, format, U8g2Mode::Proportional, "u8g2_font_f");
            ASSERT_TRUE(text) << text.message();
            const Result<BdfReading> back = ReadFont(text.value(), kind, "f", LcdType::Row);
            ASSERT_TRUE(back) << back.message();
            const BitmapFont &read = back.value().font;
            EXPECT_EQ(std::pair(read.ascent, read.descent), kind == FontKind::Gfx ? fromGfx : fromU8g2);
            const Result<std::string> again = FormatFont(read, ChooseGlyphs(read, ParseGlyphMap("*").value()),
                                                         FontFormat::Gfx, U8g2Mode::Proportional, "g");
            ASSERT_TRUE(again) << again.message();
            const Result<GfxFont> rewritten = ReadGfxFont(again.value());
            ASSERT_TRUE(rewritten) << rewritten.message();
            EXPECT_EQ(rewritten.value().yAdvance,
                      kind == FontKind::Gfx ? ReadGfxFont(text.value()).value().yAdvance : read.ascent + read.descent);
        }
    }
}

// A GFXfont holds every code from its first to its last; read back, it has
// exactly the glyphs written: not the entries that fill the codes between
// (no box and no advance, or copies of the default character, as 6x13
// lacks 0x7F-0x9F), but a space, and 5x7's À drawn as its A.
TEST(FontFormats, GfxFontsReadBackOnlyTheGlyphsWritten)
{
    const auto codes = [](const BitmapFont &font, char32_t last) {
        std::vector<char32_t> held;
        for (const BitmapGlyph &glyph : font.glyphs)
            if (glyph.codePoint >= ' ' && glyph.codePoint <= last)
                held.push_back(glyph.codePoint);
        std::sort(held.begin(), held.end());
        return held;
    };
    BitmapFont drawn;
    drawn.glyphs = {{U' ', 4, {0, 0, 0, 7}, {}},
                    {U'A', 4, {3, 2, 0, 0}, {1, 0, 1, 0, 1, 0}},
                    {U'\xb0', 4, {2, 2, 1, 5}, {1, 1, 1, 1}},
                    {U'\0', 4, {3, 3, 0, 0}, {1, 1, 1, 1, 0, 1, 1, 1, 1}}};
    BitmapFont withDefault = drawn;
    withDefault.defaultCharacter = U'\0';
    for (const BitmapFont *font : {&drawn, &withDefault}) {
        const Result<std::string> text =
            FormatFont(*font, {U' ', U'A', U'\xb0', {}}, FontFormat::Gfx, U8g2Mode::Proportional, "f");
        ASSERT_TRUE(text) << text.message();
        EXPECT_EQ(codes(GfxFontGlyphs(ReadGfxFont(text.value()).value()), 0xFF),
                  (std::vector<char32_t>{U' ', U'A', U'\xb0'}));
    }
    for (const auto &[stem, last] : {std::pair("5x7", 255), {"6x13", 176}}) {
        SCOPED_TRACE(stem);
        std::string why;
        const BitmapFont *font = DebianFont(stem, why);
        if (font == nullptr)
            GTEST_SKIP() << why;
        const BitmapFont back = GfxFontGlyphs(BuildGfxFont(*font, ' ', static_cast<char32_t>(last)).value());
        EXPECT_EQ(codes(back, 0xFF), codes(*font, static_cast<char32_t>(last)));
    }
}

TEST(FontFormats, GfxRefusesCodesBeyondAByteAndReadsOnlyWholeFonts)
{
    BitmapFont font;
    font.glyphs.push_back({0xB0, 3, {2, 1, 0, 4}, {1, 1}});
    const Result<GfxFont> refused = BuildGfxFont(font, 0x20, 0x100);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.message().find("up to 255 only"), std::string::npos);
    EXPECT_NE(refused.message().find("u8g2's font format"), std::string::npos);
    EXPECT_FALSE(BuildGfxFont(font, 0x21, 0x20));
    const std::vector<std::pair<std::string, std::string>> headers{
        {"const uint8_t aBitmaps[] = { 0x80 };",
         "cut short or incomplete: it lacks its GFXglyph table and its GFXfont."},
        {"const uint8_t aBitmaps[] = { 0x80 };\n"
         "const GFXglyph aGlyphs[] = { { 0, 3, 3, 4, 0, -3 } };\n"
         "const GFXfont a = { (uint8_t *)aBitmaps, (GFXglyph *)aGlyphs, "
         "0x41, 0x41, 4 };",
         "reaches past the end of its bitmap"},
        {"const uint8_t aBitmaps[] = { 0x };\n"
         "const GFXglyph aGlyphs[] = { { 0, 1, 1, 4, 0, -3 } };\n"
         "const GFXfont a = { (uint8_t *)aBitmaps, (GFXglyph *)aGlyphs, 0x41, 0x41, 4 };",
         "it lacks its uint8_t bitmap array."}};
    for (const auto &[header, why] : headers) {
        const Result<GfxFont> read = ReadGfxFont(header);
        ASSERT_FALSE(read) << header;
        EXPECT_NE(read.message().find(why), std::string::npos) << read.message();
    }
}

// What goes out as BDF comes back with every metric: advances, boxes shrunk
// to their dots, blank glyphs, glyphs left of their origin, ascent and descent.
TEST(FontFormats, BdfKeepsEveryMetricOutAndBack)
{
    BitmapFont font;
    font.name = "-Misc-Test";
    font.copyright = "Public domain";
    font.ascent = 14;
    font.descent = 2;
    font.defaultCharacter = 0x41;
    font.glyphs = {{0x41, 8, {8, 16, 0, -2}, std::vector<std::uint8_t>(128, 0)},
                   {0x20, 8, {8, 16, 0, -2}, std::vector<std::uint8_t>(128, 0)},
                   {0xD55C, 16, {3, 2, -1, -2}, {0, 1, 0, 1, 1, 1}}};
    font.glyphs[0].dots[8 * 3 + 2] = 1; // one dot, 2 right and 10 above the baseline
    const std::string written = FormatBdfFont(font);
    for (const std::string line : {"DWIDTH 8 0\nBBX 1 1 2 10\n", "DWIDTH 8 0\nBBX 0 0 0 14\n",
                                   "DWIDTH 16 0\nBBX 3 2 -1 -2\n", "FONT_ASCENT 14\nFONT_DESCENT 2\n"})
        EXPECT_NE(written.find(line), std::string::npos) << line << written;
    const BdfReading read = ReadBdfFont(written, LcdType::Row);
    ASSERT_EQ(read.problem, "");
    BitmapFont expected = font;
    for (BitmapGlyph &glyph : expected.glyphs)
        glyph = Reduced(glyph);
    EXPECT_EQ(read.font.glyphs, expected.glyphs);
    EXPECT_EQ(
        std::tie(read.font.name, read.font.copyright, read.font.ascent, read.font.descent, read.font.defaultCharacter),
        std::tie(font.name, font.copyright, font.ascent, font.descent, font.defaultCharacter));

    std::string why;
    const BitmapFont *debian = DebianFont("5x7", why);
    if (debian == nullptr)
        GTEST_SKIP() << why;
    const BdfReading again = ReadBdfFont(FormatBdfFont(*debian), LcdType::Row);
    EXPECT_EQ(std::pair(again.font.ascent, again.font.descent), std::pair(6, 1));
    ASSERT_EQ(again.font.glyphs.size(), debian->glyphs.size());
    for (std::size_t i = 0; i < debian->glyphs.size(); ++i)
        EXPECT_EQ(again.font.glyphs[i], Reduced(debian->glyphs[i]));
}

TEST(FontFormats, GlyphMapsReadAsU8g2ReadsThem)
{
    BitmapFont font;
    for (const char32_t code : {U'0', U'A', U'a', U'\x7f', U'\xb0', U'\xac00'})
        font.glyphs.push_back({code, 1, {}, {}});
    using Codes = std::vector<std::optional<char32_t>>;
    const std::vector<std::pair<std::string, Codes>> cases{
        {"*", {U'0', U'A', U'a', U'\x7f', U'\xb0', {}}},
        {"32-127,$b0", {U'0', U'A', U'a', U'\x7f', U'\xb0', {}}},
        {"32-255,~$7f,~48", {{}, U'A', U'a', {}, U'\xb0', {}}},
        {"65, $ac00>$e000", {{}, U'A', {}, {}, {}, U'\xe000'}},
        {"$41-$61>$100", {{}, U'\x100', U'\x120', {}, {}, {}}},
        {"~32-255,65", {{}, U'A', {}, {}, {}, {}}},
    };
    for (const auto &[map, codes] : cases) {
        const Result<std::vector<GlyphRange>> ranges = ParseGlyphMap(map);
        ASSERT_TRUE(ranges) << map << ranges.message();
        EXPECT_EQ(ChooseGlyphs(font, ranges.value()), codes) << map;
    }
    const std::vector<std::pair<std::string, std::string>> refused{
        {"", "cannot be read"},       {"32-", "cannot be read"},     {"$zz", "cannot be read"},
        {"127-32", "runs backwards"}, {"~65>66", "cannot be read"},  {"65,,66", "cannot be read"},
        {"0x41", "cannot be read"},   {"1114112", "cannot be read"}, {"32-126, 200-100", "as in 100-200."}};
    for (const auto &[map, why] : refused) {
        const Result<std::vector<GlyphRange>> ranges = ParseGlyphMap(map);
        ASSERT_FALSE(ranges) << map;
        EXPECT_NE(ranges.message().find(why), std::string::npos) << ranges.message();
    }
}

// A text keeps only the glyphs it draws, and names those the font lacks.
TEST(FontFormats, ATextChoosesItsGlyphsAndNamesThoseMissing)
{
    EXPECT_EQ(TextCharacters("온도 23.5°C\n온도"),
              (std::vector<char32_t>{U' ', U'.', U'2', U'3', U'5', U'C', U'\xb0', U'\xb3c4', U'\xc628'}));
    BitmapFont font;
    for (const char32_t code : {U' ', U'.', U'2', U'3', U'4', U'5', U'C', U'\xb3c4'})
        font.glyphs.push_back({code, 1, {}, {}});
    const TextGlyphs glyphs = ChooseGlyphsForText(font, "온도 23.5°C");
    using Codes = std::vector<std::optional<char32_t>>;
    EXPECT_EQ(glyphs.chosen, (Codes{U' ', U'.', U'2', U'3', {}, U'5', U'C', U'\xb3c4'}));
    EXPECT_EQ(glyphs.missing, "The font has no glyph for U+00B0 ° and U+C628 온, which the text draws.");
    EXPECT_EQ(ChooseGlyphsForText(font, "23.5 C").missing, "");
    // A map names each code it asks for and each range with nothing in the font.
    const std::vector<std::pair<std::string, std::string>> maps{
        {"32-127,$b0,$ac00-$ac40,~$c628",
         "The font has no glyph for U+00B0 ° and any of U+AC00 to U+AC40, which the glyph map asks for."},
        {"$a0,$7f", "The font has no glyph for U+00A0 and U+007F, which the glyph map asks for."},
        {"32-127,$b3c4", ""},
        {"~$b0", ""},
    };
    for (const auto &[map, missing] : maps)
        EXPECT_EQ(GlyphsMissingFromMap(font, ParseGlyphMap(map).value()), missing) << map;
}

// A font cut anywhere short of its end is refused with the reason, never
// read past; whole, it reads back to every glyph, code 0's (X11's fonts have one) among them.
TEST(FontFormats, U8g2FontsCutShortSayWhy)
{
    BitmapFont font;
    font.glyphs = {{U'\0', 2, {1, 1, 0, 0}, {1}},
                   {U'A', 4, {3, 2, 0, 0}, {1, 0, 1, 0, 1, 0}},
                   {U'\xd55c', 9, {2, 2, 1, -1}, {1, 1, 0, 1}}};
    const std::vector<std::uint8_t> bytes =
        EncodeU8g2Font(font, {U'\0', U'A', U'\xd55c'}, U8g2Mode::Proportional).value();
    const Result<BitmapFont> whole = DecodeU8g2Font(bytes, "f");
    ASSERT_TRUE(whole) << whole.message();
    EXPECT_EQ(whole.value().glyphs, font.glyphs);
    for (std::size_t size = 0; size + 1 < bytes.size(); ++size) {
        const Result<BitmapFont> cut = DecodeU8g2Font({bytes.begin(), bytes.begin() + static_cast<long>(size)}, "f");
        ASSERT_FALSE(cut) << size;
        EXPECT_EQ(cut.message(),
                  "The u8g2 font f ends inside a glyph or its header: its bytes are cut short or damaged.");
    }
}

// A file is told a font by its ending or its bytes, the same on every face;
// images, and C sources that hold no font, are none.
TEST(FontFormats, EachKindOfFontIsToldByItsNameOrItsBytes)
{
    const std::vector<std::tuple<std::string, std::string, FontKind>> cases{
        {"a.BDF", "", FontKind::Bdf},
        {"font", "STARTFONT 2.1\n", FontKind::Bdf},
        {"a.TTF", "", FontKind::TrueType},
        {"a.otf", "", FontKind::TrueType},
        {"font", std::string("\0\1\0\0\0\x12", 6), FontKind::TrueType},
        {"font", "OTTO\0\x0b", FontKind::TrueType},
        {"font", "ttcf", FontKind::TrueType},
        {"f.c", "const uint8_t f[9] U8G2_FONT_SECTION(\"f\") = \"\";", FontKind::U8g2},
        {"F.h", "const GFXglyph FGlyphs[] = {}; const GFXfont F = {};", FontKind::Gfx},
        {"F.h", "const GFXglyph FGlyphs[] = {};", FontKind::None},
        {"f.png", "\x89PNG", FontKind::None},
        {"U8G2_FONT_SECTION.txt", "U8G2_FONT_SECTION", FontKind::None},
    };
    for (const auto &[name, bytes, kind] : cases)
        EXPECT_EQ(FontKindOf(name, bytes), kind) << name;
}
