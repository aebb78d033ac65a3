#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessaldo {

enum CliExit { kExitOk = 0, kExitRefused = 1, kExitUsage = 2 };

// Runs one command line (without the program name) and returns the exit status.
int RunCli(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err);

} // namespace tessaldo
