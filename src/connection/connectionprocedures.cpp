#include "connection/connectionprocedures.h"

#include "app/errorlog.h"
#include "app/session.h"
#include "link/exchange.h"
#include "link/comportmap.h"
#include "link/exchange.h"
#include "link/seriallink.h"
#include "link/serialport.h"
#include "logger/clockcommands.h"
#include "logger/filecommands.h"
#include "registry/deviceregistry.h"
#include "registry/modemtype.h"

namespace kvl {

namespace {

// The direct probe is the clock read with a long patience: a logger busy measuring may
// take its time, and the cable has no modem to report a failure.
constexpr int ProbePollMs = 100;
constexpr int ProbeResendAfter = 20;
constexpr int ProbeGiveUpAfter = 500;   // about 50 s
// A modem answers its initialisation command at once; one resend covers a lost line.
constexpr int ModemInitResendAfter = 20;
constexpr int ModemInitGiveUpAfter = 50;
// Dialling and the carrier handshake take up to half a minute.
constexpr int DialPollMs = 500;
constexpr int DialGiveUpAfter = 60;     // about 30 s
constexpr int DialCommandMaxLength = 100;
// Hang-ups: the modem needs a pause between its disconnect text and the escape.
constexpr int HangUpPauseMs = 100;
constexpr int HangUpResendAfter = 20;
constexpr int AtHangUpGiveUpAfter = 100;
constexpr int LteHangUpGiveUpAfter = 50;
// Settling time after each modem line is raised before the port is closed.
constexpr int SignalSettleMs = 100;

const QString CrLf = QStringLiteral("\r\n");

const Setup &deviceAt(const Session &session, int index)
{
    if (!session.DeviceInfo || index < 0 || index >= DeviceRegistry::SlotCount)
        throw PlatformError(QStringLiteral("No device selected"));
    return (*session.DeviceInfo)[index];
}

SerialPort &portOf(const Session &session)
{
    if (!session.ComPort)
        throw PlatformError(QStringLiteral("No com port"));
    return *session.ComPort;
}

int kindOf(const Session &session, int index) { return MdoemTypeFind(deviceAt(session, index).ModemSet.ModemType); }

bool buffHas(const Session &session, QStringView keyword) { return session.Buff.toUpper().contains(keyword); }

// The record's baud rate as a decimal number; a text that is none is a conversion error.
qint32 baudRateOf(const QString &text)
{
    bool numeric = false;
    const qint32 baud = text.toInt(&numeric);
    if (!numeric)
        throw PlatformError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return SerialLink::supportedBaudRates().contains(baud) ? baud : DefaultBaudRate;
}

// Raises RTS and DTR with their settling pauses, then closes the port.
void settleAndClose(Session &session, SerialPort &port)
{
    port.setRequestToSend(true);
    session.delay(SignalSettleMs);
    port.setDataTerminalReady(true);
    session.delay(SignalSettleMs);
    port.close();
}

Exchange dialExchange(const Session &session, int index, const QStringList &doneKeywords)
{
    const Modem &modem = deviceAt(session, index).ModemSet;
    Exchange e = Exchange::forKeywords((modem.CallCMD + modem.ModemNo).left(DialCommandMaxLength), doneKeywords,
                                       DialGiveUpAfter);
    e.pollMs = DialPollMs;
    e.labelPrefix = QStringLiteral("CDMA Try Connect ");
    e.labelSuffix = QStringLiteral("[500msec]");
    return e;
}

// A modem confirms a hang-up with NO CARRIER, or refuses it with ERROR; its OK to the
// escape alone does not end the wait.
BuffTest hangUpConfirmed()
{
    return keywordTest({QStringLiteral("CARRIER"), QStringLiteral("ERROR")});
}

const QString HangUpLabel = QStringLiteral("Try Disconnect ");

} // namespace

QString escapeSequence()
{
    return QString(QChar(29)) + QStringLiteral("+++") + QChar(27);
}

bool Connect(Session &session, int index, bool showMessages)
{
    if (!ComportOpenConnect(session, index, showMessages))
        return session.Connect_flg;
    if (ModemSettingOpen(session, index, showMessages)) {
        // The direct probe has already reached the logger; behind a modem the clock read
        // confirms that the logger answers through the call. A silent logger leaves the
        // call up and the port open for the user to disconnect.
        session.Connect_flg = kindOf(session, index) == ModemKind::Direct || PROGRAM_COMMAND_TimeRead(session, index);
        if (showMessages)
            session.message(session.Connect_flg ? QStringLiteral("Connect Success.") : QStringLiteral("UnConnect"));
    } else {
        ComportOpenDISConnect(session, index);
        session.Connect_flg = false;
        if (showMessages)
            session.message(QStringLiteral("UnConnect"));
    }
    return session.Connect_flg;
}

bool ComportOpenConnect(Session &session, int index, bool showMessages)
{
    SerialPort &port = portOf(session);
    const Setup &device = deviceAt(session, index);
    if (port.isOpen()) {
        session.status(0, QStringLiteral("Error - ComOpened"));
        if (showMessages)
            session.message(QStringLiteral("Retry to connect"));
        port.setRequestToSend(false);
        port.setDataTerminalReady(false);
        port.close();
        return false;
    }
    port.setBaudRate(baudRateOf(device.PortSet.Baudrate));
    const QString path = systemPortPath(device.PortSet.COMPORT, session.ProgramFolder);
    port.setPortName(path, path);
    port.setStopBits(QSerialPort::OneStop); // the parity stays as the port has it
    if (!port.open())
        throw PlatformError(QStringLiteral("Cannot open %1: %2").arg(path, port.errorString()));
    port.setRequestToSend(true);
    port.setDataTerminalReady(true);
    session.status(0, QStringLiteral("Com Opened"));
    return port.isOpen();
}

bool ModemSettingOpen(Session &session, int index, bool showMessages)
{
    if (kindOf(session, index) == ModemKind::Direct)
        return NoneConnect(session, index);
    return ATCommand(session, index, showMessages);
}

bool NoneConnect(Session &session, int index)
{
    Exchange e = Exchange::forKeywords(QStringLiteral("#T") + deviceAt(session, index).DeviceSet.LogID
                                           + QStringLiteral(" R"),
                                       {QStringLiteral("READ")}, ProbeGiveUpAfter, ProbeResendAfter);
    e.pollMs = ProbePollMs;
    return runExchange(session, e);
}

bool ATCommand(Session &session, int index, bool /*showMessages*/)
{
    Exchange e = Exchange::forKeywords(deviceAt(session, index).ModemSet.Command, {QStringLiteral("OK")},
                                       ModemInitGiveUpAfter, ModemInitResendAfter);
    e.labelPrefix = QStringLiteral("CDMA Try Connect ");
    if (!runExchange(session, e))
        return false;
    if (kindOf(session, index) == ModemKind::MRX417)
        return LTE_CommandConnect(session, index);
    return CDMACallCMDConnect(session, index);
}

bool CDMACallCMDConnect(Session &session, int index)
{
    Exchange e = dialExchange(session, index,
                              {QStringLiteral("CONNECT"), QStringLiteral("ERROR"), QStringLiteral("CARRIER")});
    e.resultTest = keywordTest({QStringLiteral("CONNECT")});
    if (runExchange(session, e))
        return true;
    if (buffHas(session, u"ERROR"))
        session.message(QStringLiteral("CDMA - Connect Error"));
    else if (buffHas(session, u"CARRIER"))
        session.message(QStringLiteral("CDMA - Connect CARRIER"));
    return false;
}

bool LTE_CommandConnect(Session &session, int index)
{
    // This modem may lose the first characters of its CONNECT: "NECT" both ends the wait and
    // counts as the call made, so a garbled answer is taken when it arrives, not after the
    // whole half-minute give-up.
    Exchange e = dialExchange(session, index,
                              {QStringLiteral("NECT"), QStringLiteral("ERROR"), QStringLiteral("RRIER")});
    e.resultTest = keywordTest({QStringLiteral("NECT")});
    if (runExchange(session, e))
        return true;
    if (buffHas(session, u"ERROR") || buffHas(session, u"NO"))
        session.message(QStringLiteral("LTE - Connect Error"));
    else if (buffHas(session, u"RIER"))
        session.message(QStringLiteral("LTE - Connect CARRIER"));
    return false;
}

bool DISConnect(Session &session, int index, bool showMessages, bool closePort)
{
    session.busyCursor().setBusy(true);
    const auto finish = [&session] {
        session.Connect_flg = false;
        session.busyCursor().setBusy(false);
    };
    bool ok = false;
    try {
        session.Result = PROGRAM_COMMAND_ROOT(session, index);
        session.Result = PROGRAM_COMMAND_Terminal_Mode_Close(session, index);
        switch (kindOf(session, index)) {
        case ModemKind::Direct:
            ok = ComportOpenDISConnect(session, index);
            break;
        case ModemKind::MRX417:
            ok = LTE_DISConnect(session, index, showMessages, closePort);
            break;
        default:
            ok = AT_DISConnect(session, index, showMessages, closePort);
            break;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return ok;
}

bool ComportOpenDISConnect(Session &session, int index)
{
    SerialPort &port = portOf(session);
    if (!port.isOpen()) {
        session.Connect_flg = false;
        return false;
    }
    // Whatever happens to the disconnect text, the port ends closed.
    const auto closeIfOpen = [&session, &port] {
        if (port.isOpen())
            settleAndClose(session, port);
        session.Connect_flg = false;
    };
    try {
        sendCommand(session, deviceAt(session, index).ModemSet.DiscntCMD, QString(), /*showCommand=*/false);
        settleAndClose(session, port);
    } catch (...) {
        closeIfOpen();
        throw;
    }
    closeIfOpen();
    return true;
}

bool AT_DISConnect(Session &session, int index, bool /*showMessages*/, bool closePort)
{
    const QString disconnectText = deviceAt(session, index).ModemSet.DiscntCMD;
    PollWait w;
    w.send = [&session, &disconnectText] {
        sendCommand(session, disconnectText);
        session.delay(HangUpPauseMs);
        sendCommand(session, escapeSequence());
    };
    w.resendAfter = HangUpResendAfter;
    w.giveUpAfter = AtHangUpGiveUpAfter;
    w.doneTest = hangUpConfirmed();
    w.showProgress = [&session](int n) {
        session.status(2, HangUpLabel + QString::number(n) + QStringLiteral("[100msec]"));
    };
    session.Buff.clear();
    const bool ok = runPollWait(session, w).result;
    if (closePort)
        ComportOpenDISConnect(session, index);
    return ok;
}

bool LTE_DISConnect(Session &session, int index, bool /*showMessages*/, bool closePort)
{
    Exchange e;
    e.command = escapeSequence();
    e.resendAfter = HangUpResendAfter;
    e.giveUpAfter = LteHangUpGiveUpAfter;
    e.doneTest = hangUpConfirmed();
    e.labelPrefix = HangUpLabel;
    const bool ok = runExchange(session, e);
    if (closePort)
        ComportOpenDISConnect(session, index);
    return ok;
}

} // namespace kvl
