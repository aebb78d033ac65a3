#pragma once

#include "core/model/LcdType.h"

#include <array>

namespace tessaldo {

// The main window as designed, in twips from its top-left corner (from its
// frame's for the controls a frame holds). Both faces place their controls
// from this one table; on screen a pixel is kTwipsPerPixel twips
// (core/model/Layout.h), which also places the grid inside its frame.
struct TwipsBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int kWindowWidthTwips = 3645;
inline constexpr int kWindowHeightTwips = 7695;
inline constexpr TwipsBox kToolbarBox{0, 0, 3645, 855};
inline constexpr TwipsBox kTypeFrameBox{60, 885, 3540, 900}; // "LCD Type"
inline constexpr std::array<TwipsBox, kLcdTypeCount> kTypeOptionBoxes{{{150, 285, 2325, 210}, {150, 570, 2325, 210}}};
inline constexpr TwipsBox kDotFrameBox{45, 1860, 3570, 3675}; // "LCD Pannel"
inline constexpr TwipsBox kCodeBoxBox{30, 5580, 3555, 1185};
inline constexpr TwipsBox kCopyButtonBox{45, 6825, 3510, 450};

// Work that lasts longer than this shows a progress dialog.
inline constexpr int kProgressAfterMs = 500;

} // namespace tessaldo
