#pragma once

#include <cstdint>
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

bool HasTooManyPixels(ImageSize size);
// "it is 100000 x 100000 pixels; images up to 64 megapixels can be imported"
std::string TooManyPixels(ImageSize size);
// The same with the sides as the file writes them, digits too many for any integer included.
std::string TooManyPixels(std::string_view width, std::string_view height);

} // namespace tessaldo
