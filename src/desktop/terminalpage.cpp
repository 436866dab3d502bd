#include "desktop/terminalpage.h"

#include "app/session.h"
#include "connection/supervision.h"
#include "desktop/guardedconnect.h"
#include "desktop/receiveview.h"
#include "link/serialport.h"
#include "logger/clockcommands.h"

#include <QHBoxLayout>
#include <QShowEvent>
#include <QToolButton>

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
    btnComOpen = new QToolButton(barTerminal);
    btnComOpen->setObjectName(QStringLiteral("btnComOpen"));
    btnComOpen->setText(QStringLiteral("ComOpen"));
    btnDisconnect = new QToolButton(barTerminal);
    btnDisconnect->setObjectName(QStringLiteral("btnDisconnect"));
    btnDisconnect->setText(QStringLiteral("Disconnect"));
    // Wide enough for either caption, so the toggle does not shift the buttons beside it.
    btnComOpen->setText(QStringLiteral("ComClose"));
    btnComOpen->setMinimumWidth(btnComOpen->sizeHint().width());
    btnComOpen->setText(QStringLiteral("ComOpen"));
    barLayout->addWidget(btnComOpen);
    barLayout->addWidget(btnDisconnect);
    SpeedButton1 = new QToolButton(barTerminal);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("Time SET"));
    barLayout->addWidget(SpeedButton1);
    barLayout->addStretch(1);

    mmoRxTemp = new ReceiveView(QStringLiteral("mmoRxTemp"), this);
    layoutPage();

    connectGuarded(btnComOpen, &QToolButton::clicked, this, m_session, [this] { btnComOpenClick(); });
    connectGuarded(btnDisconnect, &QToolButton::clicked, this, m_session, [this] { btnDisconnectClick(); });
    // The port also opens and closes without this button (connect, disconnect, the
    // connection test, an adapter pulled out): the caption keeps naming what a press does.
    if (SerialPort *port = m_session.ComPort) {
        connect(port, &SerialPort::afterOpen, btnComOpen, [this] { btnComOpen->setText(QStringLiteral("ComClose")); });
        connect(port, &SerialPort::afterClose, btnComOpen, [this] { btnComOpen->setText(QStringLiteral("ComOpen")); });
    }
    // The reply goes to the terminal memo.
    connectGuarded(SpeedButton1, &QToolButton::clicked, this, m_session,
                   [this] { timeSetButton(m_session, TerminalView); });
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

void TerminalPage::btnComOpenClick()
{
    // Nothing was done (no device selected, or another operation runs): the caption stays.
    if (const QString caption = comOpenButton(m_session); !caption.isEmpty())
        btnComOpen->setText(caption);
}

void TerminalPage::btnDisconnectClick() { terminalDisconnectButton(m_session); }

void TerminalPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPage();
}

void TerminalPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Each time the page is brought up (not when the window is merely restored).
    if (!event->spontaneous())
        m_session.refreshNowYear();
}

} // namespace kvl
