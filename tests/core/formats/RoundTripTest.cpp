#include "RandomPicture.h"
#include "TempDir.h"
#include "core/code/CodeFormats.h"
#include "core/formats/BitmapFiles.h"
#include "core/formats/DocumentText.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/SetHeader.h"
#include "core/formats/ShareLink.h"
#include "core/formats/StoredZip.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace tessaldo;

namespace {

// What a way out and back keeps: one picture's dots, every picture's name
// and dots, the whole set (names, delays, type and form), or that set where
// it fits and else the edited picture alone.
enum class Keeps { Dots, Names, Set, SetOrEdited };

using Trip = std::function<Result<Document>(const Document &set)>;

struct Way {
    std::string name;
    Keeps keeps;
    bool anySize;  // 1024 x 1024 too: the ways that are cheap at a million dots
    bool atModule; // only at 16 x 16
    Trip trip;
};

Result<Document> Failed(const std::string &why)
{
    return Result<Document>::Failed(why);
}

Document OnePicture(const Document &set, Dots dots)
{
    Document one;
    one.type = set.type;
    one.pictures.front().dots = std::move(dots);
    return one;
}

DotGrid GridOf(const Document &set, std::size_t index)
{
    DotGrid grid;
    grid.SetLCDType(set.type);
    grid.SetAllDots(set.pictures[index].dots);
    return grid;
}

// A picture file of the set's first picture, read back as `name` names it.
Trip PictureFile(std::string (*write)(const DotGrid &), const std::string &name)
{
    return [write, name](const Document &set) {
        const ParsedDrawing read = ParsePicture(write(GridOf(set, 0)), ReadFrom::File(name), set.type);
        return read ? Result<Document>::Ok(OnePicture(set, read.value().dots)) : Failed(read.message());
    };
}

Result<Document> Reading(const SetReading &reading)
{
    return reading.set ? Result<Document>::Ok(*reading.set) : Failed(reading.problem);
}

// The pictures of code as `decode --each` takes them: at the size and in the layout the code tells.
Result<Document> ArraysOf(const std::string &code, LcdType type)
{
    const CodeReading found = FindSetPictures(code, {}, {}, {true, std::nullopt}).reading;
    if (found.pictures.empty())
        return Failed(found.firstPassedOver.empty() ? "no arrays" : found.firstPassedOver.front());
    Document set;
    set.type = type;
    set.pictures.clear();
    for (const CodePicture &picture : found.pictures) {
        if (!picture.problem.empty())
            return Failed(picture.problem);
        if (!picture.layout)
            return Failed("the code tells no layout of " + picture.name);
        set.pictures.push_back(
            {picture.name, kDefaultDelayMs,
             picture.sizedBytes.empty()
                 ? DotsFromLayoutBytes(picture.bytes, *picture.layout, type)
                 : DotsFromSizedLayoutBytes(picture.sizedBytes, *picture.layout, type, picture.size)});
    }
    return Result<Document>::Ok(set);
}

// The module's Run text and raw bytes name no picture.
bool Named(CodeFormat format)
{
    return format != CodeFormat::Ccs && format != CodeFormat::Raw;
}

// Every picture's array in `format`, one after another, as code pasted
// together; of the first picture alone where the form names none.
Trip ArrayForm(CodeFormat format)
{
    return [format](const Document &set) {
        const bool named = Named(format);
        std::string code;
        for (std::size_t i = 0; i < (named ? set.pictures.size() : 1); ++i) {
            const Result<std::string> one = PictureCode({GridOf(set, i), set.pictures[i].name, "set.h"}, format);
            if (!one)
                return Failed(one.message());
            code += one.value();
        }
        return ArraysOf(code, set.type);
    };
}

using Writer = std::function<SetText(const Document &set)>;

Writer Header(BitLayout layout)
{
    return [layout](const Document &set) {
        return FormatSetHeader(set, "icons.h", "tessaldo-cli header", std::nullopt, layout);
    };
}

// The header read back as Open Set reads it.
Trip Opened(const Writer &write)
{
    return [write](const Document &set) {
        const SetText header = write(set);
        return header.problem.empty() ? Reading(ReadSet(header.text, set.type)) : Failed(header.problem);
    };
}

// The header read back as `decode --each` reads it.
Trip Decoded(const Writer &write)
{
    return [write](const Document &set) {
        const SetText header = write(set);
        return header.problem.empty() ? ArraysOf(header.text, set.type) : Failed(header.problem);
    };
}

std::uint32_t Little(std::string_view bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count; i-- > 0;)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// The files of a zip of stored files, by their local headers, as an archive tool takes them out.
std::vector<ZipEntry> Unzipped(std::string_view zip)
{
    constexpr std::uint32_t kLocalHeader = 0x04034b50;
    constexpr std::size_t kHeaderBytes = 30;
    std::vector<ZipEntry> entries;
    for (std::size_t at = 0; at + kHeaderBytes <= zip.size() && Little(zip, at, 4) == kLocalHeader;) {
        const std::size_t size = Little(zip, at + 18, 4);
        const std::size_t nameLength = Little(zip, at + 26, 2);
        const std::size_t extra = Little(zip, at + 28, 2);
        const std::size_t data = at + kHeaderBytes + nameLength + extra;
        entries.push_back(
            {std::string(zip.substr(at + kHeaderBytes, nameLength)), std::string(zip.substr(data, size))});
        at = data + size;
    }
    return entries;
}

// The set saved as a folder, zipped as the page downloads it, taken out elsewhere and opened as a folder.
Result<Document> ThroughZip(const Document &set)
{
    const TempDir dir;
    if (const FileStatus saved = SaveSetFolder(set, dir / "set"); !saved)
        return Failed(saved.message());
    std::vector<ZipEntry> entries;
    for (const Picture &picture : set.pictures) {
        const std::string name = PictureFileName(picture.name, picture.dots.Size());
        entries.push_back({"set/" + name, TempDir::Read(dir / "set" / name)});
    }
    const ZipMade zip = StoredZip(entries, {});
    if (!zip.problem.empty())
        return Failed(zip.problem);
    std::filesystem::create_directories(dir / "out" / "set");
    for (const ZipEntry &entry : Unzipped(zip.bytes))
        dir.Write(std::filesystem::path("out") / entry.name, entry.bytes);
    Document opened;
    std::vector<std::filesystem::path> passedOver;
    const FileStatus read = OpenSetFolder(dir / "out" / "set", opened, passedOver);
    return read ? Result<Document>::Ok(opened) : Failed(read.message());
}

std::vector<Way> Ways()
{
    std::vector<Way> ways{
        {"drawing file", Keeps::Dots, false, true,
         [](const Document &set) {
             const ParsedDrawing read = ParseDrawing(FormatDrawing(GridOf(set, 0)), ReadFrom::StandardInput());
             return read ? Result<Document>::Ok(OnePicture(set, read.value().dots)) : Failed(read.message());
         }},
        {"PBM P1", Keeps::Dots, true, false, PictureFile(PlainPbmText, "a.pbm")},
        {"PBM P4", Keeps::Dots, true, false, PictureFile(PbmBytes, "a.pbm")},
        {"XBM", Keeps::Dots, false, false,
         PictureFile([](const DotGrid &grid) { return XbmText(grid, "a"); }, "a.xbm")},
        {"stored document", Keeps::Set, true, false,
         [](const Document &set) {
             const KeptReading kept = ReadKeptText(WriteKeptText(set, set));
             return kept.document ? Result<Document>::Ok(*kept.document) : Failed(kept.problem);
         }},
        {"share link", Keeps::SetOrEdited, true, false,
         [](const Document &set) {
             const ShareLink link = MakeShareLink("https://example.org/tessaldo.html", set);
             const LinkReading read = ReadShareLink(link.address.substr(link.address.find('#')));
             return read.document ? Result<Document>::Ok(*read.document) : Failed(read.problem);
         }},
        {"zip", Keeps::Names, false, false, ThroughZip},
    };
    for (const CodeFormat form : {CodeFormat::Ccs, CodeFormat::C, CodeFormat::Raw, CodeFormat::Xbm, CodeFormat::Gfx,
                                  CodeFormat::Pages, CodeFormat::Tiles}) {
        const bool module = SizedArrayForm(form) != form;
        ways.push_back({"code " + std::string(CodeFormatName(form)), Named(form) ? Keeps::Names : Keeps::Dots, false,
                        module, ArrayForm(form)});
    }
    for (const BitLayout layout : kEveryBitLayout)
        ways.push_back({"header in " + std::string(BitLayoutName(layout)), Keeps::Set, false,
                        layout == BitLayout::Module, Opened(Header(layout))});
    for (const BitLayout layout : kEveryBitLayout)
        ways.push_back({"header in " + std::string(BitLayoutName(layout)) + " decoded", Keeps::Names, false,
                        layout == BitLayout::Module, Decoded(Header(layout))});
    return ways;
}

// Three named pictures in the order of their names, as a folder lists them: one left blank, one with a few dots, one at
// random, the last two with a delay of their own; and the same as an animation's frames.
std::vector<Document> SetsOf(PictureSize size, LcdType type, std::mt19937 &random)
{
    Dots few(size);
    for (std::size_t dot = 0; dot < few.size(); dot += 37)
        few[dot] = DotState::Set;
    few.back() = DotState::Set;
    Document set;
    set.type = type;
    set.pictures = {{"blank", kDefaultDelayMs, Dots(size)},
                    {"dots_Few", 0, std::move(few)},
                    {"noise2", kLongestDelayMs, RandomDots(random, size)}};
    set.current = 2;
    return {set, SetOfFrames(set.pictures, type, "spin")};
}

void ExpectKept(const Document &set, const Document &back, Keeps keeps, const std::string &row)
{
    if (keeps == Keeps::SetOrEdited && back.pictures.size() == 1 && set.pictures.size() > 1) {
        EXPECT_TRUE(back.pictures.front() == set.Edited()) << row;
        EXPECT_EQ(back.type, set.type) << row;
        return;
    }
    if (keeps == Keeps::Dots) {
        ASSERT_EQ(back.pictures.size(), 1U) << row;
        EXPECT_EQ(back.pictures.front().dots.Size(), set.Size()) << row;
        EXPECT_TRUE(back.pictures.front().dots == set.pictures.front().dots) << row;
        return;
    }
    ASSERT_EQ(back.pictures.size(), set.pictures.size()) << row;
    for (std::size_t i = 0; i < set.pictures.size(); ++i) {
        const Picture &was = set.pictures[i];
        const Picture &is = back.pictures[i];
        EXPECT_EQ(is.name, was.name) << row;
        EXPECT_EQ(is.dots.Size(), was.dots.Size()) << row << " " << was.name;
        EXPECT_TRUE(is.dots == was.dots) << row << " " << was.name;
        if (keeps != Keeps::Names) {
            EXPECT_EQ(is.delayMs, was.delayMs) << row << " " << was.name;
        }
    }
    if (keeps != Keeps::Names) {
        EXPECT_EQ(back.type, set.type) << row;
        EXPECT_EQ(back.form, set.form) << row;
    }
}

} // namespace

TEST(RoundTripTest, EveryWayOutComesBackDotForDotAtEverySize)
{
    const std::vector<Way> ways = Ways();
    std::mt19937 random(40);
    const std::pair<PictureSize, LcdType> sizes[] = {
        {{1, 1}, LcdType::Column},    {{8, 8}, LcdType::Column},     {{12, 7}, LcdType::Row},
        {{16, 16}, LcdType::Column},  {{16, 16}, LcdType::Row},      {{32, 32}, LcdType::Column},
        {{128, 64}, LcdType::Column}, {{250, 122}, LcdType::Column}, {{800, 480}, LcdType::Column},
        {{1024, 1024}, LcdType::Row},
    };
    for (const auto &[size, type] : sizes) {
        const bool largest = size.width == kLargestSide;
        for (const Document &set : SetsOf(size, type, random)) {
            for (const Way &way : ways) {
                // Frames differ from icons only in what a way that keeps names alone drops.
                const bool same = set.form == SetForm::Frames && way.keeps == Keeps::Names;
                if (same || (largest && !way.anySize) || (way.atModule && !IsModuleSize(size)))
                    continue;
                const std::string row = way.name + " of " + set.pictures.front().name + " at " + PictureSizeText(size)
                                        + ", " + LcdTypeName(type);
                const Result<Document> back = way.trip(set);
                EXPECT_TRUE(back) << row << ": " << back.message();
                if (back)
                    ExpectKept(set, back.value(), way.keeps, row);
            }
        }
    }
}
