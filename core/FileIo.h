#pragma once

#include "FileStatus.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tessaldo {

// The path as UTF-8, for messages.
std::string DisplayPath(const std::filesystem::path &path);

// The name a file is saved under when the user typed `typed`: with
// `extension` added when it has none, as file dialogs do; "" when it names
// no file (blank, dots, or the extension alone), which kNameNeeded says.
std::string NameToSaveAs(std::string_view typed, std::string_view extension);
inline constexpr std::string_view kNameNeeded = "Type a name for the file: the name may not be blank, dots alone or "
                                                "the extension alone.";

// The messages of a failed open or save: they name the file and the reason.
FileStatus OpenFailed(const std::filesystem::path &path, const std::string &reason);
FileStatus SaveFailed(const std::filesystem::path &path, const std::string &reason);

// Replaces the content of `target` with `bytes` so that a failure at any point
// leaves the earlier file as it was: the bytes go to a temporary file beside
// the target, are flushed to disk, and only then renamed over it.
FileStatus WriteFileAtomically(const std::filesystem::path &target, std::string_view bytes);

// Reads at most `maxBytes` from the start of the file into `out`, so that a
// huge file costs no more than a small one.
FileStatus ReadFileStart(const std::filesystem::path &path, std::size_t maxBytes, std::string &out);

} // namespace tessaldo
