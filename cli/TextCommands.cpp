#include "TextCommands.h"

#include "FontCommands.h"
#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/code/CodeReader.h"
#include "core/code/LayoutGuess.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/model/PictureName.h"
#include "core/model/Transform.h"
#include "core/platform/FileIo.h"
#include "core/platform/PlatformFile.h"

#include <algorithm>
#include <charconv>
#include <istream>
#include <limits>
#include <ostream>
#include <unordered_map>
#include <unordered_set>

namespace tessaldo {
namespace {

// What a refusal of two pictures of one name adds: how to pick one.
constexpr std::string_view kDefineRemedy = "; --define NAME[=VALUE] settles its condition, as a compiler's -D does";

// Standard input gets the same reading as a file: only the start counts.
// The rest is read and dropped so that the program writing into the pipe
// is not cut off.
FileStatus ReadDrawingFromStream(std::istream &in, Drawing &drawing)
{
    std::string bytes(kDrawingBytesRead, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    in.ignore(std::numeric_limits<std::streamsize>::max());
    ParsedDrawing parsed = ParseDrawing(bytes);
    if (!parsed.drawing)
        return FileStatus::Failed("Cannot read standard input: " + parsed.reason + ".");
    drawing = *parsed.drawing;
    return FileStatus::Ok();
}
// One row of the picture as the window shows it, '#' set and '.' clear.
std::string ShownRow(const DotGrid::Dots &dots, LcdType type, int row)
{
    std::string line;
    for (int column = 0; column < kGridSide; ++column)
        line += dots.at(DotAtCell(type, {column, row})) == DotState::Set ? '#' : '.';
    return line;
}
void PrintPicture(const DotGrid &grid, std::ostream &out)
{
    out << "type " << LcdTypeValue(grid.nLCDType()) << '\n';
    for (int row = 0; row < kGridSide; ++row)
        out << ShownRow(grid.AllDots(), grid.nLCDType(), row) << '\n';
}
// The candidates as show draws a picture, side by side under their names.
void PrintCandidates(const std::vector<LayoutCandidate> &candidates, LcdType type, std::ostream &out)
{
    constexpr std::string_view kGap = "  ";
    std::string names;
    for (const LayoutCandidate &candidate : candidates) {
        const std::string name = CandidateName(candidate);
        names += (names.empty() ? "" : std::string(kGap)) + name;
        if (&candidate != &candidates.back())
            names.append(kGridSide > static_cast<int>(name.size()) ? kGridSide - name.size() : 0, ' ');
    }
    out << "type " << LcdTypeValue(type) << '\n' << names << '\n';
    for (int row = 0; row < kGridSide; ++row) {
        std::string line;
        for (const LayoutCandidate &candidate : candidates)
            line += (line.empty() ? "" : std::string(kGap)) + ShownRow(candidate.dots, type, row);
        out << line << '\n';
    }
}
void NotePassedOver(const std::string &lines, std::ostream &err)
{
    if (!lines.empty())
        err << lines << '\n';
}
FileStatus DecodeFailed(const std::string &source, const std::string &reason)
{
    return FileStatus::Failed("Cannot decode " + SourceName(source) + ": " + reason + ".");
}

// The array's name: the one asked for, else the file's.
std::string ArrayName(const std::string &file)
{
    return file == kStandardStream ? "picture" : NameFromFileName(std::filesystem::path(file));
}
std::string NameValue(const Arguments &arguments, const std::string &fallback)
{
    const std::optional<std::string> name = arguments.Value("--name");
    if (name && !IsUsableName(*name))
        throw UsageError("--name must be a C identifier that is no keyword of C or C++, not '" + *name + "'");
    return name.value_or(fallback);
}
int Code(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({"FILE"});
    const std::string &file = arguments.operands[1];
    const CodeFormat format = ChoiceValue<CodeFormat>("--format", arguments.Value("--format").value_or("ccs"),
                                                      CodeFormatFromName, "ccs, c, raw, xbm, gfx or pages");
    const std::string name = NameValue(arguments, ArrayName(file));
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(file, streams.in, grid); !loaded)
        return Refused(streams.err, loaded.message());
    streams.out << PictureCode({grid, name, file == kStandardStream ? "" : file}, format);
    return kExitOk;
}
int Show(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({"FILE"});
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(arguments.operands[1], streams.in, grid); !loaded)
        return Refused(streams.err, loaded.message());
    PrintPicture(grid, streams.out);
    return kExitOk;
}
std::string CommandLine(const std::vector<std::string> &args)
{
    std::string line = "tessaldo-cli";
    for (const std::string &arg : args)
        line += " " + arg;
    return line;
}
// --frames NAME and its --delay MS, checked before any file is read.
struct FramesOption {
    std::optional<std::string> name;
    std::optional<int> delayMs;
};
FramesOption ReadFramesOption(const Arguments &arguments)
{
    FramesOption frames{arguments.Value("--frames"), std::nullopt};
    if (frames.name && !IsUsableName(*frames.name))
        throw UsageError("--frames must be a C identifier that is no keyword of C or C++, not '" + *frames.name + "'");
    if (const std::optional<std::string> delay = arguments.Value("--delay")) {
        if (!frames.name)
            throw UsageError("--delay goes with --frames");
        frames.delayMs = NumberValue("--delay", *delay, 0, kLongestDelayMs);
    }
    return frames;
}

// Why two pictures whose names are the same without case cannot share a
// header: the same array name, or names that decode --each could not write
// back as two files where "Logo.Lcd" and "logo.Lcd" are one.
std::string NameClash(const std::string &earlier, const std::string &name)
{
    if (earlier == name)
        return "both give the array name " + name;
    return "give the array names " + earlier + " and " + name + ", which some file systems take for one file name";
}

bool IsDrawingFileName(const std::string &file)
{
    return EndsInDrawingSuffix(DisplayPath(std::filesystem::path(file).extension()));
}

// The pictures of header's inputs, in order, with the file each came from.
class SetGathering {
public:
    SetGathering(const FramesOption &frames, CommandLineDefines defines, Streams &streams)
        : m_framesName(frames.name),
          m_defines(std::move(defines)),
          m_streams(streams)
    {
        m_set.pictures.clear();
    }

    bool Add(const std::string &file)
    {
        SourcePictures read;
        if (const FileStatus status = ReadSourcePictures(file, m_set.type, m_streams, read, m_defines); !status)
            return Refuse(status.message());
        if (m_sources.empty() && !m_framesName)
            m_framesName = read.framesName; // an animation stays one
        if (m_sources.empty())
            m_layout = read.layout; // and a header in another display's layout stays in it
        return AddPictures(file, read.pictures, read.type);
    }

    // The set, its pictures' names apart and, for --delay, its delays.
    Document Finish(const FramesOption &frames)
    {
        m_set.form = m_framesName ? SetForm::Frames : SetForm::Pictures;
        if (m_framesName)
            NameFramesApart();
        for (Picture &picture : m_set.pictures)
            picture.delayMs = frames.delayMs.value_or(picture.delayMs);
        return m_set;
    }

    const std::optional<std::string> &FramesName() const { return m_framesName; }
    // The layout of the first input, when it is a header that says one.
    BitLayout Layout() const { return m_layout; }

private:
    bool Refuse(const std::string &message)
    {
        m_streams.err << message << '\n';
        return false;
    }

    bool AddPictures(const std::string &file, const std::vector<Picture> &pictures, std::optional<LcdType> type)
    {
        for (const Picture &picture : pictures) {
            const auto [earlier, added] = m_byFileName.emplace(LowerCase(picture.name), m_sources.size());
            if (!added && !m_framesName)
                return Refuse("Cannot make the header: " + SourceName(m_sources[earlier->second]) + " and "
                              + SourceName(file) + " " + NameClash(m_set.pictures[earlier->second].name, picture.name)
                              + ".");
            m_set.pictures.push_back(picture);
            m_sources.push_back(file);
        }
        if (type && m_saidType && *type != *m_saidType)
            return Refuse("Cannot make the header: " + SourceName(file) + " is drawn for " + LcdTypeName(*type)
                          + ", the files before it for " + LcdTypeName(*m_saidType) + "; one header holds one type.");
        if (type && !m_saidType) {
            m_saidType = type;
            m_set.type = *type;
        }
        return true;
    }

    // Frames may show one file twice; each still needs a name of its own.
    void NameFramesApart()
    {
        std::unordered_set<std::string> taken;
        for (Picture &picture : m_set.pictures) {
            const std::string name = picture.name;
            for (int n = 2; !taken.insert(LowerCase(picture.name)).second; ++n)
                picture.name = name + "_" + std::to_string(n);
        }
    }

    Document m_set;
    std::optional<LcdType> m_saidType;
    std::optional<std::string> m_framesName;
    BitLayout m_layout = BitLayout::Module;
    std::vector<std::string> m_sources;
    std::unordered_map<std::string, std::size_t> m_byFileName; // names without case, as decode --each keys them
    CommandLineDefines m_defines;
    Streams &m_streams;
};

int Header(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectSomeOperands("FILE");
    const FramesOption frames = ReadFramesOption(arguments);
    const std::optional<std::string> layoutName = arguments.Value("--layout");
    const std::optional<BitLayout> layout =
        layoutName ? std::optional(
            ChoiceValue<BitLayout>("--layout", *layoutName, BitLayoutFromName, "module (c), xbm, rows (gfx) or pages"))
                   : std::nullopt;
    // Every input is read, and every clash found, before anything is written:
    // OUT may be one of the inputs.
    SetGathering gathering(frames, ReadDefines(arguments), streams);
    bool refused = false;
    for (const std::string &file : std::span(arguments.operands).subspan(1))
        refused = !gathering.Add(file) || refused;
    if (refused)
        return kExitRefused;
    return WriteSetHeader(gathering.Finish(frames), arguments.Value("--output").value_or(std::string(kStandardStream)),
                          gathering.FramesName(), arguments.all, streams, layout.value_or(gathering.Layout()));
}
int Edit(const Arguments &arguments, Streams &streams)
{
    if (arguments.operands.size() < 3)
        arguments.ExpectOperands({"FILE", "OUT"});
    std::vector<Transform> transforms;
    for (auto word = arguments.operands.begin() + 3; word != arguments.operands.end(); ++word) {
        const std::optional<Transform> transform = TransformFromName(*word);
        if (!transform)
            throw UsageError("unknown operation '" + *word
                             + "' (invert, shift-up, shift-down, shift-left, shift-right, flip-h, flip-v, "
                               "rotate-cw, rotate-ccw)");
        transforms.push_back(*transform);
    }
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(arguments.operands[1], streams.in, grid); !loaded)
        return Refused(streams.err, loaded.message());
    for (const Transform transform : transforms)
        ApplyTransform(grid, transform);
    return WriteDrawing(grid, arguments.operands[2], streams.out, streams.err);
}

// Values that do not say their layout are read as the module's, which may
// well not be what they were made for: the user is told how to see.
void NoteLayoutsUnsaid(std::size_t pictures, std::ostream &err)
{
    if (pictures == 0)
        return;
    err << "Note: "
        << (pictures == 1 ? "the picture's values do not" : std::to_string(pictures) + " pictures' values do not")
        << " say which display's layout they are in, and are read as the module's; --layout names another, and "
           "--layout all shows the picture under each.\n";
}

// One NAME.Lcd per picture, none over the source; nothing is written unless no
// two names clash, nor, without --replace, over drawings that differ.
int DecodeEach(const std::string &source, const CodeReading &reading, const std::string &folder, LcdType type,
               ReplaceDrawings replace, std::ostream &err)
{
    if (reading.pictures.empty())
        return Refused(err, DecodeFailed(source, PickPicture(reading, std::nullopt).problem).message());
    Document set;
    set.type = type;
    set.pictures.clear();
    for (const CodePicture &picture : reading.pictures) {
        const std::filesystem::path file = std::filesystem::path(folder) / DrawingFileName(picture.name);
        if (const FileStatus spared = OutputSparesInputs(file, {&source, 1}); !spared)
            return Refused(err, spared.message());
        set.pictures.push_back({.name = picture.name, .dots = DotsOfPicture(picture.bytes, picture.layout, type)});
    }
    if (const FileStatus checked = CheckSetFolder(set, folder); !checked)
        return Refused(err, checked.message());
    if (const auto replaced = DrawingsReplaced(set, folder); !replaced.empty() && replace == ReplaceDrawings::No)
        return Refused(err, SaveFailed(folder, ReplacingReason(replaced) + "; --replace writes over them").message());
    const FileStatus saved = SaveSetFolder(set, folder, ReplaceDrawings::Yes);
    if (!saved)
        return Refused(err, saved.message());
    NoteLayoutsUnsaid(static_cast<std::size_t>(std::ranges::count_if(
                          reading.pictures, [](const CodePicture &picture) { return !picture.layout; })),
                      err);
    return kExitOk;
}

// --layout: the one the pictures are read in, or every one side by side.
struct LayoutOption {
    std::optional<BitLayout> layout;
    bool all = false;
};
LayoutOption ReadLayoutOption(const Arguments &arguments)
{
    const std::optional<std::string> value = arguments.Value("--layout");
    if (!value)
        return {};
    if (*value == "all")
        return {std::nullopt, true};
    return {ChoiceValue<BitLayout>("--layout", *value, BitLayoutFromName, "module (c), xbm, rows (gfx), pages or all"),
            false};
}
// The layout --layout names for each picture it reads (those called NAME with
// --name); refused for a picture whose code tells another.
FileStatus ApplyLayout(CodeReading &reading, BitLayout asked, const std::optional<std::string> &name)
{
    for (CodePicture &picture : reading.pictures) {
        if (name && picture.name != *name)
            continue;
        if (picture.layout && *picture.layout != asked)
            return FileStatus::Failed("the picture " + picture.name + " is in the "
                                      + std::string(BitLayoutName(*picture.layout)) + " layout, as "
                                      + picture.layoutEvidence + "; leave out --layout "
                                      + std::string(BitLayoutName(asked)));
        picture.layout = asked;
    }
    return FileStatus::Ok();
}
// Two different pictures of one name, which only the compiler's command line tells apart.
FileStatus RefuseSharedName(const std::string &source, const CodeReading &reading, const std::string &name)
{
    return DecodeFailed(source, SharedNameProblem(reading, name) + std::string(kDefineRemedy));
}
int Decode(const Arguments &arguments, Streams &streams)
{
    const LayoutOption layout = ReadLayoutOption(arguments);
    if (layout.all && (arguments.Has("--each") || arguments.Has("--replace")))
        throw UsageError("--layout all prints the picture under every layout and writes no files: leave out --each");
    const std::optional<std::string> each = layout.all ? std::nullopt : arguments.EachFolder("SOURCE");
    if (layout.all)
        arguments.ExpectOperands({"SOURCE"});
    if (each && arguments.Has("--name"))
        throw UsageError("--name picks one picture, --each takes them all: give one of them");
    const CommandLineDefines defines = ReadDefines(arguments);
    DotGrid grid;
    ApplyTypeOption(arguments, grid);
    const std::string &source = arguments.operands[1];
    if (!each && !layout.all) {
        if (const FileStatus spared = OutputSparesInputs(arguments.operands[2], {&source, 1}); !spared)
            return Refused(streams.err, spared.message());
    }
    std::string text;
    if (const FileStatus read = ReadSource(source, streams.in, text); !read)
        return Refused(streams.err, read.message());
    // The first few arrays that are no pictures are named, the rest counted;
    // one that is meant as a picture but does not read refuses the whole source.
    SetCode code = FindSetPictures(text, {}, defines);
    CodeReading &reading = code.reading;
    NotePassedOver(PassedOverLines(SourceName(source), reading.passedOver, reading.firstPassedOver), streams.err);
    if (!arguments.Has("--type") && code.type)
        grid.SetLCDType(*code.type); // as the header says, unless told otherwise
    const auto unreadable = std::find_if(reading.pictures.begin(), reading.pictures.end(),
                                         [](const CodePicture &picture) { return !picture.problem.empty(); });
    if (unreadable != reading.pictures.end())
        return Refused(streams.err, DecodeFailed(source, unreadable->problem).message());
    const std::optional<std::string> asked = arguments.Value("--name");
    if (const std::optional<std::string> shared = NameSharedByTwo(reading); shared && (!asked || *asked == *shared))
        return Refused(streams.err, RefuseSharedName(source, reading, *shared).message());
    if (layout.layout) {
        if (const FileStatus applied = ApplyLayout(reading, *layout.layout, arguments.Value("--name")); !applied)
            return Refused(streams.err, DecodeFailed(source, applied.message()).message());
    }
    if (each)
        return DecodeEach(source, reading, *each, grid.nLCDType(),
                          arguments.Has("--replace") ? ReplaceDrawings::Yes : ReplaceDrawings::No, streams.err);
    const PickedPicture picked = PickPicture(reading, arguments.Value("--name"));
    if (!picked.bytes)
        return Refused(streams.err, DecodeFailed(source, picked.problem).message());
    if (layout.all) {
        if (picked.layout)
            streams.err << "Note: the code tells its layout, " << BitLayoutName(*picked.layout) << ", as "
                        << picked.layoutEvidence << "; decode without --layout reads it so.\n";
        std::vector<LayoutCandidate> ranked = RankLayouts(*picked.bytes, grid.nLCDType());
        if (picked.layout) // what the code tells beats any likelihood
            std::stable_partition(ranked.begin(), ranked.end(), [&picked](const LayoutCandidate &candidate) {
                return std::ranges::find(candidate.layouts, *picked.layout) != candidate.layouts.end();
            });
        PrintCandidates(ranked, grid.nLCDType(), streams.out);
        return kExitOk;
    }
    grid.SetAllDots(DotsOfPicture(*picked.bytes, picked.layout, grid.nLCDType()));
    const int written = WriteDrawing(grid, arguments.operands[2], streams.out, streams.err);
    if (written == kExitOk && !picked.layout)
        NoteLayoutsUnsaid(1, streams.err);
    return written;
}

// Whether `out` is the file `input` reads, '-' being standard input.
bool IsInputFile(const std::filesystem::path &out, const std::string &input)
{
    return input == kStandardStream ? IsStandardInputFile(out) : IsSameFile(out, input);
}

const Command kTextCommands[] = {
    {"code",
     "FILE [--format ccs|c|raw|xbm|gfx|pages] [--name NAME]",
     "               print the C code that Run makes for the drawing file (.Lcd)\n"
     "               (ccs, the default); a C array of the 33 bytes the module\n"
     "               takes, named NAME or after the file (c); or those bytes (raw).\n"
     "               For other displays, the picture as the window shows it: an X\n"
     "               BitMap for u8g2's drawXBM (xbm), a PROGMEM array for Adafruit\n"
     "               GFX's drawBitmap (gfx), or the two pages SSD1306, SH1106,\n"
     "               ST7565 and PCD8544 displays take (pages)\n",
     {{"--format"}, {"--name"}},
     Code,
     kDrawingInput},
    {"show",
     "FILE",
     "               print the picture as the window shows it: a line 'type N',\n"
     "               then 16 lines of 16 dots, '#' set and '.' clear\n",
     {},
     Show,
     kDrawingInput},
    {"edit",
     "FILE OUT [OPERATION...]",
     "               apply the operations from left to right, as the window's\n"
     "               context menu does in the file's layout, and write OUT as Save\n"
     "               does (OUT may be FILE itself): invert, shift-up, shift-down,\n"
     "               shift-left, shift-right, flip-h, flip-v, rotate-cw, rotate-ccw\n",
     {},
     Edit,
     kDrawingInput,
     true},
    {"header",
     "FILE... [--output OUT.h] [--frames NAME [--delay MS]]\n"
     "         [--layout module|xbm|rows|pages] [--define NAME[=VALUE]]...",
     "               one C header for the pictures of the files, written to OUT.h\n"
     "               or standard output: an array for each drawing file and for\n"
     "               each picture of a C source (a header this command wrote keeps\n"
     "               its names, delays and type), then NAME_LCD_TYPE, NAME_COUNT,\n"
     "               an enum of NAME_PICTURE and NAME[], NAME after OUT.h; names\n"
     "               that clash refuse it, and so does an OUT.h holding code this\n"
     "               command did not write. With --frames, one array NAME[N][33]\n"
     "               of the frames in the order given, NAME_FRAMES N and\n"
     "               NAME_FRAME_MS MS (0-65535, default 100). With --layout, each\n"
     "               picture is the 32 bytes of another display's library, of the\n"
     "               picture as the window shows it, and NAME_LAYOUT says which:\n"
     "               1 xbm (u8g2's drawXBM), 2 rows (Adafruit GFX's drawBitmap),\n"
     "               3 pages (SSD1306, SH1106, ST7565, PCD8544); module, the\n"
     "               default, is the module's 33 bytes. A header in a layout keeps\n"
     "               it when it is the first FILE and --layout is not given.\n"
     "               --define settles the C sources' #if as for decode\n",
     {{"--output"}, {"--frames"}, {"--delay"}, {"--layout"}, kDefineOption},
     Header,
     kDrawingInput,
     true},
    {"decode",
     "SOURCE OUT [--type 0|1] [--name NAME] [--layout LAYOUT]\n"
     "  decode SOURCE --each FOLDER [--replace] [--type 0|1] [--layout LAYOUT]\n"
     "  decode SOURCE --layout all [--type 0|1] [--name NAME]\n"
     "         each with [--define NAME[=VALUE]]...",
     "               read a picture back from code: the printf lines Run makes, a\n"
     "               C array (code --format c, header, firmware with PROGMEM,\n"
     "               casts, characters, #defines), 32 or 33 bare values, or the\n"
     "               raw bytes, anywhere in a C, CCS or header file; write it as\n"
     "               Save does in type 0 or 1 (default 0). Arrays that are no\n"
     "               pictures are named on standard error. --name picks one of\n"
     "               several pictures; --each writes one NAME.Lcd per picture;\n"
     "               drawings there that it would change are refused, or\n"
     "               written over with --replace. 32 values are read in the\n"
     "               module's layout; an X BitMap (NAME_bits, the picture NAME)\n"
     "               and an array u8g2's drawXBM draws in xbm, one drawBitmap\n"
     "               draws in rows. --layout reads them in another display's, as\n"
     "               the type shows the picture: xbm, rows (Adafruit GFX's\n"
     "               drawBitmap) or pages (SSD1306 and the like), or module; the\n"
     "               code forms' names c and gfx name module and rows too; values\n"
     "               the module's own code holds keep the module's. With all,\n"
     "               prints the picture under every layout, as show draws it,\n"
     "               side by side under their names, the likeliest first.\n"
     "               --define NAME[=VALUE], as often as needed, settles #if and\n"
     "               #ifdef as a compiler's -D does: any other name the file does\n"
     "               not #define is then undefined. An array that branches give\n"
     "               twice with the same bytes is one picture\n",
     {{"--type"}, {"--name"}, {"--each"}, {"--replace", false}, {"--layout"}, kDefineOption},
     Decode,
     {"SOURCE", "the code"},
     true},
    {"font",
     "SOURCE... --output NAME.bdf [--name FAMILY] [--define NAME[=VALUE]]...",
     "               a BDF 2.1 bitmap font of 16 x 16 glyphs, one per picture of\n"
     "               the drawing files, folders of them and C sources given, each\n"
     "               as the window shows it, for the character its name gives:\n"
     "               U+XXXX.Lcd as text --each names them, or U_XXXX in a header;\n"
     "               other names and characters drawn twice refuse it. FAMILY\n"
     "               (default: after NAME) names the font for the programs that\n"
     "               read it; import turns the font back into drawings. --define\n"
     "               settles the C sources' #if as for decode\n",
     {{"--output"}, {"--name"}, kDefineOption},
     MakeFont,
     {},
     true},
};

} // namespace

// --define NAME[=VALUE], each as a compiler's -D: NAME alone is NAME=1.
CommandLineDefines ReadDefines(const Arguments &arguments)
{
    CommandLineDefines defines;
    for (const std::string &define : arguments.Values("--define")) {
        const std::size_t equals = define.find('=');
        const std::string name = define.substr(0, equals);
        if (!IsUsableName(name))
            throw UsageError("--define must be NAME or NAME=VALUE with NAME a C identifier, not '" + define + "'");
        defines.insert_or_assign(name, equals == std::string::npos ? "1" : define.substr(equals + 1));
    }
    return defines;
}
std::span<const Command> TextCommands()
{
    return kTextCommands;
}

FileStatus LoadFresh(const std::string &file, std::istream &in, DotGrid &grid)
{
    Drawing drawing;
    FileStatus read = file == kStandardStream ? ReadDrawingFromStream(in, drawing) : ReadDrawingFile(file, drawing);
    grid = DotGrid{};
    if (read)
        ApplyDrawing(grid, drawing);
    return read;
}
int WriteDrawing(const DotGrid &grid, const std::string &outPath, std::ostream &out, std::ostream &err)
{
    if (outPath == kStandardStream) {
        out << FormatDrawing(grid);
        return kExitOk;
    }
    const FileStatus saved = SaveFile(grid, outPath);
    return saved ? kExitOk : Refused(err, saved.message());
}
FileStatus OutputSparesInputs(const std::filesystem::path &out, std::span<const std::string> inputs)
{
    for (const std::string &input : inputs) {
        if (out == kStandardStream || !IsInputFile(out, input))
            continue;
        const std::string read = input == kStandardStream ? "standard input" : "the input \"" + input + "\"";
        return SaveFailed(out, "it is the same file as " + read);
    }
    return FileStatus::Ok();
}

std::string SourceName(const std::string &source)
{
    return source == kStandardStream ? "standard input" : "\"" + source + "\"";
}

FileStatus EachFileIsWritable(const std::filesystem::path &file, std::span<const std::string> inputs)
{
    if (FileStatus spared = OutputSparesInputs(file, inputs); !spared)
        return spared;
    std::error_code error;
    if (std::filesystem::is_directory(file, error))
        return SaveFailed(file, "it is a folder");
    return FileStatus::Ok();
}

int WriteSetHeader(const Document &set, const std::string &out, const std::optional<std::string> &name,
                   const std::vector<std::string> &args, Streams &streams, BitLayout layout)
{
    const bool toFile = out != kStandardStream;
    const SetText header = FormatSetHeader(set, toFile ? std::optional<std::filesystem::path>(out) : std::nullopt,
                                           CommandLine(args), name, layout);
    if (!header.problem.empty())
        return Refused(streams.err, header.problem);
    if (!toFile) {
        streams.out << header.text;
        return kExitOk;
    }
    if (const FileStatus replaceable = HeaderMayReplace(out); !replaceable)
        return Refused(streams.err, replaceable.message());
    const FileStatus saved = WriteFileAtomically(out, header.text);
    return saved ? kExitOk : Refused(streams.err, saved.message());
}

FileStatus ReadSource(const std::string &source, std::istream &in, std::string &text)
{
    if (source == kStandardStream) {
        // In pieces, so that a drawing piped in costs no more than its few hundred bytes.
        std::string piece(std::size_t{64} << 10, '\0');
        text.clear();
        while (in && text.size() <= kMaxSourceBytes) {
            in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
            text.append(piece.data(), static_cast<std::size_t>(in.gcount()));
        }
    } else if (FileStatus read = ReadFileStart(source, kMaxSourceBytes + 1, text); !read) {
        return read;
    }
    if (text.size() > kMaxSourceBytes)
        return FileStatus::Failed("Cannot read " + SourceName(source) + ": it is larger than 16 MiB.");
    return FileStatus::Ok();
}

FileStatus ReadSourcePictures(const std::string &file, LcdType typeIfUnsaid, Streams &streams, SourcePictures &read,
                              const CommandLineDefines &defines)
{
    std::string text;
    if (FileStatus status = ReadSource(file, streams.in, text); !status)
        return status;
    const ParsedDrawing parsed = ParseDrawing(std::string_view(text).substr(0, kDrawingBytesRead));
    if (parsed.drawing) {
        read = {{{.name = ArrayName(file), .dots = parsed.drawing->dots}}, parsed.drawing->type, std::nullopt};
        return FileStatus::Ok();
    }
    if (IsDrawingFileName(file))
        return OpenFailed(file, parsed.reason);
    SetReading reading = ReadSet(text, typeIfUnsaid, {}, std::nullopt, defines);
    NotePassedOver(PassedOverLines(SourceName(file), reading.passedOver, reading.firstPassedOver), streams.err);
    if (!reading.set)
        return FileStatus::Failed("Cannot read " + SourceName(file) + ": " + reading.problem
                                  + (reading.branchesDiffer ? std::string(kDefineRemedy) : "") + ".");
    read = {std::move(reading.set->pictures),
            reading.typeSaid ? std::optional<LcdType>(reading.set->type) : std::nullopt,
            reading.set->form == SetForm::Frames ? std::optional(reading.name) : std::nullopt, reading.layout};
    return FileStatus::Ok();
}

void ApplyTypeOption(const Arguments &arguments, DotGrid &grid)
{
    if (const std::optional<std::string> type = arguments.Value("--type"))
        grid.SetLCDType(static_cast<LcdType>(NumberValue("--type", *type, 0, 1)));
}

} // namespace tessaldo
