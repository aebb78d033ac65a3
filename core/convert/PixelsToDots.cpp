#include "core/convert/PixelsToDots.h"

#include <algorithm>
#include <cmath>

namespace tessaldo {
namespace {

constexpr double kWhite = 255;

// What one source pixel gives one cell along one axis.
struct Weight {
    int pixel = 0;
    double weight = 0;
};

// How the cells of one axis take from `length` source pixels when the image
// is drawn `scale` cells per pixel, starting `offset` cells from the edge.
// Weights left out of a cell's sum (it lies partly or wholly off the image)
// are white.
std::array<std::vector<Weight>, kGridSide> AxisWeights(int length, double scale, double offset)
{
    std::array<std::vector<Weight>, kGridSide> weights;
    for (int cell = 0; cell < kGridSide; ++cell) {
        if (scale > 1) {
            const int pixel = static_cast<int>(std::floor((cell + 0.5 - offset) / scale));
            if (pixel >= 0 && pixel < length)
                weights[static_cast<std::size_t>(cell)].push_back({pixel, 1.0});
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
                weights[static_cast<std::size_t>(cell)].push_back({pixel, overlap / span});
        }
    }
    return weights;
}

double Sum(const std::vector<Weight> &weights)
{
    double total = 0;
    for (const Weight &w : weights)
        total += w.weight;
    return total;
}

std::size_t CellIndex(int column, int row)
{
    return static_cast<std::size_t>(row) * kGridSide + static_cast<std::size_t>(column);
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
    ScreenCells cells{};
    for (int row = 0; row < kGridSide; ++row) {
        for (int column = 0; column < kGridSide; ++column) {
            const double value = greys[CellIndex(column, row)];
            const bool set = value < threshold;
            cells[CellIndex(column, row)] = set;
            const double error = value - (set ? 0 : kWhite);
            for (const Spread &spread : spreads) {
                const int c = column + spread.dx;
                const int r = row + spread.dy;
                if (c >= 0 && c < kGridSide && r < kGridSide)
                    greys[CellIndex(c, r)] += error * spread.share;
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
    ScreenCells cells{};
    for (int row = 0; row < kGridSide; ++row) {
        for (int column = 0; column < kGridSide; ++column) {
            const double value = greys[CellIndex(column, row)];
            // 0 for black, 0.5 at the threshold, 1 for white.
            const double level = value < threshold     ? 0.5 * value / threshold
                                 : threshold >= kWhite ? 1.0
                                                       : 0.5 + 0.5 * (value - threshold) / (kWhite - threshold);
            const double step = (kBayer[row % 4][column % 4] + 0.5) / 16;
            cells[CellIndex(column, row)] = level < step;
        }
    }
    return cells;
}

// Each dot takes what `state` makes of the cell the grid's layout shows it in, or keeps its own.
template <typename State> void ForEachCell(DotGrid &grid, const ScreenCells &cells, State state)
{
    for (int row = 0; row < kGridSide; ++row) {
        for (int column = 0; column < kGridSide; ++column) {
            const int dot = DotAtCell(grid.nLCDType(), {column, row});
            grid.SetDot(dot, std::optional<DotState>(state(cells[CellIndex(column, row)])).value_or(grid.State(dot)));
        }
    }
}

} // namespace

CellGreys ResampleToCells(const GreyImage &image, Fit fit)
{
    CellGreys greys;
    greys.fill(kWhite);
    if (image.width <= 0 || image.height <= 0)
        return greys;
    double scaleX = static_cast<double>(kGridSide) / image.width;
    double scaleY = static_cast<double>(kGridSide) / image.height;
    if (fit == Fit::Contain)
        scaleX = scaleY = std::min(scaleX, scaleY);
    else if (fit == Fit::Cover)
        scaleX = scaleY = std::max(scaleX, scaleY);
    const auto columns = AxisWeights(image.width, scaleX, (kGridSide - image.width * scaleX) / 2);
    const auto rows = AxisWeights(image.height, scaleY, (kGridSide - image.height * scaleY) / 2);

    // Separable: first each source row into the 16 columns, then the rows into cells.
    std::vector<std::array<double, kGridSide>> rowSums(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t *line = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        for (int column = 0; column < kGridSide; ++column) {
            double sum = 0;
            for (const Weight &w : columns[static_cast<std::size_t>(column)])
                sum += w.weight * line[w.pixel];
            rowSums[static_cast<std::size_t>(y)][static_cast<std::size_t>(column)] = sum;
        }
    }
    for (int row = 0; row < kGridSide; ++row) {
        const auto &rowWeights = rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < kGridSide; ++column) {
            double sum = 0;
            for (const Weight &w : rowWeights)
                sum += w.weight * rowSums[static_cast<std::size_t>(w.pixel)][static_cast<std::size_t>(column)];
            const double covered = Sum(rowWeights) * Sum(columns[static_cast<std::size_t>(column)]);
            // Rounded off, so that weights that add up to 0.9999999 leave an even grey as it was.
            greys[CellIndex(column, row)] = std::round((sum + (1 - covered) * kWhite) * 1e6) / 1e6;
        }
    }
    return greys;
}

ScreenCells Halftone(const CellGreys &greys, int threshold, Dither dither, bool invert)
{
    ScreenCells cells{};
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
        for (bool &cell : cells)
            cell = !cell;
    }
    return cells;
}

ScreenCells CellsFromPixels(const GreyImage &image, const DotOptions &options)
{
    return Halftone(ResampleToCells(image, options.fit), options.threshold, options.dither, options.invert);
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
