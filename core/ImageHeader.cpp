#include "ImageHeader.h"

namespace tessaldo {
namespace {

std::uint32_t Big(std::string_view bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

std::uint32_t Little(std::string_view bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count; i-- > 0;)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// A JPEG's size stands in its start-of-frame segment, after any number of others.
std::optional<ImageSize> JpegSize(std::string_view bytes)
{
    std::size_t at = 2;
    while (at + 9 <= bytes.size()) {
        if (static_cast<std::uint8_t>(bytes[at]) != 0xFF)
            return std::nullopt;
        const std::uint8_t marker = static_cast<std::uint8_t>(bytes[at + 1]);
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        const bool startOfFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame)
            return ImageSize{Big(bytes, at + 7, 2), Big(bytes, at + 5, 2)};
        at += 2 + Big(bytes, at + 2, 2);
    }
    return std::nullopt;
}

std::optional<ImageSize> WebpSize(std::string_view bytes)
{
    if (bytes.size() < 30)
        return std::nullopt;
    const std::string_view chunk = bytes.substr(12, 4);
    if (chunk == "VP8X")
        return ImageSize{Little(bytes, 24, 3) + 1, Little(bytes, 27, 3) + 1};
    if (chunk == "VP8 ")
        return ImageSize{Little(bytes, 26, 2) & 0x3FFF, Little(bytes, 28, 2) & 0x3FFF};
    if (chunk == "VP8L") {
        const std::uint32_t bits = Little(bytes, 21, 4);
        return ImageSize{(bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1};
    }
    return std::nullopt;
}

} // namespace

std::optional<ImageSize> DeclaredImageSize(std::string_view start)
{
    if (start.size() >= 24 && start.substr(0, 8) == "\x89PNG\r\n\x1A\n")
        return ImageSize{Big(start, 16, 4), Big(start, 20, 4)};
    if (start.size() >= 10 && (start.substr(0, 6) == "GIF87a" || start.substr(0, 6) == "GIF89a"))
        return ImageSize{Little(start, 6, 2), Little(start, 8, 2)};
    if (start.size() >= 26 && start.substr(0, 2) == "BM") {
        const auto height = static_cast<std::int32_t>(Little(start, 22, 4)); // negative: stored top down
        return ImageSize{static_cast<std::int32_t>(Little(start, 18, 4)), height < 0 ? -std::int64_t{height} : height};
    }
    if (start.size() >= 4 && start.substr(0, 2) == "\xFF\xD8")
        return JpegSize(start);
    if (start.size() >= 16 && start.substr(0, 4) == "RIFF" && start.substr(8, 4) == "WEBP")
        return WebpSize(start);
    return std::nullopt;
}

bool HasTooManyPixels(ImageSize size)
{
    return size.width * size.height > kMaxImportPixels;
}

std::string TooManyPixels(ImageSize size)
{
    return "it is " + std::to_string(size.width) + " x " + std::to_string(size.height) + " pixels; images up to "
           + std::to_string(kMaxImportPixels / 1'000'000) + " megapixels can be imported";
}

} // namespace tessaldo
