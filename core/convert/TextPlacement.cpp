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

int CentredStart(int side, int length)
{
    return (side - length) / 2;
}

bool GlyphFaded(double ink, int setDots)
{
    return ink >= 1.0 && setDots < ink / 2;
}

std::string FadedNote(const std::vector<std::string> &characters, int pixelSize)
{
    std::string named;
    for (std::size_t i = 0; i < characters.size(); ++i)
        named += (i == 0 ? "" : i + 1 == characters.size() ? " and " : ", ") + ("\"" + characters[i] + "\"");
    return "At " + std::to_string(pixelSize) + " px " + named + (characters.size() == 1 ? " loses" : " lose")
           + " all or most of " + (characters.size() == 1 ? "its" : "their") + " dots; a larger font size keeps them.";
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
