#pragma once

#include "core/platform/FileStatus.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

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

// What a reader reads, as its refusal names it: a file, as OpenFailed does,
// or standard input.
class ReadFrom {
public:
    static ReadFrom File(std::filesystem::path path) { return ReadFrom{std::move(path)}; }
    static ReadFrom StandardInput() { return ReadFrom{std::nullopt}; }
    // "Cannot open \"a.Lcd\": REASON." or "Cannot read standard input: REASON."
    std::string Refusal(const std::string &reason) const;
    // The file's path; nothing for standard input.
    const std::optional<std::filesystem::path> &File() const { return m_file; }

private:
    explicit ReadFrom(std::optional<std::filesystem::path> file) : m_file(std::move(file)) {}
    std::optional<std::filesystem::path> m_file; // none: standard input
};

// Replaces the content of `target` with `bytes` so that a failure at any point
// leaves the earlier file as it was: the bytes go to a temporary file beside
// the target, are flushed to disk, and only then renamed over it.
FileStatus WriteFileAtomically(const std::filesystem::path &target, std::string_view bytes);

struct FileToWrite {
    std::filesystem::path path;
    std::string bytes;
};
// Writes many files as WriteFileAtomically writes one, at the cost of one
// flush to disk for them all: a file that already holds its bytes is left as
// it is, time and all; the others go to temporary files beside them, are
// flushed together and only then renamed over their files. A failure leaves
// every file whole: before the renames as it was, during them old or new.
FileStatus WriteFilesAtomically(std::span<const FileToWrite> files);

// Reads at most `maxBytes` from the start of the file into `out`, so that a
// huge file costs no more than a small one.
FileStatus ReadFileStart(const std::filesystem::path &path, std::size_t maxBytes, std::string &out);

} // namespace tessaldo
