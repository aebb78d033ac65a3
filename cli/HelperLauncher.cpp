#include "FontCommands.h"
#include "ImageCommands.h"
#include "core/platform/PlatformFile.h"

#include <ostream>
#include <vector>

// tessaldo-cli as it is installed: the text commands run here, with nothing
// but the core loaded, so that a build calling it once per file stays fast;
// the commands that need Qt go on in tessaldo-cli-qt, once their options
// have been checked here.
namespace tessaldo {
namespace {

std::filesystem::path Helper()
{
    const std::filesystem::path here = OwnExecutable().parent_path();
    for (const std::filesystem::path &place : {here, here / TESSALDO_HELPER_FROM_BIN}) {
        std::filesystem::path helper = place / TESSALDO_HELPER_NAME;
        if (std::filesystem::exists(helper))
            return helper;
    }
    return here / TESSALDO_HELPER_FROM_BIN / TESSALDO_HELPER_NAME;
}

int RunInHelper(const Arguments &arguments, Streams &streams)
{
    streams.out.flush();
    const std::filesystem::path helper = Helper();
    int status = kExitRefused;
    if (const std::error_code error = RunInstead(helper, arguments.all, status))
        return Refused(streams.err, "Cannot run \"" + helper.string() + "\", which does the " + arguments.operands[0]
                                        + " command: " + error.message() + ".");
    return status;
}

// font runs here but for TrueType and OpenType sources, which the helper
// draws with FreeType: a font made from BDF loads no more than the core.
int MakeFontHereOrInHelper(const Arguments &arguments, Streams &streams)
{
    return NamesTrueTypeFont(arguments) ? RunInHelper(arguments, streams) : MakeFont(arguments, streams);
}

} // namespace

CommandTable ToolCommands()
{
    static const std::vector<Command> kRunHere = [] {
        std::vector<Command> commands(TextCommands().begin(), TextCommands().end());
        for (Command &command : commands)
            if (command.name == "font")
                command.run = MakeFontHereOrInHelper;
        return commands;
    }();
    static const std::vector<Command> handedOn = [] {
        std::vector<Command> commands(ImageCommands().begin(), ImageCommands().end());
        for (Command &command : commands)
            command.run = RunInHelper;
        return commands;
    }();
    return {{kRunHere, handedOn}, {}};
}

} // namespace tessaldo
