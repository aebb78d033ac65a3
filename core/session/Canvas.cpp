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

} // namespace tessaldo
