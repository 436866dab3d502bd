#include "desktop/downloadpage.h"

#include "desktop/pagegeometry.h"
#include "desktop/receiveview.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressBar>
#include <QTreeWidget>

namespace kvl {

namespace {
constexpr int ViewTop = 28;          // first row of the page
constexpr int ViewHeightLess = 36;   // each view = half the page height - 36
constexpr int LowerViewOffset = 60;  // lower view top = upper view height + 60
constexpr int TreeLeft = 4;
constexpr int TreeWidth = 240;
constexpr int ViewLeft = TreeLeft + TreeWidth + 6;
} // namespace

DownloadPage::DownloadPage(Session &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("tabDownload"));

    trvFilelist = new QTreeWidget(this);
    trvFilelist->setObjectName(QStringLiteral("trvFilelist"));
    trvFilelist->setHeaderHidden(true);

    mmoDown1 = new ReceiveView(QStringLiteral("mmoDown1"), this);
    mmoDown2 = new ReceiveView(QStringLiteral("mmoDown2"), this);

    barDownload = new QWidget(this);
    barDownload->setObjectName(QStringLiteral("barDownload"));
    barLayout = new QHBoxLayout(barDownload);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->addStretch(1);
    pgbDown = new QProgressBar(barDownload);
    pgbDown->setObjectName(QStringLiteral("pgbDown"));
    pgbDown->setRange(0, 100);
    pgbDown->setValue(0);
    pgbDown->setFixedWidth(220);
    barLayout->addWidget(pgbDown);
    layoutPage();
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
    // The buttons sit in the strip between the two views.
    const int stripTop = ViewTop + viewHeight;
    barDownload->setGeometry(ViewLeft, stripTop + 2, viewWidth, qMax(0, lowerTop - stripTop - 4));
    // The file tree reaches down to the lower view's bottom.
    trvFilelist->setGeometry(TreeLeft, ViewTop, TreeWidth, qMax(0, lowerTop + viewHeight - ViewTop));
}

void DownloadPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPage();
}

} // namespace kvl
