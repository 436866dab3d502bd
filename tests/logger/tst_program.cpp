#include "app/errorlog.h"
#include "logger/programactions.h"
#include "support/testrig.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <functional>

using namespace kvl;
using namespace kvl::test;

namespace {

// Logger 01 in slot 0, connected and selected, port open; it answers the terminal-mode
// commands.
struct Rig : TestRig {
    Rig()
    {
        registry[0].DeviceSet.DeviceName = QStringLiteral("Dam A");
        registry[0].DeviceSet.LogID = QStringLiteral("01");
        session.Selected_index = 0;
        session.Connect_flg = true;
        port.open();
        port.script("#M01 T C", {{"Terminal mode UNC\r\n", 50}});
        port.script("#M01 T O", {{"Terminal mode\r\n", 50}});
    }
    void setMemo(const QStringList &lines) { session.Views.setLines(RxView::Program, lines); }
    QStringList sent() const
    {
        QStringList lines;
        for (const QByteArray &l : port.sentLines())
            lines << QString::fromLatin1(l);
        return lines;
    }
    bool statusShown(int panel, const QString &text) const
    {
        return hooks.statusWrites.contains(qMakePair(panel, text));
    }
    // The longest wait of each channel line of a test run, in polls, from the status label.
    QList<int> runWaits() const
    {
        const QString prefix = QStringLiteral("Time set - ");
        const QString suffix = QStringLiteral("[200msec]");
        QList<int> waits;
        for (const auto &[panel, text] : hooks.statusWrites) {
            if (panel != 2 || !text.startsWith(prefix) || !text.endsWith(suffix))
                continue;
            const int n = text.mid(prefix.size(), text.size() - prefix.size() - suffix.size()).toInt();
            if (n == 1)
                waits << n;
            else
                waits.last() = n;
        }
        return waits;
    }
};

const QString Close = QStringLiteral("#M01 T C");
const QString Open = QStringLiteral("#M01 T O");

} // namespace

class ProgramTest : public QObject {
    Q_OBJECT
private slots:
    void progSend_data();
    void progSend();
    void progRun_data();
    void progRun();
    void stopEndsRun();
    void progDownFillsMemo();
    void clearSendsNothingWhilePortClosed_data();
    void clearSendsNothingWhilePortClosed();
    void saveToPc();
    void buttonsNeedLink();
};

void ProgramTest::progSend_data()
{
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<int>("errorLine");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("messages");

    const QStringList head{Close, Open, QStringLiteral("CD \\"), QStringLiteral("FCreate \\PROG.TXT"),
                           QStringLiteral("dir")};
    const QStringList written{QStringLiteral("mode /t"), QStringLiteral("Fputs \\PROG.TXT /a #R011 D MV 2S;"),
                              QStringLiteral("Fputs \\PROG.TXT /a INT 60M;"), QStringLiteral("Fputs \\PROG.TXT /a END"),
                              Close};
    QTest::newRow("every line acknowledged") << QByteArray("PROG.TXT(0)\r\n") << -1 << head + written << true
                                             << QStringList{QStringLiteral("PROG.TXT Input Complete")};
    QTest::newRow("one line refused: the rest still sent") << QByteArray("PROG.TXT(0)\r\n") << 1 << head + written
                                                           << false << QStringList{QStringLiteral("Input Error")};
    QTest::newRow("file not listed: created again, nothing written")
        << QByteArray("[.]\r\n") << -1
        << head + QStringList{QStringLiteral("FCreate \\PROG.TXT"), QStringLiteral("dir"), Close} << false
        << QStringList();
}

void ProgramTest::progSend()
{
    QFETCH(QByteArray, listing);
    QFETCH(int, errorLine);
    QFETCH(QStringList, sent);
    QFETCH(bool, result);
    QFETCH(QStringList, messages);

    Rig rig;
    const QStringList memo{QStringLiteral("#R011 D MV 2S;"), QStringLiteral("INT 60M;"), QStringLiteral("END")};
    rig.setMemo(memo);
    rig.port.script("FCreate \\PROG.TXT", {{"Created\r\n", 50}});
    rig.port.script("dir", {{listing, 50}});
    rig.port.script("mode /t", {{"FULL\r\n", 50}});
    for (int i = 0; i < memo.size(); ++i)
        rig.port.script("Fputs \\PROG.TXT /a " + memo[i].toLatin1(), {{i == errorLine ? "ERROR\r\n" : "OK\r\n", 150}});

    QCOMPARE(progSendButton(rig.session), result);

    QCOMPARE(rig.sent(), sent);
    QCOMPARE(rig.hooks.messages, messages);
    if (messages.isEmpty())
        return;
    QCOMPARE(rig.statusShown(3, QStringLiteral("PROG.TXT Input Complete")), result);
    QCOMPARE(rig.statusShown(4, QStringLiteral("PROGRAM_COMMAND_WRITE ERROR ")), !result);
    QCOMPARE(rig.hooks.progress[QStringLiteral("pgbProgram")], QList<int>({0, 0, 0, 33, 67, 100}));
    QCOMPARE(rig.session.Views.lines(RxView::ProgramReply).size(), memo.size());
}

void ProgramTest::progRun_data()
{
    QTest::addColumn<QStringList>("memo");
    QTest::addColumn<int>("replyAfterMs"); // -1: the logger stays silent
    QTest::addColumn<QList<int>>("waits");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QList<int>>("progress");

    const QString rLine = QStringLiteral("#R011 D MV 3S;");
    // 3S; gives 15, 0S; gives 0 and so 25: at most 15 + 41 and 25 + 41 polls.
    QTest::newRow("delay tokens set the wait")
        << QStringList{QStringLiteral(";Project Name"), rLine, QStringLiteral("#C101 3ds_te 0S;"),
                       QStringLiteral("INT 60M;"), QStringLiteral("END")}
        << -1 << QList<int>{56, 66} << true << QList<int>{0, 0, 0, 33, 67, 100};
    QTest::newRow("a line without a token keeps the wait before it")
        << QStringList{rLine, QStringLiteral("#R012 D MV"), QStringLiteral("END")} << -1 << QList<int>{56, 56}
        << true << QList<int>{0, 0, 0, 100, 100};
    QTest::newRow("token without semicolon, two lines")
        << QStringList{QStringLiteral("#R011 D MV 2S"), QStringLiteral("END")} << -1 << QList<int>{51} << true
        << QList<int>{0, 0, 100, 100};
    QTest::newRow("any reply ends the wait")
        << QStringList{QStringLiteral(";c"), rLine, QStringLiteral("INT 60M;")} << 300 << QList<int>{2} << true
        << QList<int>{0, 0, 0, 100, 100};
    QTest::newRow("no INT or END line") << QStringList{rLine} << 300 << QList<int>{2} << false
                                        << QList<int>{0, 0, 100, 100};
    QTest::newRow("empty memo") << QStringList() << 300 << QList<int>() << false << QList<int>{0, 0, 100};
}

// Comment lines are skipped, channel lines sent one by one, each awaited for at most its
// delay token's polls; the run ends with success at INT or END.
void ProgramTest::progRun()
{
    QFETCH(QStringList, memo);
    QFETCH(int, replyAfterMs);
    QFETCH(QList<int>, waits);
    QFETCH(bool, result);
    QFETCH(QList<int>, progress);

    Rig rig;
    rig.setMemo(memo);
    QStringList sent;
    for (const QString &line : memo) {
        if (line.contains(u"INT") || line.contains(u"END"))
            break;
        if (!line.startsWith(u'#'))
            continue;
        sent << line;
        if (replyAfterMs >= 0)
            rig.port.script(line.toLatin1(), {{"OK\r\n", replyAfterMs}});
    }

    QCOMPARE(progRunButton(rig.session), result);

    QCOMPARE(rig.sent(), sent << Close);
    QCOMPARE(rig.runWaits(), waits);
    QCOMPARE(rig.hooks.progress[QStringLiteral("pgbProgram")], progress);
    QCOMPARE(rig.statusShown(4, QStringLiteral(" RUN Complete")), result);
    QCOMPARE(rig.statusShown(4, QStringLiteral("PROGRAM_COMMAND_RUN ERROR ")), !result);
    QCOMPARE(rig.hooks.messages,
             result ? QStringList{QStringLiteral("PROGRAM_COMMAND_RUN Complete")} : QStringList());
}

// Stop ends the running wait at its next poll; the next line is not sent.
void ProgramTest::stopEndsRun()
{
    Rig rig;
    rig.setMemo({QStringLiteral("#R011 D MV 1S;"), QStringLiteral("#R012 D MV 1S;"), QStringLiteral("INT 60M;")});
    int pollsAfterSend = 0;
    rig.clock.onDelay([&](int) {
        if (rig.port.writeCount("#R011 D MV 1S;") > 0 && ++pollsAfterSend == 3)
            stopRunButton(rig.session);
    });

    QVERIFY(!progRunButton(rig.session));

    QCOMPARE(rig.sent(), QStringList({QStringLiteral("#R011 D MV 1S;"), Close}));
    QCOMPARE(rig.runWaits(), QList<int>{3}); // Stop pressed during the third poll
    QVERIFY(rig.statusShown(3, QStringLiteral("PROG STOP")));
    QVERIFY(rig.statusShown(4, QStringLiteral("PROGRAM_COMMAND_RUN STOP ")));
    QCOMPARE(rig.hooks.messages, QStringList{QStringLiteral("PROGRAM_COMMAND_RUN STOP Complete")});
}

void ProgramTest::progDownFillsMemo()
{
    Rig rig;
    rig.setMemo({QStringLiteral("old program")});
    const QByteArray program = ";Project Name\r\n#R011 D MV 3S;\r\nINT 60M;\r\nEND\r\n";
    rig.port.script("FSIZE \\PROG.TXT", {{"SZ " + QByteArray::number(program.size()) + "\r\n", 50}});
    rig.port.script("fread \\PROG.TXT", {{program, 50, 9}});

    QVERIFY(progDownButton(rig.session));

    QCOMPARE(rig.sent(), QStringList({Close, Open, QStringLiteral("FSIZE \\PROG.TXT"),
                                      QStringLiteral("fread \\PROG.TXT"), Close}));
    QCOMPARE(rig.session.Views.lines(RxView::Program),
             QStringList({QStringLiteral(";Project Name"), QStringLiteral("#R011 D MV 3S;"),
                          QStringLiteral("INT 60M;"), QStringLiteral("END")}));
    QCOMPARE(rig.hooks.messages, QStringList{QStringLiteral("Download complete")});
    const QList<int> bar = rig.hooks.progress[QStringLiteral("pgbProgram")];
    QVERIFY(bar.contains(10));
    QCOMPARE(bar.last(), 100);
}

void ProgramTest::clearSendsNothingWhilePortClosed_data()
{
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("port open") << true << QStringList{Close};
    QTest::newRow("port closed") << false << QStringList();
}

// "Clear" needs no link; it ends with the terminal-mode close like every program action.
void ProgramTest::clearSendsNothingWhilePortClosed()
{
    QFETCH(bool, portOpen);
    QFETCH(QStringList, sent);

    Rig rig;
    rig.session.Connect_flg = false;
    if (!portOpen)
        rig.port.close();
    rig.setMemo({QStringLiteral("END")});
    rig.session.Views.appendLine(RxView::ProgramReply, QStringLiteral("OK"));

    QVERIFY(programClearButton(rig.session));

    QCOMPARE(rig.sent(), sent);
    QVERIFY(rig.session.Views.lines(RxView::Program).isEmpty());
    QVERIFY(rig.session.Views.lines(RxView::ProgramReply).isEmpty());
    QVERIFY(rig.hooks.messages.isEmpty());
}

// The program memo goes to the chosen file in the ANSI code page with CR LF; a name
// without extension gets ".TXT".
void ProgramTest::saveToPc()
{
    Rig rig;
    rig.setMemo({QStringLiteral(";H\u00f6he 3"), QStringLiteral("INT 60M;"), QStringLiteral("END")});

    rig.session.Selected_index = -1;
    QVERIFY(!saveProgramToPc(rig.session));
    QCOMPARE(rig.hooks.messages, QStringList{QStringLiteral("Select Device Name")});

    rig.session.Selected_index = 0;
    const QString chosen = QDir(rig.home.path()).filePath(QStringLiteral("Dam A_PROG"));
    rig.hooks.paths << chosen;
    QVERIFY(saveProgramToPc(rig.session));
    QFile file(chosen + QStringLiteral(".TXT"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray(";H\xF6he 3\r\nINT 60M;\r\nEND\r\n"));

    rig.hooks.paths << QDir(rig.home.path()).filePath(QStringLiteral("missing/folder/P.TXT"));
    QVERIFY_THROWS_EXCEPTION(PlatformError, saveProgramToPc(rig.session));
}

void ProgramTest::buttonsNeedLink()
{
    const std::function<bool(Session &)> buttons[] = {progDownButton, progSendButton, progRunButton};
    for (const auto &press : buttons) {
        Rig rig;
        rig.session.Connect_flg = false;
        rig.setMemo({QStringLiteral("#R011 D MV 3S;"), QStringLiteral("END")});
        QVERIFY(!press(rig.session));
        QCOMPARE(rig.hooks.messages, QStringList{QStringLiteral(" Datalogger is Unconnected")});
        QVERIFY(rig.sent().isEmpty());
    }
}

QTEST_GUILESS_MAIN(ProgramTest)
#include "tst_program.moc"
