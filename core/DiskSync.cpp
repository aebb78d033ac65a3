#include "DiskSync.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cerrno>

namespace tessaldo {

#ifdef _WIN32

std::error_code SyncFileToDisk(const std::filesystem::path &path)
{
    const int fd = _wopen(path.c_str(), _O_RDWR | _O_BINARY);
    if (fd < 0)
        return {errno, std::generic_category()};
    const int result = _commit(fd);
    const std::error_code error = result == 0 ? std::error_code{} : std::error_code{errno, std::generic_category()};
    _close(fd);
    return error;
}

void SyncFolderToDisk(const std::filesystem::path &) {}

#else

std::error_code SyncFileToDisk(const std::filesystem::path &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {errno, std::generic_category()};
    const int result = ::fsync(fd);
    const std::error_code error = result == 0 ? std::error_code{} : std::error_code{errno, std::generic_category()};
    ::close(fd);
    return error;
}

void SyncFolderToDisk(const std::filesystem::path &folder)
{
    // Best effort: the rename itself already happened, and some file systems
    // refuse fsync on a folder.
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

#endif

} // namespace tessaldo
