#include "CodeGenerator.h"

#include <string_view>

namespace tessaldo {
namespace {

constexpr std::string_view kFirstPrefix = R"(printf("%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c",0xA4,)";
constexpr std::string_view kSecondPrefix = R"(printf("%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c",)";
constexpr std::string_view kStatementEnd = ");";
constexpr std::string_view kLineEnd = "\r\n";

unsigned BlockValue(const DotGrid &grid, int startDot)
{
    unsigned value = 0;
    for (int bit = 0; bit < kDotsPerBlock; ++bit) {
        if (grid.IsSet(startDot + bit))
            value |= 1u << bit;
    }
    return value;
}

void AppendHex(std::string &out, unsigned byte)
{
    constexpr std::string_view digits = "0123456789ABCDEF";
    if (byte >= 16)
        out += digits[byte >> 4];
    out += digits[byte & 15];
}

void AppendBlockList(std::string &out, const DotGrid &grid, int firstBlock, int endBlock)
{
    for (int block = firstBlock; block < endBlock; ++block) {
        if (block != firstBlock)
            out += ',';
        out += "0x";
        AppendHex(out, BlockValue(grid, block * kDotsPerBlock));
    }
}

} // namespace

std::string BlockCODE(const DotGrid &grid, std::int16_t nStartDot)
{
    std::string hex;
    AppendHex(hex, BlockValue(grid, nStartDot));
    return hex;
}

std::string DescribeDotBit(int dot)
{
    const int block = dot / kDotsPerBlock;
    const int bit = dot % kDotsPerBlock;
    std::string text = "Dot " + std::to_string(dot) + ": byte " + std::to_string(block)
                       + (block < kBlocksInFirstStatement ? " (first printf)" : " (second printf)") + ", bit "
                       + std::to_string(bit) + " = 0x";
    AppendHex(text, 1u << bit);
    return text;
}

std::string LCDtoCODE(const DotGrid &grid)
{
    std::string code;
    // Room for every byte written as 0xFF, so the text is built without regrowing.
    code.reserve(kFirstPrefix.size() + kSecondPrefix.size() + 2 * kStatementEnd.size()
                 + kLineEnd.size() + kBlockCount * 5);
    code += kFirstPrefix;
    AppendBlockList(code, grid, 0, kBlocksInFirstStatement);
    code += kStatementEnd;
    code += kLineEnd;
    code += kSecondPrefix;
    AppendBlockList(code, grid, kBlocksInFirstStatement, kBlockCount);
    code += kStatementEnd;
    return code;
}

} // namespace tessaldo
