#include "core/model/BitLayout.h"

#include <array>

namespace tessaldo {

namespace {

constexpr int kBitsPerByte = 8;
constexpr int kBytesPerRow = kGridSide / kBitsPerByte;

constexpr std::array<std::string_view, kEveryBitLayout.size()> kNames{"module", "xbm", "rows", "pages", "tiles"};
// The names of the code forms that write each layout (code --format c, xbm, gfx,
// pages): what a user who wrote the array with one of them reads it back with.
constexpr std::array<std::string_view, kEveryBitLayout.size()> kFormatNames{"c", "xbm", "gfx", "pages", "u8x8"};

int WholeBytes(int dots)
{
    return (dots + kBitsPerByte - 1) / kBitsPerByte;
}

} // namespace

std::string_view BitLayoutName(BitLayout layout)
{
    return kNames.at(static_cast<std::size_t>(layout));
}

std::optional<BitLayout> BitLayoutFromName(std::string_view name)
{
    for (const BitLayout layout : kEveryBitLayout)
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
    case BitLayout::Tiles: // two tiles a row: the bytes of pages
        return {(cell.row / kBitsPerByte) * kGridSide + cell.column, cell.row % kBitsPerByte};
    }
    return {};
}

std::size_t LayoutByteCount(BitLayout layout, PictureSize size)
{
    switch (layout) {
    case BitLayout::Module:
        return static_cast<std::size_t>(WholeBytes(size.DotCount()));
    case BitLayout::Xbm:
    case BitLayout::Rows:
        return static_cast<std::size_t>(WholeBytes(size.width)) * static_cast<std::size_t>(size.height);
    case BitLayout::Pages:
        return static_cast<std::size_t>(size.width) * static_cast<std::size_t>(WholeBytes(size.height));
    case BitLayout::Tiles:
        return static_cast<std::size_t>(WholeBytes(size.width)) * kBitsPerByte
               * static_cast<std::size_t>(WholeBytes(size.height));
    }
    return 0;
}

BitPlace PlaceOfCell(BitLayout layout, LcdType type, Cell cell, PictureSize size)
{
    if (IsModuleSize(size))
        return PlaceOfCell(layout, type, cell);
    const int rowBytes = WholeBytes(size.width);
    switch (layout) {
    case BitLayout::Module: {
        const int dot = DotAtCell(type, cell, size);
        return {dot / kBitsPerByte, dot % kBitsPerByte};
    }
    case BitLayout::Xbm:
        return {cell.row * rowBytes + cell.column / kBitsPerByte, cell.column % kBitsPerByte};
    case BitLayout::Rows:
        return {cell.row * rowBytes + cell.column / kBitsPerByte, kBitsPerByte - 1 - cell.column % kBitsPerByte};
    case BitLayout::Pages:
        return {(cell.row / kBitsPerByte) * size.width + cell.column, cell.row % kBitsPerByte};
    case BitLayout::Tiles: {
        const int tile = (cell.row / kBitsPerByte) * rowBytes + cell.column / kBitsPerByte;
        return {tile * kBitsPerByte + cell.column % kBitsPerByte, cell.row % kBitsPerByte};
    }
    }
    return {};
}

namespace {

// The byte and bit of each dot of a picture that is not 16 x 16 in `Layout`, whose dots by index run along rows:
// shifts and adds with the layout known at compile time, not PlaceOfCell's switch and cell for every dot, so that an
// 800 x 480 picture is written and read back well within a frame.
template <BitLayout Layout> struct RowPlaces {
    PictureSize size;
    int rowBytes = WholeBytes(size.width);

    std::size_t ByteOf(int column, int row) const
    {
        const auto whole = [](int value) { return static_cast<std::size_t>(value); };
        if constexpr (Layout == BitLayout::Module)
            return whole(row * size.width + column) / kBitsPerByte;
        else if constexpr (Layout == BitLayout::Xbm || Layout == BitLayout::Rows)
            return whole(row * rowBytes + column / kBitsPerByte);
        else if constexpr (Layout == BitLayout::Pages)
            return whole((row / kBitsPerByte) * size.width + column);
        else
            return whole(((row / kBitsPerByte) * rowBytes + column / kBitsPerByte) * kBitsPerByte
                         + column % kBitsPerByte);
    }
    static int BitOf(int column, int row, int dot)
    {
        if constexpr (Layout == BitLayout::Module)
            return dot % kBitsPerByte;
        else if constexpr (Layout == BitLayout::Xbm)
            return column % kBitsPerByte;
        else if constexpr (Layout == BitLayout::Rows)
            return kBitsPerByte - 1 - column % kBitsPerByte;
        else
            return row % kBitsPerByte;
    }
};

// XBM's and GFX's rows of a picture that is not 16 x 16, whose dots run along rows: eight dots a byte at a time,
// as an 800 x 480 picture is written as fast as netpbm writes it.
std::vector<std::uint8_t> PackedRows(const Dots &dots, bool leftmostInBit0)
{
    const PictureSize size = dots.Size();
    const int rowBytes = WholeBytes(size.width);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(size.height));
    const DotState *dot = dots.data();
    std::uint8_t *out = bytes.data();
    for (int row = 0; row < size.height; ++row)
        for (int column = 0; column < size.width; column += kBitsPerByte, ++out) {
            unsigned byte = 0;
            for (int bit = 0; bit < kBitsPerByte && column + bit < size.width; ++bit, ++dot)
                byte |= static_cast<unsigned>(*dot) << (leftmostInBit0 ? bit : kBitsPerByte - 1 - bit);
            *out = static_cast<std::uint8_t>(byte);
        }
    return bytes;
}

// Calls visit(dot, byte, bit) for every dot of a picture of `size` that is not 16 x 16, in the order of its dots.
template <BitLayout Layout, typename Visit> void VisitPlaces(PictureSize size, Visit &&visit)
{
    const RowPlaces<Layout> places{size};
    int dot = 0;
    for (int row = 0; row < size.height; ++row)
        for (int column = 0; column < size.width; ++column, ++dot)
            visit(static_cast<std::size_t>(dot), places.ByteOf(column, row),
                  RowPlaces<Layout>::BitOf(column, row, dot));
}

template <typename Visit> void VisitPlaces(BitLayout layout, PictureSize size, Visit &&visit)
{
    switch (layout) {
    case BitLayout::Module:
        return VisitPlaces<BitLayout::Module>(size, visit);
    case BitLayout::Xbm:
        return VisitPlaces<BitLayout::Xbm>(size, visit);
    case BitLayout::Rows:
        return VisitPlaces<BitLayout::Rows>(size, visit);
    case BitLayout::Pages:
        return VisitPlaces<BitLayout::Pages>(size, visit);
    case BitLayout::Tiles:
        return VisitPlaces<BitLayout::Tiles>(size, visit);
    }
}

} // namespace

std::vector<std::uint8_t> SizedLayoutBytes(const DotGrid &grid, BitLayout layout)
{
    const PictureSize size = grid.Size();
    const Dots &dots = grid.AllDots();
    if (!IsModuleSize(size) && (layout == BitLayout::Xbm || layout == BitLayout::Rows))
        return PackedRows(dots, layout == BitLayout::Xbm);
    std::vector<std::uint8_t> bytes(LayoutByteCount(layout, size));
    if (!IsModuleSize(size)) {
        VisitPlaces(layout, size, [&dots, &bytes](std::size_t dot, std::size_t byte, int bit) {
            bytes[byte] = static_cast<std::uint8_t>(bytes[byte] | static_cast<unsigned>(dots[dot]) << bit);
        });
        return bytes;
    }
    for (int dot = 0; dot < size.DotCount(); ++dot) {
        if (dots[static_cast<std::size_t>(dot)] != DotState::Set)
            continue;
        const BitPlace place = PlaceOfCell(layout, grid.nLCDType(), grid.CellOf(dot), size);
        std::uint8_t &byte = bytes[static_cast<std::size_t>(place.byte)];
        byte = static_cast<std::uint8_t>(byte | (1U << place.bit));
    }
    return bytes;
}

Dots DotsFromSizedLayoutBytes(std::span<const std::uint8_t> bytes, BitLayout layout, LcdType type, PictureSize size)
{
    Dots dots(size);
    const auto isSet = [&bytes](std::size_t byte, int bit) {
        return byte < bytes.size() && ((bytes[byte] >> bit) & 1U) != 0;
    };
    if (!IsModuleSize(size)) {
        VisitPlaces(layout, size, [&dots, &isSet](std::size_t dot, std::size_t byte, int bit) {
            dots[dot] = isSet(byte, bit) ? DotState::Set : DotState::Clear;
        });
        return dots;
    }
    for (int dot = 0; dot < size.DotCount(); ++dot) {
        const BitPlace place = PlaceOfCell(layout, type, CellOfDot(type, dot, size), size);
        if (isSet(static_cast<std::size_t>(place.byte), place.bit))
            dots[static_cast<std::size_t>(dot)] = DotState::Set;
    }
    return dots;
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
