// kvl520cli as a script meets it: the real program run against a program folder of its
// own, plus the command line and console hooks checked in-process.

#include "clirunner.h"

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "registry/deviceregistry.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <memory>

using namespace kvl;
using namespace kvl::cli;

namespace {

using kvl::test::DeviceRow;
using kvl::test::splitLines;
using kvl::test::writeRegistry;
using Run = kvl::test::CliRun;

// Three devices, the second a child of the first; names repeat so that a selection by
// name has to find the first in display order.
const QList<DeviceRow> &sampleDevices()
{
    static const QList<DeviceRow> rows{
        {0, QStringLiteral("Süd Portal"), QStringLiteral("01"), 3, QStringLiteral("Direct")},
        {1, QStringLiteral("Pier"), QStringLiteral("02"), 7, QStringLiteral("MRX-417")},
        {0, QStringLiteral("Pier"), QStringLiteral("15"), 12, QStringLiteral("B/T(QN305)")},
    };
    return rows;
}

QStringList logLines(const QString &folder)
{
    QFile log(folder + QStringLiteral("/LogFile.Log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(log.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT
private slots:
    void init();

    // the program
    void devicesListsEverySlotInOrder();
    void usageErrorsRunNothing_data();
    void usageErrorsRunNothing();
    void helpAndVersion();
    void damagedSettingFileIsLoggedAndReported();

    // in-process
    void commandLineTakesArgumentsByCount_data();
    void commandLineTakesArgumentsByCount();
    void selectionFollowsSlotOrder_data();
    void selectionFollowsSlotOrder();
    void hooksPrintWhatAWindowWouldShow_data();
    void hooksPrintWhatAWindowWouldShow();

private:
    Run run(const QStringList &arguments);
    std::unique_ptr<QTemporaryDir> m_home;
};

void CliTest::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
}

Run CliTest::run(const QStringList &arguments)
{
    return kvl::test::runKvl520cli(m_home->path(), arguments);
}

void CliTest::devicesListsEverySlotInOrder()
{
    writeRegistry(m_home->path(), sampleDevices());
    const Run r = run({QStringLiteral("devices")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QString());
    QCOMPARE(splitLines(r.out), (QStringList{
        QStringLiteral("0\t0\tSüd Portal\t01\tCOM3\tDirect"),
        QStringLiteral("1\t1\tPier\t02\tCOM7\tMRX-417"),
        QStringLiteral("2\t0\tPier\t15\tCOM12\tB/T(QN305)"),
    }));
}

void CliTest::usageErrorsRunNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("complaint");
    QTest::newRow("unknown operation after a good one")
        << QStringList{QStringLiteral("devices"), QStringLiteral("frobnicate")} << QStringLiteral("frobnicate");
    QTest::newRow("option without its value")
        << QStringList{QStringLiteral("devices"), QStringLiteral("--device")} << QStringLiteral("--device");
    QTest::newRow("unknown option")
        << QStringList{QStringLiteral("--verbose"), QStringLiteral("devices")} << QStringLiteral("--verbose");
    QTest::newRow("unknown device name")
        << QStringList{QStringLiteral("--device"), QStringLiteral("pier"), QStringLiteral("devices")}
        << QStringLiteral("pier");
    QTest::newRow("empty slot")
        << QStringList{QStringLiteral("--index"), QStringLiteral("3"), QStringLiteral("devices")}
        << QStringLiteral("slot 3");
    QTest::newRow("slot beyond the registry")
        << QStringList{QStringLiteral("--index"), QStringLiteral("255"), QStringLiteral("devices")}
        << QStringLiteral("slot 255");
    QTest::newRow("slot not a number")
        << QStringList{QStringLiteral("--index"), QStringLiteral("two"), QStringLiteral("devices")}
        << QStringLiteral("two");
    QTest::newRow("no operation") << QStringList{} << QStringLiteral("no operation");
    QTest::newRow("unknown field after an add")
        << QStringList{QStringLiteral("add"), QStringLiteral("set"), QStringLiteral("Speed"), QStringLiteral("1")}
        << QStringLiteral("Speed");
    QTest::newRow("box value neither 0 nor 1")
        << QStringList{QStringLiteral("set"), QStringLiteral("SchDown"), QStringLiteral("yes"), QStringLiteral("add")}
        << QStringLiteral("SchDown");
    QTest::newRow("empty name") << QStringList{QStringLiteral("rename"), QString()} << QStringLiteral("rename");
}

void CliTest::usageErrorsRunNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, complaint);
    writeRegistry(m_home->path(), sampleDevices());
    QFile setting(m_home->path() + QStringLiteral("/Setting.dat"));
    QVERIFY(setting.open(QIODevice::ReadOnly));
    const QByteArray before = setting.readAll();
    setting.close();

    const Run r = run(arguments);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QString());
    QVERIFY(setting.open(QIODevice::ReadOnly));
    QCOMPARE(setting.readAll(), before);
    QVERIFY2(r.err.startsWith(QStringLiteral("kvl520cli: ")) && r.err.contains(complaint), qPrintable(r.err));
}

void CliTest::helpAndVersion()
{
    Run r = run({QStringLiteral("--help")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.startsWith(QStringLiteral("Usage: kvl520cli [OPTIONS] OPERATION")));
    QVERIFY(r.out.contains(QStringLiteral("\n  devices ")));

    r = run({QStringLiteral("--version")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QStringLiteral("kvl520cli " KVL_VERSION_TEXT "\n"));
}

void CliTest::damagedSettingFileIsLoggedAndReported()
{
    // Slot 0 whole, slot 1 cut inside its record: what was read stays usable.
    writeRegistry(m_home->path(), sampleDevices());
    {
        QFile f(m_home->path() + QStringLiteral("/Setting.dat"));
        QVERIFY(f.resize(Setup::Size + 400));
    }

    Run r = run({QStringLiteral("--status"), QStringLiteral("devices")});
    QCOMPARE(r.exitCode, 1); // a damaged registry is no success, although the run goes on
    QStringList log = logLines(m_home->path());
    QCOMPARE(log.size(), 1);
    QVERIFY2(log[0].startsWith(QStringLiteral("Read beyond end of file")), qPrintable(log[0]));
    const QStringList lines = splitLines(r.out);
    // Then the connection monitoring's first tick, before the operation.
    QCOMPARE(lines.mid(0, 4), (QStringList{QStringLiteral("status4: ") + log[0],
                                           QStringLiteral("status1:  Disconnected"),
                                           QStringLiteral("status0: Comport Close"),
                                           QStringLiteral("0\t0\tSüd Portal\t01\tCOM3\tDirect")}));

    // Without --status the panels stay quiet; the log gets a second line, never truncated.
    r = run({QStringLiteral("devices")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(!r.out.contains(QStringLiteral("status")));
    log = logLines(m_home->path());
    QCOMPARE(log.size(), 2);
    QVERIFY(log[1].startsWith(QStringLiteral("Read beyond end of file")));
}

void CliTest::commandLineTakesArgumentsByCount_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    auto args = [](const char *line) {
        return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    };
    QTest::newRow("argument that looks like an option")
        << args("set LogID --yes apply") << QStringLiteral("set(LogID,--yes) apply |");
    QTest::newRow("options between operations")
        << args("--yes set A B --status apply --rx") << QStringLiteral("set(A,B) apply | yes status rx");
    QTest::newRow("inline value") << args("--home=/data/kvl apply") << QStringLiteral("apply | home=/data/kvl");
    QTest::newRow("selections in order")
        << args("--index 4 --device Pier apply") << QStringLiteral("apply | slot4@0 name=Pier@0");
    QTest::newRow("clicks where they stand")
        << args("apply --index 1 set A B apply --device Pier")
        << QStringLiteral("apply set(A,B) apply | slot1@1 name=Pier@3");
    QTest::newRow("missing argument") << args("apply set LogID") << QStringLiteral("error");
    QTest::newRow("argument refused by its check") << args("power maybe") << QStringLiteral("error");
    QTest::newRow("value on a switch") << args("--yes=1 apply") << QStringLiteral("error");
}

void CliTest::commandLineTakesArgumentsByCount()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);

    OperationTable table;
    const auto nothing = [](CliSession &, const QStringList &) -> Outcome { return std::nullopt; };
    table.add({QStringLiteral("set"), {QStringLiteral("FIELD"), QStringLiteral("VALUE")}, {}, nothing, {}});
    table.add({QStringLiteral("apply"), {}, {}, nothing, {}});
    table.add({QStringLiteral("power"), {QStringLiteral("on|off")}, {}, nothing,
               [](const QStringList &a) {
                   return a[0] == u"on" || a[0] == u"off" ? QString() : QStringLiteral("on or off");
               }});

    const CommandLine cl = parseCommandLine(arguments, table);
    QString got;
    if (!cl.error.isEmpty()) {
        got = QStringLiteral("error");
    } else {
        QStringList parts;
        for (const Invocation &inv : cl.invocations)
            parts << inv.operation->name
                       + (inv.arguments.isEmpty() ? QString()
                                                  : QLatin1Char('(') + inv.arguments.join(QLatin1Char(',')) + QLatin1Char(')'));
        parts << QStringLiteral("|");
        if (!cl.home.isEmpty())
            parts << QStringLiteral("home=") + cl.home;
        for (const Selection &s : cl.selections)
            parts << (s.bySlot ? QStringLiteral("slot%1").arg(s.slot) : QStringLiteral("name=") + s.name)
                       + QLatin1Char('@') + QString::number(s.beforeOperation);
        if (cl.console.answerYes)
            parts << QStringLiteral("yes");
        if (cl.console.showStatus)
            parts << QStringLiteral("status");
        if (cl.console.showRx)
            parts << QStringLiteral("rx");
        got = parts.join(QLatin1Char(' '));
    }
    QCOMPARE(got, expected);
}

void CliTest::selectionFollowsSlotOrder_data()
{
    QTest::addColumn<bool>("bySlot");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("selected"); // -1: refused
    QTest::addColumn<QString>("pageLogId"); // what the clicked device shows on the page
    QTest::newRow("first of two with the name") << false << QStringLiteral("Pier") << -1 << 1 << QStringLiteral("02");
    QTest::newRow("name compared exactly") << false << QStringLiteral("pier") << -1 << -1 << QString();
    QTest::newRow("slot") << true << QString() << 2 << 2 << QStringLiteral("15");
    QTest::newRow("empty slot") << true << QString() << 3 << -1 << QString();
    QTest::newRow("negative slot") << true << QString() << -1 << -1 << QString();
}

void CliTest::selectionFollowsSlotOrder()
{
    QFETCH(bool, bySlot);
    QFETCH(QString, name);
    QFETCH(int, slot);
    QFETCH(int, selected);
    QFETCH(QString, pageLogId);

    writeRegistry(m_home->path(), sampleDevices());
    QString text;
    QTextStream stream(&text);
    ConsoleOutput out(stream);
    CliSession cli(out, ConsoleSettings{}, m_home->path());
    // After start-up no device is current, although every node has been through the page.
    QCOMPARE(cli.session.Selected_index, -1);
    QCOMPARE(cli.deviceTree.tree().count(), 3);
    QCOMPARE(cli.select(Selection{bySlot, name, slot}), selected >= 0);
    QCOMPARE(cli.session.Selected_index, selected);
    if (selected >= 0) {
        QCOMPARE(cli.deviceTree.page().text(SetupPageModel::clbLogID), pageLogId);
        QCOMPARE(cli.deviceTree.labels().lbeClickName(), cli.deviceTree.tree().nodeAt(selected)->text);
    }
}

void CliTest::hooksPrintWhatAWindowWouldShow_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("status");
    QTest::addColumn<bool>("rx");
    QTest::addColumn<QStringList>("expected");

    // The logger's year 08 is rewritten before the line is shown.
    const QString year = QDate::currentDate().toString(QStringLiteral("yy"));
    const QString message = QStringLiteral("message: Saved.\\nin two\\nlines");
    const QString question = QStringLiteral("question: Do you want to disconnect?\\n");
    QTest::newRow("quiet") << false << false << false
                           << QStringList{message, question, QStringLiteral("answer: no")};
    QTest::newRow("received lines") << false << false << true
                                    << QStringList{message, question, QStringLiteral("answer: no"),
                                                   QStringLiteral("rx: ") + year + QStringLiteral("/05/12 OK")};
    QTest::newRow("everything") << true << true << true
                                << QStringList{message, question, QStringLiteral("answer: yes"),
                                               QStringLiteral("status3: #T01 R"),
                                               QStringLiteral("rx: ") + year + QStringLiteral("/05/12 OK"),
                                               QStringLiteral("status4: ") + year + QStringLiteral("/05/12 OK")};
}

void CliTest::hooksPrintWhatAWindowWouldShow()
{
    QFETCH(bool, yes);
    QFETCH(bool, status);
    QFETCH(bool, rx);
    QFETCH(QStringList, expected);

    QString text;
    QTextStream stream(&text);
    ConsoleOutput out(stream);
    CliSession cli(out, ConsoleSettings{yes, status, rx}, m_home->path());

    cli.session.message(QStringLiteral("Saved.\r\nin two\nlines"));
    QCOMPARE(cli.session.question(QStringLiteral("Do you want to disconnect?\r\n")), yes);
    cli.session.status(3, QStringLiteral("#T01 R"));
    // A view that no page shows still has its lines printed.
    cli.session.RxTypeIndex = 3;
    cli.link.framing().ComPortRxChar(QByteArrayLiteral("08/05/12 OK\r\n"));

    QCOMPARE(splitLines(text), expected);
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
