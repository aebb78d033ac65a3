#include "QtCommands.h"

#include "CommandShared.h"
#include "core/code/CodeFormats.h"
#include "core/convert/ImageSize.h"
#include "core/formats/BitmapFiles.h"
#include "core/platform/FileIo.h"
#include "core/platform/PlatformFile.h"
#include "image/PictureImage.h"

#include <QBuffer>
#include <QSaveFile>

#include <ostream>

// png and export: a drawing as an image file.
namespace tessaldo {
namespace {

QByteArray PngBytes(const DotGrid &grid, int scale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ImageFromPicture(grid, scale).save(&buffer, "PNG");
    return bytes;
}

// Writes a picture's file to OUT, or to standard output for "-".
int WriteBytes(const std::string &outPath, std::string_view bytes, Streams &streams)
{
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

// The same, never over the drawing it came from.
int WriteExported(const Arguments &arguments, std::string_view bytes, Streams &streams)
{
    const std::string &outPath = arguments.operands[2];
    if (const FileStatus spared = OutputSparesInputs(outPath, {&arguments.operands[1], 1}); !spared)
        return Refused(streams.err, spared.message());
    return WriteBytes(outPath, bytes, streams);
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
        const QSize pixels = PictureImageSize(grid, scale);
        if (HasTooManyPixels({pixels.width(), pixels.height()}))
            return Refused(streams.err, "At --scale " + std::to_string(scale) + " the " + PictureSizeText(grid.Size())
                                            + " picture would be an image of " + std::to_string(pixels.width()) + " x "
                                            + std::to_string(pixels.height()) + " pixels; images of up to "
                                            + std::to_string(kMaxImportPixels / 1'000'000)
                                            + " megapixels are written, so give a smaller --scale.");
        const QByteArray png = PngBytes(grid, scale);
        return WriteExported(arguments, {png.constData(), static_cast<std::size_t>(png.size())}, streams);
    }
    const std::filesystem::path out = arguments.operands[2];
    return WriteExported(arguments, format == ExportFormat::Xbm ? XbmText(grid, NameFromFileName(out)) : PbmBytes(grid),
                         streams);
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

} // namespace

int WritePictureFile(const DotGrid &grid, const std::string &out, Streams &streams)
{
    if (PictureFormatOfName(out) != PictureFormat::Png)
        return WriteDrawing(grid, out, streams.out, streams.err);
    // A pixel a dot, so that importing the image gives the picture back dot for dot.
    const QByteArray png = PngBytes(grid, 1);
    return WriteBytes(out, {png.constData(), static_cast<std::size_t>(png.size())}, streams);
}

int Png(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({"FILE", "OUT.png"});
    // PNG data under another ending would be opened as what that ending says.
    constexpr PictureFormat kPng[] = {PictureFormat::Png};
    ExpectPictureName(arguments, arguments.operands[2], kPng);
    return WritePicture(arguments, ExportFormat::Png, streams);
}

int Export(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({"FILE", "OUT"});
    return WritePicture(arguments, ExportFormatOf(arguments), streams);
}

} // namespace tessaldo
