#pragma once
// What the simulator keeps for the tests and the trainer: every line it received
// (--log FILE, one line each, exactly as received, written before the line is answered)
// and its counters by command kind (--counts FILE, rewritten after every command, and
// printed to standard error when the simulator ends).

#include <QFile>
#include <QObject>
#include <QString>

namespace loggersim {

class Simulator;

class Recorder : public QObject {
    Q_OBJECT
public:
    Recorder(Simulator &simulator, QObject *parent = nullptr);

    // Empty names record nothing. False with the reason when a file cannot be written.
    bool open(const QString &logFile, const QString &countsFile, QString *error);

    void printCounts() const; // to standard error

private:
    void onLine(const QByteArray &line);
    void writeCounts();

    Simulator &m_simulator;
    QFile m_log;
    QString m_countsFile;
};

} // namespace loggersim
