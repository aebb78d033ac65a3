#include "core/convert/PixelsToDots.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

namespace tessaldo {
namespace {

constexpr double kWhite = 255;

// What one source pixel gives one cell along one axis.
struct Weight {
    int pixel = 0;
    double weight = 0;
};

// The weights of every cell of one axis, cell after cell, each cell's in
// the order of its pixels: cell i's are weights[first[i]] to weights[first[i + 1]].
struct AxisWeights {
    std::vector<Weight> weights;
    std::vector<std::size_t> first;

    std::span<const Weight> Of(int cell) const
    {
        const auto index = static_cast<std::size_t>(cell);
        return std::span(weights).subspan(first[index], first[index + 1] - first[index]);
    }
};

// How the `cells` cells of one axis take from `length` source pixels when the
// image is drawn `scale` cells per pixel, starting `offset` cells from the
// edge. Weights left out of a cell's sum (it lies partly or wholly off the
// image) are white.
AxisWeights WeightsOfAxis(int length, int cells, double scale, double offset)
{
    AxisWeights axis;
    axis.first.reserve(static_cast<std::size_t>(cells) + 1);
    for (int cell = 0; cell < cells; ++cell) {
        axis.first.push_back(axis.weights.size());
        if (scale > 1) {
            const int pixel = static_cast<int>(std::floor((cell + 0.5 - offset) / scale));
            if (pixel >= 0 && pixel < length)
                axis.weights.push_back({pixel, 1.0});
            continue;
        }
        // The cell spans [from, to) in source pixels.
        const double from = (cell - offset) / scale;
        const double to = (cell + 1 - offset) / scale;
        const double span = to - from;
        const int first = std::max(0, static_cast<int>(std::floor(from)));
        const int last = std::min(length - 1, static_cast<int>(std::ceil(to)) - 1);
        for (int pixel = first; pixel <= last; ++pixel) {
            const double overlap = std::min<double>(pixel + 1, to) - std::max<double>(pixel, from);
            if (overlap > 0)
                axis.weights.push_back({pixel, overlap / span});
        }
    }
    axis.first.push_back(axis.weights.size());
    return axis;
}

double Sum(std::span<const Weight> weights)
{
    double total = 0;
    for (const Weight &w : weights)
        total += w.weight;
    return total;
}

// The same weights turned around, pixel after pixel: which cells each source
// pixel feeds and with what weight, each pixel's cells in their order.
AxisWeights CellsOfPixels(const AxisWeights &axis, int length)
{
    AxisWeights pixels;
    pixels.first.assign(static_cast<std::size_t>(length) + 1, 0);
    for (const Weight &w : axis.weights)
        ++pixels.first[static_cast<std::size_t>(w.pixel) + 1];
    for (std::size_t pixel = 1; pixel < pixels.first.size(); ++pixel)
        pixels.first[pixel] += pixels.first[pixel - 1];
    pixels.weights.resize(axis.weights.size());
    std::vector<std::size_t> next(pixels.first.begin(), pixels.first.end() - 1);
    const int cells = static_cast<int>(axis.first.size()) - 1;
    for (int cell = 0; cell < cells; ++cell) {
        for (const Weight &w : axis.Of(cell))
            pixels.weights[next[static_cast<std::size_t>(w.pixel)]++] = {cell, w.weight};
    }
    return pixels;
}

std::size_t CellIndex(int column, int row, int width)
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(column);
}

// Error diffusion: each cell's difference from what it became is handed on to
// the cells after it, in raster order.
struct Spread {
    int dx;
    int dy;
    double share;
};
constexpr Spread kFloydSteinberg[] = {{1, 0, 7 / 16.0}, {-1, 1, 3 / 16.0}, {0, 1, 5 / 16.0}, {1, 1, 1 / 16.0}};
// Atkinson hands on only six eighths, which keeps highlights and shadows clean.
constexpr Spread kAtkinson[] = {{1, 0, 1 / 8.0}, {2, 0, 1 / 8.0}, {-1, 1, 1 / 8.0},
                                {0, 1, 1 / 8.0}, {1, 1, 1 / 8.0}, {0, 2, 1 / 8.0}};

template <std::size_t N> ScreenCells Diffuse(CellGreys greys, int threshold, const Spread (&spreads)[N])
{
    const PictureSize size = greys.Size();
    ScreenCells cells(size);
    for (int row = 0; row < size.height; ++row) {
        for (int column = 0; column < size.width; ++column) {
            const double value = greys[CellIndex(column, row, size.width)];
            const bool set = value < threshold;
            cells[CellIndex(column, row, size.width)] = set;
            const double error = value - (set ? 0 : kWhite);
            for (const Spread &spread : spreads) {
                const int c = column + spread.dx;
                const int r = row + spread.dy;
                if (c >= 0 && c < size.width && r < size.height)
                    greys[CellIndex(c, r, size.width)] += error * spread.share;
            }
        }
    }
    return cells;
}

// Ordered dithering. The threshold stays the middle of the pattern: a cell
// that many shades darker than it is set in that many more places of the
// 4 x 4 pattern, so black and white stay solid whatever the threshold.
ScreenCells Ordered(const CellGreys &greys, int threshold)
{
    constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const PictureSize size = greys.Size();
    ScreenCells cells(size);
    for (int row = 0; row < size.height; ++row) {
        for (int column = 0; column < size.width; ++column) {
            const double value = greys[CellIndex(column, row, size.width)];
            // 0 for black, 0.5 at the threshold, 1 for white.
            const double level = value < threshold     ? 0.5 * value / threshold
                                 : threshold >= kWhite ? 1.0
                                                       : 0.5 + 0.5 * (value - threshold) / (kWhite - threshold);
            const double step = (kBayer[row % 4][column % 4] + 0.5) / 16;
            cells[CellIndex(column, row, size.width)] = level < step;
        }
    }
    return cells;
}

// Each dot takes what `state` makes of the cell the grid's layout shows it in, or keeps its own.
template <typename State> void ForEachCell(DotGrid &grid, const ScreenCells &cells, State state)
{
    const PictureSize size = cells.Size();
    for (int row = 0; row < size.height; ++row) {
        for (int column = 0; column < size.width; ++column) {
            const int dot = grid.DotAt({column, row});
            grid.SetDot(
                dot,
                std::optional<DotState>(state(cells[CellIndex(column, row, size.width)])).value_or(grid.State(dot)));
        }
    }
}

} // namespace

CellGreys ResampleToCells(const GreyImage &image, Fit fit, PictureSize size)
{
    CellGreys greys(size, kWhite);
    if (image.width <= 0 || image.height <= 0)
        return greys;
    double scaleX = static_cast<double>(size.width) / image.width;
    double scaleY = static_cast<double>(size.height) / image.height;
    if (fit == Fit::Contain)
        scaleX = scaleY = std::min(scaleX, scaleY);
    else if (fit == Fit::Cover)
        scaleX = scaleY = std::max(scaleX, scaleY);
    const AxisWeights columns = WeightsOfAxis(image.width, size.width, scaleX, (size.width - image.width * scaleX) / 2);
    const AxisWeights rows =
        WeightsOfAxis(image.height, size.height, scaleY, (size.height - image.height * scaleY) / 2);
    const AxisWeights rowsOfLines = CellsOfPixels(rows, image.height);

    // Separable, in one pass down the image: each source row into the
    // columns, then that row's share into each cell row it feeds, in the
    // order of the source rows, so every sum adds its terms as a cell's own
    // loop over its pixels would.
    std::vector<double> sums(greys.size(), 0.0);
    std::vector<double> line(static_cast<std::size_t>(size.width));
    for (int y = 0; y < image.height; ++y) {
        const std::span<const Weight> fed = rowsOfLines.Of(y);
        if (fed.empty())
            continue;
        const std::uint8_t *pixels = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        for (int column = 0; column < size.width; ++column) {
            double sum = 0;
            for (const Weight &w : columns.Of(column))
                sum += w.weight * pixels[w.pixel];
            line[static_cast<std::size_t>(column)] = sum;
        }
        for (const Weight &row : fed) {
            double *cells = sums.data() + CellIndex(0, row.pixel, size.width);
            for (std::size_t column = 0; column < line.size(); ++column)
                cells[column] += row.weight * line[column];
        }
    }
    std::vector<double> columnCover(static_cast<std::size_t>(size.width));
    for (int column = 0; column < size.width; ++column)
        columnCover[static_cast<std::size_t>(column)] = Sum(columns.Of(column));
    for (int row = 0; row < size.height; ++row) {
        const double rowCover = Sum(rows.Of(row));
        for (int column = 0; column < size.width; ++column) {
            const std::size_t cell = CellIndex(column, row, size.width);
            const double covered = rowCover * columnCover[static_cast<std::size_t>(column)];
            // Rounded off, so that weights that add up to 0.9999999 leave an even grey as it was.
            greys[cell] = std::round((sums[cell] + (1 - covered) * kWhite) * 1e6) / 1e6;
        }
    }
    return greys;
}

ScreenCells Halftone(const CellGreys &greys, int threshold, Dither dither, bool invert)
{
    ScreenCells cells(greys.Size());
    // Nothing is darker than black, and a dither must not make it seem so.
    if (threshold <= 0)
        dither = Dither::None;
    switch (dither) {
    case Dither::None:
        for (std::size_t i = 0; i < cells.size(); ++i)
            cells[i] = greys[i] < threshold;
        break;
    case Dither::FloydSteinberg:
        cells = Diffuse(greys, threshold, kFloydSteinberg);
        break;
    case Dither::Atkinson:
        cells = Diffuse(greys, threshold, kAtkinson);
        break;
    case Dither::Bayer:
        cells = Ordered(greys, threshold);
        break;
    }
    if (invert) {
        for (auto &&cell : cells)
            cell = !cell;
    }
    return cells;
}

ScreenCells CellsFromPixels(const GreyImage &image, const DotOptions &options, PictureSize size)
{
    return Halftone(ResampleToCells(image, options.fit, size), options.threshold, options.dither, options.invert);
}

ScreenCells ImportedCells(const CellGreys &greys, const DotOptions &options,
                          const std::optional<ScreenCells> &dotForDot)
{
    return dotForDot ? *dotForDot : Halftone(greys, options.threshold, options.dither, options.invert);
}

void PutCells(DotGrid &grid, const ScreenCells &cells)
{
    ForEachCell(grid, cells, [](bool set) { return set ? DotState::Set : DotState::Clear; });
}

void AddCells(DotGrid &grid, const ScreenCells &cells)
{
    ForEachCell(grid, cells, [](bool set) { return set ? std::optional(DotState::Set) : std::nullopt; });
}

namespace {

// Each choice with the name the command line and the page call it by.
template <typename Choice> struct NamedChoice {
    Choice choice;
    std::string_view name;
};

constexpr std::array<NamedChoice<Fit>, 3> kFitNames{{
    {Fit::Contain, "contain"},
    {Fit::Cover, "cover"},
    {Fit::Stretch, "stretch"},
}};
constexpr std::array<NamedChoice<Dither>, 4> kDitherNames{{
    {Dither::None, "none"},
    {Dither::FloydSteinberg, "floyd-steinberg"},
    {Dither::Atkinson, "atkinson"},
    {Dither::Bayer, "bayer"},
}};

template <typename Choice, std::size_t N>
std::optional<Choice> ChoiceNamed(const std::array<NamedChoice<Choice>, N> &names, std::string_view name)
{
    for (const NamedChoice<Choice> &entry : names)
        if (entry.name == name)
            return entry.choice;
    return std::nullopt;
}

template <typename Choice, std::size_t N>
std::string_view NameOfChoice(const std::array<NamedChoice<Choice>, N> &names, Choice choice)
{
    for (const NamedChoice<Choice> &entry : names)
        if (entry.choice == choice)
            return entry.name;
    return {};
}

} // namespace

std::optional<Fit> FitFromName(std::string_view name)
{
    return ChoiceNamed(kFitNames, name);
}

std::optional<Dither> DitherFromName(std::string_view name)
{
    return ChoiceNamed(kDitherNames, name);
}

std::string_view FitName(Fit fit)
{
    return NameOfChoice(kFitNames, fit);
}

std::string_view DitherName(Dither dither)
{
    return NameOfChoice(kDitherNames, dither);
}

} // namespace tessaldo
