#pragma once

#include "core/platform/FileStatus.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tessaldo {

// A folder of its own under `root` that the file code reads and writes as it
// does any, made the current one so that files keep the names the user knows
// in every message (the page's file system lives in memory); the current
// folder is given back and the folder gone with everything in it when done.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::filesystem::path &root);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    static FileStatus Put(const std::filesystem::path &name, std::string_view bytes);
    // The file's first `maxBytes`, or nothing when it cannot be read.
    static std::optional<std::string> Read(const std::filesystem::path &file, std::size_t maxBytes);

private:
    std::filesystem::path m_path;
    std::filesystem::path m_before;
};

} // namespace tessaldo
