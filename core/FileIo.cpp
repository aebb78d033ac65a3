#include "FileIo.h"

#include "PlatformFile.h"

#include <algorithm>
#include <cctype>
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

// Where a save really goes: the last target of a chain of links, even one
// that does not exist yet, so that the link stays a link.
fs::path FinalTarget(const fs::path &path)
{
    constexpr int kMostLinks = 40; // as the kernel allows, against loops
    fs::path current = path;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error)))
            return current;
        const fs::path next = fs::read_symlink(current, error);
        if (error)
            return current;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

bool SameWithoutCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

std::string NameToSaveAs(std::string_view typed, std::string_view extension)
{
    // Trailing dots name no extension; Windows drops them from a file's name.
    const std::string_view name = typed.substr(0, typed.find_last_not_of('.') + 1);
    if (name.empty())
        return {};
    const std::size_t dot = name.rfind('.');
    const std::size_t folder = name.find_last_of("/\\");
    const std::size_t nameStart = folder == std::string_view::npos ? 0 : folder + 1;
    if (SameWithoutCase(name.substr(nameStart), extension))
        return {}; // ".Lcd" is the extension with no name before it, not a name to give one
    // A dot that starts the name makes it hidden on some systems, not an extension.
    const bool hasExtension = dot != std::string_view::npos && dot > nameStart;
    return std::string(name) + (hasExtension ? "" : std::string(extension));
}

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

FileStatus WriteFileAtomically(const fs::path &path, std::string_view bytes)
{
    const fs::path target = FinalTarget(path);
    // Renaming over a device or a FIFO would replace it with a plain file.
    if (const std::error_code kind = RegularOrMissing(target))
        return SaveFailed(path, kind.message());

    std::error_code error;
    const fs::path temporary = TemporaryPathBeside(target);
    error = WriteNewFileDurably(temporary, bytes);
    if (!error) {
        CopyPermissions(target, temporary);
        fs::rename(temporary, target, error);
    }
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return SaveFailed(path, error.message());
    }
    return FileStatus::Ok();
}

FileStatus ReadFileStart(const fs::path &path, std::size_t maxBytes, std::string &out)
{
    const std::error_code error = ReadStartOfFile(path, maxBytes, out);
    return error ? OpenFailed(path, error.message()) : FileStatus::Ok();
}

} // namespace tessaldo
