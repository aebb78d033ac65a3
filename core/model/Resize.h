#pragma once

#include "core/model/Dots.h"
#include "core/model/LcdType.h"

#include <optional>
#include <string_view>

// A picture made another size as one step: cropped or extended with clear
// dots, held at one of nine places, or scaled by a whole factor.
namespace tessaldo {

// Where the picture stays while its size changes: extending at the top left
// adds clear dots to the right and below, and so on.
enum class Anchor { TopLeft, Top, TopRight, Left, Centre, Right, BottomLeft, Bottom, BottomRight };

// "top-left" (the default), "top", "top-right", "left", "centre" (or "center"), "right", "bottom-left",
// "bottom", "bottom-right".
std::optional<Anchor> AnchorFromName(std::string_view name);
std::string_view AnchorName(Anchor anchor);
inline constexpr std::string_view kAnchorChoices =
    "top-left, top, top-right, left, centre, right, bottom-left, bottom or bottom-right";

// The dots, shown in `type`, in a picture of `to`: what lies outside is cut
// off, what is new is clear. At the centre an odd difference leaves the extra
// dot right and below.
Dots ResizedDots(const Dots &dots, LcdType type, PictureSize to, Anchor anchor);

// Each dot made `factor` x `factor` dots; nothing when the result would pass kLargestSide.
std::optional<Dots> EnlargedDots(const Dots &dots, LcdType type, int factor);
// Each `factor` x `factor` block made one dot, set where at least half of the
// block is; the last block of a side that `factor` does not divide counts the
// dots it has. Nothing for a factor below 1.
std::optional<Dots> ReducedDots(const Dots &dots, LcdType type, int factor);

} // namespace tessaldo
