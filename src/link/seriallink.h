#pragma once
// The session's serial link: the port, its settings and the receive side. Editing the
// setup page never touches a live port; only COMPortSetting prepares it, and only the
// connection procedures, the connection test and the terminal's port button open it.

#include "link/receiveframing.h"

#include <QObject>

namespace kvl {

class Session;
class SerialPort;

class SerialLink : public QObject {
    Q_OBJECT
public:
    // The link becomes session.ComPort's owner of events; the port is not owned.
    SerialLink(Session &session, SerialPort &port, QObject *parent = nullptr);
    ~SerialLink() override;

    SerialPort &port() { return m_port; }
    ReceiveFraming &framing() { return m_framing; }

    // Prepares the port without opening it: device name for COM port n, baud rate (115200
    // when the text is no number; an unsupported rate leaves the built-in 9600), parity
    // (first of NONE, ODD, EVEN, MARK, SPACE found in the upper-cased text; none found
    // leaves it), always one stop bit.
    void COMPortSetting(int comNumber, const QString &baudText, const QString &parityText,
                        const QString &stopBitsText);

    // The connection test's open and close (nothing without a selected device).
    void ComPortOpen();
    void ComPortClose();

    static const QList<qint32> &supportedBaudRates();

private:
    void onReadyRead();
    void onPortError(const QString &message);

    Session &m_session;
    SerialPort &m_port;
    ReceiveFraming m_framing;
};

} // namespace kvl
