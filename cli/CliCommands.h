#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessaldo {

enum CliExit { kExitOk = 0, kExitRefused = 1, kExitUsage = 2 };

// Whether the command line draws text, which needs the fonts a QGuiApplication knows.
bool NeedsFonts(const std::vector<std::string> &args);

// Runs one command line (without the program name) and returns the exit status.
int RunCli(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err);

} // namespace tessaldo
