// The code for other compilers, checked by a real compiler, and the picture
// sent through a serial port, checked at the other end of a pseudo-terminal.
#include "CliRunner.h"
#include "CodeGenerator.h"
#include "DrawingFile.h"
#include "RandomPicture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

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

// Compiles `source` with a program that prints every array named, as C99 and
// as C++, warnings as errors, and returns what each printed.
std::vector<std::string> CompileAndPrint(const TempDir &dir, const std::string &source,
                                         const std::vector<std::string> &arrays)
{
    std::string program = source + "\n#include <stdio.h>\nint main(void)\n{\n    unsigned i;\n";
    for (const std::string &array : arrays)
        program += "    for (i = 0; i < sizeof " + array + "; ++i)\n        putchar(" + array + "[i]);\n";
    program += "    return 0;\n}\n";
    const auto file = dir.Write("program.c", program);
    std::vector<std::string> printed;
    for (const std::string compiler : {"cc -std=c99 -x c", "c++ -std=c++17 -x c++"}) {
        const auto binary = dir / "program";
        const std::string command = compiler + " -pedantic -Wall -Wextra -Werror " + ShellQuote(file.string()) + " -o "
                                    + ShellQuote(binary.string()) + " && " + ShellQuote(binary.string()) + " >"
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
    for (const std::string &printed : CompileAndPrint(dir, source, {"arrow_up", "lcd_int", "lcd_3"}))
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
    // A name in another script would leave the guard H for every such header.
    ASSERT_EQ(RunCliProcess({"header", logo.string(), "--output", (dir / "아이콘.h").string()}).exitCode, 0);
    EXPECT_NE(TempDir::Read(dir / "아이콘.h").find("#ifndef TESSALDO_LOGO_H"), std::string::npos);
    // Firmware that includes both gets both.
    for (const std::string &printed : CompileAndPrint(dir, icons.out + walk.out, {"Logo", "walk[0]", "walk[1]"}))
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
    EXPECT_NE(made.out.find("#define spinner_FRAMES 3\n#define spinner_FRAME_MS 40\n"), std::string::npos);
    const std::vector<std::string> frames = {"spinner[0]", "spinner[1]", "spinner[spinner_FRAMES - 1]"};
    for (const std::string &printed : CompileAndPrint(dir, made.out + made.out, frames))
        EXPECT_EQ(printed, expected);
    EXPECT_EQ(RunCliProcess({"header", args[1], "--delay", "40"}).exitCode, 2);
    EXPECT_EQ(RunCliProcess({"header", args[1], "--frames", "int"}).exitCode, 2);
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
