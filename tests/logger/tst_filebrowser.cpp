#include "app/errorlog.h"
#include "logger/filebrowser.h"
#include "logger/filetree.h"
#include "support/testrig.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

const QString Close = QStringLiteral("#M01 T C");
const QString Open = QStringLiteral("#M01 T O");
const QString Root = QStringLiteral("CD \\");
const QString Dir = QStringLiteral("dir");
const QString RootNode = QStringLiteral("[\\]");

// The logger's root listing and that of its folder SL01, as CR LF lines in one reply. The
// exchange sees only the last line of a receive event, so each ends with an entry line.
const QByteArray RootListing = "[.]\r\n[..]\r\n[SL01]\r\nPROG.TXT(120)\r\n";
const QByteArray Sl01Listing = "[.]\r\n[..]\r\nROOT\r\nDATA.TXT(1234)\r\n";

// Logger 01 in slot 0, selected and connected, port open; it answers the terminal-mode
// commands and "CD", and lists the given replies to "dir" in turn.
struct Rig : TestRig {
    FileTree tree;

    explicit Rig(QList<QByteArray> dirReplies = {RootListing})
    {
        registry[0].DeviceSet.LogID = QStringLiteral("01");
        session.Selected_index = 0;
        session.Connect_flg = true;
        port.open();
        port.script(Close.toLatin1(), {{"TERMINAL UNC\r\n", 50}});
        port.script(Open.toLatin1(), {{"Terminal\r\n", 50}});
        port.script("CD \\", {{"\\>\r\n", 50}});
        port.script("CD SL01", {{"\\SL01>\r\n", 50}});
        QList<ScriptedPort::Reply> dir;
        for (const QByteArray &r : dirReplies)
            dir << ScriptedPort::Reply{r, 50};
        port.script("dir", dir);
    }
    QStringList sent() const
    {
        QStringList lines;
        for (const QByteArray &l : port.sentLines())
            lines << QString::fromLatin1(l);
        return lines;
    }
    FileNode *top(const QString &text) const
    {
        for (const auto &n : tree.topLevel())
            if (n->text == text)
                return n.get();
        return nullptr;
    }
};

// Panel 3 that fails when a given command is shown, as a port or display failing
// half-way through an operation would.
class FailingPanels final : public StatusPanels {
public:
    FailingPanels(StatusPanels &inner, QString failOn) : m_inner(inner), m_failOn(std::move(failOn)) {}
    void setStatus(int panel, const QString &text) override
    {
        m_inner.setStatus(panel, text);
        if (panel == 3 && text == m_failOn)
            throw PlatformError(QStringLiteral("display failed"));
    }

private:
    StatusPanels &m_inner;
    QString m_failOn;
};

} // namespace

class FileBrowserTest : public QObject {
    Q_OBJECT
private slots:
    void fileList_data();
    void fileList();
    void fileListClosesTerminalModeAfterAnError();
    void openFolderAndRootAgain();
    void doubleClickWithoutFolder_data();
    void doubleClickWithoutFolder();
    void nodePath_data();
    void nodePath();
    void delFile_data();
    void delFile();
};

void FileBrowserTest::fileList_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("selectedIndex");
    QTest::addColumn<bool>("group");
    QTest::addColumn<QByteArray>("dirReply"); // empty: silence
    QTest::addColumn<QStringList>("nodes");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("messages");

    const QStringList stale{QStringLiteral("OLD.TXT(1)")};
    QTest::newRow("root listing") << true << 0 << false << RootListing
        << QStringList{RootNode, QStringLiteral("[SL01]"), QStringLiteral("PROG.TXT(120)")}
        << QStringList{Close, Open, Root, Dir, Close} << QStringList();
    QTest::newRow("ROOT line kept as received") << true << 0 << false << QByteArray("[.]\r\nROOT\r\nA.TXT(1)\r\n")
        << QStringList{RootNode, QStringLiteral("ROOT"), QStringLiteral("A.TXT(1)")}
        << QStringList{Close, Open, Root, Dir, Close} << QStringList();
    QTest::newRow("silent logger") << true << 0 << false << QByteArray() << QStringList()
        << QStringList{Close, Open, Root, Dir, Dir, Close} << QStringList{QStringLiteral("No Answer")};
    QTest::newRow("unconnected") << false << 0 << false << RootListing << stale << QStringList()
        << QStringList{QStringLiteral(" Datalogger is Unconnected")};
    QTest::newRow("no device selected") << true << -1 << false << RootListing << stale << QStringList()
                                        << QStringList();
    QTest::newRow("group selected") << true << 0 << true << RootListing << stale << QStringList() << QStringList();
}

void FileBrowserTest::fileList()
{
    QFETCH(bool, connected);
    QFETCH(int, selectedIndex);
    QFETCH(bool, group);
    QFETCH(QByteArray, dirReply);
    QFETCH(QStringList, nodes);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, messages);

    Rig rig({dirReply});
    rig.session.Connect_flg = connected;
    rig.session.Selected_index = selectedIndex;
    rig.session.delay_stop_flg = true; // left by an earlier Stop
    rig.tree.add(nullptr, QStringLiteral("OLD.TXT(1)"));

    const bool ok = fileListButton(rig.session, rig.tree, group);

    QCOMPARE(rig.tree.topLevelTexts(), nodes);
    QCOMPARE(rig.sent(), sent);
    QCOMPARE(rig.hooks.messages, messages);
    QCOMPARE(ok, !dirReply.isEmpty() && !sent.isEmpty());
    QCOMPARE(rig.session.Result, ok);
    QVERIFY(!rig.hooks.busy);
    if (!sent.isEmpty())
        QCOMPARE(rig.hooks.progress.value(QStringLiteral("pgbDown")), QList<int>{0});
}

void FileBrowserTest::fileListClosesTerminalModeAfterAnError()
{
    Rig rig;
    FailingPanels panels(rig.hooks, Dir);
    rig.session.setStatusPanels(&panels);

    QVERIFY_THROWS_EXCEPTION(PlatformError, fileListButton(rig.session, rig.tree, false));

    QCOMPARE(rig.sent(), QStringList({Close, Open, Root, Dir, Close}));
    QVERIFY(!rig.hooks.busy);
    QVERIFY(!rig.session.operationRunning());
}

// The root listing, then [SL01] opened (twice: its entries are listed once), then its
// "[\]" entry, which shows the root listing again in place of the whole tree.
void FileBrowserTest::openFolderAndRootAgain()
{
    Rig rig({RootListing, Sl01Listing, Sl01Listing, RootListing});
    // The views mirror the tree through the item model and these signals.
    QAbstractItemModelTester modelCheck(&rig.tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy expandSignals(&rig.tree, &FileTree::expandedChanged);
    QVERIFY(fileListButton(rig.session, rig.tree, false));
    FileNode *sl01 = rig.top(QStringLiteral("[SL01]"));
    QVERIFY(sl01);
    const QStringList sl01Entries{RootNode, RootNode, QStringLiteral("DATA.TXT(1234)")};

    for (int round = 0; round < 2; ++round) {
        rig.tree.setSelected(sl01);
        const qsizetype before = rig.port.sentLines().size();
        const FileTreeActionResult r = fileTreeDoubleClick(rig.session, rig.tree);
        QCOMPARE(r.action, FileTreeAction::FolderOpened);
        QCOMPARE(rig.sent().mid(before), QStringList({Open, Root, QStringLiteral("CD SL01"), Dir, Close}));
        QCOMPARE(FileTree::childTexts(*sl01), sl01Entries);
        QVERIFY(sl01->expanded);
        QCOMPARE(expandSignals.size(), 1);
        QCOMPARE(expandSignals.front().front().value<QModelIndex>(), rig.tree.indexOf(sl01));
        QCOMPARE(rig.tree.topLevelTexts(), QStringList({RootNode, QStringLiteral("[SL01]"), QStringLiteral("PROG.TXT(120)")}));
    }

    rig.tree.setSelected(sl01->children.front().get());
    const qsizetype before = rig.port.sentLines().size();
    QCOMPARE(fileTreeDoubleClick(rig.session, rig.tree).action, FileTreeAction::FolderOpened);
    QCOMPARE(rig.sent().mid(before), QStringList({Open, Root, Root, Dir, Close}));
    QCOMPARE(rig.tree.topLevelTexts(), QStringList({RootNode, QStringLiteral("[SL01]"), QStringLiteral("PROG.TXT(120)")}));
    QVERIFY(!rig.tree.selected());
    QVERIFY(rig.hooks.messages.isEmpty());
    QVERIFY(!rig.hooks.busy);
}

// What a double click does besides opening a folder. A file is handed to the download
// inside the bracket: terminal mode is closed only after it.
void FileBrowserTest::doubleClickWithoutFolder_data()
{
    QTest::addColumn<QString>("node"); // under [SL01]; empty: none selected
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("downloaded");
    QTest::addColumn<QStringList>("sent");

    const QString data = QStringLiteral("DATA.TXT(1234)");
    QTest::newRow("file") << data << true << true << int(FileTreeAction::DownloadRequested)
                          << QStringLiteral("\\SL01\\DATA.TXT(1234)") << QStringList{QStringLiteral("fread"), Close};
    QTest::newRow("neither folder nor file") << QStringLiteral("LOG.BIN(5)") << true << true
                                             << int(FileTreeAction::Nothing) << QString() << QStringList{Close};
    QTest::newRow("no node") << QString() << true << true << int(FileTreeAction::Nothing) << QString()
                             << QStringList{Close};
    QTest::newRow("unconnected") << data << false << true << int(FileTreeAction::Nothing) << QString()
                                 << QStringList{Close};
    QTest::newRow("port closed") << data << true << false << int(FileTreeAction::Nothing) << QString()
                                 << QStringList();
}

void FileBrowserTest::doubleClickWithoutFolder()
{
    QFETCH(QString, node);
    QFETCH(bool, connected);
    QFETCH(bool, portOpen);
    QFETCH(int, action);
    QFETCH(QString, downloaded);
    QFETCH(QStringList, sent);

    Rig rig;
    rig.session.Connect_flg = connected;
    if (!portOpen)
        rig.port.close();
    FileNode *folder = rig.tree.add(nullptr, QStringLiteral("[SL01]"));
    if (!node.isEmpty())
        rig.tree.setSelected(rig.tree.add(folder, node));
    rig.session.Views.appendLine(RxView::Terminal, QStringLiteral("stale"));

    QString handed;
    const FileTreeActionResult r = fileTreeDoubleClick(rig.session, rig.tree, [&](const QString &path) {
        handed = path;
        QCOMPARE(rig.session.RxTypeIndex, RxView::DownloadUpper);
        QCOMPARE(rig.hooks.progress.value(QStringLiteral("pgbDown")), QList<int>{0});
        QVERIFY(rig.hooks.busy);
        rig.port.write("fread\r\n");
    });

    QCOMPARE(int(r.action), action);
    QCOMPARE(r.path, downloaded);
    QCOMPARE(handed, downloaded);
    QCOMPARE(rig.sent(), sent);
    QVERIFY(!rig.session.Views.lines(RxView::Terminal).contains(QStringLiteral("stale")));
    QVERIFY(!rig.hooks.busy);
}

void FileBrowserTest::nodePath_data()
{
    QTest::addColumn<QString>("parent"); // empty: top level
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QString>("path");

    QTest::newRow("top-level file") << QString() << QStringLiteral("PROG.TXT(120)")
                                    << QStringLiteral("\\PROG.TXT(120)") << QStringLiteral("\\PROG.TXT");
    QTest::newRow("file under a folder") << QStringLiteral("[SL01]") << QStringLiteral("DATA.TXT(1234)")
                                         << QStringLiteral("\\SL01\\DATA.TXT(1234)") << QStringLiteral("\\SL01\\DATA.TXT");
    QTest::newRow("no extension") << QString() << QStringLiteral("README") << QStringLiteral("\\README")
                                  << QStringLiteral("\\README");
}

void FileBrowserTest::nodePath()
{
    QFETCH(QString, parent);
    QFETCH(QString, text);
    QFETCH(QString, listed);
    QFETCH(QString, path);

    FileTree tree;
    FileNode *under = parent.isEmpty() ? nullptr : tree.add(nullptr, parent);
    const FileNode *node = tree.add(under, text);
    QCOMPARE(fileNodeListedPath(*node), listed);
    QCOMPARE(fileNodePath(*node), path);
}

void FileBrowserTest::delFile_data()
{
    QTest::addColumn<QString>("parent"); // empty: top level
    QTest::addColumn<QString>("node");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("messages");

    const QStringList listAgain{Close, Open, Root, Dir, Close};
    QTest::newRow("top-level file") << QString() << QStringLiteral("PROG.TXT(120)") << true
        << (QStringList{Close, Open, Root, QStringLiteral("DEL \\PROG.TXT"), Close} + listAgain) << QStringList();
    QTest::newRow("file in a folder") << QStringLiteral("[SL01]") << QStringLiteral("DATA.TXT(1234)") << true
        << (QStringList{Close, Open, Root, QStringLiteral("DEL \\SL01\\DATA.TXT"), Close} + listAgain)
        << QStringList();
    QTest::newRow("shortened name") << QString() << QStringLiteral("PROGRA~1.TXT(12)") << true
        << QStringList{Close, Open, Close} << QStringList{QStringLiteral(" Error - Folder name has [~]")};
    QTest::newRow("folder node") << QString() << QStringLiteral("[SL01]") << true << QStringList() << QStringList();
    QTest::newRow("root node") << QString() << RootNode << true << QStringList() << QStringList();
    QTest::newRow("unconnected") << QString() << QStringLiteral("PROG.TXT(120)") << false << QStringList()
                                 << QStringList{QStringLiteral(" Datalogger is Unconnected")};
}

void FileBrowserTest::delFile()
{
    QFETCH(QString, parent);
    QFETCH(QString, node);
    QFETCH(bool, connected);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, messages);

    Rig rig({"[.]\r\n[SL01]\r\n"});
    rig.session.Connect_flg = connected;
    FileNode *under = parent.isEmpty() ? nullptr : rig.tree.add(nullptr, parent);
    rig.tree.setSelected(rig.tree.add(under, node));

    const bool deleted = delFileButton(rig.session, rig.tree, false);

    QCOMPARE(rig.sent(), sent);
    QCOMPARE(rig.hooks.messages, messages);
    QCOMPARE(deleted, sent.size() > 3);
    if (deleted) // listed again: the file is gone from the tree
        QCOMPARE(rig.tree.topLevelTexts(), QStringList({RootNode, QStringLiteral("[SL01]")}));
}

QTEST_GUILESS_MAIN(FileBrowserTest)
#include "tst_filebrowser.moc"
