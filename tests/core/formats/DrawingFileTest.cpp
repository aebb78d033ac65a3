#include "core/formats/DrawingFile.h"
#include "RandomPicture.h"
#include "TempDir.h"
#include "core/code/CodeFormats.h"
#include "core/formats/BitmapFiles.h"
#include "core/platform/FileIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using namespace tessaldo;

namespace {

// A picture that differs from a fresh one in type and in many dots, so that a
// refused file that changed anything is caught.
DotGrid BusyGrid()
{
    std::mt19937 random(99);
    return RandomGrid(random, LcdType::Row);
}

const ReadFrom kFile = ReadFrom::File("a.Lcd");

Drawing Parse(std::string_view bytes)
{
    const ParsedDrawing parsed = ParseDrawing(bytes, kFile);
    EXPECT_TRUE(parsed.ok()) << parsed.message();
    return parsed ? parsed.value() : Drawing{};
}

std::string Refusal(std::string_view bytes)
{
    const ParsedDrawing parsed = ParseDrawing(bytes, kFile);
    EXPECT_FALSE(parsed.ok());
    return parsed.message();
}

// The sentence a refusal of a.Lcd is.
std::string CannotOpen(const std::string &reason)
{
    return "Cannot open \"a.Lcd\": " + reason + ".";
}

std::optional<LcdType> TypeOfLine(const std::string &typeLine)
{
    const ParsedDrawing parsed = ParseDrawing(typeLine + "\r\n" + std::string(256, '1'), kFile);
    return parsed ? parsed.value().type : std::nullopt;
}

} // namespace

TEST(DrawingFormat, WritesTypeLineWithSignPositionAndAllDotsClearAsOne)
{
    DotGrid grid;
    grid.SetDot(0, DotState::Set);
    grid.SetDot(255, DotState::Set);
    const std::string bytes = FormatDrawing(grid);
    ASSERT_EQ(bytes.size(), 262u);
    EXPECT_EQ(bytes.substr(0, 4), " 0\r\n");
    EXPECT_EQ(bytes.substr(4, 3), "011");
    EXPECT_EQ(bytes.substr(258), "10\r\n"); // dot 254 clear, dot 255 set
    grid.SetLCDType(LcdType::Row);
    EXPECT_EQ(FormatDrawing(grid).substr(0, 4), " 1\r\n");
}

TEST(DrawingFile, SaveThenOpenRestoresEveryDotAndTheTypeOfRandomPictures)
{
    TempDir dir;
    std::mt19937 random(2024);
    for (int round = 0; round < 50; ++round) {
        const LcdType type = round % 2 ? LcdType::Row : LcdType::Column;
        const DotGrid saved = RandomGrid(random, type);
        const auto file = dir / "picture.Lcd";
        ASSERT_TRUE(SaveFile(saved, file).ok());
        DotGrid opened = RandomGrid(random, type == LcdType::Row ? LcdType::Column : LcdType::Row);
        const FileStatus status = OpenFile(opened, file);
        ASSERT_TRUE(status.ok()) << status.message();
        EXPECT_EQ(opened, saved);
    }
}

TEST(DrawingFile, SavesUnderExactlyTheGivenNameIncludingKoreanNames)
{
    TempDir dir;
    const auto file = dir / std::filesystem::path(u8"그림 파일");
    ASSERT_TRUE(SaveFile(DotGrid{}, file).ok());
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    DotGrid grid = BusyGrid();
    EXPECT_TRUE(OpenFile(grid, file).ok());
    EXPECT_EQ(grid, DotGrid{});
}

TEST(DrawingFile, SaveReplacesTheWholeEarlierContent)
{
    TempDir dir;
    const auto file = dir.Write("old.Lcd", std::string(5000, 'x'));
    ASSERT_TRUE(SaveFile(DotGrid{}, file).ok());
    EXPECT_EQ(TempDir::Read(file), FormatDrawing(DotGrid{}));
}

TEST(DrawingFile, AByteOrderMarkBeforeTheFirstLineIsSkipped)
{
    // After the longest type line the last dot is the last byte read: a reader
    // that counted the mark against what it reads would lose that dot.
    std::string dots(256, '1');
    dots[255] = '0';
    TempDir dir;
    DotGrid grid;
    ASSERT_TRUE(OpenFile(grid, dir.Write("marked.Lcd", "\xEF\xBB\xBF        1\r\n" + dots)).ok());
    EXPECT_EQ(grid.nLCDType(), LcdType::Row);
    EXPECT_TRUE(grid.IsSet(255));
    EXPECT_FALSE(Parse("\xEF\xBB\xBF" + std::string(256, '1')).type.has_value()); // a legacy dot line
    EXPECT_EQ(
        Refusal("\xEF\xBB\xBF 1\r\n\xEF\xBB\xBF"),
        CannotOpen("it is not a drawing file (character 1 of the dot line is the byte 0xEF; a drawing holds only 0 "
                   "and 1)"));
}

TEST(LegacyDrawing, OneLongLineSetsTheDotsAndLeavesTheType)
{
    std::string line(255, '1');
    line[0] = '0';
    line[254] = '0';
    const Drawing drawing = Parse(line + "\r\n");
    EXPECT_FALSE(drawing.type.has_value());
    EXPECT_EQ(drawing.dots[0], DotState::Set);
    EXPECT_EQ(drawing.dots[254], DotState::Set);
    EXPECT_EQ(drawing.dots[255], DotState::Clear);
    EXPECT_EQ(SetCount(drawing.dots), 2);

    TempDir dir;
    DotGrid grid;
    grid.SetLCDType(LcdType::Row);
    grid.SetDot(255, DotState::Set);
    ASSERT_TRUE(OpenFile(grid, dir.Write("old.Lcd", line)).ok());
    EXPECT_EQ(grid.nLCDType(), LcdType::Row);
    EXPECT_TRUE(grid.IsClear(255)) << "an old file must load the same whatever was drawn before";
}

TEST(LegacyDrawing, TenCharactersMakeADotLineNineATypeLine)
{
    const Drawing legacy = Parse("1111111111");
    EXPECT_FALSE(legacy.type.has_value());
    EXPECT_EQ(SetCount(legacy.dots), 245); // dots 10..254 are missing, so Set

    const Drawing typed = Parse("        1\r\n" + std::string(256, '1'));
    EXPECT_EQ(typed.type, LcdType::Row);
    EXPECT_EQ(SetCount(typed.dots), 0);
}

TEST(DotLine, MissingCharactersSetDotsUpTo254AndClearDot255)
{
    const Drawing drawing = Parse(" 0\r\n" + std::string(100, '1') + "\r\n");
    for (int dot = 0; dot < kDotCount; ++dot) {
        const bool set = dot >= 100 && dot <= 254;
        EXPECT_EQ(drawing.dots[static_cast<std::size_t>(dot)], set ? DotState::Set : DotState::Clear) << dot;
    }
    const Drawing empty = Parse(" 1\r\n\r\n");
    EXPECT_EQ(SetCount(empty.dots), 255);
    EXPECT_EQ(empty.dots[255], DotState::Clear);
}

TEST(DotLine, ExtraCharactersAreIgnoredButAStrayOneAmongThoseReadRefusesTheFile)
{
    std::string line(256, '1');
    line[1] = '0';
    line[255] = '0';
    const Drawing drawing = Parse(" 0\r\n" + line + "x\x89" + std::string(500, '0'));
    EXPECT_EQ(SetCount(drawing.dots), 2);
    EXPECT_EQ(drawing.dots[255], DotState::Set);

    const std::pair<std::string, std::string> junk[] = {
        {" 0\r\n" + std::string(40, '1') + "2", "character 41 of the dot line is \"2\""},
        {"root:x:0:0:root:/root:/bin/bash\n", "character 1 of the dot line is \"r\""},
        {"\x89PNG\r\n\x1A\n", "character 1 of the dot line is the byte 0x1A"},
        {" 1\r\n0101 0101\r\n", "character 5 of the dot line is \" \""},
        {std::string(255, '0') + '\0', "character 256 of the dot line is the byte 0x00"},
    };
    for (const auto &[bytes, place] : junk) {
        const ParsedDrawing parsed = ParseDrawing(bytes, kFile);
        EXPECT_FALSE(parsed.ok()) << place;
        EXPECT_EQ(parsed.message(),
                  CannotOpen("it is not a drawing file (" + place + "; a drawing holds only 0 and 1)"));
    }
}

TEST(TypeLine, ReadsADecimalNumberAfterBlanksRoundingHalfToEven)
{
    EXPECT_EQ(TypeOfLine(" 0"), LcdType::Column);
    EXPECT_EQ(TypeOfLine(" 1"), LcdType::Row);
    EXPECT_EQ(TypeOfLine("1"), LcdType::Row);
    EXPECT_EQ(TypeOfLine("+1"), LcdType::Row);
    EXPECT_EQ(TypeOfLine("\t 1"), LcdType::Row);
    EXPECT_EQ(TypeOfLine(" 0.5"), LcdType::Column);
    EXPECT_EQ(TypeOfLine(" 0.6"), LcdType::Row);
    EXPECT_EQ(TypeOfLine(" 1.49"), LcdType::Row);
    EXPECT_EQ(TypeOfLine("-0.5"), LcdType::Column);
    EXPECT_EQ(TypeOfLine(".7"), LcdType::Row);
    EXPECT_EQ(TypeOfLine("1abc"), LcdType::Row);
    EXPECT_EQ(TypeOfLine(""), LcdType::Column);
    EXPECT_EQ(TypeOfLine("abc"), LcdType::Column);
    EXPECT_EQ(TypeOfLine(" -"), LcdType::Column);
    EXPECT_EQ(TypeOfLine(" 1.5"), std::nullopt); // rounds to 2
    EXPECT_EQ(TypeOfLine(" 2.5"), std::nullopt);
    EXPECT_EQ(TypeOfLine("-1"), std::nullopt);
    EXPECT_EQ(TypeOfLine("999999999"), std::nullopt);
}

TEST(LineEnds, CrLfLfAndCrAloneReadTheSame)
{
    const std::string dots = std::string(128, '0') + std::string(128, '1');
    const Drawing expected = Parse(" 1\r\n" + dots + "\r\n");
    EXPECT_EQ(expected.type, LcdType::Row);
    EXPECT_EQ(Parse(" 1\n" + dots + "\n"), expected);
    EXPECT_EQ(Parse(" 1\r" + dots + "\r"), expected);
    EXPECT_EQ(Parse(" 1\r\n" + dots), expected);
    // A blank line after a CR is an empty dot line, not a line end.
    EXPECT_EQ(SetCount(Parse(" 1\r\r" + dots).dots), 255);
}

TEST(RefusedDrawing, NamesTheReasonForEachBrokenFile)
{
    EXPECT_EQ(Refusal(""), CannotOpen("the file is empty"));
    EXPECT_EQ(Refusal(" 1"), CannotOpen("the file ends after the type line, before the dot line"));
    EXPECT_EQ(Refusal(" 1\r\n"), CannotOpen("the file ends after the type line, before the dot line"));
    EXPECT_EQ(Refusal("\n"), CannotOpen("the file ends after the type line, before the dot line"));
    EXPECT_EQ(Refusal(" 2\r\n111"), CannotOpen("its type line gives 2, but the LCD type must be 0 or 1"));
    EXPECT_EQ(Refusal(" 1.5\r\n111"), CannotOpen("its type line gives 2, but the LCD type must be 0 or 1"));
    EXPECT_EQ(Refusal("-7\r\n111"), CannotOpen("its type line gives -7, but the LCD type must be 0 or 1"));
}

TEST(RefusedDrawing, ChangesNothingAndNamesTheFile)
{
    TempDir dir;
    const std::vector<std::filesystem::path> broken = {
        dir.Write("empty.Lcd", ""),
        dir.Write("typeonly.Lcd", " 1\r\n"),
        dir.Write("badtype.Lcd", " 3\r\n" + std::string(256, '1')),
        dir / "missing.Lcd",
        dir.path(),
    };
    for (const auto &file : broken) {
        DotGrid grid = BusyGrid();
        const FileStatus status = OpenFile(grid, file);
        EXPECT_FALSE(status.ok()) << file;
        EXPECT_EQ(grid, BusyGrid()) << file;
        EXPECT_NE(status.message().find(DisplayPath(file)), std::string::npos) << status.message();
    }
}

TEST(RefusedDrawing, MessagesSayWhatWentWrongInPlainWords)
{
    TempDir dir;
    DotGrid grid;
    EXPECT_EQ(OpenFile(grid, dir / "missing.Lcd").message(),
              "Cannot open \"" + DisplayPath(dir / "missing.Lcd") + "\": No such file or directory.");
    EXPECT_EQ(OpenFile(grid, dir.path()).message(), "Cannot open \"" + DisplayPath(dir.path()) + "\": it is a folder.");
}

TEST(DrawingReader, BytesPastTheReadLimitNeverChangeTheResult)
{
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(kDrawingBytesRead + 1 + random() % 300, '1');
        for (char &c : bytes) {
            const auto pick = random() % 8;
            c = pick == 0 ? '\r' : pick == 1 ? '\n' : pick == 2 ? '0' : pick == 3 ? ' ' : '1';
        }
        const ParsedDrawing whole = ParseDrawing(bytes, kFile);
        const ParsedDrawing prefix = ParseDrawing(std::string_view(bytes).substr(0, kDrawingBytesRead), kFile);
        EXPECT_EQ(whole.ok(), prefix.ok()) << bytes;
        if (whole && prefix) {
            EXPECT_EQ(whole.value(), prefix.value()) << bytes;
        }
        EXPECT_EQ(whole.message(), prefix.message());
    }
}

// A FIFO with no writer, a socket and a device: opening any of them must
// neither block nor read, and saving onto one must not replace it.
TEST(DrawingFile, RefusesWhatIsNotARegularFileWithoutBlocking)
{
    DotGrid grid;
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "WebAssembly's file system has no FIFOs or sockets to open";
#endif
#ifdef _WIN32
    // Windows has devices but neither FIFOs nor sockets at a path.
    EXPECT_EQ(OpenFile(grid, "NUL").message(), "Cannot open \"NUL\": it is not a regular file.");
#else
    TempDir dir;
    const auto fifo = dir / "pipe.Lcd";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto socketPath = dir / "socket.Lcd";
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    for (const std::filesystem::path &path : {fifo, socketPath, std::filesystem::path("/dev/zero")})
        EXPECT_EQ(OpenFile(grid, path).message(), "Cannot open \"" + path.string() + "\": it is not a regular file.");
    EXPECT_EQ(SaveFile(DotGrid{}, fifo).message(), "Cannot save \"" + fifo.string() + "\": it is not a regular file.");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    close(listener);
#endif
}

TEST(DrawingFile, SaveThroughALinkWritesItsFinalTargetAndKeepsTheLink)
{
#ifdef _WIN32
    GTEST_SKIP() << "making symbolic links on Windows needs administrator rights or developer mode";
#endif
    TempDir dir;
    const DotGrid picture = BusyGrid();
    std::filesystem::create_directory(dir / "real");
    const auto target = dir.Write("real/picture.Lcd", "old");
    std::filesystem::create_symlink("real/picture.Lcd", dir / "hop.Lcd"); // relative to the link's folder
    std::filesystem::create_symlink(dir / "hop.Lcd", dir / "link.Lcd");
    ASSERT_TRUE(SaveFile(picture, dir / "link.Lcd").ok());
    EXPECT_EQ(TempDir::Read(target), FormatDrawing(picture));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.Lcd"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "hop.Lcd"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "real"), {}), 1); // no temporary left

    std::filesystem::create_symlink("real/new.Lcd", dir / "dangling.Lcd");
    ASSERT_TRUE(SaveFile(picture, dir / "dangling.Lcd").ok());
    EXPECT_EQ(TempDir::Read(dir / "real" / "new.Lcd"), FormatDrawing(picture));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling.Lcd"));
}

TEST(FailedSave, ReportsTheReasonAndLeavesNoFileBehind)
{
    TempDir dir;
    const auto intoMissingFolder = dir / "no-such-folder" / "a.Lcd";
    const FileStatus missing = SaveFile(DotGrid{}, intoMissingFolder);
    EXPECT_EQ(missing.message(), "Cannot save \"" + DisplayPath(intoMissingFolder) + "\": No such file or directory.");

    std::filesystem::create_directory(dir / "folder.Lcd");
    const FileStatus folder = SaveFile(DotGrid{}, dir / "folder.Lcd");
    EXPECT_FALSE(folder.ok());
    EXPECT_NE(folder.message().find("it is a folder"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.Lcd"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

#ifdef _WIN32
// Another program holding the file open without sharing it stops the save
// where it replaces the file, the one step Windows refuses for that.
TEST(FailedSave, HalfWrittenSaveKeepsTheEarlierFileIntact)
{
    TempDir dir;
    const auto file = dir / "picture.Lcd";
    ASSERT_TRUE(SaveFile(BusyGrid(), file).ok());
    const std::string before = TempDir::Read(file);
    const int held = _wsopen(file.c_str(), _O_RDONLY | _O_BINARY, _SH_DENYRW);
    ASSERT_GE(held, 0);
    const FileStatus status = SaveFile(DotGrid{}, file);
    _close(held);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.message().rfind("Cannot save \"" + DisplayPath(file) + "\": ", 0), 0u) << status.message();
    EXPECT_EQ(TempDir::Read(file), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}
#else
// Limits the size of files this process may write, the way a full disk
// would stop a save half-way; unlike permissions, it also binds root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
};

TEST(FailedSave, HalfWrittenSaveKeepsTheEarlierFileIntact)
{
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "WebAssembly has no file size limit to make a write fail half-way";
#endif
    TempDir dir;
    const DotGrid earlier = BusyGrid();
    const auto file = dir / "picture.Lcd";
    ASSERT_TRUE(SaveFile(earlier, file).ok());
    const std::string before = TempDir::Read(file);

    FileStatus status = FileStatus::Ok();
    {
        const FileSizeLimit limit(100);
        status = SaveFile(DotGrid{}, file);
    }
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.message(), "Cannot save \"" + DisplayPath(file) + "\": File too large.");
    EXPECT_EQ(TempDir::Read(file), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// Files written together: one that holds its bytes already keeps its time, as
// make needs; a write that fails on the last leaves the first as it was too.
TEST(FailedSave, FilesWrittenTogetherChangeOnlyWhenAllAreWritten)
{
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "WebAssembly has no file size limit to make a write fail half-way";
#endif
    TempDir dir;
    const auto same = dir.Write("same.Lcd", "kept");
    const auto other = dir.Write("other.Lcd", "old");
    const auto earlier = std::filesystem::last_write_time(same) - std::chrono::hours(1);
    std::filesystem::last_write_time(same, earlier);
    const std::vector<FileToWrite> files{{same, "kept"}, {other, "new"}, {dir / "fresh.Lcd", std::string(200, 'x')}};
    FileStatus status = FileStatus::Ok();
    {
        const FileSizeLimit limit(100);
        status = WriteFilesAtomically(files);
    }
    EXPECT_EQ(status.message(), "Cannot save \"" + DisplayPath(dir / "fresh.Lcd") + "\": File too large.");
    EXPECT_EQ(TempDir::Read(other), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);

    ASSERT_TRUE(WriteFilesAtomically(files).ok());
    EXPECT_EQ(TempDir::Read(other), "new");
    EXPECT_EQ(TempDir::Read(dir / "fresh.Lcd"), files[2].bytes);
    EXPECT_EQ(std::filesystem::last_write_time(same), earlier);
}
#endif

TEST(DrawingFile, ReplacedFileKeepsItsPermissions)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows files have no owner, group and other permission bits to keep";
#endif
    TempDir dir;
    const auto file = dir.Write("shared.Lcd", "");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
                                           | std::filesystem::perms::group_read);
    ASSERT_TRUE(SaveFile(DotGrid{}, file).ok());
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms::owner_read
                                                               | std::filesystem::perms::owner_write
                                                               | std::filesystem::perms::group_read);
}

namespace {

DotGrid RandomPictureOfSize(std::mt19937 &random, PictureSize size)
{
    DotGrid grid;
    grid.SetAllDots(RandomDots(random, size));
    return grid;
}

Dots PictureDots(std::string_view bytes, LcdType type = LcdType::Column)
{
    const ParsedDrawing parsed = ParsePicture(bytes, ReadFrom::StandardInput(), type);
    EXPECT_TRUE(parsed.ok()) << parsed.message();
    return parsed ? parsed.value().dots : Dots{};
}

std::string PictureRefusal(std::string_view bytes)
{
    const ParsedDrawing parsed = ParsePicture(bytes, ReadFrom::StandardInput(), LcdType::Column);
    EXPECT_FALSE(parsed.ok());
    return parsed.message();
}

} // namespace

TEST(PictureFile, PbmAndXbmOpenAtTheirOwnSizeDotForDotInAnyFormTheirToolsWrite)
{
    std::mt19937 random(5);
    // 20 wide: every row ends in a padded byte.
    const DotGrid grid = RandomPictureOfSize(random, {20, 3});
    const std::string plain = PlainPbmText(grid);
    std::string loose = "P1\t# by hand\r\n20 # wide\n\n3\r\n";
    for (const char digit : plain.substr(std::string_view("P1\n20 3\n").size()))
        loose += digit == '\n' ? std::string("\r\n# a row\n") : std::string(1, digit) + (random() % 2 ? " " : "\t");
    for (const std::string &file : {plain, loose, PbmBytes(grid), XbmText(grid, "p")})
        EXPECT_EQ(PictureDots(file), grid.AllDots()) << file;
    EXPECT_FALSE(ParsePicture(plain, kFile, LcdType::Row).value().type); // a bitmap says no type

    // At 16 x 16 each pixel is the dot shown in its place in the type the picture is opened in.
    const DotGrid row = RandomGrid(random, LcdType::Row);
    EXPECT_EQ(PictureDots(PbmBytes(row), LcdType::Row), row.AllDots());
    EXPECT_EQ(PictureDots(PlainPbmText(row), LcdType::Row), row.AllDots());
    // A drawing file reads as it always did.
    EXPECT_EQ(PictureDots(FormatDrawing(row)), row.AllDots());
    EXPECT_EQ(ParsePicture(FormatDrawing(row), kFile, LcdType::Column).value().type, LcdType::Row);
}

TEST(PictureFile, APictureLargerThan1024EachWayOrADamagedOneIsRefusedWithTheReason)
{
    const std::string rowOf1024 = std::string(128, '\xFF');
    EXPECT_EQ(PictureDots("P4 1024 1\n" + rowOf1024).Size(), (PictureSize{1024, 1}));
    EXPECT_EQ(PictureRefusal("P4 1025 1\n" + rowOf1024 + "\xFF"),
              "Cannot read standard input: the PBM is 1025 x 1 pixels, and a picture is at most 1024 dots each way.");
    EXPECT_EQ(PictureRefusal("P1 1 1025\n"),
              "Cannot read standard input: the PBM is 1 x 1025 pixels, and a picture is at most 1024 dots each way.");
    EXPECT_EQ(PictureRefusal("#define a_width 1025\n#define a_height 1\n"),
              "Cannot read standard input: the XBM is 1025 x 1 pixels, and a picture is at most 1024 dots each way.");
    EXPECT_EQ(PictureRefusal("P1 2 2 1 0 1"), "Cannot read standard input: the PBM data ends early.");

    TempDir dir;
    const std::pair<std::filesystem::path, std::string> refused[] = {
        {dir.Write("cut.pbm", "P4 16 2\n\xFF"), "the PBM data ends early"},
        {dir.Write("grey.PBM", "P5 16 2\n"), "it is no PBM, which starts with P1 or P4"},
        {dir.Write("icon.xbm", "static char icon_bits[] = {0};\n"),
         "it is no XBM, which starts with #define NAME_width"},
    };
    for (const auto &[file, reason] : refused) {
        Drawing drawing;
        EXPECT_EQ(ReadPictureFile(file, drawing, LcdType::Column).message(),
                  "Cannot open \"" + DisplayPath(file) + "\": " + reason + ".");
    }
}

TEST(PictureFile, ANameAsksForTheFormatItsEndingNamesInAnyCase)
{
    using enum PictureFormat;
    const std::pair<const char *, std::optional<PictureFormat>> names[] = {
        {"a.Lcd", Drawing}, {"A.LCD", Drawing}, {"logo.PBM", Pbm}, {"a.xbm", Xbm},    {"x.Png", Png},
        {".png", Png},      {"a.h", {}},        {"-", {}},         {"a.pbm.txt", {}}, {"lcd", {}}};
    for (const auto &[name, format] : names)
        EXPECT_EQ(PictureFormatOfName(name), format) << name;
}

TEST(PictureFile, TheNameDecidesTheFormatAtEverySizeAndAnyOtherNameIsADrawingFileAt16By16)
{
    std::mt19937 random(6);
    const DotGrid module = RandomGrid(random, LcdType::Row);
    for (const char *name : {"a.Lcd", "a.LCD", "a.png", "a.txt", "pbm", "-"})
        EXPECT_EQ(PictureFileBytes(module, name).value(), FormatDrawing(module)) << name;
    EXPECT_EQ(PictureFileBytes(module, "dir.xbm/a.PBM").value(), PlainPbmText(module));
    EXPECT_EQ(PictureFileBytes(module, "a.Xbm").value(), XbmText(module, "a"));

    // 72 wide, the first row set: no line longer than 70 characters, as netpbm writes them.
    Dots dots({72, 2});
    std::fill(dots.begin(), dots.begin() + 72, DotState::Set);
    DotGrid wide;
    wide.SetAllDots(dots);
    const std::string plain = "P1\n72 2\n" + std::string(70, '1') + "\n11\n" + std::string(70, '0') + "\n00\n";
    EXPECT_EQ(PictureFileBytes(wide, "wide.pbm").value(), plain);
    EXPECT_EQ(PictureFileBytes(wide, "-").value(), plain);
    EXPECT_EQ(PictureFileBytes(wide, "wide.XBM").value(), XbmText(wide, "wide"));
    EXPECT_EQ(PictureFileBytes(wide, "wide.lcd").message(),
              "Cannot save \"wide.lcd\": the picture is 72 x 2, and a .Lcd file holds a 16 x 16 picture; name the "
              "file .pbm or .xbm.");

    TempDir dir;
    for (const char *name : {"wide.pbm", "wide.xbm"}) {
        const DotGrid picture = RandomPictureOfSize(random, {250, 122});
        ASSERT_TRUE(SavePicture(picture, dir / name).ok());
        Drawing drawing;
        ASSERT_TRUE(ReadPictureFile(dir / name, drawing, LcdType::Row).ok());
        EXPECT_EQ(drawing.dots, picture.AllDots()) << name;
    }
    EXPECT_FALSE(SavePicture(wide, dir / "wide.Lcd").ok());
    EXPECT_FALSE(std::filesystem::exists(dir / "wide.Lcd"));
}
