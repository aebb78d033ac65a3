#include "core/platform/PlatformFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <unistd.h>
#endif
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <sys/resource.h>
#endif

namespace tessaldo {
namespace {

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

// Puts each of `files`, already written and closed, on the disk.
std::error_code SyncEachFile(std::span<const std::filesystem::path> files);

enum class FileKind { Regular, Folder, Other };

class FileKindCategory final : public std::error_category {
public:
    const char *name() const noexcept override { return "file kind"; }
    std::string message(int kind) const override
    {
        return kind == static_cast<int>(FileKind::Folder) ? "it is a folder" : "it is not a regular file";
    }
};

std::error_code KindError(FileKind kind)
{
    static const FileKindCategory kCategory;
    return {static_cast<int>(kind), kCategory};
}

// What tells one file from every other, whatever name or link reaches it.
struct FileId {
    unsigned long long volume = 0;
    unsigned long long index = 0;
    bool operator==(const FileId &) const = default;
};

#ifdef _WIN32

std::optional<FileId> IdOfHandle(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info))
        return std::nullopt;
    return FileId{info.dwVolumeSerialNumber,
                  (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}
std::optional<FileId> IdOfPath(const std::filesystem::path &path)
{
    const HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    std::optional<FileId> id = IdOfHandle(file);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return id;
}
std::optional<FileId> IdOfStandardInput()
{
    return IdOfHandle(reinterpret_cast<HANDLE>(_get_osfhandle(0)));
}
int OpenNew(const std::filesystem::path &path)
{
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int OpenToRead(const std::filesystem::path &path)
{
    return _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
}
int OpenToWrite(const std::filesystem::path &path)
{
    return _wopen(path.c_str(), _O_WRONLY | _O_BINARY);
}
// What kind of thing the descriptor reads: a file, a folder or anything else.
FileKind KindOf(int fd)
{
    struct _stat64 info {};
    if (_fstat64(fd, &info) != 0)
        return FileKind::Other;
    return (info.st_mode & _S_IFMT) == _S_IFREG   ? FileKind::Regular
           : (info.st_mode & _S_IFMT) == _S_IFDIR ? FileKind::Folder
                                                  : FileKind::Other;
}
long long WriteSome(int fd, const char *data, std::size_t size)
{
    return _write(fd, data, static_cast<unsigned>(size));
}
long long ReadSome(int fd, char *data, std::size_t size)
{
    return _read(fd, data, static_cast<unsigned>(size));
}
int Sync(int fd)
{
    return _commit(fd);
}
// Windows flushes no file system for a program without the administrator's rights: each file is flushed.
std::error_code SyncFileSystemsOf(std::span<const std::filesystem::path> files)
{
    return SyncEachFile(files);
}
int Close(int fd)
{
    return _close(fd);
}
int OpenNullDevice()
{
    return _open("NUL", _O_WRONLY);
}
int Duplicate(int fd)
{
    return _dup(fd);
}
int DuplicateOnto(int fd, int target)
{
    return _dup2(fd, target);
}
bool IsTerminal(int fd)
{
    return _isatty(fd) != 0;
}

} // namespace

void UseBinaryStandardOutput()
{
    _setmode(_fileno(stdout), _O_BINARY);
}

std::filesystem::path OwnExecutable()
{
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path;
}

std::error_code RunInstead(const std::filesystem::path &program, const std::vector<std::string> &args, int &status)
{
    std::vector<std::wstring> words{program.wstring()};
    words.reserve(args.size() + 1);
    for (const std::string &arg : args)
        words.push_back(std::filesystem::path(std::u8string(arg.begin(), arg.end())).wstring());
    std::vector<const wchar_t *> argv;
    argv.reserve(words.size() + 1);
    for (const std::wstring &word : words)
        argv.push_back(word.c_str());
    argv.push_back(nullptr);
    const intptr_t result = _wspawnv(_P_WAIT, program.c_str(), argv.data());
    if (result == -1)
        return {errno, std::generic_category()};
    status = static_cast<int>(result);
    return {};
}

namespace {

#else

int OpenNew(const std::filesystem::path &path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
FileId IdOf(const struct stat &info)
{
    return {static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino)};
}
std::optional<FileId> IdOfPath(const std::filesystem::path &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? std::optional(IdOf(info)) : std::nullopt;
}
std::optional<FileId> IdOfStandardInput()
{
    struct stat info {};
    return ::fstat(0, &info) == 0 ? std::optional(IdOf(info)) : std::nullopt;
}
// Never blocks: a FIFO with no writer would otherwise hang the open for ever.
int OpenToRead(const std::filesystem::path &path)
{
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}
int OpenToWrite(const std::filesystem::path &path)
{
    return ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
}
FileKind KindOf(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return FileKind::Other;
    return S_ISREG(info.st_mode) ? FileKind::Regular : S_ISDIR(info.st_mode) ? FileKind::Folder : FileKind::Other;
}
long long WriteSome(int fd, const char *data, std::size_t size)
{
    return ::write(fd, data, size);
}
long long ReadSome(int fd, char *data, std::size_t size)
{
    return ::read(fd, data, size);
}
int Sync(int fd)
{
    return ::fsync(fd);
}
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
// One syncfs for each folder's file system, which costs one round trip to
// the disk where fsync of each file would cost one for each.
std::error_code SyncFileSystemsOf(std::span<const std::filesystem::path> files)
{
    std::vector<std::filesystem::path> folders;
    for (const std::filesystem::path &file : files) {
        if (std::find(folders.begin(), folders.end(), file.parent_path()) == folders.end())
            folders.push_back(file.parent_path());
    }
    for (const std::filesystem::path &folder : folders) {
        const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return LastError();
        const int synced = ::syncfs(fd);
        const std::error_code error = synced != 0 ? LastError() : std::error_code{};
        ::close(fd);
        // A kernel before 2.6.39, or a sandbox that forbids the call, has each file flushed instead.
        if (error == std::errc::function_not_supported || error == std::errc::operation_not_permitted)
            return SyncEachFile(files);
        if (error)
            return error;
    }
    return {};
}
#else
std::error_code SyncFileSystemsOf(std::span<const std::filesystem::path> files)
{
    return SyncEachFile(files);
}
#endif
int Close(int fd)
{
    return ::close(fd);
}
int OpenNullDevice()
{
    return ::open("/dev/null", O_WRONLY | O_CLOEXEC);
}
int Duplicate(int fd)
{
    return ::dup(fd);
}
int DuplicateOnto(int fd, int target)
{
    return ::dup2(fd, target);
}
bool IsTerminal(int fd)
{
    return ::isatty(fd) != 0;
}

} // namespace

void UseBinaryStandardOutput() {}

std::filesystem::path OwnExecutable()
{
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

std::error_code RunInstead(const std::filesystem::path &program, const std::vector<std::string> &args, int &)
{
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char *> argv;
    argv.reserve(words.size() + 1);
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    return {errno, std::generic_category()};
}

namespace {

#endif

std::error_code WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const long long written = WriteSome(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? LastError() : std::make_error_code(std::errc::io_error);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// The buffer grows as the bytes come, so that a drawing file read with a
// source's limit of megabytes costs no more than its few hundred bytes.
std::error_code ReadUpTo(int fd, std::size_t maxBytes, std::string &out)
{
    constexpr std::size_t kFirstChunk = std::size_t{64} << 10;
    out.clear();
    std::size_t filled = 0;
    while (filled < maxBytes) {
        if (filled == out.size())
            out.resize(std::min(maxBytes, std::max(kFirstChunk, out.size() * 2)));
        const long long got = ReadSome(fd, out.data() + filled, out.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return LastError();
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    out.resize(filled);
    return {};
}

} // namespace

std::error_code OpenRegularFileToRead(const std::filesystem::path &path, int &fd)
{
    fd = OpenToRead(path);
    if (fd < 0) {
        // Sockets, and folders on some systems, fail to open at all: say what they are instead.
        const std::error_code failed = LastError();
        const std::error_code kind = RegularOrMissing(path);
        return kind ? kind : failed;
    }
    if (const FileKind kind = KindOf(fd); kind != FileKind::Regular) {
        Close(fd);
        fd = -1;
        return KindError(kind);
    }
    return {};
}

bool IsSameFile(const std::filesystem::path &path, const std::filesystem::path &other)
{
    const std::optional<FileId> id = IdOfPath(path);
    return id && id == IdOfPath(other);
}

bool IsStandardInputFile(const std::filesystem::path &path)
{
    const std::optional<FileId> id = IdOfPath(path);
    return id && id == IdOfStandardInput();
}

std::error_code RegularOrMissing(const std::filesystem::path &path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || status.type() == std::filesystem::file_type::not_found || std::filesystem::is_regular_file(status))
        return {};
    return KindError(std::filesystem::is_directory(status) ? FileKind::Folder : FileKind::Other);
}

std::error_code ReadStartOfFile(const std::filesystem::path &path, std::size_t maxBytes, std::string &out)
{
    int fd = -1;
    if (const std::error_code error = OpenRegularFileToRead(path, fd))
        return error;
    const std::error_code error = ReadUpTo(fd, maxBytes, out);
    Close(fd);
    return error;
}

namespace {

std::error_code WriteNew(const std::filesystem::path &path, std::string_view bytes, bool durably)
{
    const int fd = OpenNew(path);
    if (fd < 0)
        return LastError();
    std::error_code error = WriteAll(fd, bytes);
    if (!error && durably && Sync(fd) != 0)
        error = LastError();
    if (Close(fd) != 0 && !error)
        error = LastError();
    return error;
}

std::error_code SyncEachFile(std::span<const std::filesystem::path> files)
{
    for (const std::filesystem::path &file : files) {
        const int fd = OpenToWrite(file);
        if (fd < 0)
            return LastError();
        std::error_code error = Sync(fd) != 0 ? LastError() : std::error_code{};
        if (Close(fd) != 0 && !error)
            error = LastError();
        if (error)
            return error;
    }
    return {};
}

} // namespace

std::error_code WriteNewFileDurably(const std::filesystem::path &path, std::string_view bytes)
{
    return WriteNew(path, bytes, true);
}

std::error_code WriteNewFile(const std::filesystem::path &path, std::string_view bytes)
{
    return WriteNew(path, bytes, false);
}

std::error_code SyncWrittenFiles(std::span<const std::filesystem::path> files)
{
    return SyncFileSystemsOf(files);
}

constexpr int kStandardError = 2;

std::optional<std::size_t> PeakMemoryBytes()
{
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
    rusage usage{};
    if (::getrusage(RUSAGE_SELF, &usage) == 0)
        return static_cast<std::size_t>(usage.ru_maxrss) * 1024; // Linux counts it in KiB
#endif
    return std::nullopt;
}

bool StandardErrorIsTerminal()
{
    return IsTerminal(kStandardError);
}

StandardErrorSilenced::StandardErrorSilenced()
{
    std::fflush(stderr);
    const int null = OpenNullDevice();
    if (null < 0)
        return;
    m_saved = Duplicate(kStandardError);
    if (m_saved >= 0)
        DuplicateOnto(null, kStandardError);
    Close(null);
}

StandardErrorSilenced::~StandardErrorSilenced()
{
    if (m_saved < 0)
        return;
    std::fflush(stderr);
    DuplicateOnto(m_saved, kStandardError);
    Close(m_saved);
}

} // namespace tessaldo
