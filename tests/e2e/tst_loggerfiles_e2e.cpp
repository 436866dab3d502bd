// The logger's files through kvl520cli against loggersim over a real pseudo-terminal: the
// file tree, Del File, Last Down into the save files, a file cut short, and writing and
// test-running the program. The simulator serves files from a folder the test writes, so
// every size and byte is known; checked by the console's output, the save files and the
// lines the simulator received.

#include "e2e/clisimfixture.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kvl;
using namespace kvl::test;

namespace {

QStringList ops(std::initializer_list<const char *> words)
{
    QStringList list;
    for (const char *w : words)
        list << QString::fromUtf8(w);
    return list;
}

// Two data lines split over the logger's pair of "latest data" files, as a logger with
// many channels writes them: both halves start with the same time stamp.
const QByteArray Latest0 = "08/05/12 10:00:00,1,2\r\n08/05/12 10:10:00,5,6\r\n";
const QByteArray Latest1 = "08/05/12 10:00:00,3,4\r\n08/05/12 10:10:00,7,8\r\n";
const QByteArray Program = ";Project Name\r\n#R011 D MV 2S;\r\nINT 60M;\r\nEND\r\n";

QList<QPair<QString, QByteArray>> loggerFiles()
{
    return {{QStringLiteral("PROG.TXT"), Program},
            {QStringLiteral("SL01/SL010.TXT"), Latest0},
            {QStringLiteral("SL01/SL011.TXT"), Latest1}};
}

QString sized(const char *name, const QByteArray &bytes)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(bytes.size());
}

// The lines from the first one equal to `first` on, as many as `expected` has.
QStringList runFrom(const QStringList &lines, const QString &first, qsizetype count)
{
    const qsizetype at = lines.indexOf(first);
    return at < 0 ? QStringList() : lines.mid(at, count);
}

} // namespace

class LoggerFilesE2E : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void fileListAndFolderOpen();
    void delFileDeletesFromTheRoot();
    void lastDownMergesAndAppends();
    void fileCutShortIsNotSaved();
    void progSendWritesEveryLine_data();
    void progSendWritesEveryLine();
    void progRunSendsTheChannelLines();

private:
    QString home() const { return m_home->path(); }
    QString dataFile(const char *name) const { return QDir(home()).filePath(QStringLiteral("Data/") + QLatin1String(name)); }
    bool startSim(const QByteArray &scenario = {})
    {
        m_sim->setScenario(writeLoggerFiles(home(), loggerFiles()) + scenario);
        return m_sim->start(7);
    }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<LoggerSimProcess> m_sim;
};

void LoggerFilesE2E::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    m_sim = std::make_unique<LoggerSimProcess>(home());
}

void LoggerFilesE2E::cleanup()
{
    m_sim.reset();
    m_home.reset();
}

// "File List" puts the root listing into the tree ("[.]" as "[\]", "[..]" dropped);
// opening [SL01] hangs its files beneath it, so a file there is read by its full path.
void LoggerFilesE2E::fileListAndFolderOpen()
{
    writeDevice(home());
    QVERIFY2(startSim(), qPrintable(m_sim->error()));
    const QString latest = sized("SL010.TXT", Latest0);
    const CliRun r = runOnDevice(home(), QStringList{QStringLiteral("connect"), QStringLiteral("list"),
                                                     QStringLiteral("open"), QStringLiteral("[SL01]"),
                                                     QStringLiteral("fread"), latest});
    QCOMPARE(r.exitCode, 0);
    const QStringList out = splitLines(r.out);
    QCOMPARE(withPrefix(out, QStringLiteral("node: ")),
             (QStringList{QStringLiteral("[\\]"), QStringLiteral("[SL01]"), sized("PROG.TXT", Program)}));
    QCOMPARE(withPrefix(out, QStringLiteral("line: ")),
             (QStringList{pcYear() + QStringLiteral("/05/12 10:00:00,1,2"), pcYear() + QStringLiteral("/05/12 10:10:00,5,6")}));
    const QStringList sent = m_sim->receivedLines();
    QCOMPARE(runFrom(sent, QStringLiteral("CD SL01"), 2), (QStringList{QStringLiteral("CD SL01"), QStringLiteral("dir")}));
    QVERIFY2(sent.contains(QStringLiteral("fread \\SL01\\SL010.TXT")), qPrintable(sent.join(u'|')));
}

// "Del File" on a top-level file: DEL with its root path right after "CD \", and the
// listing that follows no longer has it.
void LoggerFilesE2E::delFileDeletesFromTheRoot()
{
    writeDevice(home());
    QVERIFY2(startSim(), qPrintable(m_sim->error()));
    const CliRun r = runOnDevice(home(), QStringList{QStringLiteral("connect"), QStringLiteral("list"),
                                                     QStringLiteral("del-file"), sized("PROG.TXT", Program),
                                                     QStringLiteral("list")});
    QCOMPARE(r.exitCode, 0);
    const QStringList nodes = withPrefix(splitLines(r.out), QStringLiteral("node: "));
    QCOMPARE(nodes, (QStringList{QStringLiteral("[\\]"), QStringLiteral("[SL01]"), sized("PROG.TXT", Program),
                                 QStringLiteral("[\\]"), QStringLiteral("[SL01]")}));
    const QStringList sent = m_sim->receivedLines();
    const qsizetype del = sent.indexOf(QStringLiteral("DEL \\PROG.TXT"));
    QVERIFY2(del > 0, qPrintable(sent.join(u'|')));
    QCOMPARE(sent[del - 1], QStringLiteral("CD \\"));
    QCOMPARE(m_sim->counts().value(QStringLiteral("del")), 1);
}

// "Last Down" of a split logger: the two files' lines joined (the second's time stamp
// dropped), appended to the existing first save file and written as a new second one.
void LoggerFilesE2E::lastDownMergesAndAppends()
{
    writeDevice(home(), [](Setup &s) {
        s.ScheduleSet.SensorNoCheck = true;
        s.SaveFileSet.FileName2 = QStringLiteral("SAVE2");
    });
    QVERIFY(QDir(home()).mkpath(QStringLiteral("Data")));
    const QByteArray earlier = "07/01/01 00:00:00,9,9,9,9\r\n";
    {
        QFile f(dataFile("SAVE1.TXT"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(earlier);
    }
    QVERIFY2(startSim(), qPrintable(m_sim->error()));

    const CliRun r = runOnDevice(home(), ops({"connect", "down-last"}));
    QCOMPARE(r.exitCode, 0);
    const QByteArray year = pcYear().toLatin1();
    const QByteArray merged = year + "/05/12 10:00:00,1,2,3,4\r\n" + year + "/05/12 10:10:00,5,6,7,8\r\n";
    const QByteArray save1 = readFile(dataFile("SAVE1.TXT"));
    QVERIFY2(save1 == earlier + merged, qPrintable(firstDifference(save1, earlier + merged)));
    const QByteArray save2 = readFile(dataFile("SAVE2.TXT"));
    QVERIFY2(save2 == merged, qPrintable(firstDifference(save2, merged)));
    const QStringList sent = m_sim->receivedLines();
    QVERIFY(sent.contains(QStringLiteral("FSIZE \\SL01\\SL011.TXT")));
    QCOMPARE(m_sim->counts().value(QStringLiteral("fread")), 2);
}

// The logger stops sending part way through: the read gives up with "Logger no answer
// [dir]" and "Download Error", and no save file is written.
void LoggerFilesE2E::fileCutShortIsNotSaved()
{
    writeDevice(home());
    QVERIFY2(startSim("cut_file_at=30\n"), qPrintable(m_sim->error()));
    const CliRun r = runOnDevice(home(), ops({"--status", "connect", "down-last"}));
    QCOMPARE(r.exitCode, 1);
    const QStringList out = splitLines(r.out);
    QVERIFY2(out.contains(QStringLiteral("status4: Logger no answer [dir]")), qPrintable(r.out));
    QVERIFY2(out.contains(QStringLiteral("message: Download Error")), qPrintable(r.out));
    QVERIFY(!QFile::exists(dataFile("SAVE1.TXT")));
    QCOMPARE(m_sim->counts().value(QStringLiteral("fread")), 1);
}

// "Prog Send": the file made afresh, listed, "mode /t", then one Fputs per memo line in
// order. An ERROR on one line does not stop the others but ends with "Input Error".
void LoggerFilesE2E::progSendWritesEveryLine_data()
{
    QTest::addColumn<QByteArray>("scenario");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("stored"); // the program as Prog Down reads it back
    QTest::newRow("every line acknowledged")
        << QByteArray() << QStringLiteral("message: PROG.TXT Input Complete") << 0
        << QStringList{QStringLiteral("#R011 D MV 2S;"), QStringLiteral("INT 60M;"), QStringLiteral("END")};
    QTest::newRow("second line refused")
        << QByteArray("fputs_error_at=2\n") << QStringLiteral("message: Input Error") << 1
        << QStringList{QStringLiteral("#R011 D MV 2S;"), QStringLiteral("END")};
}

void LoggerFilesE2E::progSendWritesEveryLine()
{
    QFETCH(QByteArray, scenario);
    QFETCH(QString, message);
    QFETCH(int, exitCode);
    QFETCH(QStringList, stored);
    writeDevice(home());
    QVERIFY2(startSim(scenario), qPrintable(m_sim->error()));
    const QString program = QDir(home()).filePath(QStringLiteral("send.txt"));
    {
        QFile f(program);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#R011 D MV 2S;\r\nINT 60M;\r\nEND\r\n");
    }

    const CliRun r = runOnDevice(home(), QStringList{QStringLiteral("connect"), QStringLiteral("prog-send"), program,
                                                     QStringLiteral("prog-down")});
    QCOMPARE(r.exitCode, exitCode);
    const QStringList out = splitLines(r.out);
    QVERIFY2(out.contains(message), qPrintable(r.out));
    QCOMPARE(withPrefix(out, QStringLiteral("prog: ")), stored);
    const QStringList expected{QStringLiteral("FCreate \\PROG.TXT"),
                               QStringLiteral("dir"),
                               QStringLiteral("mode /t"),
                               QStringLiteral("Fputs \\PROG.TXT /a #R011 D MV 2S;"),
                               QStringLiteral("Fputs \\PROG.TXT /a INT 60M;"),
                               QStringLiteral("Fputs \\PROG.TXT /a END")};
    QCOMPARE(runFrom(m_sim->receivedLines(), expected.first(), expected.size()), expected);
}

// "Prog Run": comment lines are not sent, each channel line waits for its measurement
// (answered after its delay token, scaled down here), and the run ends at the INT line.
void LoggerFilesE2E::progRunSendsTheChannelLines()
{
    writeDevice(home());
    QVERIFY2(startSim("measure_scale=0.1\n"), qPrintable(m_sim->error()));
    const QString program = QDir(home()).filePath(QStringLiteral("run.txt"));
    {
        QFile f(program);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(";Project Name\r\n#R011 D MV 3S;\r\n#C101 3ds_te 0S;\r\nINT 60M;\r\nEND\r\n");
    }
    const CliRun r = runOnDevice(home(), QStringList{QStringLiteral("--rx"), QStringLiteral("connect"),
                                                     QStringLiteral("prog-run"), program});
    QCOMPARE(r.exitCode, 0);
    const QStringList out = splitLines(r.out);
    QVERIFY2(out.contains(QStringLiteral("message: PROGRAM_COMMAND_RUN Complete")), qPrintable(r.out));
    QCOMPARE(withPrefix(out, QStringLiteral("rx: R011 ")).size(), 1);
    QCOMPARE(withPrefix(out, QStringLiteral("rx: C101 ")).size(), 1);
    QCOMPARE(runFrom(m_sim->receivedLines(), QStringLiteral("#R011 D MV 3S;"), 3),
             (QStringList{QStringLiteral("#R011 D MV 3S;"), QStringLiteral("#C101 3ds_te 0S;"),
                          QStringLiteral("#M01 T C")}));
    QCOMPARE(m_sim->counts().value(QStringLiteral("measure")), 2);
    QCOMPARE(m_sim->counts().value(QStringLiteral("unknown")), 0);
}

QTEST_GUILESS_MAIN(LoggerFilesE2E)
#include "tst_loggerfiles_e2e.moc"
