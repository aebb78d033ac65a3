#pragma once

#include "TextCommands.h"

#include <iosfwd>
#include <string>
#include <vector>

// The whole tool. A build with Qt has every command; a build of the core
// alone (for Windows) has the text commands only.
namespace tessaldo {

// Runs one command line (without the program name) and returns the exit status.
int RunCli(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err);

} // namespace tessaldo
