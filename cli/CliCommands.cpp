#include "CliCommands.h"

#include "CodeGenerator.h"
#include "DrawingFile.h"

#include <ostream>
#include <string_view>

namespace tessaldo {
namespace {

constexpr std::string_view kUsage =
    "Usage: tessaldo-cli COMMAND FILE\n"
    "\n"
    "Commands:\n"
    "  code FILE   print the C code that Run makes for the drawing file (.Lcd)\n"
    "  show FILE   print the picture as the window shows it: a line 'type N',\n"
    "              then 16 lines of 16 dots, '#' set and '.' clear\n"
    "  --help      print this text\n"
    "\n"
    "Exit status: 0 done, 1 the file was refused, 2 wrong usage.\n";

// Loads the file as the window's Open would into a picture fresh from start-up.
bool LoadFresh(const std::string &file, DotGrid &grid, std::ostream &err)
{
    grid = DotGrid{};
    const FileStatus status = OpenFile(grid, std::filesystem::path(file));
    if (!status)
        err << status.message() << '\n';
    return status.ok();
}

void PrintCode(const DotGrid &grid, std::ostream &out)
{
    out << LCDtoCODE(grid) << "\r\n";
}

void PrintPicture(const DotGrid &grid, std::ostream &out)
{
    out << "type " << LcdTypeValue(grid.nLCDType()) << '\n';
    for (int row = 0; row < kGridSide; ++row) {
        std::string line;
        for (int column = 0; column < kGridSide; ++column)
            line += grid.IsSet(DotAtCell(grid.nLCDType(), {column, row})) ? '#' : '.';
        out << line << '\n';
    }
}

} // namespace

int RunCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    if (args.size() == 1 && args[0] == "--help") {
        out << kUsage;
        return kExitOk;
    }
    if (args.size() != 2 || (args[0] != "code" && args[0] != "show")) {
        err << kUsage;
        return kExitUsage;
    }
    DotGrid grid;
    if (!LoadFresh(args[1], grid, err))
        return kExitRefused;
    if (args[0] == "code")
        PrintCode(grid, out);
    else
        PrintPicture(grid, out);
    return kExitOk;
}

} // namespace tessaldo
