#include "core/model/BitLayout.h"

namespace tessaldo {

namespace {

constexpr int kBitsPerByte = 8;
constexpr int kBytesPerRow = kGridSide / kBitsPerByte;

constexpr std::array<std::string_view, kBitLayouts.size()> kNames{"module", "xbm", "rows", "pages"};
// The names of the code forms that write each layout (code --format c, xbm, gfx,
// pages): what a user who wrote the array with one of them reads it back with.
constexpr std::array<std::string_view, kBitLayouts.size()> kFormatNames{"c", "xbm", "gfx", "pages"};

} // namespace

std::string_view BitLayoutName(BitLayout layout)
{
    return kNames.at(static_cast<std::size_t>(layout));
}

std::optional<BitLayout> BitLayoutFromName(std::string_view name)
{
    for (const BitLayout layout : kBitLayouts)
        if (BitLayoutName(layout) == name || kFormatNames.at(static_cast<std::size_t>(layout)) == name)
            return layout;
    return std::nullopt;
}

BitPlace PlaceOfCell(BitLayout layout, LcdType type, Cell cell)
{
    switch (layout) {
    case BitLayout::Module: {
        const int dot = DotAtCell(type, cell);
        return {dot / kBitsPerByte, dot % kBitsPerByte};
    }
    case BitLayout::Xbm:
        return {cell.row * kBytesPerRow + cell.column / kBitsPerByte, cell.column % kBitsPerByte};
    case BitLayout::Rows:
        return {cell.row * kBytesPerRow + cell.column / kBitsPerByte, kBitsPerByte - 1 - cell.column % kBitsPerByte};
    case BitLayout::Pages:
        return {(cell.row / kBitsPerByte) * kGridSide + cell.column, cell.row % kBitsPerByte};
    }
    return {};
}

PictureBytes LayoutBytes(const DotGrid &grid, BitLayout layout)
{
    PictureBytes bytes{};
    for (int dot = 0; dot < kDotCount; ++dot) {
        if (!grid.IsSet(dot))
            continue;
        const BitPlace place = PlaceOfCell(layout, grid.nLCDType(), CellOfDot(grid.nLCDType(), dot));
        bytes.at(place.byte) = static_cast<std::uint8_t>(bytes.at(place.byte) | (1U << place.bit));
    }
    return bytes;
}

DotGrid::Dots DotsFromLayoutBytes(const PictureBytes &bytes, BitLayout layout, LcdType type)
{
    DotGrid::Dots dots{};
    for (int dot = 0; dot < kDotCount; ++dot) {
        const BitPlace place = PlaceOfCell(layout, type, CellOfDot(type, dot));
        if ((bytes.at(place.byte) >> place.bit) & 1U)
            dots.at(dot) = DotState::Set;
    }
    return dots;
}

} // namespace tessaldo
