#include "TextCommands.h"

#include "CodeFormats.h"
#include "CodeGenerator.h"
#include "DrawingFile.h"
#include "FileIo.h"
#include "Transform.h"

#include <charconv>
#include <istream>
#include <limits>
#include <ostream>

namespace tessaldo {
namespace {

constexpr std::string_view kUsageHead = "Usage: tessaldo-cli COMMAND ARGUMENTS\n"
                                        "\n"
                                        "Commands:\n";
constexpr std::string_view kTextCommandsUsage =
    "  code FILE [--format ccs|c|raw] [--name NAME]\n"
    "               print the C code that Run makes for the drawing file (.Lcd)\n"
    "               (ccs, the default); a C array of the 33 bytes the module\n"
    "               takes, named NAME or after the file (c); or those bytes (raw)\n"
    "  show FILE    print the picture as the window shows it: a line 'type N',\n"
    "               then 16 lines of 16 dots, '#' set and '.' clear\n"
    "               (FILE may be '-' for standard input)\n"
    "  edit FILE OUT [OPERATION...]\n"
    "               apply the operations from left to right, as the window's\n"
    "               context menu does in the file's layout, and write OUT as Save\n"
    "               does (OUT may be FILE itself, '-' for standard output):\n"
    "               invert, shift-up, shift-down, shift-left, shift-right,\n"
    "               flip-h, flip-v, rotate-cw, rotate-ccw\n"
    "  header FILE... [--output OUT.h]\n"
    "               one C header with an array for each drawing file, written to\n"
    "               OUT.h or standard output; names that clash refuse it\n";
constexpr std::string_view kUsageTail = "  --help       print this text\n"
                                        "  --version    print the program's name and version\n"
                                        "\n"
                                        "Exit status: 0 done, 1 a file was refused, 2 wrong usage.\n";

bool TakesValue(std::string_view option)
{
    for (const std::string_view valued : {"--type", "--threshold", "--scale", "--fit", "--dither", "--format", "--name",
                                          "--output", "--port", "--baud", "--font", "--size", "--align", "--each"}) {
        if (option == valued)
            return true;
    }
    return false;
}
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
int Code(const Words &words, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (words.positional.size() != 2)
        return Usage(err);
    const std::string &file = words.positional[1];
    CodeFormat format = CodeFormat::Ccs;
    std::string name = ArrayName(file);
    for (const auto &[option, value] : words.options) {
        if (option == "--format" && CodeFormatFromName(*value))
            format = *CodeFormatFromName(*value);
        else if (option == "--name" && IsUsableName(*value))
            name = *value;
        else
            return Usage(err);
    }
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(file, in, grid); !loaded)
        return Refused(err, loaded.message());
    if (format == CodeFormat::Ccs) {
        out << LCDtoCODE(grid) << "\r\n";
    } else if (format == CodeFormat::C) {
        out << CArray({grid, name, file == kStandardStream ? "" : file});
    } else {
        const ModuleBytes bytes = PictureModuleBytes(grid);
        out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    return kExitOk;
}
int Show(const Words &words, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (words.positional.size() != 2 || !words.options.empty())
        return Usage(err);
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(words.positional[1], in, grid); !loaded)
        return Refused(err, loaded.message());
    PrintPicture(grid, out);
    return kExitOk;
}
std::string CommandLine(const std::vector<std::string> &args)
{
    std::string line = "tessaldo-cli";
    for (const std::string &arg : args)
        line += " " + arg;
    return line;
}
int Header(const std::vector<std::string> &args, const Words &words, std::istream &in, std::ostream &out,
           std::ostream &err)
{
    std::optional<std::string> output;
    for (const auto &[option, value] : words.options) {
        if (option != "--output" || output)
            return Usage(err);
        output = *value;
    }
    if (words.positional.size() < 2)
        return Usage(err);
    // Every file is read and every clash found before anything is written.
    std::vector<NamedPicture> pictures;
    bool refused = false;
    for (auto file = words.positional.begin() + 1; file != words.positional.end(); ++file) {
        NamedPicture picture{DotGrid{}, ArrayName(*file), *file == kStandardStream ? "" : *file};
        if (const FileStatus loaded = LoadFresh(*file, in, picture.grid); !loaded) {
            err << loaded.message() << '\n';
            refused = true;
            continue;
        }
        for (const NamedPicture &earlier : pictures) {
            if (earlier.name == picture.name) {
                err << "Cannot make the header: \"" << earlier.source << "\" and \"" << *file
                    << "\" both give the array name " << picture.name << ".\n";
                refused = true;
            }
        }
        pictures.push_back(std::move(picture));
    }
    if (refused)
        return kExitRefused;
    if (!output) {
        out << CHeader(pictures, CommandLine(args), "tessaldo_pictures.h");
        return kExitOk;
    }
    const std::string text =
        CHeader(pictures, CommandLine(args), DisplayPath(std::filesystem::path(*output).filename()));
    const FileStatus saved = WriteFileAtomically(*output, text);
    return saved ? kExitOk : Refused(err, saved.message());
}
int Edit(const Words &words, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (words.positional.size() < 3 || !words.options.empty())
        return Usage(err);
    std::vector<Transform> transforms;
    for (auto word = words.positional.begin() + 3; word != words.positional.end(); ++word) {
        const std::optional<Transform> transform = TransformFromName(*word);
        if (!transform)
            return Usage(err);
        transforms.push_back(*transform);
    }
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(words.positional[1], in, grid); !loaded)
        return Refused(err, loaded.message());
    for (const Transform transform : transforms)
        ApplyTransform(grid, transform);
    return WriteDrawing(grid, words.positional[2], out, err);
}
} // namespace

std::string UsageText()
{
    return std::string(kUsageHead) + std::string(kTextCommandsUsage) + std::string(ExtraCommandsUsage())
           + std::string(kUsageTail);
}

std::optional<Words> SplitWords(const std::vector<std::string> &args)
{
    Words words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!args[i].starts_with("--")) {
            words.positional.push_back(args[i]);
            continue;
        }
        if (!TakesValue(args[i])) {
            words.options.emplace_back(args[i], std::nullopt);
            continue;
        }
        if (i + 1 >= args.size())
            return std::nullopt;
        words.options.emplace_back(args[i], args[i + 1]);
        ++i;
    }
    return words;
}
std::optional<int> WholeNumber(const std::string &text, int low, int high)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}
int Usage(std::ostream &err)
{
    err << UsageText();
    return kExitUsage;
}

int Refused(std::ostream &err, const std::string &message)
{
    err << message << '\n';
    return kExitRefused;
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
std::optional<int> RunTextCommand(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                                  std::ostream &err)
{
    if (args.size() == 1 && args[0] == "--help") {
        out << UsageText();
        return kExitOk;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << "tessaldo-cli 1.1\n";
        return kExitOk;
    }
    const std::optional<Words> words = SplitWords(args);
    if (!words || words->positional.empty())
        return Usage(err);
    const std::string &command = words->positional[0];
    if (command == "code")
        return Code(*words, in, out, err);
    if (command == "show")
        return Show(*words, in, out, err);
    if (command == "edit")
        return Edit(*words, in, out, err);
    if (command == "header")
        return Header(args, *words, in, out, err);
    return std::nullopt;
}

} // namespace tessaldo
