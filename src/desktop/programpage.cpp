#include "desktop/programpage.h"

#include "desktop/guardedconnect.h"
#include "desktop/pagegeometry.h"
#include "desktop/receiveview.h"
#include "logger/clockcommands.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>

namespace kvl {

namespace {
constexpr int MemoTop = 56;         // below the button bar
constexpr int MemoHeightLess = 60;  // memo height = page height - 60
constexpr int MemoWidthLess = 4;    // memo width = half the page width - 4
constexpr int MemoGap = 2;
} // namespace

ProgramPage::ProgramPage(Session &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("tabProg"));

    barProgram = new QWidget(this);
    barProgram->setObjectName(QStringLiteral("barProgram"));
    barLayout = new QHBoxLayout(barProgram);
    barLayout->setContentsMargins(4, 0, 4, 0);
    Btn_TiemSet = new QPushButton(QStringLiteral("Time SET"), barProgram);
    Btn_TiemSet->setObjectName(QStringLiteral("Btn_TiemSet"));
    btn_Reset = new QPushButton(QStringLiteral("Reset"), barProgram);
    btn_Reset->setObjectName(QStringLiteral("btn_Reset"));
    barLayout->addWidget(Btn_TiemSet);
    barLayout->addWidget(btn_Reset);
    barLayout->addStretch(1);
    pgbProgram = new QProgressBar(barProgram);
    pgbProgram->setObjectName(QStringLiteral("pgbProgram"));
    pgbProgram->setRange(0, 100);
    pgbProgram->setValue(0);
    pgbProgram->setFixedWidth(220);
    barLayout->addWidget(pgbProgram);

    Memo_RX_PROG = new ReceiveView(QStringLiteral("Memo_RX_PROG"), this);
    // The program text is the user's to edit; received program lines are appended to it.
    Memo_RX_PROG->setReadOnly(false);
    Memo_RX_PROG->setUndoRedoEnabled(true);
    Memo_RX_Buff = new ReceiveView(QStringLiteral("Memo_RX_Buff"), this);
    layoutPage();

    // The replies of both go to the reply memo.
    connectGuarded(Btn_TiemSet, &QPushButton::clicked, this, m_session,
                   [this] { timeSetButton(m_session, ProgramReplyView); });
    connectGuarded(btn_Reset, &QPushButton::clicked, this, m_session, [this] { resetButton(m_session); });
}

void ProgramPage::layoutPage()
{
    const int w = width();
    const int h = height();
    barProgram->setGeometry(0, 8, w, MemoTop - 14);
    const int memoWidth = qMax(0, halfOf(w) - MemoWidthLess);
    const int memoHeight = qMax(0, h - MemoHeightLess);
    Memo_RX_PROG->setGeometry(0, MemoTop, memoWidth, memoHeight);
    Memo_RX_Buff->setGeometry(memoWidth + MemoGap, MemoTop, memoWidth, memoHeight);
}

void ProgramPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPage();
}

void ProgramPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Each time the page is brought up (not when the window is merely restored).
    if (!event->spontaneous())
        pgbProgram->setValue(0);
}

} // namespace kvl
