#include "ModuleLink.h"

#include <QFileInfo>
#include <QSerialPort>

#include <algorithm>

namespace tessaldo {
namespace {

constexpr int kWriteTimeoutMs = 2000;

QString WhyNotOpened(const QSerialPort &serial, const QString &port)
{
    const QFileInfo device(port);
    switch (serial.error()) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("there is no such port");
    case QSerialPort::PermissionError:
        // The same error for a port another program holds and for one this user may not open.
        if (device.exists() && !(device.isReadable() && device.isWritable()))
            return QStringLiteral("permission denied: on most systems serial ports belong to the group "
                                  "\"dialout\"; add yourself to it (sudo usermod -aG dialout $USER) and log in again");
        return QStringLiteral("the port is busy: another program has it open");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("it is not a serial port");
    default:
        return serial.errorString();
    }
}

} // namespace

QString SendToModule(const QString &port, int baud, const QByteArray &bytes)
{
    const QFileInfo device(port);
#ifndef Q_OS_WIN // COM ports are no files there
    if (!device.exists())
        return QStringLiteral("there is no such port");
    if (device.isFile() || device.isDir())
        return QStringLiteral("it is not a serial port");
#endif
    QSerialPort serial;
    serial.setPortName(port);
    serial.setBaudRate(baud);
    serial.setDataBits(QSerialPort::Data8);
    serial.setParity(QSerialPort::NoParity);
    serial.setStopBits(QSerialPort::OneStop);
    serial.setFlowControl(QSerialPort::NoFlowControl);
    if (!serial.open(QIODevice::ReadWrite))
        return WhyNotOpened(serial, port);
    if (serial.write(bytes) != bytes.size() || !serial.waitForBytesWritten(kWriteTimeoutMs)) {
        QString reason = serial.error() == QSerialPort::TimeoutError || serial.error() == QSerialPort::NoError
                             ? QStringLiteral("the bytes did not leave within %1 s").arg(kWriteTimeoutMs / 1000)
                             : serial.errorString();
        serial.clearError();
        return reason;
    }
    serial.close();
    return {};
}

} // namespace tessaldo
