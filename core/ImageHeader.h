#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessaldo {

// The largest image that is imported; larger ones are refused before they
// are decoded, by the size their header declares.
inline constexpr std::int64_t kMaxImportPixels = 64'000'000;

struct ImageSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// The size a PNG, GIF, BMP, JPEG or WebP file declares in its first bytes;
// nothing for other formats or a header cut short.
std::optional<ImageSize> DeclaredImageSize(std::string_view start);

// Why a GIF or JPEG file stops before its format's end: a GIF that ends inside
// a block, a JPEG whose data does not reach its end-of-image marker. Empty when it is whole, and for other formats.
// Decoders take such a file without complaint, with the frames or rows that are missing left blank.
std::string CutShortImage(std::string_view whole);

bool HasTooManyPixels(ImageSize size);
// "it is 100000 x 100000 pixels; images up to 64 megapixels can be imported"
std::string TooManyPixels(ImageSize size);

// A pixel's luminance as seen on a white background, as the desktop's
// images give it: the weighted grey of red, green and blue, blended over
// white by its alpha.
constexpr std::uint8_t GreyOverWhite(int red, int green, int blue, int alpha)
{
    const int grey = (red * 11 + green * 16 + blue * 5) / 32;
    return static_cast<std::uint8_t>((grey * alpha + 255 * (255 - alpha)) / 255);
}

} // namespace tessaldo
