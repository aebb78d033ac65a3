#include "core/convert/TextPlacement.h"

namespace tessaldo {

void PlaceText(DotGrid &picture, ScreenCells cells, TextPlacement placement)
{
    if (placement.invert) {
        for (auto &&cell : cells)
            cell = !cell;
    }
    if (placement.onto)
        AddCells(picture, cells);
    else
        PutCells(picture, cells);
}

std::string CutNote(int width, PictureSize size)
{
    return "is " + std::to_string(width) + " dots wide and does not fit the " + PictureSizeText(size)
           + " picture, so it is cut";
}

std::string TextWidthNote(int width, bool cut)
{
    return "The text " + (cut ? CutNote(width) : "is " + std::to_string(width) + " dots wide") + ".";
}

} // namespace tessaldo
