// The program page on the offscreen platform: the program memo the user types is the
// program the core sends, and what the core puts into the memo shows in the widget.

#include "desktop/desktophooks.h"
#include "desktop/programpage.h"
#include "desktop/receiveview.h"
#include "support/testrig.h"

#include <QPushButton>
#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

// Logger 01 in slot 0, selected and connected, port open, and the page shown with its
// memos as the session's line sinks.
struct PageRig : TestRig {
    ProgramPage page{session};
    PageLineSinks sinks;

    PageRig()
    {
        registry[0].DeviceSet.LogID = QStringLiteral("01");
        session.Selected_index = 0;
        session.Connect_flg = true;
        port.open();
        port.script("#M01 T C", {{"Terminal mode UNC\r\n", 50}});
        port.script("#M01 T O", {{"Terminal mode\r\n", 50}});
        sinks.setView(RxView::Program, page.Memo_RX_PROG);
        sinks.setView(RxView::ProgramReply, page.Memo_RX_Buff);
        session.setLineSinks(&sinks);
        page.resize(1000, 500);
        page.show();
    }
    // Types the lines into the program memo as the user would, Enter between them.
    void type(const QStringList &lines)
    {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(page.Memo_RX_PROG, Qt::Key_Return);
            QTest::keyClicks(page.Memo_RX_PROG, lines[i]);
        }
    }
};

const QStringList Program{QStringLiteral("#R011 D MV 2S;"), QStringLiteral("INT 60M;"), QStringLiteral("END")};

} // namespace

class ProgramPageTest : public QObject {
    Q_OBJECT
private slots:
    void progSendSendsTheTypedMemo();
    void memoFollowsTheCoreAndClearEmptiesIt();
};

void ProgramPageTest::progSendSendsTheTypedMemo()
{
    PageRig rig;
    rig.port.script("FCreate \\PROG.TXT", {{"Created\r\n", 50}});
    rig.port.script("dir", {{"PROG.TXT(0)\r\n", 50}});
    rig.port.script("mode /t", {{"FULL\r\n", 50}});
    for (const QString &line : Program)
        rig.port.script("Fputs \\PROG.TXT /a " + line.toLatin1(), {{"OK\r\n", 150}});

    rig.type(Program);
    rig.page.Btn_PROGWRITE->click();

    QList<QByteArray> fputs;
    for (const QByteArray &line : rig.port.sentLines())
        if (line.startsWith("Fputs "))
            fputs << line;
    QCOMPARE(fputs, QList<QByteArray>({"Fputs \\PROG.TXT /a #R011 D MV 2S;", "Fputs \\PROG.TXT /a INT 60M;",
                                       "Fputs \\PROG.TXT /a END"}));
    QCOMPARE(rig.hooks.messages, QStringList{QStringLiteral("PROG.TXT Input Complete")});
    QCOMPARE(rig.page.Memo_RX_Buff->lines(), QStringList(3, QStringLiteral("OK")));
    QCOMPARE(rig.page.Memo_RX_PROG->lines(), Program);
}

// A program put into the core (as the wizard's "Done" does) shows in the memo; the user's
// edit of it reaches the core; "Clear" empties both memos, without a link too.
void ProgramPageTest::memoFollowsTheCoreAndClearEmptiesIt()
{
    PageRig rig;
    rig.session.Views.appendLine(RxView::ProgramReply, QStringLiteral("OK"));
    rig.session.Views.setLines(RxView::Program, Program.mid(0, 2));
    QCOMPARE(rig.page.Memo_RX_PROG->lines(), Program.mid(0, 2));

    rig.page.Memo_RX_PROG->moveCursor(QTextCursor::End);
    QTest::keyClick(rig.page.Memo_RX_PROG, Qt::Key_Return);
    QTest::keyClicks(rig.page.Memo_RX_PROG, QStringLiteral("END"));
    QCOMPARE(rig.session.Views.lines(RxView::Program), Program);

    rig.session.Connect_flg = false;
    rig.page.Btn_Program_Clear->click();

    QVERIFY(rig.page.Memo_RX_PROG->lines().isEmpty());
    QVERIFY(rig.page.Memo_RX_Buff->lines().isEmpty());
    QVERIFY(rig.session.Views.lines(RxView::Program).isEmpty());
    QVERIFY(rig.hooks.messages.isEmpty());
}

QTEST_MAIN(ProgramPageTest)
#include "tst_programpage.moc"
