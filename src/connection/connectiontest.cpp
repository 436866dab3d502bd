#include "connection/connectiontest.h"

#include "app/errorlog.h"
#include "app/session.h"
#include "connection/connectionprocedures.h"
#include "link/exchange.h"
#include "link/exchange.h"
#include "link/seriallink.h"
#include "link/serialport.h"
#include "registry/setuppage.h"

namespace kvl {

namespace {

constexpr int TestPollMs = 100;
constexpr int ProbeGiveUpAfter = 200;      // about 20 s for the logger's clock reply
constexpr int ModemCheckGiveUpAfter = 30;  // a modem answers its command at once
constexpr int ModemCallGiveUpAfter = 400;  // dialling and the carrier handshake: up to 40 s
constexpr int HangUpGiveUpAfter = 30;

const QString CrLf = QStringLiteral("\r\n");
const QString ProgressBar = QStringLiteral("pgbTest");

QString noAnswerText(const Session &session)
{
    return session.clock().now().toString(QStringLiteral("hhmmss"))
        + QStringLiteral(" : no answer [CDMA Time out Error] -");
}

QString secondsLabel(int polls)
{
    return QStringLiteral("CDMA Try Connect ") + QString::number(polls / 10) + QStringLiteral("[sec]");
}

// A test step: Buff emptied before the send (a line left over from an earlier exchange
// must not pass for the answer) and after the wait; the test's own stop flag.
PollWait stepWait(Session &session, int giveUpAfter, const QStringList &keywords, bool caseSensitive = false)
{
    session.Buff.clear();
    PollWait w;
    w.pollMs = TestPollMs;
    w.giveUpAfter = giveUpAfter;
    w.stopFlag = &session.Stop_Flag;
    w.doneTest = keywordTest(keywords, caseSensitive);
    return w;
}

bool finishStep(Session &session, bool result)
{
    session.Buff.clear();
    session.Result = result;
    return result;
}

void setProgress(Session &session, int value) { session.progress().setProgress(ProgressBar, value); }

void closePort(Session &session)
{
    if (session.Link)
        session.Link->ComPortClose();
}


bool modemTest(Session &session, const ConnectionTestSettings &settings)
{
    const auto modemFailed = [&session] {
        session.message(QStringLiteral("Fail - Modem is not Connected"));
        closePort(session);
        setProgress(session, 0);
        return false;
    };
    if (!ModemCheck(session, settings.command))
        return modemFailed();
    setProgress(session, 60);
    session.Buff.clear();
    if (!ModemCall(session, settings.callCmd, settings.modemNo))
        return modemFailed();
    setProgress(session, 80);
    session.Buff.clear();
    session.message(QStringLiteral("OK - Modem is Connected"));

    const bool loggerAnswered = COMDirectConnect(session, settings.logId);
    if (loggerAnswered) {
        setProgress(session, 100);
        session.message(QStringLiteral("OK - Logger is Connected"));
    } else {
        session.message(QStringLiteral("Fail - Logger is not connected"));
    }
    // Every modem is hung up with the escape; a modem that does not confirm keeps the
    // port open, so the user can still hang it up by hand.
    if (MRX417Disconnect(session)) {
        session.message(QStringLiteral("Modem is disconnected"));
        closePort(session);
    }
    return loggerAnswered;
}

} // namespace

ConnectionTestSettings connectionTestSettings(const SetupPageModel &page)
{
    ConnectionTestSettings s;
    s.modemType = page.text(SetupPageModel::clbModemType);
    s.portText = page.text(SetupPageModel::cbbPortno);
    s.baudrate = page.text(SetupPageModel::cbbBaudrate);
    s.parity = page.text(SetupPageModel::edtParity);
    s.stopBits = page.text(SetupPageModel::edtStopbits);
    s.logId = page.text(SetupPageModel::clbLogID);
    s.command = page.text(SetupPageModel::edtCommand1);
    s.callCmd = page.text(SetupPageModel::edtCallCmd);
    s.modemNo = page.text(SetupPageModel::edtModemNo);
    return s;
}

int testPortNumber(const QString &portText)
{
    bool numeric = false;
    const int number = portText.toUpper().remove(QStringLiteral("COM")).toInt(&numeric);
    return numeric ? number : 0;
}

bool COMDirectConnect(Session &session, const QString &address)
{
    if (session.Selected_index < 0 || !session.ComPort || !session.ComPort->isOpen())
        return finishStep(session, false);
    PollWait w = stepWait(session, ProbeGiveUpAfter, {QStringLiteral("Read")}, /*caseSensitive=*/true);
    const QString probe = QStringLiteral("#t") + address + QStringLiteral(" r;");
    w.send = [&session, &probe] { sendCommand(session, probe, CrLf, /*showCommand=*/false); };
    w.showProgress = [&session](int n) {
        session.status(2, QStringLiteral("Try Connect ") + QString::number(n) + QStringLiteral("[100msec]"));
    };
    return finishStep(session, runPollWait(session, w).result);
}

bool ModemCheck(Session &session, const QString &command)
{
    PollWait w = stepWait(session, ModemCheckGiveUpAfter, {QStringLiteral("OK")});
    w.send = [&session, &command] { sendCommand(session, command); };
    w.showProgress = [&session](int n) {
        if (n % 10 == 0)
            session.status(2, secondsLabel(n));
    };
    const PollOutcome outcome = runPollWait(session, w);
    if (outcome.gaveUp)
        session.status(4, noAnswerText(session));
    return finishStep(session, outcome.result);
}

bool ModemCall(Session &session, const QString &callCmd, const QString &number)
{
    if (callCmd.isEmpty())
        return session.Result; // nothing to dial: the modem is taken as it is
    PollWait w = stepWait(session, ModemCallGiveUpAfter, {QStringLiteral("CONNECT"), QStringLiteral("CARRIER")});
    w.resultTest = keywordTest({QStringLiteral("CONNECT")});
    const QString line = callCmd + number;
    w.send = [&session, &line] { sendCommand(session, line); };
    w.showProgress = [&session](int n) { session.status(2, secondsLabel(n)); };
    const PollOutcome outcome = runPollWait(session, w);
    if (outcome.gaveUp)
        session.status(4, noAnswerText(session)
                              + session.clock().now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    return finishStep(session, outcome.result);
}

bool MRX417Disconnect(Session &session)
{
    PollWait w = stepWait(session, HangUpGiveUpAfter, {QStringLiteral("CARRIER")});
    w.send = [&session] { sendCommand(session, escapeSequence(), CrLf, /*showCommand=*/false); };
    const PollOutcome outcome = runPollWait(session, w);
    if (outcome.gaveUp)
        session.status(4, noAnswerText(session));
    return finishStep(session, outcome.result);
}

bool connectionTestButton(Session &session, const ConnectionTestSettings &settings)
{
    OperationGuard guard(session);
    if (guard.refused())
        return false;
    session.Start_flg();
    BusyCursorScope busy(session);
    session.status(1, QStringLiteral("Try connect..."));
    setProgress(session, 0);
    if (settings.modemType == u"TCP/IP")
        return false;

    if (!session.Link)
        throw PlatformError(QStringLiteral("No com port"));
    session.Link->COMPortSetting(testPortNumber(settings.portText), settings.baudrate, settings.parity,
                                 settings.stopBits);
    setProgress(session, 20);
    session.Link->ComPortOpen();
    setProgress(session, 50);

    if (settings.modemType != u"Direct")
        return modemTest(session, settings);

    const bool answered = COMDirectConnect(session, settings.logId);
    if (answered) {
        session.status(1, QStringLiteral("Connect OK"));
        setProgress(session, 100);
        session.message(QStringLiteral("Success."));
    } else {
        session.status(1, QStringLiteral("Connect Fail"));
        setProgress(session, 0);
    }
    session.Buff.clear();
    closePort(session);
    return answered;
}

} // namespace kvl
