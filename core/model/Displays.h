#pragma once

#include "core/model/BitLayout.h"
#include "core/model/PictureSize.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The displays people draw for, each with its size, the distance between
// its dots, its colours and the order its controller takes a frame buffer
// in: what "New Picture…" offers and what the preview shows a picture on.
namespace tessaldo {

enum class PanelColours {
    WhiteOled,      // white dots on black
    BlueOled,       // light blue dots on black
    YellowBlueOled, // the two-colour 0.96-inch panel: its top 16 rows yellow, the rest blue
    GreenLcd,       // dark dots on a grey-green reflective LCD
    EPaper,         // black ink on off-white paper
};
inline constexpr std::array kPanelColours{PanelColours::WhiteOled, PanelColours::BlueOled, PanelColours::YellowBlueOled,
                                          PanelColours::GreenLcd, PanelColours::EPaper};
// "White OLED", "Blue OLED", "Yellow and blue OLED", "Grey-green LCD", "E-paper".
std::string_view PanelColoursName(PanelColours colours);

// Colours as 0xRRGGBB.
struct PanelPalette {
    std::uint32_t background; // a clear dot, and the panel around the picture
    std::uint32_t dot;        // a set dot
    std::uint32_t bandDot;    // a set dot in the top `bandRows` rows
    int bandRows;
};
PanelPalette PaletteOf(PanelColours colours);
// The colour of a dot in `row`, set or clear, on such a panel.
std::uint32_t DotColour(const PanelPalette &palette, int row, bool set);

struct Display {
    std::string_view name; // "128 x 64 SSD1306 0.96-inch OLED"
    PictureSize size;
    double pitchMm;       // from one dot's centre to the next, as the panel's data sheet gives it
    PanelColours colours; // as the panel is mostly sold
    BitLayout buffer;     // the order of a frame buffer written to its controller as it is
};

// The presets, smallest first.
std::span<const Display> Displays();
// The index of the first preset of `size`, or nothing where no preset is that size.
std::optional<std::size_t> DisplayOfSize(PictureSize size);
// The preset a picture of `size` is shown on: the first of its size, else the
// smallest that holds it and takes a frame buffer of any size (rows or pages;
// the module takes 16 x 16 only and a u8x8 tile is one whole tile), else the largest.
std::size_t DisplayHolding(PictureSize size);

} // namespace tessaldo
