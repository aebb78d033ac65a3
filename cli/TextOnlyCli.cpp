#include "CommandLine.h"

// The tool as a build of the core alone has it: no images, fonts or serial
// ports, which need Qt.
namespace tessaldo {

CommandTable ToolCommands()
{
    return {{TextCommands()}, "  (import, png, text and send come with the build that has Qt)\n"};
}

} // namespace tessaldo
