#pragma once

#include "core/session/SerialRates.h"

#include <QByteArray>
#include <QString>

#include <QSerialPort>

#include <memory>

namespace tessaldo {

// An open link to the module: 8 data bits, no parity, one stop bit, no flow
// control, nothing translated. Each Send waits at most two seconds for the
// bytes to leave. Problems come back as "" for none, else why, for the user.
class ModuleLink {
public:
    QString Open(const QString &port, int baud);
    QString Send(const QByteArray &bytes);
    void Close();

private:
    std::unique_ptr<QSerialPort> m_serial;
    QString m_port;
};

// Sends `bytes` through the serial port `port` (a device such as /dev/ttyUSB0
// or COM3) on a link opened for them and closed after.
QString SendToModule(const QString &port, int baud, const QByteArray &bytes);

} // namespace tessaldo
