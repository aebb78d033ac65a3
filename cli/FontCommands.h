#pragma once

#include "CommandLine.h"

#include <string>

// Sets of pictures of characters as a BDF font, and back.
namespace tessaldo {

// font SOURCE... --output NAME.bdf [--name FAMILY]
int MakeFont(const Arguments &arguments, Streams &streams);
// import FONT.bdf OUT, or --each FOLDER: the glyphs as drawings named as text
// --each names its characters' drawings.
int ImportFont(const Arguments &arguments, Streams &streams);

} // namespace tessaldo
