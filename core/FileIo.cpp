#include "FileIo.h"

#include "DiskSync.h"

#include <cerrno>
#include <fstream>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace tessaldo {
namespace {

std::string LastSystemError()
{
    return std::generic_category().message(errno);
}

fs::path TemporaryPathBeside(const fs::path &target)
{
    std::random_device random;
    const auto tag = std::to_string(random()) + std::to_string(random());
    fs::path name = target.filename();
    name += ".tmp-" + tag;
    return target.parent_path() / name;
}

FileStatus WriteAndSync(const fs::path &path, std::string_view bytes, const fs::path &target)
{
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return SaveFailed(target, LastSystemError());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        return SaveFailed(target, errno != 0 ? LastSystemError() : "the data could not be written");
    if (const std::error_code error = SyncFileToDisk(path))
        return SaveFailed(target, error.message());
    return FileStatus::Ok();
}

// A replaced file keeps the permissions the user gave it.
void CopyPermissions(const fs::path &from, const fs::path &to)
{
    std::error_code ignored;
    const fs::file_status status = fs::status(from, ignored);
    if (!ignored && fs::is_regular_file(status))
        fs::permissions(to, status.permissions(), ignored);
}

} // namespace

FileStatus OpenFailed(const fs::path &path, const std::string &reason)
{
    return FileStatus::Failed("Cannot open \"" + DisplayPath(path) + "\": " + reason + ".");
}

FileStatus SaveFailed(const fs::path &path, const std::string &reason)
{
    return FileStatus::Failed("Cannot save \"" + DisplayPath(path) + "\": " + reason + ".");
}

std::string DisplayPath(const fs::path &path)
{
    const std::u8string utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
}

FileStatus WriteFileAtomically(const fs::path &target, std::string_view bytes)
{
    std::error_code error;
    if (fs::is_directory(target, error))
        return SaveFailed(target, "it is a folder");

    const fs::path temporary = TemporaryPathBeside(target);
    FileStatus written = WriteAndSync(temporary, bytes, target);
    if (written) {
        CopyPermissions(target, temporary);
        fs::rename(temporary, target, error);
        if (error)
            written = SaveFailed(target, error.message());
    }
    if (!written) {
        fs::remove(temporary, error);
        return written;
    }
    SyncFolderToDisk(target.parent_path());
    return FileStatus::Ok();
}

FileStatus ReadFileStart(const fs::path &path, std::size_t maxBytes, std::string &out)
{
    std::error_code error;
    if (fs::is_directory(path, error))
        return OpenFailed(path, "it is a folder");

    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return OpenFailed(path, errno != 0 ? LastSystemError() : "the file cannot be opened");
    out.resize(maxBytes);
    in.read(out.data(), static_cast<std::streamsize>(maxBytes));
    if (in.bad())
        return OpenFailed(path, errno != 0 ? LastSystemError() : "the file cannot be read");
    out.resize(static_cast<std::size_t>(in.gcount()));
    return FileStatus::Ok();
}

} // namespace tessaldo
