#include "TextCommands.h"

#include "CodeFormats.h"
#include "CodeGenerator.h"
#include "CodeReader.h"
#include "DrawingFile.h"
#include "FileIo.h"
#include "PlatformFile.h"
#include "Transform.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <istream>
#include <limits>
#include <ostream>
#include <unordered_map>

namespace tessaldo {
namespace {

// Standard input gets the same reading as a file: only the start counts.
// The rest is read and dropped so that the program writing into the pipe
// is not cut off.
FileStatus ReadDrawingFromStream(std::istream &in, Drawing &drawing)
{
    std::string bytes(kDrawingBytesRead, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    in.ignore(std::numeric_limits<std::streamsize>::max());
    ParsedDrawing parsed = ParseDrawing(bytes);
    if (!parsed.drawing)
        return FileStatus::Failed("Cannot read standard input: " + parsed.reason + ".");
    drawing = *parsed.drawing;
    return FileStatus::Ok();
}
void PrintPicture(const DotGrid &grid, std::ostream &out)
{
    out << "type " << LcdTypeValue(grid.nLCDType()) << '\n';
    for (int row = 0; row < kGridSide; ++row) {
        std::string line;
        for (int column = 0; column < kGridSide; ++column)
            line += grid.IsSet(DotAtCell(grid.nLCDType(), {column, row})) ? '#' : '.';
        out << line << '\n';
    }
}
// The array's name: the one asked for, else the file's.
std::string ArrayName(const std::string &file)
{
    return file == kStandardStream ? "picture" : NameFromFileName(std::filesystem::path(file));
}
std::string NameValue(const Arguments &arguments, const std::string &fallback)
{
    const std::optional<std::string> name = arguments.Value("--name");
    if (name && !IsUsableName(*name))
        throw UsageError("--name must be a C identifier that is no keyword of C or C++, not '" + *name + "'");
    return name.value_or(fallback);
}
int Code(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({"FILE"});
    const std::string &file = arguments.operands[1];
    const CodeFormat format = ChoiceValue<CodeFormat>("--format", arguments.Value("--format").value_or("ccs"),
                                                      CodeFormatFromName, "ccs, c or raw");
    const std::string name = NameValue(arguments, ArrayName(file));
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(file, streams.in, grid); !loaded)
        return Refused(streams.err, loaded.message());
    if (format == CodeFormat::Ccs) {
        streams.out << LCDtoCODE(grid) << "\r\n";
    } else if (format == CodeFormat::C) {
        streams.out << CArray({grid, name, file == kStandardStream ? "" : file});
    } else {
        const ModuleBytes bytes = PictureModuleBytes(grid);
        streams.out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    return kExitOk;
}
int Show(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({"FILE"});
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(arguments.operands[1], streams.in, grid); !loaded)
        return Refused(streams.err, loaded.message());
    PrintPicture(grid, streams.out);
    return kExitOk;
}
std::string CommandLine(const std::vector<std::string> &args)
{
    std::string line = "tessaldo-cli";
    for (const std::string &arg : args)
        line += " " + arg;
    return line;
}
// --frames NAME and its --delay MS, checked before any file is read.
struct FramesOption {
    std::optional<std::string> name;
    std::optional<int> delayMs;
};
FramesOption ReadFramesOption(const Arguments &arguments)
{
    FramesOption frames{arguments.Value("--frames"), std::nullopt};
    if (frames.name && !IsUsableName(*frames.name))
        throw UsageError("--frames must be a C identifier that is no keyword of C or C++, not '" + *frames.name + "'");
    if (const std::optional<std::string> delay = arguments.Value("--delay")) {
        if (!frames.name)
            throw UsageError("--delay goes with --frames");
        frames.delayMs = NumberValue("--delay", *delay, 1, 60'000);
    }
    return frames;
}

std::string LowerCase(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

// Why two pictures whose names are the same without case cannot share a
// header: the same array name, or names that decode --each could not write
// back as two files where "Logo.Lcd" and "logo.Lcd" are one.
std::string NameClash(const NamedPicture &earlier, const NamedPicture &picture)
{
    if (earlier.name == picture.name)
        return "both give the array name " + picture.name;
    return "give the array names " + earlier.name + " and " + picture.name
           + ", which some file systems take for one file name";
}

// The include guard comes from the header's name; on standard output or for a
// name in another script (아이콘.h, which would leave the guard H), from
// what it holds. Firmware cannot include two headers that share an array
// name, so the animation's or the first picture's name tells them apart.
std::string GuardSource(const std::optional<std::string> &output, const FramesOption &frames,
                        const std::vector<NamedPicture> &pictures)
{
    if (output) {
        const std::string stem = DisplayPath(std::filesystem::path(*output).stem());
        if (std::all_of(stem.begin(), stem.end(), [](unsigned char c) { return c < 0x80; })
            && std::any_of(stem.begin(), stem.end(), [](unsigned char c) { return std::isalnum(c) != 0; }))
            return DisplayPath(std::filesystem::path(*output).filename());
    }
    return "tessaldo_" + frames.name.value_or(pictures.front().name) + ".h";
}

int Header(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectSomeOperands("FILE");
    std::optional<std::string> output = arguments.Value("--output");
    if (output == kStandardStream)
        output.reset(); // as every OUT '-' is
    const FramesOption frames = ReadFramesOption(arguments);
    const std::span<const std::string> files = std::span(arguments.operands).subspan(1);
    if (output) {
        if (const FileStatus spared = OutputSparesInputs(*output, files); !spared)
            return Refused(streams.err, spared.message());
    }
    // Every file is read and every clash found before anything is written.
    std::vector<NamedPicture> pictures;
    std::unordered_map<std::string, std::size_t> byFileName; // names without case, as decode --each keys them
    bool refused = false;
    for (const std::string &file : files) {
        NamedPicture picture{DotGrid{}, ArrayName(file), file == kStandardStream ? "" : file};
        if (const FileStatus loaded = LoadFresh(file, streams.in, picture.grid); !loaded) {
            streams.err << loaded.message() << '\n';
            refused = true;
            continue;
        }
        const auto [earlier, added] = byFileName.emplace(LowerCase(picture.name), pictures.size());
        if (!added && !frames.name) {
            streams.err << "Cannot make the header: \"" << pictures[earlier->second].source << "\" and \"" << file
                        << "\" " << NameClash(pictures[earlier->second], picture) << ".\n";
            refused = true;
        }
        pictures.push_back(std::move(picture));
    }
    if (refused)
        return kExitRefused;
    const std::string guardSource = GuardSource(output, frames, pictures);
    const std::string text = frames.name ? Guarded("\n" + CFrames(*frames.name, pictures, frames.delayMs),
                                                   CommandLine(arguments.all), guardSource)
                                         : CHeader(pictures, CommandLine(arguments.all), guardSource);
    if (!output) {
        streams.out << text;
        return kExitOk;
    }
    const FileStatus saved = WriteFileAtomically(*output, text);
    return saved ? kExitOk : Refused(streams.err, saved.message());
}
int Edit(const Arguments &arguments, Streams &streams)
{
    if (arguments.operands.size() < 3)
        arguments.ExpectOperands({"FILE", "OUT"});
    std::vector<Transform> transforms;
    for (auto word = arguments.operands.begin() + 3; word != arguments.operands.end(); ++word) {
        const std::optional<Transform> transform = TransformFromName(*word);
        if (!transform)
            throw UsageError("unknown operation '" + *word
                             + "' (invert, shift-up, shift-down, shift-left, shift-right, flip-h, flip-v, "
                               "rotate-cw, rotate-ccw)");
        transforms.push_back(*transform);
    }
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(arguments.operands[1], streams.in, grid); !loaded)
        return Refused(streams.err, loaded.message());
    for (const Transform transform : transforms)
        ApplyTransform(grid, transform);
    return WriteDrawing(grid, arguments.operands[2], streams.out, streams.err);
}

FileStatus DecodeFailed(const std::string &source, const std::string &reason)
{
    return FileStatus::Failed("Cannot decode " + SourceName(source) + ": " + reason + ".");
}

// Source files of firmware are small; anything larger is no source of pictures.
constexpr std::size_t kMaxSourceBytes = std::size_t{16} << 20;

FileStatus ReadSource(const std::string &source, std::istream &in, std::string &text)
{
    if (source == kStandardStream) {
        text.assign(kMaxSourceBytes + 1, '\0');
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
    } else if (FileStatus read = ReadFileStart(source, kMaxSourceBytes + 1, text); !read) {
        return read;
    }
    if (text.size() > kMaxSourceBytes)
        return DecodeFailed(source, "it is larger than 16 MiB");
    return FileStatus::Ok();
}

// One NAME.Lcd per picture; nothing is written unless no two names clash.
int DecodeEach(const std::string &source, const CodeReading &reading, const std::string &folder, LcdType type,
               std::ostream &err)
{
    const std::vector<CodePicture> &pictures = reading.pictures;
    if (pictures.empty())
        return Refused(err, DecodeFailed(source, PickPicture(reading, std::nullopt).problem).message());
    const auto fileOf = [&folder](const CodePicture &picture) {
        return std::filesystem::path(folder) / (picture.name + ".Lcd");
    };
    // Keyed without case, as header keys them; a header of many frames must not take quadratic time.
    std::unordered_map<std::string, const CodePicture *> byFileName;
    for (const CodePicture &picture : pictures) {
        if (const FileStatus writable = EachFileIsWritable(fileOf(picture), {&source, 1}); !writable)
            return Refused(err, writable.message());
        const auto [earlier, added] = byFileName.emplace(LowerCase(picture.name), &picture);
        if (!added)
            return Refused(err, DecodeFailed(source, "the names " + earlier->second->name + " and " + picture.name
                                                         + " would both be the file " + picture.name + ".Lcd")
                                    .message());
    }
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    for (const CodePicture &picture : pictures) {
        DotGrid grid;
        grid.SetLCDType(type);
        grid.SetAllDots(DotsFromPictureBytes(picture.bytes));
        if (const FileStatus saved = SaveFile(grid, fileOf(picture)); !saved)
            return Refused(err, saved.message());
    }
    return kExitOk;
}

int Decode(const Arguments &arguments, Streams &streams)
{
    const std::optional<std::string> each = arguments.EachFolder("SOURCE");
    if (each && arguments.Has("--name"))
        throw UsageError("--name picks one picture, --each takes them all: give one of them");
    DotGrid grid;
    ApplyTypeOption(arguments, grid);
    const std::string &source = arguments.operands[1];
    if (!each) {
        if (const FileStatus spared = OutputSparesInputs(arguments.operands[2], {&source, 1}); !spared)
            return Refused(streams.err, spared.message());
    }
    std::string text;
    if (const FileStatus read = ReadSource(source, streams.in, text); !read)
        return Refused(streams.err, read.message());
    // Arrays that are no pictures are named as they are passed over; one
    // that is meant as a picture but does not read refuses the whole source.
    const CodeReading reading = FindPicturesInCode(text, [&source, &streams](const std::string &why) {
        streams.err << "Passed over in " + SourceName(source) + ": " + why + ".\n"; // one write a note
    });
    const auto unreadable = std::find_if(reading.pictures.begin(), reading.pictures.end(),
                                         [](const CodePicture &picture) { return !picture.problem.empty(); });
    if (unreadable != reading.pictures.end())
        return Refused(streams.err, DecodeFailed(source, unreadable->problem).message());
    if (each)
        return DecodeEach(source, reading, *each, grid.nLCDType(), streams.err);
    const PickedPicture picked = PickPicture(reading, arguments.Value("--name"));
    if (!picked.bytes)
        return Refused(streams.err, DecodeFailed(source, picked.problem).message());
    grid.SetAllDots(DotsFromPictureBytes(*picked.bytes));
    return WriteDrawing(grid, arguments.operands[2], streams.out, streams.err);
}

// Whether `out` is the file `input` reads, '-' being standard input.
bool IsInputFile(const std::filesystem::path &out, const std::string &input)
{
    return input == kStandardStream ? IsStandardInputFile(out) : IsSameFile(out, input);
}

const Command kTextCommands[] = {
    {"code",
     "FILE [--format ccs|c|raw] [--name NAME]",
     "               print the C code that Run makes for the drawing file (.Lcd)\n"
     "               (ccs, the default); a C array of the 33 bytes the module\n"
     "               takes, named NAME or after the file (c); or those bytes (raw)\n",
     {{"--format"}, {"--name"}},
     Code,
     kDrawingInput},
    {"show",
     "FILE",
     "               print the picture as the window shows it: a line 'type N',\n"
     "               then 16 lines of 16 dots, '#' set and '.' clear\n",
     {},
     Show,
     kDrawingInput},
    {"edit",
     "FILE OUT [OPERATION...]",
     "               apply the operations from left to right, as the window's\n"
     "               context menu does in the file's layout, and write OUT as Save\n"
     "               does (OUT may be FILE itself): invert, shift-up, shift-down,\n"
     "               shift-left, shift-right, flip-h, flip-v, rotate-cw, rotate-ccw\n",
     {},
     Edit,
     kDrawingInput,
     true},
    {"header",
     "FILE... [--output OUT.h] [--frames NAME [--delay MS]]",
     "               one C header with an array for each drawing file, written to\n"
     "               OUT.h or standard output; names that clash refuse it. With\n"
     "               --frames, one array NAME[N][33] of the files in the order\n"
     "               given, NAME_FRAMES N and, with --delay, NAME_FRAME_MS MS\n",
     {{"--output"}, {"--frames"}, {"--delay"}},
     Header,
     kDrawingInput,
     true},
    {"decode",
     "SOURCE OUT [--type 0|1] [--name NAME]\n"
     "  decode SOURCE --each FOLDER [--type 0|1]",
     "               read a picture back from code: the printf lines Run makes, a\n"
     "               C array (code --format c, header, firmware with PROGMEM,\n"
     "               casts, characters, #defines), 32 or 33 bare values, or the\n"
     "               raw bytes, anywhere in a C, CCS or header file; write it as\n"
     "               Save does in type 0 or 1 (default 0). Arrays that are no\n"
     "               pictures are named on standard error. --name picks one of\n"
     "               several pictures; --each writes one NAME.Lcd per picture\n",
     {{"--type"}, {"--name"}, {"--each"}},
     Decode,
     {"SOURCE", "the code"},
     true},
};

} // namespace

std::span<const Command> TextCommands()
{
    return kTextCommands;
}

FileStatus LoadFresh(const std::string &file, std::istream &in, DotGrid &grid)
{
    Drawing drawing;
    FileStatus read = file == kStandardStream ? ReadDrawingFromStream(in, drawing) : ReadDrawingFile(file, drawing);
    grid = DotGrid{};
    if (read)
        ApplyDrawing(grid, drawing);
    return read;
}
int WriteDrawing(const DotGrid &grid, const std::string &outPath, std::ostream &out, std::ostream &err)
{
    if (outPath == kStandardStream) {
        out << FormatDrawing(grid);
        return kExitOk;
    }
    const FileStatus saved = SaveFile(grid, outPath);
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

void ApplyTypeOption(const Arguments &arguments, DotGrid &grid)
{
    if (const std::optional<std::string> type = arguments.Value("--type"))
        grid.SetLCDType(static_cast<LcdType>(NumberValue("--type", *type, 0, 1)));
}

} // namespace tessaldo
