#include "image/PictureImage.h"
#include "CliRunner.h"
#include "PngChunks.h"
#include "RandomPicture.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/PngPixels.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <set>
#include <tuple>

using namespace tessaldo;

namespace {

QImage Filled(QColor colour, int size = 16)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

int SetCount(const DotGrid &grid)
{
    return ::SetCount(grid.AllDots());
}

struct ImportOptions {
    LcdType type = LcdType::Column;
    int threshold = 128;
    bool invert = false;
};

DotGrid PictureFromImage(const QImage &image, const ImportOptions &options)
{
    DotGrid grid;
    grid.SetLCDType(options.type);
    PutCells(grid,
             CellsFromPixels(GreyFromImage(image), {Fit::Contain, options.threshold, Dither::None, options.invert}));
    return grid;
}

// A zlib stream of stored blocks: the PNG's image data without compression.
std::string StoredZlib(const std::string &raw)
{
    std::string stream("\x78\x01", 2);
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::size_t at = 0; at == 0 || at < raw.size(); at += 65535) {
        const std::string block = raw.substr(at, 65535);
        const auto size = static_cast<std::uint16_t>(block.size());
        const bool last = at + block.size() >= raw.size();
        stream += {static_cast<char>(last), static_cast<char>(size), static_cast<char>(size >> 8),
                   static_cast<char>(~size), static_cast<char>(~size >> 8)};
        stream += block;
    }
    for (const char c : raw) {
        a = (a + static_cast<unsigned char>(c)) % 65521;
        b = (b + a) % 65521;
    }
    return stream + BigEndian(b << 16 | a);
}

// Rows of samples drawn from `pick`, each with a filter of its own, applied as an encoder does.
std::string FilteredRows(int width, int height, int bitsPerPixel, bool interlaced, std::mt19937 &random,
                         const std::function<std::uint8_t(std::size_t)> &pick)
{
    struct Pass {
        int left, top, stepX, stepY;
    };
    const std::vector<Pass> passes = interlaced
                                         ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                                         : std::vector<Pass>{{0, 0, 1, 1}};
    const std::size_t step = std::max(1, bitsPerPixel / 8);
    std::string data;
    for (const Pass &pass : passes) {
        const int columns = width > pass.left ? (width - pass.left + pass.stepX - 1) / pass.stepX : 0;
        const int rows = height > pass.top ? (height - pass.top + pass.stepY - 1) / pass.stepY : 0;
        const std::size_t bytes = (static_cast<std::size_t>(columns) * bitsPerPixel + 7) / 8;
        std::vector<int> above(bytes + step, 0);
        for (int row = 0; columns > 0 && row < rows; ++row) {
            std::vector<int> line(bytes + step, 0); // `step` zeros before the row
            for (std::size_t i = 0; i < bytes; ++i)
                line[step + i] = pick(i);
            const int filter = static_cast<int>(random() % 5);
            data += static_cast<char>(filter);
            for (std::size_t i = step; i < line.size(); ++i) {
                const int left = line[i - step], up = above[i], upLeft = above[i - step];
                const int p = left + up - upLeft;
                const int paeth = std::abs(p - left) <= std::abs(p - up) && std::abs(p - left) <= std::abs(p - upLeft)
                                      ? left
                                  : std::abs(p - up) <= std::abs(p - upLeft) ? up
                                                                             : upLeft;
                const int predicted = std::array<int, 5>{0, left, up, (left + up) / 2, paeth}[filter];
                data += static_cast<char>(line[i] - predicted);
            }
            above = line;
        }
    }
    return data;
}

// A PNG file whose header declares the size, followed by a scrap of image data.
std::string PngDeclaring(std::uint32_t width, std::uint32_t height)
{
    return PngStart(width, height, 8, 0) + PngChunk("IDAT", std::string(64, '\0'));
}

// A JPEG of `upright` stored turned a quarter to the left, as a phone stores
// a photo, with the EXIF orientation (6) that says to turn it back.
QByteArray TurnedJpeg(const QImage &upright)
{
    QByteArray stored;
    QBuffer buffer(&stored);
    buffer.open(QIODevice::WriteOnly);
    upright.transformed(QTransform().rotate(-90)).save(&buffer, "JPEG", 100);
    // A big-endian TIFF header and one entry: orientation (0x0112), one short, 6.
    const std::string exif = std::string("Exif\0\0", 6)
                             + std::string("MM\0*\0\0\0\x08"
                                           "\0\x01"
                                           "\x01\x12\0\x03\0\0\0\x01\0\x06\0\0"
                                           "\0\0\0\0",
                                           26);
    const auto length = static_cast<char>(exif.size() + 2);
    return stored.left(2) + QByteArray("\xFF\xE1\0", 3) + length + QByteArray::fromStdString(exif) + stored.mid(2);
}

DotGrid ImportedFrom(const QByteArray &bytes, Fit fit)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    std::vector<FrameGreys> frames;
    std::string error;
    EXPECT_TRUE(ReadFrameGreys(buffer, frames, error)) << error;
    return frames.empty() ? DotGrid() : FramePicture(frames.front(), LcdType::Column, {fit, 128, Dither::None, false});
}

} // namespace

TEST(ImageImport, PixelDarkerThanTheThresholdIsASetDot)
{
    EXPECT_EQ(SetCount(PictureFromImage(Filled(QColor(127, 127, 127)), {})), 256);
    EXPECT_EQ(SetCount(PictureFromImage(Filled(QColor(128, 128, 128)), {})), 0);
    EXPECT_EQ(SetCount(PictureFromImage(Filled(QColor(200, 200, 200)), {LcdType::Column, 201, false})), 256);
    EXPECT_EQ(SetCount(PictureFromImage(Filled(Qt::black), {LcdType::Column, 0, false})), 0);
    EXPECT_EQ(SetCount(PictureFromImage(Filled(Qt::black), {LcdType::Column, 128, true})), 0);
    EXPECT_EQ(SetCount(PictureFromImage(Filled(Qt::white), {LcdType::Column, 128, true})), 256);
}

TEST(ImageImport, TransparentPixelsCountAsWhite)
{
    EXPECT_EQ(SetCount(PictureFromImage(Filled(QColor(0, 0, 0, 0)), {})), 0);
    EXPECT_EQ(SetCount(PictureFromImage(Filled(QColor(0, 0, 0, 255)), {})), 256);
    EXPECT_EQ(SetCount(PictureFromImage(Filled(QColor(0, 0, 0, 100)), {})), 0); // light grey over white
}

TEST(ImageImport, TakesTheImageAsTheModuleShowsItInTheLayout)
{
    QImage image = Filled(Qt::white);
    image.setPixelColor(1, 0, Qt::black); // second column, first row
    const DotGrid column = PictureFromImage(image, {LcdType::Column, 128, false});
    EXPECT_EQ(column.nLCDType(), LcdType::Column);
    EXPECT_TRUE(column.IsSet(16));
    const DotGrid row = PictureFromImage(image, {LcdType::Row, 128, false});
    EXPECT_TRUE(row.IsSet(1));
    EXPECT_EQ(SetCount(column) + SetCount(row), 2);
}

TEST(ImageExport, DrawsDotsAtTheirScreenPlacesWithGridLinesFromScaleFour)
{
    DotGrid grid;
    grid.SetLCDType(LcdType::Row);
    grid.SetDot(1, DotState::Set);
    const QImage small = ImageFromPicture(grid, 1);
    EXPECT_EQ(small.size(), QSize(16, 16));
    EXPECT_EQ(small.pixelColor(1, 0), QColor(Qt::black));
    EXPECT_EQ(small.pixelColor(0, 1), QColor(Qt::white));
    const QImage large = ImageFromPicture(grid, 8);
    EXPECT_EQ(large.size(), QSize(129, 129));
    EXPECT_EQ(large.pixelColor(8 + 4, 4), QColor(Qt::black));
    EXPECT_EQ(large.pixelColor(0, 4), QColor(128, 128, 128));
    EXPECT_EQ(ImageFromPicture(grid, 3).size(), QSize(48, 48));
}

TEST(ImageRoundTrip, ExportAtScaleOneThenImportGivesTheSameDrawingFile)
{
    TempDir dir;
    std::mt19937 random(31);
    for (int round = 0; round < 10; ++round) {
        const LcdType type = round % 2 ? LcdType::Row : LcdType::Column;
        const auto drawing = dir / "picture.Lcd";
        const auto png = dir / "picture.png";
        const auto back = dir / "back.Lcd";
        ASSERT_TRUE(SaveFile(RandomGrid(random, type), drawing).ok());
        ASSERT_EQ(RunCliProcess({"png", drawing.string(), png.string(), "--scale", "1"}).exitCode, 0);
        const CliResult imported =
            RunCliProcess({"import", png.string(), back.string(), "--type", round % 2 ? "1" : "0"});
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
        EXPECT_EQ(TempDir::Read(back), TempDir::Read(drawing));
    }
}

namespace {

// What ImageMagick, a reader not of this program, sees in an image file: a
// line a row, '#' for a black pixel, as show draws the picture.
std::string MagickRows(const std::filesystem::path &file, int width = kGridSide)
{
    TempDir dir;
    const auto grey = dir / "grey";
    const std::string command = "convert " + ShellQuote(file.string()) + " -depth 8 gray:" + ShellQuote(grey.string());
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    const std::string pixels = TempDir::Read(grey);
    std::string rows;
    for (std::size_t i = 0; i < pixels.size(); ++i)
        rows += std::string(static_cast<std::uint8_t>(pixels[i]) < 128 ? "#" : ".")
                + ((i + 1) % static_cast<std::size_t>(width) == 0 ? "\n" : "");
    return rows;
}

} // namespace

TEST(BitmapFiles, ImageMagickSeesWhatShowDrawsAndItsOwnFilesImportDotForDot)
{
    TempDir dir;
    std::mt19937 random(41);
    const auto drawing = dir / "icon.Lcd";
    const auto png = dir / "icon.png";
    const auto back = dir / "back.Lcd";
    for (const LcdType type : {LcdType::Column, LcdType::Row}) {
        ASSERT_TRUE(SaveFile(RandomGrid(random, type), drawing).ok());
        const std::string shown = RunCliProcess({"show", drawing.string()}).out;
        for (const char *name : {"icon.xbm", "icon.PBM"}) {
            const CliResult exported = RunCliProcess({"export", drawing.string(), (dir / name).string()});
            ASSERT_EQ(exported.exitCode, 0) << exported.err;
            EXPECT_EQ(MagickRows(dir / name), shown.substr(shown.find('\n') + 1)) << name;
        }
        // ImageMagick's own XBM, raw PBM and plain PBM; the threshold would clear every dot of another image.
        ASSERT_EQ(RunCliProcess({"png", drawing.string(), png.string(), "--scale", "1"}).exitCode, 0);
        for (const std::string name : {"magick.xbm", "magick.pbm", "plain.pbm"}) {
            const std::string convert = "convert " + ShellQuote(png.string())
                                        + (name == "plain.pbm" ? " -compress none " : " ")
                                        + ShellQuote((dir / name).string());
            ASSERT_EQ(std::system(convert.c_str()), 0) << convert;
            const std::string source = (dir / name).string();
            const CliResult imported = RunCliProcess(
                {"import", source, back.string(), "--type", type == LcdType::Row ? "1" : "0", "--threshold", "0"});
            ASSERT_EQ(imported.exitCode, 0) << imported.err;
            EXPECT_EQ(imported.err,
                      "\"" + source + "\" is a 16 x 16 bitmap, taken dot for dot: --threshold did not change it.\n");
            EXPECT_EQ(TempDir::Read(back), TempDir::Read(drawing)) << name;
        }
    }
}

namespace {

// The picture's rows as show draws them, '#' set.
std::string ShownRows(const DotGrid &grid)
{
    std::string rows;
    for (int row = 0; row < grid.Size().height; ++row) {
        for (int column = 0; column < grid.Size().width; ++column)
            rows += grid.IsSet(grid.DotAt({column, row})) ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

// An XBM's defines and the values between its braces, whatever its spacing and its array's type.
std::string XbmDefinesAndValues(const std::string &text)
{
    std::string kept = text.substr(0, text.find("static"));
    for (std::size_t at = text.find("0x", text.find('{')); at != std::string::npos; at = text.find("0x", at + 2))
        kept += text.substr(at, 4) + ",";
    return kept;
}

} // namespace

TEST(BitmapFiles, ImageMagickReadsOurPbmAndXbmOfEverySizeAndNetpbmWritesOurXbmsValues)
{
    TempDir dir;
    std::mt19937 random(43);
    for (const PictureSize size :
         {PictureSize{8, 8}, PictureSize{84, 48}, PictureSize{128, 64}, PictureSize{250, 122}, PictureSize{800, 480}}) {
        Dots dots(size);
        for (DotState &dot : dots)
            dot = random() % 3 == 0 ? DotState::Set : DotState::Clear;
        DotGrid grid;
        grid.SetAllDots(dots);
        const std::string shown = ShownRows(grid);
        const auto pbm = dir / "picture.pbm";
        const auto xbm = dir / "picture.xbm";
        ASSERT_TRUE(SavePicture(grid, pbm).ok());
        ASSERT_TRUE(SavePicture(grid, xbm).ok());
        EXPECT_EQ(MagickRows(pbm, size.width), shown) << PictureSizeText(size);
        EXPECT_EQ(MagickRows(xbm, size.width), shown) << PictureSizeText(size);

        // pbmtoxbm writes `static char` and fifteen values a line; the defines and the values are ours.
        const auto netpbm = dir / "netpbm.xbm";
        const std::string command = "cd " + ShellQuote(dir.path().string()) + " && pbmtoxbm picture.pbm >netpbm.xbm";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_EQ(XbmDefinesAndValues(TempDir::Read(netpbm)), XbmDefinesAndValues(TempDir::Read(xbm)))
            << PictureSizeText(size);
    }
}

TEST(ImageImport, AnySizeIsFittedAndEveryOptionReachesTheCells)
{
    TempDir dir;
    // 2000 x 1000, the left half black.
    QImage wide(2000, 1000, QImage::Format_RGB32);
    wide.fill(Qt::white);
    QPainter(&wide).fillRect(0, 0, 1000, 1000, Qt::black);
    const auto jpeg = dir / "wide.jpg";
    ASSERT_TRUE(wide.save(QString::fromStdString(jpeg.string()), "JPEG", 95));
    const auto show = [&](std::vector<std::string> options) {
        std::vector<std::string> args = {"import", jpeg.string(), "-"};
        args.insert(args.end(), options.begin(), options.end());
        const CliResult imported = RunCliProcess(args);
        EXPECT_EQ(imported.exitCode, 0) << imported.err;
        const auto drawing = dir.Write("out.Lcd", imported.out);
        return RunCliProcess({"show", drawing.string()}).out;
    };
    const std::string half = std::string(8, '#') + std::string(8, '.') + "\n";
    const std::string blank = std::string(16, '.') + "\n";
    std::string contained = "type 0\n";
    for (int row = 0; row < 16; ++row)
        contained += row >= 4 && row < 12 ? half : blank;
    EXPECT_EQ(show({}), contained);
    // Cover keeps the middle 1000 x 1000, whose left half is black.
    std::string filled = "type 1\n";
    for (int row = 0; row < 16; ++row)
        filled += half;
    EXPECT_EQ(show({"--fit", "cover", "--type", "1"}), filled);
    std::string stretched = "type 0\n";
    for (int row = 0; row < 16; ++row)
        stretched += std::string(8, '.') + std::string(8, '#') + "\n";
    EXPECT_EQ(show({"--fit", "stretch", "--invert", "--dither", "atkinson"}), stretched);
    EXPECT_EQ(std::ranges::count(show({"--threshold", "0", "--dither", "bayer"}), '.'), 256);

    // Standard input reads the same.
    const CliResult piped = RunCliProcess({"import", "-", "-", "--fit", "cover"}, jpeg.string());
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, RunCliProcess({"import", jpeg.string(), "-", "--fit", "cover"}).out);
}

// --size WxH makes the picture that size, written as a plain PBM that
// ImageMagick reads as show prints it; a bitmap of that size is taken dot
// for dot, and an animation's frames are pictures of it too.
TEST(ImageImport, APictureOfAnySizeIsWrittenAsImageMagickReadsIt)
{
    TempDir dir;
    QImage photo(900, 700, QImage::Format_RGB32);
    QLinearGradient shade(0, 0, 900, 700);
    shade.setColorAt(0, Qt::black);
    shade.setColorAt(1, Qt::white);
    QPainter painter(&photo);
    painter.fillRect(photo.rect(), shade);
    painter.setBrush(Qt::black);
    painter.drawEllipse(500, 100, 300, 300);
    painter.end();
    const auto png = dir / "photo.png";
    ASSERT_TRUE(photo.save(QString::fromStdString(png.string())));
    for (const auto &[size, width, options] : std::initializer_list<std::tuple<std::string, int, std::string>>{
             {"84x48", 84, "floyd-steinberg"}, {"250x122", 250, "bayer"}}) {
        const auto out = dir / ("photo-" + size + ".pbm");
        const CliResult imported = RunCliProcess(
            {"import", png.string(), out.string(), "--size", size, "--dither", options, "--fit", "cover"});
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
        EXPECT_EQ(TempDir::Read(out).substr(0, 3), "P1\n");
        const std::string shown = RunCliProcess({"show", out.string()}).out;
        const std::string rows = shown.substr(shown.find('\n') + 1);
        EXPECT_EQ(MagickRows(out, width), rows) << size;
        EXPECT_GT(std::ranges::count(rows, '#'), 0);
        EXPECT_GT(std::ranges::count(rows, '.'), 0);
        // The picture's own PBM comes back dot for dot, whatever the options say.
        const CliResult again = RunCliProcess({"import", out.string(), "-", "--size", size, "--threshold", "0"});
        EXPECT_EQ(again.err, "\"" + out.string() + "\" is a bitmap of the picture's size, "
                                 + shown.substr(5, shown.find('\n') - 5)
                                 + ", taken dot for dot: --threshold did not change it.\n");
        EXPECT_EQ(again.out, TempDir::Read(out));
    }
    const CliResult frames = RunCliProcess({"import", std::string(TESSALDO_TEST_DATA) + "/partial-frames.gif", "--each",
                                            (dir / "f").string(), "--size", "32x8"});
    ASSERT_EQ(frames.exitCode, 0) << frames.err;
    const std::string f = (dir / "f").string();
    EXPECT_EQ(frames.out, f + "/partial-frames-000.pbm 100 ms\n" + f + "/partial-frames-001.pbm 250 ms\n" + f
                              + "/partial-frames-002.pbm 400 ms\n");
    EXPECT_EQ(RunCliProcess({"show", f + "/partial-frames-002.pbm"}).out.substr(0, 12), "size 32 x 8\n");
}

TEST(ImageImport, APhotoIsTurnedAsItsExifOrientationSays)
{
    std::mt19937 random(6);
    const DotGrid upright = RandomGrid(random, LcdType::Column);
    // Tall, so that what cover keeps shows which way it was turned.
    const QImage picture = ImageFromPicture(upright, 8);
    QImage image(picture.width(), picture.height() * 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).drawImage(0, picture.height() / 2, picture);
    EXPECT_EQ(ImportedFrom(TurnedJpeg(image), Fit::Cover).AllDots(), upright.AllDots());
}

// Every colour type and depth, interlaced or not, with and without a
// transparent colour, samples at the edges of rounding 16 bits to 8: the
// core's greys are the desktop reader's, so the page's dots are the same.
TEST(PngPixels, GreysAreTheDesktopReadersForEveryKindOfPng)
{
    std::mt19937 random(7);
    const std::vector<std::pair<int, std::vector<int>>> kinds = {
        {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
    const std::array<int, 7> channels{1, 0, 3, 1, 2, 0, 4};
    for (const auto &[colour, depths] : kinds) {
        for (const int depth : depths) {
            for (const bool interlaced : {false, true}) {
                for (const bool transparency : {false, true}) {
                    for (const auto &[width, height] : {std::pair{19, 13}, std::pair{1, 1}, std::pair{3, 9}}) {
                        const int bits = depth * channels[static_cast<std::size_t>(colour)];
                        // A sample of the transparent colour, or 16-bit values next to where rounding turns.
                        const std::string key(depth == 16 ? "\x01\x80" : depth == 8 ? "\x00\x81" : "\0\x01", 2);
                        const std::string edges("\x00\x80\x00\x81\x01\x81\x01\x82\xFF\x7F\xFF\xFF", 12);
                        const auto pick = [&](std::size_t i) {
                            const std::size_t k = random() % 12;
                            if (depth < 8 || k > 5)
                                return static_cast<std::uint8_t>(random());
                            const std::string &from = k < 2 ? key : edges;
                            const std::size_t at = depth == 16 ? (k * 2 + i % 2) % from.size() : 1;
                            return static_cast<std::uint8_t>(from[at]);
                        };
                        std::string chunks;
                        const int entries = 1 + static_cast<int>(random() % (1u << depth));
                        if (colour == 3) {
                            std::string palette;
                            for (int i = 0; i < 3 * entries; ++i)
                                palette += static_cast<char>(random());
                            chunks += PngChunk("PLTE", palette);
                        }
                        if (transparency) {
                            std::string alpha;
                            for (int i = 0; i < entries; ++i)
                                alpha += static_cast<char>(random());
                            chunks += PngChunk("tRNS", colour == 3   ? alpha.substr(0, 1 + random() % entries)
                                                       : colour == 2 ? key + key + key
                                                                     : key);
                        }
                        const std::string raw = FilteredRows(width, height, bits, interlaced, random, pick);
                        const std::string file = PngStart(static_cast<std::uint32_t>(width),
                                                          static_cast<std::uint32_t>(height), depth, colour, interlaced)
                                                 + chunks + PngChunk("IDAT", StoredZlib(raw)) + PngChunk("IEND", "");

                        // The desktop's reader lays out 16-bit RGB with a transparent colour as if it had
                        // an alpha sample, leaving the last quarter of each row unset: the core keys it.
                        if (colour == 2 && depth == 16 && transparency)
                            continue;
                        const QImage desktop = QImage::fromData(QByteArray::fromStdString(file), "PNG");
                        ASSERT_FALSE(desktop.isNull());
                        PngPixels png(file);
                        ASSERT_FALSE(png.Damaged());
                        for (std::size_t at = 0; at < raw.size(); at += 7)
                            png.Add(std::string_view(raw).substr(at, 7));
                        ASSERT_TRUE(png.Complete());
                        EXPECT_EQ(png.TakeGreys().pixels, GreyFromImage(desktop).pixels)
                            << "colour " << colour << ", depth " << depth << ", interlaced " << interlaced
                            << ", transparency " << transparency << ", " << width << " x " << height;
                    }
                }
            }
        }
    }
}

TEST(ImageImportErrors, HostileOrBrokenFilesAreRefusedWithTheReasonAndWriteNothing)
{
    TempDir dir;
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::gray);
    const auto png = dir / "whole.png";
    ASSERT_TRUE(image.save(QString::fromStdString(png.string())));
    const std::string bytes = TempDir::Read(png);
    const auto jpeg = dir / "whole.jpg";
    ASSERT_TRUE(image.save(QString::fromStdString(jpeg.string())));
    const std::string jpegBytes = TempDir::Read(jpeg);
    const std::string gif = TempDir::Read(std::filesystem::path(TESSALDO_TEST_DATA) / "partial-frames.gif");
    std::string damagedGif = gif;
    damagedGif[220] = '\xFF'; // inside the last frame's codes
    const auto bmp = dir / "whole.bmp";
    ASSERT_TRUE(image.save(QString::fromStdString(bmp.string())));
    std::filesystem::create_directory(dir / "folder.png");
    const std::vector<std::pair<std::filesystem::path, std::string>> refused = {
        {dir.Write("giant.png", PngDeclaring(100000, 100000)),
         "it is 100000 x 100000 pixels; images up to 64 megapixels can be imported"},
        {dir.Write("giant.gif",
                   std::string("GIF89a\xff\xff\xff\xff\0\0\0,\0\0\0\0\xff\xff\xff\xff\0\x08\x02\0\0;", 29)),
         "it is 65535 x 65535 pixels; images up to 64 megapixels can be imported"},
        {dir.Write("cut.png", bytes.substr(0, bytes.size() / 2)), "the image cannot be decoded"},
        {dir.Write("corrupt.png", bytes.substr(0, 16) + std::string(200, 'x')), "the image cannot be decoded"},
        {dir.Write("cut.jpg", jpegBytes.substr(0, jpegBytes.size() * 2 / 3)), "the JPEG data ends early."},
        {dir.Write("cut.gif", gif.substr(0, gif.size() / 2)), "the GIF ends before its last frame."},
        {dir.Write("damaged.gif", damagedGif), "frame 3 of the GIF cannot be decoded."},
        {dir.Write("cut.bmp", TempDir::Read(bmp).substr(0, 4136)), "the BMP data ends early."},
        {dir.Write("empty.png", ""), "the file is empty"},
        {dir.Write("text.png", "hello"), "it is not an image in a format that can be read (BMP"},
        {dir / "folder.png", "it is a folder"},
        {dir / "missing.png", "No such file or directory"},
    };
    const auto out = dir / "out.Lcd";
    for (const auto &[file, reason] : refused) {
        for (const std::vector<std::string> &where :
             {std::vector<std::string>{out.string()}, {"--each", out.string()}}) {
            std::vector<std::string> args = {"import", file.string()};
            args.insert(args.end(), where.begin(), where.end());
            const CliResult result = RunCliProcess(args);
            EXPECT_EQ(result.exitCode, 1) << file;
            EXPECT_EQ(result.err.rfind("Cannot import \"" + file.string() + "\": " + reason, 0), 0u) << result.err;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    const CliResult piped = RunCliProcess({"import", "-", out.string()}, (dir / "giant.png").string());
    EXPECT_EQ(piped.err, "Cannot import standard input: it is 100000 x 100000 pixels; images up to 64 megapixels "
                         "can be imported.\n");
}

TEST(ImageCommandUsage, BadOptionValuesNameTheOptionAndWhatItTakes)
{
    const std::pair<std::vector<std::string>, std::string> wrong[] = {
        {{"import", "a.png", "b.Lcd", "--type", "2"}, "import: --type must be 0 or 1, not 2"},
        {{"import", "a.png", "b.Lcd", "--threshold", "300"}, "import: --threshold must be 0 to 255, not 300"},
        {{"import", "a.png", "b.Lcd", "--threshold", "12x"}, "import: --threshold must be 0 to 255, not '12x'"},
        {{"import", "a.png", "b.Lcd", "--fit", "fill"}, "import: --fit must be contain, cover or stretch, not 'fill'"},
        {{"import", "a.png", "b.Lcd", "--scale", "2"}, "import: unknown option '--scale'"},
        {{"import", "a.png", "b.Lcd", "--replace"}, "import: --replace goes with --each FOLDER"},
        {{"png", "a.Lcd", "b.png", "--scale", "0"}, "png: --scale must be 1 to 64, not 0"},
        {{"png", "a.Lcd"}, "png: missing OUT.png"},
        {{"export", "a.Lcd", "-"}, "export: OUT must end in .png, .xbm or .pbm, the format it is written in"},
        {{"export", "a.Lcd", "b.xbm", "--scale", "2"},
         "export: --scale is for .png only: an XBM or PBM holds one pixel for each dot"},
        {{"send", "a.Lcd"}, "send: missing --port DEVICE"},
        {{"send", "a.Lcd", "--port", "p", "--baud", "300"},
         "send: --baud must be 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200, not '300'"},
        {{"send", "a.Lcd", "--port", "p", "--baud", "12x"},
         "send: --baud must be 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200, not '12x'"},
        {{"text", "A", "b.Lcd", "--offset", "1;2"}, "text: --offset must be X,Y, whole dots from -16 to 16, not '1;2'"},
        {{"text", "A", "b.Lcd", "--align", "right"}, "text: --align must be center or left, not 'right'"},
    };
    for (const auto &[args, problem] : wrong) {
        const CliResult result = RunCliProcess(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err, "tessaldo-cli " + problem + "\nTry 'tessaldo-cli --help'.\n");
    }
}

TEST(ImageExportErrors, UnwritableTargetIsRefused)
{
    TempDir dir;
    const auto drawing = dir.Write("a.Lcd", " 0\r\n1");
    const auto out = dir / "missing" / "a.png";
    const CliResult result = RunCliProcess({"png", drawing.string(), out.string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.rfind("Cannot save \"" + out.string() + "\": ", 0), 0u) << result.err;
}

namespace {

// A GIF of `frames` one-pixel frames, each 40 ms, written byte by byte.
std::string TinyAnimation(int frames)
{
    std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF", 19);
    for (int i = 0; i < frames; ++i) {
        gif += std::string("\x21\xF9\x04\x00\x04\x00\x00\x00", 8);                              // 40 ms
        gif += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00", 15); // one black pixel
    }
    return gif + "\x3B";
}

std::string Rows(const std::string &shown, int first, int count)
{
    std::string rows;
    for (int row = first; row < first + count; ++row)
        rows += shown.substr(7 + 17 * static_cast<std::size_t>(row), 16) + "|";
    return rows;
}

} // namespace

TEST(ImageFrames, EachFrameIsWhatAViewerShowsItsDelayKeptAndTooManyAreRefused)
{
    TempDir dir;
    const std::string data = TESSALDO_TEST_DATA;
    const CliResult frames = RunCliProcess({"import", data + "/partial-frames.gif", "--each", (dir / "f").string()});
    ASSERT_EQ(frames.exitCode, 0) << frames.err;
    const std::string f = (dir / "f").string();
    EXPECT_EQ(frames.out, f + "/partial-frames-000.Lcd 100 ms\n" + f + "/partial-frames-001.Lcd 250 ms\n" + f
                              + "/partial-frames-002.Lcd 400 ms\n");
    // A 4 x 4 patch drawn at (8, 8) over the first frame, then one transparent frame with a dot at (15, 15).
    const std::string last = RunCliProcess({"show", f + "/partial-frames-002.Lcd"}).out;
    EXPECT_EQ(Rows(last, 0, 1), "#...............|");
    EXPECT_EQ(Rows(last, 8, 1), "........####....|");
    EXPECT_EQ(Rows(last, 15, 1), "...............#|");
    for (const std::string disposal : {"background", "previous"}) {
        const std::string gif = data + "/dispose-" + disposal + ".gif";
        ASSERT_EQ(RunCliProcess({"import", gif, "--each", (dir / disposal).string()}).exitCode, 0);
        const std::string shown =
            RunCliProcess({"show", (dir / disposal / ("dispose-" + disposal + "-002.Lcd")).string()}).out;
        EXPECT_EQ(Rows(shown, 0, 1) + Rows(shown, 8, 1), "#...............|................|") << disposal;
    }

    const auto one = dir.Write("one.gif", TinyAnimation(1));
    EXPECT_EQ(RunCliProcess({"import", one.string(), "--each", (dir / "one").string()}).out,
              (dir / "one" / "one-000.Lcd").string() + " 40 ms\n");
    // A screen of 65535 x 65535 around the frame, as some encoders write it, is read on the frame's own.
    std::string wide = TinyAnimation(1);
    wide.replace(6, 4, "\xFF\xFF\xFF\xFF");
    const CliResult fitted = RunCliProcess({"import", dir.Write("wide.gif", wide).string(), "-"});
    EXPECT_EQ(fitted.err, "");
    EXPECT_EQ(fitted.out, RunCliProcess({"import", one.string(), "-"}).out);
    const auto many = dir.Write("many.gif", TinyAnimation(10'001));
    const CliResult refused = RunCliProcess({"import", many.string(), "--each", (dir / "many").string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Cannot import \"" + many.string()
                               + "\": it has more than 10000 frames; animations of up to 10000 frames can be "
                                 "imported.\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "many"));
}

TEST(ImageFrames, FramesOfAnotherImportOfTheSameNameAreRefusedOrReplaced)
{
    TempDir dir;
    const std::string folder = (dir / "spin").string();
    const auto spin = dir.Write("spin.gif", TinyAnimation(7));
    ASSERT_EQ(RunCliProcess({"import", spin.string(), "--each", folder}).exitCode, 0);
    dir.Write("spin/spin-notes.Lcd", "");
    dir.Write("spin/other-009.Lcd", "");
    dir.Write("spin.gif", TinyAnimation(2));
    const CliResult refused = RunCliProcess({"import", spin.string(), "--each", folder});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Cannot import \"" + spin.string() + "\": \"" + folder
                               + "\" holds frames of another import that this one would not write (spin-002.Lcd, "
                                 "spin-003.Lcd, spin-004.Lcd and 2 more); --replace removes them.\n");
    EXPECT_EQ(refused.out, "");
    const CliResult replaced = RunCliProcess({"import", spin.string(), "--each", folder, "--replace"});
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
    std::set<std::string> left;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, std::set<std::string>({"other-009.Lcd", "spin-000.Lcd", "spin-001.Lcd", "spin-notes.Lcd"}));
}
