#pragma once

#include "core/convert/PixelsToDots.h"
#include "core/model/DotGrid.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// X BitMaps and portable bitmaps, the one-bit files other display tools
// read and write. The window, the page and the command line all read them
// here rather than through their toolkits' readers, so that a file gives the
// same dots everywhere.
namespace tessaldo {

// A one-bit image of any size: true is a black pixel, row by row from the top left.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<DotState> black; // Set for a black pixel: the very store of a picture's dots, which takes it whole
};

// The bitmap, or why the file cannot be read ("the PBM data ends early").
struct BitmapRead {
    Bitmap bitmap;
    std::string problem;
};

// Whether the file starts as an XBM ("#define", after any comments) or a PBM ("P1" or "P4").
bool IsBitmapFile(std::string_view start);
// Whether it starts as a PBM alone: an XBM is C source too.
bool IsPbmFile(std::string_view start);
BitmapRead ReadBitmapFile(std::string_view whole);

enum class BitmapKind { Pbm, Xbm };
// What a picture file named with `extension` (".pbm", ".XBM", ...) is read
// as: the bitmap its name says, whatever it holds, so that a damaged one is
// refused in its own format's words; else the one its first bytes say;
// nothing for a file that is neither.
std::optional<BitmapKind> PictureBitmapKind(std::string_view start, std::string_view extension);
// A file opened as a picture, dot for dot: sides past kLargestSide are
// refused before any pixel is read.
BitmapRead ReadPictureBitmap(std::string_view whole, BitmapKind kind);
// The bitmap's pixels as the dots shown at the same places, in `type` at 16 x 16.
Dots DotsOfBitmap(Bitmap bitmap, LcdType type);

// Black 0 and white 255, for a bitmap that is not the picture's size and goes through the usual import.
GreyImage GreysOfBitmap(const Bitmap &bitmap);
// The bitmap's own pixels as the cells when it is the picture's size: such a
// file is already a picture, so no fit, threshold, dithering or invert may
// change a dot of it. Nothing for other sizes.
std::optional<ScreenCells> DotForDot(const Bitmap &bitmap, PictureSize size = kModuleSize);

// The picture as the window shows it, as a raw portable bitmap (P4), black the set dots.
std::string PbmBytes(const DotGrid &grid);
// The same as a plain PBM (P1), as netpbm writes one: a row of digits a
// row of the picture, broken after every 70 digits, so that a diff shows it.
std::string PlainPbmText(const DotGrid &grid);

} // namespace tessaldo
