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

// How the image is laid onto the picture's cells.
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

// A value for each cell of a picture as the screen shows it, row by row
// from the top left: column x of row y is value y * width + x, whatever the
// LCD type. Reads like the std::array it once was, at 16 x 16 by default.
template <typename Value> class CellGrid {
public:
    using Reference = typename std::vector<Value>::reference;
    using ConstReference = typename std::vector<Value>::const_reference;

    CellGrid() : CellGrid(kModuleSize) {}
    explicit CellGrid(PictureSize size, Value value = {})
        : m_size(size),
          m_values(static_cast<std::size_t>(size.DotCount()), value)
    {
    }

    PictureSize Size() const { return m_size; }
    std::size_t size() const { return m_values.size(); }
    Reference operator[](std::size_t cell) { return m_values[cell]; }
    ConstReference operator[](std::size_t cell) const { return m_values[cell]; }
    Reference At(Cell cell) { return m_values[Index(cell)]; }
    ConstReference At(Cell cell) const { return m_values[Index(cell)]; }
    void fill(Value value) { m_values.assign(m_values.size(), value); }
    auto begin() { return m_values.begin(); }
    auto end() { return m_values.end(); }
    auto begin() const { return m_values.begin(); }
    auto end() const { return m_values.end(); }

    friend bool operator==(const CellGrid &, const CellGrid &) = default;

private:
    std::size_t Index(Cell cell) const
    {
        return static_cast<std::size_t>(cell.row) * static_cast<std::size_t>(m_size.width)
               + static_cast<std::size_t>(cell.column);
    }

    PictureSize m_size;
    std::vector<Value> m_values;
};

using CellGreys = CellGrid<double>; // the brightness each cell averages
using ScreenCells = CellGrid<bool>; // true where the cell is set

// Each cell of a picture of `size` takes the mean of the image area it
// covers, weighted by coverage; along an axis where the image is enlarged,
// the pixel under the cell's centre. One pass over the image, whatever its size.
CellGreys ResampleToCells(const GreyImage &image, Fit fit, PictureSize size = kModuleSize);
ScreenCells Halftone(const CellGreys &greys, int threshold, Dither dither, bool invert);
ScreenCells CellsFromPixels(const GreyImage &image, const DotOptions &options, PictureSize size = kModuleSize);
// What an import takes: a bitmap's own pixels where the image is one of the
// picture's size (BitmapFiles' DotForDot), whatever the options say, or else
// the greys' halftone.
ScreenCells ImportedCells(const CellGreys &greys, const DotOptions &options,
                          const std::optional<ScreenCells> &dotForDot);

// Sets each dot from the cell where the grid's layout shows it; the cells
// are the grid's size.
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
