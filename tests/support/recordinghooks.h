#pragma once
// Front-end hooks for tests: they record every status write, message, line and progress
// value, and answer questions from a queue. A message or question the test did not
// expect is recorded too, so a test can assert there was none.

#include "app/uihooks.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QStringList>

namespace kvl::test {

class RecordingHooks final : public kvl::StatusPanels, public kvl::Dialogs, public kvl::LineSinks,
                             public kvl::TrafficLog, public kvl::ProgressSink, public kvl::BusyCursor {
public:
    void setStatus(int panel, const QString &text) override
    {
        panels[panel] = text;
        statusWrites << qMakePair(panel, text);
    }
    void information(const QString &text) override { messages << text; }
    bool question(const QString &text) override
    {
        questions << text;
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    QString pickFolder(const QString &, const QString &) override { return nextPath(); }
    QString openFileName(const QString &, const QString &) override { return nextPath(); }
    QString saveFileName(const QString &, const QString &, const QString &) override { return nextPath(); }
    void appendLine(int view, const QString &line) override { views[view] << line; }
    void clearView(int view) override { views[view].clear(); ++clears[view]; }
    void appendTx(const QString &entry) override { tx << entry; }
    void appendRx(const QString &line) override { rx << line; }
    void setProgress(const QString &bar, int value) override { progress[bar] << value; }
    void setBusy(bool on) override { busy = on; }

    QMap<int, QString> panels;
    QList<QPair<int, QString>> statusWrites;
    QStringList messages;
    QStringList questions;
    QList<bool> answers;
    QStringList paths; // answers of the file and folder dialogs, in order
    QMap<int, QStringList> views;
    QMap<int, int> clears;
    QStringList tx;
    QStringList rx;
    QMap<QString, QList<int>> progress;
    bool busy = false;

private:
    QString nextPath() { return paths.isEmpty() ? QString() : paths.takeFirst(); }
};

} // namespace kvl::test
