#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace tessaldo {

inline constexpr int kDefaultBaud = 9600;
// The rates a serial LCD module is set to, from 1200 to 115200.
const std::vector<int> &StandardBauds();
bool IsStandardBaud(int baud);

// Sends `bytes` through the serial port `port` (a device such as /dev/ttyUSB0
// or COM3): 8 data bits, no parity, one stop bit, no flow control, nothing
// translated. Waits at most two seconds for the bytes to leave, then closes
// the port. Returns "" when they were sent, else why not, for the user.
QString SendToModule(const QString &port, int baud, const QByteArray &bytes);

} // namespace tessaldo
