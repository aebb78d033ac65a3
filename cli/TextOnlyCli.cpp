#include "CliCommands.h"

#include <ostream>

// The tool as a build of the core alone has it: no images, fonts or serial
// ports, which need Qt.
namespace tessaldo {

std::string_view ExtraCommandsUsage()
{
    return "  (import, png, text and send come with the build that has Qt)\n";
}

int RunCli(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (const std::optional<int> status = RunTextCommand(args, in, out, err))
        return *status;
    return Usage(err);
}

} // namespace tessaldo
