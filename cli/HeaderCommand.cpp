#include "TextCommands.h"

#include "CommandShared.h"
#include "core/formats/SetMerge.h"

#include <ostream>
#include <utility>

// header: the pictures of several files as one C header.
namespace tessaldo {
namespace {

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
// Reads FILE into the set, in the type the files before it say; false, the
// refusal said, when it cannot be read or cannot join them.
bool AddFile(const std::string &file, const CommandLineDefines &defines, SetMerge &merge, Streams &streams)
{
    SetPart read;
    if (const FileStatus status = ReadSourcePictures(file, merge.Type(), streams, read, defines); !status) {
        Refused(streams.err, status.message());
        return false;
    }
    if (const std::string problem = merge.Add(read); !problem.empty()) {
        Refused(streams.err, problem);
        return false;
    }
    return true;
}

} // namespace

int Header(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectSomeOperands("FILE");
    const FramesOption frames = ReadFramesOption(arguments);
    const std::optional<std::string> layoutName = arguments.Value("--layout");
    const std::optional<BitLayout> layout =
        layoutName ? std::optional(ChoiceValue<BitLayout>("--layout", *layoutName, BitLayoutFromName,
                                                          "module (c), xbm, rows (gfx), pages or tiles (u8x8)"))
                   : std::nullopt;
    // Every input is read, and every clash found, before anything is written:
    // OUT may be one of the inputs.
    const CommandLineDefines defines = ReadDefines(arguments);
    SetMerge merge(frames.name);
    bool refused = false;
    for (const std::string &file : std::span(arguments.operands).subspan(1))
        refused = !AddFile(file, defines, merge, streams) || refused;
    if (refused)
        return kExitRefused;
    return WriteSetHeader(merge.Finish(frames.delayMs),
                          arguments.Value("--output").value_or(std::string(kStandardStream)), merge.FramesName(),
                          arguments.all, streams, layout.value_or(merge.Layout()));
}

} // namespace tessaldo