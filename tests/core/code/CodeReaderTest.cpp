#include "core/code/CodeReader.h"
#include "RandomPicture.h"
#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"

#include <array>
#include <gtest/gtest.h>

#include <tuple>

using namespace tessaldo;

namespace {

DotGrid::Dots Read(const std::string &text, const std::optional<std::string> &name = std::nullopt,
                   const CommandLineDefines &defines = {})
{
    const PickedPicture picked = PickPicture(FindPicturesInCode(text, {}, defines), name);
    EXPECT_TRUE(picked.bytes.has_value()) << picked.problem << "\n" << text;
    return picked.bytes ? DotsFromLayoutBytes(*picked.bytes, BitLayout::Module, LcdType::Column) : DotGrid::Dots{};
}

std::string Refusal(const std::string &text)
{
    const PickedPicture picked = PickPicture(FindPicturesInCode(text), std::nullopt);
    EXPECT_FALSE(picked.bytes.has_value()) << text;
    return picked.problem;
}

// 32 values: `first`, then 1 and zeros.
std::string Values32(const std::string &first)
{
    std::string values = "{" + first + ", 1";
    for (int i = 2; i < 32; ++i)
        values += ", 0";
    return values + "};\n";
}

std::string Raw(const DotGrid &grid)
{
    const ModuleBytes bytes = PictureModuleBytes(grid);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(CodeReader, EverythingTheProgramWritesReadsBackToTheSamePicture)
{
    std::mt19937 random(17);
    for (int round = 0; round < 50; ++round) {
        const DotGrid grid = RandomGrid(random, LcdType::Column);
        EXPECT_EQ(Read(LCDtoCODE(grid)), grid.AllDots());
        EXPECT_EQ(Read(CArray({grid, "logo", "logo.Lcd"})), grid.AllDots());
        EXPECT_EQ(Read(Raw(grid)), grid.AllDots());
        EXPECT_EQ(Read(Raw(grid).substr(1)), grid.AllDots()) << "the 32 picture bytes alone";
        const DotGrid other = RandomGrid(random, LcdType::Row);
        const std::string header = CArray({grid, "a", "a.Lcd"}) + CArray({other, "b", "b.Lcd"});
        EXPECT_EQ(Read(header, "b"), other.AllDots());
        EXPECT_EQ(FindPicturesInCode(header).pictures.size(), 2u);
    }
    DotGrid full;
    for (int dot = 0; dot < kDotCount; ++dot)
        full.SetDot(dot, DotState::Set);
    EXPECT_EQ(Read(LCDtoCODE(full)), full.AllDots());
    DotGrid commandByte; // the second printf begins with a picture byte of 0xA4
    for (const int dot : {114, 117, 119})
        commandByte.SetDot(dot, DotState::Set);
    EXPECT_EQ(Read(LCDtoCODE(commandByte)), commandByte.AllDots());
}

TEST(CodeReader, TakesThePrintfLinesAsPeopleReformatThemInsideLargerSource)
{
    DotGrid grid;
    grid.SetDot(0, DotState::Set);  // byte 0 = 0x01
    grid.SetDot(15, DotState::Set); // byte 1 = 0x80
    grid.SetDot(255, DotState::Set);
    std::string values;
    for (int byte = 2; byte < 31; ++byte)
        values += ", 0";
    const std::string source = "#include <18F452.h>\n"
                               "#define SHOW(x) \\\n  printf(x)\n"
                               "void splash(void) {\n"
                               "    int i; printf(\"%d\", i); // not a picture\n"
                               "    printf(\"%c\", 0x1B); // a command to the module, before the picture\n"
                               "    PRINTF_IS_NOT(\"%c\", 1);\n"
                               "    printf( \"%c%c%c\" /* command, bytes 0 and 1 */ ,\n"
                               "            0XA4 , 1U, 0200 );\n"
                               "    printf(\"%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c\"\n"
                               "           \"%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c\""
                               + values
                               + ", 0b10000000);\n"
                                 "}\n";
    EXPECT_EQ(Read(source), grid.AllDots());
    EXPECT_EQ(Read("{ 0x01, 0x80" + values + ", 128, }"), grid.AllDots()) << "a bare list of 32 values";
    EXPECT_EQ(Read("unsigned char icon[] = {0xa4, 1, 0x80" + values + ", 0x80};"), grid.AllDots());
}

TEST(CodeReader, ReadsFirmwareArraysAsTheirCompilersDo)
{
    const struct {
        std::string declaration;
        std::string first;
        std::uint8_t byte;
    } cases[] = {
        {"const uint8_t logo[] PROGMEM = ", "0xA4", 0xA4},
        {"const uint8_t logo[] __attribute__((progmem, aligned(2))) = ", "164", 0xA4},
        {"const __flash uint8_t logo[32] = ", "'\\xa4'", 0xA4},
        {"__code unsigned char logo[] = ", "'A'", 'A'},
        {"rom const char logo[2 * 16] = ", "'\\244'", 0xA4},
        {"uint8_t const logo[] = ", "(uint8_t)0x1A4", 0xA4},
        {"signed char logo[] = ", "-92", 0xA4},
        {"signed char logo[] = ", "- (int8_t) 128", 0x80},
        {"const unsigned char code logo[] _at_ 0x100 = ", "'\\n'", '\n'},
        {"const unsigned char logo[] @ 0x200 = ", "B10100100", 0xA4},
        {"#define B10100100 7\nconst char logo[] = ", "B10100100", 7},
        {"#define CMD 0xA4 // the command\n#define FIRST \\\n  (CMD)\nconst char logo[] = ", "FIRST", 0xA4},
        {"#define CMD 1\n#undef CMD\n#define CMD ((int8_t)'\\xff')\nconst BYTE logo[] = ", "CMD", 0xFF},
        {"const char logo[] = ", "'\\''", '\''},
    };
    for (const auto &example : cases) {
        const std::string source = example.declaration + Values32(example.first);
        const PickedPicture picked = PickPicture(FindPicturesInCode(source), std::nullopt);
        ASSERT_TRUE(picked.bytes) << picked.problem << "\n" << source;
        EXPECT_EQ(int((*picked.bytes)[0]), int(example.byte)) << source;
        EXPECT_EQ((*picked.bytes)[1], 1) << source;
    }
}

TEST(CodeReader, RefusalsSayWhatWasFound)
{
    std::string values31;
    for (int i = 0; i < 31; ++i)
        values31 += "0x00, ";
    EXPECT_EQ(Refusal(values31), "found 31 values; a picture is 32 values, or 33 beginning with 0xA4");
    EXPECT_EQ(Refusal("0x12, " + values31 + "0"), "found 33 values; a picture is 32 values, or 33 beginning with 0xA4");
    EXPECT_EQ(Refusal("const unsigned char logo[32] = {\n  0x00, 0x1FF, " + values31.substr(6) + "};"),
              "the value 0x1FF on line 2, column 9 is over 255");
    EXPECT_EQ(Refusal("x[] = " + Values32("08")), "\"08\" on line 1, column 8 is no whole number C reads");
    EXPECT_EQ(Refusal("x[] = " + Values32("-129")), "the value -129 on line 1, column 8 is under -128");
    EXPECT_EQ(Refusal("x[] = " + Values32("CMD") + "#define CMD 0xA4"),
              "the name CMD on line 1, column 8 is not #defined above it as a value");
    EXPECT_EQ(Refusal("#define F(x) x\nx[] = " + Values32("F(1)")), "\"F(1)\" on line 2, column 8 is no single value");
    std::string chain = "#define M0 1\n";
    for (int i = 1; i <= 40; ++i)
        chain += "#define M" + std::to_string(i) + " M" + std::to_string(i - 1) + "\n";
    EXPECT_EQ(Refusal(chain + "x[] = " + Values32("M40")),
              "\"M40\" on line 42, column 8 stands for macros that stand for macros more than 32 deep, which are "
              "taken to go round in a circle");
    EXPECT_EQ(Refusal("printf(\"%c%c%c\",0xA4,0x00);"),
              "the printf on line 1, column 1 has 3 %c conversions but 2 values");
    EXPECT_EQ(Refusal("a[]=" + Values32("1") + "b[]=" + Values32("2")),
              "it holds 2 pictures (a, b); name the one to take");
    EXPECT_EQ(PickPicture(FindPicturesInCode("a[]=" + Values32("1")), std::string("c")).problem,
              "it holds no picture named c (it holds a)");
    std::string many;
    for (char name = 'a'; name <= 'z'; ++name)
        many += std::string(1, name) + "[]=" + Values32("1");
    EXPECT_EQ(Refusal(many), "it holds 26 pictures (a, b, c, d, e, f, g, h and 18 more); name the one to take");
    // Arrays of no picture's length or shape are passed over, each told once.
    std::vector<std::string> notes;
    const CodeReading reading =
        FindPicturesInCode("font[475] = {1, 2};\nicons[16][2] = {{1, 2}, {3, 4}};\nlogo[] = " + Values32("0"),
                           [&notes](const std::string &why) { notes.push_back(why); });
    EXPECT_EQ(reading.pictures.size(), 1u);
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "the array font on line 1 has 475 values (2 given, the rest zero); a picture is 32 values, or "
                         "33 beginning with 0xA4",
                         "the array icons[16][2] on line 2 is 2 lists of 2 values; a picture is 32 values, or 33 "
                         "beginning with 0xA4"}));
    EXPECT_EQ(Refusal("x[] = {1, 2};"), "the array x on line 1 has 2 values; a picture is 32 values, or 33 "
                                        "beginning with 0xA4");
    EXPECT_EQ(Refusal("x[2][2] = {{1, 2}, {3}};\ny[] = {"),
              "none of its 2 arrays is a picture (the first: the array x on line 1 holds lists of unequal length "
              "or lists in lists; a picture is 32 values, or 33 beginning with 0xA4)");
    EXPECT_EQ(Refusal("Hello, world\n"), "nothing in it reads as a picture: no printf lines of %c, no array and no "
                                         "list of 32 or 33 values");
    EXPECT_EQ(Refusal(""), Refusal("/* unterminated comment"));
    // Source an editor saved as UTF-16, with its mark or without, either byte first, reads as it shows.
    const std::string values = Values32("0xA4");
    const std::string array = "/* 그림 */ x[] = " + values;
    const std::u16string wide = u"/* 그림 */ x[] = " + std::u16string(values.begin(), values.end());
    for (const bool lowFirst : {true, false})
        for (const bool mark : {true, false}) {
            std::string bytes = mark ? (lowFirst ? "\xFF\xFE" : "\xFE\xFF") : "";
            for (const char16_t unit : wide) {
                const std::array<char, 2> pair{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
                bytes += lowFirst ? std::string{pair[0], pair[1]} : std::string{pair[1], pair[0]};
            }
            EXPECT_EQ(Read(bytes), Read(array)) << lowFirst << mark;
        }
    // What the initialiser leaves out of a declared length is zero, as C fills it.
    const PickedPicture blank =
        PickPicture(FindPicturesInCode("rom const unsigned char blank[33] = {0xA4};"), std::nullopt);
    ASSERT_TRUE(blank.bytes) << blank.problem;
    EXPECT_EQ(*blank.bytes, PictureBytes{});
}

TEST(CodeReader, FollowsConditionalsMacroListsAndStringsAsTheCompilerDoes)
{
    std::string zeros30;
    for (int i = 0; i < 30; ++i)
        zeros30 += "0,";
    // A macro that stands for a list leaves the length unknown, in frames as in one list.
    EXPECT_EQ(Refusal("#define Z8 0,0,0,0,0,0,0,0\nanim[2][33] = {{0xA4,1,Z8,Z8},{0xA4,1,Z8,Z8}};"),
              "\"Z8\" on line 2, column 24 is no single value");
    // What the text tells of #if, #ifdef, ... is followed; what it does not, leaves both branches possible.
    const std::string conditions =
        "#ifndef SMALL\n#define V 0x10\n#else\n#define V 0x01\n#endif\n"
        "#define D\n#if 0\nhidden[] = "
        + Values32("1")
        + "#define W 9\n#elif !defined(D)\n#define W 8\n"
          "#elif defined D // taken\n  #  if 1\n#define W 7\n#endif\n#else\n#define W 6\n#endif\n";
    EXPECT_EQ(Refusal(conditions + "x[] = " + Values32("V")),
              "the name V on line 19, column 8 has a value that depends on \"#ifndef SMALL\" on line 1");
    EXPECT_EQ(Refusal("#if F_CPU > 8000000\n#elif X\n#define W 1\n#endif\nx[] = " + Values32("W")),
              "the name W on line 5, column 8 has a value that depends on \"#if F_CPU > 8000000\" on line 1");
    const DotGrid::Dots w = Read(conditions + "x[] = " + Values32("W")); // 7
    EXPECT_EQ(w[0], DotState::Set);
    EXPECT_EQ(w[1], DotState::Set);
    EXPECT_EQ(Read("#ifdef __AVR__\n#define K 2\nx[] = " + Values32("K") + "#endif")[1], DotState::Set);
    // Branches that give an array twice give one picture where they agree; where they differ, the
    // compiler's command line decides, as `defines` tells it.
    const std::string branches =
        "#ifdef __AVR__\nconst char x[] PROGMEM = " + Values32("1") + "#else\nconst char x[] = ";
    EXPECT_EQ(FindPicturesInCode(branches + Values32("1") + "#endif").pictures.size(), 1U);
    const std::string differ = branches + Values32("2") + "#endif";
    const std::string inDoubt = "it holds 2 different pictures named x, in branches of a conditional that the text "
                                "itself does not settle";
    EXPECT_EQ(Refusal(differ), inDoubt);
    EXPECT_EQ(PickPicture(FindPicturesInCode(differ), std::string("x")).problem, inDoubt);
    for (const auto &[define, first] : {std::pair{"__AVR__", 1}, std::pair{"ESP32", 2}}) {
        const CodeReading reading = FindPicturesInCode(differ, {}, {{define, "1"}});
        ASSERT_EQ(reading.pictures.size(), 1U) << define;
        EXPECT_EQ(reading.pictures.front().bytes[0], first) << define;
    }
    EXPECT_EQ(Read("#if SMALL\nx[]=" + Values32("1") + "#else\nx[]=" + Values32("2") + "#endif", std::nullopt,
                   {{"BIG", ""}})[1],
              DotState::Set)
        << "a name the command line leaves out is 0";
    EXPECT_EQ(Read("x[]=" + Values32("CMD"), std::nullopt, {{"CMD", "0x03"}})[1], DotState::Set) << "a -D value";
    // A string gives the bytes C puts in the array; [] adds the NUL, a declared length makes room or not.
    EXPECT_EQ(Read("const char e2[33] = \"\\xa4\\001\" \"\\x80\";")[15], DotState::Set);
    std::vector<std::string> notes;
    FindPicturesInCode("const char e[] = \"\\xa4" + std::string(32, 'z')
                           + "\";\nvoid f() { names[i] = \"x\"; }\r"
                             "s[5] = \"ab\"\r\n\r\"c\";",
                       [&notes](const std::string &why) { notes.push_back(why); });
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "the array e on line 1 has 34 values; a picture is 32 values, or 33 beginning with 0xA4",
                         "the array s on line 3 has 5 values (3 given, the rest zero); a picture is 32 values, or 33 "
                         "beginning with 0xA4"}));
    EXPECT_EQ(Refusal("e[32] = \"\\x1ff\";"), "the string on line 1, column 9 holds \"\\x1ff\", which is over 255");
}

// #if conditions are worked out as the preprocessor does, with the file's own
// #defines and the command line's; what stays unknown leaves both branches.
TEST(CodeReader, WorksOutIfConditionsAsThePreprocessorDoes)
{
    const auto branchTaken = [](const std::string &above, const std::string &condition,
                                const CommandLineDefines &defines) {
        const std::string text = above + "#if " + condition + "\nx[] = " + Values32("1")
                                 + "#elif ARDUINO >= 100\nx[] = " + Values32("2") + "#else\nx[] = " + Values32("4")
                                 + "#endif\n";
        const CodeReading reading = FindPicturesInCode(text, {}, defines);
        return reading.pictures.size() == 1 ? reading.pictures.front().bytes[0] : 0;
    };
    const CommandLineDefines esp32{{"ESP32", "1"}};
    const CommandLineDefines arduino{{"ARDUINO", "105"}};
    const std::vector<std::tuple<std::string, std::string, CommandLineDefines, int>> cases{
        {"", "defined(ESP32) || defined(ESP8266)", esp32, 1},
        {"", "defined(ESP32) && defined(X)", esp32, 4},
        {"", "(ESP32)", esp32, 1},
        {"", "ARDUINO", arduino, 1},
        {"", "ARDUINO == 105", arduino, 1},
        {"", "ARDUINO < 100", arduino, 2},
        {"#define USE_BIG 1\n", "USE_BIG", {}, 1},
        {"#define USE_BIG 0\n", "USE_BIG", {}, 0}, // the #elif is still in doubt
        {"#define A A + 1\n#define P Q\n#define Q P\n", "A == 1 && !P", esp32, 1},
        {"#define SUM 1 + 2\n", "SUM * 3 == 7 && 0x10 == 020 && 0b11 == 3u && 'a'", esp32, 0},
        {"", "!(1u > -1) && ~0 == -1 && -5 / 2 == -2 && -5 % 2 == -1 && (1 << 3 >> 1) == 4", esp32, 1},
        {"", "0x7fffffffffffffff + 1 < 0 && (-0x7fffffffffffffff - 1) / -1 < 0 && 18446744073709551615 > 0", esp32, 1},
        {"", "(0 ? 1 : 2) == 2 && (1 ? -1 : 0u) > 0 && (0 && 1 / 0) == 0 && (1 || F(x))", esp32, 1},
        {"", "1 ? 1 / 0 : 1", esp32, 0},
        {"", "1 << 64", esp32, 0},
        {"", "99999999999999999999 > 0", esp32, 0},
        {"", "1 +", esp32, 0},
        {"", "F_CPU > 8000000", {}, 0},
        {"", "defined F_CPU || MISSING(1)", {}, 0},
    };
    for (const auto &[above, condition, defines, taken] : cases)
        EXPECT_EQ(branchTaken(above, condition, defines), taken) << above << condition;
}

// A declaration that a conditional splits, its values after the #endif, is
// one array in every branch; branches that give it other values differ.
TEST(CodeReader, ReadsAnArrayOpenedInEachBranchOfAConditional)
{
    const std::string split =
        "#ifdef __AVR__\nstatic const unsigned char wifi_bits[] PROGMEM = {\n#elif defined(ESP32)\n"
        "static const unsigned char wifi_bits[] = { // ESP32\n#else\nstatic const unsigned char wifi_bits[] = {\n"
        "#endif\n  "
        + Values32("0x80").substr(1) + "const unsigned char after[] = " + Values32("2");
    for (const std::string define : {"", "__AVR__", "ESP32", "OTHER"}) {
        const CodeReading reading =
            FindPicturesInCode(split, {}, define.empty() ? CommandLineDefines{} : CommandLineDefines{{define, "1"}});
        ASSERT_EQ(reading.pictures.size(), 2U) << define << reading.passedOver;
        EXPECT_EQ(reading.pictures[0].name, "wifi_bits");
        EXPECT_EQ(reading.pictures[0].bytes[0], 0x80);
        EXPECT_EQ(reading.pictures[1].name, "after");
    }
    EXPECT_EQ(Refusal("#ifdef __AVR__\nx[] = {3,\n#else\nx[] = {4,\n#endif\n" + Values32("0").substr(4)),
              "it holds 2 different pictures named x, in branches of a conditional that the text itself does not "
              "settle");
}

// A sketch's drawing calls tell the layout of the arrays they draw; an X
// BitMap is its NAME, picked by that or by its array's name.
TEST(CodeReader, TheCallsThatDrawAnArrayTellItsLayout)
{
    const std::string sketch =
        "#include <U8g2lib.h>\n#include <Adafruit_SSD1306.h>\n"
        "#define wifi_width 16\n#define wifi_height 16\n"
        "static const unsigned char wifi_bits[] U8X8_PROGMEM = "
        + Values32("0") + "const unsigned char battery[] U8X8_PROGMEM = " + Values32("0")
        + "const uint8_t PROGMEM bell[] = " + Values32("0") + "const uint8_t both[] = " + Values32("0")
        + "const uint8_t spare[] = " + Values32("0")
        + "void loop() {\n  u8g2.drawXBM(0, 0, wifi_width, wifi_height, wifi_bits);\n"
          "  u8g2.drawXBMP(20, 0, 16, 16, battery);\n"
          "  display.drawBitmap(40, 0, bell, 16, 16, SSD1306_WHITE);\n"
          "  display.drawBitmap(0, 20, both, 16, 16, 1);\n  u8g2.drawXBM(0, 20, 16, 16, both);\n"
          "  display.drawBitmap(x, y, (const uint8_t *)spare, 16, 16, 1); // a cast hides it\n}\n";
    const CodeReading reading = FindPicturesInCode(sketch);
    std::string layouts;
    for (const CodePicture &picture : reading.pictures)
        layouts += picture.name + ":" + (picture.layout ? std::string(BitLayoutName(*picture.layout)) : "?") + " ";
    EXPECT_EQ(layouts, "wifi:xbm battery:xbm bell:rows both:? spare:? ");
    EXPECT_EQ(PickPicture(reading, std::string("wifi_bits")).layout, BitLayout::Xbm);
    // Each says the one thing that told it, so that a note need not list every possible reason.
    const auto lineOf = [&sketch](std::string_view call) {
        return std::to_string(
            std::count(sketch.begin(), sketch.begin() + static_cast<std::ptrdiff_t>(sketch.find(call)), '\n') + 1);
    };
    std::string evidence;
    for (const CodePicture &picture : reading.pictures)
        evidence += picture.layoutEvidence + "|";
    EXPECT_EQ(evidence, "wifi_width and wifi_height stand beside it|drawXBMP draws it on line "
                            + lineOf("u8g2.drawXBMP") + "|drawBitmap draws it on line "
                            + lineOf("display.drawBitmap(40") + "|||");
}

// Firmware tells a picture's size in many ways, each read in the layout it
// comes with; a length that does not fit the size is named, never taken. The
// window, which reads 16 x 16 only, passes over all of them as before.
TEST(CodeReader, PicturesOfOtherSizesAreReadAtTheSizeTheirCodeTells)
{
    const auto values = [](std::size_t count) {
        std::string list = "{1";
        for (std::size_t i = 1; i < count; ++i)
            list += ", 0";
        return list + "}";
    };
    std::string rows;
    for (int row = 0; row < 64; ++row)
        rows += (row == 0 ? "" : ", ") + values(16);
    const std::string text = "#define icon_width 8\n#define icon_height 8\nstatic char icon_bits[] = " + values(8)
                             + ";\n#define LOGO_WIDTH 128\n#define LOGO_HEIGHT (64 / 2)\n"
                               "const unsigned char LOGO[] PROGMEM = "
                             + values(512) + ";\nconst uint8_t splash[64][16] = {" + rows
                             + "};\nconst int SIDE = 32;\nconst uint8_t ring[] = " + values(128)
                             + ";\nconst uint8_t arrow[] = " + values(16) + ";\nconst uint8_t wrong[] = " + values(100)
                             + ";\n#define up_WIDTH 24\n#define up_HEIGHT 8\nconst uint8_t up[24] = {1};\n"
                               "const unsigned char *const up_set[] = {up, up};\n"
                               "void loop() {\n  u8g2.drawXBMP(0, 0, SIDE, SIDE, ring);\n"
                               "  u8x8.drawTile(0, 0, 2, arrow);\n  display.drawBitmap(0, 0, wrong, 24, 24, 1);\n}\n";
    std::vector<std::string> notes;
    const CodeReading reading =
        FindPicturesInCode(text, [&notes](const std::string &why) { notes.push_back(why); }, {}, {true, {}});
    using Expected = std::tuple<std::string, PictureSize, std::optional<BitLayout>, std::size_t>;
    std::vector<Expected> found;
    for (const CodePicture &picture : reading.pictures)
        found.emplace_back(picture.name, picture.size, picture.layout, picture.sizedBytes.size());
    EXPECT_EQ(found, (std::vector<Expected>{{"icon", {8, 8}, BitLayout::Xbm, 8},
                                            {"LOGO", {128, 32}, BitLayout::Rows, 512},
                                            {"splash", {128, 64}, std::nullopt, 1024},
                                            {"ring", {32, 32}, BitLayout::Xbm, 128},
                                            {"arrow", {16, 8}, BitLayout::Tiles, 16},
                                            {"up", {24, 8}, BitLayout::Rows, 24}}));
    ASSERT_EQ(notes.size(), 2U);
    EXPECT_EQ(notes.front(), "the array wrong on line 11 has 100 values, but at 24 x 24, as drawBitmap draws it "
                             "24 x 24 on line 19, its picture takes 72 bytes in rows");
    EXPECT_EQ(notes.back().substr(0, 26), "the array up_set on line 1");
    const PickedPicture splash = PickPicture(reading, "splash");
    EXPECT_FALSE(splash.bytes);
    EXPECT_EQ(splash.sizeEvidence, "its shape [64][16]: 64 rows of 16 bytes, says");
    EXPECT_EQ(splash.sizedBytes.at(16), 1);

    EXPECT_TRUE(FindPicturesInCode(text).pictures.empty());
    // No size told: kept to propose one where any size fits (1031 bytes fill none), or read at the size given.
    const std::string buffer = "uint8_t buffer[] = " + values(1024) + ";\nuint8_t odd[] = " + values(1031) + ";\n";
    const CodeReading unsized = FindPicturesInCode(buffer, {}, {}, {true, {}});
    ASSERT_EQ(unsized.unsized.size(), 1U);
    EXPECT_EQ(PickUnsized(unsized, "buffer")->what, "the array buffer on line 1 has 1024 values");
    EXPECT_EQ(PickUnsized(unsized, std::nullopt), &unsized.unsized.front());
    const CodeReading given = FindPicturesInCode(buffer, {}, {}, {true, PictureSize{64, 128}});
    ASSERT_EQ(given.pictures.size(), 1U);
    EXPECT_EQ(given.pictures.front().size, (PictureSize{64, 128}));
    EXPECT_EQ(given.firstPassedOver.back(), "the array odd on line 2 has 1031 values, but at 64 x 128 its picture "
                                            "takes 1024 bytes in rows, xbm, pages or tiles");
}

// Real firmware tells a picture's size and layout in its own ways: Marlin's
// screens by a width beside rows of Arduino's binary constants, Adafruit's
// and X11's by defines named after the bitmap, GxEPD2 by an array of
// pictures drawn one at a time, Arduboy2 by its drawBitmap's pages. Each is
// read so, or refused as its compiler would refuse it.
TEST(CodeReader, RealFirmwareIsReadInItsOwnSizeAndLayout)
{
    const auto values = [](std::size_t count, const std::string &value = "0x01") {
        std::string list = "{";
        for (std::size_t i = 0; i < count; ++i)
            list += (i == 0 ? "" : ", ") + value;
        return list + "};\n";
    };
    using Found = std::tuple<std::string, PictureSize, std::optional<BitLayout>, std::size_t>;
    const auto digits = [](std::optional<BitLayout> layout) {
        std::vector<Found> found;
        for (int digit = 0; digit < 10; ++digit)
            found.emplace_back("Num_00" + std::to_string(digit), PictureSize{32, 32}, layout, 128);
        return found;
    };
    const struct {
        std::string text;
        std::optional<PictureSize> given; // --size
        std::vector<Found> found;
        std::string problem; // of the first picture
    } cases[] = {
        {"#pragma once\n#define STATUS_LOGO_Y 2\n#define STATUS_LOGO_WIDTH 20\n"
         "const unsigned char status_logo_bmp[] PROGMEM = "
             + values(30, "B01011111") + "#define STATUS_BED_WIDTH 21\n#if ENABLED(STATUS_BED_ANIM)\n"
             + "const unsigned char status_bed_on_bmp[] PROGMEM = " + values(21, "B00000000") + "#endif\n"
             + "#define STATUS_FAN_WIDTH 16\nconst unsigned char status_fan0_bmp[] PROGMEM = " + values(32, "B1")
             + "const unsigned char status_fan1_bmp[] PROGMEM = " + values(34, "B1"),
         std::nullopt,
         {{"status_logo_bmp", {20, 10}, BitLayout::Rows, 30},
          {"status_bed_on_bmp", {21, 7}, BitLayout::Rows, 21},
          {"status_fan0_bmp", kModuleSize, BitLayout::Rows, 0},
          {"status_fan1_bmp", {16, 17}, BitLayout::Rows, 34}},
         ""},
        {"#define CUSTOM_BOOTSCREEN_TIMEOUT 2500\n#define CUSTOM_BOOTSCREEN_BMPWIDTH 62\n"
         "const unsigned char custom_start_bmp[] PROGMEM = "
             + values(136, "B11110000"),
         PictureSize{128, 64}, // the code's own size beats the one given for arrays that tell none
         {{"custom_start_bmp", {62, 17}, BitLayout::Rows, 136}},
         ""},
        {"#define splash1_width 82\n#define splash1_height 64\nconst uint8_t PROGMEM splash1_data[] = " + values(704)
             + "#define LOGO_WIDTH 16\n#define LOGO_HEIGHT 16\nstatic const unsigned char PROGMEM logo_bmp[] = "
             + values(32) + "#define ARROW_WIDTH 12\n#define ARROW_HEIGHT 7\nstatic char arrow_bits[] = " + values(14)
             + "void setup() { display.drawBitmap(0, 0, splash1_data, splash1_width, splash1_height, 1); }\n",
         std::nullopt,
         {{"splash1_data", {82, 64}, BitLayout::Rows, 704},
          {"logo_bmp", kModuleSize, BitLayout::Rows, 0},
          {"arrow", {12, 7}, BitLayout::Xbm, 14}},
         ""},
        {"const unsigned char Num[10][128] PROGMEM = " + values(1280)
             + "void show(int d) { display.drawBitmap(0, 0, Num[d], 32, 32, GxEPD_BLACK); }\n",
         std::nullopt, digits(BitLayout::Rows), ""},
        {"const unsigned char Num[10][128] PROGMEM = " + values(1280), PictureSize{32, 32}, digits(std::nullopt), ""},
        {"#include <Arduboy2.h>\nconst uint8_t PROGMEM arduboy_logo[] = " + values(176)
             + "void Arduboy2Base::drawLogoBitmap(int16_t y) { drawBitmap(20, y, arduboy_logo, 88, 16); }\n",
         std::nullopt,
         {{"arduboy_logo", {88, 16}, BitLayout::Pages, 176}},
         ""},
        {"#include \"Arduboy2.h\"\nconst PROGMEM uint8_t arduboy_logo[] = " + values(176),
         PictureSize{88, 16},
         {{"arduboy_logo", {88, 16}, BitLayout::Pages, 176}},
         ""},
        {"const uint8_t PROGMEM ship[] = " + values(16) + "const uint8_t PROGMEM rock[] = " + values(16)
             + "const uint8_t PROGMEM star[] = " + values(16)
             + "void loop() {\n  arduboy.drawBitmap(0, 0, ship, 16, 8);\n  drawBitmap(0, 8, rock, 16, 8);\n"
               "  display.drawBitmap(0, 16, star, 16, 8, WHITE);\n}\n",
         std::nullopt,
         {{"ship", {16, 8}, BitLayout::Pages, 16},
          {"rock", {16, 8}, std::nullopt, 16}, // either library's call: no word of the layout
          {"star", {16, 8}, BitLayout::Rows, 16}},
         ""},
        {"#define WiFi_Logo_width 60\n#define WiFi_Logo_height 36\nconst uint8_t WiFi_Logo_bits[100] PROGMEM = "
             + values(288),
         std::nullopt,
         {{"WiFi_Logo_bits", kModuleSize, std::nullopt, 0}},
         "the array WiFi_Logo_bits on line 3 has 288 values, more than the 100 its brackets declare"},
    };
    for (const auto &example : cases) {
        const CodeReading reading = FindPicturesInCode(example.text, {}, {}, {true, example.given});
        std::vector<Found> found;
        for (const CodePicture &picture : reading.pictures)
            found.emplace_back(picture.name, picture.size, picture.layout, picture.sizedBytes.size());
        EXPECT_EQ(found, example.found) << example.text;
        ASSERT_FALSE(reading.pictures.empty()) << example.text;
        EXPECT_EQ(reading.pictures.front().problem, example.problem);
    }
}

// Where nothing tells the size of an array of pictures, the sizes a row's
// bytes fit are proposed, and a refusal of a length that is no 16 x 16
// picture's names the remedy wherever other sizes are read.
TEST(CodeReader, UnsizedArraysOfPicturesProposeTheSizesTheirRowsFit)
{
    std::string rows;
    for (int i = 0; i < 1280; ++i)
        rows += i == 0 ? "1" : ", 0";
    std::vector<std::string> notes;
    const CodeReading reading =
        FindPicturesInCode("const unsigned char Num[10][128] = {" + rows + "};\nconst char odd[] = {1, 2, 3};\n",
                           [&notes](const std::string &why) { notes.push_back(why); }, {}, {true, {}});
    ASSERT_EQ(reading.unsized.size(), 1U);
    const UnsizedArray &num = reading.unsized.front();
    EXPECT_EQ(num.name, "Num");
    EXPECT_EQ(num.bytes.size(), 128U);
    EXPECT_EQ(num.sizes.front(), (PictureSize{32, 32}));
    EXPECT_NE(std::find(num.sizes.begin(), num.sizes.end(), PictureSize{64, 16}), num.sizes.end());
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "the array Num[10][128] on line 1 holds 10 pictures of 128 bytes; its code tells no size",
                         "the array odd on line 2 has 3 values; a picture is 32 values, or 33 beginning with 0xA4, or "
                         "of another size where its code or the size given tells it"}));
}

// Every array form the program writes reads back as the same picture, at
// every size, widths that are no multiple of 8 among them.
TEST(CodeReader, EveryArrayFormReadsBackAtEverySize)
{
    std::mt19937 random(40);
    for (const PictureSize size :
         {PictureSize{1, 1}, PictureSize{12, 7}, kModuleSize, PictureSize{128, 64}, PictureSize{800, 480}}) {
        for (const CodeFormat format :
             {CodeFormat::C, CodeFormat::Xbm, CodeFormat::Gfx, CodeFormat::Pages, CodeFormat::Tiles}) {
            // The module takes 16 x 16 only; pages and tiles of 16 x 16 say no layout yet, a writer's fault.
            if ((format == CodeFormat::C) != IsModuleSize(size)
                && (format == CodeFormat::C || format == CodeFormat::Pages || format == CodeFormat::Tiles))
                continue;
            DotGrid grid;
            grid.SetAllDots(RandomDots(random, size));
            const Result<std::string> code = PictureCode({grid, "logo", "logo.png"}, format);
            ASSERT_TRUE(code) << code.message();
            const PickedPicture picked =
                PickPicture(FindPicturesInCode(code.value(), {}, {}, {true, {}}), std::nullopt);
            ASSERT_EQ(picked.problem, "") << CodeFormatName(format) << " " << PictureSizeText(size);
            ASSERT_TRUE(picked.layout) << CodeFormatName(format) << " " << PictureSizeText(size);
            EXPECT_EQ(picked.bytes
                          ? DotsOfPicture(*picked.bytes, picked.layout, LcdType::Column)
                          : DotsFromSizedLayoutBytes(picked.sizedBytes, *picked.layout, LcdType::Column, picked.size),
                      grid.AllDots())
                << CodeFormatName(format) << " " << PictureSizeText(size);
        }
    }
}
