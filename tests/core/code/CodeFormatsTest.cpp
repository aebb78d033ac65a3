#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"

#include <gtest/gtest.h>

using namespace tessaldo;

TEST(ArrayNames, FileNamesBecomeIdentifiersThatNoCompilerRejects)
{
    const std::pair<const char *, const char *> names[] = {
        {"my-icon.v2.Lcd", "my_icon_v2"},
        {"2arrows.Lcd", "lcd_2arrows"},
        {"int.Lcd", "lcd_int"},
        {"그림.Lcd", "geurim"},
        {"--.Lcd", "picture"},
        {"_keep__this_.Lcd", "_keep__this_"},
        {"a  b++c.Lcd", "a_b_c"},
        {"dir.v1/main.Lcd", "lcd_main"},
        {"한 icon 둘.Lcd", "han_icon_dul"},
        {"and.lcd", "lcd_and"},
        {"x", "x"},
        // Hangul in Latin letters by the Revised Romanization, each syllable
        // from its jamo, finals as they sound at a word's end; jamo written
        // one by one (as macOS stores names) are the syllable they spell.
        {"와이파이.Lcd", "waipai"},
        {"집.Lcd", "jip"},
        {"닭꽃.Lcd", "dakkkot"},
        {"\u110C\u1175\u11B8.Lcd", "jip"},
        // Other scripts by their code points, as a font's glyphs are named; marks between words stay '_'.
        {"日本.Lcd", "U_65E5_U_672C"},
        {"café — 2.Lcd", "caf_U_00E9_2"},
    };
    for (const auto &[file, name] : names)
        EXPECT_EQ(NameFromFileName(std::filesystem::path(std::u8string(reinterpret_cast<const char8_t *>(file)))), name)
            << file;
#ifndef _WIN32
    // A POSIX name may hold bytes that are no UTF-8; a Windows name, UTF-16, cannot.
    EXPECT_EQ(NameFromFileName(std::filesystem::path("\xff.Lcd")), "picture");
#endif
    EXPECT_TRUE(IsUsableName("icon_2"));
    for (const char *bad : {"", "2icon", "my-icon", "class", "static", "picture!", "é"})
        EXPECT_FALSE(IsUsableName(bad)) << bad;
}

TEST(ArrayText, NoFileNameCanEndTheCommentOrBreakTheHeader)
{
    DotGrid grid;
    grid.SetDot(0, DotState::Set);
    const std::string text = CArray({grid, "x", "evil*/ int y; /*\n.Lcd"});
    EXPECT_EQ(text.find("*/ int"), std::string::npos);
    const auto array = text.find("static const unsigned char x[33] = {\n    0xA4,\n    0x01, 0x00,");
    ASSERT_NE(array, std::string::npos) << text;
    EXPECT_EQ(text.find("*/"), array - 3); // the comment ends only just before the array
    const std::string header = Guarded("\n" + text, "tessaldo-cli header a.Lcd", "2 icons.h");
    EXPECT_EQ(
        header.rfind("/* Made by tessaldo-cli header a.Lcd */\n#ifndef LCD_2_ICONS_H\n#define LCD_2_ICONS_H\n", 0), 0u);
    EXPECT_EQ(header.substr(header.size() - 28), "\n#endif /* LCD_2_ICONS_H */\n");
    // A name in another script is written as it is; only what is no character, or a control, is not.
    EXPECT_EQ(CArray({grid, "x", "와이파이\x7F\xC2\x85\xFF\xE5.Lcd"}).rfind("/* x, from 와이파이????.Lcd: ", 0), 0u);
    EXPECT_EQ(Guarded("", "tessaldo-cli header 와이파이.Lcd", "아이콘.h")
                  .rfind("/* Made by tessaldo-cli header 와이파이.Lcd */", 0),
              0u);
}

// The layout of X11's own writer: what bitmap(1) and every XBM reader expect.
TEST(XbmText, IsWrittenAsX11WritesBitmaps)
{
    DotGrid grid;
    grid.SetLCDType(LcdType::Row);
    grid.SetDot(DotAtCell(LcdType::Row, {0, 0}), DotState::Set);
    grid.SetDot(DotAtCell(LcdType::Row, {15, 15}), DotState::Set);
    EXPECT_EQ(XbmText(grid, "arrow"), "#define arrow_width 16\n"
                                      "#define arrow_height 16\n"
                                      "static unsigned char arrow_bits[] = {\n"
                                      "   0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,\n"
                                      "   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,\n"
                                      "   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80};\n");
}

// Each display's array stays in flash where the target has one, and compiles without its library.
TEST(PictureCode, PutsTheDisplaysArraysInFlashWhereverTheyCompile)
{
    struct Case {
        CodeFormat form;
        std::string_view guard;
        std::string_view declaration;
    };
    const Case cases[] = {
        {CodeFormat::Xbm, "#ifndef U8X8_PROGMEM\n#define U8X8_PROGMEM\n#endif\n",
         "static const unsigned char logo_bits[] U8X8_PROGMEM = {"},
        {CodeFormat::Gfx, kProgmemWherever, "static const unsigned char PROGMEM logo[1024] = {"},
        {CodeFormat::Pages, kProgmemWherever, "static const unsigned char PROGMEM logo[1024] = {"},
        {CodeFormat::Tiles, kProgmemWherever, "static const unsigned char PROGMEM logo[1024] = {"},
    };
    DotGrid grid;
    grid.SetAllDots(Dots({128, 64}));
    for (const Case &c : cases) {
        const std::string code = PictureCode({grid, "logo", "logo.Lcd"}, c.form).value();
        const std::size_t guard = code.find(c.guard);
        EXPECT_NE(guard, std::string::npos) << code;
        EXPECT_LT(guard, code.find(c.declaration)) << code;
    }
}
