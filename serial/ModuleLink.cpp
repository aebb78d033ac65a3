#include "serial/ModuleLink.h"

#include <QFileInfo>
#include <QSerialPort>

#include <algorithm>

namespace tessaldo {
namespace {

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

QString ModuleLink::Open(const QString &port, int baud)
{
    const QFileInfo device(port);
#ifndef Q_OS_WIN // COM ports are no files there
    if (!device.exists())
        return QStringLiteral("there is no such port");
    if (device.isFile() || device.isDir())
        return QStringLiteral("it is not a serial port");
#endif
    m_serial = std::make_unique<QSerialPort>();
    m_port = port;
    m_serial->setPortName(port);
    m_serial->setBaudRate(baud);
    m_serial->setDataBits(QSerialPort::Data8);
    m_serial->setParity(QSerialPort::NoParity);
    m_serial->setStopBits(QSerialPort::OneStop);
    m_serial->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_serial->open(QIODevice::ReadWrite)) {
        QString problem = WhyNotOpened(*m_serial, port);
        m_serial.reset();
        return problem;
    }
    return {};
}

QString ModuleLink::Send(const QByteArray &bytes)
{
    if (!m_serial)
        return QStringLiteral("the port is not open");
    if (m_serial->write(bytes) != bytes.size() || !m_serial->waitForBytesWritten(kWriteTimeoutMs)) {
        // A port that opened and then fails to write has gone away: the
        // adapter was unplugged, or the other end closed; the system's own
        // words for that ("Inappropriate ioctl for device") tell the user nothing.
        QString reason = m_serial->error() == QSerialPort::TimeoutError || m_serial->error() == QSerialPort::NoError
                             ? QStringLiteral("the bytes did not leave within %1 s").arg(kWriteTimeoutMs / 1000)
                             : QStringLiteral("the port was lost");
        m_serial->clearError();
        return reason;
    }
    return {};
}

void ModuleLink::Close()
{
    if (m_serial)
        m_serial->close();
    m_serial.reset();
}

QString SendToModule(const QString &port, int baud, const QByteArray &bytes)
{
    ModuleLink link;
    QString problem = link.Open(port, baud);
    if (problem.isEmpty())
        problem = link.Send(bytes);
    link.Close();
    return problem;
}

} // namespace tessaldo
