#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

// The only platform-specific piece of the core: plain file descriptors, which
// cost a fraction of a stream for files this small.
namespace tessaldo {

// Creates `path`, which must not exist yet, writes `bytes` into it and has
// the operating system put them on the disk before returning.
std::error_code WriteNewFileDurably(const std::filesystem::path &path, std::string_view bytes);

// Reads at most `maxBytes` from the start of the file into `out`.
std::error_code ReadStartOfFile(const std::filesystem::path &path, std::size_t maxBytes, std::string &out);

} // namespace tessaldo
