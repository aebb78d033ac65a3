#include "core/formats/SetHeader.h"

#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/code/CodeLexer.h"
#include "core/formats/DrawingFile.h"
#include "core/model/PictureName.h"
#include "core/platform/FileIo.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

namespace tessaldo {
namespace {

constexpr std::size_t kListWidth = 80;
constexpr std::string_view kMadeBy = "/* Made by ";
constexpr std::string_view kCommentEnd = " */";
// How the earlier form began each array's comment: "/* NAME, from FILE: the 33 bytes ..."
constexpr std::string_view kEarlierArrayComment = ": the 33 bytes a serial graphic LCD module takes for one";

// The bytes of one picture: the module's command and its 32, or as many as another layout takes for `size`.
std::size_t BytesPerPicture(BitLayout layout, PictureSize size)
{
    return layout == BitLayout::Module ? kModuleByteCount : LayoutByteCount(layout, size);
}

std::string Bytes(BitLayout layout, PictureSize size)
{
    return std::to_string(BytesPerPicture(layout, size));
}

// How each picture's array line ends: "[33] = {", "[1024] = {".
std::string ArrayEnd(BitLayout layout, PictureSize size)
{
    return "[" + Bytes(layout, size) + "] = {";
}

// The picture's bytes as an array's lines: in any layout but the module's, of
// the picture as the screen shows it in the set's type.
std::string PictureLines(const Picture &picture, LcdType type, BitLayout layout, const std::string &indent)
{
    DotGrid grid;
    grid.SetLCDType(type);
    grid.SetAllDots(picture.dots);
    return layout == BitLayout::Module ? ByteLines(grid, indent) : LayoutByteLines(grid, layout, indent);
}

std::string Count(std::size_t count, const std::string &what)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string UpperCase(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return name;
}

DotGrid GridOf(const Picture &picture)
{
    DotGrid grid;
    grid.SetAllDots(picture.dots);
    return grid;
}

std::filesystem::path DrawingFileIn(const std::filesystem::path &folder, const Picture &picture)
{
    return folder / PictureFileName(picture.name, picture.dots.Size());
}

// The drawing file's bytes for the picture, in the set's type; a PBM's at another size than 16 x 16.
std::string DrawingBytes(const Document &set, const Picture &picture)
{
    DotGrid grid = GridOf(picture);
    grid.SetLCDType(set.type);
    return PictureFileBytes(grid, DrawingFileIn({}, picture)).value();
}

std::string IndexConstant(const std::string &setName, const Picture &picture)
{
    return setName + "_" + UpperCase(picture.name);
}

// `{ a, b, ... }` over as many lines as keep them short.
std::string Braced(const std::vector<std::string> &items)
{
    const std::string indent = "   ";
    std::string text = "{\n";
    std::string line = indent;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string item = items[i] + (i + 1 < items.size() ? "," : "");
        if (line.size() > indent.size() && line.size() + 1 + item.size() > kListWidth) {
            text += line + "\n";
            line = indent;
        }
        line += " " + item;
    }
    return text + line + "\n}";
}

template <typename Each> std::vector<std::string> Items(const Document &set, Each each)
{
    std::vector<std::string> items;
    items.reserve(set.pictures.size());
    for (const Picture &picture : set.pictures)
        items.push_back(each(picture));
    return items;
}

bool AllDelaysEqual(const Document &set)
{
    return std::all_of(set.pictures.begin(), set.pictures.end(),
                       [&set](const Picture &picture) { return picture.delayMs == set.pictures.front().delayMs; });
}

// What each layout's number stands for, where the pictures are of another
// size than 16 x 16 or in u8x8's tiles.
constexpr std::string_view kEveryLayoutComment =
    "/* Where the dots are in the bytes: 1 rows top to bottom, each row in whole\n"
    "   bytes, the leftmost dot in bit 0 (X BitMap, u8g2's drawXBM); 2 the same\n"
    "   with the leftmost dot in bit 7 (Adafruit GFX's drawBitmap); 3 pages of\n"
    "   eight rows top to bottom, a byte a column from left to right, the top dot\n"
    "   in bit 0 (SSD1306, SH1106, ST7565, PCD8544); 4 u8x8's tiles of 8 x 8 dots\n"
    "   row by row, eight bytes a tile, a byte a column, the top dot in bit 0. */\n";

// The type, and for another layout than the module's, that layout, and for
// another size than 16 x 16, that size; a header in the module's is as it was
// before there were others, and one of 16 x 16 pictures as it was before
// there were other sizes.
std::string TypeLines(const std::string &name, LcdType type, BitLayout layout, PictureSize size)
{
    std::string text = "/* The modules the pictures are drawn for: 0 " + std::string(LcdTypeCaption(LcdType::Column))
                       + ", 1 " + std::string(LcdTypeCaption(LcdType::Row)) + ". */\n#define " + name + "_LCD_TYPE "
                       + std::to_string(LcdTypeValue(type)) + "\n";
    if (layout == BitLayout::Module)
        return text;
    const bool sized = !IsModuleSize(size);
    text += sized || layout == BitLayout::Tiles
                ? std::string(kEveryLayoutComment)
                : "/* Where the dots are in the bytes: 1 rows top to bottom, two bytes a row,\n"
                  "   the leftmost dot in bit 0 (X BitMap, u8g2's drawXBM); 2 the same with the\n"
                  "   leftmost dot in bit 7 (Adafruit GFX's drawBitmap); 3 two pages of eight\n"
                  "   rows, a byte a column from left to right, the top dot in bit 0 (SSD1306,\n"
                  "   SH1106, ST7565, PCD8544). */\n";
    text += "#define " + name + "_LAYOUT " + std::to_string(static_cast<int>(layout)) + "\n";
    if (sized)
        text += "/* How many dots wide and high each picture is. */\n#define " + name + "_WIDTH "
                + std::to_string(size.width) + "\n#define " + name + "_HEIGHT " + std::to_string(size.height) + "\n";
    return text + (layout == BitLayout::Rows ? kProgmemWherever : "");
}

// How each picture's array begins. Adafruit GFX's drawBitmap reads a const
// array from program memory on AVR, so arrays for it must be put there.
std::string ArrayStart(BitLayout layout)
{
    return layout == BitLayout::Rows ? "static const unsigned char PROGMEM " : "static const unsigned char ";
}

// What each picture's bytes are, for the comment above them.
std::string WhatBytesAre(BitLayout layout, PictureSize size)
{
    if (layout == BitLayout::Module)
        return " the 33 bytes a serial graphic LCD module takes\n"
               "   for a 16 x 16 picture: the command 0xA4, then byte k holding dots 8k\n"
               "   to 8k+7 with the lowest dot in bit 0.\n   ";
    if (!IsModuleSize(size))
        return " the " + Bytes(layout, size) + " bytes of a " + PictureSizeText(size)
               + " picture,\n   laid out as the layout below says.\n   ";
    return " the 32 bytes of a 16 x 16 picture as the\n   screen shows it, laid out as the layout below says.\n   ";
}

std::string IndexEnum(const Document &set, const std::string &name)
{
    return "enum " + Braced(Items(set, [&name](const Picture &picture) { return IndexConstant(name, picture); }))
           + ";\n";
}

std::string DelayArray(const Document &set, const std::string &name, const std::string &countMacro)
{
    return "static const unsigned short " + name + "_DELAY_MS[" + countMacro + "] = "
           + Braced(Items(set, [](const Picture &picture) { return std::to_string(picture.delayMs); })) + ";\n";
}

std::string FramesComment(const std::string &name, std::size_t count, BitLayout layout = BitLayout::Module,
                          PictureSize size = kModuleSize)
{
    const std::string what = layout == BitLayout::Module ? "the 33 bytes a serial graphic\n"
                                                           "   LCD module takes (the command 0xA4, then byte k holding "
                                                           "dots 8k to 8k+7\n   with the lowest dot in bit 0)"
                             : IsModuleSize(size)
                                 ? "the 32 bytes of a\n"
                                   "   16 x 16 picture as the screen shows it, laid out as the layout below says"
                                 : "the " + Bytes(layout, size) + " bytes of a\n   " + PictureSizeText(size)
                                       + " picture, laid out as the layout below says";
    return "/* " + name + ": " + std::to_string(count) + " pictures shown in turn, each " + what + ". */\n#define "
           + name + "_FRAMES " + std::to_string(count) + "\n";
}

// The frames, each behind a comment with its label.
std::string FramesArray(const std::string &name, const std::vector<Picture> &frames,
                        const std::vector<std::string> &labels, LcdType type, BitLayout layout)
{
    const PictureSize size = frames.front().dots.Size();
    std::string text = ArrayStart(layout) + name + "[" + name + "_FRAMES][" + Bytes(layout, size) + "] = {\n";
    for (std::size_t i = 0; i < frames.size(); ++i)
        text += "    /* " + std::to_string(i) + ": " + labels[i] + " */\n    {\n"
                + PictureLines(frames[i], type, layout, "        ")
                + (i + 1 < frames.size() ? "\n    },\n" : "\n    }\n");
    return text + "};\n";
}

std::string IndexDeclarations(const Document &set, const std::string &name, BitLayout layout)
{
    const Picture &first = set.pictures.front();
    const PictureSize size = set.Size();
    std::string text = "\n/* " + name + ": " + Count(set.pictures.size(), "picture")
                       + (set.pictures.size() == 1 ? "," : ", each") + WhatBytesAre(layout, size) + name + "["
                       + IndexConstant(name, first) + "] is " + first.name + ". */\n"
                       + TypeLines(name, set.type, layout, size);
    const std::string arraySize = ArrayEnd(layout, size) + "\n";
    for (const Picture &picture : set.pictures)
        text += "\n" + ArrayStart(layout) + picture.name + arraySize + PictureLines(picture, set.type, layout, "    ")
                + "\n};\n";
    text += "\n#define " + name + "_COUNT " + std::to_string(set.pictures.size()) + "\n" + IndexEnum(set, name)
            + "static const unsigned char *const " + name + "[" + name
            + "_COUNT] = " + Braced(Items(set, [](const Picture &picture) { return picture.name; })) + ";\n";
    const bool allDefault = std::all_of(set.pictures.begin(), set.pictures.end(),
                                        [](const Picture &picture) { return picture.delayMs == kDefaultDelayMs; });
    return allDefault ? text : text + DelayArray(set, name, name + "_COUNT");
}

std::string FramesDeclarations(const Document &set, const std::string &name, BitLayout layout)
{
    std::string text = "\n" + FramesComment(name, set.pictures.size(), layout, set.Size())
                       + TypeLines(name, set.type, layout, set.Size()) + IndexEnum(set, name);
    text += AllDelaysEqual(set) ? "#define " + name + "_FRAME_MS " + std::to_string(set.pictures.front().delayMs) + "\n"
                                : DelayArray(set, name, name + "_FRAMES");
    return text
           + FramesArray(name, set.pictures, Items(set, [](const Picture &picture) { return picture.name; }), set.type,
                         layout);
}

// The first two pictures whose names are the same without case: one file name
// where case does not count.
std::optional<std::pair<const Picture *, const Picture *>> NamesAlike(const Document &set)
{
    std::unordered_map<std::string, const Picture *> withoutCase;
    for (const Picture &picture : set.pictures) {
        const auto [earlier, added] = withoutCase.emplace(LowerCase(picture.name), &picture);
        if (!added)
            return std::pair{earlier->second, &picture};
    }
    return std::nullopt;
}

// Why the set's header would not be sound C, or would not read back as the same set.
std::string NamesProblem(const Document &set, const std::string &name, const std::string &guard)
{
    if (const std::string broken = NameRuleBroken(name); !broken.empty())
        return "the set's name '" + name + "' " + broken;
    for (const Picture &picture : set.pictures) {
        if (const std::string broken = NameRuleBroken(picture.name); !broken.empty())
            return "the name '" + picture.name + "' " + broken;
        if (picture.delayMs < 0 || picture.delayMs > kLongestDelayMs)
            return "the delay of " + picture.name + ", " + std::to_string(picture.delayMs) + " ms, is not from 0 to "
                   + std::to_string(kLongestDelayMs) + " ms";
    }
    if (const auto alike = NamesAlike(set))
        return "the names " + alike->first->name + " and " + alike->second->name
               + " are the same without case, which some file systems take for one file name";
    const bool frames = set.form == SetForm::Frames;
    std::unordered_map<std::string, std::string> declared = {{guard, "the include guard"},
                                                             {name, frames ? "the array of frames" : "the index"}};
    for (const char *macro : {"_LCD_TYPE", "_LAYOUT", "_COUNT", "_DELAY_MS", "_FRAMES", "_FRAME_MS"})
        declared.emplace(name + macro, "a macro of the set");
    if (!IsModuleSize(set.Size())) {
        for (const char *macro : {"_WIDTH", "_HEIGHT"})
            declared.emplace(name + macro, "a macro of the set");
    }
    const auto declare = [&declared](const std::string &id, const std::string &what) -> std::string {
        const auto [earlier, added] = declared.emplace(id, what);
        return added ? "" : "the C name " + id + " would stand for " + earlier->second + " and for " + what;
    };
    for (const Picture &picture : set.pictures) {
        std::string clash = frames ? "" : declare(picture.name, "the array of the picture " + picture.name);
        if (clash.empty())
            clash = declare(IndexConstant(name, picture), "the index constant of the picture " + picture.name);
        if (!clash.empty())
            return clash;
    }
    return {};
}

// Why the set's pictures cannot share a header in `layout`: sizes that
// differ, or the module's layout for pictures it does not take.
std::string SizeProblem(const Document &set, BitLayout layout)
{
    const PictureSize size = set.Size();
    const auto other = std::find_if(set.pictures.begin(), set.pictures.end(),
                                    [size](const Picture &picture) { return picture.dots.Size() != size; });
    if (other != set.pictures.end())
        return "its pictures are not all of one size: " + set.pictures.front().name + " is " + PictureSizeText(size)
               + ", " + other->name + " " + PictureSizeText(other->dots.Size());
    if (layout == BitLayout::Module && !IsModuleSize(size))
        return "the module shows " + PictureSizeText(kModuleSize) + " pictures and the set's are "
               + PictureSizeText(size) + "; the layouts xbm, rows, pages and tiles take any size";
    return {};
}

SetText FormatNamed(const Document &set, const std::string &name, std::string_view guardSource,
                    std::string_view command, BitLayout layout)
{
    if (std::string problem = SizeProblem(set, layout); !problem.empty())
        return {{}, std::move(problem)};
    if (std::string problem = NamesProblem(set, name, IncludeGuard(guardSource)); !problem.empty())
        return {{}, std::move(problem)};
    const std::string declarations =
        set.form == SetForm::Frames ? FramesDeclarations(set, name, layout) : IndexDeclarations(set, name, layout);
    return {Guarded(declarations, command, guardSource), {}};
}

// The NAME and the include guard's source a file name gives the header, or
// nothing for a name with no letter or digit in it. An ASCII name's guard is
// made from the name as it stands (icons.h: ICONS_H), as it always was;
// another's from the NAME it gives (아이콘.h: aikon, AIKON_H).
std::optional<std::pair<std::string, std::string>> NamesFromFile(const std::filesystem::path &file)
{
    const std::string stem = DisplayPath(file.stem());
    const bool ascii =
        std::all_of(stem.begin(), stem.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const bool letterOrDigit = std::any_of(stem.begin(), stem.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
    const std::string name = NameFromFileName(file);
    if (ascii)
        return letterOrDigit ? std::optional(std::pair(name, DisplayPath(file.filename()))) : std::nullopt;
    if (name == "picture") // nothing but marks and spaces
        return std::nullopt;
    return std::pair(name, name + ".h");
}

// What the lines of a header of this program say about its set.
struct HeaderFacts {
    std::optional<std::string> command;      // of its first line, "/* Made by COMMAND */"
    std::string guard;                       // of its first #ifndef
    std::string name;                        // NAME of `#define NAME_LCD_TYPE`
    std::optional<LcdType> type;             // its value
    BitLayout layout = BitLayout::Module;    // of `#define NAME_LAYOUT`; the module's without one
    PictureSize size;                        // of `#define NAME_WIDTH` and `NAME_HEIGHT`; 16 x 16 without them
    std::string arraySizes = "[33] = {";     // how each picture's array line ends, in that layout and size
    std::string framesName;                  // NAME of `#define NAME_FRAMES`
    std::optional<int> frameMs;              // of `#define NAME_FRAME_MS`
    std::optional<std::vector<int>> delays;  // of `NAME_DELAY_MS[] = {...}`
    std::vector<std::string> frameLabels;    // of each frame's "    /* i: LABEL */"
    std::vector<std::string> earlierSources; // of the earlier form's "/* NAME, from SOURCE: the 33 bytes ..."
    std::vector<std::string> arrays;         // NAME of each `static const unsigned char NAME[33] = {`
    std::vector<std::uint8_t> bytes;         // of every line of 0x.. values, in order
};

std::optional<int> Number(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The NAME and value of `#define NAME<suffix> VALUE`.
std::optional<std::pair<std::string, std::string_view>> Define(std::string_view line, std::string_view suffix)
{
    constexpr std::string_view kDefine = "#define ";
    if (!line.starts_with(kDefine))
        return std::nullopt;
    line.remove_prefix(kDefine.size());
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || !line.substr(0, space).ends_with(suffix))
        return std::nullopt;
    return std::pair{std::string(line.substr(0, space - suffix.size())), line.substr(space + 1)};
}

std::optional<std::vector<int>> DelayList(std::string_view text, std::size_t from)
{
    const std::size_t open = text.find('{', from);
    const std::size_t close = text.find('}', open);
    if (close == std::string_view::npos)
        return std::nullopt;
    std::vector<int> delays;
    std::string_view list = text.substr(open + 1, close - open - 1);
    while (!list.empty()) {
        const std::size_t comma = std::min(list.find(','), list.size());
        std::string_view item = list.substr(0, comma);
        item.remove_prefix(std::min(item.find_first_not_of(" \n"), item.size()));
        item.remove_suffix(item.size() - std::min(item.find_last_not_of(" \n") + 1, item.size()));
        const std::optional<int> delay = Number(item);
        if (!delay)
            return std::nullopt;
        delays.push_back(*delay);
        list.remove_prefix(std::min(comma + 1, list.size()));
    }
    return delays;
}

void ReadByteLine(std::string_view line, std::vector<std::uint8_t> &bytes)
{
    for (std::size_t at = line.find("0x"); at != std::string_view::npos; at = line.find("0x", at + 2)) {
        unsigned value = 0;
        std::from_chars(line.data() + at + 2, line.data() + line.size(), value, 16);
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
}

// The picture's side a `#define NAME_WIDTH` or `NAME_HEIGHT` gives; 0 for no number.
int Side(std::string_view value)
{
    return Number(value).value_or(0);
}

void ReadFactLine(std::string_view text, std::size_t start, std::string_view line, HeaderFacts &facts)
{
    const std::string kArray = ArrayStart(facts.layout);
    const std::string_view arraySizes = facts.arraySizes;
    const std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
    if (line.substr(indent).starts_with("0x")) {
        ReadByteLine(line, facts.bytes);
    } else if (line.starts_with(kArray) && line.ends_with(arraySizes)
               && line.find('[') == line.size() - arraySizes.size()) {
        facts.arrays.emplace_back(line.substr(kArray.size(), line.size() - kArray.size() - arraySizes.size()));
    } else if (line.starts_with("#ifndef ") && facts.guard.empty()) {
        facts.guard = line.substr(8);
    } else if (const auto type = Define(line, "_LCD_TYPE")) {
        facts.name = type->first;
        const std::optional<int> value = Number(type->second);
        facts.type = value ? LcdTypeFromValue(*value) : std::nullopt;
    } else if (const auto layout = Define(line, "_LAYOUT"); layout && layout->first == facts.name) {
        const std::optional<int> value = Number(layout->second);
        const bool known = value && *value > 0 && *value < static_cast<int>(kEveryBitLayout.size());
        facts.layout = known ? kEveryBitLayout.at(static_cast<std::size_t>(*value)) : BitLayout::Module;
        facts.arraySizes = ArrayEnd(facts.layout, facts.size);
    } else if (const auto width = Define(line, "_WIDTH"); width && width->first == facts.name) {
        facts.size.width = Side(width->second);
    } else if (const auto height = Define(line, "_HEIGHT"); height && height->first == facts.name) {
        facts.size.height = Side(height->second);
        if (IsPictureSize(facts.size))
            facts.arraySizes = ArrayEnd(facts.layout, facts.size);
    } else if (const auto frames = Define(line, "_FRAMES")) {
        facts.framesName = frames->first;
    } else if (const auto frameMs = Define(line, "_FRAME_MS")) {
        facts.frameMs = Number(frameMs->second);
    } else if (line.starts_with("static const unsigned short ") && line.find("_DELAY_MS[") != std::string_view::npos) {
        facts.delays = DelayList(text, start);
    } else if (line.starts_with("    /* ") && line.ends_with(kCommentEnd)) {
        const std::string_view inside = line.substr(7, line.size() - 7 - kCommentEnd.size());
        const std::string index = std::to_string(facts.frameLabels.size()) + ": ";
        if (inside.starts_with(index))
            facts.frameLabels.emplace_back(inside.substr(index.size()));
    } else if (line.starts_with("/* ") && line.ends_with(kEarlierArrayComment)) {
        const std::size_t from = line.find(", from ");
        if (from != std::string_view::npos)
            facts.earlierSources.emplace_back(
                line.substr(from + 7, line.size() - from - 7 - kEarlierArrayComment.size()));
    }
}

HeaderFacts ReadFacts(std::string_view text)
{
    HeaderFacts facts;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        if (start == 0 && line.starts_with(kMadeBy) && line.ends_with(kCommentEnd))
            facts.command = line.substr(kMadeBy.size(), line.size() - kMadeBy.size() - kCommentEnd.size());
        else
            ReadFactLine(text, start, line, facts);
        start = end + 1;
    }
    return facts;
}

bool IsFramesHeader(const HeaderFacts &facts)
{
    return !facts.name.empty() && facts.framesName == facts.name;
}

// The earlier form of `header --frames`: frames behind their files' names, no index.
bool IsEarlierFramesHeader(const HeaderFacts &facts, std::size_t count)
{
    return facts.command && facts.name.empty() && !facts.framesName.empty() && facts.frameLabels.size() == count;
}

// What `header` wrote before sets had an index, from the set and the facts its comments keep.
std::string EarlierHeader(const Document &set, const HeaderFacts &facts)
{
    std::string declarations;
    if (set.form == SetForm::Frames) {
        declarations = "\n" + FramesComment(facts.framesName, set.pictures.size());
        if (facts.frameMs)
            declarations += "#define " + facts.framesName + "_FRAME_MS " + std::to_string(*facts.frameMs) + "\n";
        declarations += FramesArray(facts.framesName, set.pictures, facts.frameLabels, set.type, BitLayout::Module);
    } else if (facts.earlierSources.size() == set.pictures.size()) {
        for (std::size_t i = 0; i < set.pictures.size(); ++i)
            declarations += "\n" + CArray({GridOf(set.pictures[i]), set.pictures[i].name, facts.earlierSources[i]});
    } else {
        return {};
    }
    return Guarded(declarations, *facts.command, facts.guard);
}

void ApplyDelays(const HeaderFacts &facts, Document &set)
{
    for (std::size_t i = 0; i < set.pictures.size(); ++i) {
        if (facts.delays && facts.delays->size() == set.pictures.size())
            set.pictures[i].delayMs = (*facts.delays)[i];
        else if (facts.frameMs && !facts.framesName.empty())
            set.pictures[i].delayMs = *facts.frameMs;
    }
}

// A header in this program's form, read straight from its lines: a thousand
// pictures open at once. The set is trusted only when it gives the very text
// back; any other text takes the way every C source does.
std::optional<Document> OwnSet(std::string_view text, const HeaderFacts &facts)
{
    const bool frames = IsFramesHeader(facts);
    const std::vector<std::string> &names = frames ? facts.frameLabels : facts.arrays;
    if (!IsPictureSize(facts.size))
        return std::nullopt;
    const std::size_t perPicture = BytesPerPicture(facts.layout, facts.size);
    if (!facts.command || !facts.type || names.empty() || facts.bytes.size() != names.size() * perPicture)
        return std::nullopt;
    // The module's bytes follow its command; the other layouts' are the picture alone.
    const std::size_t pictureBytes = facts.layout == BitLayout::Module ? std::size_t{kBlockCount} : perPicture;
    Document set;
    set.type = *facts.type;
    set.form = frames ? SetForm::Frames : SetForm::Pictures;
    set.pictures.clear();
    set.pictures.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::span<const std::uint8_t> bytes(facts.bytes.data() + (i + 1) * perPicture - pictureBytes,
                                                  pictureBytes);
        set.pictures.push_back(
            {names[i], kDefaultDelayMs, DotsFromSizedLayoutBytes(bytes, facts.layout, set.type, facts.size)});
    }
    ApplyDelays(facts, set);
    if (FormatNamed(set, facts.name, facts.guard, *facts.command, facts.layout).text != text)
        return std::nullopt;
    return set;
}

std::string ArrayOfNote(const std::string &why)
{
    constexpr std::string_view kArray = "the array ";
    if (!why.starts_with(kArray))
        return {};
    return why.substr(kArray.size(), why.find_first_of(" [", kArray.size()) - kArray.size());
}

// C takes longer names than the 63 characters it promises to tell apart, and
// gcc does, but a picture's name is no longer: such names are cut to fit,
// made distinct as pasted names are. "long is now cut, ..." or "" for none.
std::string CutLongNames(std::vector<CodePicture> &pictures)
{
    std::string cut;
    for (std::size_t at = 0; at < pictures.size(); ++at) {
        std::string &name = pictures[at].name;
        if (name.size() <= kMaxNameLength)
            continue;
        const auto taken = [&pictures, at](const std::string &candidate) {
            return std::any_of(pictures.begin(), pictures.end(), [&](const CodePicture &other) {
                return &other != &pictures[at] && LowerCase(other.name) == LowerCase(candidate);
            });
        };
        std::string fitting = DistinctName(name, taken);
        cut.append(cut.empty() ? "" : ", ").append(name).append(" is now ").append(fitting);
        name = std::move(fitting);
    }
    return cut;
}

SetCode PicturesOf(std::string_view text, const HeaderFacts &facts, const PassedOverNote &note,
                   const CommandLineDefines &defines = {}, const SizeReading &sizes = {})
{
    const auto isIndex = [&facts](const std::string &array) {
        return !facts.name.empty() && (array == facts.name || array == facts.name + "_DELAY_MS");
    };
    SetCode code{{}, facts.type, facts.name.empty() ? facts.framesName : facts.name, {}};
    CodeReading found = FindPicturesInCode(
        text,
        [&](const std::string &why) {
            if (isIndex(ArrayOfNote(why)))
                return;
            code.reading.PassOver(why);
            if (note)
                note(why);
        },
        defines, sizes);
    std::vector<CodePicture> &pictures = code.reading.pictures;
    pictures.reserve(found.pictures.size());
    for (CodePicture &picture : found.pictures) {
        if (!isIndex(picture.name))
            pictures.push_back(std::move(picture));
    }
    code.reading.unsized = std::move(found.unsized);
    // What a header says of its layout holds for its arrays, but not for one
    // that tells its own (0xA4 first, say), added by hand.
    if (facts.layout != BitLayout::Module && facts.type) {
        for (CodePicture &picture : pictures) {
            if (!picture.layout) {
                picture.layout = facts.layout;
                picture.layoutEvidence = "its header names that layout";
            }
        }
    }
    if (IsFramesHeader(facts) && facts.frameLabels.size() == pictures.size()) {
        for (std::size_t i = 0; i < pictures.size(); ++i)
            pictures[i].name = facts.frameLabels[i];
    }
    code.cutNames = CutLongNames(pictures);
    return code;
}

// The readings to ask about for the pictures that say no layout; none when all read alike.
std::vector<LayoutChoice> UnsaidChoices(const std::vector<CodePicture> &found, LcdType type)
{
    std::vector<PictureBytes> unsaid;
    for (const CodePicture &picture : found) {
        if (!picture.layout)
            unsaid.push_back(picture.bytes);
    }
    if (unsaid.empty())
        return {};
    std::vector<LayoutChoice> choices = RankSetLayouts(unsaid, type);
    if (choices.size() < 2)
        choices.clear();
    return choices;
}

std::string CaseClash(const Document &set)
{
    const auto alike = NamesAlike(set);
    if (!alike)
        return {};
    const std::string &earlier = alike->first->name;
    const std::string &later = alike->second->name;
    return earlier == later ? "it holds two pictures named " + later
                            : "the names " + earlier + " and " + later + " are the same without case";
}

} // namespace

SetText FormatSetHeader(const Document &set, const std::optional<std::filesystem::path> &file, std::string_view command,
                        const std::optional<std::string> &name, BitLayout layout)
{
    if (set.pictures.empty())
        return {{}, "Cannot make the header: the set holds no pictures."};
    std::string setName;
    std::string guardSource;
    if (const auto fromFile = file ? NamesFromFile(*file) : std::nullopt) {
        setName = name.value_or(fromFile->first);
        guardSource = fromFile->second;
    } else {
        const std::string base = ("tessaldo_" + name.value_or(set.pictures.front().name)).substr(0, kMaxNameLength);
        guardSource = base + ".h";
        setName = name.value_or(base);
    }
    const bool namesAPicture = std::any_of(set.pictures.begin(), set.pictures.end(),
                                           [&setName](const Picture &picture) { return picture.name == setName; });
    if (!name && set.form == SetForm::Pictures && namesAPicture)
        setName = setName.substr(0, kMaxNameLength - 4) + "_set";
    SetText header = FormatNamed(set, setName, guardSource, command, layout);
    if (!header.problem.empty())
        header.problem =
            file ? SaveFailed(*file, header.problem).message() : "Cannot make the header: " + header.problem + ".";
    return header;
}

SetCode FindSetPictures(std::string_view text, const PassedOverNote &note, const CommandLineDefines &defines,
                        const SizeReading &sizes)
{
    if (const std::optional<std::string> utf8 = Utf8FromUtf16(text))
        return FindSetPictures(*utf8, note, defines, sizes);
    return PicturesOf(text, ReadFacts(text), note, defines, sizes);
}

SetReading ReadSet(std::string_view text, LcdType typeIfUnsaid, const PassedOverNote &note,
                   std::optional<BitLayout> unsaidLayout, const CommandLineDefines &defines)
{
    if (const std::optional<std::string> utf8 = Utf8FromUtf16(text))
        return ReadSet(*utf8, typeIfUnsaid, note, unsaidLayout, defines);
    const HeaderFacts facts = ReadFacts(text);
    SetReading reading;
    if (std::optional<Document> own = OwnSet(text, facts)) {
        reading.set = std::move(own);
        reading.ownHeader = true;
        reading.typeSaid = true;
        reading.layout = facts.layout;
        reading.name = facts.name;
        return reading;
    }
    const SetCode code = PicturesOf(text, facts, note, defines);
    reading.passedOver = code.reading.passedOver;
    reading.firstPassedOver = code.reading.firstPassedOver;
    reading.typeSaid = code.type.has_value();
    reading.layout = code.type ? facts.layout : BitLayout::Module;
    reading.name = code.name;
    reading.cutNames = code.cutNames;
    const std::vector<CodePicture> &found = code.reading.pictures;
    if (found.empty()) {
        reading.problem = PickPicture(code.reading, std::nullopt).problem;
        return reading;
    }
    const auto unreadable =
        std::find_if(found.begin(), found.end(), [](const CodePicture &picture) { return !picture.problem.empty(); });
    if (unreadable != found.end()) {
        reading.problem = unreadable->problem;
        return reading;
    }
    if (const std::optional<std::string> shared = NameSharedByTwo(code.reading)) {
        reading.problem = SharedNameProblem(code.reading, *shared);
        reading.branchesDiffer = true;
        return reading;
    }
    Document set;
    set.type = code.type.value_or(typeIfUnsaid);
    if (!unsaidLayout)
        reading.choices = UnsaidChoices(found, set.type);
    set.pictures.clear();
    set.pictures.reserve(found.size());
    for (const CodePicture &picture : found) {
        const std::optional<BitLayout> layout = picture.layout ? picture.layout : unsaidLayout;
        set.pictures.push_back({picture.name, kDefaultDelayMs, DotsOfPicture(picture.bytes, layout, set.type)});
    }
    const bool frames = IsFramesHeader(facts) || IsEarlierFramesHeader(facts, found.size());
    set.form = frames ? SetForm::Frames : SetForm::Pictures;
    ApplyDelays(facts, set);
    if (reading.problem = CaseClash(set); !reading.problem.empty())
        return reading;
    reading.ownHeader = facts.command && facts.name.empty() && EarlierHeader(set, facts) == text;
    reading.set = std::move(set);
    return reading;
}

std::string PassedOverIn(std::string_view where, std::string_view why)
{
    return "Passed over in " + std::string(where) + ": " + std::string(why) + ".";
}

std::string PassedOverLines(std::string_view where, std::size_t passedOver, const std::vector<std::string> &first)
{
    // As a list of names: never "and 1 more" where that one could be named.
    const std::size_t named = passedOver > kPassedOverNamed + 1 ? kPassedOverNamed : passedOver;
    std::string text;
    for (std::size_t i = 0; i < named && i < first.size(); ++i)
        text += (text.empty() ? "" : "\n") + PassedOverIn(where, first[i]);
    if (named < passedOver)
        text += "\n" + PassedOverIn(where, std::to_string(passedOver - named) + " more arrays that are no pictures");
    return text;
}

std::string PassedOverText(std::string_view sourceName, const SetReading &reading)
{
    return PassedOverLines("\"" + std::string(sourceName) + "\"", reading.passedOver, reading.firstPassedOver);
}

std::string ReadingNote(std::string_view sourceName, const SetReading &reading)
{
    std::string note = PassedOverText(sourceName, reading);
    if (!reading.cutNames.empty())
        note.append(note.empty() ? "" : " ")
            .append("Names in \"" + std::string(sourceName) + "\" longer than " + std::to_string(kMaxNameLength)
                    + " characters are cut to fit: " + reading.cutNames + ".");
    return note;
}

bool SafeToOverwrite(std::string_view existingText)
{
    return existingText.empty() || ReadSet(existingText, LcdType::Column).ownHeader;
}

FileStatus CheckSetFolder(const Document &set, const std::filesystem::path &folder)
{
    for (const Picture &picture : set.pictures) {
        if (const std::string broken = NameRuleBroken(picture.name); !broken.empty())
            return SaveFailed(folder, "the name '" + picture.name + "' " + broken);
        const std::filesystem::path file = DrawingFileIn(folder, picture);
        std::error_code error;
        if (std::filesystem::is_directory(file, error))
            return SaveFailed(file, "it is a folder");
    }
    if (const auto alike = NamesAlike(set))
        return SaveFailed(folder, "the names " + alike->first->name + " and " + alike->second->name
                                      + " would both be the file " + alike->second->name + ".Lcd");
    return FileStatus::Ok();
}

std::vector<std::filesystem::path> DrawingsReplaced(const Document &set, const std::filesystem::path &folder)
{
    std::vector<std::filesystem::path> replaced;
    for (const Picture &picture : set.pictures) {
        const std::filesystem::path file = DrawingFileIn(folder, picture);
        const std::string bytes = DrawingBytes(set, picture);
        std::error_code error;
        std::string held;
        // One byte more than the drawing tells a longer file from an equal one.
        if (std::filesystem::exists(file, error) && (!ReadFileStart(file, bytes.size() + 1, held) || held != bytes))
            replaced.push_back(file);
    }
    std::sort(replaced.begin(), replaced.end());
    return replaced;
}

std::string ReplacingReason(const std::vector<std::filesystem::path> &replaced)
{
    return "it already holds drawings the set would replace (" + FrameNames(replaced) + ")";
}

FileStatus SaveSetFolder(const Document &set, const std::filesystem::path &folder, ReplaceDrawings replace)
{
    if (FileStatus checked = CheckSetFolder(set, folder); !checked)
        return checked;
    if (replace == ReplaceDrawings::No) {
        if (const auto replaced = DrawingsReplaced(set, folder); !replaced.empty())
            return SaveFailed(folder, ReplacingReason(replaced));
    }
    std::vector<FileToWrite> files;
    for (const Picture &picture : set.pictures)
        files.push_back({DrawingFileIn(folder, picture), DrawingBytes(set, picture)});
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    return WriteFilesAtomically(files);
}

FileStatus OpenSetFolder(const std::filesystem::path &folder, Document &set,
                         std::vector<std::filesystem::path> &passedOver, std::vector<std::string> *leftOut)
{
    std::vector<std::filesystem::path> files;
    std::vector<std::filesystem::path> others;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const bool drawing =
            entry->is_regular_file(error) && EndsInPictureSuffix(DisplayPath(entry->path().extension()));
        (drawing ? files : others).push_back(entry->path());
    }
    if (error)
        return OpenFailed(folder, error.message());
    if (files.empty())
        return OpenFailed(folder, "it holds no picture files (.Lcd, .pbm or .xbm)");
    const auto byName = [](const auto &a, const auto &b) { return a.filename().u8string() < b.filename().u8string(); };
    std::sort(files.begin(), files.end(), byName);
    std::sort(others.begin(), others.end(), byName);
    FileStatus opened = OpenSetFiles(files, set, leftOut);
    if (opened)
        passedOver = std::move(others);
    return opened;
}

std::string FolderPassedOverNote(const std::filesystem::path &folder,
                                 const std::vector<std::filesystem::path> &passedOver)
{
    return PassedOverIn(
        "\"" + DisplayPath(folder) + "\"",
        FrameNames(passedOver)
            + (passedOver.size() == 1 ? ", which is no drawing file (.Lcd)" : ", which are no drawing files (.Lcd)"));
}

FileStatus OpenSetFiles(std::span<const std::filesystem::path> files, Document &set, std::vector<std::string> *leftOut)
{
    if (files.empty())
        return FileStatus::Failed("Cannot open the set: no drawing files were given.");
    Document opened;
    opened.pictures.clear();
    std::optional<LcdType> type;
    std::optional<PictureSize> size;
    std::unordered_map<std::string, std::filesystem::path> byName;
    std::vector<std::string> refused;
    for (const std::filesystem::path &file : files) {
        Drawing drawing;
        FileStatus read = ReadPictureFile(file, drawing, type.value_or(LcdType::Column));
        Picture picture{NameFromFileName(file), kDefaultDelayMs, drawing.dots};
        if (read) {
            if (const auto earlier = byName.find(LowerCase(picture.name)); earlier != byName.end())
                read = OpenFailed(file, "it gives the picture the name " + picture.name + ", as \""
                                            + DisplayPath(earlier->second) + "\" does (without case)");
            else if (type && drawing.type && *drawing.type != *type)
                read = OpenFailed(file, "it is drawn for " + LcdTypeName(*drawing.type) + ", the files before it for "
                                            + LcdTypeName(*type));
            else if (size && drawing.dots.Size() != *size)
                read = OpenFailed(file, "its picture is " + PictureSizeText(drawing.dots.Size())
                                            + ", the pictures before it " + PictureSizeText(*size));
        }
        if (!read) {
            if (leftOut == nullptr)
                return read;
            refused.push_back(read.message());
            continue;
        }
        byName.emplace(LowerCase(picture.name), file);
        type = type ? type : drawing.type;
        size = drawing.dots.Size();
        opened.pictures.push_back(std::move(picture));
    }
    if (opened.pictures.empty()) {
        std::string none = "None of these files opens as a drawing:";
        for (const std::string &why : refused)
            none += "\n" + why;
        return FileStatus::Failed(refused.size() == 1 ? refused.front() : none);
    }
    opened.type = type.value_or(LcdType::Column);
    set = std::move(opened);
    if (leftOut != nullptr)
        *leftOut = std::move(refused);
    return FileStatus::Ok();
}

std::string LeftOutNote(const std::vector<std::string> &leftOut)
{
    std::string note;
    for (const std::string &why : leftOut)
        note += (note.empty() ? "Left out of the set:\n" : "\n") + why;
    return note;
}

} // namespace tessaldo
