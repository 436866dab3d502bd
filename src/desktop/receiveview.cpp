#include "desktop/receiveview.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace kvl {

ReceiveView::ReceiveView(const QString &name, QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(name);
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(FlushDelayMs);
    connect(&m_flushTimer, &QTimer::timeout, this, &ReceiveView::flush);
}

void ReceiveView::appendLine(const QString &line)
{
    m_pending << line;
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void ReceiveView::flush()
{
    m_flushTimer.stop();
    if (m_pending.isEmpty())
        return;
    QScrollBar *bar = verticalScrollBar();
    if (isVisible())
        m_followEnd = atEnd();
    const int kept = bar->value();
    const int keptHorizontal = horizontalScrollBar()->value();

    // A cursor of its own, so the user's cursor and selection do not move.
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    if (!document()->isEmpty())
        end.insertBlock();
    end.insertText(m_pending.join(QLatin1Char('\n')));
    end.endEditBlock();
    m_pending.clear();

    if (m_followEnd)
        scrollToEnd();
    else
        bar->setValue(kept);
    horizontalScrollBar()->setValue(keptHorizontal);
}

bool ReceiveView::atEnd() const
{
    const QScrollBar *bar = verticalScrollBar();
    return bar->value() >= bar->maximum();
}

void ReceiveView::scrollToEnd()
{
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}

void ReceiveView::showEvent(QShowEvent *event)
{
    QPlainTextEdit::showEvent(event);
    if (m_followEnd)
        scrollToEnd();
}

void ReceiveView::hideEvent(QHideEvent *event)
{
    m_followEnd = atEnd();
    QPlainTextEdit::hideEvent(event);
}

void ReceiveView::resizeEvent(QResizeEvent *event)
{
    if (isVisible())
        m_followEnd = atEnd();
    QPlainTextEdit::resizeEvent(event);
    if (m_followEnd)
        scrollToEnd();
}

void ReceiveView::clearLines()
{
    m_flushTimer.stop();
    m_pending.clear();
    clear();
    m_followEnd = true;
}

QStringList ReceiveView::lines()
{
    flush();
    if (document()->isEmpty())
        return {};
    return toPlainText().split(QLatin1Char('\n'));
}

} // namespace kvl
