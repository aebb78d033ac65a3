#pragma once

#include "CommandLine.h"

// The commands that need nothing but the core; TextCommands() lists them
// with their help. They build wherever the core builds, Windows too.
namespace tessaldo {

// code FILE [--format FORMAT] [--name NAME]
int Code(const Arguments &arguments, Streams &streams);
// show FILE
int Show(const Arguments &arguments, Streams &streams);
// edit FILE OUT [OPERATION...]
int Edit(const Arguments &arguments, Streams &streams);
// header FILE... [--output OUT.h] [--frames NAME [--delay MS]] [--layout LAYOUT]
int Header(const Arguments &arguments, Streams &streams);
// decode SOURCE OUT, or --each FOLDER, or --layout all
int Decode(const Arguments &arguments, Streams &streams);

} // namespace tessaldo
