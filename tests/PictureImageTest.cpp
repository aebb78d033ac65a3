#include "PictureImage.h"
#include "CliRunner.h"
#include "DrawingFile.h"
#include "RandomPicture.h"

#include <gtest/gtest.h>

#include <random>

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

TEST(ImageImportErrors, WrongSizeOrNoImageWritesNothing)
{
    TempDir dir;
    const auto wide = dir / "wide.png";
    ASSERT_TRUE(Filled(Qt::black, 17).save(QString::fromStdString(wide.string())));
    const auto notImage = dir.Write("text.png", "hello");
    const auto out = dir / "out.Lcd";
    const CliResult sized = RunCliProcess({"import", wide.string(), out.string()});
    EXPECT_EQ(sized.exitCode, 1);
    EXPECT_EQ(sized.err, "Cannot import \"" + wide.string()
                             + "\": it is 17 x 17 pixels, but a picture must be exactly 16 x 16.\n");
    const CliResult garbage = RunCliProcess({"import", notImage.string(), out.string()});
    EXPECT_EQ(garbage.exitCode, 1);
    EXPECT_EQ(RunCliProcess({"import", (dir / "missing.png").string(), out.string()}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(ImageCommandUsage, BadOptionValuesAreUsageErrors)
{
    const std::vector<std::vector<std::string>> wrong = {
        {"import", "a.png", "b.Lcd", "--type", "2"},
        {"import", "a.png", "b.Lcd", "--threshold", "256"},
        {"import", "a.png", "b.Lcd", "--threshold", "12x"},
        {"import", "a.png", "b.Lcd", "--type"},
        {"import", "a.png", "b.Lcd", "--scale", "2"},
        {"png", "a.Lcd", "b.png", "--scale", "0"},
        {"png", "a.Lcd", "b.png", "--scale", "65"},
        {"png", "a.Lcd"},
        {"code", "a.Lcd", "--invert"},
    };
    for (const auto &args : wrong)
        EXPECT_EQ(RunCliProcess(args).exitCode, 2) << args[0] << " " << args.back();
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
