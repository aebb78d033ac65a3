#include "TextCommands.h"

#include "CommandShared.h"
#include "core/code/CodeReader.h"
#include "core/code/LayoutGuess.h"
#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/platform/FileIo.h"

#include <algorithm>
#include <ostream>

// decode: pictures read back from code, as drawing files or side by side under each layout.
namespace tessaldo {
namespace {

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
FileStatus DecodeFailed(const std::string &source, const std::string &reason)
{
    return FileStatus::Failed("Cannot decode " + SourceName(source) + ": " + reason + ".");
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

} // namespace tessaldo
