#include "core/formats/U8g2Font.h"

#include "core/code/CodeLexer.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <iterator>
#include <limits>

namespace tessaldo {
namespace {

constexpr std::size_t kHeaderSize = 23;
// Glyphs a block of the table for glyphs from 0x100 holds: drawUTF8 skips a block at a time.
constexpr std::size_t kBlockGlyphs = 101;
constexpr std::size_t kBytesPerLine = 32;
// Larger fonts do not fit the array size small controllers allow, so u8g2 builds them only when asked.
constexpr std::size_t kLargeFont = 32760;

int UnsignedBits(int value)
{
    int bits = 0;
    for (; value > 0; value >>= 1)
        ++bits;
    return bits;
}

int SignedBits(int value)
{
    return UnsignedBits(value < 0 ? -value - 1 : value) + 1;
}

// Adds bits to a byte string from each byte's lowest bit up, as u8g2 reads
// them; without a string it only counts them, to weigh one choice of run widths.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t> *bytes) : m_bytes(bytes) {}

    void Add(unsigned value, int bits)
    {
        if (m_bytes == nullptr) {
            m_count += static_cast<std::size_t>(bits);
            return;
        }
        for (int bit = 0; bit < bits; ++bit, ++m_count) {
            if (m_count % 8 == 0)
                m_bytes->push_back(0);
            if ((value >> bit & 1U) != 0)
                m_bytes->back() |= static_cast<std::uint8_t>(1U << (m_count % 8));
        }
    }
    // `count` 1 bits, counted at once where only counted.
    void AddOnes(std::size_t count)
    {
        if (m_bytes == nullptr) {
            m_count += count;
            return;
        }
        for (std::size_t bit = 0; bit < count; ++bit)
            Add(1, 1);
    }
    std::size_t Bytes() const { return (m_count + 7) / 8; }

private:
    std::vector<std::uint8_t> *m_bytes;
    std::size_t m_count = 0;
};

struct FieldBits {
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
    int advance = 0;
    int zeros = 0; // bits of a run of blank dots
    int ones = 0;  // bits of a run of set dots
};

// A glyph as the font keeps it: its box in the font's mode, the advance
// drawUTF8 moves on, and its dots as runs of blank and set dots in turn.
struct Record {
    char32_t target = 0;
    FontBox box;
    int advance = 0;
    std::vector<int> runs;
};

// Pairs of runs as u8g2 takes them: runs too long for their bits split, a
// pair the same as the one before it one bit. The pieces of a split run are
// the same pair over and over, so they are taken together: weighing the 35
// choices of run widths over a large font would otherwise walk every piece.
class RunWriter {
public:
    RunWriter(BitWriter &bits, const FieldBits &fields) : m_bits(bits), m_fields(fields) {}

    void Write(const std::vector<int> &runs)
    {
        const int most0 = (1 << m_fields.zeros) - 1;
        const int most1 = (1 << m_fields.ones) - 1;
        for (std::size_t i = 0; i < runs.size(); i += 2) {
            int zeros = runs[i];
            int ones = runs[i + 1];
            if (zeros > most0) {
                const int pieces = (zeros - 1) / most0;
                Pairs(most0, 0, pieces);
                zeros -= pieces * most0;
            }
            if (ones > most1) {
                const int pieces = (ones - 1) / most1;
                Pairs(zeros, most1, 1);
                Pairs(0, most1, pieces - 1);
                ones -= pieces * most1;
                zeros = 0;
            }
            if (zeros != 0 || ones != 0)
                Pair(zeros, ones);
        }
    }

private:
    // The pair `count` times: all but the first the same as the one before.
    void Pairs(int zeros, int ones, int count)
    {
        if (count == 0)
            return;
        Pair(zeros, ones);
        m_bits.AddOnes(static_cast<std::size_t>(count - 1));
    }

    void Pair(int zeros, int ones)
    {
        if (!m_first && zeros == m_zeros && ones == m_ones) {
            m_bits.Add(1, 1);
            return;
        }
        if (!m_first)
            m_bits.Add(0, 1);
        m_bits.Add(static_cast<unsigned>(zeros), m_fields.zeros);
        m_bits.Add(static_cast<unsigned>(ones), m_fields.ones);
        m_first = false;
        m_zeros = zeros;
        m_ones = ones;
    }

    BitWriter &m_bits;
    const FieldBits &m_fields;
    bool m_first = true;
    int m_zeros = 0;
    int m_ones = 0;
};

std::size_t CodeBytes(char32_t target)
{
    return target < 0x100 ? 1 : 2;
}

// The record's bits after its code and size; only counted without `bytes`.
std::size_t WriteGlyphBits(const Record &record, const FieldBits &fields, std::vector<std::uint8_t> *bytes)
{
    BitWriter bits(bytes);
    const auto offset = [](int value, int width) { return static_cast<unsigned>(value + (1 << (width - 1))); };
    bits.Add(static_cast<unsigned>(record.box.width), fields.width);
    bits.Add(static_cast<unsigned>(record.box.height), fields.height);
    bits.Add(offset(record.box.x, fields.x), fields.x);
    bits.Add(offset(record.box.y, fields.y), fields.y);
    bits.Add(offset(record.advance, fields.advance), fields.advance);
    RunWriter(bits, fields).Write(record.runs);
    bits.Add(0, 1);
    return bits.Bytes();
}

// The runs of blank and set dots over the box from its top row down, each row
// from the left, in pairs: a blank run first, even where it is empty.
std::vector<int> Runs(const BitmapGlyph &glyph, const FontBox &box, int shift)
{
    std::vector<int> runs;
    if (box.width == 0 || box.height == 0)
        return runs;
    std::uint8_t colour = 0;
    int length = 0;
    for (int row = 0; row < box.height; ++row) {
        const int above = box.y + box.height - 1 - row; // above the baseline
        const int glyphRow = glyph.box.y + glyph.box.height - 1 - above;
        for (int column = 0; column < box.width; ++column) {
            const int glyphColumn = box.x + column - shift - glyph.box.x;
            const bool inside =
                glyphRow >= 0 && glyphRow < glyph.box.height && glyphColumn >= 0 && glyphColumn < glyph.box.width;
            const std::uint8_t dot = inside && glyph.Dot(glyphColumn, glyphRow) ? 1 : 0;
            if (dot != colour) {
                runs.push_back(length);
                colour = dot;
                length = 0;
            }
            ++length;
        }
    }
    runs.push_back(length);
    if (runs.size() % 2 != 0)
        runs.push_back(0);
    return runs;
}

void PutBigEndian(std::vector<std::uint8_t> &bytes, std::size_t at, std::size_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value >> 8 & 0xFFU);
    bytes[at + 1] = static_cast<std::uint8_t>(value & 0xFFU);
}

struct Chosen {
    std::vector<Record> records;     // those below 0x100 first, each part in the font's order
    std::vector<char32_t> encodings; // each record's glyph's own code point
    std::size_t below256 = 0;
    FontBox bounds;
};

Chosen Choose(const BitmapFont &font, const std::vector<std::optional<char32_t>> &chosen, U8g2Mode mode)
{
    std::vector<BitmapGlyph> reduced;
    std::vector<char32_t> targets;
    reduced.reserve(font.glyphs.size());
    for (std::size_t i = 0; i < font.glyphs.size(); ++i)
        if (chosen[i]) {
            reduced.push_back(Reduced(font.glyphs[i]));
            targets.push_back(*chosen[i]);
        }
    // The box of all glyphs, as bdfconv grows it glyph by glyph; a glyph
    // advancing less than the box's left edge pulls that edge back to it.
    int left = 0;
    int bottom = 0;
    int right = 0;
    int top = 0;
    int widest = 0;
    for (std::size_t i = 0; i < reduced.size(); ++i) {
        const BitmapGlyph &glyph = reduced[i];
        if (i == 0) {
            left = glyph.box.x;
            bottom = glyph.box.y;
            right = left + glyph.box.width;
            top = bottom + glyph.box.height;
        } else {
            left = std::min({left, glyph.box.x, glyph.advance});
            bottom = std::min(bottom, glyph.box.y);
            right = std::max(right, glyph.box.x + glyph.box.width);
            top = std::max(top, glyph.box.y + glyph.box.height);
        }
        widest = std::max(widest, glyph.advance);
    }
    Chosen result;
    result.bounds = {right - left, top - bottom, left, bottom};
    if (mode == U8g2Mode::Monospace)
        result.bounds.width = std::max(result.bounds.width, widest);
    std::vector<Record> upper;
    std::vector<char32_t> upperEncodings;
    for (std::size_t i = 0; i < reduced.size(); ++i) {
        const BitmapGlyph &glyph = reduced[i];
        Record record{targets[i], glyph.box, glyph.advance, {}};
        const int shift = mode != U8g2Mode::Proportional && glyph.box.x < 0 ? -glyph.box.x : 0;
        if (mode == U8g2Mode::CommonHeight)
            record.box = {std::max(glyph.box.x + glyph.box.width, glyph.advance) + shift, result.bounds.height, 0,
                          result.bounds.y};
        else if (mode == U8g2Mode::Monospace)
            record.box = {std::max(result.bounds.width, glyph.advance), result.bounds.height, 0, result.bounds.y};
        if (mode != U8g2Mode::Proportional)
            record.advance = record.box.width;
        record.runs = Runs(glyph, record.box, shift);
        (targets[i] < 0x100 ? result.records : upper).push_back(std::move(record));
        (targets[i] < 0x100 ? result.encodings : upperEncodings).push_back(glyph.codePoint);
    }
    result.below256 = result.records.size();
    std::move(upper.begin(), upper.end(), std::back_inserter(result.records));
    result.encodings.insert(result.encodings.end(), upperEncodings.begin(), upperEncodings.end());
    return result;
}

// The widths of the fields, and the run widths that make the font smallest
// (the first of equals, fewest blank-run bits first).
FieldBits Fields(const std::vector<Record> &records)
{
    FieldBits fields;
    for (const Record &record : records) {
        fields.width = std::max(fields.width, UnsignedBits(record.box.width));
        fields.height = std::max(fields.height, UnsignedBits(record.box.height));
        fields.x = std::max(fields.x, SignedBits(record.box.x));
        fields.y = std::max(fields.y, SignedBits(record.box.y));
        fields.advance = std::max(fields.advance, SignedBits(record.advance));
    }
    std::size_t best = std::numeric_limits<std::size_t>::max();
    FieldBits trial = fields;
    for (trial.zeros = 2; trial.zeros <= 8; ++trial.zeros)
        for (trial.ones = 2; trial.ones <= 6; ++trial.ones) {
            std::size_t total = 0;
            for (const Record &record : records)
                total += CodeBytes(record.target) + 1 + WriteGlyphBits(record, trial, nullptr);
            if (total < best) {
                best = total;
                fields = trial;
            }
        }
    return fields;
}

// The box a glyph gives the font's line metrics: shrunk where it is chosen,
// as the font's file gives it where not.
std::optional<FontBox> MetricBox(const BitmapFont &font, const std::vector<std::optional<char32_t>> &chosen,
                                 char32_t codePoint)
{
    const BitmapGlyph *glyph = font.Find(codePoint);
    if (glyph == nullptr)
        return std::nullopt;
    const auto index = static_cast<std::size_t>(glyph - font.glyphs.data());
    return chosen[index] ? Reduced(*glyph).box : glyph->box;
}

void PutHeaderMetrics(std::vector<std::uint8_t> &bytes, const BitmapFont &font,
                      const std::vector<std::optional<char32_t>> &chosen)
{
    const auto top = [](const std::optional<FontBox> &box) { return box ? box->y + box->height : 0; };
    const std::optional<FontBox> capital = MetricBox(font, chosen, 'A');
    int ascent = top(capital);
    if (ascent <= 0)
        ascent = top(MetricBox(font, chosen, '1'));
    const std::optional<FontBox> descender = MetricBox(font, chosen, 'g');
    const int descent = descender ? descender->y : 0;
    const std::optional<FontBox> parenthesis = MetricBox(font, chosen, '(');
    bytes[13] = static_cast<std::uint8_t>(ascent);
    bytes[14] = static_cast<std::uint8_t>(descent);
    bytes[15] = static_cast<std::uint8_t>(parenthesis ? top(parenthesis) : ascent);
    bytes[16] = static_cast<std::uint8_t>(parenthesis ? parenthesis->y : descent);
}

std::optional<unsigned> MapNumber(std::string_view text)
{
    const bool hex = text.starts_with('$');
    text.remove_prefix(hex ? 1 : 0);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, hex ? 16 : 10);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value > 0x10FFFF)
        return std::nullopt;
    return value;
}

// The bits from the place read to, lowest bit of each byte first.
class BitReader {
public:
    BitReader(const std::vector<std::uint8_t> &bytes, std::size_t at, std::size_t end)
        : m_bytes(bytes),
          m_bit(at * 8),
          m_end(std::min(end, bytes.size()) * 8)
    {
    }
    std::optional<unsigned> Read(int bits)
    {
        unsigned value = 0;
        for (int bit = 0; bit < bits; ++bit, ++m_bit) {
            if (m_bit >= m_end)
                return std::nullopt;
            value |= static_cast<unsigned>(m_bytes[m_bit / 8] >> (m_bit % 8) & 1U) << bit;
        }
        return value;
    }

private:
    const std::vector<std::uint8_t> &m_bytes;
    std::size_t m_bit;
    std::size_t m_end;
};

std::optional<BitmapGlyph> DecodeGlyph(const std::vector<std::uint8_t> &bytes, std::size_t at, std::size_t end,
                                       const FieldBits &fields)
{
    BitReader bits(bytes, at, end);
    const auto field = [&bits](int width, bool isSigned) -> std::optional<int> {
        const std::optional<unsigned> value = bits.Read(width);
        if (!value)
            return std::nullopt;
        return static_cast<int>(*value) - (isSigned && width > 0 ? 1 << (width - 1) : 0);
    };
    const std::optional<int> width = field(fields.width, false);
    const std::optional<int> height = field(fields.height, false);
    const std::optional<int> x = field(fields.x, true);
    const std::optional<int> y = field(fields.y, true);
    const std::optional<int> advance = field(fields.advance, true);
    if (!advance || !width || !height || !x || !y)
        return std::nullopt;
    BitmapGlyph glyph{0, *advance, {*width, *height, *x, *y}, {}};
    const auto area = static_cast<std::size_t>(*width) * static_cast<std::size_t>(*height);
    while (glyph.dots.size() < area) {
        const std::optional<unsigned> zeros = bits.Read(fields.zeros);
        const std::optional<unsigned> ones = bits.Read(fields.ones);
        if (!zeros || !ones)
            return std::nullopt;
        std::optional<unsigned> again = 1;
        for (; again == 1U; again = bits.Read(1)) {
            glyph.dots.insert(glyph.dots.end(), *zeros, 0);
            glyph.dots.insert(glyph.dots.end(), *ones, 1);
        }
        if (!again)
            return std::nullopt;
    }
    glyph.dots.resize(area);
    return glyph;
}

// A C string literal's bytes, its escapes read as the compiler reads them.
void AppendLiteral(std::string_view literal, std::vector<std::uint8_t> &bytes)
{
    literal = literal.substr(1, literal.size() >= 2 ? literal.size() - 2 : 0);
    for (std::size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] != '\\' || i + 1 == literal.size()) {
            bytes.push_back(static_cast<std::uint8_t>(literal[i]));
            continue;
        }
        const char c = literal[++i];
        unsigned value = 0;
        if (c >= '0' && c <= '7') {
            std::size_t digits = 0;
            for (; digits < 3 && i < literal.size() && literal[i] >= '0' && literal[i] <= '7'; ++digits, ++i)
                value = value * 8 + static_cast<unsigned>(literal[i] - '0');
            --i;
        } else if (c == 'x') {
            for (; i + 1 < literal.size() && std::isxdigit(static_cast<unsigned char>(literal[i + 1])) != 0; ++i)
                value = value * 16 + static_cast<unsigned>(std::stoi(std::string(1, literal[i + 1]), nullptr, 16));
        } else {
            constexpr std::string_view kEscapes = "n\nt\tr\ra\ab\bf\fv\v";
            const std::size_t found = kEscapes.find(c);
            value =
                static_cast<unsigned char>(found != std::string_view::npos && found % 2 == 0 ? kEscapes[found + 1] : c);
        }
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
}

} // namespace

Result<std::vector<GlyphRange>> ParseGlyphMap(std::string_view map)
{
    std::vector<GlyphRange> ranges;
    std::size_t start = 0;
    while (start <= map.size()) {
        const std::size_t comma = std::min(map.find(',', start), map.size());
        std::string_view part = Trimmed(map.substr(start, comma - start));
        start = comma + 1;
        GlyphRange range;
        range.leaveOut = part.starts_with('~');
        part = Trimmed(part.substr(range.leaveOut ? 1 : 0));
        const std::size_t arrow = part.find('>');
        const std::string_view codes = Trimmed(part.substr(0, arrow));
        const std::size_t dash = codes.find('-', 1);
        const std::optional<unsigned> first = codes == "*" ? 32U : MapNumber(Trimmed(codes.substr(0, dash)));
        const std::optional<unsigned> last = codes == "*" ? 255U
                                             : dash == std::string_view::npos
                                                 ? first
                                                 : MapNumber(Trimmed(codes.substr(dash + 1)));
        const std::optional<unsigned> target =
            arrow == std::string_view::npos ? first : MapNumber(Trimmed(part.substr(arrow + 1)));
        if (first && last && *last < *first)
            return Result<std::vector<GlyphRange>>::Failed(
                "The glyph map \"" + std::string(map) + "\" has a range that runs backwards at \"" + std::string(part)
                + "\": write its lower code first, as in " + std::string(Trimmed(codes.substr(dash + 1))) + "-"
                + std::string(Trimmed(codes.substr(0, dash))) + ".");
        if (!first || !last || !target || (range.leaveOut && arrow != std::string_view::npos))
            return Result<std::vector<GlyphRange>>::Failed(
                "The glyph map \"" + std::string(map) + "\" cannot be read at \"" + std::string(part)
                + "\": each part, apart at commas, is a code (65 or $41), a range (32-127), a range moved to "
                  "another code (32-127>$e000) or a range to leave out (~$7f).");
        range.first = *first;
        range.last = *last;
        range.target = *target;
        ranges.push_back(range);
    }
    return Result<std::vector<GlyphRange>>::Ok(std::move(ranges));
}

std::vector<std::optional<char32_t>> ChooseGlyphs(const BitmapFont &font, const std::vector<GlyphRange> &map)
{
    std::vector<std::optional<char32_t>> chosen;
    for (const BitmapGlyph &glyph : font.glyphs) {
        std::optional<char32_t> target;
        for (const GlyphRange &range : map)
            if (glyph.codePoint >= range.first && glyph.codePoint <= range.last)
                target = range.leaveOut ? std::nullopt : std::optional(glyph.codePoint - range.first + range.target);
        chosen.push_back(target);
    }
    return chosen;
}

Result<std::vector<std::uint8_t>> EncodeU8g2Font(const BitmapFont &font,
                                                 const std::vector<std::optional<char32_t>> &chosen, U8g2Mode mode)
{
    using Encoded = Result<std::vector<std::uint8_t>>;
    const Chosen glyphs = Choose(font, chosen, mode);
    const FieldBits fields = Fields(glyphs.records);
    std::vector<std::uint8_t> bytes(kHeaderSize);
    const std::vector<int> header{static_cast<int>(glyphs.records.size() & 0xFFU),
                                  static_cast<int>(mode),
                                  fields.zeros,
                                  fields.ones,
                                  fields.width,
                                  fields.height,
                                  fields.x,
                                  fields.y,
                                  fields.advance,
                                  glyphs.bounds.width,
                                  glyphs.bounds.height,
                                  glyphs.bounds.x,
                                  glyphs.bounds.y};
    std::transform(header.begin(), header.end(), bytes.begin(), [](int v) { return static_cast<std::uint8_t>(v); });
    PutHeaderMetrics(bytes, font, chosen);
    std::vector<std::size_t> starts;
    for (const Record &record : glyphs.records) {
        if (starts.size() == glyphs.below256) {
            // The end of the glyphs below 0x100, and room for the table of those above.
            bytes.insert(bytes.end(), 2, 0);
            PutBigEndian(bytes, 21, bytes.size() - kHeaderSize);
            const std::size_t entries =
                std::max<std::size_t>(1, (glyphs.records.size() - glyphs.below256) / kBlockGlyphs);
            bytes.insert(bytes.end(), entries * 4, 0);
        }
        starts.push_back(bytes.size());
        if (record.target >= 0x100)
            bytes.push_back(static_cast<std::uint8_t>(record.target >> 8));
        bytes.push_back(static_cast<std::uint8_t>(record.target & 0xFFU));
        const std::size_t sizeAt = bytes.size();
        bytes.push_back(0);
        const std::size_t size = CodeBytes(record.target) + 1 + WriteGlyphBits(record, fields, &bytes);
        if (size >= 255)
            return Encoded::Failed("The glyph " + std::to_string(static_cast<unsigned>(record.target)) + " takes "
                                   + std::to_string(size)
                                   + " bytes in u8g2's format, which holds at most 254 a glyph: make it smaller.");
        bytes[sizeAt] = static_cast<std::uint8_t>(size);
        const auto code = static_cast<unsigned>(record.target);
        if ((code == 'A' || code == 'a') && bytes[code == 'A' ? 17 : 19] == 0 && bytes[code == 'A' ? 18 : 20] == 0)
            PutBigEndian(bytes, code == 'A' ? 17 : 19, starts.back() - kHeaderSize);
    }
    if (starts.size() == glyphs.below256) {
        bytes.insert(bytes.end(), 2, 0);
        PutBigEndian(bytes, 21, bytes.size() - kHeaderSize);
        bytes.insert(bytes.end(), {0, 4, 0xFF, 0xFF});
    }
    // Each entry of the table: how far on its block of glyphs starts, and the
    // last code point of the block, so that drawUTF8 skips what it need not read.
    const std::size_t table = kHeaderSize + (static_cast<std::size_t>(bytes[21]) << 8 | bytes[22]);
    const std::size_t upper = glyphs.records.size() - glyphs.below256;
    const std::size_t entries = std::max<std::size_t>(1, upper / kBlockGlyphs);
    PutBigEndian(bytes, table + entries * 4 - 4, 4);
    bytes[table + entries * 4 - 2] = 0xFF;
    bytes[table + entries * 4 - 1] = 0xFF;
    std::size_t previous = table;
    for (std::size_t entry = 0; entry < entries && upper > 0; ++entry) {
        const std::size_t first = glyphs.below256 + entry * kBlockGlyphs;
        PutBigEndian(bytes, table + entry * 4, starts[first] - previous);
        previous = starts[first];
        const std::size_t last = first + kBlockGlyphs - 1;
        if (last < glyphs.records.size()) {
            bytes[table + entry * 4 + 2] |= static_cast<std::uint8_t>(glyphs.encodings[last] >> 8 & 0xFFU);
            bytes[table + entry * 4 + 3] |= static_cast<std::uint8_t>(glyphs.encodings[last] & 0xFFU);
        }
    }
    bytes.insert(bytes.end(), 2, 0);
    return Encoded::Ok(std::move(bytes));
}

Result<std::string> FormatU8g2Font(const BitmapFont &font, const std::vector<std::optional<char32_t>> &chosen,
                                   U8g2Mode mode, std::string_view name)
{
    const Result<std::vector<std::uint8_t>> encoded = EncodeU8g2Font(font, chosen, mode);
    if (!encoded)
        return Result<std::string>::Failed(encoded.message());
    const std::vector<std::uint8_t> &bytes = encoded.value();
    const auto orNull = [](const std::string &text) { return text.empty() ? std::string("(null)") : text; };
    const auto count = std::count_if(chosen.begin(), chosen.end(), [](const auto &c) { return c.has_value(); });
    const bool large = bytes.size() > kLargeFont;
    std::string text = "/*\n  Fontname: " + orNull(font.name) + "\n  Copyright: " + orNull(font.copyright)
                       + "\n  Glyphs: " + std::to_string(count) + "/" + std::to_string(font.glyphs.size())
                       + "\n  BBX Build Mode: " + std::to_string(static_cast<int>(mode)) + "\n*/\n"
                       + (large ? "#ifdef U8G2_USE_LARGE_FONTS\n" : "") + "const uint8_t " + std::string(name) + "["
                       + std::to_string(bytes.size()) + "] U8G2_FONT_SECTION(\"" + std::string(name) + "\") = \n";
    // The last byte, always 0, is the string's own end.
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (i % kBytesPerLine == 0)
            text += i == 0 ? "  \"" : "\"\n  \"";
        const std::uint8_t byte = bytes[i];
        const bool plain =
            byte >= 32 && byte < 127
            && std::string_view("\"\\?0123456789").find(static_cast<char>(byte)) == std::string_view::npos;
        if (plain) {
            text += static_cast<char>(byte);
            continue;
        }
        char octal[8];
        std::snprintf(octal, sizeof octal, "\\%o", byte);
        text += octal;
    }
    text += "\";\n";
    if (large)
        text += "#endif /* U8G2_USE_LARGE_FONTS */\n";
    return Result<std::string>::Ok(std::move(text));
}

std::vector<U8g2Source> FindU8g2Fonts(std::string_view source)
{
    std::vector<U8g2Source> fonts;
    Lexer lexer(source);
    std::string name;
    bool inFont = false;
    bool afterEquals = false;
    while (const std::optional<Token> token = lexer.Next()) {
        if (token->kind == TokenKind::Identifier && token->text == "U8G2_FONT_SECTION") {
            inFont = true;
            fonts.push_back({name, {}});
        } else if (token->kind == TokenKind::Identifier && !inFont) {
            name = std::string(token->text);
        } else if (inFont && IsPunctuation(*token, '=')) {
            afterEquals = true;
        } else if (afterEquals && token->kind == TokenKind::String) {
            AppendLiteral(token->text, fonts.back().bytes);
        } else if (afterEquals) {
            fonts.back().bytes.push_back(0);
            inFont = afterEquals = false;
        }
    }
    return fonts;
}

Result<BitmapFont> DecodeU8g2Font(const std::vector<std::uint8_t> &bytes, std::string_view name)
{
    const auto damaged = [name] {
        return Result<BitmapFont>::Failed("The u8g2 font " + std::string(name)
                                          + " ends inside a glyph or its header: its bytes are cut short or damaged.");
    };
    if (bytes.size() < kHeaderSize)
        return damaged();
    FieldBits fields{bytes[4], bytes[5], bytes[6], bytes[7], bytes[8], bytes[2], bytes[3]};
    BitmapFont font;
    font.name = name;
    // The glyphs below 0x100, then past the table, those from 0x100. The
    // first part ends at a size of 0, as u8g2 looks a glyph up there, for
    // code 0 is a glyph of X11's fonts; the second at a code of 0.
    std::size_t at = kHeaderSize;
    for (const bool wide : {false, true}) {
        if (wide) {
            at = kHeaderSize + (static_cast<std::size_t>(bytes[21]) << 8 | bytes[22]);
            if (at + 2 > bytes.size())
                return damaged();
            at += static_cast<std::size_t>(bytes[at]) << 8 | bytes[at + 1];
        }
        const std::size_t codeBytes = wide ? 2 : 1;
        while (at + codeBytes <= bytes.size()) {
            const char32_t code = wide ? static_cast<char32_t>(bytes[at] << 8 | bytes[at + 1]) : bytes[at];
            if (wide && code == 0)
                break;
            if (at + codeBytes >= bytes.size())
                return damaged();
            const std::size_t size = bytes[at + codeBytes];
            if (!wide && size == 0)
                break;
            if (size <= codeBytes)
                return damaged();
            std::optional<BitmapGlyph> glyph = DecodeGlyph(bytes, at + codeBytes + 1, at + size, fields);
            if (!glyph)
                return damaged();
            glyph->codePoint = code;
            font.glyphs.push_back(std::move(*glyph));
            at += size;
        }
        if (at + codeBytes > bytes.size())
            return damaged();
    }
    // The header's ascent is the top of 'A', which a line's other glyphs pass;
    // its font box also holds the blank glyphs' tops, as a space's, which
    // take a line's room though no dot reaches them.
    SetAscentAndDescentFromDots(font);
    // The box's bottom is a signed byte, as u8g2 writes it.
    const int boxBottom = bytes[12] < 0x80 ? bytes[12] : bytes[12] - 0x100;
    font.ascent = std::max(font.ascent, boxBottom + bytes[10]);
    font.descent = std::max(font.descent, -boxBottom);
    return Result<BitmapFont>::Ok(std::move(font));
}

} // namespace tessaldo
