// Port preparation and the connection test's open and close: baud-rate, parity and
// stop-bit texts, COM names and system paths (ComPorts.ini and the usual convention),
// the port search, and the status texts of ComPortOpen and ComPortClose.

#include "link/comportmap.h"
#include "support/testrig.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

using namespace kvl;
using namespace kvl::test;

namespace {

void writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

QStringList panelWrites(const RecordingHooks &hooks, int panel)
{
    QStringList texts;
    for (const auto &[p, text] : hooks.statusWrites)
        if (p == panel)
            texts << text;
    return texts;
}

} // namespace

class PortSettingTest : public QObject {
    Q_OBJECT
private slots:
    void comPortSetting_data();
    void comPortSetting();
    void systemPortPath_data();
    void systemPortPath();
    void comPortSearch();
    void openAndCloseTexts();
    void openFailureIsSilent();
};

void PortSettingTest::comPortSetting_data()
{
    QTest::addColumn<QString>("baudText");
    QTest::addColumn<qint32>("baud");
    QTest::addColumn<QString>("parityText");
    QTest::addColumn<QSerialPort::Parity>("parity"); // the port starts with mark parity

    QTest::newRow("abc") << QStringLiteral("abc") << 115200 << QStringLiteral("even") << QSerialPort::EvenParity;
    QTest::newRow("unsupported 250000") << QStringLiteral("250000") << 9600 << QStringLiteral("Odd Parity")
                                        << QSerialPort::OddParity;
    QTest::newRow("9600, empty parity") << QStringLiteral("9600") << 9600 << QString() << QSerialPort::MarkParity;
    QTest::newRow("57600, None") << QStringLiteral("57600") << 57600 << QStringLiteral("None") << QSerialPort::NoParity;
    QTest::newRow("256000, SPACE") << QStringLiteral("256000") << 256000 << QStringLiteral("SPACE")
                                   << QSerialPort::SpaceParity;
    QTest::newRow("empty baud, unknown parity") << QString() << 115200 << QStringLiteral("x") << QSerialPort::MarkParity;
    QTest::newRow("NONE found before ODD") << QStringLiteral("110") << 110 << QStringLiteral("odd/none")
                                           << QSerialPort::NoParity;
}

void PortSettingTest::comPortSetting()
{
    QFETCH(QString, baudText);
    QFETCH(qint32, baud);
    QFETCH(QString, parityText);
    QFETCH(QSerialPort::Parity, parity);
    TestRig rig;
    rig.port.setBaudRate(1200);
    rig.port.setParity(QSerialPort::MarkParity);
    rig.port.setStopBits(QSerialPort::TwoStop);

    rig.link.COMPortSetting(7, baudText, parityText, QStringLiteral("2"));
    QCOMPARE(rig.port.baudRate(), baud);
    QCOMPARE(rig.port.parity(), parity);
    QCOMPARE(rig.port.stopBits(), QSerialPort::OneStop); // always one, whatever the text
    QCOMPARE(rig.port.portName(), kvl::systemPortPath(7, rig.home.path()));
    QVERIFY(!rig.port.isOpen()); // prepared, not opened
}

void PortSettingTest::systemPortPath_data()
{
    QTest::addColumn<QByteArray>("ini"); // empty: no ComPorts.ini
    QTest::addColumn<int>("com");
    QTest::addColumn<QString>("path");

    QTest::newRow("COM1") << QByteArray() << 1 << QStringLiteral("/dev/ttyS0");
    QTest::newRow("COM32") << QByteArray() << 32 << QStringLiteral("/dev/ttyS31");
    QTest::newRow("COM33") << QByteArray() << 33 << QStringLiteral("/dev/ttyUSB0");
    QTest::newRow("COM64") << QByteArray() << 64 << QStringLiteral("/dev/ttyUSB31");
    QTest::newRow("COM65") << QByteArray() << 65 << QStringLiteral("/dev/ttyACM0");
    QTest::newRow("COM96") << QByteArray() << 96 << QStringLiteral("/dev/ttyACM31");
    QTest::newRow("mapped pty") << QByteArray("[Ports]\r\nCOM7=/dev/pts/3\r\n") << 7 << QStringLiteral("/dev/pts/3");
    QTest::newRow("mapped, loose spelling") << QByteArray("[ports]\ncom7 = /dev/pts/4\n") << 7
                                            << QStringLiteral("/dev/pts/4");
    QTest::newRow("mapping overrides the convention") << QByteArray("[Ports]\nCOM3=/dev/ttyUSB0\n") << 3
                                                      << QStringLiteral("/dev/ttyUSB0");
    QTest::newRow("other section ignored") << QByteArray("[Other]\nCOM7=/dev/pts/3\n[Ports]\nCOM8=/dev/pts/8\n")
                                           << 7 << QStringLiteral("/dev/ttyS6");
}

void PortSettingTest::systemPortPath()
{
#ifdef Q_OS_WIN
    QSKIP("Windows opens \\\\.\\COMn directly");
#endif
    QFETCH(QByteArray, ini);
    QFETCH(int, com);
    QFETCH(QString, path);
    QTemporaryDir home;
    if (!ini.isEmpty())
        writeText(home.filePath(comPortIniFileName()), ini);
    QCOMPARE(kvl::systemPortPath(com, home.path()), path);
    QCOMPARE(comNameForSystemPath(path, home.path()), QStringLiteral("COM%1").arg(com));
}

void PortSettingTest::comPortSearch()
{
#ifdef Q_OS_WIN
    QSKIP("the search lists the system's COM ports");
#endif
    QTemporaryDir home;
    // Real serial ports of this machine may be listed; each under a COM name.
    const QStringList plain = ComPortSearch(home.path());
    QVERIFY(!plain.isEmpty());
    if (plain != QStringList{QStringLiteral("No COM Port")}) {
        static const QRegularExpression comName(QStringLiteral("^COM\\d+$"));
        for (const QString &name : plain)
            QVERIFY2(comName.match(name).hasMatch(), qPrintable(name));
    }
    QCOMPARE(comNameForSystemPath(QStringLiteral("/dev/pts/5"), home.path()), QString());

    // A mapped entry appears under its COM name while its device exists.
    const QString present = home.filePath(QStringLiteral("pty-standin"));
    writeText(present, QByteArray());
    writeText(home.filePath(comPortIniFileName()),
              "[Ports]\nCOM77=" + present.toUtf8() + "\nCOM78=" + home.filePath(QStringLiteral("gone")).toUtf8() + "\n");
    const QStringList mapped = ComPortSearch(home.path());
    QVERIFY(mapped.contains(QStringLiteral("COM77")));
    QVERIFY(!mapped.contains(QStringLiteral("COM78")));
    QVERIFY(!mapped.contains(QStringLiteral("No COM Port")));
    QVERIFY(std::is_sorted(mapped.begin(), mapped.end(), [](const QString &a, const QString &b) {
        return a.mid(3).toInt() < b.mid(3).toInt();
    }));
}

void PortSettingTest::openAndCloseTexts()
{
    TestRig rig;
    rig.link.COMPortSetting(7, QStringLiteral("9600"), QStringLiteral("None"), QStringLiteral("1"));
    const QString name = rig.port.portName();

    rig.link.ComPortOpen(); // no device selected: nothing
    QVERIFY(!rig.port.isOpen());
    QVERIFY(rig.hooks.statusWrites.isEmpty());

    rig.session.Selected_index = 0;
    rig.link.ComPortOpen();
    QVERIFY(rig.port.isOpen());
    QVERIFY(rig.port.rts);
    QVERIFY(rig.port.dtr);
    QCOMPARE(rig.clock.tickMs(), qint64(200)); // 100 ms after each modem line
    QVERIFY(rig.session.Result);
    QCOMPARE(panelWrites(rig.hooks, 0), (QStringList{QStringLiteral("Com port Opened"), name + QStringLiteral(" Open")}));

    rig.link.ComPortOpen(); // already open
    QCOMPARE(rig.hooks.panels.value(4), QStringLiteral("Port is already used."));
    QCOMPARE(panelWrites(rig.hooks, 0).size(), 2);
    QCOMPARE(rig.clock.tickMs(), qint64(200));

    rig.session.Selected_index = -1;
    rig.link.ComPortClose(); // no device selected: nothing
    QVERIFY(rig.port.isOpen());

    rig.session.Selected_index = 0;
    rig.link.ComPortClose();
    QVERIFY(!rig.port.isOpen());
    QCOMPARE(panelWrites(rig.hooks, 0).last(), QStringLiteral("Com port Closed"));
    QCOMPARE(rig.hooks.panels.value(1), QStringLiteral("Disconnect"));

    const qsizetype writes = rig.hooks.statusWrites.size();
    rig.link.ComPortClose(); // already closed: nothing
    QCOMPARE(rig.hooks.statusWrites.size(), writes);
}

void PortSettingTest::openFailureIsSilent()
{
    TestRig rig;
    rig.session.Selected_index = 0;
    rig.port.failOpen = true;
    rig.link.ComPortOpen();
    QVERIFY(!rig.port.isOpen());
    QVERIFY(rig.hooks.statusWrites.isEmpty());
    QCOMPARE(rig.clock.tickMs(), qint64(0));
}

QTEST_GUILESS_MAIN(PortSettingTest)
#include "tst_portsetting.moc"
