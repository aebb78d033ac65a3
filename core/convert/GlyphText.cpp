#include "core/convert/GlyphText.h"

#include "core/convert/TextPlacement.h"

namespace tessaldo {
namespace {

std::optional<std::uint16_t> HexValue(std::string_view digits)
{
    std::uint16_t value = 0;
    for (const char c : digits) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                 : -1;
        if (digit < 0)
            return std::nullopt;
        value = static_cast<std::uint16_t>(value * 16 + digit);
    }
    return value;
}

} // namespace

std::optional<Glyph> GlyphFromHex(std::string_view hex)
{
    if (hex.size() != 32 && hex.size() != 64)
        return std::nullopt;
    Glyph glyph;
    glyph.width = hex.size() == 32 ? 8 : 16;
    const std::size_t digitsPerRow = hex.size() / glyph.rows.size();
    for (std::size_t row = 0; row < glyph.rows.size(); ++row) {
        const std::optional<std::uint16_t> value = HexValue(hex.substr(row * digitsPerRow, digitsPerRow));
        if (!value)
            return std::nullopt;
        glyph.rows[row] = static_cast<std::uint16_t>(glyph.width == 8 ? *value << 8 : *value);
    }
    return glyph;
}

GlyphLine LayGlyphs(const std::vector<Glyph> &glyphs, bool alignLeft, int offsetX, int offsetY, PictureSize size)
{
    GlyphLine line{ScreenCells(size)};
    for (const Glyph &glyph : glyphs)
        line.width += glyph.width;
    int left = (alignLeft ? 0 : CentredStart(size.width, line.width)) + offsetX;
    // A centred line is centred down too, as the desktop centres its font's line height.
    const int top = (alignLeft ? 0 : CentredStart(size.height, kGridSide)) + offsetY;
    for (const Glyph &glyph : glyphs) {
        for (int row = 0; row < static_cast<int>(glyph.rows.size()); ++row) {
            for (int column = 0; column < glyph.width; ++column) {
                if (!((glyph.rows[static_cast<std::size_t>(row)] >> (15 - column)) & 1))
                    continue;
                const int x = left + column;
                const int y = top + row;
                if (!IsInside({x, y}, size))
                    line.cut = true;
                else
                    line.cells.At({x, y}) = true;
            }
        }
        left += glyph.width;
    }
    return line;
}

} // namespace tessaldo
