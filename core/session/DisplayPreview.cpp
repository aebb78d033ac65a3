#include "core/session/DisplayPreview.h"

#include "core/session/Texts.h"

#include <algorithm>

namespace tessaldo {

namespace {

bool IsDrawnByLibrary(CodeFormat form)
{
    return form == CodeFormat::Xbm || form == CodeFormat::Gfx;
}

} // namespace

DisplayPreview PreviewOnDisplay(const DotGrid &grid, CodeFormat form, const Display &display)
{
    const PictureSize size = grid.Size();
    const BitLayout written = LayoutOfForm(form);
    // The module's forms take 16 x 16 pictures only; their bytes would be no one's.
    if (written == BitLayout::Module && !IsModuleSize(size))
        return {Dots(display.size),
                FilledText(TextId::PreviewNotForModule, {PictureSizeText(kModuleSize), PictureSizeText(size)})};
    const BitLayout read = IsDrawnByLibrary(form) ? written : display.buffer;
    std::vector<std::uint8_t> bytes = SizedLayoutBytes(grid, written);
    // A buffer of another length is read as far as it goes, as a controller would.
    bytes.resize(LayoutByteCount(read, size), 0);
    const Dots shown = DotsFromSizedLayoutBytes(bytes, read, grid.nLCDType(), size);

    Dots panel(display.size);
    const int width = std::min(size.width, display.size.width);
    const int height = std::min(size.height, display.size.height);
    const auto at = [](int row, int width) { return static_cast<std::size_t>(row) * static_cast<std::size_t>(width); };
    if (!IsModuleSize(size))
        for (int row = 0; row < height; ++row)
            std::copy_n(shown.data() + at(row, size.width), width, panel.data() + at(row, display.size.width));
    else
        for (int row = 0; row < height; ++row)
            for (int column = 0; column < width; ++column)
                panel[at(row, display.size.width) + static_cast<std::size_t>(column)] =
                    shown[static_cast<std::size_t>(DotAtCell(grid.nLCDType(), {column, row}, size))];

    std::string note;
    if (read != written)
        note = FilledText(TextId::PreviewReadAs, {std::string(display.name), std::string(BitLayoutName(read)),
                                                  std::string(CodeFormatName(form))});
    else if (size != display.size)
        note = FilledText(TextId::PreviewPlaced, {PictureSizeText(size), PictureSizeText(display.size)});
    return {std::move(panel), std::move(note)};
}

} // namespace tessaldo
