#pragma once

#include "CommandLine.h"
#include "DotGrid.h"
#include "FileStatus.h"

#include <iosfwd>
#include <string>

// The commands that need nothing but the core, and what every command of the
// tool shares: how it loads and writes drawing files. They build wherever the
// core builds, Windows too.
namespace tessaldo {

// Loads the drawing as the window's Open would into a picture fresh from start-up.
FileStatus LoadFresh(const std::string &file, std::istream &in, DotGrid &grid);
// Writes as Save does, or to standard output.
int WriteDrawing(const DotGrid &grid, const std::string &outPath, std::ostream &out, std::ostream &err);
// --type 0|1, when given.
void ApplyTypeOption(const Arguments &arguments, DotGrid &grid);

} // namespace tessaldo
