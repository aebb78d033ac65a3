#include "core/formats/BitmapFiles.h"

#include "core/code/CodeFormats.h"
#include "core/code/CodeLexer.h"
#include "core/convert/ImageSize.h"
#include "core/model/BitLayout.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

namespace tessaldo {
namespace {

// A size the header gives: its value, as large as 64 bits hold, and its
// digits as written, which a refusal repeats however many there are.
struct Side {
    std::uint64_t value = 0;
    std::string written;
};

std::string Quoted(std::string_view token)
{
    constexpr std::size_t kShown = 20;
    return "'" + std::string(token.substr(0, kShown)) + (token.size() > kShown ? "…'" : "'");
}

// Decimal digits, read whole however many there are.
std::optional<Side> SideFrom(std::string_view token)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (token.empty() || end != token.data() + token.size())
        return std::nullopt;
    constexpr std::uint64_t kLargest = std::numeric_limits<std::int64_t>::max();
    return Side{error == std::errc::result_out_of_range ? kLargest : std::min(value, kLargest), std::string(token)};
}

// What the bitmap is read for: an image to import, of up to 64 megapixels,
// or a picture, at most kLargestSide each way.
enum class Use { Image, Picture };

// The sides read, or why not: none may be 0 and the pixels must be few enough
// for the use, which is known before anything is allocated.
std::string CheckSides(std::string_view format, const Side &width, const Side &height, Use use)
{
    if (width.value == 0 || height.value == 0)
        return "the " + std::string(format) + " has no pixels: it is " + width.written + " x " + height.written;
    constexpr auto kLargest = static_cast<std::uint64_t>(kLargestSide);
    if (use == Use::Picture && (width.value > kLargest || height.value > kLargest))
        return "the " + std::string(format) + " is " + width.written + " x " + height.written
               + " pixels, and a picture is at most " + std::to_string(kLargestSide) + " dots each way";
    const ImageSize size{static_cast<std::int64_t>(width.value), static_cast<std::int64_t>(height.value)};
    return HasTooManyPixels(size) ? TooManyPixels(width.written, height.written) : std::string();
}

Bitmap BlankBitmap(const Side &width, const Side &height)
{
    return {static_cast<int>(width.value), static_cast<int>(height.value),
            std::vector<DotState>(width.value * height.value)};
}

// The text with its C comments made spaces, so that they separate tokens and nothing else.
std::string WithoutComments(std::string_view text)
{
    std::string plain(text);
    for (std::size_t at = plain.find("/*"); at != std::string::npos; at = plain.find("/*", at)) {
        const std::size_t end = plain.find("*/", at + 2);
        const std::size_t stop = end == std::string::npos ? plain.size() : end + 2;
        // Their line ends stay, so that a refusal counts lines as an editor does.
        std::replace_if(
            plain.begin() + static_cast<std::ptrdiff_t>(at), plain.begin() + static_cast<std::ptrdiff_t>(stop),
            [](char c) { return c != '\n'; }, ' ');
    }
    return plain;
}

struct XbmHeader {
    std::optional<Side> width;
    std::optional<Side> height;
    std::size_t arrayAt = std::string::npos; // where the declaration of the bits starts
};

// `#define NAME_width W` and `NAME_height H`, as X11 reads them, by the part
// of the name after its last '_'; other defines (the hot spot) are passed
// over. The bits' declaration follows the defines.
XbmHeader ReadXbmHeader(std::string_view text)
{
    XbmHeader header;
    std::size_t line = 0;
    while (line < text.size()) {
        const std::size_t end = std::min(text.find('\n', line), text.size());
        const std::string_view content = Trimmed(text.substr(line, end - line));
        if (content.starts_with("#define")) {
            const std::string_view rest = Trimmed(content.substr(7));
            const std::size_t nameEnd = std::min(rest.find_first_of(" \t"), rest.size());
            const std::string_view name = rest.substr(0, nameEnd);
            const std::string_view kind = name.substr(name.rfind('_') + 1);
            const std::optional<Side> value = SideFrom(Trimmed(rest.substr(nameEnd)));
            if (kind == "width")
                header.width = value;
            else if (kind == "height")
                header.height = value;
        } else if (!content.empty()) {
            header.arrayAt = line;
            return header;
        }
        line = end + 1;
    }
    return header;
}

// The line of `text` that its character `at` is on, counted from 1.
std::size_t LineAt(std::string_view text, std::size_t at)
{
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

// The values between the braces at `open` in `text`, each of `bits` bits; X10
// wrote `short`s of 16 pixels, X11 writes `char`s of 8, the leftmost pixel in
// bit 0 of each.
std::string ReadXbmValues(std::string_view text, std::size_t open, std::size_t close, int bits, Bitmap &bitmap)
{
    const std::string_view values = text.substr(open + 1, close - open - 1);
    const std::size_t perRow = (static_cast<std::size_t>(bitmap.width) + bits - 1) / bits;
    const std::size_t needed = perRow * static_cast<std::size_t>(bitmap.height);
    std::size_t count = 0;
    for (std::size_t at = 0; at < values.size();) {
        const std::size_t comma = std::min(values.find(',', at), values.size());
        const std::string_view token = Trimmed(values.substr(at, comma - at));
        const std::size_t tokenAt = open + 1 + at;
        at = comma + 1;
        if (token.empty() && comma == values.size())
            break; // a comma after the last value
        const bool hex = token.starts_with("0x") || token.starts_with("0X");
        const std::string_view digits = hex ? token.substr(2) : token;
        unsigned value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
        if (digits.empty() || end != digits.data() + digits.size() || error != std::errc() || value >> bits != 0)
            return "the XBM holds " + Quoted(token) + " on line " + std::to_string(LineAt(text, tokenAt))
                   + " where a value of " + std::to_string(bits) + " bits should be";
        if (count < needed) {
            const std::size_t row = count / perRow;
            const std::size_t left = count % perRow * static_cast<std::size_t>(bits);
            for (int bit = 0;
                 bit < bits && left + static_cast<std::size_t>(bit) < static_cast<std::size_t>(bitmap.width); ++bit)
                bitmap.black[row * static_cast<std::size_t>(bitmap.width) + left + static_cast<std::size_t>(bit)] =
                    static_cast<DotState>(value >> bit & 1U);
        }
        ++count;
    }
    if (count != needed)
        return "the XBM holds " + std::to_string(count) + " values where its " + std::to_string(bitmap.width) + " x "
               + std::to_string(bitmap.height) + " pixels need " + std::to_string(needed);
    return {};
}

BitmapRead ReadXbm(std::string_view whole, Use use)
{
    const std::string text = WithoutComments(whole);
    const XbmHeader header = ReadXbmHeader(text);
    if (!header.width || !header.height)
        return {{}, "the XBM does not define its width and height as numbers"};
    if (std::string problem = CheckSides("XBM", *header.width, *header.height, use); !problem.empty())
        return {{}, std::move(problem)};
    const std::size_t open = text.find('{', std::min(header.arrayAt, text.size()));
    if (open == std::string::npos)
        return {{}, "the XBM data ends early"};
    const std::string_view declaration = std::string_view(text).substr(header.arrayAt, open - header.arrayAt);
    const bool shorts = declaration.find("short") != std::string_view::npos;
    const std::size_t close = text.find('}', open);
    if (close == std::string::npos)
        return {{}, "the XBM data ends early"};
    BitmapRead read{BlankBitmap(*header.width, *header.height), {}};
    read.problem = ReadXbmValues(text, open, close, shorts ? 16 : 8, read.bitmap);
    return read;
}

// Reads a PBM's tokens: whitespace and comments from '#' to the line's end separate them.
class PbmReader {
public:
    explicit PbmReader(std::string_view bytes) : m_bytes(bytes) {}

    std::string_view Token()
    {
        SkipSeparators();
        const std::size_t start = m_at;
        while (m_at < m_bytes.size() && !IsSpace(m_bytes[m_at]) && m_bytes[m_at] != '#')
            ++m_at;
        return m_bytes.substr(start, m_at - start);
    }

    // A P1 pixel: '0' or '1', with or without separators between them.
    std::optional<char> Digit()
    {
        SkipSeparators();
        return m_at < m_bytes.size() ? std::optional(m_bytes[m_at++]) : std::nullopt;
    }

    // The line the last character read is on, counted from 1.
    std::size_t Line() const { return LineAt(m_bytes, m_at == 0 ? 0 : m_at - 1); }

    // After the height, one whitespace character and then the raw rows.
    std::string_view Raster() { return m_bytes.substr(std::min(m_at + 1, m_bytes.size())); }

    bool OnlySeparatorsLeft()
    {
        SkipSeparators();
        return m_at == m_bytes.size();
    }

private:
    void SkipSeparators()
    {
        while (m_at < m_bytes.size() && (IsSpace(m_bytes[m_at]) || m_bytes[m_at] == '#')) {
            if (m_bytes[m_at] == '#')
                m_at = std::min(m_bytes.find('\n', m_at), m_bytes.size());
            else
                ++m_at;
        }
    }

    std::string_view m_bytes;
    std::size_t m_at = 0;
};

std::string ReadPlainPixels(PbmReader &reader, Bitmap &bitmap)
{
    for (std::size_t i = 0; i < bitmap.black.size(); ++i) {
        const std::optional<char> digit = reader.Digit();
        if (!digit)
            return "the PBM data ends early";
        if (*digit != '0' && *digit != '1')
            return "the PBM holds " + Quoted(std::string_view(&*digit, 1)) + " on line " + std::to_string(reader.Line())
                   + " where a pixel, 0 or 1, should be";
        bitmap.black[i] = *digit == '1' ? DotState::Set : DotState::Clear;
    }
    return reader.OnlySeparatorsLeft() ? std::string() : "the PBM goes on after its pixels";
}

// Raw rows: a byte for every eight pixels, the leftmost in bit 7, 1 black.
std::string ReadRawPixels(std::string_view raster, Bitmap &bitmap)
{
    const auto width = static_cast<std::size_t>(bitmap.width);
    const std::size_t rowBytes = (width + 7) / 8;
    const std::size_t needed = rowBytes * static_cast<std::size_t>(bitmap.height);
    if (raster.size() < needed)
        return "the PBM data ends early";
    if (!Trimmed(raster.substr(needed)).empty())
        return "the PBM goes on after its pixels";
    std::size_t pixel = 0;
    for (std::size_t row = 0; row < static_cast<std::size_t>(bitmap.height); ++row) {
        const std::string_view bytes = raster.substr(row * rowBytes, rowBytes);
        for (std::size_t column = 0; column < width; ++column, ++pixel)
            bitmap.black[pixel] =
                static_cast<DotState>(static_cast<std::uint8_t>(bytes[column / 8]) >> (7 - column % 8) & 1U);
    }
    return {};
}

BitmapRead ReadPbm(std::string_view whole, Use use)
{
    PbmReader reader(whole);
    const std::string_view magic = reader.Token();
    if (magic.empty())
        return {{}, "the PBM is empty"};
    if (magic != "P1" && magic != "P4")
        return {{}, "the PBM begins with " + Quoted(magic) + " where P1 or P4 should be"};
    const bool plain = magic == "P1";
    const std::optional<Side> width = SideFrom(reader.Token());
    const std::optional<Side> height = SideFrom(reader.Token());
    if (!width || !height)
        return {{}, "the PBM does not give its width and height as numbers"};
    if (std::string problem = CheckSides("PBM", *width, *height, use); !problem.empty())
        return {{}, std::move(problem)};
    BitmapRead read{BlankBitmap(*width, *height), {}};
    read.problem = plain ? ReadPlainPixels(reader, read.bitmap) : ReadRawPixels(reader.Raster(), read.bitmap);
    return read;
}

} // namespace

bool IsPbmFile(std::string_view start)
{
    return start.size() >= 3 && (start.starts_with("P1") || start.starts_with("P4"))
           && (IsSpace(start[2]) || start[2] == '#');
}

bool IsBitmapFile(std::string_view start)
{
    return IsPbmFile(start) || Trimmed(WithoutComments(start)).starts_with("#define");
}

BitmapRead ReadBitmapFile(std::string_view whole)
{
    return IsPbmFile(whole) ? ReadPbm(whole, Use::Image) : ReadXbm(whole, Use::Image);
}

std::optional<BitmapKind> PictureBitmapKind(std::string_view start, std::string_view extension)
{
    const std::string named = LowerCase(std::string(extension));
    if (named == ".pbm" || IsPbmFile(start))
        return BitmapKind::Pbm;
    if (named == ".xbm" || IsBitmapFile(start))
        return BitmapKind::Xbm;
    return std::nullopt;
}

BitmapRead ReadPictureBitmap(std::string_view whole, BitmapKind kind)
{
    return kind == BitmapKind::Pbm ? ReadPbm(whole, Use::Picture) : ReadXbm(whole, Use::Picture);
}

Dots DotsOfBitmap(Bitmap bitmap, LcdType type)
{
    const PictureSize size{bitmap.width, bitmap.height};
    if (!IsModuleSize(size)) // dots run along rows as the pixels do
        return Dots(size, std::move(bitmap.black));
    Dots dots(size);
    std::size_t pixel = 0;
    for (int row = 0; row < size.height; ++row)
        for (int column = 0; column < size.width; ++column, ++pixel)
            if (bitmap.black[pixel] == DotState::Set)
                dots[static_cast<std::size_t>(DotAtCell(type, {column, row}, size))] = DotState::Set;
    return dots;
}

GreyImage GreysOfBitmap(const Bitmap &bitmap)
{
    constexpr std::uint8_t kWhite = 255;
    GreyImage grey{bitmap.width, bitmap.height, std::vector<std::uint8_t>(bitmap.black.size(), kWhite)};
    for (std::size_t i = 0; i < bitmap.black.size(); ++i)
        if (bitmap.black[i] == DotState::Set)
            grey.pixels[i] = 0;
    return grey;
}

std::optional<ScreenCells> DotForDot(const Bitmap &bitmap, PictureSize size)
{
    if (bitmap.width != size.width || bitmap.height != size.height)
        return std::nullopt;
    ScreenCells cells(size);
    std::transform(bitmap.black.begin(), bitmap.black.end(), cells.begin(),
                   [](DotState state) { return state == DotState::Set; });
    return cells;
}

namespace {

std::string PbmStart(std::string_view magic, PictureSize size)
{
    return std::string(magic) + "\n" + std::to_string(size.width) + " " + std::to_string(size.height) + "\n";
}

} // namespace

std::string PbmBytes(const DotGrid &grid)
{
    const std::vector<std::uint8_t> rows = SizedLayoutBytes(grid, BitLayout::Rows); // a PBM's raw rows, byte for byte
    return PbmStart("P4", grid.Size()) + std::string(rows.begin(), rows.end());
}

std::string PlainPbmText(const DotGrid &grid)
{
    constexpr int kLineLength = 70; // the longest line netpbm's plain formats allow
    const PictureSize size = grid.Size();
    std::string text = PbmStart("P1", size);
    text.reserve(text.size() + static_cast<std::size_t>(size.DotCount() + size.DotCount() / kLineLength + size.height));
    for (int row = 0; row < size.height; ++row) {
        for (int column = 0; column < size.width; ++column) {
            if (column > 0 && column % kLineLength == 0)
                text += '\n';
            text += grid.IsSet(grid.DotAt({column, row})) ? '1' : '0';
        }
        text += '\n';
    }
    return text;
}

} // namespace tessaldo
