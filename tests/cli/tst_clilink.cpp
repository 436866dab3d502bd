// kvl520cli's link and logger operations as a script meets them: the real program against
// a program folder of its own, without a logger (usage errors, the connection toggle, the
// clock read and the program memo while not connected) and once against loggersim.

#include "clirunner.h"
#include "e2e/loggersimprocess.h"

#include "link/comportmap.h"
#include "registry/deviceregistry.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kvl;
using namespace kvl::test;

namespace {

// One "Direct" device in slot 0, logger 01 on COM7 at 115200 baud.
void writeDirectDevice(const QString &home)
{
    DeviceRegistry registry;
    Setup &s = registry[0];
    s.DeviceSet.TreeLevel = 0;
    s.DeviceSet.DeviceName = QStringLiteral("Pier");
    s.DeviceSet.LogID = QStringLiteral("01");
    s.PortSet.COMPORT = 7;
    s.PortSet.Baudrate = QStringLiteral("115200");
    s.PortSet.Parity = QStringLiteral("None");
    s.PortSet.StopBits = QStringLiteral("1");
    s.ModemSet.ModemType = QStringLiteral("Direct");
    registry.SettingSave(home);
}

QStringList logLines(const QString &home)
{
    QFile log(home + QStringLiteral("/LogFile.Log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(log.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

QStringList args(const char *line)
{
    return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The output lines that start with prefix.
QStringList linesStartingWith(const QString &out, const QString &prefix)
{
    QStringList found;
    for (const QString &line : splitLines(out)) {
        if (line.startsWith(prefix))
            found << line;
    }
    return found;
}

} // namespace

class CliLinkTest : public QObject {
    Q_OBJECT
private slots:
    void init();

    void usageErrorsRunNothing_data();
    void usageErrorsRunNothing();
    void connectToggleWithoutLogger_data();
    void connectToggleWithoutLogger();
    void clockReadWhileNotConnected_data();
    void clockReadWhileNotConnected();
    void programFileBecomesTheMemo_data();
    void programFileBecomesTheMemo();
    void unreadableProgramFileIsAFileError();
    void connectReadClockDisconnectAgainstLoggersim();

private:
    CliRun run(const QStringList &arguments) { return runKvl520cli(home(), arguments); }
    QString home() const { return m_home->path(); }
    std::unique_ptr<QTemporaryDir> m_home;
};

void CliLinkTest::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    writeDirectDevice(home());
}

void CliLinkTest::usageErrorsRunNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("errorText");

    QTest::newRow("open without its node") << args("--index 0 open") << QStringLiteral("operation open needs NODE");
    QTest::newRow("fread without its node") << args("list fread") << QStringLiteral("operation fread needs NODE");
    QTest::newRow("del-file without its node") << args("del-file") << QStringLiteral("operation del-file needs NODE");
    QTest::newRow("prog-send without its file") << args("prog-send") << QStringLiteral("operation prog-send needs FILE");
    QTest::newRow("prog-run without its file") << args("prog-run") << QStringLiteral("operation prog-run needs FILE");
    QTest::newRow("open on a file node")
        << args("--index 0 connect open DATA.TXT(120)") << QStringLiteral("open: \"DATA.TXT(120)\" is no folder node");
    QTest::newRow("fread on a folder node")
        << args("--index 0 connect fread [SL01]") << QStringLiteral("fread: \"[SL01]\" is no file node");
    QTest::newRow("unknown operation after the node")
        << args("--index 0 open [SL01] dir") << QStringLiteral("unknown operation \"dir\"");
}

void CliLinkTest::usageErrorsRunNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, errorText);

    const CliRun r = run(arguments);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(errorText), qPrintable(r.err));
    QCOMPARE(r.out, QString());
    QVERIFY(!QFileInfo::exists(home() + QStringLiteral("/LogFile.Log")));
}

void CliLinkTest::connectToggleWithoutLogger_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("logged"); // the start of the error logged (%1: the home), empty for none

    // COM7 names a device path that does not exist.
    QTest::newRow("connect on a port that cannot open")
        << args("--index 0 connect") << 1 << QStringList{QStringLiteral("message: Logger is Disconnected")}
        << QString() << QStringLiteral("Cannot open %1/no-such-line");
    QTest::newRow("connect without a device")
        << args("connect") << 1 << QStringList{QStringLiteral("message: Please select a device.")}
        << QString() << QString();
    // The toggle would connect; the console's disconnect only takes a link down.
    QTest::newRow("disconnect while not connected")
        << args("--index 0 disconnect") << 0 << QStringList{}
        << QStringLiteral("kvl520cli: disconnect: the logger is not connected, nothing done") << QString();
}

void CliLinkTest::connectToggleWithoutLogger()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, messages);
    QFETCH(QString, note);
    QFETCH(QString, logged);

    QVERIFY(writeComPortMapEntry(home(), 7, home() + QStringLiteral("/no-such-line")));
    const CliRun r = run(QStringList{QStringLiteral("--status")} + arguments);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(linesStartingWith(r.out, QStringLiteral("message: ")), messages);
    QCOMPARE(r.err, note.isEmpty() ? QString() : note + QLatin1Char('\n'));

    const QStringList log = logLines(home());
    if (logged.isEmpty()) {
        QCOMPARE(log, QStringList{});
        return;
    }
    QCOMPARE(log.size(), 1);
    QVERIFY2(log[0].startsWith(logged.arg(home())), qPrintable(log[0]));
    // The handler's panel: status panel 4 shows the logged line.
    QVERIFY(splitLines(r.out).contains(QStringLiteral("status4: ") + log[0]));
    // The monitoring shows the device disconnected and the port closed in the end.
    const QStringList links = linesStartingWith(r.out, QStringLiteral("status1: "));
    QCOMPARE(links.value(links.size() - 1), QStringLiteral("status1: Pier Disconnected"));
}

void CliLinkTest::clockReadWhileNotConnected_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no device selected") << args("time-read");
    QTest::newRow("device selected, port closed") << args("--index 0 time-read");
}

void CliLinkTest::clockReadWhileNotConnected()
{
    QFETCH(QStringList, arguments);

    // The clock read does not test the link: with nothing to write to, the write fails and
    // the error handler reports it.
    const CliRun r = run(QStringList{QStringLiteral("--status")} + arguments);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(linesStartingWith(r.out, QStringLiteral("clock: ")), QStringList{});
    const QStringList log = logLines(home());
    QCOMPARE(log.size(), 1);
    QCOMPARE(linesStartingWith(r.out, QStringLiteral("status4: ")), QStringList{QStringLiteral("status4: ") + log[0]});
}

void CliLinkTest::programFileBecomesTheMemo_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("memo");

    const QStringList program{QStringLiteral("#R011 D MV 2S;"), QStringLiteral("INT 60M;"), QStringLiteral("END")};
    QTest::newRow("CR LF, final line break") << QByteArray("#R011 D MV 2S;\r\nINT 60M;\r\nEND\r\n") << program;
    QTest::newRow("LF, no final line break") << QByteArray("#R011 D MV 2S;\nINT 60M;\nEND") << program;
    QTest::newRow("empty lines kept") << QByteArray(";Süd\r\n\r\nEND\r\n\r\n")
                                      << QStringList{QStringLiteral(";Süd"), QString(), QStringLiteral("END"), QString()};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void CliLinkTest::programFileBecomesTheMemo()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, memo);

    // The file is in the ANSI code page (1252 in the tests): ü is one byte.
    file.replace("Süd", "S\xFC" "d");
    const QString path = home() + QStringLiteral("/PROG.TXT");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
    }
    // Not connected: both buttons refuse and leave the memo as loaded, which Prog Down prints.
    const CliRun r = run({QStringLiteral("--index"), QStringLiteral("0"), QStringLiteral("prog-run"), path,
                          QStringLiteral("prog-down")});
    QCOMPARE(r.exitCode, 1);
    QStringList expected{QStringLiteral("message:  Datalogger is Unconnected"),
                         QStringLiteral("message:  Datalogger is Unconnected")};
    for (const QString &line : memo)
        expected << QStringLiteral("prog: ") + line;
    QCOMPARE(splitLines(r.out), expected);
}

void CliLinkTest::unreadableProgramFileIsAFileError()
{
    // The button is not pressed: no "unconnected" message, the error is logged.
    const CliRun r = run({QStringLiteral("--index"), QStringLiteral("0"), QStringLiteral("prog-send"),
                          home() + QStringLiteral("/missing.TXT")});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QString());
    const QStringList log = logLines(home());
    QCOMPARE(log.size(), 1);
    QVERIFY2(log[0].contains(QStringLiteral("missing.TXT")), qPrintable(log[0]));
}

void CliLinkTest::connectReadClockDisconnectAgainstLoggersim()
{
    if (!QFileInfo(qEnvironmentVariable("LOGGERSIM")).isExecutable())
        QSKIP("loggersim is not built");
    LoggerSimProcess sim(home());
    QVERIFY2(sim.start(7), qPrintable(sim.error()));

    const CliRun r = run(args("--index 0 connect time-read disconnect"));
    QCOMPARE(r.exitCode, 0);
    const QStringList lines = splitLines(r.out);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QStringLiteral("message: Sucess - Logger is Connected"));
    // The logger reports the year 08; the line is printed as received, year rewritten.
    const QString year = QDate::currentDate().toString(QStringLiteral("yy"));
    const QRegularExpression clock(QStringLiteral("^clock: Time Read %1/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$").arg(year));
    QVERIFY2(clock.match(lines[1]).hasMatch(), qPrintable(lines[1]));
    QCOMPARE(lines[2], QStringLiteral("message: Logger is Disconnected"));
    // The probe of the connect and the read: two clock commands, the link closed by the
    // disconnect (no second hang-up at the end of the run).
    QCOMPARE(sim.received(QStringLiteral("#T01 R")), 2);
    QCOMPARE(sim.received(QStringLiteral("#M01 T C")), 1);

    // A link left up is taken down at the end of the run, as the disconnect button does.
    const CliRun left = run(args("--index 0 connect"));
    QCOMPARE(left.exitCode, 0);
    QCOMPARE(splitLines(left.out), (QStringList{QStringLiteral("message: Sucess - Logger is Connected"),
                                                QStringLiteral("message: Logger is Disconnected")}));
    QCOMPARE(sim.received(QStringLiteral("#M01 T C")), 2);
}

QTEST_GUILESS_MAIN(CliLinkTest)
#include "tst_clilink.moc"
