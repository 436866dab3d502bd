#include "logger/filecommands.h"
#include "support/testrig.h"

#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

// Logger 01 in slot 0, selected, port open; the terminal view holds a stale line and the
// caller had another receive view chosen, so what the commands change shows.
struct Rig : TestRig {
    Rig()
    {
        registry[0].DeviceSet.LogID = QStringLiteral("01");
        session.Selected_index = 0;
        session.RxTypeIndex = 5;
        session.Views.appendLine(RxView::Terminal, QStringLiteral("stale"));
        port.open();
    }
    QStringList sent() const
    {
        QStringList lines;
        for (const QByteArray &l : port.sentLines())
            lines << QString::fromLatin1(l);
        return lines;
    }
    QString txAt(qint64 tickMs, const QString &command) const
    {
        return clock.now().addMSecs(tickMs - clock.tickMs()).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss: "))
            + command;
    }
};

enum Op { Root, Create, Delete };

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void fileSize_data();
    void fileSize();
    void unawaitedCommands_data();
    void unawaitedCommands();
};

// The size reply is the last line in within 300 ms of the first line: its text from the
// 4th character on is the size.
void FileCommandsTest::fileSize_data()
{
    QTest::addColumn<QByteArray>("reply");     // at 50 ms; empty: silence
    QTest::addColumn<QByteArray>("laterLine"); // at 250 ms, after the wait has ended
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("sends");

    QTest::newRow("size line") << QByteArray("SZ 1234\r\n") << QByteArray() << true << 1234 << 1;
    QTest::newRow("echo, then the size line") << QByteArray("FSIZE \\PROG.TXT\r\n") << QByteArray("SZ 1234\r\n")
                                              << true << 1234 << 1;
    QTest::newRow("echo only") << QByteArray("FSIZE \\PROG.TXT\r\n") << QByteArray() << true << -1 << 1;
    QTest::newRow("not a number") << QByteArray("SZ abc\r\n") << QByteArray() << true << -1 << 1;
    QTest::newRow("number with a tail") << QByteArray("SZ 12a\r\n") << QByteArray() << true << -1 << 1;
    QTest::newRow("negative") << QByteArray("SZ -5\r\n") << QByteArray() << true << -1 << 1;
    QTest::newRow("beyond 32 bits") << QByteArray("SZ 99999999999\r\n") << QByteArray() << true << -1 << 1;
    QTest::newRow("empty file") << QByteArray("SZ 0\r\n") << QByteArray() << true << 0 << 1;
    QTest::newRow("silence") << QByteArray() << QByteArray() << false << -1 << 2;
}

void FileCommandsTest::fileSize()
{
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, laterLine);
    QFETCH(bool, result);
    QFETCH(int, size);
    QFETCH(int, sends);

    Rig rig;
    rig.session.FileSizeChk = 77;
    rig.port.script("FSIZE \\PROG.TXT", {{reply, 50}});
    if (!laterLine.isEmpty())
        rig.port.deliverAt(250, laterLine);

    QCOMPARE(PROGRAM_COMMAND_FSIZE(rig.session, 0, QStringLiteral("\\PROG.TXT")), result);
    QCOMPARE(rig.session.FileSizeChk, size);
    QCOMPARE(rig.port.writeCount("FSIZE \\PROG.TXT"), sends);
    QCOMPARE(rig.session.RxTypeIndex, RxView::Terminal);
    if (result) {
        QVERIFY(rig.session.Buff.isEmpty());
        QCOMPARE(rig.clock.tickMs(), 100 + 300); // one poll, then the wait for a size line
        QCOMPARE(rig.hooks.panels.value(2), QStringLiteral("fsize - 1[100msec]"));
    } else {
        QCOMPARE(rig.clock.tickMs(), 51 * 100);
    }
}

// Commands whose reply is not awaited: what is written, shown in panel 3 and logged, in
// which order and after which waits. The start times put the log entries' second on
// either side of the wait, so an entry logged at the wrong moment shows.
void FileCommandsTest::unawaitedCommands_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("startMs");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QList<qint64>>("loggedAt");
    QTest::addColumn<int>("endMs");

    const QString cd = QStringLiteral("CD \\");
    QTest::newRow("root") << int(Root) << 700 << QStringList{cd} << QList<qint64>{700} << 1200;
    QTest::newRow("create") << int(Create) << 700 << QStringList{QStringLiteral("FCreate \\PROG.TXT")}
                            << QList<qint64>{1200} << 1200;
    QTest::newRow("delete") << int(Delete) << 400 << QStringList{cd, QStringLiteral("DEL \\PROG.TXT")}
                            << QList<qint64>{400, 1400} << 1400;
}

void FileCommandsTest::unawaitedCommands()
{
    QFETCH(int, op);
    QFETCH(int, startMs);
    QFETCH(QStringList, sent);
    QFETCH(QList<qint64>, loggedAt);
    QFETCH(int, endMs);

    Rig rig;
    rig.clock.advance(startMs);
    rig.session.FileSize = 500;
    rig.session.Buff = QStringLiteral("old line");
    // The logger answers each command; the answer is left in the terminal view.
    rig.port.script("CD \\", {{"\\>\r\n", 50}});
    rig.port.script("FCreate \\PROG.TXT", {{"OK\r\n", 50}});
    rig.port.script("DEL \\PROG.TXT", {{"OK\r\n", 50}});

    const QString file = QStringLiteral("\\PROG.TXT");
    bool ok = false;
    switch (op) {
    case Root: ok = PROGRAM_COMMAND_ROOT(rig.session, 0); break;
    case Create: ok = PROGRAM_COMMAND_FCreate(rig.session, 0, file); break;
    case Delete: ok = PROGRAM_COMMAND_DelEachFILE(rig.session, 0, file); break;
    }

    QVERIFY(ok);
    QCOMPARE(rig.sent(), sent);
    QStringList tx;
    for (int i = 0; i < sent.size(); ++i)
        tx << rig.txAt(loggedAt.at(i), sent.at(i));
    QCOMPARE(rig.hooks.tx, tx);
    QCOMPARE(rig.hooks.panels.value(3), sent.last());
    QCOMPARE(rig.clock.tickMs(), endMs);
    QCOMPARE(rig.session.RxTypeIndex, RxView::Terminal);
    QVERIFY(!rig.session.Views.lines(RxView::Terminal).contains(QStringLiteral("stale")));
    if (op == Delete) {
        // Received characters are counted from nothing: both answers with their line ends.
        QCOMPARE(rig.session.FileSize, 8);
        QCOMPARE(rig.session.Views.lines(RxView::Terminal), QStringList({QStringLiteral("\\>"), QStringLiteral("OK")}));
    } else {
        QVERIFY(rig.session.Buff.isEmpty());
    }
}

QTEST_GUILESS_MAIN(FileCommandsTest)
#include "tst_filecommands.moc"
