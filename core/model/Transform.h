#pragma once

#include "core/model/DotGrid.h"

#include <optional>
#include <string_view>

namespace tessaldo {

// The changes of the whole picture. Each one acts on the picture as the
// screen shows it in the grid's current layout, so it looks the same in
// either LCD type.
enum class Transform {
    Invert,
    ShiftUp,
    ShiftDown,
    ShiftLeft,
    ShiftRight,
    FlipHorizontally,
    FlipVertically,
    RotateClockwise,
    RotateCounterclockwise,
};

// Shifts drop what they push past the edge and leave the emptied row or column clear.
// A turn of a picture that is not square swaps its width and height.
void ApplyTransform(DotGrid &grid, Transform transform);
PictureSize TransformedSize(PictureSize size, Transform transform);

// The name the command line uses ("invert", "shift-up", "flip-h", "rotate-cw", ...).
std::string_view TransformName(Transform transform);
std::optional<Transform> TransformFromName(std::string_view name);

} // namespace tessaldo
