#pragma once

#include "SerialRates.h"

#include <QByteArray>
#include <QString>

namespace tessaldo {

// Sends `bytes` through the serial port `port` (a device such as /dev/ttyUSB0
// or COM3): 8 data bits, no parity, one stop bit, no flow control, nothing
// translated. Waits at most two seconds for the bytes to leave, then closes
// the port. Returns "" when they were sent, else why not, for the user.
QString SendToModule(const QString &port, int baud, const QByteArray &bytes);

} // namespace tessaldo
