#include "CliCommands.h"

#include "CodeFormats.h"
#include "CodeGenerator.h"
#include "DrawingFile.h"
#include "FileIo.h"
#include "ModuleLink.h"
#include "PictureImage.h"
#include "PlatformFile.h"
#include "TextImage.h"
#include "Transform.h"

#include <QBuffer>
#include <QSaveFile>

#include <charconv>
#include <istream>
#include <optional>
#include <ostream>
#include <string_view>

namespace tessaldo {
namespace {

constexpr std::string_view kUsage = "Usage: tessaldo-cli COMMAND ARGUMENTS\n"
                                    "\n"
                                    "Commands:\n"
                                    "  code FILE [--format ccs|c|raw] [--name NAME]\n"
                                    "               print the C code that Run makes for the drawing file (.Lcd)\n"
                                    "               (ccs, the default); a C array of the 33 bytes the module\n"
                                    "               takes, named NAME or after the file (c); or those bytes (raw)\n"
                                    "  show FILE    print the picture as the window shows it: a line 'type N',\n"
                                    "               then 16 lines of 16 dots, '#' set and '.' clear\n"
                                    "               (FILE may be '-' for standard input)\n"
                                    "  import IMAGE OUT [--type 0|1] [--fit contain|cover|stretch] [--threshold N]\n"
                                    "                   [--dither none|floyd-steinberg|atkinson|bayer] [--invert]\n"
                                    "               make a drawing file from an image of any size (PNG, BMP, GIF,\n"
                                    "               JPEG, ...) as the module shows it in that layout (default 0):\n"
                                    "               the image is fitted to 16 x 16 cells (default contain: all of\n"
                                    "               it, white margins), and a cell darker than N (0-255, default\n"
                                    "               128) is a set dot; IMAGE and OUT may be '-'\n"
                                    "  edit FILE OUT [OPERATION...]\n"
                                    "               apply the operations from left to right, as the window's\n"
                                    "               context menu does in the file's layout, and write OUT as Save\n"
                                    "               does (OUT may be FILE itself, '-' for standard output):\n"
                                    "               invert, shift-up, shift-down, shift-left, shift-right,\n"
                                    "               flip-h, flip-v, rotate-cw, rotate-ccw\n"
                                    "  png FILE OUT.png [--scale N]\n"
                                    "               draw the picture as the window shows it, each dot N pixels\n"
                                    "               square (1-64, default 8), with grid lines from 4 up\n"
                                    "  text TEXT OUT [--type 0|1] [--font FAMILY] [--size PX] [--align center|left]\n"
                                    "                [--threshold N] [--invert]\n"
                                    "  text TEXT --each FOLDER [the same options]\n"
                                    "  text --list-fonts\n"
                                    "               draw one line of text on the picture, from Unifont at 16 px\n"
                                    "               unless told otherwise, centred unless --align left; with\n"
                                    "               --each, one drawing file per character, named U+XXXX.Lcd;\n"
                                    "               --list-fonts prints the font families installed\n"
                                    "  header FILE... [--output OUT.h]\n"
                                    "               one C header with an array for each drawing file, written to\n"
                                    "               OUT.h or standard output; names that clash refuse it\n"
                                    "  send FILE --port DEVICE [--baud N]\n"
                                    "               send the picture's 33 bytes to the module through a serial\n"
                                    "               port, 8N1 with no flow control, at N baud (1200-115200,\n"
                                    "               default 9600)\n"
                                    "  --help       print this text\n"
                                    "  --version    print the program's name and version\n"
                                    "\n"
                                    "Exit status: 0 done, 1 a file was refused, 2 wrong usage.\n";

// The file name that means standard input, or standard output where a file is written.
constexpr std::string_view kStandardStream = "-";

// The words of a command line: the leading positional arguments and the options after them.
struct Words {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::optional<std::string>>> options;
};

bool TakesValue(std::string_view option)
{
    for (const std::string_view valued : {"--type", "--threshold", "--scale", "--fit", "--dither", "--format", "--name",
                                          "--output", "--port", "--baud", "--font", "--size", "--align", "--each"}) {
        if (option == valued)
            return true;
    }
    return false;
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

std::optional<int> StandardBaud(const std::string &text)
{
    const std::optional<int> baud = WholeNumber(text, 1, 1'000'000);
    return baud && IsStandardBaud(*baud) ? baud : std::nullopt;
}

int Usage(std::ostream &err)
{
    err << kUsage;
    return kExitUsage;
}

int Refused(std::ostream &err, const std::string &message)
{
    err << message << '\n';
    return kExitRefused;
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

// Loads the drawing as the window's Open would into a picture fresh from start-up.
FileStatus LoadFresh(const std::string &file, std::istream &in, DotGrid &grid)
{
    Drawing drawing;
    FileStatus read = file == kStandardStream ? ReadDrawingFromStream(in, drawing) : ReadDrawingFile(file, drawing);
    grid = DotGrid{};
    if (read)
        ApplyDrawing(grid, drawing);
    return read;
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

// Writes as Save does, or to standard output.
int WriteDrawing(const DotGrid &grid, const std::string &outPath, std::ostream &out, std::ostream &err)
{
    if (outPath == kStandardStream) {
        out << FormatDrawing(grid);
        return kExitOk;
    }
    const FileStatus saved = SaveFile(grid, outPath);
    return saved ? kExitOk : Refused(err, saved.message());
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

int Send(const Words &words, std::istream &in, std::ostream &err)
{
    if (words.positional.size() != 2)
        return Usage(err);
    std::optional<std::string> port;
    int baud = kDefaultBaud;
    for (const auto &[option, value] : words.options) {
        if (option == "--port")
            port = *value;
        else if (option == "--baud" && StandardBaud(*value))
            baud = *StandardBaud(*value);
        else
            return Usage(err);
    }
    if (!port)
        return Usage(err);
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(words.positional[1], in, grid); !loaded)
        return Refused(err, loaded.message());
    const ModuleBytes bytes = PictureModuleBytes(grid);
    const QString problem = SendToModule(QString::fromLocal8Bit(*port), baud,
                                         QByteArray(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
    if (!problem.isEmpty())
        return Refused(err, "Cannot send to \"" + *port + "\": " + problem.toStdString() + ".");
    return kExitOk;
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

// Standard input is read whole, as an image format needs, up to a bound
// that leaves room for the largest image allowed.
bool ReadGreyImageFromStream(std::istream &in, GreyImage &grey, std::string &problem)
{
    constexpr std::size_t kMaxBytes = std::size_t{320} << 20;
    QByteArray bytes;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<qsizetype>(in.gcount()));
        if (static_cast<std::size_t>(bytes.size()) > kMaxBytes) {
            problem = "it holds more than 320 MiB";
            return false;
        }
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadGreyImage(buffer, grey, problem);
}

int Import(const Words &words, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (words.positional.size() != 3)
        return Usage(err);
    DotGrid grid;
    DotOptions options;
    for (const auto &[name, value] : words.options) {
        if (name == "--invert") {
            options.invert = true;
        } else if (name == "--type" && WholeNumber(*value, 0, 1)) {
            grid.SetLCDType(static_cast<LcdType>(*WholeNumber(*value, 0, 1)));
        } else if (name == "--threshold" && WholeNumber(*value, 0, 255)) {
            options.threshold = *WholeNumber(*value, 0, 255);
        } else if (name == "--fit" && FitFromName(*value)) {
            options.fit = *FitFromName(*value);
        } else if (name == "--dither" && DitherFromName(*value)) {
            options.dither = *DitherFromName(*value);
        } else {
            return Usage(err);
        }
    }
    const std::string &imagePath = words.positional[1];
    GreyImage grey;
    std::string problem;
    if (imagePath == kStandardStream ? !ReadGreyImageFromStream(in, grey, problem)
                                     : !ReadGreyImage(QString::fromLocal8Bit(imagePath), grey, problem)) {
        const std::string name = imagePath == kStandardStream ? "standard input" : "\"" + imagePath + "\"";
        return Refused(err, "Cannot import " + name + ": " + problem + ".");
    }
    PutCells(grid, CellsFromPixels(grey, options));
    return WriteDrawing(grid, words.positional[2], out, err);
}

// The drawing file a character of `--each` goes to: U+XXXX.Lcd, upper-case, at least four digits.
std::filesystem::path EachFileName(char32_t codePoint)
{
    const QString hex = QStringLiteral("%1").arg(static_cast<uint>(codePoint), 4, 16, QLatin1Char('0')).toUpper();
    return (QStringLiteral("U+") + hex + QStringLiteral(".Lcd")).toStdString();
}

int Text(const Words &words, std::ostream &out, std::ostream &err)
{
    if (words.positional.size() == 1 && words.options.size() == 1 && words.options[0].first == "--list-fonts") {
        for (const QString &family : TextFamilies())
            out << family.toStdString() << '\n';
        return kExitOk;
    }
    TextOptions text;
    DotGrid grid;
    int threshold = 128;
    bool invert = false;
    std::optional<std::string> each;
    for (const auto &[option, value] : words.options) {
        if (option == "--invert")
            invert = true;
        else if (option == "--type" && WholeNumber(*value, 0, 1))
            grid.SetLCDType(static_cast<LcdType>(*WholeNumber(*value, 0, 1)));
        else if (option == "--threshold" && WholeNumber(*value, 0, 255))
            threshold = *WholeNumber(*value, 0, 255);
        else if (option == "--font")
            text.family = QString::fromStdString(*value);
        else if (option == "--size" && WholeNumber(*value, 1, 256))
            text.pixelSize = *WholeNumber(*value, 1, 256);
        else if (option == "--align" && (*value == "left" || *value == "center"))
            text.alignLeft = *value == "left";
        else if (option == "--each")
            each = *value;
        else
            return Usage(err);
    }
    if (words.positional.size() != (each ? 2u : 3u))
        return Usage(err);
    const QString line = QString::fromStdString(words.positional[1]);
    // Drawn on the picture as the import draws an image: same threshold, same invert.
    const auto draw = [&](const QString &what, DotGrid &picture, std::string &problem) {
        GreyImage cells;
        if (!RenderText(what, text, cells, problem))
            return false;
        PutCells(picture, CellsFromPixels(cells, {Fit::Contain, threshold, Dither::None, invert}));
        return true;
    };
    std::string problem;
    if (!each) {
        if (!draw(line, grid, problem))
            return Refused(err, "Cannot draw \"" + words.positional[1] + "\": " + problem + ".");
        return WriteDrawing(grid, words.positional[2], out, err);
    }
    std::error_code made;
    std::filesystem::create_directories(*each, made);
    for (const char32_t codePoint : line.toUcs4()) {
        const QString character = QString::fromUcs4(&codePoint, 1);
        if (!draw(character, grid, problem))
            return Refused(err, "Cannot draw \"" + character.toStdString() + "\": " + problem + ".");
        if (const FileStatus saved = SaveFile(grid, std::filesystem::path(*each) / EachFileName(codePoint)); !saved)
            return Refused(err, saved.message());
    }
    return kExitOk;
}

int Png(const Words &words, std::istream &in, std::ostream &err)
{
    if (words.positional.size() != 3)
        return Usage(err);
    int scale = 8;
    for (const auto &[name, value] : words.options) {
        if (name != "--scale" || !WholeNumber(*value, 1, kMaxPngScale))
            return Usage(err);
        scale = *WholeNumber(*value, 1, kMaxPngScale);
    }
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(words.positional[1], in, grid); !loaded)
        return Refused(err, loaded.message());
    const std::string &outPath = words.positional[2];
    // QSaveFile would rename its temporary over a device or a FIFO.
    if (const std::error_code kind = RegularOrMissing(outPath))
        return Refused(err, SaveFailed(outPath, kind.message()).message());
    QSaveFile file(QString::fromLocal8Bit(outPath));
    if (!file.open(QIODevice::WriteOnly) || !ImageFromPicture(grid, scale).save(&file, "PNG") || !file.commit())
        return Refused(err, SaveFailed(outPath, file.errorString().toStdString()).message());
    return kExitOk;
}

} // namespace

bool NeedsFonts(const std::vector<std::string> &args)
{
    return !args.empty() && args[0] == "text";
}

int RunCli(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (args.size() == 1 && args[0] == "--help") {
        out << kUsage;
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
    if (command == "text")
        return Text(*words, out, err);
    if (command == "header")
        return Header(args, *words, in, out, err);
    if (command == "send")
        return Send(*words, in, err);
    if (command == "edit")
        return Edit(*words, in, out, err);
    if (command == "import")
        return Import(*words, in, out, err);
    if (command == "png")
        return Png(*words, in, err);
    return Usage(err);
}

} // namespace tessaldo
