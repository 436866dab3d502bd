#pragma once
#include "link/serialport.h"

#include <QSerialPort>

namespace kvl {

// The real port: QSerialPort, data bits fixed at 8.
class QtSerialPort final : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject *parent = nullptr);

    QString portName() const override { return m_displayName; }
    void setPortName(const QString &displayName, const QString &systemPath) override;
    qint32 baudRate() const override { return m_baud; }
    void setBaudRate(qint32 baud) override;
    QSerialPort::Parity parity() const override { return m_port.parity(); }
    void setParity(QSerialPort::Parity parity) override { m_port.setParity(parity); }
    QSerialPort::StopBits stopBits() const override { return m_port.stopBits(); }
    void setStopBits(QSerialPort::StopBits stopBits) override { m_port.setStopBits(stopBits); }

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    void setRequestToSend(bool on) override;
    void setDataTerminalReady(bool on) override;
    void write(const QByteArray &bytes) override;
    QByteArray readAll() override { return m_port.readAll(); }
    QString errorString() const override { return m_port.errorString(); }

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    QString m_displayName;
    qint32 m_baud = DefaultBaudRate;
    bool m_errorReported = false; // one report per connection
    bool m_opening = false;
};

} // namespace kvl
