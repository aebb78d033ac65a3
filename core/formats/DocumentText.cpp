#include "core/formats/DocumentText.h"

#include "core/code/CodeFormats.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>
#include <vector>

namespace tessaldo {
namespace {

constexpr std::string_view kTag = "lcd1";
constexpr char kField = '.';
constexpr char kPicture = '~';
constexpr std::string_view kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr std::size_t kDotBytes = kDotCount / 8;
// 32 bytes are 256 bits, six to a character: 43 characters, the last holding 4 bits.
constexpr std::size_t kDotDigits = (kDotBytes * 8 + 5) / 6;

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

std::string DotDigits(const DotGrid::Dots &dots)
{
    std::string digits;
    digits.reserve(kDotDigits);
    for (std::size_t bit = 0; bit < dots.size(); bit += 6) {
        unsigned value = 0;
        // Within each byte the lowest dot is bit 0, and bytes go first to last, most significant bit first.
        for (std::size_t i = bit; i < bit + 6; ++i) {
            const std::size_t dot = i / 8 * 8 + (7 - i % 8);
            value = value << 1 | (i < dots.size() && dots[dot] == DotState::Set ? 1U : 0U);
        }
        digits += kDigits[value];
    }
    return digits;
}

std::optional<DotGrid::Dots> DotsFromDigits(std::string_view digits)
{
    if (digits.size() != kDotDigits)
        return std::nullopt;
    DotGrid::Dots dots{};
    for (std::size_t at = 0; at < digits.size(); ++at) {
        const std::size_t value = kDigits.find(digits[at]);
        if (value == std::string_view::npos)
            return std::nullopt;
        for (std::size_t i = at * 6; i < at * 6 + 6; ++i) {
            const bool set = (value >> (5 - (i - at * 6)) & 1U) != 0;
            if (i >= dots.size()) {
                // Bits past the last dot are written 0; any other means the text was changed.
                if (set)
                    return std::nullopt;
                continue;
            }
            dots[i / 8 * 8 + (7 - i % 8)] = set ? DotState::Set : DotState::Clear;
        }
    }
    return dots;
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

std::string Place(std::size_t index)
{
    return "picture " + std::to_string(index + 1);
}

std::string ReadPicture(std::string_view text, std::size_t index, Picture &picture)
{
    const std::vector<std::string_view> fields = Split(text, kField);
    if (fields.size() != 3)
        return Place(index) + " is not a name, a delay and dots";
    picture.name = std::string(fields[0]);
    if (const std::string broken = NameRuleBroken(picture.name); !broken.empty())
        return "the name of " + Place(index) + " " + broken;
    const std::optional<std::size_t> delay = Number(fields[1], kLongestDelayMs);
    if (!delay)
        return "the delay of " + Place(index) + " is not from 0 to " + std::to_string(kLongestDelayMs) + " ms";
    picture.delayMs = static_cast<int>(*delay);
    const std::optional<DotGrid::Dots> dots = DotsFromDigits(fields[2]);
    if (!dots)
        return "the dots of " + Place(index) + " are damaged";
    picture.dots = *dots;
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

// Fills the document's own values from the first part; the reason it cannot, or "".
std::string ReadHead(std::string_view head, std::size_t count, Document &document)
{
    const std::vector<std::string_view> fields = Split(head, kField);
    if (fields.size() != 4 || fields[0] != kTag)
        return "it does not begin as a Tessaldo picture does";
    if (fields[1] != "0" && fields[1] != "1")
        return "its LCD type is neither 0 nor 1";
    document.type = fields[1] == "1" ? LcdType::Row : LcdType::Column;
    if (fields[2] != "p" && fields[2] != "f")
        return "its set is neither pictures (p) nor frames (f)";
    document.form = fields[2] == "f" ? SetForm::Frames : SetForm::Pictures;
    const std::optional<std::size_t> current = Number(fields[3], count - 1);
    if (!current)
        return "the picture it edits is none of its " + std::to_string(count);
    document.current = *current;
    return {};
}

} // namespace

std::string WriteDocumentText(const Document &document)
{
    return DocumentHead(document) + PicturesText(document.pictures);
}

std::string DocumentHead(const Document &document)
{
    return std::string(kTag) + kField + std::to_string(LcdTypeValue(document.type)) + kField
           + (document.form == SetForm::Frames ? "f" : "p") + kField + std::to_string(document.current);
}

std::string PicturesText(std::span<const Picture> pictures)
{
    std::string text;
    for (const Picture &picture : pictures)
        text.append(1, kPicture)
            .append(picture.name)
            .append(1, kField)
            .append(std::to_string(picture.delayMs))
            .append(1, kField)
            .append(DotDigits(picture.dots));
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
        changed.push_back({part + 1, PicturesText(these)});
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
        return {std::nullopt, parts.front().starts_with(kTag) ? "it holds no picture"
                                                              : "it does not begin as a Tessaldo picture does"};
    Document document;
    document.pictures.assign(parts.size() - 1, Picture{});
    if (std::string problem = ReadHead(parts.front(), document.pictures.size(), document); !problem.empty())
        return {std::nullopt, std::move(problem)};
    for (std::size_t i = 0; i < document.pictures.size(); ++i) {
        if (std::string problem = ReadPicture(parts[i + 1], i, document.pictures[i]); !problem.empty())
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
