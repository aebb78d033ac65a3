#pragma once

#include <QString>

#include <string_view>

// The core's texts are UTF-8.
inline QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
