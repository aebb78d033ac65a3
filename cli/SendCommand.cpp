#include "QtCommands.h"

#include "CommandShared.h"
#include "core/code/CodeGenerator.h"
#include "core/session/SerialRates.h"
#include "core/session/Texts.h"
#include "image/PictureImage.h"
#include "serial/ModuleLink.h"

#include <QImageReader>

#include <charconv>
#include <chrono>
#include <csignal>
#include <thread>

// send: pictures, sources and images played on the module over its serial port.
namespace tessaldo {
namespace {

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

// One FILE of send, read whole before anything is sent: a drawing's or a C
// source's pictures, or an image's frames, which become pictures once the
// module's type is known.
struct SentFile {
    std::string file;
    SetPart read;
    std::vector<FrameGreys> frames;
};

// An image the installed plugins read, by its content; standard input is read as a drawing or C source.
bool IsImageFile(const std::string &file)
{
    return file != kStandardStream && !QImageReader::imageFormat(QString::fromLocal8Bit(file)).isEmpty();
}

// The module takes 16 x 16 pictures only; a larger one refuses the whole send before the port opens.
FileStatus ModuleSizedPictures(const SentFile &sent)
{
    for (const Picture &picture : sent.read.pictures)
        if (!IsModuleSize(picture.dots.Size()))
            return FileStatus::Failed("Cannot send '" + picture.name + "' of " + SourceName(sent.file) + ": "
                                      + NotForTheModule(picture.dots.Size()) + ".");
    return FileStatus::Ok();
}

FileStatus ReadSentFile(const std::string &file, LcdType typeIfUnsaid, const CommandLineDefines &defines,
                        Streams &streams, SentFile &sent)
{
    sent.file = file;
    if (!IsImageFile(file)) {
        if (FileStatus read = ReadSourcePictures(file, typeIfUnsaid, streams, sent.read, defines); !read)
            return read;
        return ModuleSizedPictures(sent);
    }
    std::string problem;
    if (!ReadImageFrames(file, streams.in, true, sent.frames, problem, {}))
        return FileStatus::Failed("Cannot read " + SourceName(file) + ": " + problem + ".");
    // A PBM or XBM is a picture dot for dot, not an image to fit: the module takes it only at its own size.
    const QByteArray format = QImageReader::imageFormat(QString::fromLocal8Bit(file));
    const PictureSize size{sent.frames.front().width, sent.frames.front().height};
    if ((format == "pbm" || format == "xbm") && !IsModuleSize(size))
        return FileStatus::Failed("Cannot send " + SourceName(file) + ": " + NotForTheModule(size) + ".");
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

} // namespace

} // namespace

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
        return Refused(streams.err, CannotSendTo(*port, problem.toStdString()));
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

} // namespace tessaldo
