#pragma once

#include <QString>

#include <filesystem>

// A path as the file system spells it, whatever the locale's encoding.
inline std::filesystem::path NativePath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}
