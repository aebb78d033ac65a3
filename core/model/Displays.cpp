#include "core/model/Displays.h"

#include <algorithm>
#include <array>

namespace tessaldo {

namespace {

// Pitches are the active area's width over its dots in the panels' data
// sheets: SSD1306 0.96-inch 21.74 mm, 0.91-inch 22.38 mm, SH1106 1.3-inch
// 29.42 mm, SH1107 1.5-inch 26.86 mm, PCD8544 (Nokia 5110) 30.2 mm, the
// 1.54, 2.13, 2.9, 4.2 and 7.5-inch e-papers 27.6, 48.55, 66.9, 84.8 and
// 163.2 mm, the 2.7-inch memory LCD 58.8 mm. The serial module's dots are
// half a millimetre apart.
constexpr std::array kDisplays{
    Display{"8 x 8 u8x8 tile (SSD1306 0.96-inch OLED)", {8, 8}, 0.17, PanelColours::WhiteOled, BitLayout::Tiles},
    Display{"16 x 16 the serial graphic LCD module", {16, 16}, 0.5, PanelColours::GreenLcd, BitLayout::Module},
    Display{"32 x 32 icon (SSD1306 0.96-inch OLED)", {32, 32}, 0.17, PanelColours::WhiteOled, BitLayout::Pages},
    Display{"84 x 48 PCD8544 (Nokia 5110) LCD", {84, 48}, 0.36, PanelColours::GreenLcd, BitLayout::Pages},
    Display{"128 x 32 SSD1306 0.91-inch OLED", {128, 32}, 0.175, PanelColours::WhiteOled, BitLayout::Pages},
    Display{"128 x 64 SSD1306 0.96-inch OLED", {128, 64}, 0.17, PanelColours::WhiteOled, BitLayout::Pages},
    Display{"128 x 64 SSD1306 0.96-inch yellow and blue OLED",
            {128, 64},
            0.17,
            PanelColours::YellowBlueOled,
            BitLayout::Pages},
    Display{"128 x 64 SH1106 1.3-inch OLED", {128, 64}, 0.23, PanelColours::BlueOled, BitLayout::Pages},
    Display{"128 x 128 SH1107 1.5-inch OLED", {128, 128}, 0.21, PanelColours::WhiteOled, BitLayout::Pages},
    Display{"200 x 200 1.54-inch e-paper", {200, 200}, 0.138, PanelColours::EPaper, BitLayout::Rows},
    Display{"250 x 122 2.13-inch e-paper", {250, 122}, 0.194, PanelColours::EPaper, BitLayout::Rows},
    Display{"296 x 128 2.9-inch e-paper", {296, 128}, 0.226, PanelColours::EPaper, BitLayout::Rows},
    Display{"400 x 240 2.7-inch memory LCD", {400, 240}, 0.147, PanelColours::GreenLcd, BitLayout::Rows},
    Display{"400 x 300 4.2-inch e-paper", {400, 300}, 0.212, PanelColours::EPaper, BitLayout::Rows},
    Display{"800 x 480 7.5-inch e-paper", {800, 480}, 0.204, PanelColours::EPaper, BitLayout::Rows},
};

} // namespace

std::string_view PanelColoursName(PanelColours colours)
{
    switch (colours) {
    case PanelColours::WhiteOled:
        return "White OLED";
    case PanelColours::BlueOled:
        return "Blue OLED";
    case PanelColours::YellowBlueOled:
        return "Yellow and blue OLED";
    case PanelColours::GreenLcd:
        return "Grey-green LCD";
    case PanelColours::EPaper:
        return "E-paper";
    }
    return {};
}

PanelPalette PaletteOf(PanelColours colours)
{
    switch (colours) {
    case PanelColours::WhiteOled:
        return {0x000000, 0xf4f8ff, 0xf4f8ff, 0};
    case PanelColours::BlueOled:
        return {0x00040c, 0x5ecbff, 0x5ecbff, 0};
    case PanelColours::YellowBlueOled:
        return {0x000000, 0x5ecbff, 0xffd83a, 16};
    case PanelColours::GreenLcd:
        return {0x9fb08a, 0x1d2a1a, 0x1d2a1a, 0};
    case PanelColours::EPaper:
        return {0xe9e7df, 0x1a1a1a, 0x1a1a1a, 0};
    }
    return {};
}

std::uint32_t DotColour(const PanelPalette &palette, int row, bool set)
{
    if (!set)
        return palette.background;
    return row < palette.bandRows ? palette.bandDot : palette.dot;
}

std::span<const Display> Displays()
{
    return kDisplays;
}

std::optional<std::size_t> DisplayOfSize(PictureSize size)
{
    const auto found = std::find_if(kDisplays.begin(), kDisplays.end(),
                                    [size](const Display &display) { return display.size == size; });
    if (found == kDisplays.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - kDisplays.begin());
}

std::size_t DisplayHolding(PictureSize size)
{
    if (const std::optional<std::size_t> same = DisplayOfSize(size))
        return *same;
    std::optional<std::size_t> smallest;
    for (std::size_t index = 0; index < kDisplays.size(); ++index) {
        const Display &display = kDisplays[index];
        const bool anySize = display.buffer == BitLayout::Rows || display.buffer == BitLayout::Pages;
        const bool holds = display.size.width >= size.width && display.size.height >= size.height;
        if (anySize && holds && (!smallest || display.size.DotCount() < kDisplays[*smallest].size.DotCount()))
            smallest = index;
    }
    return smallest.value_or(kDisplays.size() - 1);
}

} // namespace tessaldo
