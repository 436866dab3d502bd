#include "link/seriallink.h"

#include "app/errorlog.h"
#include "app/session.h"
#include "link/comportmap.h"
#include "link/serialport.h"

namespace kvl {

namespace {
// Settling time after raising each modem line, as the logger's interface expects.
constexpr int SignalSettleMs = 100;
} // namespace

SerialLink::SerialLink(Session &session, SerialPort &port, QObject *parent)
    : QObject(parent), m_session(session), m_port(port), m_framing(session)
{
    m_session.ComPort = &m_port;
    m_session.Link = this;
    connect(&m_port, &SerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(&m_port, &SerialPort::afterOpen, this,
            [this] { m_session.status(0, QStringLiteral("Com port Opened")); });
    connect(&m_port, &SerialPort::afterClose, this,
            [this] { m_session.status(0, QStringLiteral("Com port Closed")); });
    connect(&m_port, &SerialPort::portError, this, &SerialLink::onPortError);
}

SerialLink::~SerialLink()
{
    if (m_session.ComPort == &m_port)
        m_session.ComPort = nullptr;
    if (m_session.Link == this)
        m_session.Link = nullptr;
}

const QList<qint32> &SerialLink::supportedBaudRates()
{
    static const QList<qint32> rates{110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200,
                                     38400, 56000, 57600, 115200, 128000, 256000};
    return rates;
}

void SerialLink::COMPortSetting(int comNumber, const QString &baudText, const QString &parityText,
                                const QString &stopBitsText)
{
    Q_UNUSED(stopBitsText); // shown and stored, but the line always uses one stop bit
    const QString path = systemPortPath(comNumber, m_session.ProgramFolder);
    m_port.setPortName(path, path);

    bool numeric = false;
    const qint32 baud = baudText.trimmed().toInt(&numeric);
    if (!numeric)
        m_port.setBaudRate(115200);
    else if (supportedBaudRates().contains(baud))
        m_port.setBaudRate(baud);
    else
        m_port.setBaudRate(DefaultBaudRate);

    const QString parity = parityText.toUpper();
    if (parity.contains(u"NONE"))
        m_port.setParity(QSerialPort::NoParity);
    else if (parity.contains(u"ODD"))
        m_port.setParity(QSerialPort::OddParity);
    else if (parity.contains(u"EVEN"))
        m_port.setParity(QSerialPort::EvenParity);
    else if (parity.contains(u"MARK"))
        m_port.setParity(QSerialPort::MarkParity);
    else if (parity.contains(u"SPACE"))
        m_port.setParity(QSerialPort::SpaceParity);

    m_port.setStopBits(QSerialPort::OneStop);
}

void SerialLink::ComPortOpen()
{
    if (m_session.Selected_index < 0)
        return;
    if (m_port.isOpen()) {
        m_session.status(4, QStringLiteral("Port is already used."));
        return;
    }
    if (!m_port.open())
        return; // an error while opening ends the routine silently
    m_port.setRequestToSend(true);
    m_session.delay(SignalSettleMs);
    m_port.setDataTerminalReady(true);
    m_session.delay(SignalSettleMs);
    m_session.Result = m_port.isOpen();
    m_session.status(0, m_port.portName() + (m_port.isOpen() ? QStringLiteral(" Open") : QStringLiteral(" Close")));
}

void SerialLink::ComPortClose()
{
    if (m_session.Selected_index < 0 || !m_port.isOpen())
        return;
    m_port.close();
    if (m_port.isOpen())
        m_session.status(0, m_port.portName() + QStringLiteral(" Open"));
    else
        m_session.status(1, QStringLiteral("Disconnect"));
}

void SerialLink::onReadyRead()
{
    guarded(m_session, [this] { m_framing.ComPortRxChar(m_port.readAll()); });
}

void SerialLink::onPortError(const QString &message)
{
    AppException(m_session, message);
}

} // namespace kvl
