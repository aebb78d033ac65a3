#pragma once

#include <optional>
#include <string>
#include <string_view>

// How many dots wide and high a picture is. The module shows 16 x 16; other
// displays show anything from one 8 x 8 tile to a 7.5-inch e-paper screen.
namespace tessaldo {

// The widest and highest picture: a 1024 x 1024 picture is 128 KiB in any layout,
// more than any of these displays holds.
inline constexpr int kLargestSide = 1024;

struct PictureSize {
    int width = 16;
    int height = 16;
    int DotCount() const { return width * height; }
    friend bool operator==(const PictureSize &, const PictureSize &) = default;
};

// The module's size, and the default of every new picture.
inline constexpr PictureSize kModuleSize{};

constexpr bool IsModuleSize(PictureSize size)
{
    return size == kModuleSize;
}
constexpr bool IsPictureSize(PictureSize size)
{
    return size.width >= 1 && size.width <= kLargestSide && size.height >= 1 && size.height <= kLargestSide;
}

// "128x64" (or "128 x 64", "128X64") as a size within 1..kLargestSide each way; nothing for anything else.
std::optional<PictureSize> PictureSizeFromText(std::string_view text);
// "128 x 64": how messages and captions name a size.
std::string PictureSizeText(PictureSize size);
// Why the module's own forms (its printf lines, its 33 bytes, sending) cannot
// take a picture of `size`: "the module shows 16 x 16 pictures and this one is
// 128 x 64", to follow "Cannot ...: ".
std::string NotForTheModule(PictureSize size);

} // namespace tessaldo
