#pragma once

#include "core/convert/ImageSize.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessaldo {

// The size a PNG, GIF, BMP, JPEG or WebP file declares in its first bytes;
// nothing for other formats or a header cut short.
std::optional<ImageSize> DeclaredImageSize(std::string_view start);

// Why an image file stops before its format's end or cannot be decoded: a GIF
// that ends inside a block or whose frame's code stream is damaged, a JPEG
// whose data does not reach its end-of-image marker, a BMP shorter than its
// headers and pixels need, an XBM or PBM that the core's reader refuses. Empty when it is whole, and for other
// formats.
// Decoders take such a file without complaint, with the frames or rows that
// are missing left blank.
struct ImageDataCheck {
    std::string problem;
    std::size_t gifFrames = 0; // the frames a GIF's walk met, which a decoder must yield too
};
ImageDataCheck CheckImageData(std::string_view whole);
std::string CutShortImage(std::string_view whole);
// "frame 2 of the GIF cannot be decoded", counting from 1
std::string GifFrameUndecodable(std::size_t frame);

// A GIF whose logical screen has too many pixels to import but whose frames
// cover few enough (65535 x 65535 around a 16 x 16 frame, as some encoders
// write it), with its screen made the size the frames cover from its top left
// corner, as ImageMagick reads it; nothing for any other file. A decoder
// would make room for the whole screen.
std::optional<std::string> GifOnItsFramesScreen(std::string_view whole);

// A pixel's luminance as seen on a white background, as the desktop's
// images give it: the weighted grey of red, green and blue, blended over
// white by its alpha.
constexpr std::uint8_t GreyOverWhite(int red, int green, int blue, int alpha)
{
    const int grey = (red * 11 + green * 16 + blue * 5) / 32;
    return static_cast<std::uint8_t>((grey * alpha + 255 * (255 - alpha)) / 255);
}

} // namespace tessaldo
