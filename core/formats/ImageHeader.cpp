#include "core/formats/ImageHeader.h"

#include "core/formats/BitmapFiles.h"

#include <algorithm>
#include <array>
#include <cstdlib>

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

// Reads the variable-width codes of a GIF frame's LZW stream, least
// significant bit first, across its data sub-blocks, which end at `end`.
class GifCodeReader {
public:
    GifCodeReader(std::string_view bytes, std::size_t at, std::size_t end) : m_bytes(bytes), m_at(at), m_end(end) {}

    // Nothing when the sub-blocks end before the code does.
    std::optional<std::uint32_t> Next(int width)
    {
        while (m_bitCount < width) {
            if (m_left == 0) {
                if (m_at >= m_end || (m_left = Byte(m_bytes, m_at++)) == 0)
                    return std::nullopt;
            }
            --m_left;
            m_bits |= std::uint32_t{Byte(m_bytes, m_at++)} << m_bitCount;
            m_bitCount += 8;
        }
        const std::uint32_t code = m_bits & ((1U << width) - 1);
        m_bits >>= width;
        m_bitCount -= width;
        return code;
    }

private:
    std::string_view m_bytes;
    std::size_t m_at;
    std::size_t m_end;
    std::size_t m_left = 0;
    std::uint32_t m_bits = 0;
    int m_bitCount = 0;
};

// Decodes a frame's codes as far as the pixels they stand for, keeping only
// the length of each dictionary entry: a damaged stream shows as a code that
// is not yet in the dictionary, or as codes that end before the frame is
// filled. Once it is filled, what follows is not looked at: decoders stop
// there too, and some encoders write more.
bool GifFrameDecodes(std::string_view bytes, std::size_t codeSizeAt, std::size_t end, std::uint64_t pixels)
{
    constexpr std::uint32_t kDictionary = 4096;
    const int minimum = Byte(bytes, codeSizeAt);
    if (minimum < 2 || minimum > 8)
        return false;
    const std::uint32_t clear = 1U << minimum;
    std::array<std::uint16_t, kDictionary> lengths{};
    std::fill_n(lengths.begin(), clear, std::uint16_t{1});
    std::uint32_t next = clear + 2;
    int width = minimum + 1;
    constexpr std::uint32_t kNoCode = kDictionary; // after a clear code
    std::uint32_t previous = kNoCode;
    GifCodeReader reader(bytes, codeSizeAt + 1, end);
    for (std::uint64_t decoded = 0; decoded < pixels;) {
        const std::optional<std::uint32_t> code = reader.Next(width);
        if (!code || *code == clear + 1)
            return false;
        if (*code == clear) {
            next = clear + 2;
            width = minimum + 1;
            previous = kNoCode;
            continue;
        }
        if (*code > next || (*code == next && previous == kNoCode))
            return false;
        const std::uint32_t length = *code == next ? lengths[previous] + 1U : lengths[*code];
        decoded += length;
        if (previous != kNoCode && next < kDictionary) {
            lengths[next++] = static_cast<std::uint16_t>(lengths[previous] + 1);
            if (next == 1U << width && width < 12)
                ++width;
        }
        previous = *code;
    }
    return true;
}

// Walks the screen descriptor, then extensions (0x21) and images (0x2C) to
// the trailer (0x3B); anything else where a block starts ends the GIF for
// every decoder too. Some encoders leave the trailer out, so bytes that end
// just after an image's data are whole as well.
ImageDataCheck WalkGif(std::string_view bytes)
{
    constexpr std::size_t kScreenEnd = 13;
    constexpr std::size_t kImageDescriptor = 10;
    ImageDataCheck check{"the GIF ends before its last frame", 0};
    if (bytes.size() < kScreenEnd)
        return check;
    std::size_t at = kScreenEnd + ColourTableBytes(Byte(bytes, 10));
    bool afterImage = false;
    while (at < bytes.size()) {
        afterImage = Byte(bytes, at) == 0x2C;
        switch (Byte(bytes, at)) {
        case 0x3B:
            check.problem.clear();
            return check;
        case 0x21: // label, then sub-blocks
            at = AfterSubBlocks(bytes, at + 2);
            break;
        case 0x2C: { // descriptor, local colour table, LZW code size, then sub-blocks
            if (at + kImageDescriptor > bytes.size())
                return check;
            const std::uint64_t pixels = std::uint64_t{Little(bytes, at + 5, 2)} * Little(bytes, at + 7, 2);
            const std::size_t codeSizeAt = at + kImageDescriptor + ColourTableBytes(Byte(bytes, at + 9));
            at = AfterSubBlocks(bytes, codeSizeAt + 1);
            ++check.gifFrames;
            if (at != std::string_view::npos && !GifFrameDecodes(bytes, codeSizeAt, at, pixels))
                return {GifFrameUndecodable(check.gifFrames), check.gifFrames};
            break;
        }
        default:
            return check;
        }
    }
    if (afterImage && at == bytes.size())
        check.problem.clear();
    return check;
}

// The bytes a BMP needs: its headers, what its file header declares, and at
// least its pixel data, whose size its info header gives (rows of
// uncompressed pixels are padded to four bytes).
std::uint64_t BmpNeeds(std::string_view bytes)
{
    constexpr std::size_t kInfoHeader = 14;
    constexpr std::size_t kCoreHeaderSize = 12; // the oldest header, with 16-bit sizes
    constexpr std::size_t kHeaderSize = 40;
    constexpr std::uint64_t kBeyondAnyFile = std::uint64_t{1} << 62;
    if (bytes.size() < kInfoHeader + 4)
        return kInfoHeader + 4;
    const bool core = Little(bytes, kInfoHeader, 4) == kCoreHeaderSize;
    const std::size_t headersEnd = kInfoHeader + (core ? kCoreHeaderSize : kHeaderSize);
    if (bytes.size() < headersEnd)
        return headersEnd;
    const std::uint64_t width = Little(bytes, 18, core ? 2 : 4);
    const std::uint64_t rows =
        core ? Little(bytes, 20, 2)
             : static_cast<std::uint64_t>(std::abs(std::int64_t{static_cast<std::int32_t>(Little(bytes, 22, 4))}));
    const std::uint64_t bitCount = Little(bytes, core ? 24 : 28, 2);
    const std::uint32_t compression = core ? 0 : Little(bytes, 30, 4);
    constexpr std::uint32_t kRgb = 0;
    constexpr std::uint32_t kRunLength8 = 1;
    constexpr std::uint32_t kRunLength4 = 2;
    constexpr std::uint32_t kBitFields = 3;
    std::uint64_t pixelBytes = 0;
    if (compression == kRgb || compression == kBitFields) {
        const std::uint64_t rowBytes = (width * bitCount + 31) / 32 * 4;
        pixelBytes = rowBytes != 0 && rows > kBeyondAnyFile / rowBytes ? kBeyondAnyFile : rowBytes * rows;
    } else if (compression == kRunLength8 || compression == kRunLength4) {
        pixelBytes = Little(bytes, 34, 4);
    }
    return std::max<std::uint64_t>(Little(bytes, 2, 4), Little(bytes, 10, 4) + pixelBytes);
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

ImageDataCheck CheckImageData(std::string_view whole)
{
    if (whole.substr(0, 6) == "GIF87a" || whole.substr(0, 6) == "GIF89a")
        return WalkGif(whole);
    if (whole.substr(0, 3) == "\xFF\xD8\xFF")
        return {JpegReachesEnd(whole) ? std::string() : "the JPEG data ends early", 0};
    if (whole.substr(0, 2) == "BM") {
        return {BmpNeeds(whole) > whole.size() ? "the BMP data ends early" : std::string(), 0};
    }
    if (IsBitmapFile(whole))
        return {ReadBitmapFile(whole).problem, 0};
    return {};
}

std::string CutShortImage(std::string_view whole)
{
    return CheckImageData(whole).problem;
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

std::optional<std::string> GifOnItsFramesScreen(std::string_view whole)
{
    constexpr std::size_t kScreenEnd = 13;
    constexpr std::size_t kImageDescriptor = 10;
    if (whole.size() < kScreenEnd || (whole.substr(0, 6) != "GIF87a" && whole.substr(0, 6) != "GIF89a")
        || !HasTooManyPixels({Little(whole, 6, 2), Little(whole, 8, 2)}))
        return std::nullopt;
    ImageSize covered;
    std::size_t at = kScreenEnd + ColourTableBytes(Byte(whole, 10));
    while (at < whole.size() && (Byte(whole, at) == 0x21 || Byte(whole, at) == 0x2C)) {
        if (Byte(whole, at) == 0x21) {
            at = AfterSubBlocks(whole, at + 2);
            continue;
        }
        if (at + kImageDescriptor > whole.size())
            break;
        covered.width = std::max<std::int64_t>(covered.width, Little(whole, at + 1, 2) + Little(whole, at + 5, 2));
        covered.height = std::max<std::int64_t>(covered.height, Little(whole, at + 3, 2) + Little(whole, at + 7, 2));
        at = AfterSubBlocks(whole, at + kImageDescriptor + ColourTableBytes(Byte(whole, at + 9)) + 1);
    }
    if (covered.width == 0 || covered.height == 0 || HasTooManyPixels(covered))
        return std::nullopt;
    std::string fitted(whole);
    const auto put = [&fitted](std::size_t place, std::int64_t value) {
        fitted[place] = static_cast<char>(value & 0xFF);
        fitted[place + 1] = static_cast<char>((value >> 8) & 0xFF);
    };
    put(6, std::min<std::int64_t>(covered.width, Little(whole, 6, 2)));
    put(8, std::min<std::int64_t>(covered.height, Little(whole, 8, 2)));
    return fitted;
}

std::string GifFrameUndecodable(std::size_t frame)
{
    return "frame " + std::to_string(frame) + " of the GIF cannot be decoded";
}

} // namespace tessaldo
