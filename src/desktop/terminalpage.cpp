#include "desktop/terminalpage.h"

#include "desktop/receiveview.h"

#include <QHBoxLayout>

namespace kvl {

namespace {
constexpr int SendPanelWidth = 560;
constexpr int ReplyTop = 53;
constexpr int ReplyHeightLess = 57;  // reply view = page height - 57
} // namespace

TerminalPage::TerminalPage(Session &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("tabTerminal"));

    panelSend = new QWidget(this);
    panelSend->setObjectName(QStringLiteral("panelSend"));

    barTerminal = new QWidget(this);
    barTerminal->setObjectName(QStringLiteral("barTerminal"));
    barLayout = new QHBoxLayout(barTerminal);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->addStretch(1);

    mmoRxTemp = new ReceiveView(QStringLiteral("mmoRxTemp"), this);
    layoutPage();
}

void TerminalPage::layoutPage()
{
    const int w = width();
    const int h = height();
    panelSend->setGeometry(4, 4, SendPanelWidth, qMax(0, h - 8));
    const int left = SendPanelWidth + 10;
    const int replyWidth = qMax(0, w - left - 4);
    barTerminal->setGeometry(left, 4, replyWidth, ReplyTop - 8);
    mmoRxTemp->setGeometry(left, ReplyTop, replyWidth, qMax(0, h - ReplyHeightLess));
}

void TerminalPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPage();
}

} // namespace kvl
