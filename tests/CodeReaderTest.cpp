#include "CodeReader.h"
#include "CodeFormats.h"
#include "CodeGenerator.h"
#include "RandomPicture.h"

#include <gtest/gtest.h>

using namespace tessaldo;

namespace {

DotGrid::Dots Read(const std::string &text, const std::optional<std::string> &name = std::nullopt)
{
    const PickedPicture picked = PickPicture(FindPicturesInCode(text), name);
    EXPECT_TRUE(picked.bytes.has_value()) << picked.problem << "\n" << text;
    return picked.bytes ? DotsFromPictureBytes(*picked.bytes) : DotGrid::Dots{};
}

std::string Refusal(const std::string &text)
{
    const PickedPicture picked = ReadPictureCode(text);
    EXPECT_FALSE(picked.bytes.has_value()) << text;
    return picked.problem;
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
        const std::string header = CHeader({{grid, "a", "a.Lcd"}, {other, "b", "b.Lcd"}}, "tessaldo-cli header", "x.h");
        EXPECT_EQ(Read(header, "b"), other.AllDots());
        EXPECT_EQ(FindPicturesInCode(header).size(), 2u);
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

TEST(CodeReader, RefusalsSayWhatWasFound)
{
    std::string values31;
    for (int i = 0; i < 31; ++i)
        values31 += "0x00, ";
    EXPECT_EQ(Refusal(values31), "found 31 values; a picture is 32 values, or 33 beginning with 0xA4");
    EXPECT_EQ(Refusal("0x12, " + values31 + "0"), "found 33 values; a picture is 32 values, or 33 beginning with 0xA4");
    EXPECT_EQ(Refusal("const unsigned char logo[32] = {\n  0x00, 0x1FF };"),
              "the value 0x1FF on line 2, column 9 is over 255");
    EXPECT_EQ(Refusal("x[2] = { 08, 1 };"), "\"08\" on line 1, column 10 is no whole number C reads");
    EXPECT_EQ(Refusal("printf(\"%c%c%c\",0xA4,0x00);"),
              "the printf on line 1, column 1 has 3 %c conversions but 2 values");
    EXPECT_EQ(Refusal("a[1]={1};\nb[1]={2};"), "it holds 2 pictures (a, b); name the one to take");
    EXPECT_EQ(PickPicture(FindPicturesInCode("a[1]={1};"), std::string("c")).problem,
              "it holds no picture named c (it holds a)");
    EXPECT_EQ(Refusal("Hello, world\n"), "nothing in it reads as a picture: no printf lines of %c, no array and no "
                                         "list of 32 or 33 values");
    EXPECT_EQ(Refusal(""), Refusal("/* unterminated comment"));
}
