#include "core/code/CodeGenerator.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace tessaldo {
namespace {

constexpr std::string_view kFirstPrefix = R"(printf("%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c",0xA4,)";
constexpr std::string_view kSecondPrefix = R"(printf("%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c",)";
constexpr std::string_view kStatementEnd = ");";
constexpr std::string_view kLineEnd = "\r\n";

unsigned BlockValue(const DotGrid::Dots &dots, int startDot)
{
    // Without branches: whether a dot is set is as good as random, and a
    // mispredicted branch per dot would cost more than everything else here.
    const DotState *block = dots.data() + startDot;
    unsigned value = 0;
    for (unsigned bit = 0; bit < kDotsPerBlock; ++bit)
        value |= static_cast<unsigned>(block[bit] == DotState::Set) << bit;
    return value;
}

// Writes the hex text of `byte` at `out` and returns the end of what it wrote.
char *WriteHex(char *out, unsigned byte)
{
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    if (byte >= 16)
        *out++ = kDigits[byte >> 4];
    *out++ = kDigits[byte & 15];
    return out;
}

char *WriteText(char *out, std::string_view text)
{
    return std::copy(text.begin(), text.end(), out);
}

char *WriteBlockList(char *out, const DotGrid::Dots &dots, int firstBlock, int endBlock)
{
    for (int block = firstBlock; block < endBlock; ++block) {
        if (block != firstBlock)
            *out++ = ',';
        out = WriteText(out, "0x");
        out = WriteHex(out, BlockValue(dots, block * kDotsPerBlock));
    }
    return out;
}

// The longest text: every byte written as 0xFF with its comma.
constexpr std::size_t kLongestCode = kFirstPrefix.size() + kSecondPrefix.size() + 2 * kStatementEnd.size()
                                     + kLineEnd.size() + kBlockCount * std::string_view(",0xFF").size();

} // namespace

std::string BlockCODE(const DotGrid &grid, std::int16_t nStartDot)
{
    if (!IsDotIndex(nStartDot) || !IsDotIndex(nStartDot + kDotsPerBlock - 1))
        throw std::out_of_range("BlockCODE: no block starts at dot " + std::to_string(nStartDot));
    char hex[2];
    return {hex, WriteHex(hex, BlockValue(grid.AllDots(), nStartDot))};
}

std::string DescribeDotBit(int dot)
{
    const int block = dot / kDotsPerBlock;
    const int bit = dot % kDotsPerBlock;
    char hex[2];
    return "Dot " + std::to_string(dot) + ": byte " + std::to_string(block)
           + (block < kBlocksInFirstStatement ? " (first printf)" : " (second printf)") + ", bit " + std::to_string(bit)
           + " = 0x" + std::string(hex, WriteHex(hex, 1u << bit));
}

ModuleBytes PictureModuleBytes(const DotGrid &grid)
{
    ModuleBytes bytes{kPictureCommand};
    for (int block = 0; block < kBlockCount; ++block)
        bytes[static_cast<std::size_t>(block) + 1] =
            static_cast<std::uint8_t>(BlockValue(grid.AllDots(), block * kDotsPerBlock));
    return bytes;
}

std::string LCDtoCODE(const DotGrid &grid)
{
    const DotGrid::Dots &dots = grid.AllDots();
    std::array<char, kLongestCode> text;
    char *out = WriteText(text.data(), kFirstPrefix);
    out = WriteBlockList(out, dots, 0, kBlocksInFirstStatement);
    out = WriteText(out, kStatementEnd);
    out = WriteText(out, kLineEnd);
    out = WriteText(out, kSecondPrefix);
    out = WriteBlockList(out, dots, kBlocksInFirstStatement, kBlockCount);
    out = WriteText(out, kStatementEnd);
    return {text.data(), out};
}

} // namespace tessaldo
