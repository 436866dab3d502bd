#include "link/qtserialport.h"

#include "app/errorlog.h"

namespace kvl {

QtSerialPort::QtSerialPort(QObject *parent) : SerialPort(parent)
{
    m_port.setBaudRate(DefaultBaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    connect(&m_port, &QSerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

void QtSerialPort::setPortName(const QString &displayName, const QString &systemPath)
{
    m_displayName = displayName;
    m_port.setPortName(systemPath);
}

void QtSerialPort::setBaudRate(qint32 baud)
{
    m_baud = baud;
    m_port.setBaudRate(baud);
}

bool QtSerialPort::open()
{
    if (m_port.isOpen())
        return true;
    m_errorReported = false;
    // A failed open is reported by the result and errorString(), not as a line error.
    m_opening = true;
    const bool opened = m_port.open(QIODevice::ReadWrite);
    m_opening = false;
    if (!opened)
        return false;
    emit afterOpen();
    return true;
}

void QtSerialPort::close()
{
    if (!m_port.isOpen())
        return;
    m_port.close();
    emit afterClose();
}

void QtSerialPort::setRequestToSend(bool on)
{
    if (m_port.isOpen())
        m_port.setRequestToSend(on); // fails quietly on lines without the signal (a pty)
}

void QtSerialPort::setDataTerminalReady(bool on)
{
    if (m_port.isOpen())
        m_port.setDataTerminalReady(on);
}

void QtSerialPort::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        throw PlatformError(m_displayName.isEmpty() ? QStringLiteral("Com port is not open")
                                                    : QStringLiteral("Com port %1 is not open").arg(m_displayName));
    if (m_port.write(bytes) != bytes.size())
        throw PlatformError(QStringLiteral("Write error on %1: %2").arg(m_displayName, m_port.errorString()));
}

void QtSerialPort::onError(QSerialPort::SerialPortError error)
{
    // A line without modem signals (a pseudo-terminal) refuses RTS and DTR: not a failure.
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError
        || error == QSerialPort::UnsupportedOperationError || m_opening)
        return;
    const QString text = QStringLiteral("%1: %2").arg(m_displayName, m_port.errorString());
    // A vanished adapter: close so the link shows as down, and report once.
    if (error == QSerialPort::ResourceError && m_port.isOpen()) {
        m_port.close();
        emit afterClose();
    }
    if (m_errorReported)
        return;
    m_errorReported = true;
    emit portError(text);
}

} // namespace kvl
