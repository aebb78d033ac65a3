#include "TextCommands.h"

#include "CommandShared.h"
#include "core/code/CodeReader.h"
#include "core/code/LayoutGuess.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/platform/FileIo.h"

#include <algorithm>
#include <ostream>

// decode: pictures read back from code, as drawing files or side by side under each layout.
namespace tessaldo {
namespace {

constexpr std::string_view kGap = "  ";

// The candidates as show draws a picture, side by side under their names,
// after show's first line: "type 1", or "size 8 x 8" for all of that size.
void PrintCandidates(const std::vector<LayoutCandidate> &candidates, LcdType type, const std::string &firstLine,
                     std::ostream &out)
{
    const PictureSize size = candidates.front().dots.Size();
    std::string names;
    for (const LayoutCandidate &candidate : candidates) {
        const std::string name = CandidateName(candidate);
        names += (names.empty() ? "" : std::string(kGap)) + name;
        if (&candidate != &candidates.back())
            names.append(size.width > static_cast<int>(name.size()) ? size.width - name.size() : 0, ' ');
    }
    out << firstLine << '\n' << names << '\n';
    for (int row = 0; row < size.height; ++row) {
        std::string line;
        for (const LayoutCandidate &candidate : candidates)
            line += (line.empty() ? "" : std::string(kGap)) + ShownRow(candidate.dots, type, row);
        out << line << '\n';
    }
}

// Candidates of other sizes than 16 x 16: side by side where all are of one
// size and fit in a terminal's 80 columns, else one under another, each
// after a line of its size and its layouts ("size 128 x 64, pages/tiles").
void PrintSizedCandidates(const std::vector<LayoutCandidate> &candidates, LcdType type, std::ostream &out)
{
    constexpr std::size_t kColumns = 80;
    const PictureSize size = candidates.front().dots.Size();
    std::size_t width = 0;
    bool oneSize = true;
    for (const LayoutCandidate &candidate : candidates) {
        width += (width == 0 ? 0 : kGap.size())
                 + std::max(static_cast<std::size_t>(size.width), CandidateName(candidate).size());
        oneSize = oneSize && candidate.dots.Size() == size;
    }
    if (oneSize && width <= kColumns) {
        PrintCandidates(candidates, type, "size " + PictureSizeText(size), out);
        return;
    }
    for (const LayoutCandidate &candidate : candidates) {
        out << "size " << PictureSizeText(candidate.dots.Size()) << ", " << CandidateName(candidate) << '\n';
        for (int row = 0; row < candidate.dots.Size().height; ++row)
            out << ShownRow(candidate.dots, type, row) << '\n';
    }
}

FileStatus DecodeFailed(const std::string &source, const std::string &reason)
{
    return FileStatus::Failed("Cannot decode " + SourceName(source) + ": " + reason + ".");
}

// Values that do not say their layout are read as the module's at 16 x 16,
// and in the likeliest layout at any other size, which may well not be what
// they were made for: the user is told how to see.
void NoteLayoutsUnsaid(std::size_t pictures, std::ostream &err, const std::string &readAs = "as the module's")
{
    if (pictures == 0)
        return;
    err << "Note: "
        << (pictures == 1 ? "the picture's values do not" : std::to_string(pictures) + " pictures' values do not")
        << " say which display's layout they are in, and are read " << readAs
        << "; --layout names another, and --layout all shows the picture under each.\n";
}

// One NAME.Lcd per picture, NAME.pbm for one of another size than 16 x 16,
// none over the source; nothing is written unless no two names clash, nor,
// without --replace, over drawings that differ.
int DecodeEach(const std::string &source, const CodeReading &reading, const std::string &folder, LcdType type,
               ReplaceDrawings replace, std::ostream &err)
{
    if (reading.pictures.empty())
        return Refused(err, DecodeFailed(source, PickPicture(reading, std::nullopt).problem).message());
    Document set;
    set.type = type;
    set.pictures.clear();
    Document sizedSet; // its names are checked as the set's are
    std::vector<FileToWrite> sized;
    std::vector<std::filesystem::path> replaced;
    std::size_t sizedUnsaid = 0;
    for (const CodePicture &picture : reading.pictures) {
        const bool module = IsModuleSize(picture.size);
        const std::filesystem::path file =
            std::filesystem::path(folder) / (module ? DrawingFileName(picture.name) : picture.name + ".pbm");
        if (const FileStatus spared = EachFileIsWritable(file, {&source, 1}); !spared)
            return Refused(err, spared.message());
        if (module) {
            set.pictures.push_back({.name = picture.name, .dots = DotsOfPicture(picture.bytes, picture.layout, type)});
            continue;
        }
        DotGrid grid;
        std::string guessed;
        grid.SetAllDots(SizedDots(picture.sizedBytes, picture.size, picture.layout, type, guessed));
        sizedUnsaid += picture.layout ? 0 : 1;
        sizedSet.pictures.push_back({.name = picture.name, .dots = grid.AllDots()});
        sized.push_back({file, PictureFileBytes(grid, file).value()});
        std::string held;
        std::error_code error;
        if (std::filesystem::exists(file, error)
            && (!ReadFileStart(file, sized.back().bytes.size() + 1, held) || held != sized.back().bytes))
            replaced.push_back(file);
    }
    sizedSet.pictures.insert(sizedSet.pictures.end(), set.pictures.begin(), set.pictures.end());
    if (const FileStatus checked = CheckSetFolder(sizedSet, folder); !checked)
        return Refused(err, checked.message());
    const std::vector<std::filesystem::path> drawings = DrawingsReplaced(set, folder);
    replaced.insert(replaced.end(), drawings.begin(), drawings.end());
    std::sort(replaced.begin(), replaced.end());
    if (!replaced.empty() && replace == ReplaceDrawings::No)
        return Refused(err, SaveFailed(folder, ReplacingReason(replaced) + "; --replace writes over them").message());
    const FileStatus saved = set.pictures.empty() ? FileStatus::Ok() : SaveSetFolder(set, folder, ReplaceDrawings::Yes);
    if (!saved)
        return Refused(err, saved.message());
    if (!sized.empty()) {
        std::error_code made;
        std::filesystem::create_directories(folder, made);
        if (const FileStatus written = WriteFilesAtomically(sized); !written)
            return Refused(err, written.message());
    }
    NoteLayoutsUnsaid(static_cast<std::size_t>(std::ranges::count_if(
                          reading.pictures,
                          [](const CodePicture &picture) { return !picture.layout && IsModuleSize(picture.size); })),
                      err);
    NoteLayoutsUnsaid(sizedUnsaid, err, "in the likeliest layout at their sizes");
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
    return {ChoiceValue<BitLayout>("--layout", *value, BitLayoutFromName,
                                   "module (c), xbm, rows (gfx), pages, tiles (u8x8) or all"),
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
        const std::string leaveOut = "; leave out --layout " + std::string(BitLayoutName(asked));
        if (!IsModuleSize(picture.size) && asked == BitLayout::Module)
            return FileStatus::Failed("the picture " + picture.name + " is " + PictureSizeText(picture.size)
                                      + ", and the module's layout holds 16 x 16 pictures only" + leaveOut);
        if (!IsModuleSize(picture.size) && LayoutByteCount(asked, picture.size) != picture.sizedBytes.size())
            return FileStatus::Failed(
                "the picture " + picture.name + " has " + std::to_string(picture.sizedBytes.size()) + " bytes, but at "
                + PictureSizeText(picture.size) + " the " + std::string(BitLayoutName(asked)) + " layout takes "
                + std::to_string(LayoutByteCount(asked, picture.size)) + leaveOut);
        picture.layout = asked;
    }
    for (UnsizedArray &array : reading.unsized) {
        if (!name || array.name == *name)
            array.layout = asked;
    }
    return FileStatus::Ok();
}
// Two different pictures of one name, which only the compiler's command line tells apart.
FileStatus RefuseSharedName(const std::string &source, const CodeReading &reading, const std::string &name)
{
    return DecodeFailed(source, SharedNameProblem(reading, name) + std::string(kDefineRemedy));
}

// With --layout all, what the code tells beats any likelihood, and the user is told.
void PutToldFirst(std::vector<LayoutCandidate> &ranked, const PickedPicture &picked, std::ostream &err)
{
    if (!picked.layout)
        return;
    err << "Note: the code tells its layout, " << BitLayoutName(*picked.layout) << ", as " << picked.layoutEvidence
        << "; decode without --layout reads it so.\n";
    std::stable_partition(ranked.begin(), ranked.end(), [&picked](const LayoutCandidate &candidate) {
        return std::ranges::find(candidate.layouts, *picked.layout) != candidate.layouts.end();
    });
}

// A picture of another size than 16 x 16, written as a PBM, or an XBM by
// OUT's name, or with --layout all shown under each layout that takes its bytes.
int DecodeSized(const PickedPicture &picked, bool all, const std::string &out, DotGrid &grid, Streams &streams)
{
    const LcdType type = grid.nLCDType();
    if (all) {
        std::vector<LayoutCandidate> ranked = RankSizedLayouts(picked.sizedBytes, {&picked.size, 1}, type);
        PutToldFirst(ranked, picked, streams.err);
        PrintSizedCandidates(ranked, type, streams.out);
        return kExitOk;
    }
    std::string guessed;
    grid.SetAllDots(SizedDots(picked.sizedBytes, picked.size, picked.layout, type, guessed));
    const int written = WriteDrawing(grid, out, streams.out, streams.err);
    if (written == kExitOk && !picked.layout)
        NoteLayoutsUnsaid(1, streams.err, "in " + guessed + ", the likeliest");
    return written;
}

// An array whose code tells no size: refused with the sizes of common
// displays its length fits, or, with --layout all, shown at each of them.
int DecodeUnsized(const std::string &source, const UnsizedArray &array, bool all, LcdType type, Streams &streams)
{
    const std::vector<LayoutCandidate> candidates = RankSizedLayouts(array.bytes, array.sizes, type, array.layout);
    const std::string unsaid = array.what + " and its code tells no size";
    if (!all || candidates.empty()) {
        const PictureSize first = candidates.empty() ? PictureSize{} : candidates.front().dots.Size();
        const std::string likeliest = candidates.empty() ? ""
                                                         : ", e.g. --size " + std::to_string(first.width) + "x"
                                                               + std::to_string(first.height) + " (likeliest)";
        return Refused(streams.err,
                       DecodeFailed(source, unsaid + "; give --size WxH" + likeliest
                                                + (candidates.size() > 1 ? ", or see every size it fits with "
                                                                           "--layout all"
                                                                         : ""))
                           .message());
    }
    streams.err << "Note: " << unsaid << "; these are the common displays' sizes it fits, the likeliest first.\n";
    PrintSizedCandidates(candidates, type, streams.out);
    return kExitOk;
}

// The sizes each array passed over for want of one fits, which --size reads
// it at, but for `picked`, which the refusal or the proposal tells of.
void NoteSizesFitted(const CodeReading &reading, const UnsizedArray *picked, std::ostream &err)
{
    constexpr std::size_t kNamed = 6;
    for (const UnsizedArray &array : reading.unsized) {
        if (&array == picked)
            continue;
        std::string sizes;
        for (std::size_t at = 0; at < array.sizes.size() && at < kNamed; ++at)
            sizes += (at == 0 ? "" : ", ") + std::to_string(array.sizes[at].width) + "x"
                     + std::to_string(array.sizes[at].height);
        err << "Note: --size WxH reads " << array.name << " at a size it fits: " << sizes
            << (array.sizes.size() > kNamed ? ", ..." : "") << ".\n";
    }
}

} // namespace

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
    const std::optional<PictureSize> size = SizeOption(arguments); // of the arrays whose code tells none
    DotGrid grid;
    ApplyTypeOption(arguments, grid);
    const std::string &source = arguments.operands[1];
    if (!each && !layout.all) {
        if (const FileStatus spared = OutputSparesInputs(arguments.operands[2], {&source, 1}); !spared)
            return Refused(streams.err, spared.message());
        ExpectPictureName(arguments, arguments.operands[2], kTextCommandFormats);
    }
    std::string text;
    if (const FileStatus read = ReadSource(source, streams.in, text); !read)
        return Refused(streams.err, read.message());
    // The first few arrays that are no pictures are named, the rest counted;
    // one that is meant as a picture but does not read refuses the whole source.
    SetCode code = FindSetPictures(text, {}, defines, {true, size});
    CodeReading &reading = code.reading;
    const std::optional<std::string> asked = arguments.Value("--name");
    const UnsizedArray *unsized = each ? nullptr : PickUnsized(reading, asked);
    if (unsized) // the refusal or the proposal says why it is no picture of a size
        std::erase_if(reading.firstPassedOver, [unsized, &reading](const std::string &why) {
            return why.starts_with(unsized->what + ";") && reading.passedOver-- > 0;
        });
    NotePassedOver(PassedOverLines(SourceName(source), reading.passedOver, reading.firstPassedOver), streams.err);
    NoteSizesFitted(reading, unsized, streams.err);
    if (!arguments.Has("--type") && code.type)
        grid.SetLCDType(*code.type); // as the header says, unless told otherwise
    const auto unreadable = std::find_if(reading.pictures.begin(), reading.pictures.end(),
                                         [](const CodePicture &picture) { return !picture.problem.empty(); });
    if (unreadable != reading.pictures.end())
        return Refused(streams.err, DecodeFailed(source, unreadable->problem).message());
    if (const std::optional<std::string> shared = NameSharedByTwo(reading); shared && (!asked || *asked == *shared))
        return Refused(streams.err, RefuseSharedName(source, reading, *shared).message());
    if (layout.layout) {
        if (const FileStatus applied = ApplyLayout(reading, *layout.layout, arguments.Value("--name")); !applied)
            return Refused(streams.err, DecodeFailed(source, applied.message()).message());
    }
    if (each)
        return DecodeEach(source, reading, *each, grid.nLCDType(),
                          arguments.Has("--replace") ? ReplaceDrawings::Yes : ReplaceDrawings::No, streams.err);
    if (unsized)
        return DecodeUnsized(source, *unsized, layout.all, grid.nLCDType(), streams);
    const PickedPicture picked = PickPicture(reading, asked);
    if (!picked.problem.empty())
        return Refused(streams.err, DecodeFailed(source, picked.problem).message());
    if (size && *size != picked.size)
        return Refused(streams.err,
                       DecodeFailed(source, "its picture is " + PictureSizeText(picked.size)
                                                + (picked.sizeEvidence.empty() ? ", as its code tells"
                                                                               : ", as " + picked.sizeEvidence)
                                                + "; leave out --size")
                           .message());
    if (!picked.bytes)
        return DecodeSized(picked, layout.all, layout.all ? "" : arguments.operands[2], grid, streams);
    if (layout.all) {
        std::vector<LayoutCandidate> ranked = RankLayouts(*picked.bytes, grid.nLCDType());
        PutToldFirst(ranked, picked, streams.err);
        PrintCandidates(ranked, grid.nLCDType(), "type " + std::to_string(LcdTypeValue(grid.nLCDType())), streams.out);
        return kExitOk;
    }
    grid.SetAllDots(DotsOfPicture(*picked.bytes, picked.layout, grid.nLCDType()));
    const int written = WriteDrawing(grid, arguments.operands[2], streams.out, streams.err);
    if (written == kExitOk && !picked.layout)
        NoteLayoutsUnsaid(1, streams.err);
    return written;
}

} // namespace tessaldo
