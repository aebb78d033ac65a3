#pragma once

#include <filesystem>
#include <system_error>

namespace tessaldo {

// Asks the operating system to put the file's data on the disk before
// returning. The only platform-specific piece of the core.
std::error_code SyncFileToDisk(const std::filesystem::path &path);

// Makes a rename inside `folder` durable. Does nothing where the platform has
// no such notion.
void SyncFolderToDisk(const std::filesystem::path &folder);

} // namespace tessaldo
