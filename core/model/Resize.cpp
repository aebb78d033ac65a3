#include "core/model/Resize.h"

#include "core/model/Layout.h"

#include <array>

namespace tessaldo {

namespace {

struct NamedAnchor {
    Anchor anchor;
    std::string_view name;
};

constexpr std::array kAnchorNames{
    NamedAnchor{Anchor::TopLeft, "top-left"},
    NamedAnchor{Anchor::Top, "top"},
    NamedAnchor{Anchor::TopRight, "top-right"},
    NamedAnchor{Anchor::Left, "left"},
    NamedAnchor{Anchor::Centre, "centre"},
    NamedAnchor{Anchor::Right, "right"},
    NamedAnchor{Anchor::BottomLeft, "bottom-left"},
    NamedAnchor{Anchor::Bottom, "bottom"},
    NamedAnchor{Anchor::BottomRight, "bottom-right"},
};

// How far the old picture's left (or top) edge moves along one side: 0 at the
// start, the whole difference at the end, half of it (rounded down) in the middle.
int Offset(int from, int to, int where)
{
    const int difference = to - from;
    return where == 0 ? 0 : where == 2 ? difference : difference / 2;
}

DotState StateAt(const Dots &dots, LcdType type, Cell cell)
{
    return dots[static_cast<std::size_t>(DotAtCell(type, cell, dots.Size()))];
}

void SetAt(Dots &dots, LcdType type, Cell cell, DotState state)
{
    dots[static_cast<std::size_t>(DotAtCell(type, cell, dots.Size()))] = state;
}

} // namespace

std::optional<Anchor> AnchorFromName(std::string_view name)
{
    if (name == "center")
        return Anchor::Centre;
    for (const NamedAnchor &named : kAnchorNames)
        if (named.name == name)
            return named.anchor;
    return std::nullopt;
}

std::string_view AnchorName(Anchor anchor)
{
    return kAnchorNames.at(static_cast<std::size_t>(anchor)).name;
}

Dots ResizedDots(const Dots &dots, LcdType type, PictureSize to, Anchor anchor)
{
    const PictureSize from = dots.Size();
    const int place = static_cast<int>(anchor);
    const int left = Offset(from.width, to.width, place % 3);
    const int top = Offset(from.height, to.height, place / 3);
    Dots resized(to);
    for (int row = 0; row < to.height; ++row)
        for (int column = 0; column < to.width; ++column) {
            const Cell source{column - left, row - top};
            if (IsInside(source, from))
                SetAt(resized, type, {column, row}, StateAt(dots, type, source));
        }
    return resized;
}

std::optional<Dots> EnlargedDots(const Dots &dots, LcdType type, int factor)
{
    const PictureSize from = dots.Size();
    if (factor < 1 || from.width > kLargestSide / factor || from.height > kLargestSide / factor)
        return std::nullopt;
    Dots enlarged({from.width * factor, from.height * factor});
    for (int row = 0; row < enlarged.Size().height; ++row)
        for (int column = 0; column < enlarged.Size().width; ++column)
            SetAt(enlarged, type, {column, row}, StateAt(dots, type, {column / factor, row / factor}));
    return enlarged;
}

std::optional<Dots> ReducedDots(const Dots &dots, LcdType type, int factor)
{
    if (factor < 1)
        return std::nullopt;
    const PictureSize from = dots.Size();
    const PictureSize to{(from.width + factor - 1) / factor, (from.height + factor - 1) / factor};
    Dots reduced(to);
    for (int row = 0; row < to.height; ++row)
        for (int column = 0; column < to.width; ++column) {
            int set = 0;
            int counted = 0;
            for (int y = row * factor; y < (row + 1) * factor && y < from.height; ++y)
                for (int x = column * factor; x < (column + 1) * factor && x < from.width; ++x, ++counted)
                    set += StateAt(dots, type, {x, y}) == DotState::Set ? 1 : 0;
            if (2 * set >= counted)
                SetAt(reduced, type, {column, row}, DotState::Set);
        }
    return reduced;
}

} // namespace tessaldo
