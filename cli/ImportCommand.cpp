#include "QtCommands.h"

#include "CommandShared.h"
#include "FontCommands.h"
#include "core/code/CodeFormats.h"
#include "core/formats/BitmapFiles.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/FontFiles.h"
#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/platform/FileIo.h"
#include "core/platform/PlatformFile.h"
#include "fontraster/FontRaster.h"
#include "image/PictureImage.h"

#include <QBuffer>
#include <QImageReader>

#include <chrono>
#include <istream>
#include <ostream>

// import: images and fonts made into drawings, a folder of them or a header.
namespace tessaldo {
namespace {

// How much of standard input an image may take, from its first bytes: room
// for the largest image allowed, a source's 16 MiB for an XBM or PBM, and
// nothing more for bytes that start as no image, which are refused from
// their start as a file of them is, however many follow.
std::size_t StandardInputLimit(QByteArray &start)
{
    if (IsBitmapFile(std::string_view(start.constData(), static_cast<std::size_t>(start.size()))))
        return kMaxSourceBytes;
    QBuffer buffer(&start);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader::imageFormat(&buffer).isEmpty() ? 0 : std::size_t{320} << 20;
}

// Standard input is read whole, as an image format needs, up to its limit.
bool ReadStandardInput(std::istream &in, QByteArray &bytes, std::string &problem)
{
    char chunk[1 << 16];
    std::size_t limit = 0;
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<qsizetype>(in.gcount()));
        if (bytes.size() == in.gcount() && (limit = StandardInputLimit(bytes)) == 0)
            return true;
        if (static_cast<std::size_t>(bytes.size()) > limit) {
            problem = "it holds more than " + std::to_string(limit >> 20) + " MiB";
            return false;
        }
    }
    return true;
}

// Reads the image's frames, or only its first, from a file or standard input.
template <typename Source>
bool ReadFramesFrom(Source &&source, bool allFrames, std::vector<FrameGreys> &frames, std::string &problem,
                    const FrameProgress &progress, PictureSize size)
{
    if (allFrames)
        return ReadFrameGreys(source, frames, problem, progress, size);
    FrameGreys first;
    if (!ReadFirstFrame(source, first, problem, size))
        return false;
    frames = {first};
    return true;
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

// Every frame into the folder as STEM-000.Lcd, -001, ... (STEM-000.pbm, ...
// for pictures of another size than 16 x 16, which no drawing file holds);
// frames of the same stem that this import would not write are refused, or
// removed first with --replace, so that the folder never holds two imports' frames mixed.
int WriteEachFrame(const Arguments &arguments, const std::vector<FrameGreys> &frames, const std::string &name,
                   LcdType type, const DotOptions &options, Streams &streams)
{
    const std::string &imagePath = arguments.operands[1];
    const std::string stem = imagePath == kStandardStream ? "frame" : std::filesystem::path(imagePath).stem().string();
    const std::filesystem::path folder = *arguments.Value("--each");
    const std::string_view suffix = PictureFileSuffix(frames.front().byFit.front().Size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (const FileStatus writable =
                EachFileIsWritable(folder / FrameFileName(stem, i, frames.size(), suffix), {&imagePath, 1});
            !writable)
            return Refused(streams.err, writable.message());
    }
    const std::vector<std::filesystem::path> others = OtherFrames(folder, stem, frames.size(), suffix);
    if (!others.empty() && !arguments.Has("--replace"))
        return Refused(streams.err, "Cannot import " + name + ": \"" + DisplayPath(folder)
                                        + "\" holds frames of another import that this one would not write ("
                                        + FrameNames(others) + "); --replace removes them.");
    if (const FileStatus removed = RemoveFrames(others); !removed)
        return Refused(streams.err, removed.message());
    std::vector<FileToWrite> files;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::filesystem::path file = folder / FrameFileName(stem, i, frames.size(), suffix);
        // The suffix is one each size may be written as, so the bytes are never refused.
        files.push_back({file, PictureFileBytes(FramePicture(frames[i], type, options), file).value()});
    }
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
                          streams, DefaultSetLayout(set.Size()));
}

// An XBM or PBM of the picture's size is taken dot for dot; options that
// would have changed its dots are named rather than passed over in silence.
void NoteOptionsUnused(const Arguments &arguments, const std::string &name, PictureSize size, std::ostream &err)
{
    std::string unused;
    for (const std::string_view option : {"--fit", "--threshold", "--dither", "--invert"}) {
        if (arguments.Has(option))
            unused += (unused.empty() ? "" : ", ") + std::string(option);
    }
    if (!unused.empty())
        err << name << " is "
            << (IsModuleSize(size) ? "a 16 x 16 bitmap" : "a bitmap of the picture's size, " + PictureSizeText(size))
            << ", taken dot for dot: " << unused << " did not change it.\n";
}

} // namespace

bool ReadImageFrames(const std::string &imagePath, std::istream &in, bool allFrames, std::vector<FrameGreys> &frames,
                     std::string &problem, const FrameProgress &progress, PictureSize size)
{
    if (imagePath != kStandardStream)
        return ReadFramesFrom(QString::fromLocal8Bit(imagePath), allFrames, frames, problem, progress, size);
    QByteArray bytes;
    if (!ReadStandardInput(in, bytes, problem))
        return false;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadFramesFrom(static_cast<QIODevice &>(buffer), allFrames, frames, problem, progress, size);
}

int Import(const Arguments &arguments, Streams &streams)
{
    // A font's glyphs are pictures already: nothing to fit or halftone.
    if (arguments.operands.size() > 1 && FontKindOfFile(arguments.operands[1]) != FontKind::None)
        return ImportFont(arguments, streams, RasteriseFont);
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
    const PictureSize size = SizeOption(arguments).value_or(kModuleSize);
    const std::string &imagePath = arguments.operands[1];
    if (!each) {
        if (const FileStatus spared = OutputSparesInputs(arguments.operands[2], {&imagePath, 1}); !spared)
            return Refused(streams.err, spared.message());
    }
    const std::string name = SourceName(imagePath);
    const bool toHeader = !each && arguments.operands[2].ends_with(".h");
    if (!each && !toHeader)
        ExpectPictureName(arguments, arguments.operands[2], kImageCommandFormats, ".h");
    std::vector<FrameGreys> frames;
    std::string problem;
    bool read = false;
    {
        TerminalProgress progress(streams.err, name);
        read = ReadImageFrames(imagePath, streams.in, each || toHeader, frames, problem, progress.Callback(), size);
    }
    if (!read)
        return Refused(streams.err, "Cannot import " + name + ": " + problem + ".");
    if (frames.front().dotForDot)
        NoteOptionsUnused(arguments, name, size, streams.err);
    if (toHeader)
        return WriteImageHeader(arguments, frames, grid.nLCDType(), options, streams);
    if (!each)
        return WritePictureFile(FramePicture(frames.front(), grid.nLCDType(), options), arguments.operands[2], streams);
    return WriteEachFrame(arguments, frames, name, grid.nLCDType(), options, streams);
}

} // namespace tessaldo
