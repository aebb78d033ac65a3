#include "FontCommands.h"

#include "CommandShared.h"
#include "core/code/CodeFormats.h"
#include "core/convert/GlyphNames.h"
#include "core/formats/BdfFont.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/SetHeader.h"
#include "core/model/PictureName.h"
#include "core/platform/FileIo.h"
#include "core/platform/PlatformFile.h"

#include <algorithm>
#include <map>
#include <ostream>

namespace tessaldo {
namespace {

DotGrid Drawn(LcdType type, const DotGrid::Dots &dots)
{
    DotGrid grid;
    grid.SetLCDType(type);
    grid.SetAllDots(dots);
    return grid;
}

// A picture given to font, with where it came from for the messages.
struct GivenPicture {
    std::string source;
    std::string name;
    DotGrid picture;
};

bool GatherSource(const std::string &source, const CommandLineDefines &defines, std::vector<GivenPicture> &given,
                  Streams &streams);

// A folder of PBMs or XBMs, such as text --each writes at other sizes than
// 16 x 16, each file read as any FILE is; nothing when it holds none.
std::optional<bool> GatherBitmapFolder(const std::string &folder, std::vector<GivenPicture> &given, Streams &streams)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::optional<PictureFormat> format = PictureFormatOfName(DisplayPath(entry->path().filename()));
        if ((format == PictureFormat::Pbm || format == PictureFormat::Xbm) && entry->is_regular_file(error))
            files.push_back(entry->path());
    }
    if (files.empty())
        return std::nullopt;
    std::sort(files.begin(), files.end());
    bool gathered = true;
    for (const std::filesystem::path &file : files)
        gathered = GatherSource(file.string(), {}, given, streams) && gathered;
    return gathered;
}

bool GatherFolder(const std::string &folder, std::vector<GivenPicture> &given, Streams &streams)
{
    Document set;
    std::vector<std::filesystem::path> passedOver;
    if (const FileStatus opened = OpenSetFolder(folder, set, passedOver); !opened) {
        if (const std::optional<bool> bitmaps = GatherBitmapFolder(folder, given, streams))
            return *bitmaps;
        streams.err << opened.message() << '\n';
        return false;
    }
    if (!passedOver.empty())
        streams.err << FolderPassedOverNote(folder, passedOver) << '\n';
    for (const Picture &picture : set.pictures)
        given.push_back({folder, picture.name, Drawn(set.type, picture.dots)});
    return true;
}

bool GatherSource(const std::string &source, const CommandLineDefines &defines, std::vector<GivenPicture> &given,
                  Streams &streams)
{
    std::error_code error;
    if (std::filesystem::is_directory(source, error))
        return GatherFolder(source, given, streams);
    SetPart read;
    if (const FileStatus status = ReadSourcePictures(source, LcdType::Column, streams, read, defines); !status) {
        streams.err << status.message() << '\n';
        return false;
    }
    for (const Picture &picture : read.pictures)
        given.push_back({source, picture.name, Drawn(read.type.value_or(LcdType::Column), picture.dots)});
    return true;
}

// Each picture's character; every picture whose name gives none, and every
// character drawn twice, is named in the refusal.
bool GlyphsOf(const std::vector<GivenPicture> &given, std::vector<FontGlyph> &glyphs, std::ostream &err)
{
    std::map<char32_t, const GivenPicture *> drawn;
    bool refused = false;
    for (const GivenPicture &picture : given) {
        const std::optional<char32_t> codePoint = CodePointOfName(picture.name);
        if (!codePoint) {
            err << "Cannot make the font: the picture " << picture.name << " of " << SourceName(picture.source)
                << " names no character; a glyph's picture is named U_XXXX, or its file U+XXXX.Lcd.\n";
            refused = true;
        } else if (const auto [earlier, added] = drawn.emplace(*codePoint, &picture); !added) {
            err << "Cannot make the font: " << SourceName(earlier->second->source) << " and "
                << SourceName(picture.source) << " both draw " << CodePointName(*codePoint) << ".\n";
            refused = true;
        } else {
            glyphs.push_back({*codePoint, picture.picture});
        }
    }
    // A font's glyphs share its cell: the first picture's size is the font's.
    for (const GivenPicture &picture : given) {
        if (picture.picture.Size() == given.front().picture.Size())
            continue;
        err << "Cannot make the font: its glyphs share one size, but the picture " << given.front().name << " of "
            << SourceName(given.front().source) << " is " << PictureSizeText(given.front().picture.Size()) << " and "
            << picture.name << " of " << SourceName(picture.source) << " is " << PictureSizeText(picture.picture.Size())
            << ".\n";
        return false;
    }
    return !refused;
}

void RefuseImageOptions(const Arguments &arguments)
{
    for (const std::string_view option : {"--size", "--fit", "--threshold", "--dither", "--invert"}) {
        if (arguments.Has(option))
            throw UsageError(std::string(option) + " applies to images; a font's glyphs are taken dot for dot");
    }
}

std::string ImportFailed(const std::string &font, const std::string &reason)
{
    return "Cannot import " + SourceName(font) + ": " + reason + ".";
}

// One U+XXXX.Lcd per glyph; nothing is written unless every file may be,
// nor, without --replace, over drawings that differ.
int WriteEachGlyph(const Arguments &arguments, const Document &set, Streams &streams)
{
    const std::filesystem::path folder = *arguments.Value("--each");
    const auto fileOf = [&folder](const Picture &picture) {
        return folder / PictureFileName(picture.name, picture.dots.Size());
    };
    for (const Picture &picture : set.pictures) {
        if (const FileStatus writable = EachFileIsWritable(fileOf(picture), {&arguments.operands[1], 1}); !writable)
            return Refused(streams.err, writable.message());
    }
    if (const auto replaced = DrawingsReplaced(set, folder); !replaced.empty() && !arguments.Has("--replace"))
        return Refused(streams.err,
                       SaveFailed(folder, ReplacingReason(replaced) + "; --replace writes over them").message());
    std::vector<FileToWrite> files;
    for (const Picture &picture : set.pictures)
        files.push_back({fileOf(picture), PictureFileBytes(Drawn(set.type, picture.dots), fileOf(picture)).value()});
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    const FileStatus saved = WriteFilesAtomically(files);
    return saved ? kExitOk : Refused(streams.err, saved.message());
}

} // namespace

int MakeFont(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectSomeOperands("SOURCE");
    const std::optional<std::string> output = arguments.Value("--output");
    if (!output)
        throw UsageError("missing --output NAME.bdf");
    const std::string family = arguments.Value("--name").value_or(FamilyFromFileName(*output));
    if (const std::string problem = FamilyProblem(family); !problem.empty())
        throw UsageError("--name '" + family + "': " + problem);
    const std::vector<std::string> sources(arguments.operands.begin() + 1, arguments.operands.end());
    // Every source is read, and every name checked, before anything is written.
    const CommandLineDefines defines = ReadDefines(arguments);
    std::vector<GivenPicture> given;
    bool refused = false;
    for (const std::string &source : sources)
        refused = !GatherSource(source, defines, given, streams) || refused;
    std::vector<FontGlyph> glyphs;
    if (refused || !GlyphsOf(given, glyphs, streams.err))
        return kExitRefused;
    const std::string font = FormatBdfFont(glyphs, family);
    if (*output == kStandardStream) {
        streams.out << font;
        return kExitOk;
    }
    if (const FileStatus spared = OutputSparesInputs(*output, sources); !spared)
        return Refused(streams.err, spared.message());
    const FileStatus saved = WriteFileAtomically(*output, font);
    return saved ? kExitOk : Refused(streams.err, saved.message());
}

bool IsFontFile(const std::string &file)
{
    if (file == kStandardStream)
        return false;
    if (LowerCase(DisplayPath(std::filesystem::path(file).extension())) == ".bdf")
        return true;
    constexpr std::string_view kStart = "STARTFONT";
    std::string start;
    return ReadFileStart(file, kStart.size(), start) && start == kStart;
}

int ImportFont(const Arguments &arguments, Streams &streams)
{
    RefuseImageOptions(arguments);
    const std::optional<std::string> each = arguments.EachFolder("FONT");
    const std::string &fontPath = arguments.operands[1];
    DotGrid typed;
    ApplyTypeOption(arguments, typed);
    std::string text;
    if (const FileStatus read = ReadSource(fontPath, streams.in, text); !read)
        return Refused(streams.err, read.message());
    const BdfReading reading = ReadBdfFont(text, typed.nLCDType());
    if (!reading.problem.empty())
        return Refused(streams.err, ImportFailed(fontPath, reading.problem));
    if (!reading.note.empty())
        streams.err << "Note: " << SourceName(fontPath) << ": " << reading.note << ".\n";
    if (reading.passedOver > 0)
        streams.err << PassedOverIn(SourceName(fontPath),
                                    std::to_string(reading.passedOver)
                                        + (reading.passedOver == 1 ? " glyph, " : " glyphs, the first ")
                                        + reading.firstPassedOver)
                    << "\n";
    if (reading.glyphs.empty())
        return Refused(streams.err, ImportFailed(fontPath, "none of its glyphs makes a picture"));
    Document set;
    set.type = typed.nLCDType();
    set.pictures.clear();
    const bool toHeader = !each && arguments.operands[2].ends_with(".h");
    for (const FontGlyph &glyph : reading.glyphs) {
        // A header's arrays take the names a set gives the files U+XXXX.Lcd.
        const std::string name = CodePointName(glyph.codePoint);
        set.pictures.push_back(
            {toHeader ? NameFromFileName(DrawingFileName(name)) : name, kDefaultDelayMs, glyph.picture.AllDots()});
    }
    if (each)
        return WriteEachGlyph(arguments, set, streams);
    if (const FileStatus spared = OutputSparesInputs(arguments.operands[2], {&fontPath, 1}); !spared)
        return Refused(streams.err, spared.message());
    if (toHeader)
        return WriteSetHeader(set, arguments.operands[2], std::nullopt, arguments.all, streams);
    if (set.pictures.size() > 1)
        return Refused(streams.err, ImportFailed(fontPath, "it holds " + std::to_string(set.pictures.size())
                                                               + " glyphs; --each FOLDER writes a drawing of each, "
                                                                 "an OUT ending in .h a header of them all"));
    return WriteDrawing(set.Grid(), arguments.operands[2], streams.out, streams.err);
}

} // namespace tessaldo
