#include "app/errorlog.h"
#include "logger/clockcommands.h"
#include "support/testrig.h"

#include <QTest>

#include <optional>

using namespace kvl;
using namespace kvl::test;

namespace {

enum Op { TimeRead, TimeSetting, Reset, ModeT, Open, Close };

bool runOp(Session &session, int op)
{
    switch (op) {
    case TimeRead: return PROGRAM_COMMAND_TimeRead(session, 0);
    case TimeSetting: return PROGRAM_COMMAND_TimeSetting(session, 0, true);
    case Reset: return PROGRAM_COMMAND_Reset(session, 0, true);
    case ModeT: return PROGRAM_COMMAND_Mode_T(session, 0);
    case Open: return PROGRAM_COMMAND_Terminal_Mode_Open(session, 0);
    case Close: return PROGRAM_COMMAND_Terminal_Mode_Close(session, 0);
    }
    return false;
}

// Logger 01 in slot 0, selected, port open; a caller's receive view (5) and a stale
// NowYear, so that what the commands change shows.
struct Rig : TestRig {
    explicit Rig(const QString &logId = QStringLiteral("01"))
    {
        registry[0].DeviceSet.DeviceName = QStringLiteral("Dam A");
        registry[0].DeviceSet.LogID = logId;
        session.Selected_index = 0;
        session.RxTypeIndex = 5;
        session.NowYear = QStringLiteral("xx");
        port.open();
    }
    QStringList sent() const
    {
        QStringList lines;
        for (const QByteArray &l : port.sentLines())
            lines << QString::fromLatin1(l);
        return lines;
    }
};

} // namespace

class ClockCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void unansweredCommand_data();
    void unansweredCommand();
    void answeredCommand_data();
    void answeredCommand();
    void stopEndsWaitAtNextPoll_data();
    void stopEndsWaitAtNextPoll();
    void errorDuringWaitStillRestores_data();
    void errorDuringWaitStillRestores();
    void buttons_data();
    void buttons();
};

// A logger that never answers the command; one unrelated line arrives during the first
// poll. The run starts a second before the minute turns, so the clock set's resend falls
// in the next minute and must still repeat the first line.
void ClockCommandsTest::unansweredCommand_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("logId");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("pollMs");
    QTest::addColumn<int>("resendAfter");
    QTest::addColumn<int>("giveUpAfter");
    QTest::addColumn<QString>("labelPrefix");
    QTest::addColumn<QString>("labelSuffix");
    QTest::addColumn<int>("settleMs");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("buffAfter");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("rxAfter");
    QTest::addColumn<bool>("clearsTerminalView");
    QTest::addColumn<QString>("nowYear");

    const QString one = QStringLiteral("01");
    const QString ms100 = QStringLiteral("[100msec]");
    const QString stray = QStringLiteral("BUSY");
    QTest::newRow("clock read") << int(TimeRead) << one << QStringLiteral("#T01 R") << 100 << 20 << 50
        << QStringLiteral("Try Connect ") << ms100 << 0 << false << QString() << QStringList() << 5 << false
        << QStringLiteral("24");
    QTest::newRow("clock read, one-character LogID") << int(TimeRead) << QStringLiteral("1")
        << QStringLiteral("#T1 R") << 100 << 20 << 50 << QStringLiteral("Try Connect ") << ms100 << 0 << false
        << QString() << QStringList() << 5 << false << QStringLiteral("24");
    QTest::newRow("clock set") << int(TimeSetting) << one << QStringLiteral("#T01 W 24 05 12 10 30") << 100 << 20
        << 50 << QStringLiteral("Time set - ") << ms100 << 0 << false << stray << QStringList() << 5 << false
        << QStringLiteral("24");
    QTest::newRow("reset") << int(Reset) << one << QStringLiteral("#RESET01") << 100 << 20 << 50
        << QStringLiteral("Time set - ") << ms100 << 0 << false << QString() << QStringList() << 5 << false
        << QStringLiteral("xx");
    QTest::newRow("mode /t") << int(ModeT) << one << QStringLiteral("mode /t") << 100 << 10 << 20
        << QStringLiteral("mode /t - ") << ms100 << 0 << false << QString() << QStringList() << 0 << false
        << QStringLiteral("xx");
    QTest::newRow("terminal open") << int(Open) << one << QStringLiteral("#M01 T O") << 200 << 20 << 40
        << QStringLiteral("#M01 T O - ") << QStringLiteral("[200msec]") << 300 << false << stray
        << QStringList{QStringLiteral("Terminal Mode Error")} << 5 << true << QStringLiteral("xx");
    QTest::newRow("terminal close") << int(Close) << one << QStringLiteral("#M01 T C") << 200 << 20 << 40
        << QStringLiteral("Try Connect ") << ms100 << 0 << true << stray << QStringList() << 0 << true
        << QStringLiteral("xx");
}

void ClockCommandsTest::unansweredCommand()
{
    QFETCH(int, op);
    QFETCH(QString, logId);
    QFETCH(QString, command);
    QFETCH(int, pollMs);
    QFETCH(int, resendAfter);
    QFETCH(int, giveUpAfter);
    QFETCH(QString, labelPrefix);
    QFETCH(QString, labelSuffix);
    QFETCH(int, settleMs);
    QFETCH(bool, result);
    QFETCH(QString, buffAfter);
    QFETCH(QStringList, messages);
    QFETCH(int, rxAfter);
    QFETCH(bool, clearsTerminalView);
    QFETCH(QString, nowYear);

    Rig rig(logId);
    rig.clock.advance(54'000); // 10:30:59
    const QDateTime start = rig.clock.now();
    rig.session.Buff = QStringLiteral("stale");
    rig.session.Result = !result;
    rig.port.deliverAt(rig.clock.tickMs() + 50, "BUSY\r");

    QCOMPARE(runOp(rig.session, op), result);

    QCOMPARE(rig.sent(), QStringList({command, command}));
    QCOMPARE(rig.hooks.tx, QStringList({
        start.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss: ")) + command,
        start.addMSecs(qint64(resendAfter + 1) * pollMs).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss: ")) + command}));
    // The resend goes out right after the poll that passes the resend count.
    QString label, labelAtResend;
    int sends = 0;
    for (const auto &[panel, text] : rig.hooks.statusWrites) {
        if (panel == 2)
            label = text;
        if (panel == 3 && ++sends == 2)
            labelAtResend = label;
    }
    QCOMPARE(labelAtResend, labelPrefix + QString::number(resendAfter + 1) + labelSuffix);
    QCOMPARE(rig.session.Time_Out, giveUpAfter + 1);
    QCOMPARE(rig.hooks.panels.value(2), labelPrefix + QString::number(giveUpAfter + 1) + labelSuffix);
    QCOMPARE(rig.hooks.panels.value(3), command);
    QCOMPARE(rig.clock.tickMs() - 54'000, qint64(giveUpAfter + 1) * pollMs + settleMs);
    QCOMPARE(rig.session.Buff, buffAfter);
    QCOMPARE(rig.hooks.messages, messages);
    QCOMPARE(rig.session.RxTypeIndex, rxAfter);
    QCOMPARE(rig.hooks.clears.value(0) > 0, clearsTerminalView);
    QCOMPARE(rig.session.NowYear, nowYear);
    if (op == TimeRead)
        QCOMPARE(rig.session.Result, false);
}

// The logger answers the first send after a latency.
void ClockCommandsTest::answeredCommand_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("latencyMs");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("sends");
    QTest::addColumn<int>("timeOut");
    QTest::addColumn<int>("elapsedMs");
    QTest::addColumn<QString>("buffAfter");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("rxAfter");

    const QStringList none;
    QTest::newRow("clock read, reply on third poll") << int(TimeRead) << true << QByteArray("#T01 R")
        << QByteArray("Time Read 08 05 12 10 30\r\n") << 250 << true << 1 << 3 << 300 << QString() << none << 5;
    QTest::newRow("clock set, confirmed") << int(TimeSetting) << true << QByteArray("#T01 W 24 05 12 10 30")
        << QByteArray("Time Set 08 05 12 10 30\r\n") << 150 << true << 1 << 2 << 200
        << QStringLiteral("Time Set 24 05 12 10 30") << QStringList{QStringLiteral("Time set OK")} << 5;
    QTest::newRow("clock set, unconfirmed") << int(TimeSetting) << false << QByteArray("#T01 W 24 05 12 10 30")
        << QByteArray("Time Set 08 05 12 10 30\r\n") << 150 << true << 1 << 2 << 200
        << QStringLiteral("Time Set 24 05 12 10 30") << none << 5;
    QTest::newRow("reset") << int(Reset) << true << QByteArray("#RESET01") << QByteArray("RESET OK\r\n") << 150
        << true << 1 << 2 << 200 << QStringLiteral("RESET OK") << QStringList{QStringLiteral("RESET OK")} << 5;
    QTest::newRow("mode /t") << int(ModeT) << true << QByteArray("mode /t") << QByteArray("Mode FULL\r\n") << 150
        << true << 1 << 2 << 200 << QString() << none << 0;
    QTest::newRow("terminal open") << int(Open) << true << QByteArray("#M01 T O") << QByteArray("Terminal Mode\r\n")
        << 350 << true << 1 << 2 << 400 + 300 << QString() << none << 5;
    QTest::newRow("terminal open, lower case") << int(Open) << true << QByteArray("#M01 T O")
        << QByteArray("terminal mode\r\n") << 350 << false << 2 << 41 << 41 * 200 + 300
        << QStringLiteral("terminal mode") << QStringList{QStringLiteral("Terminal Mode Error")} << 5;
    QTest::newRow("terminal open, upper case") << int(Open) << true << QByteArray("#M01 T O")
        << QByteArray("TERMINAL\r\n") << 350 << false << 2 << 41 << 41 * 200 + 300 << QStringLiteral("TERMINAL")
        << QStringList{QStringLiteral("Terminal Mode Error")} << 5;
    QTest::newRow("terminal close") << int(Close) << true << QByteArray("#M01 T C") << QByteArray("Unconnect\r\n")
        << 350 << true << 1 << 2 << 400 + 500 << QStringLiteral("Unconnect") << none << 0;
}

void ClockCommandsTest::answeredCommand()
{
    QFETCH(int, op);
    QFETCH(bool, confirm);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, reply);
    QFETCH(int, latencyMs);
    QFETCH(bool, result);
    QFETCH(int, sends);
    QFETCH(int, timeOut);
    QFETCH(int, elapsedMs);
    QFETCH(QString, buffAfter);
    QFETCH(QStringList, messages);
    QFETCH(int, rxAfter);

    Rig rig;
    rig.port.script(command, {{reply, latencyMs}});
    bool ok = false;
    if (op == TimeSetting)
        ok = PROGRAM_COMMAND_TimeSetting(rig.session, 0, confirm);
    else
        ok = runOp(rig.session, op);

    QCOMPARE(ok, result);
    QCOMPARE(rig.port.writeCount(command), sends);
    QCOMPARE(rig.port.writes().size(), sends);
    QCOMPARE(rig.session.Time_Out, timeOut);
    QCOMPARE(rig.clock.tickMs(), qint64(elapsedMs));
    QCOMPARE(rig.session.Buff, buffAfter);
    QCOMPARE(rig.hooks.messages, messages);
    QCOMPARE(rig.session.RxTypeIndex, rxAfter);
    if (op == TimeRead)
        QCOMPARE(rig.session.Result, true);
}

// Stop pressed during the fifth poll: the wait ends at the next poll with the result test.
void ClockCommandsTest::stopEndsWaitAtNextPoll_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<bool>("result");
    QTest::newRow("clock read") << int(TimeRead) << false;
    QTest::newRow("clock set") << int(TimeSetting) << false;
    QTest::newRow("reset") << int(Reset) << false;
    QTest::newRow("mode /t") << int(ModeT) << false;
    QTest::newRow("terminal open") << int(Open) << false;
    QTest::newRow("terminal close") << int(Close) << true;
}

void ClockCommandsTest::stopEndsWaitAtNextPoll()
{
    QFETCH(int, op);
    QFETCH(bool, result);

    Rig rig;
    rig.clock.onDelay([&](int n) {
        if (n == 5)
            rig.session.Stop_flg();
    });
    QCOMPARE(runOp(rig.session, op), result);
    QCOMPARE(rig.session.Time_Out, 5);
    QCOMPARE(rig.port.writes().size(), 1);
    QVERIFY(rig.hooks.messages.isEmpty() || op == Open);
}

// A port error at the resend ends the operation by exception; "mode /t" still leaves Buff
// empty and the terminal-mode open still gives back the caller's receive view.
void ClockCommandsTest::errorDuringWaitStillRestores_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("buffAfter");
    QTest::addColumn<int>("rxAfter");
    QTest::newRow("mode /t") << int(ModeT) << QString() << 0;
    QTest::newRow("terminal open") << int(Open) << QStringLiteral("BUSY") << 5;
}

void ClockCommandsTest::errorDuringWaitStillRestores()
{
    QFETCH(int, op);
    QFETCH(QString, buffAfter);
    QFETCH(int, rxAfter);

    Rig rig;
    rig.port.deliverAt(50, "BUSY\r");
    rig.clock.onDelay([&](int n) {
        if (n == 5)
            rig.port.failWrite = true;
    });
    QVERIFY_THROWS_EXCEPTION(PlatformError, runOp(rig.session, op));
    QCOMPARE(rig.port.writes().size(), 1);
    QCOMPARE(rig.session.Buff, buffAfter);
    QCOMPARE(rig.session.RxTypeIndex, rxAfter);
}

void ClockCommandsTest::buttons_data()
{
    QTest::addColumn<int>("button"); // 0 Time SET (program), 1 Time SET (terminal), 2 Reset
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("rxAfter");

    const QStringList unconnected{QStringLiteral(" Datalogger is Unconnected")};
    const QString clockSet = QStringLiteral("#T01 W 24 05 12 10 30");
    QTest::newRow("Time SET, unconnected") << 0 << false << false << QStringList() << unconnected << 5;
    QTest::newRow("Reset, unconnected") << 2 << false << false << QStringList() << unconnected << 5;
    QTest::newRow("Time SET, program page") << 0 << true << false << QStringList{clockSet}
        << QStringList{QStringLiteral("Time set OK")} << 9;
    QTest::newRow("Time SET, terminal page") << 1 << true << false << QStringList{clockSet}
        << QStringList{QStringLiteral("Time set OK")} << 0;
    QTest::newRow("Reset") << 2 << true << false << QStringList{QStringLiteral("#RESET01")}
        << QStringList{QStringLiteral("RESET OK")} << 9;
    QTest::newRow("Time SET, another operation running") << 0 << true << true << QStringList() << QStringList()
        << 5;
}

void ClockCommandsTest::buttons()
{
    QFETCH(int, button);
    QFETCH(bool, connected);
    QFETCH(bool, busy);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, messages);
    QFETCH(int, rxAfter);

    Rig rig;
    rig.session.Connect_flg = connected;
    rig.session.Stop_flg(); // left set by an earlier Stop: a started press clears it
    rig.port.script("#T01 W 24 05 12 10 30", {{"Time Set 08 05 12 10 30\r", 150}});
    rig.port.script("#RESET01", {{"RESET OK\r", 150}});
    std::optional<OperationGuard> running;
    if (busy)
        running.emplace(rig.session);

    const bool ok = button == 2 ? resetButton(rig.session)
                                : timeSetButton(rig.session, button == 0 ? ProgramReplyView : TerminalView);

    QCOMPARE(ok, !sent.isEmpty());
    QCOMPARE(rig.sent(), sent);
    QCOMPARE(rig.hooks.messages, messages);
    QCOMPARE(rig.session.RxTypeIndex, rxAfter);
    // Only a press that runs clears the stop flags; a refused one leaves them to the
    // operation that is running.
    QCOMPARE(rig.session.delay_stop_flg, sent.isEmpty());
    QCOMPARE(rig.session.Stop_Flag, sent.isEmpty());
    if (busy)
        QVERIFY(rig.hooks.panels.value(4).startsWith(QStringLiteral("Busy")));
    QVERIFY(!rig.session.operationRunning() || busy);
}

QTEST_GUILESS_MAIN(ClockCommandsTest)
#include "tst_clockcommands.moc"
