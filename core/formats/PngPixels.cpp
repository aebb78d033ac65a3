#include "core/formats/PngPixels.h"

#include "core/formats/ImageHeader.h"
#include "core/formats/StoredZip.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>

namespace tessaldo {
namespace {

constexpr std::string_view kSignature = "\x89PNG\r\n\x1A\n";
// The reader below the desktop's refuses wider or taller images.
constexpr std::uint32_t kMaxSide = 1'000'000;

enum Colour { Grey = 0, Rgb = 2, Indexed = 3, GreyAlpha = 4, Rgba = 6 };

constexpr std::array<int, 7> kChannels{1, 0, 3, 1, 2, 0, 4};

struct AdamPass {
    int left, top, stepX, stepY;
};
constexpr std::array<AdamPass, 7> kAdam7{
    {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}};
constexpr AdamPass kWhole{0, 0, 1, 1};

std::uint32_t Big32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

int Big16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint8_t>(bytes[at]) << 8 | static_cast<std::uint8_t>(bytes[at + 1]);
}

bool ValidDepth(int colour, int depth)
{
    switch (colour) {
    case Colour::Grey:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case Colour::Indexed:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case Colour::Rgb:
    case Colour::GreyAlpha:
    case Colour::Rgba:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

// A 16-bit sample made 8 bits, rounded, as the desktop's images convert it.
int Rounded16(int value)
{
    return (value * 255 + 32767) / 65535;
}

std::uint8_t Paeth(int left, int up, int upLeft)
{
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft)
        return static_cast<std::uint8_t>(left);
    return static_cast<std::uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

} // namespace

PngPixels::PngPixels(std::string_view file)
{
    if (file.substr(0, kSignature.size()) != kSignature)
        return;
    bool paletteSeen = false;
    bool transparencySeen = false;
    bool dataEnded = false; // a chunk came after the image data, which ends it
    bool ended = false;     // the file's end chunk came; the desktop's reader wants it
    for (std::size_t at = kSignature.size(); at + 12 <= file.size() && !ended;) {
        const std::uint32_t length = Big32(file, at);
        if (length > 0x7FFFFFFFU || file.size() - at - 12 < length)
            return;
        const bool first = at == kSignature.size();
        const std::string_view type = file.substr(at + 4, 4);
        const std::string_view data = file.substr(at + 8, length);
        const bool intact = Crc32(file.substr(at + 4, length + 4)) == Big32(file, at + 8 + length);
        const bool critical = (type[0] & 0x20) == 0;
        at += 12 + length;
        if (first != (type == "IHDR") || (!intact && critical))
            return; // the header comes first and once; a critical chunk must be whole
        const bool beforeData = m_compressed.empty();
        if (first) {
            if (!ReadHeader(data))
                return;
        } else if (type == "IDAT") {
            if (m_colour == Colour::Indexed && m_palette.empty())
                return;
            if (!dataEnded)
                m_compressed += data;
        } else if (type == "IEND") {
            ended = true;
        } else if (type == "PLTE" && beforeData) {
            if (paletteSeen || (m_colour == Colour::Indexed && (length == 0 || length % 3 != 0 || length > 768)))
                return;
            paletteSeen = true;
            ReadPalette(data);
        } else if (type == "tRNS" && beforeData && intact && !transparencySeen) {
            transparencySeen = true;
            ReadTransparency(data);
        } else if (critical) {
            return; // of a kind unknown here, or out of place
        }
        dataEnded = dataEnded || (!beforeData && type != "IDAT");
    }
    if (m_compressed.empty() || !ended)
        return;
    m_greys = {m_width, m_height,
               std::vector<std::uint8_t>(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 255)};
    m_damaged = false;
    m_pass = m_interlaced ? 0 : -1;
    StartPass();
}

bool PngPixels::ReadHeader(std::string_view data)
{
    if (data.size() != 13)
        return false;
    const std::uint32_t width = Big32(data, 0);
    const std::uint32_t height = Big32(data, 4);
    m_depth = static_cast<std::uint8_t>(data[8]);
    m_colour = static_cast<std::uint8_t>(data[9]);
    const int interlace = static_cast<std::uint8_t>(data[12]);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide || !ValidDepth(m_colour, m_depth)
        || data[10] != 0 || data[11] != 0 || interlace > 1)
        return false;
    m_width = static_cast<int>(width);
    m_height = static_cast<int>(height);
    m_interlaced = interlace == 1;
    return !HasTooManyPixels({m_width, m_height});
}

void PngPixels::ReadPalette(std::string_view data)
{
    if (m_colour != Colour::Indexed)
        return; // a suggestion for a display with few colours
    // Entries past what the depth can index are never used.
    const std::size_t count = std::min<std::size_t>(data.size() / 3, std::size_t{1} << m_depth);
    for (std::size_t i = 0; i < count; ++i)
        m_palette.push_back({static_cast<std::uint8_t>(data[3 * i]), static_cast<std::uint8_t>(data[3 * i + 1]),
                             static_cast<std::uint8_t>(data[3 * i + 2]), 255});
}

// Transparency that does not fit the image is left out, as the desktop's reader does.
void PngPixels::ReadTransparency(std::string_view data)
{
    if (m_colour == Colour::Indexed) {
        if (data.empty() || data.size() > m_palette.size())
            return;
        for (std::size_t i = 0; i < data.size(); ++i)
            m_palette[i][3] = static_cast<std::uint8_t>(data[i]);
    } else if ((m_colour == Colour::Grey && data.size() == 2) || (m_colour == Colour::Rgb && data.size() == 6)) {
        m_hasKey = true;
        // Only an 8-bit colour's key is cut to its low byte there; a grey's must match whole.
        const int kept = m_colour == Colour::Rgb && m_depth == 8 ? 0xFF : 0xFFFF;
        for (std::size_t i = 0; i < data.size() / 2; ++i)
            m_key[i] = Big16(data, 2 * i) & kept;
    }
}

void PngPixels::StartPass()
{
    m_row = 0;
    m_filled = 0;
    for (; m_pass < static_cast<int>(kAdam7.size()); ++m_pass) {
        const AdamPass pass = m_pass < 0 ? kWhole : kAdam7[static_cast<std::size_t>(m_pass)];
        m_passWidth = m_width > pass.left ? (m_width - pass.left + pass.stepX - 1) / pass.stepX : 0;
        m_passHeight = m_height > pass.top ? (m_height - pass.top + pass.stepY - 1) / pass.stepY : 0;
        if (m_passWidth > 0 && m_passHeight > 0)
            break; // a pass with no pixels has no rows in the data
    }
    const std::size_t bits = static_cast<std::size_t>(m_passWidth) * kChannels[m_colour] * m_depth;
    m_line.assign(1 + (bits + 7) / 8, 0);
    m_previous.assign(m_line.size(), 0);
}

bool PngPixels::Complete() const
{
    return !m_damaged && m_pass >= static_cast<int>(kAdam7.size());
}

void PngPixels::Add(std::string_view inflated)
{
    while (!inflated.empty() && !m_damaged && !Complete()) {
        const std::size_t taken = std::min(inflated.size(), m_line.size() - m_filled);
        std::copy_n(reinterpret_cast<const std::uint8_t *>(inflated.data()), taken,
                    m_line.begin() + static_cast<std::ptrdiff_t>(m_filled));
        inflated.remove_prefix(taken);
        m_filled += taken;
        if (m_filled == m_line.size())
            FinishRow();
    }
}

void PngPixels::FinishRow()
{
    if (!Unfilter()) {
        m_damaged = true;
        return;
    }
    const AdamPass pass = m_pass < 0 ? kWhole : kAdam7[static_cast<std::size_t>(m_pass)];
    const auto y =
        static_cast<std::size_t>(pass.top) + static_cast<std::size_t>(m_row) * static_cast<std::size_t>(pass.stepY);
    for (int x = 0; x < m_passWidth; ++x)
        m_greys.pixels[y * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(pass.left + x * pass.stepX)] =
            Grey(x);
    std::swap(m_line, m_previous);
    m_filled = 0;
    if (++m_row == m_passHeight) {
        m_pass = m_pass < 0 ? static_cast<int>(kAdam7.size()) : m_pass + 1;
        StartPass();
    }
}

// Undoes the row's filter in place, against the row above it in its pass.
bool PngPixels::Unfilter()
{
    const std::uint8_t filter = m_line[0];
    if (filter > 4)
        return false;
    const std::size_t step = std::max<std::size_t>(1, static_cast<std::size_t>(kChannels[m_colour] * m_depth / 8));
    for (std::size_t i = 1; i < m_line.size(); ++i) {
        const int left = i > step ? m_line[i - step] : 0;
        const int up = m_previous[i];
        const int upLeft = i > step ? m_previous[i - step] : 0;
        const int predicted = filter == 1   ? left
                              : filter == 2 ? up
                              : filter == 3 ? (left + up) / 2
                              : filter == 4 ? Paeth(left, up, upLeft)
                                            : 0;
        m_line[i] = static_cast<std::uint8_t>(m_line[i] + predicted);
    }
    return true;
}

// The index'th sample of the row, most significant bits first.
int PngPixels::Sample(int index) const
{
    const std::uint8_t *row = m_line.data() + 1;
    if (m_depth == 16) {
        const auto at = 2 * static_cast<std::size_t>(index);
        return row[at] << 8 | row[at + 1];
    }
    if (m_depth == 8)
        return row[index];
    const int bit = index * m_depth;
    return (row[bit / 8] >> (8 - m_depth - bit % 8)) & ((1 << m_depth) - 1);
}

// A colour sample as 8 bits: a 16-bit one rounded, a grey of fewer bits spread over 0 to 255.
int PngPixels::Channel(int value) const
{
    return m_depth == 16 ? Rounded16(value) : value * 255 / ((1 << m_depth) - 1);
}

// The pixel's grey over white as the desktop computes it from the image its
// reader gives, 16-bit samples rounded to 8 bits.
std::uint8_t PngPixels::Grey(int x) const
{
    const int channels = kChannels[m_colour];
    const int first = Sample(x * channels);
    switch (m_colour) {
    case Colour::Grey: {
        const int grey = Channel(first);
        return GreyOverWhite(grey, grey, grey, m_hasKey && first == m_key[0] ? 0 : 255);
    }
    case Colour::Indexed: {
        // The desktop's reader takes an index past the palette as the first
        // entry, or as white in a two-colour image.
        const bool known = static_cast<std::size_t>(first) < m_palette.size();
        if (!known && m_depth == 1)
            return 255;
        const auto &entry = m_palette[known ? static_cast<std::size_t>(first) : 0];
        return GreyOverWhite(entry[0], entry[1], entry[2], entry[3]);
    }
    case Colour::GreyAlpha: {
        const int grey = Channel(first);
        return GreyOverWhite(grey, grey, grey, Channel(Sample(x * channels + 1)));
    }
    default: {
        const int green = Sample(x * channels + 1);
        const int blue = Sample(x * channels + 2);
        const bool keyed = m_hasKey && first == m_key[0] && green == m_key[1] && blue == m_key[2];
        const int alpha = m_colour == Colour::Rgba ? Channel(Sample(x * channels + 3)) : keyed ? 0 : 255;
        return GreyOverWhite(Channel(first), Channel(green), Channel(blue), alpha);
    }
    }
}

GreyImage PngPixels::TakeGreys()
{
    return std::move(m_greys);
}

} // namespace tessaldo
