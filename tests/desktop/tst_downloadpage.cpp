// The download page on the offscreen platform, driven by clicks against a scripted
// logger: "File List" fills the file tree view, a double click opens a folder under its
// node or reads a file into the upper download view.

#include "desktop/desktophooks.h"
#include "desktop/downloadpage.h"
#include "desktop/filetreeview.h"
#include "desktop/receiveview.h"
#include "registry/devicetree.h"
#include "support/testrig.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

const QString RootNode = QStringLiteral("[\\]");

// Logger 01 in slot 0, selected and connected, port open, and the page shown with its
// views as the session's line sinks and progress bars.
struct PageRig : TestRig {
    DownloadPage page{session};
    PageLineSinks sinks;
    NamedProgressBars bars{&page};

    PageRig()
    {
        registry[0].DeviceSet.LogID = QStringLiteral("01");
        session.Selected_index = 0;
        session.Connect_flg = true;
        port.open();
        port.script("#M01 T C", {{"TERMINAL UNC\r\n", 50}});
        port.script("#M01 T O", {{"Terminal\r\n", 50}});
        port.script("CD \\", {{"\\>\r\n", 50}});
        port.script("CD SL01", {{"\\SL01>\r\n", 50}});
        // The root listing first, that of SL01 next.
        port.script("dir", {{"[.]\r\n[..]\r\n[SL01]\r\nPROG.TXT(120)\r\n", 50},
                            {"[.]\r\n[..]\r\nROOT\r\nDATA.TXT(1234)\r\n", 50}});
        sinks.setView(RxView::DownloadUpper, page.mmoDown1);
        sinks.setView(RxView::DownloadLower, page.mmoDown2);
        session.setLineSinks(&sinks);
        session.setProgressSink(&bars);
        page.resize(900, 600);
        page.show();
    }
    QStringList texts(const QModelIndex &parent = {}) const
    {
        const QAbstractItemModel *model = page.trvFilelist->model();
        QStringList list;
        for (int row = 0; row < model->rowCount(parent); ++row)
            list << model->index(row, 0, parent).data().toString();
        return list;
    }
    QModelIndex top(const QString &text) const
    {
        const QAbstractItemModel *model = page.trvFilelist->model();
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, 0).data().toString() == text)
                return model->index(row, 0);
        return {};
    }
    void doubleClick(const QModelIndex &index)
    {
        FileTreeView *view = page.trvFilelist;
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }
};

} // namespace

class DownloadPageTest : public QObject {
    Q_OBJECT
private slots:
    void fileListFillsTheView_data();
    void fileListFillsTheView();
    void doubleClickOpensFolderUnderItsNode();
    void doubleClickReadsFileIntoUpperView();
};

// The device tree's selection decides: a logger lists, a group (a node with children)
// sends nothing.
void DownloadPageTest::fileListFillsTheView_data()
{
    QTest::addColumn<bool>("group");
    QTest::addColumn<QStringList>("nodes");

    QTest::newRow("logger selected") << false
                                     << QStringList{RootNode, QStringLiteral("[SL01]"), QStringLiteral("PROG.TXT(120)")};
    QTest::newRow("group selected") << true << QStringList();
}

void DownloadPageTest::fileListFillsTheView()
{
    QFETCH(bool, group);
    QFETCH(QStringList, nodes);

    PageRig rig;
    DeviceTreeModel devices;
    DeviceNode *site = devices.addSibling(nullptr, QStringLiteral("Site"), Setup());
    DeviceNode *logger = devices.addChild(site, QStringLiteral("Dam A"), Setup());
    devices.setSelected(group ? site : logger);
    rig.page.setDeviceTree(&devices);

    rig.page.btnFileList->click();

    QCOMPARE(rig.texts(), nodes);
    QCOMPARE(rig.port.sentLines().isEmpty(), group);
    QVERIFY(rig.hooks.messages.isEmpty());
}

// [SL01] gets its folder's entries as children and shows them expanded; the double
// clicked node is the tree's selection and the view's current item.
void DownloadPageTest::doubleClickOpensFolderUnderItsNode()
{
    PageRig rig;
    rig.page.btnFileList->click();
    const QModelIndex sl01 = rig.top(QStringLiteral("[SL01]"));
    QVERIFY(sl01.isValid());

    // Opened twice: the entries are listed once and stay shown.
    for (int round = 0; round < 2; ++round) {
        rig.doubleClick(sl01);
        QCOMPARE(rig.texts(sl01), QStringList({RootNode, RootNode, QStringLiteral("DATA.TXT(1234)")}));
        QVERIFY(rig.page.trvFilelist->isExpanded(sl01));
    }
    QCOMPARE(rig.page.fileTree().selected(), rig.page.fileTree().nodeFrom(sl01));
    QCOMPARE(rig.page.trvFilelist->currentIndex(), sl01);
    QCOMPARE(rig.port.sentLines().mid(rig.port.sentLines().lastIndexOf("CD SL01") + 1),
             QList<QByteArray>({"dir", "#M01 T C"}));
    QVERIFY(rig.hooks.messages.isEmpty());
}

void DownloadPageTest::doubleClickReadsFileIntoUpperView()
{
    PageRig rig;
    rig.page.btnFileList->click();
    // 120 characters, as the listing line says.
    QStringList lines;
    QByteArray file;
    for (int i = 0; i < 10; ++i) {
        lines << QStringLiteral("ROW%1,12.34").arg(i);
        file += lines.last().toLatin1() + "\r\n";
    }
    QCOMPARE(file.size(), 120);
    rig.port.script("fread \\PROG.TXT", {{file, 50}});

    rig.doubleClick(rig.top(QStringLiteral("PROG.TXT(120)")));

    QCOMPARE(rig.page.mmoDown1->lines(), lines);
    QCOMPARE(rig.hooks.messages, QStringList{QStringLiteral("Download done.")});
    QCOMPARE(rig.page.pgbDown->value(), 100);
    QCOMPARE(rig.port.sentLines().last(), QByteArray("#M01 T C"));
}

QTEST_MAIN(DownloadPageTest)
#include "tst_downloadpage.moc"
