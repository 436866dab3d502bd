// The application frame's helpers: Hex, the error handler and its log, guarded event
// handlers, the stop flags, starting a process and the choice of the ANSI code page.

#include "app/errorlog.h"
#include "app/hex.h"
#include "app/process.h"
#include "app/textcodec.h"
#include "support/testrig.h"

#include <QFile>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <stdexcept>

using namespace kvl;
using namespace kvl::test;

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class AppHelpersTest : public QObject {
    Q_OBJECT
private slots:
    void hex_data();
    void hex();
    void errorHandlerShowsAndAppends();
    void errorHandlerWithoutWritableLog();
    void guardedCatchesEverything_data();
    void guardedCatchesEverything();
    void stopAndStartFlags();
    void eventLoopDelay();
    void execNewProcess_data();
    void execNewProcess();
    void codePageForLocale_data();
    void codePageForLocale();
    void processCodec_data();
    void processCodec();
};

void AppHelpersTest::hex_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("value");
    QTest::newRow("1A") << QStringLiteral("1A") << 26;
    QTest::newRow("00FF") << QStringLiteral("00FF") << 255;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("digits only") << QStringLiteral("0123") << 0x123;
    QTest::newRow("ABCDEF") << QStringLiteral("ABCDEF") << 0xABCDEF;
    QTest::newRow("largest") << QStringLiteral("7FFFFFFF") << qint32(0x7FFFFFFF);
    QTest::newRow("wraps") << QStringLiteral("FFFFFFFF") << -1;
}

void AppHelpersTest::hex()
{
    QFETCH(QString, text);
    QFETCH(qint32, value);
    QCOMPARE(Hex(text), value);
}

void AppHelpersTest::errorHandlerShowsAndAppends()
{
    TestRig rig;
    const QString log = rig.home.filePath(QStringLiteral("LogFile.Log"));
    AppException(rig.session, QStringLiteral("I/O error 998"));
    QCOMPARE(rig.hooks.panels.value(4), QStringLiteral("I/O error 998 - 2024-05-12 10:30:05"));
    QCOMPARE(rig.session.LogMessage, rig.hooks.panels.value(4));
    QCOMPARE(readFile(log), QByteArray("I/O error 998 - 2024-05-12 10:30:05\r\n"));

    rig.clock.advance(61 * 1000);
    AppException(rig.session, QStringLiteral("Caf\u00e9 not found"));
    QCOMPARE(readFile(log), QByteArray("I/O error 998 - 2024-05-12 10:30:05\r\n"
                                       "Caf\xe9 not found - 2024-05-12 10:31:06\r\n"));
    QVERIFY(rig.hooks.messages.isEmpty()); // never a dialog
}

void AppHelpersTest::errorHandlerWithoutWritableLog()
{
    TestRig rig;
    // A program folder below a plain file cannot hold a log, even for root.
    const QString blocker = rig.home.filePath(QStringLiteral("plain"));
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    rig.session.ProgramFolder = blocker + QStringLiteral("/sub");
    AppException(rig.session, QStringLiteral("Disk gone"));
    QCOMPARE(rig.hooks.panels.value(4), QStringLiteral("Disk gone - 2024-05-12 10:30:05"));
}

void AppHelpersTest::guardedCatchesEverything_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("panel4");
    QTest::newRow("platform error") << 0 << QStringLiteral("Cannot open file - 2024-05-12 10:30:05");
    QTest::newRow("std exception") << 1 << QStringLiteral("bad conversion - 2024-05-12 10:30:05");
    QTest::newRow("anything else") << 2 << QStringLiteral("Unknown error - 2024-05-12 10:30:05");
}

void AppHelpersTest::guardedCatchesEverything()
{
    QFETCH(int, kind);
    QFETCH(QString, panel4);
    TestRig rig;
    guarded(rig.session, [kind] {
        if (kind == 0)
            throw PlatformError(QStringLiteral("Cannot open file"));
        if (kind == 1)
            throw std::runtime_error("bad conversion");
        throw 42;
    });
    QCOMPARE(rig.hooks.panels.value(4), panel4);
    QVERIFY(QFile::exists(rig.home.filePath(QStringLiteral("LogFile.Log"))));
}

void AppHelpersTest::stopAndStartFlags()
{
    TestRig rig;
    rig.hooks.busy = true;
    rig.session.Stop_flg();
    QVERIFY(rig.session.delay_stop_flg);
    QVERIFY(rig.session.Stop_Flag);
    QVERIFY(!rig.hooks.busy); // the cursor is back to normal

    // The flags are levels: a wait started while they are set ends at once.
    const qint64 before = rig.clock.tickMs();
    rig.session.delay(100);
    QCOMPARE(rig.clock.tickMs(), before);

    rig.session.Start_flg();
    QVERIFY(!rig.session.delay_stop_flg);
    QVERIFY(!rig.session.Stop_Flag);
    rig.session.delay(100);
    QCOMPARE(rig.clock.tickMs(), before + 100);
}

// The real wait: it lasts its time while events are handled, and a stop set by an event
// (a Stop click) ends it at once. Bounds are generous: this checks behaviour, not speed.
void AppHelpersTest::eventLoopDelay()
{
    EventLoopClock clock;
    bool stop = false;
    bool timerRan = false;
    QTimer::singleShot(20, [&] { timerRan = true; });
    QElapsedTimer elapsed;
    elapsed.start();
    clock.delay(150, stop);
    QVERIFY(elapsed.elapsed() >= 150);
    QVERIFY(timerRan);

    QTimer::singleShot(30, [&] { stop = true; });
    elapsed.restart();
    clock.delay(60000, stop);
    QVERIFY(stop);
    QVERIFY2(elapsed.elapsed() < 30000, "the stop did not end the wait");

    elapsed.restart();
    clock.delay(60000, stop); // already stopped: returns without waiting
    QVERIFY(elapsed.elapsed() < 30000);
}

void AppHelpersTest::execNewProcess_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("started");
    QTest::newRow("true") << QStringLiteral("/bin/true") << true;
    QTest::newRow("missing") << QStringLiteral("/nonexistent/pTimedFetch.EXE") << false;
    QTest::newRow("empty") << QString() << false;
}

void AppHelpersTest::execNewProcess()
{
    QFETCH(QString, path);
    QFETCH(bool, started);
    const qint64 pid = ExecNewProcess(path);
    QCOMPARE(pid > 0, started);
    if (!started)
        QCOMPARE(pid, qint64(0));
}

void AppHelpersTest::codePageForLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("codePage");
    QTest::newRow("Korean") << QStringLiteral("ko_KR") << QStringLiteral("949");
    QTest::newRow("Japanese") << QStringLiteral("ja_JP") << QStringLiteral("932");
    QTest::newRow("Simplified Chinese") << QStringLiteral("zh_CN") << QStringLiteral("936");
    QTest::newRow("Traditional Chinese") << QStringLiteral("zh_TW") << QStringLiteral("950");
    QTest::newRow("Russian") << QStringLiteral("ru_RU") << QStringLiteral("1251");
    QTest::newRow("Polish") << QStringLiteral("pl_PL") << QStringLiteral("1250");
    QTest::newRow("English") << QStringLiteral("en_US") << QStringLiteral("1252");
    QTest::newRow("German with charset") << QStringLiteral("de_DE.UTF-8") << QStringLiteral("1252");
}

void AppHelpersTest::codePageForLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, codePage);
    QCOMPARE(AnsiCodec::codePageForLocale(locale), codePage);
}

void AppHelpersTest::processCodec_data()
{
    QTest::addColumn<QString>("codePageVariable");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("codec");
    QTest::newRow("override 949") << QStringLiteral("949") << QStringLiteral("en_US.UTF-8") << QStringLiteral("CP949");
    QTest::newRow("override 1251") << QStringLiteral("1251") << QStringLiteral("ko_KR.UTF-8") << QStringLiteral("windows-1251");
    QTest::newRow("override by name") << QStringLiteral("Shift_JIS") << QStringLiteral("C") << QStringLiteral("Shift_JIS");
    QTest::newRow("unknown falls back") << QStringLiteral("no-such-page") << QStringLiteral("C") << QStringLiteral("windows-1252");
    QTest::newRow("Korean locale") << QString() << QStringLiteral("ko_KR.UTF-8") << QStringLiteral("CP949");
}

// The process codec is chosen once per process, so each case runs this test program
// again with its own environment and asks it for the codec's name.
void AppHelpersTest::processCodec()
{
    QFETCH(QString, codePageVariable);
    QFETCH(QString, locale);
    QFETCH(QString, codec);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("KVL520_CODEPAGE"));
    if (!codePageVariable.isEmpty())
        env.insert(QStringLiteral("KVL520_CODEPAGE"), codePageVariable);
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("KVL_PRINT_CODEC"), QStringLiteral("1"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(QString::fromLatin1(child.readAllStandardOutput()).trimmed(), codec);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("KVL_PRINT_CODEC")) {
        std::fputs(AnsiCodec::instance().name().toLatin1().constData(), stdout);
        return 0;
    }
    AppHelpersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_apphelpers.moc"
