#pragma once

#include "core/model/DotGrid.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// Where each dot of the picture goes in 32 bytes. The module takes its own
// order; the libraries of other small monochrome displays each take one of
// three others. All but the module's address the picture as the screen shows
// it, which is what another display shows, so they depend on the LCD type.
namespace tessaldo {

// The 32 bytes of a picture in some layout; in the module's, bit j of byte k is dot 8k+j.
using PictureBytes = std::array<std::uint8_t, kDotCount / 8>;

enum class BitLayout {
    Module, // the module's: eight dots of consecutive index a byte, the lowest in bit 0
    Xbm,    // rows top to bottom, two bytes a row, the leftmost dot in bit 0 (X BitMap, u8g2's drawXBM)
    Rows,   // rows top to bottom, two bytes a row, the leftmost dot in bit 7 (Adafruit GFX's drawBitmap)
    Pages,  // two pages of eight rows, a byte a column of a page, the top dot in bit 0 (SSD1306, SH1106, ST7565,
            // PCD8544)
    Tiles,  // u8x8's 8 x 8 tiles row by row, eight bytes a tile, a byte a column, the top dot in bit 0
};
// The layouts a guess weighs. Tiles are left out: where the width is a whole
// number of tiles they hold the very bytes of pages, and a 16 x 16 picture is two tiles wide.
inline constexpr std::array kBitLayouts{BitLayout::Module, BitLayout::Xbm, BitLayout::Rows, BitLayout::Pages};
inline constexpr std::array kEveryBitLayout{BitLayout::Module, BitLayout::Xbm, BitLayout::Rows, BitLayout::Pages,
                                            BitLayout::Tiles};

// "module", "xbm", "rows", "pages", "tiles"
std::string_view BitLayoutName(BitLayout layout);
// The layout by its name, or by the name of the code form that writes it: "c" for module, "gfx" for rows, "u8x8" for
// tiles.
std::optional<BitLayout> BitLayoutFromName(std::string_view name);

// Byte and bit that hold the dot shown at `cell`.
struct BitPlace {
    int byte = 0;
    int bit = 0;
};
BitPlace PlaceOfCell(BitLayout layout, LcdType type, Cell cell);

// The picture's bytes in `layout`, the picture as the window shows it in the grid's type.
PictureBytes LayoutBytes(const DotGrid &grid, BitLayout layout);
// The dots that show, in `type`, the picture `bytes` hold in `layout`.
DotGrid::Dots DotsFromLayoutBytes(const PictureBytes &bytes, BitLayout layout, LcdType type);

// The same for a picture of any size. XBM and GFX rows take whole bytes, (width + 7) / 8 a row; pages take whole
// pages of eight rows, a byte a column; tiles take whole tiles each way. The module's own order has no padding:
// dot index / 8 (though the module itself only takes 16 x 16).
std::size_t LayoutByteCount(BitLayout layout, PictureSize size);
BitPlace PlaceOfCell(BitLayout layout, LcdType type, Cell cell, PictureSize size);
std::vector<std::uint8_t> SizedLayoutBytes(const DotGrid &grid, BitLayout layout);
// The dots of a picture of `size` that `bytes` hold in `layout`; bytes short of LayoutByteCount read as clear.
Dots DotsFromSizedLayoutBytes(std::span<const std::uint8_t> bytes, BitLayout layout, LcdType type, PictureSize size);

} // namespace tessaldo
