#pragma once
// The serial port as the core uses it. QtSerialPort wraps QSerialPort; unit tests use a
// scripted port on a virtual clock.

#include <QObject>
#include <QSerialPort>

namespace kvl {

class SerialPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The device name as the user sees it ("\\.\COM7" on Windows, the device path elsewhere)
    // and the path that is opened.
    virtual QString portName() const = 0;
    virtual void setPortName(const QString &displayName, const QString &systemPath) = 0;

    virtual qint32 baudRate() const = 0;
    virtual void setBaudRate(qint32 baud) = 0;
    virtual QSerialPort::Parity parity() const = 0;
    virtual void setParity(QSerialPort::Parity parity) = 0;
    virtual QSerialPort::StopBits stopBits() const = 0;
    virtual void setStopBits(QSerialPort::StopBits stopBits) = 0;

    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void setRequestToSend(bool on) = 0;
    virtual void setDataTerminalReady(bool on) = 0;

    // Raises PlatformError when the port is closed or the write fails.
    virtual void write(const QByteArray &bytes) = 0;
    virtual QByteArray readAll() = 0;
    virtual QString errorString() const = 0;

signals:
    void readyRead();
    void afterOpen();
    void afterClose();
    // A failure the port reported on its own (adapter unplugged, line broken).
    void portError(const QString &message);
};

// The port as built: 9600 baud, 8 data bits, no parity, one stop bit.
constexpr qint32 DefaultBaudRate = 9600;

} // namespace kvl
