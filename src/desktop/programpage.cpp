#include "desktop/programpage.h"

#include "app/session.h"
#include "desktop/guardedconnect.h"
#include "desktop/pagegeometry.h"
#include "desktop/receiveview.h"
#include "logger/clockcommands.h"
#include "logger/programactions.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QTextDocument>

namespace kvl {

namespace {
constexpr int MemoTop = 56;         // below the button bar
constexpr int MemoHeightLess = 60;  // memo height = page height - 60
constexpr int MemoWidthLess = 4;    // memo width = half the page width - 4
constexpr int MemoGap = 2;
constexpr int ProgressWidth = 220;

// The buttons carry their tags as a property, as the dispatcher knows them.
QPushButton *makeButton(QWidget *parent, QHBoxLayout *layout, const QString &name, const QString &caption, int tag)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    if (tag >= 0)
        button->setProperty("tag", tag);
    layout->addWidget(button);
    return button;
}

// The widget's text as the core keeps it: one string per line. The raw text keeps every
// character as typed (a no-break space stays one); line and paragraph breaks both end a
// line. An empty document is no line.
QString widgetText(const ReceiveView &memo)
{
    QString text = memo.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}
} // namespace

ProgramPage::ProgramPage(Session &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("tabProg"));

    barProgram = new QWidget(this);
    barProgram->setObjectName(QStringLiteral("barProgram"));
    barLayout = new QHBoxLayout(barProgram);
    barLayout->setContentsMargins(4, 0, 4, 0);
    QWidget *bar = barProgram;
    Btn_PROGDOWN = makeButton(bar, barLayout, QStringLiteral("Btn_PROGDOWN"), QStringLiteral("Prog Down"),
                              ProgramTag::ProgDown);
    Btn_PROGWRITE = makeButton(bar, barLayout, QStringLiteral("Btn_PROGWRITE"), QStringLiteral("Prog Send"),
                               ProgramTag::ProgSend);
    Btn_RUN = makeButton(bar, barLayout, QStringLiteral("Btn_RUN"), QStringLiteral("Prog Run"), ProgramTag::ProgRun);
    Btn_Stop_Flag = makeButton(bar, barLayout, QStringLiteral("Btn_Stop_Flag"), QStringLiteral("Stop Run"),
                               ProgramTag::StopRun);
    barLayout->addSpacing(12);
    Btn_Program_Clear = makeButton(bar, barLayout, QStringLiteral("Btn_Program_Clear"), QStringLiteral("Clear"),
                                   ProgramTag::Clear);
    SpeedButton3 = makeButton(bar, barLayout, QStringLiteral("SpeedButton3"), QStringLiteral("Save to PC"),
                              ProgramTag::TimeSet);
    SpeedButton21 = makeButton(bar, barLayout, QStringLiteral("SpeedButton21"), QStringLiteral("Wizard"), -1);
    // The program wizard window does not exist yet.
    SpeedButton21->setEnabled(false);
    barLayout->addSpacing(12);
    Btn_TiemSet = makeButton(bar, barLayout, QStringLiteral("Btn_TiemSet"), QStringLiteral("Time SET"),
                             ProgramTag::TimeSet);
    btn_Reset = makeButton(bar, barLayout, QStringLiteral("btn_Reset"), QStringLiteral("Reset"), ProgramTag::Reset);
    barLayout->addStretch(1);
    pgbProgram = new QProgressBar(barProgram);
    pgbProgram->setObjectName(QStringLiteral("pgbProgram"));
    pgbProgram->setRange(0, 100);
    pgbProgram->setValue(0);
    pgbProgram->setFixedWidth(ProgressWidth);
    barLayout->addWidget(pgbProgram);

    Memo_RX_PROG = new ReceiveView(QStringLiteral("Memo_RX_PROG"), this);
    // The program text is the user's to edit; received program lines are appended to it.
    Memo_RX_PROG->setReadOnly(false);
    Memo_RX_PROG->setUndoRedoEnabled(true);
    Memo_RX_Buff = new ReceiveView(QStringLiteral("Memo_RX_Buff"), this);
    showReplacedView(RxView::Program);
    showReplacedView(RxView::ProgramReply);
    layoutPage();

    connectGuarded(Btn_PROGDOWN, &QPushButton::clicked, this, m_session, [this] { progDownButton(m_session); });
    connectGuarded(Btn_PROGWRITE, &QPushButton::clicked, this, m_session, [this] { progSendButton(m_session); });
    connectGuarded(Btn_RUN, &QPushButton::clicked, this, m_session, [this] { progRunButton(m_session); });
    connectGuarded(Btn_Stop_Flag, &QPushButton::clicked, this, m_session, [this] { stopRunButton(m_session); });
    connectGuarded(Btn_Program_Clear, &QPushButton::clicked, this, m_session,
                   [this] { programClearButton(m_session); });
    connectGuarded(SpeedButton3, &QPushButton::clicked, this, m_session, [this] { saveProgramToPc(m_session); });
    // The replies of both go to the reply memo.
    connectGuarded(Btn_TiemSet, &QPushButton::clicked, this, m_session,
                   [this] { timeSetButton(m_session, ProgramReplyView); });
    connectGuarded(btn_Reset, &QPushButton::clicked, this, m_session, [this] { resetButton(m_session); });

    connectGuarded(Memo_RX_PROG, &QPlainTextEdit::textChanged, this, m_session, [this] { programMemoChanged(); });
    // Appends and clears reach the memos through the session's line sinks; a replaced view
    // (the wizard's text, a loaded program) is shown from the core's copy.
    connect(&m_session.Views, &ReceiveViews::viewReplaced, this, [this](int view) {
        guarded(m_session, [&] { showReplacedView(view); });
    });
}

void ProgramPage::programMemoChanged()
{
    if (m_syncing)
        return;
    // Lines the core appended reach the widget a moment later, and then the two agree
    // already; only a difference is the user's edit.
    const QString text = widgetText(*Memo_RX_PROG);
    if (text == m_session.Views.lines(RxView::Program).join(QLatin1Char('\n')))
        return;
    const QScopedValueRollback<bool> syncing(m_syncing, true);
    m_session.Views.setLines(RxView::Program, text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
}

void ProgramPage::showReplacedView(int view)
{
    if (m_syncing)
        return;
    ReceiveView *widget = view == RxView::Program        ? Memo_RX_PROG
                          : view == RxView::ProgramReply ? Memo_RX_Buff
                                                         : nullptr;
    if (!widget)
        return;
    const QScopedValueRollback<bool> syncing(m_syncing, true);
    // Lines still waiting to be shown are part of what was replaced.
    widget->clearLines();
    const QStringList &lines = m_session.Views.lines(view);
    if (!lines.isEmpty())
        widget->setPlainText(lines.join(QLatin1Char('\n')));
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
