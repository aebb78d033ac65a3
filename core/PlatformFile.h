#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

// The only platform-specific piece of the core: plain file descriptors, which
// cost a fraction of a stream for files this small, and standard error.
namespace tessaldo {

// Creates `path`, which must not exist yet, writes `bytes` into it and has
// the operating system put them on the disk before returning.
std::error_code WriteNewFileDurably(const std::filesystem::path &path, std::string_view bytes);

// Reads at most `maxBytes` from the start of the file into `out`.
std::error_code ReadStartOfFile(const std::filesystem::path &path, std::size_t maxBytes, std::string &out);

// While one lives, whatever the process writes to standard error goes
// nowhere: for libraries that print their own complaints where the program
// already reports the reason.
class StandardErrorSilenced {
public:
    StandardErrorSilenced();
    ~StandardErrorSilenced();
    StandardErrorSilenced(const StandardErrorSilenced &) = delete;
    StandardErrorSilenced &operator=(const StandardErrorSilenced &) = delete;

private:
    int m_saved = -1;
};

} // namespace tessaldo
