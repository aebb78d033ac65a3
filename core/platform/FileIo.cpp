#include "core/platform/FileIo.h"

#include "core/platform/PlatformFile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <random>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace tessaldo {
namespace {

// A name no other writer picks: the file is created only where none is.
fs::path TemporaryPathBeside(const fs::path &target, std::mt19937_64 &tags)
{
    fs::path name = target.filename();
    name += ".tmp-" + std::to_string(tags());
    return target.parent_path() / name;
}

std::mt19937_64 TemporaryTags()
{
    std::random_device random;
    return std::mt19937_64((std::uint64_t{random()} << 32) | random());
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

// Whether `file` holds exactly `bytes`; one byte more read tells a longer file from an equal one.
bool HoldsExactly(const fs::path &file, std::string_view bytes)
{
    std::string held;
    return !ReadStartOfFile(file, bytes.size() + 1, held) && held == bytes;
}

// A file written beside its target, to be renamed over it.
struct PendingFile {
    fs::path path; // as the caller named it, for messages
    fs::path target;
    fs::path temporary;
};

void RemoveTemporaries(std::span<const PendingFile> pending)
{
    for (const PendingFile &file : pending) {
        std::error_code ignored;
        fs::remove(file.temporary, ignored);
    }
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

std::string ReadFrom::Refusal(const std::string &reason) const
{
    return m_file ? OpenFailed(*m_file, reason).message() : "Cannot read standard input: " + reason + ".";
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
    std::mt19937_64 tags = TemporaryTags();
    const fs::path temporary = TemporaryPathBeside(target, tags);
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

FileStatus WriteFilesAtomically(std::span<const FileToWrite> files)
{
    std::mt19937_64 tags = TemporaryTags();
    std::vector<PendingFile> pending;
    for (const FileToWrite &file : files) {
        const fs::path target = FinalTarget(file.path);
        if (const std::error_code kind = RegularOrMissing(target)) {
            RemoveTemporaries(pending);
            return SaveFailed(file.path, kind.message());
        }
        if (HoldsExactly(target, file.bytes))
            continue;
        pending.push_back({file.path, target, TemporaryPathBeside(target, tags)});
        if (const std::error_code error = WriteNewFile(pending.back().temporary, file.bytes)) {
            RemoveTemporaries(pending);
            return SaveFailed(file.path, error.message());
        }
    }
    std::vector<fs::path> temporaries;
    temporaries.reserve(pending.size());
    for (const PendingFile &file : pending)
        temporaries.push_back(file.temporary);
    if (const std::error_code error = SyncWrittenFiles(temporaries)) {
        RemoveTemporaries(pending);
        return SaveFailed(pending.front().path, error.message());
    }
    for (std::size_t i = 0; i < pending.size(); ++i) {
        CopyPermissions(pending[i].target, pending[i].temporary);
        std::error_code error;
        fs::rename(pending[i].temporary, pending[i].target, error);
        if (error) {
            RemoveTemporaries(std::span(pending).subspan(i));
            return SaveFailed(pending[i].path, error.message());
        }
    }
    return FileStatus::Ok();
}

FileStatus ReadFileStart(const fs::path &path, std::size_t maxBytes, std::string &out)
{
    const std::error_code error = ReadStartOfFile(path, maxBytes, out);
    return error ? OpenFailed(path, error.message()) : FileStatus::Ok();
}

} // namespace tessaldo
