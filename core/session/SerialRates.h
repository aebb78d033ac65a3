#pragma once

#include <algorithm>
#include <array>

namespace tessaldo {

// The rates a serial LCD module is set to, from 1200 to 115200; 8N1 with no flow control.
inline constexpr std::array<int, 8> kStandardBauds = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
inline constexpr int kDefaultBaud = 9600;
// How long a write may wait for the bytes to leave before it is given up.
inline constexpr int kWriteTimeoutMs = 2000;

constexpr bool IsStandardBaud(int baud)
{
    return std::find(kStandardBauds.begin(), kStandardBauds.end(), baud) != kStandardBauds.end();
}

} // namespace tessaldo
