#include "CliRunner.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Size {
    int width;
    int height;
};

// From one 8 x 8 tile to a 7.5-inch e-paper screen, widths and heights that are no multiple of 8 among them.
constexpr Size kSizes[] = {{8, 8}, {84, 48}, {128, 64}, {250, 122}, {800, 480}};

// Random dots inside a frame: the frame sets the last column and row, which
// the padding of rows, pages and tiles sits beside.
std::vector<std::string> RandomRows(Size size, std::mt19937 &random)
{
    std::vector<std::string> rows;
    for (int y = 0; y < size.height; ++y) {
        std::string row;
        for (int x = 0; x < size.width; ++x) {
            const bool frame = x == 0 || y == 0 || x == size.width - 1 || y == size.height - 1;
            row += frame || random() % 3 == 0 ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

// The picture as netpbm's plain PBM, written by hand: 1 a black (set) dot.
std::string PlainPbm(Size size, const std::vector<std::string> &rows)
{
    std::string pbm = "P1\n" + std::to_string(size.width) + " " + std::to_string(size.height) + "\n";
    for (const std::string &row : rows) {
        for (const char dot : row)
            pbm += dot == '#' ? "1 " : "0 ";
        pbm += "\n";
    }
    return pbm;
}

std::string Joined(const std::vector<std::string> &rows)
{
    std::string text;
    for (const std::string &row : rows)
        text += row + "\n";
    return text;
}

// Each array drawn as its library documents the order, not as this program writes it:
// X BitMap rows of whole bytes, the leftmost dot in bit 0 (u8g2's drawXBM);
// Adafruit GFX's drawBitmap, whose rows are (w + 7) / 8 bytes, the leftmost dot in bit 7;
// an SSD1306 buffer, dot (x, y) in bit y & 7 of byte x + (y / 8) * width;
// u8x8's drawTile, a row of cnt tiles of eight bytes, a byte a column, the top dot in bit 0.
constexpr const char *kDrawing = R"(#include <stdint.h>
#include <stdio.h>

static unsigned char screen[tiles_TILE_HEIGHT * 8][tiles_TILE_WIDTH * 8];

static void drawBitmap(int x, int y, const uint8_t bitmap[], int w, int h)
{
    int byteWidth = (w + 7) / 8;
    uint8_t bits = 0;
    for (int j = 0; j < h; j++) {
        for (int i = 0; i < w; i++) {
            if (i & 7)
                bits <<= 1;
            else
                bits = bitmap[j * byteWidth + i / 8];
            if (bits & 0x80)
                screen[y + j][x + i] = 1;
        }
    }
}

static void drawTile(int x, int y, int cnt, uint8_t *tile_ptr)
{
    for (int tile = 0; tile < cnt; ++tile)
        for (int column = 0; column < 8; ++column)
            for (int bit = 0; bit < 8; ++bit)
                screen[y * 8 + bit][(x + tile) * 8 + column] = (tile_ptr[tile * 8 + column] >> bit) & 1;
}

static void print(int width, int height)
{
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            putchar(screen[y][x] ? '#' : '.');
        putchar('\n');
    }
    for (int y = 0; y < tiles_TILE_HEIGHT * 8; ++y)
        for (int x = 0; x < tiles_TILE_WIDTH * 8; ++x) {
            if ((x >= width || y >= height) && screen[y][x])
                printf("set past the picture at %d, %d\n", x, y);
            screen[y][x] = 0;
        }
}

int main(void)
{
    for (int y = 0; y < xbm_height; ++y)
        for (int x = 0; x < xbm_width; ++x)
            screen[y][x] = (xbm_bits[y * ((xbm_width + 7) / 8) + x / 8] >> (x % 8)) & 1;
    print(xbm_width, xbm_height);
    drawBitmap(0, 0, gfx, gfx_WIDTH, gfx_HEIGHT);
    print(gfx_WIDTH, gfx_HEIGHT);
    for (int y = 0; y < pages_PAGES * 8; ++y)
        for (int x = 0; x < pages_WIDTH; ++x)
            screen[y][x] = (pages[x + (y / 8) * pages_WIDTH] >> (y & 7)) & 1;
    print(pages_WIDTH, pages_HEIGHT);
    for (int r = 0; r < tiles_TILE_HEIGHT; ++r)
        drawTile(0, r, tiles_TILE_WIDTH, (uint8_t *)tiles + r * tiles_TILE_WIDTH * 8);
    print(tiles_WIDTH, tiles_HEIGHT);
    return 0;
}
)";

// The hexadecimal values of an array in lower case, and the #define lines, as a reader compares them.
std::string ValuesAndDefines(const std::string &code)
{
    std::string found;
    std::istringstream lines(code);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("#define ")) {
            found += line + "\n";
            continue;
        }
        for (std::size_t at = 0; at + 1 < line.size(); ++at) {
            if (line[at] != '0' || std::tolower(static_cast<unsigned char>(line[at + 1])) != 'x')
                continue;
            std::string value = "0x";
            for (at += 2; at < line.size() && std::isxdigit(static_cast<unsigned char>(line[at])); ++at)
                value += static_cast<char>(std::tolower(static_cast<unsigned char>(line[at])));
            found += value + "\n";
        }
    }
    return found;
}

} // namespace

// Every other display's array of a picture of any size compiles as plain C
// and, drawn in its library's documented order, is the picture, padding clear;
// the X BitMap holds netpbm's pbmtoxbm's values; the module's forms refuse the size.
TEST(CliSizedCode, EachLibrarysArrayDrawsThePictureAtItsSize)
{
#ifdef _WIN32
    GTEST_SKIP() << "the arrays are compiled by gcc through a shell";
#else
    if (std::system("gcc --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no gcc to compile the arrays";
    TempDir dir;
    std::mt19937 random(34);
    for (const Size size : kSizes) {
        const std::string name = std::to_string(size.width) + " x " + std::to_string(size.height);
        const std::vector<std::string> rows = RandomRows(size, random);
        const std::string picture = dir.Write("pic.pbm", PlainPbm(size, rows)).string();
        std::string arrays;
        for (const char *format : {"xbm", "gfx", "pages", "u8x8"}) {
            const std::string array = format == std::string("u8x8") ? "tiles" : format;
            const CliResult code = RunCliProcess({"code", picture, "--format", format, "--name", array});
            ASSERT_EQ(code.exitCode, 0) << name << " " << format << ": " << code.err;
            arrays += code.out;
            // What the defines beside the array say is enough to read it back.
            const std::string source = dir.Write("code.h", code.out).string();
            const std::string back = (dir / "back.pbm").string();
            const CliResult decoded = RunCliProcess({"decode", source, back});
            ASSERT_EQ(decoded.exitCode, 0) << name << " " << format << ": " << decoded.err;
            EXPECT_EQ(RunCliProcess({"show", back}).out, RunCliProcess({"show", picture}).out) << name << " " << format;
        }
        const auto source = dir.Write("draw.c", arrays + kDrawing);
        const auto drawn = dir / "drawn.txt";
        const std::string build = "gcc -x c -std=c99 -pedantic -Wall -Wextra -Werror -o "
                                  + ShellQuote((dir / "draw").string()) + " " + ShellQuote(source.string()) + " && "
                                  + ShellQuote((dir / "draw").string()) + " >" + ShellQuote(drawn.string());
        ASSERT_EQ(std::system(build.c_str()), 0) << name;
        const std::string shown = Joined(rows);
        EXPECT_EQ(TempDir::Read(drawn), shown + shown + shown + shown) << name;

        // netpbm is among what scripts/setup installs.
        const auto theirs = dir / "theirs.xbm";
        ASSERT_EQ(std::system(("pbmtoxbm " + ShellQuote(picture) + " >" + ShellQuote(theirs.string())).c_str()), 0);
        // Besides the guard that lets the array compile without u8g2.
        EXPECT_EQ(ValuesAndDefines(RunCliProcess({"code", picture, "--format", "xbm"}).out),
                  "#define U8X8_PROGMEM\n" + ValuesAndDefines(TempDir::Read(theirs)))
            << name;
        for (const char *format : {"ccs", "c", "raw"}) {
            const CliResult refused = RunCliProcess({"code", picture, "--format", format});
            EXPECT_EQ(refused.exitCode, 1) << format;
            EXPECT_EQ(refused.out, "") << format;
            EXPECT_EQ(refused.err, "Cannot write the module's code: the module shows 16 x 16 pictures and this one is "
                                       + name + "; the forms xbm, gfx, pages and u8x8 take any size.\n")
                << format;
        }
    }
#endif
}
