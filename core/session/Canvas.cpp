#include "core/session/Canvas.h"

#include <algorithm>

namespace tessaldo {

int FitCellPixels(PictureSize size, int width, int height)
{
    int fit = 1;
    for (int cell = 1; cell <= kZoomSteps.back(); ++cell)
        if (CanvasPixels(size.width, cell) <= width && CanvasPixels(size.height, cell) <= height)
            fit = cell;
    return fit;
}

int ZoomedIn(int cellPixels)
{
    const auto *next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), cellPixels);
    return next == kZoomSteps.end() ? kZoomSteps.back() : *next;
}

int ZoomedOut(int cellPixels)
{
    const auto *next = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), cellPixels);
    return next == kZoomSteps.begin() ? kZoomSteps.front() : *(next - 1);
}

namespace {

// Zoom as pixels over dots, to compare two steps.
bool Below(Zoom a, Zoom b)
{
    return a.cellPixels * b.dotsPerPixel < b.cellPixels * a.dotsPerPixel;
}

// Every step, the smallest zoom first.
constexpr std::array<Zoom, kShrinkSteps.size() + kZoomSteps.size()> kEveryZoom = [] {
    std::array<Zoom, kShrinkSteps.size() + kZoomSteps.size()> steps{};
    std::size_t at = 0;
    for (auto shrink = kShrinkSteps.rbegin(); shrink != kShrinkSteps.rend(); ++shrink)
        steps.at(at++) = Zoom{1, *shrink};
    for (const int cell : kZoomSteps)
        steps.at(at++) = Zoom{cell, 1};
    return steps;
}();

} // namespace

int ZoomedPixels(int dots, Zoom zoom)
{
    if (zoom.dotsPerPixel > 1)
        return (dots + zoom.dotsPerPixel - 1) / zoom.dotsPerPixel;
    return CanvasPixels(dots, zoom.cellPixels);
}

Zoom FitZoom(PictureSize size, int width, int height)
{
    const auto fits = [&](Zoom zoom) {
        return ZoomedPixels(size.width, zoom) <= width && ZoomedPixels(size.height, zoom) <= height;
    };
    if (fits(Zoom{}))
        return Zoom{FitCellPixels(size, width, height), 1};
    for (const int shrink : kShrinkSteps)
        if (fits(Zoom{1, shrink}))
            return Zoom{1, shrink};
    return kEveryZoom.front();
}

Zoom ZoomedIn(Zoom zoom)
{
    const auto *next = std::upper_bound(kEveryZoom.begin(), kEveryZoom.end(), zoom, Below);
    return next == kEveryZoom.end() ? kEveryZoom.back() : *next;
}

Zoom ZoomedOut(Zoom zoom)
{
    const auto *next = std::lower_bound(kEveryZoom.begin(), kEveryZoom.end(), zoom, Below);
    return next == kEveryZoom.begin() ? kEveryZoom.front() : *(next - 1);
}

std::uint8_t BlockInk(const Dots &dots, int left, int top, int side)
{
    const PictureSize size = dots.Size();
    int set = 0;
    int counted = 0;
    for (int y = top; y < std::min(top + side, size.height); ++y)
        for (int x = left; x < std::min(left + side, size.width); ++x) {
            ++counted;
            const std::size_t dot =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) + static_cast<std::size_t>(x);
            set += dots[dot] == DotState::Set ? 1 : 0;
        }
    if (set == 0)
        return 0;
    constexpr int kFullInk = 255;
    const int ink = (set * kFullInk + counted / 2) / counted;
    return static_cast<std::uint8_t>(std::max<int>(ink, kLeastInk));
}

} // namespace tessaldo
