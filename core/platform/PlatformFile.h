#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// The only platform-specific piece of the core: plain file descriptors, which
// cost a fraction of a stream for files this small, standard error, handing
// the process on to another program, and the memory the process has held.
namespace tessaldo {

// Creates `path`, which must not exist yet, writes `bytes` into it and has
// the operating system put them on the disk before returning.
std::error_code WriteNewFileDurably(const std::filesystem::path &path, std::string_view bytes);
// The same without waiting for the disk: SyncWrittenFiles then puts many such
// files there at once, where a wait for each would cost a disk's round trip.
std::error_code WriteNewFile(const std::filesystem::path &path, std::string_view bytes);
// Has the operating system put the files written with WriteNewFile on the
// disk: with one flush of their file system where the system has one, else
// file by file.
std::error_code SyncWrittenFiles(std::span<const std::filesystem::path> files);

// Opens `path` for reading without ever blocking, and refuses anything that
// is not a regular file (a folder, FIFO, socket or device) with an error
// whose message says so. On success `fd` is a descriptor the caller closes.
std::error_code OpenRegularFileToRead(const std::filesystem::path &path, int &fd);

// Nothing when `path` is a regular file or does not exist; otherwise what it is.
std::error_code RegularOrMissing(const std::filesystem::path &path);

// Whether the two names reach one file, by links too; false where either is missing.
bool IsSameFile(const std::filesystem::path &path, const std::filesystem::path &other);
// Whether standard input reads the file `path` names, as `< path` makes it.
bool IsStandardInputFile(const std::filesystem::path &path);

// Reads at most `maxBytes` from the start of the regular file into `out`.
std::error_code ReadStartOfFile(const std::filesystem::path &path, std::size_t maxBytes, std::string &out);

// The program this process runs, or an empty path where that cannot be told.
std::filesystem::path OwnExecutable();

// Runs `program` with `args` in place of this process, on the same standard
// streams. Where the system replaces the process it does not return unless it
// failed; elsewhere `status` is the program's exit status.
std::error_code RunInstead(const std::filesystem::path &program, const std::vector<std::string> &args, int &status);

// The most memory this process has held at once, in bytes, or nothing where the system does not say.
std::optional<std::size_t> PeakMemoryBytes();

// Standard output passes bytes as they are: the generated code carries its
// own CR LF and a PNG is binary, where a text mode would add a CR to each LF.
void UseBinaryStandardOutput();

// Whether standard error goes to a terminal that a person watches, rather
// than to a file or a pipe that a program reads.
bool StandardErrorIsTerminal();

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
