#include "core/convert/TextPlacement.h"

namespace tessaldo {

bool PlaceText(DotGrid &picture, ScreenCells cells, TextPlacement placement)
{
    bool cut = false;
    if (placement.origin != Cell{}) {
        const PictureSize size = cells.Size();
        ScreenCells moved(size);
        for (int row = 0; row < size.height; ++row)
            for (int column = 0; column < size.width; ++column) {
                if (!cells.At({column, row}))
                    continue;
                const Cell to{column + placement.origin.column, row + placement.origin.row};
                if (IsInside(to, size))
                    moved.At(to) = true;
                else
                    cut = true;
            }
        cells = std::move(moved);
    }
    if (placement.invert) {
        for (auto &&cell : cells)
            cell = !cell;
    }
    if (placement.onto)
        AddCells(picture, cells);
    else
        PutCells(picture, cells);
    return cut;
}

std::string CutNote(int width, PictureSize size)
{
    return "is " + std::to_string(width) + " dots wide and does not fit the " + PictureSizeText(size)
           + " picture, so it is cut";
}

std::string TextWidthNote(int width, bool cut, PictureSize size)
{
    return "The text " + (cut ? CutNote(width, size) : "is " + std::to_string(width) + " dots wide") + ".";
}

} // namespace tessaldo
