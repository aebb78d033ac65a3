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

std::uint8_t Byte(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint8_t>(bytes[at]);
}

// Past a run of GIF data sub-blocks (a length byte and that many bytes each,
// ended by a zero length), or npos when the bytes end first.
std::size_t AfterSubBlocks(std::string_view bytes, std::size_t at)
{
    while (at < bytes.size()) {
        const std::size_t length = Byte(bytes, at);
        if (length == 0)
            return at + 1;
        at += 1 + length;
    }
    return std::string_view::npos;
}

// The bytes of the colour table a GIF descriptor's flags announce.
std::size_t ColourTableBytes(std::uint8_t flags)
{
    return (flags & 0x80) != 0 ? std::size_t{3} << ((flags & 0x07) + 1) : 0;
}

// Walks the screen descriptor, then extensions (0x21) and images (0x2C) to
// the trailer (0x3B); anything else where a block starts ends the GIF for
// every decoder too. Some encoders leave the trailer out, so bytes that end
// just after an image's data are whole as well.
bool GifIsWhole(std::string_view bytes)
{
    constexpr std::size_t kScreenEnd = 13;
    constexpr std::size_t kImageDescriptor = 10;
    if (bytes.size() < kScreenEnd)
        return false;
    std::size_t at = kScreenEnd + ColourTableBytes(Byte(bytes, 10));
    bool afterImage = false;
    while (at < bytes.size()) {
        afterImage = Byte(bytes, at) == 0x2C;
        switch (Byte(bytes, at)) {
        case 0x3B:
            return true;
        case 0x21: // label, then sub-blocks
            at = AfterSubBlocks(bytes, at + 2);
            break;
        case 0x2C: // descriptor, local colour table, LZW code size, then sub-blocks
            if (at + kImageDescriptor > bytes.size())
                return false;
            at = AfterSubBlocks(bytes, at + kImageDescriptor + ColourTableBytes(Byte(bytes, at + 9)) + 1);
            break;
        default:
            return false;
        }
    }
    return afterImage && at == bytes.size();
}

// Goes from marker to marker: a segment is skipped by its length, and the
// entropy-coded data after a scan's header up to the next marker that is
// neither a stuffed zero nor a restart. Stray bytes before a marker are
// passed over, as decoders pass them.
bool JpegReachesEnd(std::string_view bytes)
{
    std::size_t at = 2;
    while ((at = bytes.find('\xFF', at)) != std::string_view::npos && at + 1 < bytes.size()) {
        const std::uint8_t marker = Byte(bytes, at + 1);
        if (marker == 0xD9)
            return true;
        const bool standalone =
            marker == 0xFF || marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
        if (standalone) {
            at += marker == 0xFF ? 1 : 2; // a fill byte, or a marker without a length
            continue;
        }
        if (at + 4 > bytes.size())
            return false;
        at += 2 + Big(bytes, at + 2, 2);
    }
    return false;
}

} // namespace

std::string CutShortImage(std::string_view whole)
{
    if (whole.substr(0, 6) == "GIF87a" || whole.substr(0, 6) == "GIF89a")
        return GifIsWhole(whole) ? std::string() : "the GIF ends before its last frame";
    if (whole.substr(0, 3) == "\xFF\xD8\xFF")
        return JpegReachesEnd(whole) ? std::string() : "the JPEG data ends early";
    return {};
}

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
