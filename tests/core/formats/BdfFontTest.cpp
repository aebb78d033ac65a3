#include "core/formats/BdfFont.h"
#include "RandomPicture.h"
#include "core/convert/GlyphNames.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace tessaldo;

namespace {

// A font of one glyph, its box and rows as given, in a 16 x 16 cell two dots below the baseline.
std::string OneGlyphFont(const std::string &glyph, const std::string &fontBox = "FONTBOUNDINGBOX 16 16 0 -2\n")
{
    return "STARTFONT 2.1\nFONT x\nSIZE 16 75 75\n" + fontBox + "CHARS 1\nSTARTCHAR a\nENCODING 97\n" + glyph
           + "ENDCHAR\nENDFONT\n";
}

} // namespace

TEST(BdfFont, PicturesComeBackInEitherTypeInCodePointOrder)
{
    std::mt19937 random(5);
    const std::vector<FontGlyph> glyphs{{0xD55C, RandomGrid(random, LcdType::Row)},
                                        {0x41, RandomGrid(random, LcdType::Column)},
                                        {0x1F600, RandomGrid(random, LcdType::Row)}};
    const std::string font = FormatBdfFont(glyphs, "Hangul Icons");
    EXPECT_NE(font.find("FONT -Tessaldo-Hangul Icons-Medium-R-Normal--16-160-72-72-C-160-ISO10646-1\n"),
              std::string::npos);
    for (const LcdType type : {LcdType::Column, LcdType::Row}) {
        const BdfReading reading = ReadBdfFont(font, type);
        ASSERT_EQ(reading.problem, "");
        ASSERT_EQ(reading.glyphs.size(), 3U);
        EXPECT_EQ(reading.passedOver, 0U);
        for (const auto &[read, written] : {std::pair{0, 1}, {1, 0}, {2, 2}}) {
            EXPECT_EQ(reading.glyphs[read].codePoint, glyphs[written].codePoint);
            EXPECT_EQ(reading.glyphs[read].picture.nLCDType(), type);
            DotGrid shown = glyphs[written].picture;
            shown.SetLCDType(type); // the same picture on the screen in the other type's dots
            for (int row = 0; row < kGridSide; ++row)
                for (int column = 0; column < kGridSide; ++column)
                    EXPECT_EQ(
                        reading.glyphs[read].picture.IsSet(DotAtCell(type, {column, row})),
                        glyphs[written].picture.IsSet(DotAtCell(glyphs[written].picture.nLCDType(), {column, row})));
        }
    }
}

// A glyph of its own size sits where its offsets put it; dots that would
// fall outside the cell pass the glyph over, with the reason.
TEST(BdfFont, SmallerGlyphsArePlacedByTheirOffsets)
{
    // Two rows of three dots, the bottom row on the baseline, from the fifth
    // column; the same where a writer shrank the font's box to its dots.
    const std::string glyph = "BBX 3 2 4 0\nBITMAP\nE0\nA0\n";
    for (const std::string &font :
         {OneGlyphFont(glyph), OneGlyphFont(glyph, "FONTBOUNDINGBOX 3 2 4 0\nSTARTPROPERTIES 1\nFONT_ASCENT 14\n"
                                                   "ENDPROPERTIES\n")}) {
        const BdfReading reading = ReadBdfFont(font, LcdType::Row);
        ASSERT_EQ(reading.glyphs.size(), 1U);
        const DotGrid &picture = reading.glyphs[0].picture;
        EXPECT_EQ(SetCount(picture.AllDots()), 5);
        EXPECT_TRUE(picture.IsSet(DotAtCell(LcdType::Row, {4, 12})));
        EXPECT_TRUE(picture.IsSet(DotAtCell(LcdType::Row, {6, 13})));
        EXPECT_FALSE(picture.IsSet(DotAtCell(LcdType::Row, {5, 13})));
    }

    BdfReading reading = ReadBdfFont(OneGlyphFont("BBX 3 1 14 0\nBITMAP\nE0\n"), LcdType::Row);
    EXPECT_TRUE(reading.glyphs.empty());
    EXPECT_EQ(reading.passedOver, 1U);
    EXPECT_EQ(reading.firstPassedOver,
              "U+0061: 1 of its dots fall outside the 16 x 16 picture (its box is 3 x 1 at 14, 0)");
    // Blank rows beyond the cell lose nothing.
    std::string blankAbove;
    for (int row = 0; row < 17; ++row)
        blankAbove += "00\n";
    reading = ReadBdfFont(OneGlyphFont("BBX 8 18 0 -2\nBITMAP\n" + blankAbove + "FF\n"), LcdType::Row);
    ASSERT_EQ(reading.glyphs.size(), 1U);
    EXPECT_TRUE(reading.glyphs[0].picture.IsSet(DotAtCell(LcdType::Row, {7, 15})));
}

// As u8g2's 16 x 16 icon fonts are written: an ascent and descent of 0,
// ISO-8859 for ISO8859, no ENDFONT. The font's box is the cell then.
TEST(BdfFont, IconFontsWithoutMetricsOrEndAreTakenWithANote)
{
    std::string rows = "8000\n";
    for (int row = 1; row < 15; ++row)
        rows += "0000\n";
    const std::string font = "STARTFONT 2.1\nFONT open_iconic_test_2x\nSIZE 16 75 75\nFONTBOUNDINGBOX 16 16 0 0\n"
                             "STARTPROPERTIES 4\nFONT_ASCENT 0\nFONT_DESCENT 0\nCHARSET_REGISTRY \"ISO-8859\"\n"
                             "CHARSET_ENCODING \"1\"\nENDPROPERTIES\nCHARS 2\n"
                             "STARTCHAR corners\nENCODING 64\nDWIDTH 16 0\nBBX 16 16 0 0\nBITMAP\n"
                             + rows
                             + "0001\nENDCHAR\nSTARTCHAR bar\nENCODING 65\nDWIDTH 16 0\nBBX 2 1 3 5\nBITMAP\nC0\n"
                               "ENDCHAR\n";
    const BdfReading reading = ReadBdfFont(font, LcdType::Row);
    ASSERT_EQ(reading.problem, "");
    EXPECT_EQ(reading.note, "it ends without ENDFONT, but each of its 2 glyphs is whole, so they were taken");
    ASSERT_EQ(reading.glyphs.size(), 2U);
    const DotGrid &corners = reading.glyphs[0].picture;
    EXPECT_EQ(SetCount(corners.AllDots()), 2);
    EXPECT_TRUE(corners.IsSet(DotAtCell(LcdType::Row, {0, 0})));
    EXPECT_TRUE(corners.IsSet(DotAtCell(LcdType::Row, {15, 15})));
    // Two dots from the fourth column, five above the cell's bottom.
    const DotGrid &bar = reading.glyphs[1].picture;
    EXPECT_EQ(SetCount(bar.AllDots()), 2);
    EXPECT_TRUE(bar.IsSet(DotAtCell(LcdType::Row, {3, 10})));
    EXPECT_TRUE(bar.IsSet(DotAtCell(LcdType::Row, {4, 10})));
    // Cut at a glyph's end, as CHARS tells, is still cut short.
    EXPECT_EQ(ReadBdfFont(font.substr(0, font.find("STARTCHAR bar")), LcdType::Row).problem,
              "it ends before ENDFONT: the file is cut short");
}

// A font drawn for another size than 16 x 16 keeps it: each glyph a picture
// of the font's box, placed by its offsets, and written back as such a font.
TEST(BdfFont, FontsOfOtherSizesKeepTheirGlyphsSizeBothWays)
{
    // An "A" of a 5 x 7 font, its last row below the baseline, and a dot on the baseline.
    const std::string small = "STARTFONT 2.1\nFONT fixed-5x7\nSIZE 7 75 75\nFONTBOUNDINGBOX 5 7 0 -1\n"
                              "STARTPROPERTIES 2\nFONT_ASCENT 6\nFONT_DESCENT 1\nENDPROPERTIES\nCHARS 2\n"
                              "STARTCHAR A\nENCODING 65\nDWIDTH 5 0\nBBX 5 7 0 -1\nBITMAP\n"
                              "20\n50\n88\nF8\n88\n88\n08\nENDCHAR\n"
                              "STARTCHAR period\nENCODING 46\nDWIDTH 5 0\nBBX 1 1 2 0\nBITMAP\n80\nENDCHAR\nENDFONT\n";
    // An 8 x 16 glyph whose rows fill its box, and u8g2's 32 x 32 icons, whose box starts on the baseline.
    std::string tall = "STARTFONT 2.1\nFONT vga-8x16\nSIZE 16 75 75\nFONTBOUNDINGBOX 8 16 0 -4\nCHARS 1\n"
                       "STARTCHAR bar\nENCODING 124\nBBX 1 16 7 -4\nBITMAP\n";
    for (int row = 0; row < 16; ++row)
        tall += "80\n";
    tall += "ENDCHAR\nENDFONT\n";
    const std::string icon = "STARTFONT 2.1\nFONT open_iconic_4x\nSIZE 32 75 75\nFONTBOUNDINGBOX 32 32 0 0\n"
                             "STARTPROPERTIES 2\nFONT_ASCENT 0\nFONT_DESCENT 0\nENDPROPERTIES\nCHARS 1\n"
                             "STARTCHAR corner\nENCODING 64\nBBX 2 2 30 0\nBITMAP\n40\nC0\nENDCHAR\nENDFONT\n";
    const auto shown = [](const DotGrid &picture) {
        std::string rows;
        for (int row = 0; row < picture.Size().height; ++row) {
            for (int column = 0; column < picture.Size().width; ++column)
                rows += picture.IsSet(picture.DotAt({column, row})) ? '#' : '.';
            rows += '|';
        }
        return rows;
    };
    const BdfReading read = ReadBdfFont(small, LcdType::Row);
    ASSERT_EQ(read.problem, "");
    ASSERT_EQ(read.glyphs.size(), 2U);
    EXPECT_EQ(shown(read.glyphs[0].picture), "..#..|.#.#.|#...#|#####|#...#|#...#|....#|");
    EXPECT_EQ(shown(read.glyphs[1].picture), ".....|.....|.....|.....|.....|..#..|.....|");
    const BdfReading bar = ReadBdfFont(tall, LcdType::Column);
    ASSERT_EQ(bar.glyphs.size(), 1U);
    EXPECT_EQ(bar.glyphs[0].picture.Size(), (PictureSize{8, 16}));
    EXPECT_EQ(SetCount(bar.glyphs[0].picture.AllDots()), 16);
    EXPECT_TRUE(bar.glyphs[0].picture.IsSet(bar.glyphs[0].picture.DotAt({7, 15})));
    const BdfReading icons = ReadBdfFont(icon, LcdType::Row);
    ASSERT_EQ(icons.glyphs.size(), 1U);
    const DotGrid &corner = icons.glyphs[0].picture;
    EXPECT_EQ(corner.Size(), (PictureSize{32, 32}));
    EXPECT_EQ(SetCount(corner.AllDots()), 3);
    EXPECT_TRUE(corner.IsSet(corner.DotAt({31, 30})) && corner.IsSet(corner.DotAt({30, 31})));

    // FontForge shrinks the box to the dots; a font of character cells still says its cell.
    const BdfReading shrunk = ReadBdfFont("STARTFONT 2.1\nFONT x\nSIZE 7 72 72\nFONTBOUNDINGBOX 5 6 0 1\n"
                                          "STARTPROPERTIES 4\nSPACING \"C\"\nAVERAGE_WIDTH 50\nFONT_ASCENT 7\n"
                                          "FONT_DESCENT 0\nENDPROPERTIES\nCHARS 1\nSTARTCHAR A\nENCODING 65\n"
                                          "DWIDTH 5 0\nBBX 5 6 0 1\nBITMAP\n20\n50\n88\nF8\n88\n88\nENDCHAR\nENDFONT\n",
                                          LcdType::Row);
    ASSERT_EQ(shrunk.glyphs.size(), 1U);
    EXPECT_EQ(shown(shrunk.glyphs[0].picture), "..#..|.#.#.|#...#|#####|#...#|#...#|.....|");

    // Written and read again, every glyph is the same picture.
    const auto byCharacter = [&shown](const BdfReading &font) {
        std::map<char32_t, std::string> pictures;
        for (const FontGlyph &glyph : font.glyphs)
            pictures[glyph.codePoint] = shown(glyph.picture);
        return pictures;
    };
    for (const BdfReading *font : {&read, &bar, &icons})
        EXPECT_EQ(byCharacter(ReadBdfFont(FormatBdfFont(font->glyphs, "Sized"), LcdType::Row)), byCharacter(*font));
    // A dot beyond the box passes the glyph over, saying the picture's size.
    const BdfReading beyond = ReadBdfFont(
        small.substr(0, small.find("BBX 1 1 2 0")) + "BBX 1 1 5 0\nBITMAP\n80\n" + "ENDCHAR\nENDFONT\n", LcdType::Row);
    EXPECT_EQ(beyond.firstPassedOver,
              "U+002E: 1 of its dots fall outside the 5 x 7 picture (its box is 1 x 1 at 5, 0)");
}

TEST(BdfFont, DamagedFontsSayWhy)
{
    const std::string glyph = "BBX 8 2 0 0\nBITMAP\nFF\nFF\n";
    for (const auto &[text, problem] : std::initializer_list<std::pair<std::string, std::string>>{
             {"P4\n16 16\n", "it is no BDF font: it does not begin with STARTFONT"},
             {OneGlyphFont(glyph).substr(0, 119), "it ends inside the glyph a: the file is cut short"},
             {OneGlyphFont(glyph + "FF\n"),
              "line 12 holds more than the 2 rows of the glyph's BITMAP, or its ENDCHAR is missing"},
             {OneGlyphFont("BBX 8 2 0 0\nBITMAP\nFF\nG0\n"), "line 11 holds a row of the BITMAP that is no hex number"},
             {OneGlyphFont("BBX 8 3 0 0\nBITMAP\nFF\nFF\n"), "line 12 ends the BITMAP before its 3 rows"},
             {OneGlyphFont("BBX 8 2 0 0\nBITMAPX\nFF\nFF\n"), "line 12 ends the glyph a without its BITMAP"},
             {"STARTFONT 2.1\nCHARS 4611686018427387904\n",
              "line 2 gives CHARS a count too large for any font (4611686018427387904)"},
             {"STARTFONT 2.1\nCHARS many\n", "line 2 does not give CHARS its whole number"},
             {"STARTFONT 2.1\nSTARTPROPERTIES 2\nCHARSET_REGISTRY \"JISX0208.1983\"\nCHARSET_ENCODING \"0\"\n"
              "ENDPROPERTIES\n",
              "its characters are numbered in JISX0208.1983-0, not in Unicode (ISO10646), so they cannot be named "
              "U+XXXX"},
         }) {
        SCOPED_TRACE(text);
        const BdfReading reading = ReadBdfFont(text, LcdType::Row);
        EXPECT_EQ(reading.problem, problem);
        EXPECT_TRUE(reading.glyphs.empty());
    }
}

TEST(GlyphNames, NamesGiveTheirCharacters)
{
    EXPECT_EQ(CodePointName(0x41), "U+0041");
    EXPECT_EQ(CharacterFileName(0x1F600), "U+1F600.Lcd");
    EXPECT_EQ(CodePointOfName("U_D55C"), char32_t{0xD55C});
    EXPECT_EQ(CodePointOfName("U+10FFFF"), char32_t{0x10FFFF});
    for (const char *name : {"U_41", "U_110000", "U_D800", "U_-041", "logo", "U_00G1", "u_0041"})
        EXPECT_EQ(CodePointOfName(name), std::nullopt) << name;
}
