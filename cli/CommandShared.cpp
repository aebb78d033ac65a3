#include "CommandShared.h"

#include "core/code/CodeFormats.h"
#include "core/code/CodeReader.h"
#include "core/code/LayoutGuess.h"
#include "core/formats/BitmapFiles.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/ImageHeader.h"
#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/formats/SetMerge.h"
#include "core/platform/FileIo.h"
#include "core/platform/PlatformFile.h"
#include "core/session/Incoming.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <utility>

namespace tessaldo {
namespace {

// Enough of a file for an image's declared size, past a JPEG's EXIF block.
constexpr std::size_t kImageStartBytes = std::size_t{64} * 1024;

// Standard input gets the same reading as a file: only the start counts,
// and all of a bitmap. The rest is read and dropped, as far as a source may
// go, so that the program writing into the pipe is not cut off and one that
// never ends is.
FileStatus ReadPictureFromStream(std::istream &in, Drawing &drawing, LcdType type)
{
    std::string bytes(kPictureKindBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (IsBitmapFile(bytes)) {
        std::string rest;
        if (FileStatus read = ReadSource(std::string(kStandardStream), in, rest); !read)
            return read;
        bytes += rest;
        if (bytes.size() > kMaxSourceBytes)
            return FileStatus::Failed(ReadFrom::StandardInput().Refusal("it is larger than 16 MiB"));
    }
    in.ignore(static_cast<std::streamsize>(kMaxSourceBytes));
    ParsedDrawing parsed = ParsePicture(bytes, ReadFrom::StandardInput(), type);
    if (!parsed)
        return FileStatus::Failed(parsed.message());
    drawing = std::move(parsed.value());
    return FileStatus::Ok();
}
std::string CommandLine(const std::vector<std::string> &args)
{
    std::string line = "tessaldo-cli";
    for (const std::string &arg : args)
        line += " " + arg;
    return line;
}

bool IsDrawingFileName(const std::string &file)
{
    return EndsInDrawingSuffix(DisplayPath(std::filesystem::path(file).extension()));
}

// Whether `out` is the file `input` reads, '-' being standard input.
bool IsInputFile(const std::filesystem::path &out, const std::string &input)
{
    return input == kStandardStream ? IsStandardInputFile(out) : IsSameFile(out, input);
}

// The pictures of C source at every size its code tells, as decode reads
// them: what header and font take from a source whose pictures are not all
// 16 x 16 (an XBM, a sketch's bitmaps, code --format gfx). Nothing when it
// holds none, or one that does not read.
std::optional<SetPart> SizedSourcePictures(const std::string &file, std::string_view text, LcdType typeIfUnsaid,
                                           const CommandLineDefines &defines, std::ostream &err)
{
    const SetCode code = FindSetPictures(text, {}, defines, {true, std::nullopt});
    const std::vector<CodePicture> &found = code.reading.pictures;
    if (found.empty() || NameSharedByTwo(code.reading)
        || std::ranges::any_of(found, [](const CodePicture &picture) { return !picture.problem.empty(); }))
        return std::nullopt;
    SetPart part{SourceName(file), {}, code.type, std::nullopt};
    const LcdType type = code.type.value_or(typeIfUnsaid);
    for (const CodePicture &picture : found) {
        std::string guessed;
        part.pictures.push_back({.name = picture.name,
                                 .dots = IsModuleSize(picture.size) ? DotsOfPicture(picture.bytes, picture.layout, type)
                                                                    : SizedDots(picture.sizedBytes, picture.size,
                                                                                picture.layout, type, guessed)});
    }
    NotePassedOver(PassedOverLines(SourceName(file), code.reading.passedOver, code.reading.firstPassedOver), err);
    return part;
}

} // namespace

Dots SizedDots(const std::vector<std::uint8_t> &bytes, PictureSize size, std::optional<BitLayout> layout, LcdType type,
               std::string &guessed)
{
    if (layout)
        return DotsFromSizedLayoutBytes(bytes, *layout, type, size);
    const LayoutCandidate likeliest = RankSizedLayouts(bytes, {&size, 1}, type).front();
    guessed = CandidateName(likeliest);
    return likeliest.dots;
}

// One row of the picture as the window shows it, '#' set and '.' clear.
std::string ShownRow(const DotGrid::Dots &dots, LcdType type, int row)
{
    std::string line;
    for (int column = 0; column < dots.Size().width; ++column)
        line +=
            dots.at(static_cast<std::size_t>(DotAtCell(type, {column, row}, dots.Size()))) == DotState::Set ? '#' : '.';
    return line;
}
void NotePassedOver(const std::string &lines, std::ostream &err)
{
    if (!lines.empty())
        err << lines << '\n';
}

// The array's name: the one asked for, else the file's.
std::string ArrayName(const std::string &file)
{
    return file == kStandardStream ? "picture" : NameFromFileName(std::filesystem::path(file));
}

// --define NAME[=VALUE], each as a compiler's -D: NAME alone is NAME=1.
CommandLineDefines ReadDefines(const Arguments &arguments)
{
    CommandLineDefines defines;
    for (const std::string &define : arguments.Values("--define")) {
        const std::size_t equals = define.find('=');
        const std::string name = define.substr(0, equals);
        if (!IsUsableName(name))
            throw UsageError("--define must be NAME or NAME=VALUE with NAME a C identifier, not '" + define + "'");
        defines.insert_or_assign(name, equals == std::string::npos ? "1" : define.substr(equals + 1));
    }
    return defines;
}

void ExpectPictureName(const Arguments &arguments, const std::string &out, std::span<const PictureFormat> written,
                       std::string_view alsoWritten)
{
    const std::optional<PictureFormat> asked = PictureFormatOfName(out);
    if (out == kStandardStream || (asked && std::ranges::find(written, *asked) != written.end()))
        return;
    std::vector<std::string> endings;
    for (const PictureFormat format : written)
        endings.emplace_back(PictureFormatSuffix(format));
    if (!alsoWritten.empty())
        endings.emplace_back(alsoWritten);
    std::string suffixes;
    for (std::size_t i = 0; i < endings.size(); ++i)
        suffixes += (i == 0 ? "" : i + 1 == endings.size() ? " or " : ", ") + endings[i];
    throw UsageError("OUT must end in " + suffixes + ", the files " + arguments.operands[0] + " writes, not '" + out
                     + "'");
}

FileStatus LoadFresh(const std::string &file, std::istream &in, DotGrid &grid)
{
    Drawing drawing;
    grid = DotGrid{};
    const LcdType type = grid.nLCDType();
    FileStatus read =
        file == kStandardStream ? ReadPictureFromStream(in, drawing, type) : ReadPictureFile(file, drawing, type);
    if (read)
        ApplyDrawing(grid, std::move(drawing));
    if (read || file == kStandardStream)
        return read;
    // An image or a source is no picture file, but another command reads it: say which.
    std::string start;
    const bool image = ReadFileStart(file, kImageStartBytes, start).ok() && DeclaredImageSize(start).has_value();
    if (image)
        return FileStatus::Failed(read.message()
                                  + " It is an image: tessaldo-cli import FILE OUT makes a picture of it.");
    if (IsSourceFileName(std::filesystem::path(file).filename().string()))
        return FileStatus::Failed(read.message() + " It holds code: tessaldo-cli decode FILE OUT reads its arrays.");
    return read;
}
int WriteDrawing(const DotGrid &grid, const std::string &outPath, std::ostream &out, std::ostream &err)
{
    if (outPath == kStandardStream) {
        const Result<std::string> bytes = PictureFileBytes(grid, outPath);
        out << bytes.value(); // standard output has no name a picture could be refused for
        return kExitOk;
    }
    const FileStatus saved = SavePicture(grid, outPath);
    return saved ? kExitOk : Refused(err, saved.message());
}
FileStatus OutputSparesInputs(const std::filesystem::path &out, std::span<const std::string> inputs)
{
    for (const std::string &input : inputs) {
        if (out == kStandardStream || !IsInputFile(out, input))
            continue;
        const std::string read = input == kStandardStream ? "standard input" : "the input \"" + input + "\"";
        return SaveFailed(out, "it is the same file as " + read);
    }
    return FileStatus::Ok();
}

std::string SourceName(const std::string &source)
{
    return source == kStandardStream ? "standard input" : "\"" + source + "\"";
}

FileStatus EachFileIsWritable(const std::filesystem::path &file, std::span<const std::string> inputs)
{
    if (FileStatus spared = OutputSparesInputs(file, inputs); !spared)
        return spared;
    std::error_code error;
    if (std::filesystem::is_directory(file, error))
        return SaveFailed(file, "it is a folder");
    return FileStatus::Ok();
}

int WriteSetHeader(const Document &set, const std::string &out, const std::optional<std::string> &name,
                   const std::vector<std::string> &args, Streams &streams, BitLayout layout)
{
    const bool toFile = out != kStandardStream;
    const SetText header = FormatSetHeader(set, toFile ? std::optional<std::filesystem::path>(out) : std::nullopt,
                                           CommandLine(args), name, layout);
    if (!header.problem.empty())
        return Refused(streams.err, header.problem);
    if (!toFile) {
        streams.out << header.text;
        return kExitOk;
    }
    if (const FileStatus replaceable = HeaderMayReplace(out); !replaceable)
        return Refused(streams.err, replaceable.message());
    // An OUT that holds these very bytes is left as it is, so that make does
    // not rebuild what depends on it.
    if (std::string held; ReadFileStart(out, header.text.size() + 1, held) && held == header.text)
        return kExitOk;
    const FileStatus saved = WriteFileAtomically(out, header.text);
    return saved ? kExitOk : Refused(streams.err, saved.message());
}

FileStatus ReadSource(const std::string &source, std::istream &in, std::string &text)
{
    if (source == kStandardStream) {
        // In pieces, so that a drawing piped in costs no more than its few hundred bytes.
        std::string piece(std::size_t{64} << 10, '\0');
        text.clear();
        while (in && text.size() <= kMaxSourceBytes) {
            in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
            text.append(piece.data(), static_cast<std::size_t>(in.gcount()));
        }
    } else if (FileStatus read = ReadFileStart(source, kMaxSourceBytes + 1, text); !read) {
        return read;
    }
    if (text.size() > kMaxSourceBytes)
        return FileStatus::Failed("Cannot read " + SourceName(source) + ": it is larger than 16 MiB.");
    return FileStatus::Ok();
}

FileStatus ReadSourcePictures(const std::string &file, LcdType typeIfUnsaid, Streams &streams, SetPart &read,
                              const CommandLineDefines &defines)
{
    std::string text;
    if (FileStatus status = ReadSource(file, streams.in, text); !status)
        return status;
    // A PBM is a picture at its size; an XBM is read as the C source it also is.
    const bool pbm = IsPbmFile(text);
    const ParsedDrawing parsed =
        pbm ? ParsePicture(text, ReadFrom::File(file), typeIfUnsaid)
            : ParseDrawing(std::string_view(text).substr(0, kDrawingBytesRead), ReadFrom::File(file));
    if (parsed) {
        read = {SourceName(file),
                {{.name = ArrayName(file), .dots = parsed.value().dots}},
                parsed.value().type,
                std::nullopt};
        return FileStatus::Ok();
    }
    if (pbm || IsDrawingFileName(file))
        return FileStatus::Failed(parsed.message());
    SetReading reading = ReadSet(text, typeIfUnsaid, {}, std::nullopt, defines);
    if (!reading.set) {
        if (std::optional<SetPart> sized = SizedSourcePictures(file, text, typeIfUnsaid, defines, streams.err)) {
            read = std::move(*sized);
            return FileStatus::Ok();
        }
    }
    NotePassedOver(PassedOverLines(SourceName(file), reading.passedOver, reading.firstPassedOver), streams.err);
    if (!reading.set)
        return FileStatus::Failed("Cannot read " + SourceName(file) + ": " + reading.problem
                                  + (reading.branchesDiffer ? std::string(kDefineRemedy) : "") + ".");
    read = {SourceName(file), std::move(reading.set->pictures),
            reading.typeSaid ? std::optional<LcdType>(reading.set->type) : std::nullopt,
            reading.set->form == SetForm::Frames ? std::optional(reading.name) : std::nullopt, reading.layout};
    return FileStatus::Ok();
}

void ApplyTypeOption(const Arguments &arguments, DotGrid &grid)
{
    if (const std::optional<std::string> type = arguments.Value("--type"))
        grid.SetLCDType(static_cast<LcdType>(NumberValue("--type", *type, 0, 1)));
}

PictureSize PictureSizeValue(std::string_view what, const std::string &text)
{
    if (const std::optional<PictureSize> size = PictureSizeFromText(text))
        return *size;
    throw UsageError(std::string(what) + " must be WIDTHxHEIGHT, each 1 to " + std::to_string(kLargestSide)
                     + " dots, such as 128x64, not '" + text + "'");
}

std::optional<PictureSize> SizeOption(const Arguments &arguments)
{
    const std::optional<std::string> size = arguments.Value("--size");
    return size ? std::optional(PictureSizeValue("--size", *size)) : std::nullopt;
}

} // namespace tessaldo
