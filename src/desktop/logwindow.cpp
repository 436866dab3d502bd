#include "desktop/logwindow.h"

#include "app/session.h"
#include "desktop/guardedconnect.h"
#include "desktop/receiveview.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace kvl {

namespace {

// The TX list's height while both lists are shown (it sits at the top, the RX list takes
// the rest).
constexpr int TopListHeight = 200;
constexpr int ButtonHeight = 30;
constexpr int ClearStripHeight = 24;

QPushButton *makePanelButton(QWidget *parent, const QString &name, const QString &caption, int height)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFixedHeight(height);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TFmLogMessage::TFmLogMessage(Session &session, QWidget *owner)
    : QWidget(owner, Qt::Window), m_session(session)
{
    setObjectName(QStringLiteral("TFmLogMessage"));
    setWindowTitle(QStringLiteral("MessageBox"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *buttons = new QGridLayout;
    buttons->setSpacing(0);
    Pnl_LogTX = makePanelButton(this, QStringLiteral("Pnl_LogTX"), QStringLiteral("TX_Message"), ButtonHeight);
    Pnl_LogRX = makePanelButton(this, QStringLiteral("Pnl_LogRX"), QStringLiteral("RX_Message"), ButtonHeight);
    Pnl_Close = makePanelButton(this, QStringLiteral("Pnl_Close"), QStringLiteral("Close"), ButtonHeight);
    Panel4 = makePanelButton(this, QStringLiteral("Panel4"), QStringLiteral("MessageClear"), ClearStripHeight);
    buttons->addWidget(Pnl_LogTX, 0, 0);
    buttons->addWidget(Pnl_LogRX, 0, 1);
    buttons->addWidget(Pnl_Close, 0, 2);
    buttons->addWidget(Panel4, 1, 0, 1, 3);
    column->addLayout(buttons);

    m_lists = new QVBoxLayout;
    m_lists->setSpacing(0);
    Log_TX = new ReceiveView(QStringLiteral("Log_TX"), this);
    Log_RX = new ReceiveView(QStringLiteral("Log_RX"), this);
    for (ReceiveView *list : {Log_TX, Log_RX}) {
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        list->setFrameShape(QFrame::Box);
    }
    Log_TX->setPlainText(QStringLiteral("TX_Message"));
    Log_RX->setPlainText(QStringLiteral("RX_Message"));
    Log_TX->setFixedHeight(TopListHeight);
    m_lists->addWidget(Log_TX, 0);
    m_lists->addWidget(Log_RX, 1);
    column->addLayout(m_lists, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    for (int k = 0; k < 2; ++k) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(k));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1->addWidget(panel, 1);
    }
    column->addWidget(StatusBar1);

    resize(ClientWidth, ClientHeight);

    connectGuarded(Pnl_LogTX, &QPushButton::clicked, this, m_session, [this] { Pnl_LogTXClick(); });
    connectGuarded(Pnl_LogRX, &QPushButton::clicked, this, m_session, [this] { Pnl_LogRXClick(); });
    connectGuarded(Pnl_Close, &QPushButton::clicked, this, m_session, [this] { Pnl_CloseClick(); });
    connectGuarded(Panel4, &QPushButton::clicked, this, m_session, [this] { Panel4Click(); });

    m_session.attachTrafficLog(this);
}

TFmLogMessage::~TFmLogMessage() { detach(); }

void TFmLogMessage::detach() { m_session.detachTrafficLog(this); }

void TFmLogMessage::appendTx(const QString &entry) { Log_TX->appendLine(entry); }

void TFmLogMessage::appendRx(const QString &line) { Log_RX->appendLine(line); }

void TFmLogMessage::showOnly(ReceiveView *shown, ReceiveView *hidden)
{
    hidden->hide();
    shown->setMinimumHeight(0);
    shown->setMaximumHeight(QWIDGETSIZE_MAX);
    m_lists->setStretchFactor(shown, 1);
    shown->show();
}

void TFmLogMessage::Pnl_LogTXClick() { showOnly(Log_TX, Log_RX); }

void TFmLogMessage::Pnl_LogRXClick() { showOnly(Log_RX, Log_TX); }

void TFmLogMessage::Pnl_CloseClick()
{
    detach();
    close();
}

void TFmLogMessage::Panel4Click()
{
    Log_TX->clearLines();
    Log_RX->clearLines();
}

void TFmLogMessage::closeEvent(QCloseEvent *event)
{
    // Recording stops with the window; it is destroyed once the close is through.
    detach();
    QWidget::closeEvent(event);
}

} // namespace kvl
