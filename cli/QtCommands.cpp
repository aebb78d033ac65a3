#include "CommandLine.h"
#include "FontCommands.h"
#include "ImageCommands.h"
#include "TextCommands.h"

#include "ModuleLink.h"
#include "PictureImage.h"
#include "TextImage.h"
#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/convert/GlyphNames.h"
#include "core/formats/BitmapFiles.h"
#include "core/formats/DrawingFile.h"
#include "core/model/Document.h"
#include "core/model/Transform.h"
#include "core/platform/FileIo.h"
#include "core/platform/PlatformFile.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QSaveFile>

#include <charconv>
#include <chrono>
#include <csignal>
#include <iostream>
#include <istream>
#include <optional>
#include <ostream>
#include <string_view>
#include <thread>

namespace tessaldo {
namespace {

int NumberOption(const Arguments &arguments, std::string_view option, int fallback, int low, int high)
{
    const std::optional<std::string> value = arguments.Value(option);
    return value ? NumberValue(option, *value, low, high) : fallback;
}

std::optional<int> StandardBaud(const std::string &value)
{
    int baud = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), baud);
    if (error == std::errc{} && end == value.data() + value.size() && IsStandardBaud(baud))
        return baud;
    return std::nullopt;
}

// "1200, 2400, ... or 115200"
std::string StandardBaudList()
{
    std::string list;
    for (const int baud : kStandardBauds) {
        if (baud != kStandardBauds.front())
            list += baud == kStandardBauds.back() ? " or " : ", ";
        list += std::to_string(baud);
    }
    return list;
}

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int)
{
    gInterrupted = 1;
}

// Waits until `when`, or until Ctrl+C; false for Ctrl+C.
bool WaitUntil(std::chrono::steady_clock::time_point when)
{
    while (!gInterrupted && std::chrono::steady_clock::now() < when)
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            when - std::chrono::steady_clock::now(), std::chrono::milliseconds(10)));
    return !gInterrupted;
}

// Standard input is read whole, as an image format needs, up to a bound
// that leaves room for the largest image allowed.
bool ReadStandardInput(std::istream &in, QByteArray &bytes, std::string &problem)
{
    constexpr std::size_t kMaxBytes = std::size_t{320} << 20;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<qsizetype>(in.gcount()));
        if (static_cast<std::size_t>(bytes.size()) > kMaxBytes) {
            problem = "it holds more than 320 MiB";
            return false;
        }
    }
    return true;
}

// Reads the image's frames, or only its first, from a file or standard input.
template <typename Source>
bool ReadFramesFrom(Source &&source, bool allFrames, std::vector<FrameGreys> &frames, std::string &problem,
                    const FrameProgress &progress)
{
    if (allFrames)
        return ReadFrameGreys(source, frames, problem, progress);
    FrameGreys first;
    if (!ReadFirstFrame(source, first, problem))
        return false;
    frames = {first};
    return true;
}

bool ReadImageFrames(const std::string &imagePath, std::istream &in, bool allFrames, std::vector<FrameGreys> &frames,
                     std::string &problem, const FrameProgress &progress)
{
    if (imagePath != kStandardStream)
        return ReadFramesFrom(QString::fromLocal8Bit(imagePath), allFrames, frames, problem, progress);
    QByteArray bytes;
    if (!ReadStandardInput(in, bytes, problem))
        return false;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadFramesFrom(static_cast<QIODevice &>(buffer), allFrames, frames, problem, progress);
}

// One FILE of send, read whole before anything is sent: a drawing's or a C
// source's pictures, or an image's frames, which become pictures once the
// module's type is known.
struct SentFile {
    std::string file;
    SourcePictures read;
    std::vector<FrameGreys> frames;
};

// An image the installed plugins read, by its content; standard input is read as a drawing or C source.
bool IsImageFile(const std::string &file)
{
    return file != kStandardStream && !QImageReader::imageFormat(QString::fromLocal8Bit(file)).isEmpty();
}

FileStatus ReadSentFile(const std::string &file, LcdType typeIfUnsaid, const CommandLineDefines &defines,
                        Streams &streams, SentFile &sent)
{
    sent.file = file;
    if (!IsImageFile(file))
        return ReadSourcePictures(file, typeIfUnsaid, streams, sent.read, defines);
    std::string problem;
    if (!ReadImageFrames(file, streams.in, true, sent.frames, problem, {}))
        return FileStatus::Failed("Cannot read " + SourceName(file) + ": " + problem + ".");
    // A still image stays as long as a drawing does; an animation's frames as long as each asks.
    if (sent.frames.size() == 1)
        sent.frames.front().delayMs = kDefaultDelayMs;
    return FileStatus::Ok();
}

// --delay MS in place of every picture's own delay.
void ApplyDelay(int delayMs, std::vector<SentFile> &files)
{
    for (SentFile &sent : files) {
        for (Picture &picture : sent.read.pictures)
            picture.delayMs = delayMs;
        for (FrameGreys &frame : sent.frames)
            frame.delayMs = delayMs;
    }
}

// The type of the module: as --type says, else as the first file that says one,
// else the type images are imported in.
FileStatus ModuleType(const Arguments &arguments, const std::vector<SentFile> &files, LcdType &type)
{
    DotGrid told;
    ApplyTypeOption(arguments, told);
    const SentFile *first = nullptr;
    for (const SentFile &sent : files) {
        if (!sent.read.type)
            continue;
        if (!first && !arguments.Has("--type")) {
            first = &sent;
            told.SetLCDType(*sent.read.type);
        }
        if (*sent.read.type == told.nLCDType())
            continue;
        // The module arranges the dots of one type: the other's pictures would come out transposed.
        const std::string against = first ? SourceName(first->file) + " for " + LcdTypeName(told.nLCDType())
                                          : "--type says the module is " + LcdTypeName(told.nLCDType());
        return FileStatus::Failed("Cannot send " + SourceName(sent.file) + ": it is drawn for "
                                  + LcdTypeName(*sent.read.type) + ", " + against + ", and one module shows one type.");
    }
    type = told.nLCDType();
    return FileStatus::Ok();
}

// What the module plays: each picture's bytes and how long it stays, never
// less than a screen shows.
struct SentFrame {
    QByteArray bytes;
    int delayMs = 0;
};

void AddSentFrame(const DotGrid &picture, int delayMs, std::vector<SentFrame> &frames)
{
    const ModuleBytes bytes = PictureModuleBytes(picture);
    frames.push_back({QByteArray(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size())),
                      ShownDelayMs(delayMs)});
}

std::vector<SentFrame> SentFrames(const std::vector<SentFile> &files, LcdType type)
{
    std::vector<SentFrame> frames;
    for (const SentFile &sent : files) {
        for (const Picture &picture : sent.read.pictures) {
            DotGrid grid;
            grid.SetLCDType(type);
            grid.SetAllDots(picture.dots);
            AddSentFrame(grid, picture.delayMs, frames);
        }
        for (const FrameGreys &frame : sent.frames)
            AddSentFrame(FramePicture(frame, type, DotOptions{}), frame.delayMs, frames);
    }
    return frames;
}

// The pictures of every FILE in turn, each at its delay (or --delay's), the
// sequence N times (0: until Ctrl+C, which lets the frame being sent finish
// and closes the port). Every file is read before the port is opened.
int SendPicture(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectSomeOperands("FILE");
    const std::optional<std::string> port = arguments.Value("--port");
    const std::optional<std::string> baudText = arguments.Value("--baud");
    const int baud = baudText ? ChoiceValue<int>("--baud", *baudText, StandardBaud, StandardBaudList()) : kDefaultBaud;
    const std::optional<std::string> delay = arguments.Value("--delay");
    const int delayMs = delay ? NumberValue("--delay", *delay, 0, kLongestDelayMs) : kDefaultDelayMs;
    const int repeat = NumberOption(arguments, "--repeat", 1, 0, 1'000'000);
    if (!port)
        throw UsageError("missing --port DEVICE");
    DotGrid told;
    ApplyTypeOption(arguments, told);
    const CommandLineDefines defines = ReadDefines(arguments);
    std::vector<SentFile> files(arguments.operands.size() - 1);
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (const FileStatus read =
                ReadSentFile(arguments.operands[i + 1], told.nLCDType(), defines, streams, files[i]);
            !read)
            return Refused(streams.err, read.message());
    }
    if (delay)
        ApplyDelay(delayMs, files);
    LcdType type = LcdType::Column;
    if (const FileStatus typed = ModuleType(arguments, files, type); !typed)
        return Refused(streams.err, typed.message());
    const std::vector<SentFrame> frames = SentFrames(files, type);
    const auto refused = [&](const QString &problem) {
        return Refused(streams.err, "Cannot send to \"" + *port + "\": " + problem.toStdString() + ".");
    };
    ModuleLink link;
    if (const QString problem = link.Open(QString::fromLocal8Bit(*port), baud); !problem.isEmpty())
        return refused(problem);
    gInterrupted = 0;
    const auto previous = std::signal(SIGINT, OnInterrupt);
    auto next = std::chrono::steady_clock::now();
    QString problem;
    for (int round = 0; problem.isEmpty() && (repeat == 0 || round < repeat) && !gInterrupted; ++round) {
        for (const SentFrame &frame : frames) {
            if (!WaitUntil(next) || !(problem = link.Send(frame.bytes)).isEmpty())
                break;
            next += std::chrono::milliseconds(frame.delayMs);
        }
    }
    link.Close();
    std::signal(SIGINT, previous);
    if (!problem.isEmpty())
        return refused(problem);
    return gInterrupted ? kExitInterrupted : kExitOk;
}

// How far a read that lasts has gone, on one line of standard error that is
// cleared when it ends; shown only on a terminal, so that standard error
// redirected to a file or a program holds nothing but the messages.
class TerminalProgress {
public:
    TerminalProgress(std::ostream &err, std::string name) : m_err(err), m_name(std::move(name)) {}
    ~TerminalProgress()
    {
        if (m_width > 0)
            m_err << '\r' << std::string(m_width, ' ') << '\r' << std::flush;
    }
    TerminalProgress(const TerminalProgress &) = delete;
    TerminalProgress &operator=(const TerminalProgress &) = delete;

    FrameProgress Callback()
    {
        if (!StandardErrorIsTerminal())
            return {};
        return [this](int read, int count) {
            Show(read, count);
            return true;
        };
    }

private:
    void Show(int read, int count)
    {
        if (std::chrono::steady_clock::now() - m_start < std::chrono::milliseconds(500))
            return;
        const std::string line = "Importing " + m_name + ": " + std::to_string(read)
                                 + (count > 0 ? " of " + std::to_string(count) : "") + " frames read";
        m_width = std::max(m_width, line.size());
        m_err << '\r' << line << std::flush;
    }

    std::ostream &m_err;
    std::string m_name;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::size_t m_width = 0;
};

// Every frame into the folder as STEM-000.Lcd, -001, ...; frames of the same
// stem that this import would not write are refused, or removed first with
// --replace, so that the folder never holds two imports' frames mixed.
int WriteEachFrame(const Arguments &arguments, const std::vector<FrameGreys> &frames, const std::string &name,
                   LcdType type, const DotOptions &options, Streams &streams)
{
    const std::string &imagePath = arguments.operands[1];
    const std::string stem = imagePath == kStandardStream ? "frame" : std::filesystem::path(imagePath).stem().string();
    const std::filesystem::path folder = *arguments.Value("--each");
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (const FileStatus writable =
                EachFileIsWritable(folder / FrameFileName(stem, i, frames.size()), {&imagePath, 1});
            !writable)
            return Refused(streams.err, writable.message());
    }
    const std::vector<std::filesystem::path> others = OtherFrames(folder, stem, frames.size());
    if (!others.empty() && !arguments.Has("--replace"))
        return Refused(streams.err, "Cannot import " + name + ": \"" + DisplayPath(folder)
                                        + "\" holds frames of another import that this one would not write ("
                                        + FrameNames(others) + "); --replace removes them.");
    if (const FileStatus removed = RemoveFrames(others); !removed)
        return Refused(streams.err, removed.message());
    std::vector<FileToWrite> files;
    for (std::size_t i = 0; i < frames.size(); ++i)
        files.push_back(
            {folder / FrameFileName(stem, i, frames.size()), FormatDrawing(FramePicture(frames[i], type, options))});
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (const FileStatus saved = WriteFilesAtomically(files); !saved)
        return Refused(streams.err, saved.message());
    for (std::size_t i = 0; i < frames.size(); ++i)
        streams.out << DisplayPath(files[i].path) << ' ' << frames[i].delayMs << " ms\n";
    return kExitOk;
}

// An OUT.h takes the image as a set: an animation as its frames NAME_000,
// NAME_001, ... with their delays, NAME after OUT.h; a still image as one
// picture named after the image.
int WriteImageHeader(const Arguments &arguments, const std::vector<FrameGreys> &frames, LcdType type,
                     const DotOptions &options, Streams &streams)
{
    const std::string &imagePath = arguments.operands[1];
    const std::filesystem::path out = arguments.operands[2];
    const bool animated = frames.size() > 1;
    const std::string name = NameFromFileName(out);
    const std::string stillName = imagePath == kStandardStream ? "picture" : NameFromFileName(imagePath);
    const Document set = SetFromFrames(frames, type, options, animated ? name : stillName);
    return WriteSetHeader(set, arguments.operands[2], animated ? std::optional(name) : std::nullopt, arguments.all,
                          streams);
}

// A 16 x 16 XBM or PBM is taken dot for dot; options that would have changed
// its dots are named rather than passed over in silence.
void NoteOptionsUnused(const Arguments &arguments, const std::string &name, std::ostream &err)
{
    std::string unused;
    for (const std::string_view option : {"--fit", "--threshold", "--dither", "--invert"}) {
        if (arguments.Has(option))
            unused += (unused.empty() ? "" : ", ") + std::string(option);
    }
    if (!unused.empty())
        err << name << " is a 16 x 16 bitmap, taken dot for dot: " << unused << " did not change it.\n";
}

int Import(const Arguments &arguments, Streams &streams)
{
    // A font's glyphs are pictures already: nothing to fit or halftone.
    if (arguments.operands.size() > 1 && IsFontFile(arguments.operands[1]))
        return ImportFont(arguments, streams);
    const std::optional<std::string> each = arguments.EachFolder("IMAGE");
    DotGrid grid;
    ApplyTypeOption(arguments, grid);
    DotOptions options;
    options.invert = arguments.Has("--invert");
    options.threshold = NumberOption(arguments, "--threshold", options.threshold, 0, 255);
    options.fit = ChoiceValue<Fit>("--fit", arguments.Value("--fit").value_or("contain"), FitFromName,
                                   "contain, cover or stretch");
    options.dither = ChoiceValue<Dither>("--dither", arguments.Value("--dither").value_or("none"), DitherFromName,
                                         "none, floyd-steinberg, atkinson or bayer");
    const std::string &imagePath = arguments.operands[1];
    if (!each) {
        if (const FileStatus spared = OutputSparesInputs(arguments.operands[2], {&imagePath, 1}); !spared)
            return Refused(streams.err, spared.message());
    }
    const std::string name = SourceName(imagePath);
    const bool toHeader = !each && arguments.operands[2].ends_with(".h");
    std::vector<FrameGreys> frames;
    std::string problem;
    bool read = false;
    {
        TerminalProgress progress(streams.err, name);
        read = ReadImageFrames(imagePath, streams.in, each || toHeader, frames, problem, progress.Callback());
    }
    if (!read)
        return Refused(streams.err, "Cannot import " + name + ": " + problem + ".");
    if (frames.front().dotForDot)
        NoteOptionsUnused(arguments, name, streams.err);
    if (toHeader)
        return WriteImageHeader(arguments, frames, grid.nLCDType(), options, streams);
    if (!each)
        return WriteDrawing(FramePicture(frames.front(), grid.nLCDType(), options), arguments.operands[2], streams.out,
                            streams.err);
    return WriteEachFrame(arguments, frames, name, grid.nLCDType(), options, streams);
}

// "X,Y": whole dots right and down, each within the picture's width either way.
void ReadOffset(const std::string &value, TextOptions &text)
{
    const std::size_t comma = value.find(',');
    try {
        if (comma == std::string::npos)
            throw UsageError("");
        text.offsetX = NumberValue("--offset", value.substr(0, comma), -kGridSide, kGridSide);
        text.offsetY = NumberValue("--offset", value.substr(comma + 1), -kGridSide, kGridSide);
    } catch (const UsageError &) {
        throw UsageError("--offset must be X,Y, whole dots from -16 to 16, not '" + value + "'");
    }
}

TextOptions ReadTextOptions(const Arguments &arguments)
{
    TextOptions text;
    text.invert = arguments.Has("--invert");
    text.threshold = NumberOption(arguments, "--threshold", text.threshold, 0, 255);
    text.pixelSize = NumberOption(arguments, "--size", text.pixelSize, 1, 256);
    if (const std::optional<std::string> family = arguments.Value("--font"))
        text.family = QString::fromStdString(*family);
    if (const std::optional<std::string> align = arguments.Value("--align")) {
        if (*align != "left" && *align != "center")
            throw UsageError("--align must be center or left, not '" + *align + "'");
        text.alignLeft = *align == "left";
    }
    if (const std::optional<std::string> offset = arguments.Value("--offset"))
        ReadOffset(*offset, text);
    text.onto = arguments.Has("--onto");
    return text;
}

int ListFonts(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({});
    if (arguments.options.size() > 1)
        throw UsageError("--list-fonts takes no other option");
    for (const QString &family : TextFamilies())
        streams.out << family.toStdString() << '\n';
    return kExitOk;
}

// The text as a message quotes it: control characters as U+XXXX, which a terminal would act on or hide.
std::string Shown(const QString &text)
{
    QString shown;
    for (const char32_t codePoint : text.toUcs4()) {
        if (QChar::category(codePoint) == QChar::Other_Control)
            shown += QString::fromStdString(CodePointName(codePoint));
        else
            shown += QString::fromUcs4(&codePoint, 1);
    }
    return shown.toStdString();
}

int Text(const Arguments &arguments, Streams &streams)
{
    if (arguments.Has("--list-fonts"))
        return ListFonts(arguments, streams);
    const std::optional<std::string> each = arguments.EachFolder("TEXT");
    const TextOptions text = ReadTextOptions(arguments);
    DotGrid base;
    if (const std::optional<std::string> onto = arguments.Value("--onto")) {
        if (const FileStatus loaded = LoadFresh(*onto, streams.in, base); !loaded)
            return Refused(streams.err, loaded.message());
    }
    ApplyTypeOption(arguments, base);
    // Drawn on the picture as the import draws an image: same threshold, same invert.
    const auto draw = [&](const QString &what, const std::string &shown, DotGrid &picture) {
        TextExtent extent;
        std::string problem;
        if (!PutText(picture, what, text, extent, problem))
            return Refused(streams.err, "Cannot draw \"" + shown + "\": " + problem + ".");
        if (extent.cut)
            streams.err << "The text \"" << shown << "\" " << CutNote(extent.width) << ".\n";
        return int{kExitOk};
    };
    const QString line = QString::fromStdString(arguments.operands[1]);
    if (line.isEmpty())
        throw UsageError("TEXT is empty; give at least one character");
    if (!each) {
        DotGrid picture = base;
        if (const int drawn = draw(line, Shown(line), picture); drawn != kExitOk)
            return drawn;
        return WriteDrawing(picture, arguments.operands[2], streams.out, streams.err);
    }
    // Every character is drawn and every file checked before the first is written.
    std::vector<FileToWrite> drawn;
    const std::vector<std::string> inputs(arguments.Value("--onto") ? 1 : 0, arguments.Value("--onto").value_or(""));
    for (const char32_t codePoint : line.toUcs4()) {
        const QString character = QString::fromUcs4(&codePoint, 1);
        DotGrid picture = base;
        if (const int status = draw(character, Shown(character), picture); status != kExitOk)
            return status;
        const std::filesystem::path file = std::filesystem::path(*each) / CharacterFileName(codePoint);
        if (const FileStatus writable = EachFileIsWritable(file, inputs); !writable)
            return Refused(streams.err, writable.message());
        drawn.push_back({file, FormatDrawing(picture)});
    }
    std::error_code made;
    std::filesystem::create_directories(*each, made);
    const FileStatus saved = WriteFilesAtomically(drawn);
    return saved ? kExitOk : Refused(streams.err, saved.message());
}

QByteArray PngBytes(const DotGrid &grid, int scale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ImageFromPicture(grid, scale).save(&buffer, "PNG");
    return bytes;
}

// Writes a picture's file to OUT, or to standard output for "-", never over
// the drawing it came from.
int WriteExported(const Arguments &arguments, std::string_view bytes, Streams &streams)
{
    const std::string &outPath = arguments.operands[2];
    if (const FileStatus spared = OutputSparesInputs(outPath, {&arguments.operands[1], 1}); !spared)
        return Refused(streams.err, spared.message());
    if (outPath == kStandardStream) {
        streams.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return kExitOk;
    }
    // QSaveFile would rename its temporary over a device or a FIFO.
    if (const std::error_code kind = RegularOrMissing(outPath))
        return Refused(streams.err, SaveFailed(outPath, kind.message()).message());
    QSaveFile file(QString::fromLocal8Bit(outPath));
    const auto size = static_cast<qint64>(bytes.size());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), size) != size || !file.commit())
        return Refused(streams.err, SaveFailed(outPath, file.errorString().toStdString()).message());
    return kExitOk;
}

enum class ExportFormat { Png, Xbm, Pbm };

// The drawing FILE as OUT in `format`.
int WritePicture(const Arguments &arguments, ExportFormat format, Streams &streams)
{
    const int scale = NumberOption(arguments, "--scale", 8, 1, kMaxPngScale);
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(arguments.operands[1], streams.in, grid); !loaded)
        return Refused(streams.err, loaded.message());
    if (format == ExportFormat::Png) {
        const QByteArray png = PngBytes(grid, scale);
        return WriteExported(arguments, {png.constData(), static_cast<std::size_t>(png.size())}, streams);
    }
    const std::filesystem::path out = arguments.operands[2];
    return WriteExported(arguments, format == ExportFormat::Xbm ? XbmText(grid, NameFromFileName(out)) : PbmBytes(grid),
                         streams);
}

int Png(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({"FILE", "OUT.png"});
    return WritePicture(arguments, ExportFormat::Png, streams);
}

// The format OUT's extension names, which standard output has none of;
// --scale is for PNG alone.
ExportFormat ExportFormatOf(const Arguments &arguments)
{
    const std::string extension = LowerCase(std::filesystem::path(arguments.operands[2]).extension().string());
    if (extension == ".png")
        return ExportFormat::Png;
    if (extension != ".xbm" && extension != ".pbm")
        throw UsageError("OUT must end in .png, .xbm or .pbm, the format it is written in");
    if (arguments.Has("--scale"))
        throw UsageError("--scale is for .png only: an XBM or PBM holds one pixel for each dot");
    return extension == ".xbm" ? ExportFormat::Xbm : ExportFormat::Pbm;
}

int Export(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({"FILE", "OUT"});
    return WritePicture(arguments, ExportFormatOf(arguments), streams);
}

// The toolkit's own notes (no runtime folder, socket notifiers and the like)
// are no business of the tool's user; the tool says what went wrong itself.
void DropToolkitMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

enum class Toolkit {
    Plain, // images and files need no application
    Core,  // the serial port's notifiers need an event dispatcher
    Gui,   // fonts come with a GUI application; this one opens no window and needs no display
};

template <int (*Run)(const Arguments &, Streams &), Toolkit kind>
int WithToolkit(const Arguments &arguments, Streams &streams)
{
    qInstallMessageHandler(DropToolkitMessage);
    int argc = 1;
    char program[] = "tessaldo-cli";
    char *argv[] = {program, nullptr};
    std::optional<QCoreApplication> core;
    std::optional<QGuiApplication> gui;
    if (QCoreApplication::instance() == nullptr && kind == Toolkit::Core)
        core.emplace(argc, argv);
    if (QCoreApplication::instance() == nullptr && kind == Toolkit::Gui) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        gui.emplace(argc, argv);
    }
    return Run(arguments, streams);
}

// What runs each command this build's helper takes.
int (*HandlerFor(std::string_view name))(const Arguments &, Streams &)
{
    if (name == "import")
        return WithToolkit<Import, Toolkit::Plain>;
    if (name == "png")
        return WithToolkit<Png, Toolkit::Plain>;
    if (name == "export")
        return WithToolkit<Export, Toolkit::Plain>;
    if (name == "text")
        return WithToolkit<Text, Toolkit::Gui>;
    return WithToolkit<SendPicture, Toolkit::Core>;
}

} // namespace

CommandTable ImageHelperCommands()
{
    static const std::vector<Command> commands = [] {
        std::vector<Command> attached(ImageCommands().begin(), ImageCommands().end());
        for (Command &command : attached)
            command.run = HandlerFor(command.name);
        return attached;
    }();
    return {{commands}, {}};
}

} // namespace tessaldo
