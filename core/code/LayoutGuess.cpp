#include "core/code/LayoutGuess.h"

#include "core/code/CodeFormats.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tessaldo {

namespace {

bool IsSetAt(const DotGrid::Dots &dots, LcdType type, Cell cell)
{
    return dots.at(static_cast<std::size_t>(DotAtCell(type, cell, dots.Size()))) == DotState::Set;
}

bool MostlySet(const DotGrid::Dots &dots)
{
    return std::count(dots.begin(), dots.end(), DotState::Set) * 2 > static_cast<std::ptrdiff_t>(dots.size());
}

// The order on a tie. The module's first: values read without a layout are
// read as its, and firmware that sends 0xA4 by itself keeps 32 bytes (in the
// column type it reads XBM's bytes as their transpose, and ties). Then rows,
// which most LCD and e-paper libraries take, before XBM's reading of them,
// which mirrors each byte and so ties with it for a glyph in one half.
constexpr std::array kGuessOrder{BitLayout::Module, BitLayout::Rows, BitLayout::Xbm, BitLayout::Pages};

// A reading of a set is scored by how many times rougher it draws each
// picture than that picture's smoothest reading, in thousandths, so that
// every picture weighs alike: a frame that touches every edge, rough in any
// layout, cannot outvote the icons beside it.
constexpr long long kPerSmoothest = 1000;

// What a separate piece of the drawing costs: as much border as two lone dots have.
constexpr int kPieceCost = 8;

// Pieces of dots of the drawing's colour (not `background`) that touch, diagonally too.
int Pieces(const DotGrid::Dots &dots, LcdType type, bool background)
{
    const PictureSize size = dots.Size();
    std::vector<bool> seen(dots.size());
    int pieces = 0;
    for (std::size_t start = 0; start < dots.size(); ++start) {
        if (seen[start] || (dots[start] == DotState::Set) == background)
            continue;
        ++pieces;
        std::vector<int> reached{static_cast<int>(start)};
        seen[start] = true;
        while (!reached.empty()) {
            const Cell cell = CellOfDot(type, reached.back(), size);
            reached.pop_back();
            for (int row = cell.row - 1; row <= cell.row + 1; ++row) {
                for (int column = cell.column - 1; column <= cell.column + 1; ++column) {
                    if (!IsInside({column, row}, size))
                        continue;
                    const auto dot = static_cast<std::size_t>(DotAtCell(type, {column, row}, size));
                    if (!seen[dot] && (dots[dot] == DotState::Set) != background) {
                        seen[dot] = true;
                        reached.push_back(static_cast<int>(dot));
                    }
                }
            }
        }
    }
    return pieces;
}

// Whether `layout` reads every picture as `earlier` does.
bool ReadsAlike(std::span<const PictureBytes> pictures, LcdType type, BitLayout layout, BitLayout earlier)
{
    return std::all_of(pictures.begin(), pictures.end(), [&](const PictureBytes &bytes) {
        return DotsFromLayoutBytes(bytes, layout, type) == DotsFromLayoutBytes(bytes, earlier, type);
    });
}

} // namespace

int Roughness(const DotGrid::Dots &dots, LcdType type)
{
    const PictureSize size = dots.Size();
    const bool background = MostlySet(dots);
    const auto outside = [size](int column, int row) { return !IsInside({column, row}, size); };
    // The colour at a cell, the background outside the picture.
    const auto at = [&](int column, int row) {
        return outside(column, row) ? background : IsSetAt(dots, type, {column, row});
    };
    // What two neighbours that differ cost: twice as much on the frame, where icons keep a margin.
    const auto cost = [&](int column, int row, int nextColumn, int nextRow) {
        if (at(column, row) == at(nextColumn, nextRow))
            return 0;
        return outside(column, row) || outside(nextColumn, nextRow) ? 2 : 1;
    };
    int border = 0;
    // From the row and column before the picture to its last: each cell with the one right of it and below it.
    for (int row = -1; row < size.height; ++row) {
        for (int column = -1; column < size.width; ++column)
            border += cost(column, row, column + 1, row) + cost(column, row, column, row + 1);
    }
    return border + kPieceCost * Pieces(dots, type, background);
}

std::vector<LayoutCandidate> RankLayouts(const PictureBytes &bytes, LcdType type)
{
    std::vector<LayoutCandidate> candidates;
    for (const BitLayout layout : kGuessOrder) {
        const DotGrid::Dots dots = DotsFromLayoutBytes(bytes, layout, type);
        const auto same = std::find_if(candidates.begin(), candidates.end(),
                                       [&dots](const LayoutCandidate &candidate) { return candidate.dots == dots; });
        if (same != candidates.end())
            same->layouts.push_back(layout);
        else
            candidates.push_back({{layout}, dots, Roughness(dots, type)});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const LayoutCandidate &a, const LayoutCandidate &b) { return a.roughness < b.roughness; });
    return candidates;
}

std::vector<LayoutCandidate> RankSizedLayouts(std::span<const std::uint8_t> bytes, std::span<const PictureSize> sizes,
                                              LcdType type, std::optional<BitLayout> told)
{
    std::vector<LayoutCandidate> candidates;
    for (const PictureSize size : sizes) {
        const std::size_t first = candidates.size(); // a picture of another size is another picture
        for (const BitLayout layout : kSizedGuessOrder) {
            if (LayoutByteCount(layout, size) != bytes.size())
                continue;
            Dots dots = DotsFromSizedLayoutBytes(bytes, layout, type, size);
            const auto same =
                std::find_if(candidates.begin() + static_cast<std::ptrdiff_t>(first), candidates.end(),
                             [&dots](const LayoutCandidate &candidate) { return candidate.dots == dots; });
            if (same != candidates.end()) {
                same->layouts.push_back(layout);
                continue;
            }
            const int roughness = Roughness(dots, type);
            candidates.push_back({{layout}, std::move(dots), roughness});
        }
    }
    if (told)
        std::erase_if(candidates, [&told](const LayoutCandidate &candidate) {
            return std::find(candidate.layouts.begin(), candidate.layouts.end(), *told) == candidate.layouts.end();
        });
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const LayoutCandidate &a, const LayoutCandidate &b) { return a.roughness < b.roughness; });
    return candidates;
}

std::vector<PictureSize> SizesTaking(std::size_t count, bool all)
{
    std::vector<PictureSize> sizes;
    const auto add = [&](PictureSize size) {
        const bool fits = std::any_of(kSizedGuessOrder.begin(), kSizedGuessOrder.end(),
                                      [&](BitLayout layout) { return LayoutByteCount(layout, size) == count; });
        if (fits && IsPictureSize(size) && std::find(sizes.begin(), sizes.end(), size) == sizes.end())
            sizes.push_back(size);
    };
    std::for_each(kDisplaySizes.begin(), kDisplaySizes.end(), add);
    for (std::size_t side = 8; all && side <= static_cast<std::size_t>(kLargestSide); side += 8) {
        const std::size_t across = count / (side / 8); // the other side, where the bytes are whole rows or pages
        if (across > 0 && across <= static_cast<std::size_t>(kLargestSide) && count % (side / 8) == 0) {
            add({static_cast<int>(side), static_cast<int>(across)});
            add({static_cast<int>(across), static_cast<int>(side)});
        }
    }
    return sizes;
}

std::string CandidateName(const LayoutCandidate &candidate)
{
    std::string name;
    for (const BitLayout layout : candidate.layouts)
        name += (name.empty() ? "" : "/") + std::string(BitLayoutName(layout));
    return name;
}

std::vector<LayoutChoice> RankSetLayouts(std::span<const PictureBytes> pictures, LcdType type)
{
    // Each picture's roughness in every layout, and in its smoothest one.
    std::vector<std::array<long long, kGuessOrder.size()>> rough(pictures.size());
    std::vector<long long> smoothest(pictures.size());
    for (std::size_t picture = 0; picture < pictures.size(); ++picture) {
        for (std::size_t at = 0; at < kGuessOrder.size(); ++at)
            rough[picture][at] = Roughness(DotsFromLayoutBytes(pictures[picture], kGuessOrder[at], type), type);
        smoothest[picture] = std::max(1LL, *std::min_element(rough[picture].begin(), rough[picture].end()));
    }
    std::vector<LayoutChoice> choices;
    for (std::size_t at = 0; at < kGuessOrder.size(); ++at) {
        const BitLayout layout = kGuessOrder[at];
        const auto same = std::find_if(choices.begin(), choices.end(), [&](const LayoutChoice &choice) {
            return ReadsAlike(pictures, type, layout, choice.layouts.front());
        });
        if (same != choices.end()) {
            same->layouts.push_back(layout);
            continue;
        }
        LayoutChoice choice{{layout}, {}, 0, kModuleSize};
        for (std::size_t picture = 0; picture < pictures.size(); ++picture) {
            choice.roughness += rough[picture][at] * kPerSmoothest / smoothest[picture];
            if (choice.shown.size() < kChoiceShown)
                choice.shown.push_back(DotsFromLayoutBytes(pictures[picture], layout, type));
        }
        choices.push_back(std::move(choice));
    }
    std::stable_sort(choices.begin(), choices.end(),
                     [](const LayoutChoice &a, const LayoutChoice &b) { return a.roughness < b.roughness; });
    return choices;
}

std::string LayoutChoiceName(const LayoutChoice &choice)
{
    std::string name;
    for (const BitLayout layout : choice.layouts)
        name += (name.empty() ? "" : " or ") + std::string(ArrayFormCaption(FormOfLayout(layout)));
    return name;
}

} // namespace tessaldo
