#pragma once

#include "core/model/DotGrid.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tessaldo {

// An image reduced to its brightness: 0 black to 255 white, row by row.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// How the image is laid onto the 16 x 16 cells.
enum class Fit {
    Contain, // all of it, aspect kept, centred, white margins
    Cover,   // filling every cell, aspect kept, centred, the rest cut off
    Stretch, // each axis on its own
};

enum class Dither { None, FloydSteinberg, Atkinson, Bayer };

struct DotOptions {
    Fit fit = Fit::Contain;
    int threshold = 128; // a cell darker than this is set
    Dither dither = Dither::None;
    bool invert = false; // swaps set and clear at the very end
};

// The 16 x 16 cells as the screen shows them, row by row from the top left.
using CellGreys = std::array<double, kDotCount>; // the brightness each cell averages
using ScreenCells = std::array<bool, kDotCount>; // true where the cell is set

// Each cell takes the mean of the image area it covers, weighted by coverage;
// along an axis where the image is enlarged, the pixel under the cell's centre.
CellGreys ResampleToCells(const GreyImage &image, Fit fit);
ScreenCells Halftone(const CellGreys &greys, int threshold, Dither dither, bool invert);
ScreenCells CellsFromPixels(const GreyImage &image, const DotOptions &options);
// What an import takes: a 16 x 16 bitmap's own pixels where the image is one
// (BitmapFiles' DotForDot), whatever the options say, or else the greys' halftone.
ScreenCells ImportedCells(const CellGreys &greys, const DotOptions &options,
                          const std::optional<ScreenCells> &dotForDot);

// Sets each dot from the cell where the grid's layout shows it.
void PutCells(DotGrid &grid, const ScreenCells &cells);
// Sets the dots of the set cells and leaves the others as they are.
void AddCells(DotGrid &grid, const ScreenCells &cells);

// The names the command line uses: "contain", "floyd-steinberg", ...
std::optional<Fit> FitFromName(std::string_view name);
std::optional<Dither> DitherFromName(std::string_view name);
// The inverse: the name each choice goes by.
std::string_view FitName(Fit fit);
std::string_view DitherName(Dither dither);

} // namespace tessaldo
