#pragma once

#include "core/code/CodeFormats.h"
#include "core/model/Displays.h"
#include "core/model/DotGrid.h"

#include <string>

namespace tessaldo {

// What a display shows of the picture's code, read back from the very bytes
// the chosen array form writes, so that a wrong layout shows before the
// firmware is flashed. X BitMap and GFX arrays are drawn by their library's
// call, which takes their order; pages, tiles and the module's bytes are
// written to the controller as they are, which reads them in its own.
struct DisplayPreview {
    Dots dots;        // at the display's size, the picture at its top left
    std::string note; // "" where the display shows the picture as drawn; else why not, one sentence
};
DisplayPreview PreviewOnDisplay(const DotGrid &grid, CodeFormat form, const Display &display);

} // namespace tessaldo
