// kvl520cli's registry operations run as a script runs them: the real program against a
// program folder of its own, checked by its output and by the Setting.dat it leaves.

#include "clirunner.h"

#include "registry/deviceregistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kvl;
using namespace kvl::test;

namespace {

QByteArray settingFile(const QString &home)
{
    QFile f(home + QStringLiteral("/Setting.dat"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A stored field as text, booleans as 0/1.
QString fieldText(const Setup &s, const QString &field)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    if (field == u"LogID") return s.DeviceSet.LogID;
    if (field == u"COMPORT") return QString::number(s.PortSet.COMPORT);
    if (field == u"Baudrate") return s.PortSet.Baudrate;
    if (field == u"ModemType") return s.ModemSet.ModemType;
    if (field == u"Command") return s.ModemSet.Command;
    if (field == u"CallCMD") return s.ModemSet.CallCMD;
    if (field == u"DiscntCMD") return s.ModemSet.DiscntCMD;
    if (field == u"Communication") return QString::number(s.DeviceSet.Communication);
    if (field == u"SchDown") return flag(s.ScheduleSet.SchDown);
    if (field == u"_3DSCal") return flag(s.ScheduleSet._3DSCal);
    if (field == u"intervalMin") return QString::number(s.ScheduleSet.intervalMin);
    if (field == u"FileName1") return s.SaveFileSet.FileName1;
    if (field == u"FileName2") return s.SaveFileSet.FileName2;
    return QStringLiteral("<field %1 not read by the test>").arg(field);
}

QList<DeviceRow> twoDevices()
{
    return {{0, QStringLiteral("Pump1"), QStringLiteral("01"), 3, QStringLiteral("MRX-417")},
            {0, QStringLiteral("Pier"), QStringLiteral("15"), 12, QStringLiteral("B/T(QN305)")}};
}

QStringList args(const char *line)
{
    return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class CliRegistryTest : public QObject {
    Q_OBJECT
private slots:
    void init();

    void addOnAnEmptyHomeWritesTheWholeRegistry();
    void subAddPlacesTheChildUnderTheClickedDevice();
    void setGoesThroughThePageControls_data();
    void setGoesThroughThePageControls();
    void renameAndDelete();
    void limitsAreMessagesAndLeaveTheTree_data();
    void limitsAreMessagesAndLeaveTheTree();
    void clicksComeWhereTheyStand();

private:
    CliRun run(const QStringList &arguments) { return runKvl520cli(home(), arguments); }
    QString home() const { return m_home->path(); }
    std::unique_ptr<QTemporaryDir> m_home;
};

void CliRegistryTest::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
}

void CliRegistryTest::addOnAnEmptyHomeWritesTheWholeRegistry()
{
    const CliRun r = run(args("add add devices"));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QString());
    QCOMPARE(splitLines(r.out), (QStringList{QStringLiteral("0\t0\tNewDevice\t\tCOM0\tDirect"),
                                             QStringLiteral("1\t0\tNewDevice\t\tCOM0\tDirect")}));
    QCOMPARE(settingFile(home()).size(), 498780);
    const DeviceRegistry reg = readRegistry(home());
    QCOMPARE(reg[1].SaveFileSet.FileName2, QStringLiteral("NewDevice_backup"));
}

void CliRegistryTest::subAddPlacesTheChildUnderTheClickedDevice()
{
    writeRegistry(home(), twoDevices());
    CliRun r = run(args("--index 0 sub-add devices"));
    QCOMPARE(r.exitCode, 0);
    // The child takes the modem type the page shows for its parent; Pier moves down a slot
    // with its settings.
    QCOMPARE(splitLines(r.out), (QStringList{QStringLiteral("0\t0\tPump1\t01\tCOM3\tMRX-417"),
                                             QStringLiteral("1\t1\tNewDevice\t\tCOM0\tMRX-417"),
                                             QStringLiteral("2\t0\tPier\t15\tCOM12\tB/T(QN305)")}));

    // Pump1 is a group now: its page is cleared and disabled, so a value has nowhere to go.
    const QByteArray before = settingFile(home());
    r = run(args("--index 0 set Parity Odd"));
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.contains(QStringLiteral("set Parity")), qPrintable(r.err));
    QCOMPARE(settingFile(home()), before);
}

void CliRegistryTest::setGoesThroughThePageControls_data()
{
    QTest::addColumn<QStringList>("operations"); // after a click on Pump1
    QTest::addColumn<QStringList>("stored");     // FIELD=VALUE in Pump1's slot afterwards

    QTest::newRow("modem type runs the defaults")
        << args("set ModemType H315k apply")
        << QStringList{QStringLiteral("ModemType=H315k"), QStringLiteral("Command=AT+CRM=129"),
                       QStringLiteral("CallCMD=ATDT"), QStringLiteral("DiscntCMD=+++"),
                       QStringLiteral("Baudrate=9600"), QStringLiteral("Communication=0")};
    QTest::newRow("baud rate runs the defaults and keeps the chosen rate")
        << args("set Baudrate 115200 apply")
        << QStringList{QStringLiteral("Baudrate=115200"), QStringLiteral("Command=AT"),
                       QStringLiteral("Communication=2")};
    QTest::newRow("port as COM12") << args("set COMPORT COM12 apply") << QStringList{QStringLiteral("COMPORT=12")};
    QTest::newRow("port as 7") << args("set COMPORT 7 apply") << QStringList{QStringLiteral("COMPORT=7")};
    QTest::newRow("port not a number")
        << QStringList{QStringLiteral("set"), QStringLiteral("COMPORT"), QStringLiteral("No COM Port"),
                       QStringLiteral("apply")}
        << QStringList{QStringLiteral("COMPORT=0")};
    QTest::newRow("boolean on") << args("set SchDown 1 set _3DSCal 1 apply")
                                << QStringList{QStringLiteral("SchDown=1"), QStringLiteral("_3DSCal=1")};
    QTest::newRow("interval not a number") << args("set intervalMin abc apply")
                                           << QStringList{QStringLiteral("intervalMin=60")};
    QTest::newRow("logger id") << args("set LogID 07 apply") << QStringList{QStringLiteral("LogID=07")};
    QTest::newRow("page only, no apply") << args("set LogID 07 set COMPORT 9")
                                         << QStringList{QStringLiteral("LogID=01"), QStringLiteral("COMPORT=3")};
}

void CliRegistryTest::setGoesThroughThePageControls()
{
    QFETCH(QStringList, operations);
    QFETCH(QStringList, stored);
    writeRegistry(home(), twoDevices());

    const CliRun r = run(QStringList{QStringLiteral("--device"), QStringLiteral("Pump1")} + operations
                         + QStringList{QStringLiteral("devices")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QString());
    const DeviceRegistry reg = readRegistry(home());
    for (const QString &pair : stored) {
        const QString field = pair.section(QLatin1Char('='), 0, 0);
        QCOMPARE(field + QLatin1Char('=') + fieldText(reg[0], field), pair);
    }
    // The listing shows what was stored; the other device is untouched.
    const QStringList lines = splitLines(r.out);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0].section(QLatin1Char('\t'), 5), reg[0].ModemSet.ModemType);
    QCOMPARE(lines[1], QStringLiteral("1\t0\tPier\t15\tCOM12\tB/T(QN305)"));
}

void CliRegistryTest::renameAndDelete()
{
    writeRegistry(home(), twoDevices());
    CliRun r = run(args("--device Pump1 rename Pump2 devices"));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(splitLines(r.out).value(0), QStringLiteral("0\t0\tPump2\t01\tCOM3\tMRX-417"));
    DeviceRegistry reg = readRegistry(home());
    QCOMPARE(reg[0].SaveFileSet.FileName1, QStringLiteral("Pump2"));
    QCOMPARE(reg[0].SaveFileSet.FileName2, QStringLiteral("Pump2_backup"));
    QVERIFY2(reg[0]._3DSSetPath.endsWith(QStringLiteral("s3DS_Pump2.dat")), qPrintable(reg[0]._3DSSetPath));

    // Without --yes the question is answered No and the device stays.
    const QByteArray before = settingFile(home());
    r = run(args("--device Pump2 del devices"));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(splitLines(r.out), (QStringList{
        QStringLiteral("question: Are you sure you want to delete the List?\\n"), QStringLiteral("answer: no"),
        QStringLiteral("0\t0\tPump2\t01\tCOM3\tMRX-417"), QStringLiteral("1\t0\tPier\t15\tCOM12\tB/T(QN305)")}));
    QCOMPARE(settingFile(home()), before);

    // After a delete nothing is selected: "Apply" has nothing to act on, and says so.
    r = run(args("--yes --device Pump2 del apply devices"));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(splitLines(r.out), (QStringList{
        QStringLiteral("question: Are you sure you want to delete the List?\\n"), QStringLiteral("answer: yes"),
        QStringLiteral("0\t0\tPier\t15\tCOM12\tB/T(QN305)")}));
    QVERIFY2(r.err.contains(QStringLiteral("apply: no device selected")), qPrintable(r.err));
    QCOMPARE(settingFile(home()).size(), 498780);

    // Without a click the edit acts on the node the tree marks after start-up, the last.
    r = run(args("rename Quay devices"));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(splitLines(r.out), QStringList{QStringLiteral("0\t0\tQuay\t15\tCOM12\tB/T(QN305)")});
    QVERIFY2(r.err.contains(QStringLiteral("acting on the marked device \"Pier\"")), qPrintable(r.err));
}

void CliRegistryTest::limitsAreMessagesAndLeaveTheTree_data()
{
    QTest::addColumn<bool>("full");              // 255 devices, else a chain of levels 0 to 3
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QString>("message");        // empty: none, the device is added
    QTest::addColumn<int>("devices");

    QTest::newRow("add to a full tree") << true << args("--index 0 add")
                                        << QStringLiteral("message: 등록 최대치 초과 하였습니다.") << 255;
    QTest::newRow("sub add to a full tree") << true << args("--index 0 sub-add")
                                            << QStringLiteral("message: Over max item number.") << 255;
    QTest::newRow("sub add under level 3") << false << args("--index 3 sub-add")
                                           << QStringLiteral("message: Too low-level.") << 4;
    QTest::newRow("add beside level 3") << false << args("--index 3 add") << QString() << 5;
}

void CliRegistryTest::limitsAreMessagesAndLeaveTheTree()
{
    QFETCH(bool, full);
    QFETCH(QStringList, operations);
    QFETCH(QString, message);
    QFETCH(int, devices);

    QList<DeviceRow> rows;
    for (int k = 0; k < (full ? DeviceRegistry::SlotCount : 4); ++k)
        rows.append({full ? 0 : k, QStringLiteral("D%1").arg(k), QStringLiteral("01"), 1, QStringLiteral("Direct")});
    writeRegistry(home(), rows);
    const QByteArray before = settingFile(home());

    const CliRun r = run(operations + QStringList{QStringLiteral("devices")});
    QCOMPARE(r.exitCode, 0);
    QStringList lines = splitLines(r.out);
    if (!message.isEmpty()) {
        QCOMPARE(lines.value(0), message);
        lines.removeFirst();
        QCOMPARE(settingFile(home()), before);
    } else {
        QCOMPARE(lines.value(4), QStringLiteral("4\t3\tNewDevice\t\tCOM0\tDirect"));
    }
    QCOMPARE(lines.size(), devices);
}

void CliRegistryTest::clicksComeWhereTheyStand()
{
    // Each new device is clicked, so the next "Sub Add" goes under it; the click on slot 1
    // comes after the three adds, when there is a slot 1. Child is a group by then: its
    // rename stores the cleared page, so no modem type.
    CliRun r = run(args("add sub-add sub-add --index 1 rename Child devices"));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(splitLines(r.out), (QStringList{QStringLiteral("0\t0\tNewDevice\t\tCOM0\tDirect"),
                                             QStringLiteral("1\t1\tChild\t\tCOM0\t"),
                                             QStringLiteral("2\t2\tNewDevice\t\tCOM0\tDirect")}));

    // Deleting Child takes its own child along. A device that is gone when its click comes
    // ends the run there, as a usage error; what ran before it stays done.
    r = run(args("--yes --device Child del --device Child devices"));
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(QStringLiteral("unknown device \"Child\"")), qPrintable(r.err));
    QCOMPARE(splitLines(r.out).value(1), QStringLiteral("answer: yes"));
    QVERIFY(!r.out.contains(QStringLiteral("NewDevice")));
    const DeviceRegistry reg = readRegistry(home());
    QCOMPARE(reg[0].DeviceSet.DeviceName, QStringLiteral("NewDevice"));
    QVERIFY(reg[1].isEmpty());
}

QTEST_GUILESS_MAIN(CliRegistryTest)
#include "tst_cliregistry.moc"
