#include "core/formats/DocumentText.h"

#include "core/code/CodeFormats.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <memory>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tessaldo {
namespace {

// The module's 16 x 16 pictures keep the first form, which every earlier
// page reads; pictures of any size take the second, which says their size
// and packs runs of equal bytes, as clear dots mostly come.
constexpr std::string_view kModuleTag = "lcd1";
constexpr std::string_view kSizedTag = "lcd2";
constexpr char kField = '.';
constexpr char kPicture = '~';
constexpr char kBy = 'x';
constexpr std::string_view kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr int kDigitBits = 6;
constexpr int kByteBits = 8;
// PackBits counts: 0 to 127 copy that many bytes and one more; 129 to 255
// repeat the next byte 257 minus that many times (2 to 128).
constexpr std::size_t kLongestPack = 128;
// A font's set adds its metrics: five fields to the head, a sixth for the
// font as opened, and to each glyph one of numbers apart by kNumber, four
// or, with the glyph as read, nine.
constexpr char kNumber = '_';
constexpr std::size_t kFontFields = 5;
constexpr std::size_t kOpenedFields = 6;
constexpr std::size_t kGlyphNumbers = 4;
constexpr std::size_t kReadGlyphNumbers = 9;
constexpr std::size_t kLargestNumber = 999'999'999;
constexpr std::size_t kLastCodePoint = 0x10FFFF;
constexpr unsigned kRepeatBase = 257;

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// Dot 8k+j in bit j of byte k, the last byte's bits past the last dot clear.
std::vector<std::uint8_t> PackedDots(const Dots &dots)
{
    std::vector<std::uint8_t> bytes((dots.size() + kByteBits - 1) / kByteBits);
    for (std::size_t dot = 0; dot < dots.size(); ++dot)
        bytes[dot / kByteBits] |= static_cast<std::uint8_t>(static_cast<unsigned>(dots[dot]) << dot % kByteBits);
    return bytes;
}

// The dots of `size` that PackedDots gave `bytes`; nothing when a bit past the last dot is set.
std::optional<Dots> UnpackedDots(const std::vector<std::uint8_t> &bytes, PictureSize size)
{
    Dots dots(size);
    for (std::size_t bit = 0; bit < bytes.size() * kByteBits; ++bit) {
        const bool set = (bytes[bit / kByteBits] >> bit % kByteBits & 1U) != 0;
        if (bit >= dots.size()) {
            if (set)
                return std::nullopt;
        } else {
            dots[bit] = set ? DotState::Set : DotState::Clear;
        }
    }
    return dots;
}

// Base64url without padding (RFC 4648), which an address never escapes.
std::string Base64(const std::vector<std::uint8_t> &bytes)
{
    std::string digits;
    digits.reserve((bytes.size() * kByteBits + kDigitBits - 1) / kDigitBits);
    unsigned held = 0;
    int bits = 0;
    for (const std::uint8_t byte : bytes) {
        held = (held << kByteBits | byte) & 0xFFFFU;
        for (bits += kByteBits; bits >= kDigitBits; bits -= kDigitBits)
            digits += kDigits[held >> (bits - kDigitBits) & 0x3FU];
    }
    if (bits > 0)
        digits += kDigits[held << (kDigitBits - bits) & 0x3FU];
    return digits;
}

// The bytes, or nothing for a character of no digit or bits left over that are not the clear padding.
std::optional<std::vector<std::uint8_t>> BytesOfBase64(std::string_view digits)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(digits.size() * kDigitBits / kByteBits);
    unsigned held = 0;
    int bits = 0;
    for (const char digit : digits) {
        const std::size_t value = kDigits.find(digit);
        if (value == std::string_view::npos)
            return std::nullopt;
        held = (held << kDigitBits | static_cast<unsigned>(value)) & 0xFFFFU;
        bits += kDigitBits;
        if (bits >= kByteBits) {
            bits -= kByteBits;
            bytes.push_back(static_cast<std::uint8_t>(held >> bits));
        }
    }
    if (bits >= kDigitBits || (held & ((1U << bits) - 1)) != 0)
        return std::nullopt;
    return bytes;
}

// PackBits, as TIFF and the Macintosh wrote it: runs of two or more equal bytes repeated, the rest copied.
std::vector<std::uint8_t> Packed(const std::vector<std::uint8_t> &bytes)
{
    std::vector<std::uint8_t> packed;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t run = 1;
        while (at + run < bytes.size() && run < kLongestPack && bytes[at + run] == bytes[at])
            ++run;
        if (run >= 2) {
            packed.push_back(static_cast<std::uint8_t>(kRepeatBase - run));
            packed.push_back(bytes[at]);
            at += run;
            continue;
        }
        // Copied bytes stop before the next run of two.
        std::size_t copied = 1;
        while (at + copied < bytes.size() && copied < kLongestPack
               && !(at + copied + 1 < bytes.size() && bytes[at + copied] == bytes[at + copied + 1]))
            ++copied;
        packed.push_back(static_cast<std::uint8_t>(copied - 1));
        packed.insert(packed.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      bytes.begin() + static_cast<std::ptrdiff_t>(at + copied));
        at += copied;
    }
    return packed;
}

// Exactly `count` bytes, or nothing when the packed bytes give more, fewer or end within a count.
std::optional<std::vector<std::uint8_t>> Unpacked(const std::vector<std::uint8_t> &packed, std::size_t count)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(count);
    for (std::size_t at = 0; at < packed.size();) {
        const unsigned head = packed[at++];
        const bool repeat = head > kLongestPack;
        const std::size_t length = repeat ? kRepeatBase - head : head + 1;
        const std::size_t taken = repeat ? 1 : length;
        if (head == kLongestPack || at + taken > packed.size() || bytes.size() + length > count)
            return std::nullopt;
        if (repeat)
            bytes.insert(bytes.end(), length, packed[at]);
        else
            bytes.insert(bytes.end(), packed.begin() + static_cast<std::ptrdiff_t>(at),
                         packed.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += taken;
    }
    if (bytes.size() != count)
        return std::nullopt;
    return bytes;
}

std::string DotDigits(const Dots &dots)
{
    return IsModuleSize(dots.Size()) ? Base64(PackedDots(dots)) : Base64(Packed(PackedDots(dots)));
}

std::optional<Dots> DotsFromDigits(std::string_view digits, PictureSize size, bool sized)
{
    const std::optional<std::vector<std::uint8_t>> bytes = BytesOfBase64(digits);
    if (!bytes)
        return std::nullopt;
    const std::size_t count = (static_cast<std::size_t>(size.DotCount()) + kByteBits - 1) / kByteBits;
    if (!sized)
        return bytes->size() == count ? UnpackedDots(*bytes, size) : std::nullopt;
    const std::optional<std::vector<std::uint8_t>> unpacked = Unpacked(*bytes, count);
    return unpacked ? UnpackedDots(*unpacked, size) : std::nullopt;
}

// Digits as written: no sign, no leading zero, nothing after them.
std::optional<std::size_t> Number(std::string_view text, std::size_t most)
{
    if (text.empty() || text.size() > 9 || (text.size() > 1 && text.front() == '0'))
        return std::nullopt;
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > most)
        return std::nullopt;
    return value;
}

// A whole number that may be negative, as a glyph's place against the baseline can be.
std::optional<int> SignedNumber(std::string_view text)
{
    const bool negative = text.starts_with('-');
    const std::optional<std::size_t> value = Number(negative ? text.substr(1) : text, kLargestNumber);
    if (!value)
        return std::nullopt;
    return negative ? -static_cast<int>(*value) : static_cast<int>(*value);
}

std::string NumbersText(const std::vector<int> &values)
{
    std::string text;
    for (const int value : values)
        text.append(text.empty() ? "" : std::string(1, kNumber)).append(std::to_string(value));
    return text;
}

// The numbers NumbersText wrote, or nothing.
std::optional<std::vector<int>> NumbersOf(std::string_view text)
{
    std::vector<int> values;
    for (const std::string_view field : Split(text, kNumber)) {
        const std::optional<int> value = SignedNumber(field);
        if (!value)
            return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

// A font's name and copyright are any text: their UTF-8 bytes in base64url.
std::string WordsDigits(std::string_view words)
{
    return Base64(std::vector<std::uint8_t>(words.begin(), words.end()));
}

std::optional<std::string> WordsOfDigits(std::string_view digits)
{
    const std::optional<std::vector<std::uint8_t>> bytes = BytesOfBase64(digits);
    return bytes ? std::optional<std::string>(std::in_place, bytes->begin(), bytes->end()) : std::nullopt;
}

// The glyph its font gave, as the picture shows it: the dots of `box`, placed
// against the glyph's origin, with `advance`; nothing where the box leaves the picture.
std::optional<BitmapGlyph> GlyphInPicture(const Picture &picture, LcdType type, const GlyphMetrics &metrics,
                                          int advance, FontBox box)
{
    const int left = metrics.originColumn + box.x;
    const int top = metrics.baseline - box.y - box.height;
    const PictureSize size = picture.dots.Size();
    const bool blank = box.width == 0 || box.height == 0;
    if (box.width < 0 || box.height < 0
        || (!blank && (left < 0 || top < 0 || left + box.width > size.width || top + box.height > size.height)))
        return std::nullopt;
    DotGrid grid;
    grid.SetLCDType(type);
    grid.SetAllDots(picture.dots);
    BitmapGlyph glyph{metrics.codePoint, advance, box, {}};
    glyph.dots.reserve(blank ? 0U : static_cast<std::size_t>(box.width) * static_cast<std::size_t>(box.height));
    for (int row = 0; !blank && row < box.height; ++row)
        for (int column = 0; column < box.width; ++column)
            glyph.dots.push_back(grid.IsSet(grid.DotAt({left + column, top + row})) ? 1 : 0);
    return glyph;
}

// A glyph's character, its origin's column, the rows above the baseline and
// its advance, then the glyph as its font gave it (its advance and box, the
// dots being the picture's) while the picture still shows it: "65_0_7_5" or
// "65_0_7_5_5_3_5_1_0". Once edited, a glyph is saved shrunk to its dots,
// whatever its font gave, so that is not kept.
std::string GlyphText(const Picture &picture, LcdType type)
{
    const GlyphMetrics &glyph = *picture.glyph;
    std::string text =
        NumbersText({static_cast<int>(glyph.codePoint), glyph.originColumn, glyph.baseline, glyph.advance});
    const BitmapGlyph *read = glyph.read.get();
    if (read == nullptr || GlyphInPicture(picture, type, glyph, read->advance, read->box) != *read)
        return text;
    return text + kNumber + NumbersText({read->advance, read->box.width, read->box.height, read->box.x, read->box.y});
}

// The glyph's metrics GlyphText wrote of `picture`, or nothing.
std::optional<GlyphMetrics> GlyphOf(std::string_view text, const Picture &picture, LcdType type)
{
    const std::optional<std::vector<int>> values = NumbersOf(text);
    if (!values || (values->size() != kGlyphNumbers && values->size() != kReadGlyphNumbers) || (*values)[0] < 0
        || (*values)[0] > static_cast<int>(kLastCodePoint))
        return std::nullopt;
    const std::vector<int> &number = *values;
    GlyphMetrics glyph{static_cast<char32_t>(number[0]), number[1], number[2], number[3]};
    if (number.size() == kGlyphNumbers)
        return glyph;
    std::optional<BitmapGlyph> read =
        GlyphInPicture(picture, type, glyph, number[4], FontBox{number[5], number[6], number[7], number[8]});
    if (!read)
        return std::nullopt;
    glyph.read = std::make_shared<const BitmapGlyph>(std::move(*read));
    return glyph;
}

// The characters whose glyphs the font's writers take from the font as
// opened though the set leaves them out: u8g2's line metrics measure A (or
// 1), g and the parenthesis, and GFX draws the default character for the
// codes it lacks.
std::vector<char32_t> MeasuredCharacters(const FontMetrics &font)
{
    std::vector<char32_t> characters{U'A', U'1', U'g', U'('};
    if (font.defaultCharacter
        && std::find(characters.begin(), characters.end(), *font.defaultCharacter) == characters.end())
        characters.push_back(*font.defaultCharacter);
    return characters;
}

// The font as opened, kept small however many glyphs it has: its characters
// in its own order as runs of consecutive codes (how many runs, then each
// one's first code and length), then each measured glyph it has, as read:
// its code, advance and box, and its dots eight to a number, dot 8k+j in bit j.
std::string OpenedText(const FontMetrics &font)
{
    std::vector<int> runs;
    for (const BitmapGlyph &glyph : font.opened->glyphs) {
        const auto code = static_cast<int>(glyph.codePoint);
        if (!runs.empty() && runs[runs.size() - 2] + runs.back() == code)
            ++runs.back();
        else
            runs.insert(runs.end(), {code, 1});
    }
    std::vector<int> numbers{static_cast<int>(runs.size() / 2)};
    numbers.insert(numbers.end(), runs.begin(), runs.end());
    for (const char32_t character : MeasuredCharacters(font)) {
        const BitmapGlyph *glyph = font.opened->Find(character);
        if (glyph == nullptr)
            continue;
        numbers.insert(numbers.end(), {static_cast<int>(glyph->codePoint), glyph->advance, glyph->box.width,
                                       glyph->box.height, glyph->box.x, glyph->box.y});
        for (std::size_t dot = 0; dot < glyph->dots.size(); dot += kByteBits) {
            unsigned byte = 0;
            for (std::size_t bit = 0; bit < kByteBits && dot + bit < glyph->dots.size(); ++bit)
                byte |= (glyph->dots[dot + bit] != 0 ? 1U : 0U) << bit;
            numbers.push_back(static_cast<int>(byte));
        }
    }
    return kField + NumbersText(numbers);
}

// The font OpenedText wrote, or nothing: each glyph it did not write blank,
// as the writers take only such a glyph's character.
std::shared_ptr<const BitmapFont> OpenedOf(std::string_view text)
{
    constexpr std::size_t kGlyphHead = 6; // code, advance and box
    constexpr int kLargestByte = 255;
    const std::optional<std::vector<int>> values = NumbersOf(text);
    if (!values || (*values)[0] < 0 || values->size() < 1 + (2 * static_cast<std::size_t>((*values)[0])))
        return nullptr;
    const std::vector<int> &number = *values;
    auto font = std::make_shared<BitmapFont>();
    const std::size_t glyphsAt = 1 + (2 * static_cast<std::size_t>(number[0]));
    for (std::size_t at = 1; at < glyphsAt; at += 2) {
        const int first = number[at];
        const int length = number[at + 1];
        if (first < 0 || length < 1
            || static_cast<std::size_t>(first) + static_cast<std::size_t>(length) > kLastCodePoint + 1
            || font->glyphs.size() + static_cast<std::size_t>(length) > kLastCodePoint + 1)
            return nullptr;
        for (int code = first; code < first + length; ++code)
            font->glyphs.emplace_back().codePoint = static_cast<char32_t>(code);
    }
    for (std::size_t at = glyphsAt; at < number.size();) {
        if (number.size() - at < kGlyphHead)
            return nullptr;
        BitmapGlyph glyph;
        glyph.codePoint = static_cast<char32_t>(number[at]);
        glyph.advance = number[at + 1];
        glyph.box = {number[at + 2], number[at + 3], number[at + 4], number[at + 5]};
        at += kGlyphHead;
        const auto blank = std::find_if(font->glyphs.begin(), font->glyphs.end(), [&glyph](const BitmapGlyph &held) {
            return held.codePoint == glyph.codePoint;
        });
        if (blank == font->glyphs.end() || glyph.box.width < 0 || glyph.box.height < 0 || glyph.box.width > kLargestSide
            || glyph.box.height > kLargestSide)
            return nullptr;
        const std::size_t dots = static_cast<std::size_t>(glyph.box.width) * static_cast<std::size_t>(glyph.box.height);
        const std::size_t bytes = (dots + kByteBits - 1) / kByteBits;
        if (number.size() - at < bytes
            || std::any_of(number.begin() + static_cast<std::ptrdiff_t>(at),
                           number.begin() + static_cast<std::ptrdiff_t>(at + bytes),
                           [](int byte) { return byte < 0 || byte > kLargestByte; }))
            return nullptr;
        for (std::size_t dot = 0; dot < dots; ++dot)
            glyph.dots.push_back(
                static_cast<std::uint8_t>(static_cast<unsigned>(number[at + dot / kByteBits]) >> dot % kByteBits & 1U));
        at += bytes;
        *blank = std::move(glyph);
    }
    return font;
}

// The font's fields of the head: its name, copyright, ascent, descent,
// default character ("" for none) and the preview's sample line, then the
// font as opened where the set keeps it.
std::string FontText(const FontMetrics &font)
{
    return std::string(1, kField) + WordsDigits(font.name) + kField + WordsDigits(font.copyright) + kField
           + NumbersText({font.ascent, font.descent}) + kField
           + (font.defaultCharacter ? std::to_string(static_cast<std::uint32_t>(*font.defaultCharacter)) : "") + kField
           + WordsDigits(font.sample) + (font.opened ? OpenedText(font) : "");
}

std::optional<FontMetrics> FontOf(std::span<const std::string_view> fields)
{
    std::optional<std::string> name = WordsOfDigits(fields[0]);
    std::optional<std::string> copyright = WordsOfDigits(fields[1]);
    std::optional<std::string> sample = WordsOfDigits(fields[4]);
    const std::optional<std::vector<int>> line = NumbersOf(fields[2]);
    const std::optional<std::size_t> fallback = Number(fields[3], kLastCodePoint);
    if (!name || !copyright || !sample || !line || line->size() != 2 || (!fields[3].empty() && !fallback))
        return std::nullopt;
    FontMetrics font{std::move(*name), std::move(*copyright), (*line)[0], (*line)[1]};
    font.sample = std::move(*sample);
    if (fallback)
        font.defaultCharacter = static_cast<char32_t>(*fallback);
    if (fields.size() == kOpenedFields) {
        font.opened = OpenedOf(fields[kFontFields]);
        if (!font.opened)
            return std::nullopt;
    }
    return font;
}

std::string Place(std::size_t index)
{
    return "picture " + std::to_string(index + 1);
}

// How the pictures' dots are written: their size, and whether packed (the second form).
struct DotsForm {
    PictureSize size;
    bool sized = false;
    LcdType type = LcdType::Column;
};

std::string ReadPicture(std::string_view text, std::size_t index, const DotsForm &form, Picture &picture)
{
    const std::vector<std::string_view> fields = Split(text, kField);
    if (fields.size() != 3 && fields.size() != 4)
        return Place(index) + " is not a name, a delay and dots";
    picture.name = std::string(fields[0]);
    if (const std::string broken = NameRuleBroken(picture.name); !broken.empty())
        return "the name of " + Place(index) + " " + broken;
    const std::optional<std::size_t> delay = Number(fields[1], kLongestDelayMs);
    if (!delay)
        return "the delay of " + Place(index) + " is not from 0 to " + std::to_string(kLongestDelayMs) + " ms";
    picture.delayMs = static_cast<int>(*delay);
    std::optional<Dots> dots = DotsFromDigits(fields[2], form.size, form.sized);
    if (!dots)
        return "the dots of " + Place(index) + " are damaged";
    picture.dots = std::move(*dots);
    if (fields.size() == 4) {
        picture.glyph = GlyphOf(fields[3], picture, form.type);
        if (!picture.glyph)
            return "the glyph metrics of " + Place(index) + " are damaged";
    }
    return {};
}

std::string NamesClash(const std::vector<Picture> &pictures)
{
    std::unordered_map<std::string, const std::string *> withoutCase;
    for (const Picture &picture : pictures) {
        const auto [earlier, added] = withoutCase.emplace(LowerCase(picture.name), &picture.name);
        if (!added)
            return "two pictures are named " + *earlier->second + " and " + picture.name;
    }
    return {};
}

bool IsHead(std::string_view text)
{
    return text.starts_with(kModuleTag) || text.starts_with(kSizedTag);
}

// "128x64" as the second form writes it.
std::optional<PictureSize> SizeFrom(std::string_view text)
{
    const std::size_t by = text.find(kBy);
    if (by == std::string_view::npos)
        return std::nullopt;
    const auto largest = static_cast<std::size_t>(kLargestSide);
    const std::optional<std::size_t> width = Number(text.substr(0, by), largest);
    const std::optional<std::size_t> height = Number(text.substr(by + 1), largest);
    if (!width || !height || *width == 0 || *height == 0)
        return std::nullopt;
    return PictureSize{static_cast<int>(*width), static_cast<int>(*height)};
}

// Fills the document's own values and the form of its dots from the first
// part; the reason it cannot, or "".
std::string ReadHead(std::string_view head, std::size_t count, Document &document, DotsForm &form)
{
    const std::vector<std::string_view> fields = Split(head, kField);
    form.sized = !fields.empty() && fields[0] == kSizedTag;
    const std::size_t own = form.sized ? 5U : 4U;
    if ((fields.size() != own && fields.size() != own + kFontFields && fields.size() != own + kOpenedFields)
        || (!form.sized && fields[0] != kModuleTag))
        return "it does not begin as a Tessaldo picture does";
    if (fields.size() > own) {
        document.font = FontOf(std::span(fields).subspan(own));
        if (!document.font)
            return "the metrics of its font are damaged";
    }
    if (fields[1] != "0" && fields[1] != "1")
        return "its LCD type is neither 0 nor 1";
    document.type = fields[1] == "1" ? LcdType::Row : LcdType::Column;
    form.type = document.type;
    if (fields[2] != "p" && fields[2] != "f")
        return "its set is neither pictures (p) nor frames (f)";
    document.form = fields[2] == "f" ? SetForm::Frames : SetForm::Pictures;
    const std::optional<std::size_t> current = Number(fields[3], count - 1);
    if (!current)
        return "the picture it edits is none of its " + std::to_string(count);
    document.current = *current;
    if (!form.sized)
        return {};
    const std::optional<PictureSize> size = SizeFrom(fields[4]);
    if (!size)
        return "its size is not from 1 x 1 to " + PictureSizeText({kLargestSide, kLargestSide}) + " dots";
    form.size = *size;
    return {};
}

} // namespace

std::string WriteDocumentText(const Document &document)
{
    return DocumentHead(document) + PicturesText(document.pictures, document.type);
}

std::string DocumentHead(const Document &document)
{
    const PictureSize size = document.Size();
    const bool sized = !IsModuleSize(size);
    std::string head = std::string(sized ? kSizedTag : kModuleTag) + kField
                       + std::to_string(LcdTypeValue(document.type)) + kField
                       + (document.form == SetForm::Frames ? "f" : "p") + kField + std::to_string(document.current);
    if (sized)
        head += kField + std::to_string(size.width) + kBy + std::to_string(size.height);
    return document.font ? head + FontText(*document.font) : head;
}

std::string PicturesText(std::span<const Picture> pictures, LcdType type)
{
    std::string text;
    for (const Picture &picture : pictures)
        text.append(1, kPicture)
            .append(picture.name)
            .append(1, kField)
            .append(std::to_string(picture.delayMs))
            .append(1, kField)
            .append(DotDigits(picture.dots))
            .append(picture.glyph ? kField + GlyphText(picture, type) : std::string());
    return text;
}

std::vector<TextPart> PartWriter::Changed(const Document &document)
{
    std::vector<TextPart> changed;
    if (std::string head = DocumentHead(document); head != m_head) {
        m_head = head;
        changed.push_back({0, std::move(head)});
    }
    const std::span<const Picture> pictures(document.pictures);
    m_written.resize((pictures.size() + kPicturesPerPart - 1) / kPicturesPerPart);
    for (std::size_t part = 0; part < m_written.size(); ++part) {
        const std::span<const Picture> these = pictures.subspan(
            part * kPicturesPerPart, std::min(kPicturesPerPart, pictures.size() - part * kPicturesPerPart));
        if (std::equal(these.begin(), these.end(), m_written[part].begin(), m_written[part].end()))
            continue;
        m_written[part].assign(these.begin(), these.end());
        changed.push_back({part + 1, PicturesText(these, document.type)});
    }
    return changed;
}

void PartWriter::Forget()
{
    m_head.clear();
    m_written.clear();
}

DocumentReading ReadDocumentText(std::string_view text)
{
    const std::vector<std::string_view> parts = Split(text, kPicture);
    if (parts.size() < 2)
        return {std::nullopt,
                IsHead(parts.front()) ? "it holds no picture" : "it does not begin as a Tessaldo picture does"};
    Document document;
    document.pictures.assign(parts.size() - 1, Picture{});
    DotsForm form;
    if (std::string problem = ReadHead(parts.front(), document.pictures.size(), document, form); !problem.empty())
        return {std::nullopt, std::move(problem)};
    for (std::size_t i = 0; i < document.pictures.size(); ++i) {
        if (std::string problem = ReadPicture(parts[i + 1], i, form, document.pictures[i]); !problem.empty())
            return {std::nullopt, std::move(problem)};
    }
    if (std::string problem = NamesClash(document.pictures); !problem.empty())
        return {std::nullopt, std::move(problem)};
    return {std::move(document), {}};
}

std::string WriteKeptText(const Document &document, const Document &saved)
{
    const std::string text = WriteDocumentText(document);
    return document.SameSet(saved) ? text : text + "\n" + WriteDocumentText(saved);
}

KeptReading ReadKeptText(std::string_view text)
{
    const std::size_t lineEnd = text.find('\n');
    DocumentReading document = ReadDocumentText(text.substr(0, lineEnd));
    DocumentReading saved = lineEnd == std::string_view::npos ? document : ReadDocumentText(text.substr(lineEnd + 1));
    const std::string &problem = document.document ? saved.problem : document.problem;
    if (!problem.empty())
        return {std::nullopt, {}, "The work kept in this browser from the last visit cannot be read: " + problem + "."};
    return {std::move(document.document), std::move(*saved.document), {}};
}

} // namespace tessaldo
