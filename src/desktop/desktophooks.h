#pragma once
// The desktop's side of the core's user interfaces: the status bar's five panels, message
// boxes and file dialogs, the pages' receive views, the progress bars and the busy cursor.

#include "app/uihooks.h"

#include <QMap>
#include <QPointer>
#include <array>

class QLabel;
class QStatusBar;
class QWidget;

namespace kvl {

class ReceiveView;

// Five framed labels in the status bar: 0 port state, 1 logger connection, 2 progress of
// the running wait, 3 last command sent, 4 last line received or last error.
class StatusBarPanels final : public StatusPanels {
public:
    static constexpr int Count = 5;
    static constexpr std::array<int, Count> InitialWidths{100, 150, 250, 400, 500};

    explicit StatusBarPanels(QStatusBar *bar);

    void setStatus(int panel, const QString &text) override;
    QString text(int panel) const;
    QLabel *label(int panel) const;
    void setWidth(int panel, int width);

private:
    std::array<QLabel *, Count> m_labels{};
};

// Message boxes and file dialogs over the main window. A question is a warning box with
// Yes and No whose top-left corner is at the main window's left + 300, top + 100.
class WidgetDialogs final : public Dialogs {
public:
    explicit WidgetDialogs(QWidget *owner) : m_owner(owner) {}
    void setStartFolder(const QString &folder) { m_startFolder = folder; }

    void information(const QString &text) override;
    bool question(const QString &text) override;
    QString pickFolder(const QString &title, const QString &startFolder) override;
    QString openFileName(const QString &title, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &proposedName, const QString &filter) override;

private:
    QPointer<QWidget> m_owner;
    QString m_startFolder;
};

// The receive views by receive-view number: 0 terminal, 1 program, 5 and 6 download
// (upper, lower), 7 the 3DS page's reply list, 9 the program page's reply memo.
class PageLineSinks final : public LineSinks {
public:
    void setView(int number, ReceiveView *view) { m_views.insert(number, view); }
    ReceiveView *view(int number) const { return m_views.value(number); }

    void appendLine(int view, const QString &line) override;
    void clearView(int view) override;

private:
    QMap<int, QPointer<ReceiveView>> m_views;
};

// Progress bars found by name under the main window ("pgbProgram", "pgbDown", ...).
class NamedProgressBars final : public ProgressSink {
public:
    explicit NamedProgressBars(QWidget *root) : m_root(root) {}
    void setProgress(const QString &bar, int value) override;

private:
    QPointer<QWidget> m_root;
};

// The hourglass while a logger operation runs: one override cursor, never stacked.
class OverrideBusyCursor final : public BusyCursor {
public:
    ~OverrideBusyCursor() override;
    void setBusy(bool busy) override;

private:
    bool m_busy = false;
};

} // namespace kvl
