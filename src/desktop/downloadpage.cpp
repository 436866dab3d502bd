#include "desktop/downloadpage.h"

#include "app/session.h"
#include "desktop/filetreeview.h"
#include "desktop/guardedconnect.h"
#include "desktop/pagegeometry.h"
#include "desktop/receiveview.h"
#include "logger/datadelete.h"
#include "logger/download.h"
#include "logger/downloadactions.h"
#include "logger/filebrowser.h"
#include "registry/devicetree.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>

namespace kvl {

namespace {
constexpr int ViewTop = 28;          // first row of the page
constexpr int ViewHeightLess = 36;   // each view = half the page height - 36
constexpr int LowerViewOffset = 60;  // lower view top = upper view height + 60
constexpr int TreeLeft = 4;
constexpr int TreeWidth = 240;
constexpr int ViewLeft = TreeLeft + TreeWidth + 6;
constexpr int ProgressWidth = 220;

QPushButton *makeButton(QWidget *parent, QHBoxLayout *layout, const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
}
} // namespace

DownloadPage::DownloadPage(Session &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("tabDownload"));

    barFiles = new QWidget(this);
    barFiles->setObjectName(QStringLiteral("barFiles"));
    auto *filesLayout = new QHBoxLayout(barFiles);
    filesLayout->setContentsMargins(0, 0, 0, 0);
    btnFileList = makeButton(barFiles, filesLayout, QStringLiteral("btnFileList"), QStringLiteral("File List"));
    btnDelFile = makeButton(barFiles, filesLayout, QStringLiteral("btnDelFile"), QStringLiteral("Del File"));

    trvFilelist = new FileTreeView(m_files, this);

    mmoDown1 = new ReceiveView(QStringLiteral("mmoDown1"), this);
    mmoDown2 = new ReceiveView(QStringLiteral("mmoDown2"), this);

    barDownload = new QWidget(this);
    barDownload->setObjectName(QStringLiteral("barDownload"));
    barLayout = new QHBoxLayout(barDownload);
    barLayout->setContentsMargins(0, 0, 0, 0);
    btnAllDataDown = makeButton(barDownload, barLayout, QStringLiteral("btnAllDataDown"), QStringLiteral("All Down"));
    btnLastDown = makeButton(barDownload, barLayout, QStringLiteral("btnLastDown"), QStringLiteral("Last Down"));
    btnDeleteDataAll =
        makeButton(barDownload, barLayout, QStringLiteral("btnDeleteDataAll"), QStringLiteral("Del Data All"));
    btnDownClear = makeButton(barDownload, barLayout, QStringLiteral("btnDownClear"), QStringLiteral("Clear"));
    barLayout->addStretch(1);
    pgbDown = new QProgressBar(barDownload);
    pgbDown->setObjectName(QStringLiteral("pgbDown"));
    pgbDown->setRange(0, 100);
    pgbDown->setValue(0);
    pgbDown->setFixedWidth(ProgressWidth);
    barLayout->addWidget(pgbDown);
    layoutPage();

    connectGuarded(btnFileList, &QPushButton::clicked, this, m_session, [this] { btnFileListClick(); });
    connectGuarded(btnDelFile, &QPushButton::clicked, this, m_session, [this] { btnDelFileClick(); });
    connectGuarded(trvFilelist, &FileTreeView::nodeDoubleClicked, this, m_session,
                   [this] { trvFilelistDblClick(); });
    connectGuarded(btnAllDataDown, &QPushButton::clicked, this, m_session, [this] { allDownButton(m_session); });
    connectGuarded(btnLastDown, &QPushButton::clicked, this, m_session, [this] { lastDownButton(m_session); });
    connectGuarded(btnDeleteDataAll, &QPushButton::clicked, this, m_session,
                   [this] { DeleteDataAll2(m_session, &m_files); });
    connectGuarded(btnDownClear, &QPushButton::clicked, this, m_session, [this] { downClearButton(m_session); });

    // Appends and clears reach the download views through the session's line sinks; a
    // replaced view is shown from the core's copy.
    connect(&m_session.Views, &ReceiveViews::viewReplaced, this, [this](int view) {
        guarded(m_session, [&] { showReplacedView(view); });
    });
}

DownloadPage::~DownloadPage()
{
    // The view goes before the tree it shows.
    delete trvFilelist;
}

bool DownloadPage::selectionIsNoLogger() const
{
    if (!m_devices)
        return false;
    const DeviceNode *node = m_devices->selected();
    return !node || node->hasChildren();
}

void DownloadPage::btnFileListClick()
{
    fileListButton(m_session, m_files, selectionIsNoLogger());
}

void DownloadPage::btnDelFileClick()
{
    delFileButton(m_session, m_files, selectionIsNoLogger());
}

void DownloadPage::trvFilelistDblClick()
{
    // A file node is read into the upper download view; folders are opened by the call.
    fileTreeDoubleClick(m_session, m_files, [this](const QString &listedPath) { FileDown(m_session, listedPath); });
}

void DownloadPage::showReplacedView(int view)
{
    ReceiveView *widget = view == RxView::DownloadUpper   ? mmoDown1
                          : view == RxView::DownloadLower ? mmoDown2
                                                          : nullptr;
    if (!widget)
        return;
    widget->clearLines();
    const QStringList &lines = m_session.Views.lines(view);
    if (!lines.isEmpty())
        widget->setPlainText(lines.join(QLatin1Char('\n')));
}

void DownloadPage::layoutPage()
{
    const int w = width();
    const int h = height();
    const int viewHeight = qMax(0, halfOf(h) - ViewHeightLess);
    const int viewWidth = qMax(0, w - ViewLeft - 4);
    const int lowerTop = viewHeight + LowerViewOffset;
    mmoDown1->setGeometry(ViewLeft, ViewTop, viewWidth, viewHeight);
    mmoDown2->setGeometry(ViewLeft, lowerTop, viewWidth, viewHeight);
    // The download buttons sit in the strip between the two views.
    const int stripTop = ViewTop + viewHeight;
    barDownload->setGeometry(ViewLeft, stripTop + 2, viewWidth, qMax(0, lowerTop - stripTop - 4));
    // "File List" and "Del File" in the first row, over the file tree, which reaches down
    // to the lower view's bottom.
    barFiles->setGeometry(TreeLeft, 1, TreeWidth, ViewTop - 3);
    trvFilelist->setGeometry(TreeLeft, ViewTop, TreeWidth, qMax(0, lowerTop + viewHeight - ViewTop));
}

void DownloadPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPage();
}

} // namespace kvl
