// Any bytes are read as the data of an image file, as a PNG's chunks and
// rows, as a one-bit bitmap and as a BDF font, and become an image of any
// shape and a set of options for turning pixels into dots. It must never crash
// or read out of bounds, every cell's grey must be a shade, and an all-black
// or all-white image that fills the cells must come out the same whatever the
// dither.
#include "PngChunks.h"
#include "core/convert/PixelsToDots.h"
#include "core/formats/BdfFont.h"
#include "core/formats/BitmapFiles.h"
#include "core/formats/ImageHeader.h"
#include "core/formats/PngPixels.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tessaldo;

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The same bytes after each signature whose format is walked: the walkers
    // that tell a cut-short or damaged file must stay inside whatever it holds.
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    for (const std::string_view signature : {std::string_view("GIF89a"), std::string_view("\xFF\xD8\xFF"),
                                             std::string_view("BM"), std::string_view("#define")}) {
        const std::string file = std::string(signature) + std::string(bytes);
        (void)CutShortImage(file);
        (void)DeclaredImageSize(file);
    }
    // The same bytes after the start of each one-bit format and of a font:
    // a bitmap read whole has a pixel for each place its sides give, and a
    // font's glyphs are all pictures.
    for (const std::string_view start : {std::string_view("P1\n"), std::string_view("P4\n"),
                                         std::string_view("#define b_width 16\n#define b_height ")}) {
        const BitmapRead read = ReadBitmapFile(std::string(start) + std::string(bytes));
        if (read.problem.empty())
            Require(read.bitmap.black.size()
                    == static_cast<std::size_t>(read.bitmap.width) * static_cast<std::size_t>(read.bitmap.height));
    }
    (void)ReadBdfFont("STARTFONT 2.1\n" + std::string(bytes), LcdType::Row);
    if (size < 6)
        return 0;
    // A PNG of a kind and size the bytes choose, then the same bytes as its
    // chunks and as its inflated rows: decoded whole, every pixel has a grey.
    const int depths[] = {1, 2, 4, 8, 16};
    const int colours[] = {0, 2, 3, 4, 6};
    const std::uint32_t side[] = {1u + data[0] % 40, 1u + data[1] % 40};
    PngPixels png(PngStart(side[0], side[1], depths[data[2] % 5], colours[data[3] % 5], (data[4] & 1) != 0)
                  + PngChunk("PLTE", std::string(bytes.substr(0, 3u * (1u + data[5] % 256))))
                  + std::string(bytes.substr(6)) + PngChunk("IDAT", "x"));
    png.Add(bytes);
    if (png.Complete())
        Require(png.TakeGreys().pixels.size() == static_cast<std::size_t>(side[0] * side[1]));

    const int width = 1 + data[0] % 64;
    const int height = 1 + data[1] % 64;
    const DotOptions options{static_cast<Fit>(data[2] % 3), data[3], static_cast<Dither>((data[2] / 3) % 4),
                             (data[2] & 0x80) != 0};
    GreyImage image{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width * height))};
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = 4 + i < size ? data[4 + i] : 255;
    const CellGreys greys = ResampleToCells(image, options.fit);
    for (const double grey : greys)
        Require(grey >= 0 && grey <= 255);
    DotGrid grid;
    PutCells(grid, CellsFromPixels(image, options));

    // Contain may leave margins, whose edges are grey; the other fits cover every cell.
    if (options.fit == Fit::Contain)
        return 0;
    for (const std::uint8_t shade : {std::uint8_t{0}, std::uint8_t{255}}) {
        const GreyImage even{width, height, std::vector<std::uint8_t>(image.pixels.size(), shade)};
        const ScreenCells plain = Halftone(ResampleToCells(even, options.fit), options.threshold, Dither::None, false);
        const ScreenCells dithered = CellsFromPixels(even, {options.fit, options.threshold, options.dither});
        Require(plain == dithered);
    }
    return 0;
}
