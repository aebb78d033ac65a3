#include "core/formats/DocumentText.h"
#include "DebianFonts.h"
#include "RandomPicture.h"
#include "core/formats/ShareLink.h"
#include "core/platform/FileIo.h"
#include "core/session/EditSession.h"
#include "core/session/GlyphSet.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace tessaldo;

namespace {

Document RandomSet(std::mt19937 &random, std::size_t count)
{
    Document set;
    set.type = random() % 2 ? LcdType::Row : LcdType::Column;
    set.form = random() % 2 ? SetForm::Frames : SetForm::Pictures;
    set.pictures.clear();
    for (std::size_t i = 0; i < count; ++i)
        set.pictures.push_back({"p" + std::to_string(i), static_cast<int>(random() % (kLongestDelayMs + 1)),
                                RandomGrid(random, LcdType::Column).AllDots()});
    set.pictures.front().delayMs = 0;
    set.pictures.back().delayMs = kLongestDelayMs;
    set.current = random() % count;
    return set;
}

// The set as a font's: metrics on the set and each glyph, a negative place,
// and a name, copyright and sample no address keeps as they are.
Document FontSet(Document set, std::optional<char32_t> defaultCharacter)
{
    set.font = FontMetrics{"-Misc-Fixed-Medium-R-Normal--7-70-75-75-C-50-ISO10646-1", "Public domain. \xC2\xA9 2026", 6,
                           -1, defaultCharacter};
    set.font->sample = "23.5\xC2\xB0"
                       "C";
    char32_t code = U' ';
    for (Picture &picture : set.pictures)
        picture.glyph.emplace(GlyphMetrics{code++, 1, 6, 5});
    set.pictures.back().glyph.emplace(GlyphMetrics{U'\uB3C4', 0, set.Size().height, -3});
    return set;
}

// A set whose whole link for `page` is exactly `length` characters long.
Document SetWithLinkOf(std::size_t length, const std::string &page)
{
    std::mt19937 random(3);
    Document set = RandomSet(random, 200);
    set.current = 0;
    const auto linkLength = [&page, &set] { return page.size() + 1 + WriteDocumentText(set).size(); };
    while (linkLength() > length)
        set.pictures.pop_back();
    // The last name grows by the characters still missing.
    set.pictures.back().name += std::string(length - linkLength(), 'x');
    return set;
}

} // namespace

TEST(DocumentTextTest, EverySetReadsBackExactlyInCharactersNoAddressEscapes)
{
    std::mt19937 random(11);
    Document small = RandomSet(random, 2);
    for (Picture &picture : small.pictures)
        picture.dots = Dots({5, 7});
    small.pictures.back().dots[9] = DotState::Set;
    for (const Document &set : {RandomSet(random, 1), RandomSet(random, 2), RandomSet(random, 40),
                                FontSet(RandomSet(random, 3), U'\u25A1'), FontSet(small, std::nullopt)}) {
        const std::string text = WriteDocumentText(set);
        EXPECT_EQ(text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-~"),
                  std::string::npos)
            << text;
        const DocumentReading reading = ReadDocumentText(text);
        ASSERT_TRUE(reading.document) << reading.problem;
        EXPECT_EQ(*reading.document, set);
    }
    Document full;
    full.pictures.front().dots.fill(DotState::Set);
    EXPECT_EQ(WriteDocumentText(full), "lcd1.0.p.0~picture.100." + std::string(42, '_') + "8");
    EXPECT_EQ(WriteDocumentText(Document{}), "lcd1.0.p.0~picture.100." + std::string(43, 'A'));
    // Other sizes say theirs, and eight clear bytes are one run: 0xF9 0x00.
    Document blank;
    blank.pictures.front().dots = Dots({8, 8});
    EXPECT_EQ(WriteDocumentText(blank), "lcd2.0.p.0.8x8~picture.100.-QA");
}

TEST(DocumentTextTest, DamagedTextsAreRefusedWithTheirReason)
{
    const std::string dots(43, 'A');
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"", "it does not begin as a Tessaldo picture does"},
        {"lcd2.0.p.0~a.1." + dots, "it does not begin as a Tessaldo picture does"},
        {"lcd1.0.p.0", "it holds no picture"},
        {"lcd1.2.p.0~a.1." + dots, "its LCD type is neither 0 nor 1"},
        {"lcd1.0.x.0~a.1." + dots, "its set is neither pictures (p) nor frames (f)"},
        {"lcd1.0.p.1~a.1." + dots, "the picture it edits is none of its 1"},
        {"lcd1.0.p.00~a.1." + dots, "the picture it edits is none of its 1"},
        {"lcd1.0.p.0~a.1." + dots + "~b", "picture 2 is not a name, a delay and dots"},
        {"lcd1.0.p.0~int.1." + dots, "the name of picture 1 is a keyword of C or C++"},
        {"lcd1.0.p.0~a.65536." + dots, "the delay of picture 1 is not from 0 to 65535 ms"},
        {"lcd1.0.p.0~a.-1." + dots, "the delay of picture 1 is not from 0 to 65535 ms"},
        {"lcd1.0.p.0~a.01." + dots, "the delay of picture 1 is not from 0 to 65535 ms"},
        {"lcd1.0.p.0~a.1." + dots.substr(1), "the dots of picture 1 are damaged"},
        {"lcd1.0.p.0~a.1." + dots.substr(1) + "B", "the dots of picture 1 are damaged"}, // a bit past dot 255
        {"lcd1.0.p.0~a.1." + dots.substr(1) + "=", "the dots of picture 1 are damaged"},
        {"lcd1.0.p.0~a.1." + dots + "~A.1." + dots, "two pictures are named a and A"},
        {"lcd2.0.p.0.0x4~a.1.AA", "its size is not from 1 x 1 to 1024 x 1024 dots"},
        {"lcd2.0.p.0.1025x1~a.1.AA", "its size is not from 1 x 1 to 1024 x 1024 dots"},
        {"lcd2.0.p.0.8x8~a.1.-gA", "the dots of picture 1 are damaged"},                         // seven bytes of eight
        {"lcd2.0.p.0.8x8~a.1.-QD5AA", "the dots of picture 1 are damaged"},                      // sixteen
        {"lcd2.0.p.0.8x8~a.1.gA", "the dots of picture 1 are damaged"},                          // a count and no byte
        {"lcd2.0.p.0.3x1~a.1.AP8", "the dots of picture 1 are damaged"},                         // a bit past dot 2
        {"lcd2.0.p.0.8x8...6..~a.1.-QA", "the metrics of its font are damaged"},                 // no descent
        {"lcd2.0.p.0.8x8...6_1.A.~a.1.-QA", "the metrics of its font are damaged"},              // no default's code
        {"lcd2.0.p.0.8x8...6_1..~a.1.-QA.65_0_7", "the glyph metrics of picture 1 are damaged"}, // no advance
        {"lcd2.0.p.0.8x8...6_1..~a.1.-QA.1114112_0_7_5", "the glyph metrics of picture 1 are damaged"},
        {"lcd2.0.p.0.8x8...6_1..~a.1.-QA.65_0_7_5_5_2_2_7_0", "the glyph metrics of picture 1 are damaged"}, // box out
        {"lcd2.0.p.0.8x8...6_1...1_65_1_66_5_0_0_0_0~a.1.-QA", "the metrics of its font are damaged"}, // B not in A..A
        {"lcd2.0.p.0.8x8...6_1...1_1114111_2~a.1.-QA", "the metrics of its font are damaged"},         // past U+10FFFF
        {"lcd2.0.p.0.8x8...6_1...1_65_1_65_5_1_1_0_0_256~a.1.-QA", "the metrics of its font are damaged"},
    };
    for (const auto &[text, reason] : damaged) {
        const DocumentReading reading = ReadDocumentText(text);
        EXPECT_FALSE(reading.document) << text;
        EXPECT_EQ(reading.problem, reason) << text;
    }
}

TEST(DocumentTextTest, AFontsSetReadsBackAsTheSameFontInEveryFormat)
{
    // A blank glyph, one whose box is less than the cell, one below the baseline.
    const BdfReading reading = ReadBdfFont(R"(STARTFONT 2.1
FONT -Misc-Fixed-Medium-R-Normal--7-70-75-75-C-50-ISO10646-1
SIZE 7 75 75
FONTBOUNDINGBOX 5 7 0 -1
STARTPROPERTIES 4
FONT_ASCENT 6
FONT_DESCENT 1
DEFAULT_CHAR 33
COPYRIGHT "Public domain."
ENDPROPERTIES
CHARS 3
STARTCHAR space
ENCODING 32
SWIDTH 640 0
DWIDTH 5 0
BBX 5 7 0 -1
BITMAP
00
00
00
00
00
00
00
ENDCHAR
STARTCHAR exclam
ENCODING 33
SWIDTH 640 0
DWIDTH 5 0
BBX 1 6 2 0
BITMAP
80
80
80
80
00
80
ENDCHAR
STARTCHAR g
ENCODING 103
SWIDTH 640 0
DWIDTH 6 0
BBX 4 5 0 -1
BITMAP
70
90
70
10
60
ENDCHAR
ENDFONT
)",
                                           LcdType::Row);
    ASSERT_EQ(reading.problem, "");
    const Document opened = GlyphSetOf(reading, LcdType::Row);
    const auto changed = [&opened](const std::function<void(Document &)> &change) {
        Document set = opened;
        change(set);
        return set;
    };
    const auto flip = [](Picture &picture, std::size_t dot) {
        picture.dots[dot] = picture.dots[dot] == DotState::Set ? DotState::Clear : DotState::Set;
    };
    std::vector<std::pair<std::string, Document>> sets = {
        {"as opened", opened},
        {"a dot set outside the box of !", changed([&flip](Document &set) { flip(set.pictures[1], 0); })},
        {"the lowest dot of ! cleared", changed([&flip](Document &set) { flip(set.pictures[1], 27); })},
        {"g's baseline moved, a sample typed", changed([](Document &set) {
             --set.pictures[2].glyph->baseline;
             set.font->sample = "g!";
         })},
        {"g and the default character left out",
         changed([](Document &set) { set.pictures.erase(set.pictures.begin() + 1, set.pictures.end()); })},
    };
    // Sets that leave out the glyphs u8g2's header measures and GFX's default
    // character, of fonts that draw them differently.
    for (const std::string stem : {"5x7", "helvR08"}) {
        std::string why;
        const BdfReading *debian = DebianReading(stem, why);
        if (debian == nullptr)
            continue;
        EditSession session;
        session.OpenSet(GlyphSetOf(*debian, LcdType::Row));
        ASSERT_EQ(session.KeepGlyphsForText("23.5°C"), "") << stem;
        // Runs of codes and five glyphs, where 5x7's glyphs alone would take tens of thousands.
        EXPECT_LT(DocumentHead(session.Doc()).size(), 2000U) << stem << ": the font as opened kept small";
        sets.emplace_back(stem + " after Glyphs from Text", session.Doc());
    }
    for (const auto &[what, set] : sets) {
        const DocumentReading back = ReadDocumentText(WriteDocumentText(set));
        ASSERT_TRUE(back.document) << what << ": " << back.problem;
        EXPECT_EQ(SampleTextOf(*back.document), SampleTextOf(set)) << what;
        // Kept unsaved, then changed back to the font as saved: nothing is left to save.
        Document work = set;
        ++work.pictures[0].delayMs;
        const KeptReading kept = ReadKeptText(WriteKeptText(work, set));
        ASSERT_TRUE(kept.document) << what << ": " << kept.problem;
        EditSession session;
        session.Restore(*kept.document, kept.saved);
        session.SetDelay(0, set.pictures[0].delayMs);
        EXPECT_TRUE(session.IsClean()) << what << ": back to the font as saved";
        for (const FontFormat format : {FontFormat::Bdf, FontFormat::U8g2, FontFormat::Gfx})
            for (const U8g2Mode mode : {U8g2Mode::Proportional, U8g2Mode::CommonHeight, U8g2Mode::Monospace}) {
                const Result<std::string> written = FontFileText(set, format, mode, "f");
                const Result<std::string> again = FontFileText(*back.document, format, mode, "f");
                ASSERT_TRUE(written && again) << what;
                EXPECT_EQ(again.value(), written.value())
                    << what << ", format " << static_cast<int>(format) << ", mode " << static_cast<int>(mode);
            }
    }
}

TEST(DocumentTextTest, KeptWorkComesBackAsSavedOrUnsavedAsItWasLeft)
{
    std::mt19937 random(5);
    const Document saved = RandomSet(random, 3);
    Document changed = saved;
    changed.current = 1;
    EXPECT_EQ(WriteKeptText(changed, saved), WriteDocumentText(changed)) << "another picture edited is no change";
    changed.pictures[2].delayMs = 7;
    const KeptReading kept = ReadKeptText(WriteKeptText(changed, saved));
    ASSERT_TRUE(kept.document) << kept.problem;

    EditSession session;
    session.Restore(*kept.document, kept.saved);
    EXPECT_EQ(session.Doc(), changed);
    EXPECT_FALSE(session.IsClean());
    EXPECT_FALSE(session.Steps().CanUndo());
    session.SetDelay(2, saved.pictures[2].delayMs);
    EXPECT_TRUE(session.IsClean()) << "back to what the file holds";

    const KeptReading damaged = ReadKeptText(WriteDocumentText(changed) + "\nlcd1.0.p.0");
    EXPECT_FALSE(damaged.document);
    EXPECT_EQ(damaged.problem,
              "The work kept in this browser from the last visit cannot be read: it holds no picture.");
}

TEST(ShareLinkTest, TheWholeSetTravelsWhileTheAddressIsAtMost8000Characters)
{
    const std::string page = "https://example.org/lcd/tessaldo.html?x=1";
    const Document fits = SetWithLinkOf(kLinkLimit, page);
    const ShareLink whole = MakeShareLink(page + "#old", fits);
    EXPECT_EQ(whole.address.size(), kLinkLimit);
    EXPECT_EQ(whole.address.rfind(page + "#lcd1.", 0), 0U) << whole.address;
    EXPECT_EQ(whole.note, "");
    const LinkReading read = ReadShareLink(whole.address.substr(whole.address.find('#')));
    ASSERT_TRUE(read.document) << read.problem;
    EXPECT_EQ(*read.document, fits);

    Document over = fits;
    over.pictures.back().name += "x";
    over.current = 1;
    const ShareLink edited = MakeShareLink(page, over);
    EXPECT_EQ(edited.note, "With the whole set the address would be longer than 8000 characters, which not every "
                           "program passes on, so the link holds only the picture p1.");
    EXPECT_FALSE(edited.tooLong);
    const LinkReading alone = ReadShareLink(edited.address.substr(edited.address.find('#') + 1));
    ASSERT_TRUE(alone.document);
    EXPECT_EQ(alone.document->pictures, std::vector<Picture>{over.Edited()});
    EXPECT_EQ(alone.document->type, over.type);

    EXPECT_EQ(ReadShareLink("#top").problem,
              "This address holds no picture that can be shown: it does not begin as a Tessaldo picture does.");
}

TEST(ShareLinkTest, DrawnPicturesMakeShortLinksAndOnlyTooLongOnesSaySo)
{
    // A filled box and a line under it, everything else clear, as drawn pictures mostly are.
    const auto drawn = [](PictureSize size) {
        Dots dots(size);
        for (int y = size.height / 4; y < size.height / 2; ++y)
            for (int x = size.width / 4; x < size.width / 2; ++x)
                dots[static_cast<std::size_t>(y * size.width + x)] = DotState::Set;
        for (int x = 0; x < size.width; ++x)
            dots[static_cast<std::size_t>((size.height - 2) * size.width + x)] = DotState::Set;
        return dots;
    };
    std::mt19937 random(8);
    const struct {
        Dots dots;
        std::size_t most;
        bool tooLong;
    } cases[] = {
        {drawn({128, 64}), 200, false},
        {drawn({800, 480}), 2000, false},
        {drawn({1024, 1024}), 4000, false},
        {RandomDots(random, {250, 122}), 5200, false},
        {RandomDots(random, {800, 480}), 70000, true},
    };
    const std::string page = "https://example.org/tessaldo.html";
    for (const auto &[dots, most, tooLong] : cases) {
        Document document;
        document.pictures.front().dots = dots;
        const ShareLink link = MakeShareLink(page, document);
        EXPECT_LE(link.address.size(), most) << PictureSizeText(dots.Size());
        EXPECT_EQ(link.tooLong, tooLong) << PictureSizeText(dots.Size());
        EXPECT_EQ(link.tooLong, link.address.size() > kLinkLimit);
        const LinkReading read = ReadShareLink(link.address.substr(page.size()));
        ASSERT_TRUE(read.document) << read.problem;
        EXPECT_TRUE(read.document->pictures.front().dots == dots);
    }
}

TEST(ShareLinkTest, AnOpenedLinkIsOneUnsavedStepBackToWhatWasThere)
{
    EditSession session;
    session.ToggleDot(3);
    session.SetSaved();
    std::mt19937 random(9);
    const Document shared = RandomSet(random, 4);
    session.OpenShared(shared);
    EXPECT_EQ(session.Doc(), shared);
    EXPECT_FALSE(session.IsClean());
    session.Undo();
    EXPECT_TRUE(session.IsClean());
    EXPECT_TRUE(session.Doc().Grid().IsSet(3));
}

TEST(FileNameTest, ASavedNameWithoutExtensionGetsTheOneGiven)
{
    EXPECT_EQ(NameToSaveAs("arrow", ".Lcd"), "arrow.Lcd");
    EXPECT_EQ(NameToSaveAs("arrow.", ".Lcd"), "arrow.Lcd");
    EXPECT_EQ(NameToSaveAs(".arrow", ".Lcd"), ".arrow.Lcd");
    EXPECT_EQ(NameToSaveAs("v1.2/arrow", ".Lcd"), "v1.2/arrow.Lcd");
    EXPECT_EQ(NameToSaveAs("arrow.lcd", ".Lcd"), "arrow.lcd");
    EXPECT_EQ(NameToSaveAs("arrow.txt", ".Lcd"), "arrow.txt");
    EXPECT_EQ(NameToSaveAs("...", ".Lcd"), "");
    EXPECT_EQ(NameToSaveAs(".lcd", ".Lcd"), "");
    EXPECT_EQ(NameToSaveAs("v1/.Lcd", ".Lcd"), "");
}

TEST(DocumentTextTest, PartsJoinedAreTheTextAndAChangeRewritesOnlyItsPart)
{
    std::mt19937 random(11);
    Document set = RandomSet(random, kPicturesPerPart * 2 + 3);
    PartWriter writer;
    const auto joined = [](const std::vector<TextPart> &parts) {
        std::string text;
        for (const TextPart &part : parts)
            text += part.text;
        return text;
    };
    EXPECT_EQ(joined(writer.Changed(set)), WriteDocumentText(set));
    EXPECT_EQ(writer.Count(), 4U);
    DotState &dot = set.pictures[kPicturesPerPart + 1].dots[7];
    dot = dot == DotState::Set ? DotState::Clear : DotState::Set;
    const std::vector<TextPart> changed = writer.Changed(set);
    ASSERT_EQ(changed.size(), 1U);
    EXPECT_EQ(changed[0].index, 2U);
    EXPECT_TRUE(writer.Changed(set).empty());
    set.pictures.pop_back();
    set.pictures.pop_back();
    set.pictures.pop_back();
    EXPECT_EQ(writer.Changed(set).size(), 0U);
    EXPECT_EQ(writer.Count(), 3U);
}
