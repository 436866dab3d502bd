#pragma once
// The console's side of the core's user hooks: what a window would show is printed as one
// line each on standard output, in the order things happen (message boxes, questions and
// their answers, with --status the status panels, with --rx the received lines).

#include "app/uihooks.h"

#include <QString>

#include <array>

class QTextStream;

namespace kvl::cli {

// Standard output as the console writes it: whole lines, flushed one by one, so that the
// output of operations, hooks and received lines keeps the order in which things happened
// even when standard output is a pipe.
class ConsoleOutput {
public:
    explicit ConsoleOutput(QTextStream &stream) : m_stream(stream) {}
    void line(const QString &text);

private:
    QTextStream &m_stream;
};

// A text shown in a box or panel as one output line: CR LF, a lone LF or a lone CR becomes
// the two characters \n.
QString oneLine(const QString &text);

struct ConsoleSettings {
    bool answerYes = false;  // --yes: every question is answered Yes, otherwise No
    bool showStatus = false; // --status: every status panel write is printed
    bool showRx = false;     // --rx: every complete received line is printed
};

// The console's hooks. The receive views need none: the session keeps their lines, and
// operations that print a view read it there. Received lines are printed through the
// communication log instead: the desktop program creates its log window hidden at start,
// so that window sees every received line whichever view is chosen; the console's log
// prints those lines.
class ConsoleHooks final : public StatusPanels, public Dialogs, public TrafficLog,
                           public ProgressSink, public BusyCursor {
public:
    ConsoleHooks(ConsoleOutput &out, const ConsoleSettings &settings);

    void setStatus(int panel, const QString &text) override;
    void information(const QString &text) override;
    bool question(const QString &text) override;
    // The file and folder dialogs answer with the choice an operation made beforehand
    // (its FILE argument) and cancel when there is none.
    QString pickFolder(const QString &title, const QString &startFolder) override;
    QString openFileName(const QString &title, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &proposedName, const QString &filter) override;
    void appendTx(const QString &entry) override;
    void appendRx(const QString &line) override;
    void setProgress(const QString &bar, int value) override;
    void setBusy(bool busy) override;

    // The answer of the next file or folder dialog.
    void chooseNextPath(const QString &path) { m_nextPath = path; }

    // While set, a status write that leaves its panel's text as it was is not printed.
    // The connection monitoring rewrites panels 0 and 1 every 10 ms; a window shows no
    // change then, and the console prints only the writes that change the panel.
    void setSkipUnchangedStatus(bool skip) { m_skipUnchangedStatus = skip; }

    // Every complete received line passes here (the log sees them all, whichever view
    // receives them): their count so far and the newest one.
    quint64 receivedCount() const { return m_receivedCount; }
    const QString &lastReceived() const { return m_lastReceived; }

private:
    QString takeNextPath();

    ConsoleOutput &m_out;
    ConsoleSettings m_settings;
    QString m_nextPath;
    std::array<QString, 5> m_panels; // what each status panel shows
    bool m_skipUnchangedStatus = false;
    quint64 m_receivedCount = 0;
    QString m_lastReceived;
};

} // namespace kvl::cli
