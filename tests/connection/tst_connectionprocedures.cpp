// Connecting and disconnecting by modem type: the command lines each kind sends, what
// ends each wait, and the state the link is left in.

#include "app/errorlog.h"
#include "connection/connectionprocedures.h"
#include "link/comportmap.h"
#include "support/testrig.h"

#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

// Reply bytes for a command line, after a modem-like latency.
using Script = QList<QPair<QByteArray, QByteArray>>;

// Logger 01 of "Dam A" on COM7 at 9600, selected; the port starts closed.
struct Rig : TestRig {
    explicit Rig(const QString &modemType)
    {
        Setup &d = registry[0];
        d.DeviceSet.DeviceName = QStringLiteral("Dam A");
        d.DeviceSet.LogID = QStringLiteral("01");
        d.PortSet.COMPORT = 7;
        d.PortSet.Baudrate = QStringLiteral("9600");
        d.ModemSet.ModemType = modemType;
        d.ModemSet.Command = QStringLiteral("AT+CRM=129");
        d.ModemSet.CallCMD = QStringLiteral("ATDT");
        d.ModemSet.ModemNo = QStringLiteral("0123");
        d.ModemSet.DiscntCMD = QStringLiteral("+++");
        session.Selected_index = 0;
    }
    void play(const Script &script)
    {
        for (const auto &[command, reply] : script)
            port.script(command, {{reply, 250}});
    }
};

const QByteArray Escape("\x1d+++\x1b");

} // namespace

class ConnectionProceduresTest : public QObject {
    Q_OBJECT
private slots:
    void connectByKind_data();
    void connectByKind();
    void garbledConnectEndsTheDialAtOnce();
    void directProbeGivesUp();
    void portAlreadyOpen();
    void portSettings_data();
    void portSettings();
    void disconnectByKind_data();
    void disconnectByKind();
    void disconnectErrorStillClearsLink();
};

void ConnectionProceduresTest::connectByKind_data()
{
    QTest::addColumn<QString>("modemType");
    QTest::addColumn<Script>("script");
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<QStringList>("messages");

    const QByteArray clock("Time Read 08 05 12 10 30\r");
    QTest::newRow("H315k dials, logger answers")
        << QStringLiteral("H315k")
        << Script{{"AT+CRM=129", "OK\r"}, {"ATDT0123", "CONNECT 9600\r"}, {"#T01 R", clock}}
        << QList<QByteArray>{"AT+CRM=129", "ATDT0123", "#T01 R"} << true << true
        << QStringList{QStringLiteral("Connect Success.")};
    // The failed dial closes the port, writing the disconnect text on the way out.
    QTest::newRow("H315k dial gets NO CARRIER")
        << QStringLiteral("H315k") << Script{{"AT+CRM=129", "OK\r"}, {"ATDT0123", "NO CARRIER\r"}}
        << QList<QByteArray>{"AT+CRM=129", "ATDT0123", "+++"} << false << false
        << QStringList{QStringLiteral("CDMA - Connect CARRIER"), QStringLiteral("UnConnect")};
    QTest::newRow("JT004 dial gets ERROR")
        << QStringLiteral("JT004") << Script{{"AT+CRM=129", "OK\r"}, {"ATDT0123", "ERROR\r"}}
        << QList<QByteArray>{"AT+CRM=129", "ATDT0123", "+++"} << false << false
        << QStringList{QStringLiteral("CDMA - Connect Error"), QStringLiteral("UnConnect")};
    QTest::newRow("silent modem is not dialled")
        << QStringLiteral("N-Warden") << Script{}
        << QList<QByteArray>{"AT+CRM=129", "AT+CRM=129", "+++"} << false << false
        << QStringList{QStringLiteral("UnConnect")};
    // The modem lost the first characters of CONNECT.
    QTest::newRow("MRX-417 dial gets NECT")
        << QStringLiteral("MRX-417")
        << Script{{"AT+CRM=129", "OK\r"}, {"ATDT0123", "NECT 115200\r"}, {"#T01 R", clock}}
        << QList<QByteArray>{"AT+CRM=129", "ATDT0123", "#T01 R"} << true << true
        << QStringList{QStringLiteral("Connect Success.")};
    // The call stays up for the user to hang up.
    QTest::newRow("logger silent behind the call")
        << QStringLiteral("H315k") << Script{{"AT+CRM=129", "OK\r"}, {"ATDT0123", "CONNECT 9600\r"}}
        << QList<QByteArray>{"AT+CRM=129", "ATDT0123", "#T01 R", "#T01 R"} << false << true
        << QStringList{QStringLiteral("UnConnect")};
    QTest::newRow("Direct logger answers")
        << QStringLiteral("Direct") << Script{{"#T01 R", clock}} << QList<QByteArray>{"#T01 R"} << true << true
        << QStringList{QStringLiteral("Connect Success.")};
}

void ConnectionProceduresTest::connectByKind()
{
    QFETCH(QString, modemType);
    QFETCH(Script, script);
    QFETCH(QList<QByteArray>, sent);
    QFETCH(bool, connected);
    QFETCH(bool, portOpen);
    QFETCH(QStringList, messages);

    Rig rig(modemType);
    rig.play(script);
    QCOMPARE(Connect(rig.session, 0, true), connected);
    QCOMPARE(rig.session.Connect_flg, connected);
    QCOMPARE(rig.port.sentLines(), sent);
    QCOMPARE(rig.port.isOpen(), portOpen);
    QCOMPARE(rig.hooks.messages, messages);
}

// The MRX-417 answers "NECT 115200" after 250 ms: the dial ends at the next 500 ms poll.
void ConnectionProceduresTest::garbledConnectEndsTheDialAtOnce()
{
    Rig rig(QStringLiteral("MRX-417"));
    rig.play({{"ATDT0123", "NECT 115200\r"}});
    rig.port.open();
    QVERIFY(LTE_CommandConnect(rig.session, 0));
    QCOMPARE(rig.session.Time_Out, 1);
    QCOMPARE(rig.clock.tickMs(), 500);
}

// A cable with no logger behind it: the probe goes out again after 21 polls and the
// connect gives up after 501 polls of 100 ms.
void ConnectionProceduresTest::directProbeGivesUp()
{
    Rig rig(QStringLiteral("Direct"));
    rig.registry[0].ModemSet.DiscntCMD.clear();
    QList<qint64> sendTimes;
    rig.clock.onDelay([&](int) {
        if (rig.port.writes().size() > sendTimes.size())
            sendTimes << rig.clock.tickMs();
    });

    QVERIFY(!Connect(rig.session, 0, false));
    QCOMPARE(rig.port.writeCount("#T01 R"), 2);
    QCOMPARE(sendTimes.value(1), 21 * 100);
    QCOMPARE(rig.session.Time_Out, 501);
    QCOMPARE(rig.hooks.panels.value(2), QStringLiteral("Try Connect 501[100msec]"));
    QVERIFY(!rig.session.Connect_flg);
    QVERIFY(!rig.port.isOpen());
    QVERIFY(rig.hooks.messages.isEmpty());
}

void ConnectionProceduresTest::portAlreadyOpen()
{
    Rig rig(QStringLiteral("Direct"));
    rig.port.open();
    rig.port.rts = rig.port.dtr = true;

    QVERIFY(!Connect(rig.session, 0, true));
    QVERIFY(rig.hooks.statusWrites.contains(qMakePair(0, QStringLiteral("Error - ComOpened"))));
    QCOMPARE(rig.hooks.messages, QStringList{QStringLiteral("Retry to connect")});
    QVERIFY(!rig.port.isOpen());
    QVERIFY(!rig.port.rts && !rig.port.dtr);
    QVERIFY(rig.port.writes().isEmpty());
}

// The record's port and rate are applied; its parity is not (the port keeps its own).
void ConnectionProceduresTest::portSettings_data()
{
    QTest::addColumn<QString>("baudText");
    QTest::addColumn<qint32>("baud"); // 0: the open raises a conversion error
    QTest::newRow("supported") << QStringLiteral("57600") << 57600;
    QTest::newRow("unsupported keeps the default") << QStringLiteral("250000") << 9600;
    QTest::newRow("no number") << QStringLiteral("abc") << 0;
}

void ConnectionProceduresTest::portSettings()
{
    QFETCH(QString, baudText);
    QFETCH(qint32, baud);

    Rig rig(QStringLiteral("Direct"));
    rig.registry[0].PortSet.Baudrate = baudText;
    rig.registry[0].PortSet.Parity = QStringLiteral("Even");
    rig.port.setParity(QSerialPort::OddParity);
    rig.port.setBaudRate(4800);

    if (baud == 0) {
        try {
            ComportOpenConnect(rig.session, 0, true);
            QFAIL("a baud-rate text that is no number must raise");
        } catch (const PlatformError &e) {
            QCOMPARE(e.message(), QStringLiteral("'abc' is not a valid integer value"));
        }
        QVERIFY(!rig.port.isOpen());
        return;
    }
    QVERIFY(ComportOpenConnect(rig.session, 0, true));
    QCOMPARE(rig.port.baudRate(), baud);
    QCOMPARE(rig.port.parity(), QSerialPort::OddParity);
    QCOMPARE(rig.port.portName(), systemPortPath(7, rig.session.ProgramFolder));
    QVERIFY(rig.port.rts && rig.port.dtr);
    QCOMPARE(rig.hooks.panels.value(0), QStringLiteral("Com Opened"));
}

void ConnectionProceduresTest::disconnectByKind_data()
{
    QTest::addColumn<QString>("modemType");
    QTest::addColumn<QString>("disconnectText");
    QTest::addColumn<QByteArray>("escapeReply");
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("hangUpPolls"); // -1: no hang-up wait

    const QByteArray root("CD \\");
    const QByteArray close("#M01 T C");
    // "^]+++^[" is seven plain characters; only the escape carries control bytes. The
    // modem's OK to the escape does not end the wait: after 101 polls the port is closed
    // anyway, writing the disconnect text once more without a line end.
    QTest::newRow("N-Warden, modem only says OK")
        << QStringLiteral("N-Warden") << QStringLiteral("^]+++^[") << QByteArray("OK\r")
        << QList<QByteArray>{root, close, "^]+++^[", Escape, "^]+++^[", Escape, "^]+++^["} << false << 101;
    QTest::newRow("H315k confirms with NO CARRIER")
        << QStringLiteral("H315k") << QStringLiteral("+++") << QByteArray("NO CARRIER\r")
        << QList<QByteArray>{root, close, "+++", Escape, "+++"} << true << 3;
    QTest::newRow("MRX-417 escape only")
        << QStringLiteral("MRX-417") << QStringLiteral("+++") << QByteArray("NO CARRIER\r")
        << QList<QByteArray>{root, close, Escape, "+++"} << true << 3;
    QTest::newRow("Direct closes the port")
        << QStringLiteral("Direct") << QString() << QByteArray()
        << QList<QByteArray>{root, close, ""} << true << -1;
}

void ConnectionProceduresTest::disconnectByKind()
{
    QFETCH(QString, modemType);
    QFETCH(QString, disconnectText);
    QFETCH(QByteArray, escapeReply);
    QFETCH(QList<QByteArray>, sent);
    QFETCH(bool, result);
    QFETCH(int, hangUpPolls);

    Rig rig(modemType);
    rig.registry[0].ModemSet.DiscntCMD = disconnectText;
    rig.play({{"#M01 T C", "Terminal mode UNCONNECTED\r"}, {Escape, escapeReply}});
    rig.port.open();
    rig.session.Connect_flg = true;

    QCOMPARE(DISConnect(rig.session, 0, false, true), result);
    QCOMPARE(rig.port.sentLines(), sent);
    // Every line but the final raw disconnect text ends with CR LF.
    for (qsizetype i = 0; i + 1 < rig.port.writes().size(); ++i)
        QVERIFY(rig.port.writes().at(i).endsWith("\r\n"));
    QVERIFY(!rig.port.writes().constLast().endsWith('\n'));
    if (hangUpPolls >= 0)
        QCOMPARE(rig.session.Time_Out, hangUpPolls);
    QVERIFY(!rig.port.isOpen());
    QVERIFY(!rig.session.Connect_flg);
    QVERIFY(!rig.hooks.busy);
}

// A port that vanished under a connected link: the first write fails, the error goes on
// to the handler, and the link still ends down with the normal cursor.
void ConnectionProceduresTest::disconnectErrorStillClearsLink()
{
    Rig rig(QStringLiteral("H315k"));
    rig.session.Connect_flg = true;
    QVERIFY_THROWS_EXCEPTION(PlatformError, DISConnect(rig.session, 0, false, true));
    QVERIFY(!rig.session.Connect_flg);
    QVERIFY(!rig.hooks.busy);
}

QTEST_GUILESS_MAIN(ConnectionProceduresTest)
#include "tst_connectionprocedures.moc"
