#include "FontCommands.h"

#include "CommandShared.h"
#include "core/code/CodeFormats.h"
#include "core/convert/GlyphNames.h"
#include "core/formats/BdfFont.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/FontFiles.h"
#include "core/formats/FontText.h"
#include "core/formats/GfxFont.h"
#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/formats/U8g2Font.h"
#include "core/model/PictureName.h"
#include "core/platform/FileIo.h"
#include "core/platform/PlatformFile.h"
#include "core/session/Texts.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <set>
#include <span>
#include <sstream>

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

// Why a C source makes no font: the font its ending suggests is not in it,
// nor pictures; a GFX header with a glyph table but no GFXfont was cut short.
std::string NoFontIn(const std::string &source)
{
    const FontFormat format = FontFormatOfFile(source);
    std::string text;
    if (format == FontFormat::Gfx && ReadFileStart(source, kMaxSourceBytes, text)
        && text.find("GFXglyph") != std::string::npos)
        return FilledText(TextId::FontSourceGfxCutShort, {SourceName(source)});
    return FilledText(format == FontFormat::U8g2  ? TextId::FontSourceNoU8g2
                      : format == FontFormat::Gfx ? TextId::FontSourceNoGfx
                                                  : TextId::FontSourceNoFont,
                      {SourceName(source)});
}

bool GatherSource(const std::string &source, const CommandLineDefines &defines, std::vector<GivenPicture> &given,
                  Streams &streams)
{
    std::error_code error;
    if (std::filesystem::is_directory(source, error))
        return GatherFolder(source, given, streams);
    // A C source that holds no font (FontKindOfFile told none) and no
    // pictures is refused for the font it lacks, in one sentence: the notes
    // on its arrays would only say again why they are no pictures.
    SetPart read;
    std::ostringstream notes;
    Streams noted{streams.in, streams.out, notes};
    if (const FileStatus status = ReadSourcePictures(source, LcdType::Column, noted, read, defines); !status) {
        // A source that cannot be read says so, whatever its ending.
        const bool readable = std::filesystem::is_regular_file(source, error);
        streams.err << (readable && IsFontSourceName(source) ? NoFontIn(source) : notes.str() + status.message())
                    << '\n';
        return false;
    }
    streams.err << notes.str();
    for (const Picture &picture : read.pictures)
        given.push_back({source, picture.name, Drawn(read.type.value_or(LcdType::Column), picture.dots)});
    return true;
}

std::string DrawnTwice(const std::string &earlier, const std::string &later, char32_t codePoint)
{
    return FilledText(TextId::FontDrawnTwice, {SourceName(earlier), SourceName(later), CodePointName(codePoint)});
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
            err << FilledText(TextId::FontUnnamedPicture, {picture.name, SourceName(picture.source)}) << '\n';
            refused = true;
        } else if (const auto [earlier, added] = drawn.emplace(*codePoint, &picture); !added) {
            err << DrawnTwice(earlier->second->source, picture.source, *codePoint) << '\n';
            refused = true;
        } else {
            glyphs.push_back({*codePoint, picture.picture});
        }
    }
    // A font's glyphs share its cell: the first picture's size is the font's.
    for (const GivenPicture &picture : given) {
        if (picture.picture.Size() == given.front().picture.Size())
            continue;
        err << FilledText(TextId::FontSizesDiffer,
                          {given.front().name, SourceName(given.front().source),
                           PictureSizeText(given.front().picture.Size()), picture.name, SourceName(picture.source),
                           PictureSizeText(picture.picture.Size())})
            << '\n';
        return false;
    }
    return !refused;
}

// The options import takes for images; a TrueType font's --size is its pixel size.
void RefuseImageOptions(const Arguments &arguments, bool trueType)
{
    for (const std::string_view option : {"--size", "--fit", "--threshold", "--dither", "--invert"}) {
        if (option == "--size" && arguments.Has(option) && !trueType)
            throw UsageError(std::string(Text(TextId::FontSizeNotForBitmapFont)));
        if (option != "--size" && arguments.Has(option))
            throw UsageError(std::string(option) + " applies to images; a font's glyphs are taken dot for dot");
    }
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

// How the TrueType and OpenType fonts are drawn: by the build's rasteriser
// (none where it has no FreeType), at --size pixels.
struct TrueTypeDrawing {
    TrueTypeRasteriser rasteriser = nullptr;
    int pixelSize = 0;
    std::function<bool(char32_t)> wanted; // the characters drawn, all where empty
};

bool IsTrueType(const std::string &file)
{
    return FontKindOfFile(file) == FontKind::TrueType;
}

// The characters --glyphs or --text may choose, so that a TrueType font
// draws none that they leave out: at large sizes its thousands of glyphs
// take seconds and hundreds of megabytes. Every one without them.
std::function<bool(char32_t)> CharactersWanted(const Arguments &arguments)
{
    if (const std::optional<std::string> map = arguments.Value("--glyphs")) {
        Result<std::vector<GlyphRange>> ranges = ParseGlyphMap(*map);
        if (!ranges)
            return {};
        return [ranges = std::move(ranges.value())](char32_t code) {
            return std::any_of(ranges.begin(), ranges.end(), [code](const GlyphRange &range) {
                return !range.leaveOut && range.first <= code && code <= range.last;
            });
        };
    }
    if (const std::optional<std::string> text = arguments.Value("--text"))
        return [characters = TextCharacters(*text)](char32_t code) {
            return std::binary_search(characters.begin(), characters.end(), code);
        };
    return {};
}

// --size, the pixel size TrueType and OpenType `files` are drawn at, which
// they need and nothing else takes; 0 where no file is such a font.
TrueTypeDrawing TrueTypeDrawingOf(const Arguments &arguments, std::span<const std::string> files,
                                  TrueTypeRasteriser rasteriser)
{
    const auto trueType = std::find_if(files.begin(), files.end(), IsTrueType);
    const std::optional<std::string> size = arguments.Value("--size");
    if (trueType == files.end()) {
        if (size)
            throw UsageError("--size is the pixel size of a TrueType or OpenType font");
        return {rasteriser, 0, {}};
    }
    if (!size)
        throw UsageError(SourceName(*trueType)
                         + " is a TrueType or OpenType font: --size PX gives the pixel size to draw it at");
    return {rasteriser, NumberValue("--size", *size, 1, kMaxFontPixelSize), CharactersWanted(arguments)};
}

// The font's glyphs drawn at its pixel size, read as a BDF of them reads.
Result<BdfReading> DrawTrueType(const std::string &file, const TrueTypeDrawing &drawing, LcdType type)
{
    using Reading = Result<BdfReading>;
    if (!drawing.rasteriser)
        return Reading::Failed(FilledText(TextId::CannotImport, {file, Text(TextId::FontNeedsFreeType)}));
    const Result<std::string> bytes = ReadFontBytes(file);
    if (!bytes)
        return Reading::Failed(bytes.message());
    const Result<BitmapFont> font = drawing.rasteriser(bytes.value(), drawing.pixelSize, drawing.wanted, file);
    return font ? ReadFont(font.value(), file, type) : Reading::Failed(font.message());
}

// The font of a BDF or C source, read as ReadFont reads it.
Result<BdfReading> ReadFontText(const std::string &file, FontKind kind, std::istream &in, LcdType type)
{
    std::string text;
    if (const FileStatus read = ReadSource(file, in, text); !read)
        return Result<BdfReading>::Failed(read.message());
    return ReadFont(text, kind, file, type);
}

// The font of a file FontKindOfFile tells, each note on its reading on `err`.
Result<BdfReading> ReadFontFile(const std::string &file, FontKind kind, std::istream &in, LcdType type,
                                const TrueTypeDrawing &drawing, std::ostream &err)
{
    Result<BdfReading> reading =
        kind == FontKind::TrueType ? DrawTrueType(file, drawing, type) : ReadFontText(file, kind, in, type);
    if (reading)
        if (const std::string notes = FontReadingNotes(file, reading.value()); !notes.empty())
            err << notes << '\n';
    return reading;
}

std::optional<FontFormat> FontFormatNamed(const std::string &name)
{
    static const std::map<std::string, FontFormat> kNames{
        {"bdf", FontFormat::Bdf}, {"u8g2", FontFormat::U8g2}, {"gfx", FontFormat::Gfx}};
    const auto found = kNames.find(name);
    return found == kNames.end() ? std::nullopt : std::optional(found->second);
}

std::optional<U8g2Mode> ModeNamed(const std::string &name)
{
    static const std::map<std::string, U8g2Mode> kNames{
        {"proportional", U8g2Mode::Proportional}, {"height", U8g2Mode::CommonHeight}, {"mono", U8g2Mode::Monospace}};
    const auto found = kNames.find(name);
    return found == kNames.end() ? std::nullopt : std::optional(found->second);
}

// --format, or OUT's ending: .c u8g2's C source, .h a GFXfont header, BDF otherwise.
FontFormat FormatOf(const Arguments &arguments, const std::string &output)
{
    if (const std::optional<std::string> format = arguments.Value("--format"))
        return ChoiceValue<FontFormat>("--format", *format, FontFormatNamed, "bdf, u8g2 or gfx");
    return FontFormatOfFile(output);
}

// The glyphs --glyphs or --text choose, every glyph without them; what they
// ask for and the font lacks is named.
std::vector<std::optional<char32_t>> ChosenGlyphs(const Arguments &arguments, const BitmapFont &font, std::ostream &err)
{
    std::string missing;
    std::vector<std::optional<char32_t>> chosen;
    if (const std::optional<std::string> map = arguments.Value("--glyphs")) {
        const Result<std::vector<GlyphRange>> ranges = ParseGlyphMap(*map);
        if (!ranges)
            throw UsageError("--glyphs: " + ranges.message());
        chosen = ChooseGlyphs(font, ranges.value());
        missing = GlyphsMissingFromMap(font, ranges.value());
    } else if (const std::optional<std::string> text = arguments.Value("--text")) {
        TextGlyphs glyphs = ChooseGlyphsForText(font, *text);
        chosen = std::move(glyphs.chosen);
        missing = std::move(glyphs.missing);
    } else {
        for (const BitmapGlyph &glyph : font.glyphs)
            chosen.emplace_back(glyph.codePoint);
    }
    if (!missing.empty())
        err << missing << '\n';
    return chosen;
}

// The C name of the font: --name, or after OUT.
std::string CName(const Arguments &arguments, const std::string &output)
{
    std::string name = arguments.Value("--name").value_or(NameFromFileName(output));
    if (!IsUsableName(name))
        throw UsageError("--name '" + name + "': " + NameRuleBroken(name));
    return name;
}

// The fonts and pictures of the sources as one font, or none where a source
// is refused or two pictures draw one character (each named on `err`); the
// characters a later source has as well go in `alsoLater`.
std::optional<BitmapFont> GatherFont(const Arguments &arguments, const std::string &family,
                                     const TrueTypeDrawing &drawing, bool &onlyPictures,
                                     std::vector<FontGlyph> &pictureGlyphs, std::set<char32_t> &alsoLater,
                                     Streams &streams)
{
    const CommandLineDefines defines = ReadDefines(arguments);
    std::vector<GivenPicture> given;
    std::vector<std::pair<std::string, BitmapFont>> fonts;
    bool refused = false;
    // The pictures make one font, which takes the place of the first of them among the sources.
    std::optional<std::size_t> picturesAt;
    for (auto source = arguments.operands.begin() + 1; source != arguments.operands.end(); ++source) {
        const FontKind kind = FontKindOfFile(*source);
        if (kind == FontKind::None) {
            picturesAt = picturesAt.value_or(fonts.size());
            refused = !GatherSource(*source, defines, given, streams) || refused;
            continue;
        }
        Result<BdfReading> reading = ReadFontFile(*source, kind, streams.in, LcdType::Row, drawing, streams.err);
        if (!reading) {
            streams.err << reading.message() << '\n';
            refused = true;
            continue;
        }
        fonts.emplace_back(*source, std::move(reading.value().font));
    }
    if (refused || (!given.empty() && !GlyphsOf(given, pictureGlyphs, streams.err)))
        return std::nullopt;
    // In the order PicturesAsFont gives their glyphs.
    std::sort(pictureGlyphs.begin(), pictureGlyphs.end(),
              [](const FontGlyph &a, const FontGlyph &b) { return a.codePoint < b.codePoint; });
    onlyPictures = fonts.empty();
    if (!given.empty())
        fonts.emplace(fonts.begin() + static_cast<std::ptrdiff_t>(*picturesAt), given.front().source,
                      PicturesAsFont(pictureGlyphs, family));
    // The first source that has a character gives it, as a fallback font
    // fills only what those before it lack; the line takes the largest
    // ascent and descent, and the largest line height any gives.
    BitmapFont font = fonts.front().second;
    font.glyphs.clear();
    std::set<char32_t> taken;
    for (const auto &[source, part] : fonts) {
        font.ascent = std::max(font.ascent, part.ascent);
        font.descent = std::max(font.descent, part.descent);
        if (part.lineHeight)
            font.lineHeight = std::max(font.lineHeight.value_or(0), *part.lineHeight);
        for (const BitmapGlyph &glyph : part.glyphs)
            if (taken.insert(glyph.codePoint).second)
                font.glyphs.push_back(glyph);
            else
                alsoLater.insert(glyph.codePoint);
    }
    return font;
}

// How many of the chosen glyphs' characters later sources also have.
std::size_t ChosenAlsoLater(const BitmapFont &font, const std::vector<std::optional<char32_t>> &chosen,
                            const std::set<char32_t> &alsoLater)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < chosen.size(); ++i)
        count += chosen[i] && alsoLater.contains(font.glyphs[i].codePoint) ? 1 : 0;
    return count;
}

} // namespace

int MakeFont(const Arguments &arguments, Streams &streams)
{
    return MakeFontWith(arguments, streams, nullptr);
}

bool NamesTrueTypeFont(const Arguments &arguments)
{
    return std::any_of(arguments.operands.begin() + 1, arguments.operands.end(), IsTrueType);
}

int MakeFontWith(const Arguments &arguments, Streams &streams, TrueTypeRasteriser rasteriser)
{
    arguments.ExpectSomeOperands("SOURCE");
    const std::optional<std::string> output = arguments.Value("--output");
    if (!output)
        throw UsageError("missing --output NAME.bdf, NAME.c (u8g2) or NAME.h (GFXfont)");
    const FontFormat format = FormatOf(arguments, *output);
    if (arguments.Has("--mode") && format != FontFormat::U8g2)
        throw UsageError("--mode applies to u8g2 fonts: an OUT ending in .c, or --format u8g2");
    if (arguments.Has("--glyphs") && arguments.Has("--text"))
        throw UsageError("--glyphs and --text each choose the glyphs: give one of them");
    if (const std::optional<std::string> text = arguments.Value("--text"); text && TextCharacters(*text).empty())
        return Refused(streams.err, std::string(Text(TextId::FontTextEmpty)));
    const U8g2Mode mode = ChoiceValue<U8g2Mode>("--mode", arguments.Value("--mode").value_or("proportional"), ModeNamed,
                                                "proportional, height or mono");
    // --name is a BDF font's family, a C name otherwise.
    const std::string family = format == FontFormat::Bdf
                                   ? arguments.Value("--name").value_or(FamilyFromFileName(*output))
                                   : FamilyFromFileName(*output);
    if (const std::string problem = FamilyProblem(family); !problem.empty())
        throw UsageError("--name '" + family + "': " + problem);
    const std::string cName = format == FontFormat::Bdf ? std::string() : CName(arguments, *output);
    // Every source is read, and every name checked, before anything is written.
    bool onlyPictures = false;
    std::vector<FontGlyph> pictureGlyphs;
    const std::vector<std::string> sources(arguments.operands.begin() + 1, arguments.operands.end());
    const TrueTypeDrawing drawing = TrueTypeDrawingOf(arguments, sources, rasteriser);
    std::set<char32_t> alsoLater;
    const std::optional<BitmapFont> font =
        GatherFont(arguments, family, drawing, onlyPictures, pictureGlyphs, alsoLater, streams);
    if (!font)
        return kExitRefused;
    const std::vector<std::optional<char32_t>> chosen = ChosenGlyphs(arguments, *font, streams.err);
    if (std::none_of(chosen.begin(), chosen.end(), [](const auto &code) { return code.has_value(); }))
        return Refused(streams.err, std::string(Text(TextId::FontNoneChosen)));
    if (const std::size_t count = ChosenAlsoLater(*font, chosen, alsoLater); count > 0)
        streams.err << FilledText(TextId::FontTakenFromFirst, {std::to_string(count)}) << '\n';
    Result<std::string> text = Result<std::string>::Ok("");
    if (format == FontFormat::Bdf && onlyPictures) {
        // Pictures keep the cells FormatBdfFont gives them, as font has always written them.
        std::vector<FontGlyph> kept;
        for (std::size_t i = 0; i < chosen.size(); ++i)
            if (chosen[i])
                kept.push_back({*chosen[i], pictureGlyphs[i].picture});
        text = Result<std::string>::Ok(FormatBdfFont(kept, family));
    } else {
        text = FormatFont(*font, chosen, format, mode, cName);
    }
    if (!text)
        return Refused(streams.err, text.message());
    if (*output == kStandardStream) {
        streams.out << text.value();
        return kExitOk;
    }
    if (const FileStatus spared = OutputSparesInputs(*output, sources); !spared)
        return Refused(streams.err, spared.message());
    const FileStatus saved = WriteFileAtomically(*output, text.value());
    return saved ? kExitOk : Refused(streams.err, saved.message());
}

int ImportFont(const Arguments &arguments, Streams &streams, TrueTypeRasteriser rasteriser)
{
    const std::optional<std::string> each = arguments.EachFolder("FONT");
    const std::string &fontPath = arguments.operands[1];
    const FontKind kind = FontKindOfFile(fontPath);
    RefuseImageOptions(arguments, kind == FontKind::TrueType);
    const TrueTypeDrawing drawing = TrueTypeDrawingOf(arguments, {&fontPath, 1}, rasteriser);
    DotGrid typed;
    ApplyTypeOption(arguments, typed);
    const Result<BdfReading> read = ReadFontFile(fontPath, kind, streams.in, typed.nLCDType(), drawing, streams.err);
    if (!read)
        return Refused(streams.err, read.message());
    const BdfReading &reading = read.value();
    if (reading.glyphs.empty())
        return Refused(streams.err, FilledText(TextId::CannotImport, {fontPath, Text(TextId::FontNoPictures)}));
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
        // In the layout a set of the glyphs' size is saved in, as header writes it.
        return WriteSetHeader(set, arguments.operands[2], std::nullopt, arguments.all, streams,
                              DefaultSetLayout(set.Size()));
    if (set.pictures.size() > 1)
        return Refused(streams.err,
                       FilledText(TextId::CannotImport, {fontPath, FilledText(TextId::FontManyGlyphs,
                                                                              {std::to_string(set.pictures.size())})}));
    return WriteDrawing(set.Grid(), arguments.operands[2], streams.out, streams.err);
}

} // namespace tessaldo
