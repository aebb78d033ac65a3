#include "image/PictureImage.h"

#include "core/formats/BitmapFiles.h"
#include "core/formats/ImageHeader.h"

#include "core/platform/PlatformFile.h"
#include "image/PicturePainter.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <algorithm>

namespace tessaldo {
namespace {

constexpr int kGridFromScale = 4;
// Room for the largest image allowed, decoded at eight bytes a pixel as a
// 16-bit PNG is, which the page reads whole too.
constexpr int kDecodeLimitMiB = 512;
// Converted a band of rows at a time, so a big image is never held twice.
constexpr int kBandRows = 256;

std::uint8_t LuminanceOverWhite(QRgb pixel)
{
    return GreyOverWhite(qRed(pixel), qGreen(pixel), qBlue(pixel), qAlpha(pixel));
}

std::string Megapixels(QSize size)
{
    return TooManyPixels({size.width(), size.height()});
}

bool TooLarge(QSize size)
{
    return HasTooManyPixels({size.width(), size.height()});
}

std::string Readable()
{
    std::string formats;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        formats += (formats.empty() ? "" : ", ") + format.toUpper().toStdString();
    return "it is not an image in a format that can be read (" + formats + ")";
}

// The image plugins, and libpng below them, complain on the console about
// every damaged file; the reason reaches the user in the refusal instead.
class QuietImagePlugins {
public:
    QuietImagePlugins() : m_previous(qInstallMessageHandler(Drop)) {}
    ~QuietImagePlugins() { qInstallMessageHandler(m_previous); }
    QuietImagePlugins(const QuietImagePlugins &) = delete;
    QuietImagePlugins &operator=(const QuietImagePlugins &) = delete;

private:
    static void Drop(QtMsgType, const QMessageLogContext &, const QString &) {}
    QtMessageHandler m_previous;
    StandardErrorSilenced m_libraries;
};

} // namespace

GreyImage GreyFromImage(const QImage &image)
{
    GreyImage grey{image.width(), image.height(), {}};
    grey.pixels.resize(static_cast<std::size_t>(grey.width) * static_cast<std::size_t>(grey.height));
    const bool direct = image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32;
    for (int top = 0; top < image.height(); top += kBandRows) {
        const int rows = std::min(kBandRows, image.height() - top);
        const QImage band =
            direct ? image : image.copy(0, top, image.width(), rows).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < rows; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(band.constScanLine(direct ? top + y : y));
            std::uint8_t *out = grey.pixels.data() + static_cast<std::size_t>(top + y) * grey.width;
            for (int x = 0; x < grey.width; ++x)
                out[x] = LuminanceOverWhite(line[x]);
        }
    }
    return grey;
}

namespace {

// Why the device's data stops before its format's end or cannot be decoded,
// found without a copy of a file or a buffer; the decoders would take it and
// leave the rest blank.
ImageDataCheck CheckData(QIODevice &device)
{
    const auto view = [](const auto *bytes, qint64 size) {
        return std::string_view(reinterpret_cast<const char *>(bytes), static_cast<std::size_t>(size));
    };
    if (auto *buffer = qobject_cast<QBuffer *>(&device))
        return CheckImageData(view(buffer->data().constData(), buffer->data().size()));
    auto *file = qobject_cast<QFile *>(&device);
    if (uchar *mapped = file != nullptr ? file->map(0, file->size()) : nullptr) {
        ImageDataCheck check = CheckImageData(view(mapped, file->size()));
        file->unmap(mapped);
        return check;
    }
    const QByteArray bytes = device.peek(device.size());
    return CheckImageData(view(bytes.constData(), bytes.size()));
}

// The device a reader reads: the device itself, or for a GIF whose screen is
// too large to import around frames that are not, the GIF on its frames' screen.
class FittedDevice {
public:
    explicit FittedDevice(QIODevice &device) : m_device(device)
    {
        constexpr qint64 kScreenEnd = 10;
        const QByteArray start = device.isSequential() ? QByteArray() : device.peek(kScreenEnd);
        const std::optional<ImageSize> screen =
            DeclaredImageSize(std::string_view(start.constData(), static_cast<std::size_t>(start.size())));
        if (!start.startsWith("GIF") || !screen || !HasTooManyPixels(*screen))
            return; // any other file, and every GIF of a sound screen, is read as it is
        const QByteArray whole = device.peek(device.size());
        const std::optional<std::string> fitted =
            GifOnItsFramesScreen(std::string_view(whole.constData(), static_cast<std::size_t>(whole.size())));
        if (!fitted)
            return;
        m_fitted.setData(QByteArray(fitted->data(), static_cast<qsizetype>(fitted->size())));
        m_fitted.open(QIODevice::ReadOnly);
    }

    QIODevice &Device() { return m_fitted.isOpen() ? static_cast<QIODevice &>(m_fitted) : m_device; }

private:
    QIODevice &m_device;
    QBuffer m_fitted;
};

// Opens the reader on the device and checks what its header declares and
// that the data goes on to its end; `gifFrames` is how many frames a GIF's
// data holds, which the reader must yield.
bool StartReading(QIODevice &device, QImageReader &reader, std::string &error, std::size_t &gifFrames)
{
    reader.setDevice(&device);
    reader.setAllocationLimit(kDecodeLimitMiB);
    // A phone stores its photo as the sensor saw it and says in EXIF how to
    // turn it; every viewer and browser shows it turned, and so do the dots.
    reader.setAutoTransform(true);
    if (device.size() == 0) {
        error = "the file is empty";
        return false;
    }
    if (!reader.canRead()) {
        error = Readable();
        return false;
    }
    const QSize declared = reader.size();
    // A large photo is decoded whole, not reduced by the JPEG decoder: the
    // browser decodes it whole, and the page's dots must be the same.
    if (declared.isValid() && TooLarge(declared)) {
        error = Megapixels(declared);
        return false;
    }
    ImageDataCheck check = CheckData(device);
    error = std::move(check.problem);
    gifFrames = check.gifFrames;
    return error.empty();
}

// The next frame, whole: Qt's GIF reader composes each frame over the ones
// before it as its disposal says, so what comes back is what a viewer shows.
bool ReadFrame(QImageReader &reader, QImage &image, std::string &error)
{
    image = reader.read();
    if (image.isNull()) {
        error = "the image cannot be decoded: it is damaged or cut short (" + reader.errorString().toStdString() + ")";
        return false;
    }
    if (TooLarge(image.size())) {
        error = Megapixels(image.size());
        return false;
    }
    return true;
}

template <typename Read> bool WithFile(const QString &path, std::string &error, Read read)
{
    int fd = -1;
    if (const std::error_code opened = OpenRegularFileToRead(std::filesystem::path(path.toStdU16String()), fd)) {
        error = opened.message();
        return false;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        error = file.errorString().toStdString();
        return false;
    }
    return read(file);
}

std::string TooManyFrames(std::size_t count)
{
    return "it has " + std::string(count > static_cast<std::size_t>(kMaxFrames) ? "more than " : "")
           + std::to_string(kMaxFrames) + " frames; animations of up to " + std::to_string(kMaxFrames)
           + " frames can be imported";
}

// How long the frame just read is shown, by the same rule for GIFs as the page's.
int FrameDelayMs(const QImageReader &reader)
{
    const int delayMs = std::max(0, reader.nextImageDelay());
    return reader.format() == "gif" ? GifFrameDelayMs(delayMs) : delayMs;
}

// An XBM or PBM, read by the core as the page and the command line read it;
// nothing when the device holds neither.
std::optional<bool> ReadBitmapFrame(QIODevice &device, FrameGreys &frame, std::string &error, PictureSize size)
{
    constexpr qint64 kStartBytes = 4096; // room for comments before an XBM's first define
    const QByteArray start = device.peek(kStartBytes);
    if (!IsBitmapFile(std::string_view(start.constData(), static_cast<std::size_t>(start.size()))))
        return std::nullopt;
    const QByteArray whole = device.readAll();
    BitmapRead read = ReadBitmapFile(std::string_view(whole.constData(), static_cast<std::size_t>(whole.size())));
    if (!read.problem.empty()) {
        error = std::move(read.problem);
        return false;
    }
    frame = FrameFromGreys(GreysOfBitmap(read.bitmap), 0, size);
    frame.dotForDot = DotForDot(read.bitmap, size);
    return true;
}

} // namespace

bool ReadFirstFrame(QIODevice &device, FrameGreys &frame, std::string &error, PictureSize size)
{
    if (const std::optional<bool> bitmap = ReadBitmapFrame(device, frame, error, size))
        return *bitmap;
    const QuietImagePlugins quiet;
    QImageReader reader;
    QImage image; // the first frame of an animation
    std::size_t gifFrames = 0;
    FittedDevice fitted(device);
    if (!StartReading(fitted.Device(), reader, error, gifFrames) || !ReadFrame(reader, image, error))
        return false;
    frame = FrameFromGreys(GreyFromImage(image), 0, size);
    return true;
}

bool ReadFirstFrame(const QString &path, FrameGreys &frame, std::string &error, PictureSize size)
{
    return WithFile(path, error, [&](QIODevice &file) { return ReadFirstFrame(file, frame, error, size); });
}

FrameGreys FrameFromGreys(const GreyImage &image, int delayMs, PictureSize size)
{
    FrameGreys frame;
    for (const Fit fit : {Fit::Contain, Fit::Cover, Fit::Stretch})
        frame.byFit[static_cast<std::size_t>(fit)] = ResampleToCells(image, fit, size);
    frame.delayMs = delayMs;
    frame.width = image.width;
    frame.height = image.height;
    return frame;
}

DotGrid FramePicture(const FrameGreys &frame, LcdType type, const DotOptions &options)
{
    DotGrid grid;
    grid.SetLCDType(type);
    grid.SetAllDots(Dots(frame.byFit[static_cast<std::size_t>(options.fit)].Size()));
    PutCells(grid, ImportedCells(frame.byFit[static_cast<std::size_t>(options.fit)], options, frame.dotForDot));
    return grid;
}

Document SetFromFrames(const std::vector<FrameGreys> &frames, LcdType type, const DotOptions &options,
                       const std::string &name)
{
    std::vector<Picture> pictures;
    pictures.reserve(frames.size());
    for (const FrameGreys &frame : frames)
        pictures.push_back({{}, frame.delayMs, FramePicture(frame, type, options).AllDots()});
    return SetOfFrames(std::move(pictures), type, name);
}

bool ReadFrameGreys(QIODevice &device, std::vector<FrameGreys> &frames, std::string &error,
                    const FrameProgress &progress, PictureSize size)
{
    FrameGreys bitmapFrame;
    if (const std::optional<bool> bitmap = ReadBitmapFrame(device, bitmapFrame, error, size)) {
        if (*bitmap)
            frames = {bitmapFrame};
        return *bitmap;
    }
    QImageReader reader;
    int count = 0;
    std::size_t gifFrames = 0;
    FittedDevice fitted(device);
    {
        const QuietImagePlugins quiet;
        if (!StartReading(fitted.Device(), reader, error, gifFrames))
            return false;
        count = std::max(0, reader.imageCount());
    }
    if (count > kMaxFrames) {
        error = TooManyFrames(static_cast<std::size_t>(count));
        return false;
    }
    std::vector<FrameGreys> read;
    for (bool more = true; more;) {
        if (progress && !progress(static_cast<int>(read.size()), count)) {
            error.clear();
            return false;
        }
        if (read.size() == static_cast<std::size_t>(kMaxFrames)) {
            error = TooManyFrames(read.size() + 1);
            return false;
        }
        const QuietImagePlugins quiet; // not over `progress`, which may write to standard error
        QImage image;
        if (!ReadFrame(reader, image, error))
            return false;
        read.push_back(FrameFromGreys(GreyFromImage(image), FrameDelayMs(reader), size));
        more = reader.supportsAnimation() && reader.canRead();
    }
    // The reader stops quietly at a frame it cannot decode.
    if (read.size() < gifFrames) {
        error = GifFrameUndecodable(read.size() + 1);
        return false;
    }
    frames = std::move(read);
    return true;
}

bool ReadFrameGreys(const QString &path, std::vector<FrameGreys> &frames, std::string &error,
                    const FrameProgress &progress, PictureSize size)
{
    return WithFile(path, error, [&](QIODevice &file) { return ReadFrameGreys(file, frames, error, progress, size); });
}

QSize PictureImageSize(const DotGrid &grid, int scale)
{
    const bool lines = scale >= kGridFromScale;
    return {PicturePixels(scale, lines, grid.Size().width), PicturePixels(scale, lines, grid.Size().height)};
}

QImage ImageFromPicture(const DotGrid &grid, int scale)
{
    const bool lines = scale >= kGridFromScale;
    QImage image(PictureImageSize(grid, scale), QImage::Format_RGB32);
    QPainter painter(&image);
    PaintPicture(painter, grid, grid.nLCDType(), scale, lines);
    return image;
}

} // namespace tessaldo
