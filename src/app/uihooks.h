#pragma once
// The small interfaces through which the core reaches the user. The desktop program
// implements them with widgets, the console prints, the tests record. A session starts
// with silent defaults, so a front end sets only the hooks it has.

#include <QString>
#include <QStringList>

namespace kvl {

// The five status-bar panels: 0 port state, 1 logger connection, 2 progress of the
// running wait, 3 last command sent, 4 last line received or last error.
class StatusPanels {
public:
    virtual ~StatusPanels() = default;
    virtual void setStatus(int panel, const QString &text) = 0;
};

// Message boxes and file/folder choices. A question is a warning box with Yes and No.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void information(const QString &text) = 0;
    virtual bool question(const QString &text) = 0;
    // Empty result: the user cancelled.
    virtual QString pickFolder(const QString &title, const QString &startFolder) = 0;
    virtual QString openFileName(const QString &title, const QString &filter) = 0;
    virtual QString saveFileName(const QString &title, const QString &proposedName,
                                 const QString &filter) = 0;
};

// Receive views of the pages, addressed by the receive-view number (RxTypeIndex).
class LineSinks {
public:
    virtual ~LineSinks() = default;
    virtual void appendLine(int view, const QString &line) = 0;
    virtual void clearView(int view) = 0;
};

// The communication log window's two lists. Present only while that window exists.
class TrafficLog {
public:
    virtual ~TrafficLog() = default;
    virtual void appendTx(const QString &entry) = 0;
    virtual void appendRx(const QString &line) = 0;
};

// Progress bars, addressed by name ("pgbTest", "pgbProgram", "pgbDown", ...).
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void setProgress(const QString &bar, int value) = 0;
};

class BusyCursor {
public:
    virtual ~BusyCursor() = default;
    virtual void setBusy(bool busy) = 0;
};

// Defaults that do nothing (a question is answered No).
class SilentHooks final : public StatusPanels, public Dialogs, public LineSinks,
                          public ProgressSink, public BusyCursor {
public:
    void setStatus(int, const QString &) override {}
    void information(const QString &) override {}
    bool question(const QString &) override { return false; }
    QString pickFolder(const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    void appendLine(int, const QString &) override {}
    void clearView(int) override {}
    void setProgress(const QString &, int) override {}
    void setBusy(bool) override {}
};

} // namespace kvl
