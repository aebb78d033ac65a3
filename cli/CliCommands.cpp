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
#include <QGuiApplication>
#include <QSaveFile>

#include <charconv>
#include <iostream>
#include <istream>
#include <optional>
#include <ostream>
#include <string_view>

namespace tessaldo {
namespace {

constexpr std::string_view kImageCommandsUsage =
    "  import IMAGE OUT [--type 0|1] [--fit contain|cover|stretch] [--threshold N]\n"
    "                   [--dither none|floyd-steinberg|atkinson|bayer] [--invert]\n"
    "               make a drawing file from an image of any size (PNG, BMP, GIF,\n"
    "               JPEG, ...) as the module shows it in that layout (default 0):\n"
    "               the image is fitted to 16 x 16 cells (default contain: all of\n"
    "               it, white margins), and a cell darker than N (0-255, default\n"
    "               128) is a set dot; IMAGE and OUT may be '-'\n"
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
    "  send FILE --port DEVICE [--baud N]\n"
    "               send the picture's 33 bytes to the module through a serial\n"
    "               port, 8N1 with no flow control, at N baud (1200-115200,\n"
    "               default 9600)\n";

std::optional<int> StandardBaud(const std::string &text)
{
    const std::optional<int> baud = WholeNumber(text, 1, 1'000'000);
    return baud && IsStandardBaud(*baud) ? baud : std::nullopt;
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

// The toolkit's notes about its surroundings (no runtime folder, and the like)
// are no business of a script's; the tool says what went wrong itself.
void KeepOnlySeriousMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << message.toStdString() << '\n';
}

int Text(const Words &words, std::ostream &out, std::ostream &err)
{
    // Fonts come with a GUI application; this one opens no window and needs no display.
    int argc = 1;
    char program[] = "tessaldo-cli";
    char *argv[] = {program, nullptr};
    std::optional<QGuiApplication> fonts;
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(KeepOnlySeriousMessages);
        fonts.emplace(argc, argv);
    }

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

std::string_view ExtraCommandsUsage()
{
    return kImageCommandsUsage;
}

int RunCli(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (const std::optional<int> status = RunTextCommand(args, in, out, err))
        return *status;
    const Words words = *SplitWords(args); // RunTextCommand has refused what does not split
    const std::string &command = words.positional[0];
    if (command == "import")
        return Import(words, in, out, err);
    if (command == "png")
        return Png(words, in, err);
    if (command == "text")
        return Text(words, out, err);
    if (command == "send")
        return Send(words, in, err);
    return Usage(err);
}

} // namespace tessaldo
