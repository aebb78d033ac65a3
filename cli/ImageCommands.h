#pragma once

#include "CommandLine.h"

namespace tessaldo {

// import, png, export, text and send, without what runs them: tessaldo-cli hands
// them to its helper, and the helper attaches its handlers.
std::span<const Command> ImageCommands();

// The helper's own table: the same commands, run in its process.
CommandTable ImageHelperCommands();

} // namespace tessaldo
