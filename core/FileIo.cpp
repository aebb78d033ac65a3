#include "FileIo.h"

#include "PlatformFile.h"

#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace tessaldo {
namespace {

fs::path TemporaryPathBeside(const fs::path &target)
{
    std::random_device random;
    const auto tag = std::to_string(random()) + std::to_string(random());
    fs::path name = target.filename();
    name += ".tmp-" + tag;
    return target.parent_path() / name;
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
    error = WriteNewFileDurably(temporary, bytes);
    if (!error) {
        CopyPermissions(target, temporary);
        fs::rename(temporary, target, error);
    }
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return SaveFailed(target, error.message());
    }
    return FileStatus::Ok();
}

FileStatus ReadFileStart(const fs::path &path, std::size_t maxBytes, std::string &out)
{
    const std::error_code error = ReadStartOfFile(path, maxBytes, out);
    if (!error)
        return FileStatus::Ok();
    // Asked only now: a folder fails to open on some systems and to read on others.
    std::error_code ignored;
    return OpenFailed(path, fs::is_directory(path, ignored) ? "it is a folder" : error.message());
}

} // namespace tessaldo
