#include "core/formats/DrawingFile.h"

#include "core/code/CodeFormats.h"
#include "core/formats/BitmapFiles.h"
#include "core/formats/SetFiles.h"
#include "core/model/PictureName.h"
#include "core/platform/FileIo.h"

#include <algorithm>
#include <utility>

namespace tessaldo {
namespace {

constexpr char kClearChar = '1';
constexpr char kSetChar = '0';

struct Line {
    std::string_view text;
    bool terminated = false; // a line end followed it
    std::string_view rest;   // the bytes after its line end
};

Line FirstLine(std::string_view bytes)
{
    // Two single-character searches: find_first_of("\r\n") would call memchr once per byte.
    const std::size_t end = std::min(bytes.find('\r'), bytes.find('\n'));
    if (end == std::string_view::npos)
        return {bytes, false, {}};
    std::size_t next = end + 1;
    if (bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n')
        ++next;
    return {bytes.substr(0, end), true, bytes.substr(next)};
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The value a type line gives, rounded to the nearest integer with half-way
// cases going to the even neighbour (1.5 and 2.5 both give 2): leading blanks
// skipped, an optional sign, a decimal number with an optional fraction;
// anything that does not start like a number counts as 0. A type line is
// shorter than a dot line, so the digits always fit; they are worked out
// exactly, without floating point.
long long RoundedTypeLineValue(std::string_view line)
{
    std::size_t pos = line.find_first_not_of(" \t");
    if (pos == std::string_view::npos)
        return 0;
    bool negative = false;
    if (line[pos] == '+' || line[pos] == '-') {
        negative = line[pos] == '-';
        ++pos;
    }
    long long whole = 0;
    std::size_t digits = 0;
    for (; pos < line.size() && IsDigit(line[pos]); ++pos, ++digits)
        whole = whole * 10 + (line[pos] - '0');
    std::string_view fraction;
    if (pos < line.size() && line[pos] == '.') {
        const std::size_t start = ++pos;
        while (pos < line.size() && IsDigit(line[pos]))
            ++pos;
        fraction = line.substr(start, pos - start);
    }
    if (digits + fraction.size() == 0)
        return 0;
    const bool pastHalf = !fraction.empty() && fraction[0] > '5';
    const bool half = !fraction.empty() && fraction[0] == '5';
    const bool moreAfterHalf = half && fraction.find_first_not_of('0', 1) != std::string_view::npos;
    if (pastHalf || moreAfterHalf || (half && whole % 2 == 1))
        ++whole;
    return negative ? -whole : whole;
}

// Dots 0..254 become Set where their character is missing, as the earlier
// versions read them; dot 255 becomes Clear when its character is missing,
// so that an old file loads the same whatever was drawn before.
DotGrid::Dots DotsFromLine(std::string_view line)
{
    DotGrid::Dots dots;
    const std::size_t present = std::min(line.size(), dots.size());
    for (std::size_t i = 0; i < present; ++i)
        dots[i] = static_cast<DotState>(line[i] == kSetChar); // no branch on picture data
    std::fill(dots.begin() + static_cast<std::ptrdiff_t>(present), dots.end(), DotState::Set);
    if (line.size() < dots.size())
        dots.back() = DotState::Clear;
    return dots;
}

// Every file a version of the program ever wrote holds only '0' and '1' on
// its dot line; anything else among the characters read is some other kind
// of file, and reading it as dots would pass junk off as a picture.
std::optional<std::string> NotADrawing(std::string_view line)
{
    const std::string_view read = line.substr(0, kDotLineLength);
    const auto stray = std::find_if(read.begin(), read.end(), [](char c) { return c != kClearChar && c != kSetChar; });
    if (stray == read.end())
        return std::nullopt;
    const auto byte = static_cast<unsigned char>(*stray);
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string shown = byte >= 0x20 && byte < 0x7F
                                  ? "\"" + std::string(1, *stray) + "\""
                                  : std::string("the byte 0x") + kHex[byte >> 4] + kHex[byte & 15];
    return "it is not a drawing file (character " + std::to_string(stray - read.begin() + 1) + " of the dot line is "
           + shown + "; a drawing holds only 0 and 1)";
}

ParsedDrawing FromDotLine(std::optional<LcdType> type, std::string_view line, const ReadFrom &from)
{
    if (std::optional<std::string> problem = NotADrawing(line))
        return ParsedDrawing::Failed(from.Refusal(*problem));
    return ParsedDrawing::Ok(Drawing{type, DotsFromLine(line)});
}

// The digits of a file named STEM-digits.Lcd, or nothing for any other name.
std::optional<std::string> FrameNumber(const std::string &name, const std::string &stem, std::string_view suffix)
{
    const std::string prefix = stem + "-";
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) || !name.ends_with(suffix))
        return std::nullopt;
    std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return digits;
}

} // namespace

ParsedDrawing ParseDrawing(std::string_view bytes, const ReadFrom &from)
{
    if (bytes.starts_with(kUtf8ByteOrderMark))
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    if (bytes.empty())
        return ParsedDrawing::Failed(from.Refusal("the file is empty"));
    const Line first = FirstLine(bytes);
    if (first.text.size() >= kLegacyLineMinLength)
        return FromDotLine(std::nullopt, first.text, from);

    const long long value = RoundedTypeLineValue(first.text);
    const std::optional<LcdType> type = LcdTypeFromValue(static_cast<double>(value));
    if (!type)
        return ParsedDrawing::Failed(
            from.Refusal("its type line gives " + std::to_string(value) + ", but the LCD type must be 0 or 1"));
    if (!first.terminated || first.rest.empty())
        return ParsedDrawing::Failed(from.Refusal("the file ends after the type line, before the dot line"));
    return FromDotLine(type, FirstLine(first.rest).text, from);
}

std::string FormatDrawing(const DotGrid &grid)
{
    std::string bytes;
    bytes.reserve(2 + 2 + kDotLineLength + 2);
    // The type is written with a sign position, as version 1.0 wrote numbers.
    bytes += ' ';
    bytes += static_cast<char>('0' + LcdTypeValue(grid.nLCDType()));
    bytes += "\r\n";
    for (int dot = 0; dot < kDotCount; ++dot)
        bytes += grid.IsClear(dot) ? kClearChar : kSetChar;
    bytes += "\r\n";
    return bytes;
}

void ApplyDrawing(DotGrid &grid, Drawing drawing)
{
    if (drawing.type)
        grid.SetLCDType(*drawing.type);
    grid.SetAllDots(std::move(drawing.dots));
}

FileStatus ReadDrawingFile(const std::filesystem::path &szFilePath, Drawing &drawing)
{
    std::string bytes;
    if (FileStatus read = ReadFileStart(szFilePath, kDrawingBytesRead, bytes); !read)
        return read;
    const ParsedDrawing parsed = ParseDrawing(bytes, ReadFrom::File(szFilePath));
    if (!parsed)
        return FileStatus::Failed(parsed.message());
    drawing = parsed.value();
    return FileStatus::Ok();
}

std::filesystem::path FrameFileName(const std::string &stem, std::size_t index, std::size_t count,
                                    std::string_view suffix)
{
    const std::string name = stem + "-" + FrameNumberText(index, count) + std::string(suffix); // UTF-8
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::vector<std::filesystem::path> OtherFrames(const std::filesystem::path &folder, const std::string &stem,
                                               std::size_t count, std::string_view suffix)
{
    std::vector<std::filesystem::path> others;
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator(folder, error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::optional<std::string> number = FrameNumber(DisplayPath(entry->path().filename()), stem, suffix);
        const bool written = number && number->size() == FrameDigits(count)
                             && std::stoull(*number) < static_cast<unsigned long long>(count);
        std::error_code kind;
        if (number && !written && entry->is_regular_file(kind))
            others.push_back(entry->path());
    }
    std::sort(others.begin(), others.end());
    return others;
}

std::string FrameNames(const std::vector<std::filesystem::path> &frames)
{
    constexpr std::size_t kNamed = 4;
    const std::size_t named = frames.size() <= kNamed ? frames.size() : kNamed - 1;
    std::string names;
    for (std::size_t i = 0; i < named; ++i)
        names += (i == 0 ? "" : i + 1 == frames.size() ? " and " : ", ") + DisplayPath(frames[i].filename());
    if (named < frames.size())
        names += " and " + std::to_string(frames.size() - named) + " more";
    return names;
}

FileStatus RemoveFrames(const std::vector<std::filesystem::path> &frames)
{
    for (const std::filesystem::path &frame : frames) {
        std::error_code error;
        if (!std::filesystem::remove(frame, error) && error)
            return FileStatus::Failed("Cannot remove \"" + DisplayPath(frame) + "\": " + error.message() + ".");
    }
    return FileStatus::Ok();
}

FileStatus SaveFile(const DotGrid &grid, const std::filesystem::path &szFilePath)
{
    return WriteFileAtomically(szFilePath, FormatDrawing(grid));
}

FileStatus OpenFile(DotGrid &grid, const std::filesystem::path &szFilePath)
{
    Drawing drawing;
    FileStatus read = ReadDrawingFile(szFilePath, drawing);
    if (read)
        ApplyDrawing(grid, drawing);
    return read;
}

ParsedDrawing ParsePicture(std::string_view bytes, const ReadFrom &from, LcdType type)
{
    if (!IsBitmapFile(bytes.substr(0, kPictureKindBytes)))
        return ParseDrawing(bytes.substr(0, kDrawingBytesRead), from);
    BitmapRead read = ReadPictureBitmap(bytes);
    if (!read.problem.empty())
        return ParsedDrawing::Failed(from.Refusal(read.problem));
    return ParsedDrawing::Ok(Drawing{std::nullopt, DotsOfBitmap(std::move(read.bitmap), type)});
}

FileStatus ReadPictureFile(const std::filesystem::path &path, Drawing &drawing, LcdType type)
{
    std::string bytes;
    if (FileStatus read = ReadFileStart(path, kPictureKindBytes, bytes); !read)
        return read;
    // A file named as a bitmap that does not start as one is refused in its
    // format's words, not as the drawing file it is not either.
    const std::optional<PictureFormat> named = PictureFormatOfName(DisplayPath(path.filename()));
    if (!IsBitmapFile(bytes) && (named == PictureFormat::Pbm || named == PictureFormat::Xbm))
        return FileStatus::Failed(ReadFrom::File(path).Refusal(
            named == PictureFormat::Pbm ? "it is no PBM, which starts with P1 or P4"
                                        : "it is no XBM, which starts with #define NAME_width"));
    // A bitmap is read whole; a drawing file's first bytes are all there is to it.
    if (IsBitmapFile(bytes)) {
        if (FileStatus read = ReadFileStart(path, kMaxSourceBytes + 1, bytes); !read)
            return read;
        if (FileStatus small = CheckSourceSize(path, bytes.size()); !small)
            return small;
    }
    ParsedDrawing parsed = ParsePicture(bytes, ReadFrom::File(path), type);
    if (!parsed)
        return FileStatus::Failed(parsed.message());
    drawing = std::move(parsed.value()); // a picture of up to a million dots
    return FileStatus::Ok();
}

Result<std::string> PictureFileBytes(const DotGrid &grid, const std::filesystem::path &name)
{
    const std::optional<PictureFormat> asked = PictureFormatOfName(DisplayPath(name.filename()));
    if (asked == PictureFormat::Xbm)
        return Result<std::string>::Ok(XbmText(grid, NameFromFileName(name)));
    if (asked == PictureFormat::Pbm)
        return Result<std::string>::Ok(PlainPbmText(grid));
    if (IsModuleSize(grid.Size()))
        return Result<std::string>::Ok(FormatDrawing(grid));
    if (asked == PictureFormat::Drawing)
        return Result<std::string>::Failed(
            SaveFailed(name, "the picture is " + PictureSizeText(grid.Size())
                                 + ", and a .Lcd file holds a 16 x 16 picture; name the file .pbm or .xbm")
                .message());
    return Result<std::string>::Ok(PlainPbmText(grid));
}

FileStatus SavePicture(const DotGrid &grid, const std::filesystem::path &path)
{
    const Result<std::string> bytes = PictureFileBytes(grid, path);
    return bytes ? WriteFileAtomically(path, bytes.value()) : FileStatus::Failed(bytes.message());
}

} // namespace tessaldo
