#include "core/session/GlyphSet.h"
#include "DebianFonts.h"
#include "TempDir.h"
#include "core/formats/BdfFont.h"
#include "core/formats/FontFiles.h"
#include "core/formats/FontText.h"
#include "core/model/Displays.h"
#include "core/session/EditSession.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace tessaldo;

namespace {

std::vector<std::optional<char32_t>> Every(const BitmapFont &font)
{
    std::vector<std::optional<char32_t>> chosen;
    for (const BitmapGlyph &glyph : font.glyphs)
        chosen.emplace_back(glyph.codePoint);
    return chosen;
}

std::string Saved(const Document &set, FontFormat format, U8g2Mode mode = U8g2Mode::Proportional)
{
    const Result<std::string> text = FontFileText(set, format, mode, "u8g2_font_test");
    EXPECT_TRUE(text) << text.message();
    return text ? text.value() : std::string();
}

std::size_t IndexOf(const Document &set, char32_t codePoint)
{
    for (std::size_t i = 0; i < set.pictures.size(); ++i)
        if (set.pictures[i].glyph && set.pictures[i].glyph->codePoint == codePoint)
            return i;
    return set.pictures.size();
}

// Debian's 5x7 opened for editing as its glyphs, or false with why it cannot be.
bool Open5x7(EditSession &session, std::string &why)
{
    const BdfReading *reading = DebianReading("5x7", why);
    if (reading != nullptr)
        session.OpenSet(GlyphSetOf(*reading, LcdType::Row));
    return reading != nullptr;
}

} // namespace

// A font opened as a glyph set and saved unchanged is the font the command
// line's font writes from the same file, in every format and build mode.
TEST(GlyphSet, SavedUnchangedIsWhatFontWrites)
{
    for (const std::string stem : {"5x7", "6x13", "helvR08"}) {
        std::string why;
        const BdfReading *reading = DebianReading(stem, why);
        if (reading == nullptr)
            GTEST_SKIP() << why;
        const Document set = GlyphSetOf(*reading, LcdType::Row);
        ASSERT_EQ(set.pictures.size(), reading->font.glyphs.size()) << stem;
        EXPECT_EQ(set.pictures[IndexOf(set, U'A')].name, "U_0041");
        const auto written = [&reading](FontFormat format, U8g2Mode mode) {
            return FormatFont(reading->font, Every(reading->font), format, mode, "u8g2_font_test").value();
        };
        EXPECT_TRUE(Saved(set, FontFormat::Bdf) == written(FontFormat::Bdf, U8g2Mode::Proportional)) << stem;
        for (const U8g2Mode mode : {U8g2Mode::Proportional, U8g2Mode::CommonHeight, U8g2Mode::Monospace})
            EXPECT_TRUE(Saved(set, FontFormat::U8g2, mode) == written(FontFormat::U8g2, mode))
                << stem << ' ' << static_cast<int>(mode);
    }
}

// A font opened and saved, unchanged or after Glyphs from Text, is the font
// the command line writes from the same file and text, in every format: the
// header's line metrics from the glyphs the text leaves out, each glyph's box
// as the font gave it.
TEST(GlyphSet, SavedAfterGlyphsFromTextIsWhatFontWrites)
{
    for (const std::string stem : {"5x7", "helvR08"}) {
        std::string why;
        const BdfReading *reading = DebianReading(stem, why);
        if (reading == nullptr)
            GTEST_SKIP() << why;
        for (const std::string text : {"", "23.5°C", "x"}) {
            EditSession session;
            session.OpenSet(GlyphSetOf(*reading, LcdType::Row));
            if (!text.empty()) {
                ASSERT_EQ(session.KeepGlyphsForText(text), "") << stem;
            }
            const std::vector<std::optional<char32_t>> chosen =
                text.empty() ? Every(reading->font) : ChooseGlyphsForText(reading->font, text).chosen;
            for (const FontFormat format : {FontFormat::Bdf, FontFormat::U8g2, FontFormat::Gfx}) {
                const Result<std::string> ours =
                    FontFileText(session.Doc(), format, U8g2Mode::Proportional, "u8g2_font_test");
                const Result<std::string> cli =
                    FormatFont(reading->font, chosen, format, U8g2Mode::Proportional, "u8g2_font_test");
                EXPECT_EQ(ours ? ours.value() : ours.message(), cli ? cli.value() : cli.message())
                    << stem << " '" << text << "' " << static_cast<int>(format);
            }
        }
    }
}

// Each font command is one step of the history, taken back and brought again
// with the glyph's metrics, and stops at the picture's edges.
TEST(GlyphSet, BaselineAndAdvanceMoveAsSteps)
{
    std::string why;
    EditSession session;
    if (!Open5x7(session, why))
        GTEST_SKIP() << why;
    session.Select(IndexOf(session.Doc(), U'A'));
    const GlyphMetrics opened = *session.Doc().Edited().glyph;
    EXPECT_EQ(opened.advance, 5);
    EXPECT_EQ(opened.baseline, 6); // 5 x 7: six rows above the baseline, one below
    const std::string bdf = Saved(session.Doc(), FontFormat::Bdf);

    struct Case {
        CommandId command;
        int baseline;
        int advance;
        std::string line; // of A in the BDF saved after it
    };
    const std::vector<Case> cases{
        {CommandId::BaselineUp, 5, 5, "BBX 4 6 0 -1"},
        {CommandId::BaselineDown, 7, 5, "BBX 4 6 0 1"},
        {CommandId::AdvanceNarrower, 6, 4, "DWIDTH 4 0"},
        {CommandId::AdvanceWider, 6, 6, "DWIDTH 6 0"},
    };
    for (const Case &step : cases) {
        ASSERT_TRUE(session.IsEnabled(step.command, false));
        ASSERT_TRUE(session.Perform(step.command));
        EXPECT_EQ(std::pair(session.Doc().Edited().glyph->baseline, session.Doc().Edited().glyph->advance),
                  std::pair(step.baseline, step.advance))
            << CommandName(step.command);
        const std::string saved = Saved(session.Doc(), FontFormat::Bdf);
        const std::string glyphA = saved.substr(saved.find("ENCODING 65\n"), 80);
        EXPECT_NE(glyphA.find(step.line), std::string::npos) << CommandName(step.command) << glyphA;
        session.Undo();
        EXPECT_EQ(Saved(session.Doc(), FontFormat::Bdf), bdf) << CommandName(step.command);
        session.Redo();
        EXPECT_EQ(session.Doc().Edited().glyph->baseline, step.baseline);
        session.Undo();
    }
    // A glyph moved elsewhere in the set keeps its metrics.
    session.Perform(CommandId::AdvanceWider);
    session.MovePicture(session.Doc().current, 0);
    EXPECT_EQ(session.Doc().pictures[0].glyph->advance, 6);
    // The baseline stays within the picture.
    for (int i = 0; i < 10; ++i)
        session.Perform(CommandId::BaselineUp);
    EXPECT_EQ(session.Doc().Edited().glyph->baseline, 0);
    EXPECT_FALSE(session.IsEnabled(CommandId::BaselineUp, false));
    EXPECT_TRUE(session.IsEnabled(CommandId::BaselineDown, false));
}

// A glyph is added by its character, once; a text keeps the glyphs it draws
// and names those the font lacks; a set that is no font offers none of this.
TEST(GlyphSet, GlyphsAreAddedAndChosenByText)
{
    EditSession plain;
    for (const CommandId command : {CommandId::BaselineUp, CommandId::AddGlyph, CommandId::SaveFontAs})
        EXPECT_FALSE(plain.IsEnabled(command, false)) << CommandName(command);
    std::string why;
    EditSession session;
    if (!Open5x7(session, why))
        GTEST_SKIP() << why;
    session.Select(IndexOf(session.Doc(), U'A'));
    EXPECT_EQ(session.AddGlyph(U'A'), "The font has a glyph for U+0041 already: the picture U_0041.");
    EXPECT_EQ(session.AddGlyph(U'\xc628'), "");
    const Picture &added = session.Doc().Edited();
    EXPECT_EQ(added.name, "U_C628");
    EXPECT_EQ(IndexOf(session.Doc(), U'\xc628'), session.Doc().current);
    EXPECT_EQ(added.glyph, (GlyphMetrics{U'\xc628', 0, 6, 5}));
    EXPECT_EQ(std::count(added.dots.begin(), added.dots.end(), DotState::Set), 0);

    const std::vector<std::pair<std::string, std::string>> texts{
        {"온도 23.5°C", "The font has no glyph for U+B3C4 도, which the text draws."},
        {"온", ""},
    };
    const std::size_t whole = session.Doc().pictures.size();
    EXPECT_EQ(session.KeepGlyphsForText(texts[0].first), texts[0].second);
    std::vector<char32_t> kept;
    for (const Picture &picture : session.Doc().pictures)
        kept.push_back(picture.glyph->codePoint);
    // By character, the glyph added among them.
    EXPECT_EQ(kept, (std::vector<char32_t>{U' ', U'.', U'2', U'3', U'5', U'C', U'\xb0', U'\xc628'}));
    EXPECT_EQ(SampleTextOf(session.Doc()), texts[0].first);
    EXPECT_EQ(session.KeepGlyphsForText("가"), "The font has no glyph for U+AC00 가, which the text draws.");
    EXPECT_EQ(session.Doc().pictures.size(), kept.size());
    session.Undo();
    EXPECT_EQ(session.Doc().pictures.size(), whole);
}

// The preview's line: each glyph from the pen on the font's baseline, the pen moved on by its advance.
TEST(GlyphSet, ASampleLineAdvancesThePen)
{
    std::string why;
    const BdfReading *reading = DebianReading("5x7", why);
    if (reading == nullptr)
        GTEST_SKIP() << why;
    const Document set = GlyphSetOf(*reading, LcdType::Row);
    EXPECT_EQ(SampleTextOf(set).substr(0, 3), " !\"");
    const PictureSize display{32, 8};
    const Dots one = SampleLine(set, "g", display);
    const Dots two = SampleLine(set, "gg", display);
    const Dots lacking = SampleLine(set, "g\xea\xb0\x80g", display); // 가 draws nothing and moves nothing
    EXPECT_EQ(lacking, two);
    int count = 0;
    for (int y = 0; y < display.height; ++y)
        for (int x = 0; x < display.width; ++x) {
            const auto at = [&display, y](int column) { return static_cast<std::size_t>(y * display.width + column); };
            count += one[at(x)] == DotState::Set;
            const bool inFirst = x < 5 && one[at(x)] == DotState::Set;
            const bool inSecond = x >= 5 && one[at(x - 5)] == DotState::Set;
            EXPECT_EQ(two[at(x)] == DotState::Set, inFirst || inSecond) << x << ',' << y;
        }
    EXPECT_GT(count, 0);
    // g reaches below the baseline, onto the bottom row of a display of the font's height.
    const std::size_t lastRow = 6 * 32;
    EXPECT_TRUE(std::any_of(one.begin() + lastRow, one.begin() + lastRow + 5,
                            [](DotState state) { return state == DotState::Set; }));
}

// A glyph is added where its character puts it in the font, and edited.
TEST(GlyphSet, AGlyphIsAddedInCharacterOrder)
{
    std::string why;
    EditSession session;
    if (!Open5x7(session, why))
        GTEST_SKIP() << why;
    ASSERT_EQ(session.KeepGlyphsForText("AC"), "");
    session.Select(1);
    const std::vector<std::pair<char32_t, std::vector<char32_t>>> cases{
        {U'B', {U'A', U'B', U'C'}},
        {U' ', {U' ', U'A', U'B', U'C'}},
        {U'\xac00', {U' ', U'A', U'B', U'C', U'\xac00'}},
    };
    for (const auto &[added, order] : cases) {
        ASSERT_EQ(session.AddGlyph(added), "");
        std::vector<char32_t> codes;
        for (const Picture &picture : session.Doc().pictures)
            codes.push_back(picture.glyph->codePoint);
        EXPECT_EQ(codes, order);
        EXPECT_EQ(session.Doc().Edited().glyph->codePoint, added);
    }
}

// A glyph's character shows as itself, and one that would show as nothing by its code.
TEST(GlyphSet, AGlyphsCaptionIsItsCharacter)
{
    const std::vector<std::pair<char32_t, std::string>> cases{
        {U'A', "A"},
        {U'\xb0', "\xc2\xb0"},
        {U'\xb3c4', "\xeb\x8f\x84"},
        {U'~', "~"},
        {U'!', "!"},
        {U' ', "U+0020"},
        {0, "U+0000"},
        {0x7F, "U+007F"},
        {0x9F, "U+009F"},
        {0xA0, "U+00A0"},
        {0x200B, "U+200B"},
        {0x3000, "U+3000"},
        {0x1F600, "\xf0\x9f\x98\x80"},
    };
    for (const auto &[code, caption] : cases)
        EXPECT_EQ(GlyphCaption(code), caption) << static_cast<unsigned>(code);
    const Picture glyph{"U_0020", kDefaultDelayMs, {}, GlyphMetrics{U' ', 0, 6, 5}};
    EXPECT_EQ(StripCaption(glyph), "U+0020");
    EXPECT_EQ(StripCaption(Picture{"icon"}), "icon");
}

// The columns a glyph's advance reaches past its picture, for the canvas to show.
TEST(GlyphSet, AnAdvancePastTheCellIsMeasured)
{
    const std::vector<std::pair<GlyphMetrics, int>> cases{
        {{U'A', 0, 6, 5}, 0}, {{U'A', 0, 6, 6}, 1}, {{U'A', 1, 6, 5}, 1}, {{U'A', 2, 6, 9}, 6}, {{U'A', 0, 6, 0}, 0},
    };
    for (const auto &[metrics, beyond] : cases) {
        const Picture glyph{"U_0041", kDefaultDelayMs, Dots(PictureSize{5, 7}), metrics};
        EXPECT_EQ(AdvanceBeyondCell(glyph), beyond) << metrics.originColumn << ' ' << metrics.advance;
    }
    EXPECT_EQ(AdvanceBeyondCell(Picture{}), 0);
}

// The preview shows a font's sample line on the smallest display that holds
// it whole, the sample that Glyphs from Text kept once there is one.
TEST(GlyphSet, TheSampleLineChoosesTheDisplay)
{
    std::string why;
    EditSession session;
    if (!Open5x7(session, why))
        GTEST_SKIP() << why;
    EXPECT_EQ(SampleLineSize(session.Doc(), SampleTextOf(session.Doc())), (PictureSize{80, 7}));
    EXPECT_EQ(Displays()[session.PreviewDisplay()].size, (PictureSize{84, 48}));
    const std::vector<std::pair<std::string, PictureSize>> cases{
        {"23.5C", {32, 32}},                             // 25 dots: the smallest that is no tile
        {std::string(25, 'W'), {128, 32}},               // 125 dots
        {std::string(26, 'W'), {250, 122}},              // 130: wider than 128, on the fewest dots
        {std::string(200, 'W'), Displays().back().size}, // wider than any: the largest
    };
    for (const auto &[text, size] : cases) {
        ASSERT_EQ(session.KeepGlyphsForText(text), "");
        EXPECT_EQ(SampleTextOf(session.Doc()), text);
        EXPECT_EQ(Displays()[session.PreviewDisplay()].size, size) << text;
        session.Undo();
    }
}
