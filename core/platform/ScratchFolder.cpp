#include "core/platform/ScratchFolder.h"

#include "core/platform/FileIo.h"

namespace tessaldo {

ScratchFolder::ScratchFolder(const std::filesystem::path &root) : m_before(std::filesystem::current_path())
{
    static int made = 0;
    m_path = root / std::to_string(++made);
    std::filesystem::create_directories(m_path);
    std::filesystem::current_path(m_path);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::current_path(m_before, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

FileStatus ScratchFolder::Put(const std::filesystem::path &name, std::string_view bytes)
{
    return WriteFileAtomically(name, bytes);
}

std::optional<std::string> ScratchFolder::Read(const std::filesystem::path &file, std::size_t maxBytes)
{
    std::string bytes;
    return ReadFileStart(file, maxBytes, bytes) ? std::optional(std::move(bytes)) : std::nullopt;
}

} // namespace tessaldo
