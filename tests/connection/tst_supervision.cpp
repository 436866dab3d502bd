// What the top bar and status bar show of the link, the connect/disconnect toggle, the
// terminal page's port buttons and the setup page's connection test.

#include "app/errorlog.h"
#include "connection/connectiontest.h"
#include "connection/supervision.h"
#include "support/testrig.h"

#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

using Script = QList<QPair<QByteArray, QByteArray>>;

// A direct-cabled logger 01 "Dam A" on COM7, selected; the port starts closed.
struct Rig : TestRig {
    Rig()
    {
        Setup &d = registry[0];
        d.DeviceSet.DeviceName = QStringLiteral("Dam A");
        d.DeviceSet.LogID = QStringLiteral("01");
        d.PortSet.COMPORT = 7;
        d.PortSet.Baudrate = QStringLiteral("9600");
        d.ModemSet.ModemType = QStringLiteral("Direct");
        session.Selected_index = 0;
    }
    void play(const Script &script)
    {
        for (const auto &[command, reply] : script)
            port.script(command, {{reply, 300}});
    }
};

struct RecordingTimers : ConnectionTimers {
    QStringList calls;
    void setBlinking(bool on) override { calls << (on ? QStringLiteral("blink on") : QStringLiteral("blink off")); }
    void setMonitoring(bool on) override
    {
        calls << (on ? QStringLiteral("monitor on") : QStringLiteral("monitor off"));
    }
};

const QByteArray ClockReply("Time Read 08 05 12 10 30\r");

} // namespace

class SupervisionTest : public QObject {
    Q_OBJECT
private slots:
    void monitoring_data();
    void monitoring();
    void connectButton_data();
    void connectButton();
    void connectButtonError();
    void terminalButtons();
    void connectionTest_data();
    void connectionTest();
};

void SupervisionTest::monitoring_data()
{
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QByteArray>("received"); // arrives while connected
    QTest::addColumn<QString>("buff");        // left in Buff after it
    QTest::addColumn<bool>("firstTick");
    QTest::addColumn<bool>("secondTick");
    QTest::addColumn<QString>("portPanel");
    QTest::addColumn<QString>("linkPanel"); // at the first tick

    const QString open = QStringLiteral("Comport Open");
    QTest::newRow("connected") << true << 0 << QByteArray() << QString() << true << true << open
                               << QStringLiteral("Dam A Connected");
    QTest::newRow("no device selected") << true << -1 << QByteArray() << QString() << true << true << open
                                        << QStringLiteral(" Connected");
    QTest::newRow("NO CARRIER line received") << true << 0 << QByteArray("NO CARRIER\r\n") << QString() << false
                                              << false << open << QStringLiteral("Dam A Disconnected");
    // The flag was set after the carrier report reached Buff: the next tick drops it.
    QTest::newRow("carrier report left in Buff") << true << 0 << QByteArray() << QStringLiteral("no carrier")
                                                 << true << false << open << QStringLiteral("Dam A Connected");
    QTest::newRow("port closed") << false << 0 << QByteArray() << QString() << false << false
                                 << QStringLiteral("Comport Close") << QStringLiteral("Dam A Disconnected");
}

void SupervisionTest::monitoring()
{
    QFETCH(bool, portOpen);
    QFETCH(int, selected);
    QFETCH(QByteArray, received);
    QFETCH(QString, buff);
    QFETCH(bool, firstTick);
    QFETCH(bool, secondTick);
    QFETCH(QString, portPanel);
    QFETCH(QString, linkPanel);

    Rig rig;
    rig.session.Selected_index = selected;
    if (portOpen)
        rig.port.open();
    rig.session.Connect_flg = true;
    if (!received.isEmpty())
        rig.port.inject(received);
    if (!buff.isEmpty())
        rig.session.Buff = buff;

    const ConnectionDisplay first = connectionMonitoringTick(rig.session);
    QCOMPARE(first.connected, firstTick);
    QCOMPARE(first.caption, firstTick ? QStringLiteral("Disconnect") : QStringLiteral("Connect"));
    QCOMPARE(first.portPanel, portPanel);
    QCOMPARE(first.linkPanel, linkPanel);
    QCOMPARE(rig.hooks.panels.value(0), portPanel);
    QCOMPARE(rig.hooks.panels.value(1), linkPanel);
    QCOMPARE(connectionMonitoringTick(rig.session).connected, secondTick);
    QCOMPARE(rig.session.Connect_flg, secondTick);
}

void SupervisionTest::connectButton_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("connectedBefore");
    QTest::addColumn<Script>("script");
    QTest::addColumn<bool>("connectedAfter");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("timerCalls");
    QTest::addColumn<int>("writes");

    const QStringList connecting{QStringLiteral("blink on"), QStringLiteral("monitor off"),
                                 QStringLiteral("blink off"), QStringLiteral("monitor on")};
    const QStringList afterwards{QStringLiteral("blink off"), QStringLiteral("monitor on")};
    QTest::newRow("no device selected") << -1 << false << Script{} << false
                                        << QStringList{QStringLiteral("Please select a device.")} << QStringList()
                                        << 0;
    QTest::newRow("connect") << 0 << false << Script{{"#T01 R", ClockReply}} << true
                             << QStringList{QStringLiteral("Sucess - Logger is Connected")} << connecting << 1;
    QTest::newRow("connect fails") << 0 << false << Script{} << false
                                   << QStringList{QStringLiteral("Logger is Disconnected")} << connecting << 3;
    QTest::newRow("disconnect") << 0 << true << Script{{"#M01 T C", "UNC\r"}} << false
                                << QStringList{QStringLiteral("Logger is Disconnected")} << afterwards << 3;
}

void SupervisionTest::connectButton()
{
    QFETCH(int, selected);
    QFETCH(bool, connectedBefore);
    QFETCH(Script, script);
    QFETCH(bool, connectedAfter);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, timerCalls);
    QFETCH(int, writes);

    Rig rig;
    rig.play(script);
    rig.session.Selected_index = selected;
    rig.session._3DSWriteMode = true;
    rig.session.delay_stop_flg = rig.session.Stop_Flag = true;
    if (connectedBefore) {
        rig.port.open();
        rig.session.Connect_flg = true;
    }
    RecordingTimers timers;

    QCOMPARE(kvl::connectButton(rig.session, &timers), connectedAfter);
    QCOMPARE(rig.session.Connect_flg, connectedAfter);
    QCOMPARE(rig.hooks.messages, messages);
    QCOMPARE(timers.calls, timerCalls);
    QCOMPARE(rig.port.writes().size(), writes);
    QCOMPARE(rig.port.isOpen(), connectedAfter);
    QVERIFY(!rig.session._3DSWriteMode);
    QVERIFY(!rig.session.delay_stop_flg && !rig.session.Stop_Flag);
    QVERIFY(!rig.session.operationRunning());
}

// A port that cannot be opened: the error goes on to the handler, but the timers are
// back to normal and the message tells the state first.
void SupervisionTest::connectButtonError()
{
    Rig rig;
    rig.port.failOpen = true;
    RecordingTimers timers;
    QVERIFY_THROWS_EXCEPTION(PlatformError, kvl::connectButton(rig.session, &timers));
    QCOMPARE(timers.calls.mid(2), (QStringList{QStringLiteral("blink off"), QStringLiteral("monitor on")}));
    QCOMPARE(rig.hooks.messages, QStringList{QStringLiteral("Logger is Disconnected")});
    QVERIFY(!rig.session.operationRunning());
}

void SupervisionTest::terminalButtons()
{
    Rig rig;
    QCOMPARE(terminalDisconnectButton(rig.session), false);
    QCOMPARE(rig.hooks.messages, QStringList{QStringLiteral("Open Comport.")});

    QCOMPARE(comOpenButton(rig.session), QStringLiteral("ComClose"));
    QVERIFY(rig.port.isOpen());
    QVERIFY(rig.hooks.statusWrites.contains(qMakePair(0, QStringLiteral("Com Opened"))));
    QCOMPARE(comOpenButton(rig.session), QStringLiteral("ComOpen"));
    QVERIFY(!rig.port.isOpen());

    rig.session.Selected_index = -1;
    QCOMPARE(comOpenButton(rig.session), QString());
    QVERIFY(!rig.port.isOpen());
}

void SupervisionTest::connectionTest_data()
{
    QTest::addColumn<QString>("modemType");
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("buffBefore");
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("linkPanel"); // every write to panel 1
    QTest::addColumn<QList<int>>("progress");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("portOpen");

    const QByteArray probe("#t01 r;");
    const QByteArray escape("\x1d+++\x1b");
    const QString trying = QStringLiteral("Try connect...");
    const QString closed = QStringLiteral("Disconnect"); // the port close's own text
    QTest::newRow("Direct, logger answers")
        << QStringLiteral("Direct") << Script{{probe, ClockReply}} << QString() << QList<QByteArray>{probe}
        << true << QStringList{trying, QStringLiteral("Connect OK"), closed} << QList<int>{0, 20, 50, 100}
        << QStringList{QStringLiteral("Success.")} << false;
    // A clock line left over from the terminal is no answer from this port.
    QTest::newRow("Direct, silent logger, stale clock line")
        << QStringLiteral("Direct") << Script{} << QStringLiteral("Time Read 24 05 12 10 29")
        << QList<QByteArray>{probe} << false << QStringList{trying, QStringLiteral("Connect Fail"), closed}
        << QList<int>{0, 20, 50, 0}
        << QStringList() << false;
    QTest::newRow("TCP/IP is not tested")
        << QStringLiteral("TCP/IP") << Script{} << QString() << QList<QByteArray>{} << false
        << QStringList{trying} << QList<int>{0} << QStringList() << false;
    QTest::newRow("modem OK, call NO CARRIER")
        << QStringLiteral("H315k") << Script{{"AT+CRM=129", "OK\r"}, {"ATDT0123", "NO CARRIER\r"}} << QString()
        << QList<QByteArray>{"AT+CRM=129", "ATDT0123"} << false << QStringList{trying, closed}
        << QList<int>{0, 20, 50, 60, 0}
        << QStringList{QStringLiteral("Fail - Modem is not Connected")} << false;
    QTest::newRow("modem and logger answer, hang-up confirmed")
        << QStringLiteral("N-Warden")
        << Script{{"AT+CRM=129", "OK\r"}, {"ATDT0123", "CONNECT 9600\r"}, {probe, ClockReply},
                  {escape, "NO CARRIER\r"}}
        << QString() << QList<QByteArray>{"AT+CRM=129", "ATDT0123", probe, escape} << true
        << QStringList{trying, closed}
        << QList<int>{0, 20, 50, 60, 80, 100}
        << QStringList{QStringLiteral("OK - Modem is Connected"), QStringLiteral("OK - Logger is Connected"),
                       QStringLiteral("Modem is disconnected")}
        << false;
    // Without a confirmed hang-up the port stays open for the user to hang up.
    QTest::newRow("logger silent, hang-up unconfirmed")
        << QStringLiteral("MRX-417") << Script{{"AT+CRM=129", "OK\r"}, {"ATDT0123", "CONNECT\r"}} << QString()
        << QList<QByteArray>{"AT+CRM=129", "ATDT0123", probe, escape} << false
        << QStringList{trying} << QList<int>{0, 20, 50, 60, 80}
        << QStringList{QStringLiteral("OK - Modem is Connected"), QStringLiteral("Fail - Logger is not connected")}
        << true;
}

void SupervisionTest::connectionTest()
{
    QFETCH(QString, modemType);
    QFETCH(Script, script);
    QFETCH(QString, buffBefore);
    QFETCH(QList<QByteArray>, sent);
    QFETCH(bool, result);
    QFETCH(QStringList, linkPanel);
    QFETCH(QList<int>, progress);
    QFETCH(QStringList, messages);
    QFETCH(bool, portOpen);

    Rig rig;
    rig.play(script);
    rig.session.Buff = buffBefore;
    ConnectionTestSettings page;
    page.modemType = modemType;
    page.portText = QStringLiteral("com12");
    page.baudrate = QStringLiteral("38400");
    page.parity = QStringLiteral("Even");
    page.stopBits = QStringLiteral("1");
    page.logId = QStringLiteral("01");
    page.command = QStringLiteral("AT+CRM=129");
    page.callCmd = QStringLiteral("ATDT");
    page.modemNo = QStringLiteral("0123");

    QCOMPARE(connectionTestButton(rig.session, page), result);
    QCOMPARE(rig.port.sentLines(), sent);
    QStringList panel1;
    for (const auto &[panel, text] : rig.hooks.statusWrites)
        if (panel == 1)
            panel1 << text;
    QCOMPARE(panel1, linkPanel);
    QCOMPARE(rig.hooks.progress.value(QStringLiteral("pgbTest")), progress);
    QCOMPARE(rig.hooks.messages, messages);
    QCOMPARE(rig.port.isOpen(), portOpen);
    QVERIFY(!rig.session.Connect_flg);
    QVERIFY(!rig.hooks.busy);
    if (!sent.isEmpty()) {
        // The page's port, rate and parity were tried, not the record's.
        QCOMPARE(rig.port.baudRate(), 38400);
        QCOMPARE(rig.port.parity(), QSerialPort::EvenParity);
        QVERIFY(rig.port.portName().endsWith(QStringLiteral("ttyS11")));
    }
}

QTEST_GUILESS_MAIN(SupervisionTest)
#include "tst_supervision.moc"
