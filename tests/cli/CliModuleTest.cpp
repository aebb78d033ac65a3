// The code for other compilers, checked by a real compiler, and the picture
// sent through a serial port, checked at the other end of a pseudo-terminal.
#include "CliRunner.h"
#include "RandomPicture.h"
#include "core/code/CodeGenerator.h"
#include "core/formats/DrawingFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <tuple>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

using namespace tessaldo;

namespace {

// A picture whose bytes after 0xA4 are the ones given, then random ones.
DotGrid PictureWithBytes(const std::vector<unsigned> &first, unsigned seed)
{
    std::mt19937 random(seed);
    DotGrid grid = RandomGrid(random, LcdType::Row);
    for (std::size_t block = 0; block < first.size(); ++block) {
        for (int bit = 0; bit < kDotsPerBlock; ++bit)
            grid.SetDot(static_cast<int>(block) * kDotsPerBlock + bit,
                        (first[block] >> bit) & 1 ? DotState::Set : DotState::Clear);
    }
    return grid;
}

std::string Bytes(const DotGrid &grid)
{
    const ModuleBytes bytes = PictureModuleBytes(grid);
    return {bytes.begin(), bytes.end()};
}

// What the tool sent through the terminal pair, once nothing more comes for 200 ms.
std::string ReadAndClose(int master)
{
    std::string received;
    pollfd ready{master, POLLIN, 0};
    while (poll(&ready, 1, 200) > 0) {
        char chunk[256];
        const ssize_t got = read(master, chunk, sizeof chunk);
        if (got <= 0)
            break;
        received.append(chunk, static_cast<std::size_t>(got));
    }
    close(master);
    return received;
}

// Compiles `source` with a program that prints the 33 bytes of every picture
// named, as C99 and as C++, warnings as errors, and returns what each printed.
std::vector<std::string> CompileAndPrint(const TempDir &dir, const std::string &source,
                                         const std::vector<std::string> &pictures)
{
    std::string program = source + "\n#include <stdio.h>\nint main(void)\n{\n    unsigned i;\n";
    for (const std::string &picture : pictures)
        program += "    for (i = 0; i < 33; ++i)\n        putchar(" + picture + "[i]);\n";
    program += "    return 0;\n}\n";
    const auto file = dir.Write("program.c", program);
    std::vector<std::string> printed;
    for (const std::string compiler : {"cc -std=c99 -x c", "c++ -std=c++17 -x c++"}) {
        const auto binary = dir / "program";
        const std::string command = compiler + " -pedantic -Wall -Wextra -Wunused -Werror " + ShellQuote(file.string())
                                    + " -o " + ShellQuote(binary.string()) + " && " + ShellQuote(binary.string()) + " >"
                                    + ShellQuote((dir / "printed").string());
        EXPECT_EQ(std::system(command.c_str()), 0) << compiler << "\n" << program;
        printed.push_back(TempDir::Read(dir / "printed"));
    }
    return printed;
}

} // namespace

TEST(CliCodeFormats, CArrayCompilesAsCAndCppAndHoldsTheModulesBytes)
{
    TempDir dir;
    const DotGrid grid = PictureWithBytes({0xA4, 0x00, 0xFF, 0x80}, 10);
    const auto file = dir / "2 arrows.Lcd";
    ASSERT_TRUE(SaveFile(grid, file).ok());
    const CliResult c = RunCliProcess({"code", file.string(), "--format", "c"});
    ASSERT_EQ(c.exitCode, 0) << c.err;
    EXPECT_NE(c.out.find("static const unsigned char lcd_2_arrows[33] = {"), std::string::npos);
    for (const std::string &printed : CompileAndPrint(dir, c.out, {"lcd_2_arrows"}))
        EXPECT_EQ(printed, Bytes(grid));

    const CliResult raw = RunCliProcess({"code", file.string(), "--format", "raw"});
    EXPECT_EQ(raw.out, Bytes(grid));
    const CliResult named = RunCliProcess({"code", "-", "--format", "c", "--name", "logo"}, file.string());
    EXPECT_NE(named.out.find("logo[33]"), std::string::npos);
    EXPECT_NE(named.out.find("from standard input"), std::string::npos);
    EXPECT_EQ(RunCliProcess({"code", file.string()}).out, LCDtoCODE(grid) + "\r\n");
    for (const char *bad : {"9lives", "for", "a-b"})
        EXPECT_EQ(RunCliProcess({"code", file.string(), "--format", "c", "--name", bad}).exitCode, 2) << bad;
    EXPECT_EQ(RunCliProcess({"code", file.string(), "--format", "hex"}).exitCode, 2);
}

TEST(CliHeader, OneHeaderForASetCompilesAndRefusesClashesWhole)
{
    TempDir dir;
    std::vector<std::string> files;
    std::vector<DotGrid> grids;
    for (const char *name : {"arrow-up.Lcd", "int.Lcd", "3.Lcd"}) {
        grids.push_back(PictureWithBytes({}, static_cast<unsigned>(files.size())));
        files.push_back((dir / name).string());
        ASSERT_TRUE(SaveFile(grids.back(), files.back()).ok());
    }
    std::vector<std::string> args = {"header"};
    args.insert(args.end(), files.begin(), files.end());
    args.insert(args.end(), {"--output", (dir / "icons.h").string()});
    const CliResult made = RunCliProcess(args);
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const std::string header = TempDir::Read(dir / "icons.h");
    EXPECT_EQ(header.rfind("/* Made by tessaldo-cli header ", 0), 0u);
    EXPECT_NE(header.find("#ifndef ICONS_H"), std::string::npos);
    const std::string source = "#include \"icons.h\"\n#include \"icons.h\"\n"; // the guard holds
    for (const std::string &printed : CompileAndPrint(dir, source, {"icons[0]", "icons[1]", "icons[icons_LCD_3]"}))
        EXPECT_EQ(printed, Bytes(grids[0]) + Bytes(grids[1]) + Bytes(grids[2]));

    // "arrow up" gives the name of "arrow-up": nothing is written, and a refused file is named too.
    ASSERT_TRUE(SaveFile(DotGrid{}, dir / "arrow up.Lcd").ok());
    const auto bad = dir.Write("bad.Lcd", " 5\r\n");
    const CliResult clash = RunCliProcess(
        {"header", files[0], (dir / "arrow up.Lcd").string(), bad.string(), "--output", (dir / "clash.h").string()});
    EXPECT_EQ(clash.exitCode, 1);
    EXPECT_NE(clash.err.find("both give the array name arrow_up"), std::string::npos) << clash.err;
    EXPECT_NE(clash.err.find("bad.Lcd"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "clash.h"));
}

TEST(CliHeader, OnStandardOutputTheGuardComesFromWhatItHoldsAndCaseOnlyNamesClash)
{
    TempDir dir;
    const DotGrid first = PictureWithBytes({1}, 1);
    const DotGrid second = PictureWithBytes({2}, 2);
    const auto logo = dir.Write("Logo.Lcd", FormatDrawing(first));
    const auto lower = dir.Write("logo-.Lcd", FormatDrawing(second)); // the array name logo
    const CliResult icons = RunCliProcess({"header", logo.string()});
    const CliResult walk = RunCliProcess({"header", logo.string(), lower.string(), "--frames", "walk"});
    EXPECT_NE(icons.out.find("#ifndef TESSALDO_LOGO_H"), std::string::npos) << icons.out;
    EXPECT_NE(walk.out.find("#ifndef TESSALDO_WALK_H"), std::string::npos) << walk.out;
    EXPECT_NE(RunCliProcess({"header", logo.string(), "--output", "-"}).out.find("TESSALDO_LOGO_H"), std::string::npos);
    // A Korean name gives its guard in Latin letters.
    ASSERT_EQ(RunCliProcess({"header", logo.string(), "--output", (dir / "아이콘.h").string()}).exitCode, 0);
    EXPECT_NE(TempDir::Read(dir / "아이콘.h").find("#ifndef AIKON_H"), std::string::npos);
    // Firmware that includes both gets both; the second frame, named as the first without case, is renamed.
    dir.Write("icons.h", icons.out);
    dir.Write("walk.h", walk.out);
    for (const std::string &printed : CompileAndPrint(dir, "#include \"icons.h\"\n#include \"walk.h\"\n",
                                                      {"tessaldo_Logo[0]", "walk[0]", "walk[walk_LOGO_2]"}))
        EXPECT_EQ(printed, Bytes(first) + Bytes(first) + Bytes(second));

    const CliResult clash = RunCliProcess({"header", logo.string(), lower.string()});
    EXPECT_EQ(clash.exitCode, 1);
    EXPECT_EQ(clash.err, "Cannot make the header: \"" + logo.string() + "\" and \"" + lower.string()
                             + "\" give the array names Logo and logo, which some file systems take for one file "
                               "name.\n");
}

TEST(CliSend, TheModuleGetsExactlyTheBytesRawAndBadPortsAreNamed)
{
    int master = -1;
    int slave = -1;
    char slaveName[256] = {};
    ASSERT_EQ(openpty(&master, &slave, slaveName, nullptr, nullptr), 0);
    close(slave); // the tool opens it by name, as it would a real port
    TempDir dir;
    // Bytes a cooked terminal would turn into line ends, flow control or a signal.
    const DotGrid grid = PictureWithBytes({0x0A, 0x0D, 0x11, 0x13, 0x03, 0x00, 0x7F, 0xFF}, 3);
    const auto file = dir / "picture.Lcd";
    ASSERT_TRUE(SaveFile(grid, file).ok());
    const CliResult sent = RunCliProcess({"send", file.string(), "--port", slaveName, "--baud", "115200"});
    EXPECT_EQ(sent.exitCode, 0) << sent.err;
    EXPECT_EQ(sent.err, "") << "no toolkit message may reach the user";
    EXPECT_EQ(ReadAndClose(master), Bytes(grid));

    const auto plain = dir.Write("plain.txt", "x");
    const std::pair<std::string, std::string> refused[] = {
        {"/dev/null", "it is not a serial port"},
        {plain.string(), "it is not a serial port"},
        {(dir / "ttyNone").string(), "there is no such port"},
    };
    for (const auto &[port, reason] : refused) {
        const CliResult result = RunCliProcess({"send", file.string(), "--port", port});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, "Cannot send to \"" + port + "\": " + reason + ".\n");
    }
    EXPECT_EQ(RunCliProcess({"send", file.string()}).exitCode, 2);
    EXPECT_EQ(RunCliProcess({"send", file.string(), "--port", slaveName, "--baud", "1000"}).exitCode, 2);
}

TEST(CliSend, APortThatGoesAwayMidSendIsSaidToBeLost)
{
    int master = -1;
    int slave = -1;
    char slaveName[256] = {};
    ASSERT_EQ(openpty(&master, &slave, slaveName, nullptr, nullptr), 0);
    // The slave end stays open here, so that the terminal hangs up only when the
    // master closes; the tool inherits neither end.
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    TempDir dir;
    const auto file = dir.Write("a.Lcd", FormatDrawing(DotGrid{}));
    std::future<CliResult> sending = std::async(std::launch::async, [&] {
        return RunCliProcess({"send", file.string(), "--port", slaveName, "--delay", "50", "--repeat", "100"});
    });
    pollfd ready{master, POLLIN, 0};
    EXPECT_GT(poll(&ready, 1, 5000), 0); // the first picture arrived
    close(master);                       // as an adapter unplugged
    close(slave);
    const CliResult lost = sending.get();
    EXPECT_EQ(lost.exitCode, 1);
    EXPECT_EQ(lost.err, "Cannot send to \"" + std::string(slaveName) + "\": the port was lost.\n");
    EXPECT_EQ(RunCliProcess({"send", file.string(), "--port", slaveName, "--delay", "-1"}).err,
              "tessaldo-cli send: --delay must be 0 to 65535, not -1\nTry 'tessaldo-cli --help'.\n");
}

TEST(CliHeader, FramesMakeOneTwoDimensionalArrayInTheOrderGiven)
{
    TempDir dir;
    std::vector<std::string> args = {"header"};
    std::string expected;
    for (unsigned i = 0; i < 3; ++i) {
        const DotGrid grid = PictureWithBytes({i, 0xA4}, i);
        args.push_back(dir.Write("f" + std::to_string(2 - i) + ".Lcd", FormatDrawing(grid)).string());
        expected += Bytes(grid);
    }
    args.insert(args.end(), {"--frames", "spinner", "--delay", "40"});
    const CliResult made = RunCliProcess(args);
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_NE(made.out.find("#define spinner_FRAMES 3\n"), std::string::npos);
    EXPECT_NE(made.out.find("#define spinner_FRAME_MS 40\n"), std::string::npos);
    dir.Write("spinner.h", made.out);
    const std::vector<std::string> frames = {"spinner[0]", "spinner[1]", "spinner[spinner_FRAMES - 1]"};
    for (const std::string &printed : CompileAndPrint(dir, "#include \"spinner.h\"\n#include \"spinner.h\"\n", frames))
        EXPECT_EQ(printed, expected);
    EXPECT_NE(RunCliProcess({"header", args[1], "--frames", "s", "--delay", "0"}).out.find("#define s_FRAME_MS 0\n"),
              std::string::npos);
    EXPECT_EQ(RunCliProcess({"header", args[1], "--delay", "40"}).exitCode, 2);
    EXPECT_EQ(RunCliProcess({"header", args[1], "--frames", "int"}).exitCode, 2);
}

TEST(CliImport, AHeaderOutputHoldsTheFramesWithTheirDelaysOrTheStillImage)
{
    TempDir dir;
    const std::string gif = std::string(TESSALDO_TEST_DATA) + "/dispose-background.gif";
    ASSERT_EQ(RunCliProcess({"import", gif, (dir / "anim.h").string()}).exitCode, 0);
    EXPECT_NE(TempDir::Read(dir / "anim.h").find("anim_DELAY_MS[anim_FRAMES] = {\n    100, 250, 400\n}"),
              std::string::npos);
    ASSERT_EQ(RunCliProcess({"import", gif, "--each", (dir / "frames").string()}).exitCode, 0);
    ASSERT_EQ(RunCliProcess({"decode", (dir / "anim.h").string(), "--each", (dir / "back").string()}).exitCode, 0);
    const auto first = dir / "frames" / "dispose-background-000.Lcd";
    EXPECT_EQ(TempDir::Read(dir / "back" / "anim_001.Lcd"),
              TempDir::Read(dir / "frames" / "dispose-background-001.Lcd"));

    const auto png = dir / "still.png";
    ASSERT_EQ(RunCliProcess({"png", first.string(), png.string(), "--scale", "1"}).exitCode, 0);
    ASSERT_EQ(RunCliProcess({"import", png.string(), (dir / "still.h").string()}).exitCode, 0);
    EXPECT_EQ(RunCliProcess({"decode", (dir / "still.h").string(), "-", "--name", "still"}).out, TempDir::Read(first));
    // A set of pictures with delays of their own, and an animation, in one program.
    const std::string mixed = (dir / "mixed.h").string();
    ASSERT_EQ(
        RunCliProcess({"header", (dir / "still.h").string(), (dir / "anim.h").string(), "--output", mixed}).exitCode,
        0);
    EXPECT_NE(TempDir::Read(mixed).find("mixed_DELAY_MS[mixed_COUNT]"), std::string::npos);
    const std::string frame = Bytes([&] {
        DotGrid grid;
        EXPECT_TRUE(OpenFile(grid, dir / "back" / "anim_002.Lcd").ok());
        return grid;
    }());
    for (const std::string &printed :
         CompileAndPrint(dir, "#include \"anim.h\"\n#include \"mixed.h\"\n", {"anim[2]", "mixed[mixed_ANIM_002]"}))
        EXPECT_EQ(printed, frame + frame);
}

TEST(CliSend, SeveralPicturesGoInTurnAtTheirDelayAsOftenAsAsked)
{
    int master = -1;
    int slave = -1;
    char slaveName[256] = {};
    ASSERT_EQ(openpty(&master, &slave, slaveName, nullptr, nullptr), 0);
    close(slave);
    TempDir dir;
    const DotGrid first = PictureWithBytes({1}, 1);
    const DotGrid second = PictureWithBytes({2}, 2);
    const auto a = dir.Write("a.Lcd", FormatDrawing(first));
    const auto b = dir.Write("b.Lcd", FormatDrawing(second));
    const auto start = std::chrono::steady_clock::now();
    const CliResult sent =
        RunCliProcess({"send", a.string(), b.string(), "--port", slaveName, "--delay", "60", "--repeat", "2"});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(sent.exitCode, 0) << sent.err;
    EXPECT_EQ(ReadAndClose(master), Bytes(first) + Bytes(second) + Bytes(first) + Bytes(second));
    EXPECT_GE(took, std::chrono::milliseconds(3 * 60)); // the fourth frame starts 180 ms after the first
}

// A header's frames and a GIF's play at their own delays, 0 ms ones for 20 ms
// as in the window; pictures of two types cannot share one module.
// send reads sources as decode does, and says how to settle branches that differ.
TEST(CliSend, BranchesThatGiveAPictureOtherBytesAreSettledByDefine)
{
    TempDir dir;
    const auto values = [](const char *value) {
        std::string list;
        for (int i = 0; i < 32; ++i)
            list += std::string(value) + ",";
        return list;
    };
    const auto source =
        dir.Write("icons.h", "#ifdef __AVR__\nconst unsigned char x[] = {" + values("1")
                                 + "};\n#else\nconst unsigned char x[] = {" + values("2") + "};\n#endif\n");
    const CliResult unsent = RunCliProcess({"send", source.string(), "--port", (dir / "none").string()});
    EXPECT_NE(unsent.err.find("does not settle; --define NAME[=VALUE] settles"), std::string::npos) << unsent.err;
}

TEST(CliSend, SetsAndImagesPlayAtTheirOwnDelaysAndOneTypeGoesToAModule)
{
    TempDir dir;
    const DotGrid first = PictureWithBytes({1}, 1);
    const DotGrid second = PictureWithBytes({2}, 2);
    const auto a = dir.Write("a.Lcd", FormatDrawing(first));
    const auto b = dir.Write("b.Lcd", FormatDrawing(second));
    const std::string walk = (dir / "walk.h").string();
    ASSERT_EQ(RunCliProcess({"header", a.string(), b.string(), "--frames", "walk", "--delay", "0", "--output", walk})
                  .exitCode,
              0);
    const std::string gif = std::string(TESSALDO_TEST_DATA) + "/dispose-background.gif";
    ASSERT_EQ(RunCliProcess({"import", gif, "--each", (dir / "frames").string()}).exitCode, 0);
    std::string gifBytes;
    for (const char *frame : {"000", "001", "002"})
        gifBytes += Bytes([&] {
            DotGrid grid;
            EXPECT_TRUE(OpenFile(grid, dir / "frames" / ("dispose-background-" + std::string(frame) + ".Lcd")).ok());
            return grid;
        }());
    const std::string pair = Bytes(first) + Bytes(second);
    // The GIF's frames stay 100 and 250 ms before its last; the header's five 20 ms each.
    for (const auto &[args, expected, shortest] :
         {std::tuple{std::vector<std::string>{walk, "--repeat", "3"}, pair + pair + pair, 5 * 20},
          {{gif}, gifBytes, 100 + 250}}) {
        int master = -1;
        int slave = -1;
        char slaveName[256] = {};
        ASSERT_EQ(openpty(&master, &slave, slaveName, nullptr, nullptr), 0);
        close(slave);
        std::vector<std::string> send = {"send", "--port", slaveName};
        send.insert(send.begin() + 1, args.begin(), args.end());
        const auto start = std::chrono::steady_clock::now();
        const CliResult sent = RunCliProcess(send);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(sent.exitCode, 0) << sent.err;
        EXPECT_EQ(ReadAndClose(master), expected) << args.front();
        EXPECT_GE(took, std::chrono::milliseconds(shortest)) << args.front();
    }

    DotGrid column = first;
    column.SetLCDType(LcdType::Column);
    const auto other = dir.Write("other.Lcd", FormatDrawing(column));
    const CliResult mixed = RunCliProcess({"send", a.string(), other.string(), "--port", "/dev/null"});
    EXPECT_EQ(mixed.exitCode, 1);
    EXPECT_EQ(mixed.err, "Cannot send \"" + other.string() + "\": it is drawn for type 0 (HLCD112, HLCD114), \""
                             + a.string() + "\" for type 1 (HLCD154, HLCD168), and one module shows one type.\n");
}

TEST(CliOutput, OutputThatIsItsInputIsRefusedForCrossKindWritesAllowedInPlace)
{
    TempDir dir;
    const auto drawing = dir / "keep.Lcd";
    DotGrid picture;
    picture.SetLCDType(LcdType::Row);
    for (const int dot : {0, 1, 17})
        picture.SetDot(dot, DotState::Set);
    ASSERT_TRUE(SaveFile(picture, drawing).ok());
    const auto image = dir / "img.png";
    ASSERT_EQ(RunCliProcess({"png", drawing.string(), image.string()}).exitCode, 0);
    std::string values;
    for (int i = 0; i < 32; ++i)
        values += "1,";
    const auto source = dir.Write("fw.h", "a[]={" + values + "};\n");
    // Through a symbolic link and a hard link as well as by the same name.
    std::filesystem::create_directories(dir / "each");
    std::filesystem::create_symlink(source, dir / "each" / "a.Lcd");
    std::filesystem::create_directories(dir / "frames");
    std::filesystem::create_symlink(image, dir / "frames" / "img-000.Lcd");
    std::filesystem::create_hard_link(drawing, dir / "hard.png");
    const std::pair<std::vector<std::string>, std::pair<std::filesystem::path, std::filesystem::path>> refused[] = {
        {{"decode", source.string(), source.string()}, {source, source}},
        {{"decode", source.string(), "--each", (dir / "each").string()}, {dir / "each" / "a.Lcd", source}},
        {{"import", image.string(), image.string()}, {image, image}},
        {{"import", image.string(), "--each", (dir / "frames").string()}, {dir / "frames" / "img-000.Lcd", image}},
        {{"png", drawing.string(), (dir / "hard.png").string()}, {dir / "hard.png", drawing}},
    };
    const std::string before[] = {TempDir::Read(drawing), TempDir::Read(image), TempDir::Read(source)};
    for (const auto &[args, files] : refused) {
        const CliResult result = RunCliProcess(args);
        EXPECT_EQ(result.exitCode, 1) << args[0];
        EXPECT_EQ(result.err, "Cannot save \"" + files.first.string() + "\": it is the same file as the input \""
                                  + files.second.string() + "\".\n");
    }
    const CliResult piped = RunCliProcess({"decode", "-", source.string()}, source.string());
    EXPECT_EQ(piped.err, "Cannot save \"" + source.string() + "\": it is the same file as standard input.\n");
    EXPECT_EQ(TempDir::Read(drawing), before[0]);
    EXPECT_EQ(TempDir::Read(image), before[1]);
    EXPECT_EQ(TempDir::Read(source), before[2]);
    EXPECT_EQ(RunCliProcess({"png", drawing.string(), "-"}).out, before[1]); // '-' is standard output

    // A drawing written over itself is an update: the picture is read before the text goes onto it.
    EXPECT_EQ(RunCliProcess({"text", "x", drawing.string(), "--onto", drawing.string()}).exitCode, 0);
    EXPECT_EQ(RunCliProcess({"show", drawing.string()}).out.substr(0, 41),
              "type 1\n##..............\n.#..............\n");
    EXPECT_NE(TempDir::Read(drawing), before[0]);
}
