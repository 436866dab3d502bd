#pragma once
// A receive view of a page: lines arrive from the serial link, possibly thousands per
// second during a download, so they are collected and appended in one edit after a short
// pause. The user's cursor, selection and scroll position stay where they are, unless the
// view was scrolled to the bottom, in which case it follows the new lines. A view that was
// following when it was hidden follows the lines that came meanwhile when it is shown
// again, and a resize keeps a following view at the bottom.

#include <QPlainTextEdit>
#include <QStringList>
#include <QTimer>

namespace kvl {

class ReceiveView : public QPlainTextEdit {
    Q_OBJECT
public:
    // How long lines are collected before they are shown.
    static constexpr int FlushDelayMs = 30;

    explicit ReceiveView(const QString &name, QWidget *parent = nullptr);

    void appendLine(const QString &line);
    // Shows the collected lines now (before the view's text is read).
    void flush();
    // Empties the view, collected lines included.
    void clearLines();
    // The view's lines, collected ones included.
    QStringList lines();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool atEnd() const;
    void scrollToEnd();

    QStringList m_pending;
    QTimer m_flushTimer;
    // Whether the view follows the newest line. Kept while the view is hidden, where its
    // scroll bar says nothing about what the user last saw.
    bool m_followEnd = true;
};

} // namespace kvl
