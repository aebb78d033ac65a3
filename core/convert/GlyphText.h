#pragma once

#include "core/convert/PixelsToDots.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tessaldo {

// A glyph drawn for 16 pixels, as GNU Unifont's hex file gives it: 8 or 16
// columns, 16 rows, the leftmost column in bit 15 of each row.
struct Glyph {
    int width = 0;
    std::array<std::uint16_t, kGridSide> rows{};
};

// The glyph from its hex digits: 32 for 8 columns, 64 for 16.
std::optional<Glyph> GlyphFromHex(std::string_view hex);

struct GlyphLine {
    ScreenCells cells{};
    int width = 0;    // the whole line's, in dots
    bool cut = false; // some of its dots fall outside the picture
};

// The glyphs side by side on a picture of `size`, the line centred both ways
// (a line wider than the picture cut on both sides) or from the top-left
// cell, then moved by whole dots: the same picture as the desktop
// draws from Unifont at 16 px.
GlyphLine LayGlyphs(const std::vector<Glyph> &glyphs, bool alignLeft, int offsetX, int offsetY,
                    PictureSize size = kModuleSize);

} // namespace tessaldo
