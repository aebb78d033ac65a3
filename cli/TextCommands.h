#pragma once

#include "DotGrid.h"
#include "FileStatus.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The commands that need nothing but the core, and what every command of the
// tool shares: how its words are read, how it refuses, how it loads and
// writes drawing files. They build wherever the core builds, Windows too.
namespace tessaldo {

enum CliExit { kExitOk = 0, kExitRefused = 1, kExitUsage = 2 };

// The file name that means standard input, or standard output where a file is written.
inline constexpr std::string_view kStandardStream = "-";

// The words of a command line: the leading positional arguments and the options after them.
struct Words {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::optional<std::string>>> options;
};

std::optional<Words> SplitWords(const std::vector<std::string> &args);
std::optional<int> WholeNumber(const std::string &text, int low, int high);

// The tool's usage text: the text commands, then those of the build's own
// (ExtraCommandsUsage, defined by whichever build links this).
std::string UsageText();
std::string_view ExtraCommandsUsage();
int Usage(std::ostream &err);
int Refused(std::ostream &err, const std::string &message);

// Loads the drawing as the window's Open would into a picture fresh from start-up.
FileStatus LoadFresh(const std::string &file, std::istream &in, DotGrid &grid);
// Writes as Save does, or to standard output.
int WriteDrawing(const DotGrid &grid, const std::string &outPath, std::ostream &out, std::ostream &err);

// --help, --version, code, show, edit and header; nothing for any other command.
std::optional<int> RunTextCommand(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                                  std::ostream &err);

} // namespace tessaldo
