#include "loggersim/recorder.h"

#include "loggersim/simulator.h"

#include <QSaveFile>

#include <cstdio>

namespace loggersim {

Recorder::Recorder(Simulator &simulator, QObject *parent) : QObject(parent), m_simulator(simulator)
{
    connect(&m_simulator, &Simulator::lineReceived, this, &Recorder::onLine);
    connect(&m_simulator, &Simulator::countsChanged, this, &Recorder::writeCounts);
}

bool Recorder::open(const QString &logFile, const QString &countsFile, QString *error)
{
    if (!logFile.isEmpty()) {
        m_log.setFileName(logFile);
        if (!m_log.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            *error = QStringLiteral("%1: %2").arg(logFile, m_log.errorString());
            return false;
        }
    }
    m_countsFile = countsFile;
    if (!m_countsFile.isEmpty()) {
        QSaveFile probe(m_countsFile);
        if (!probe.open(QIODevice::WriteOnly) || !probe.commit()) {
            *error = QStringLiteral("%1: %2").arg(m_countsFile, probe.errorString());
            return false;
        }
    }
    return true;
}

void Recorder::onLine(const QByteArray &line)
{
    if (!m_log.isOpen())
        return;
    m_log.write(line + '\n');
    m_log.flush(); // a test reads the log while the simulator runs
}

void Recorder::writeCounts()
{
    if (m_countsFile.isEmpty())
        return;
    // Whole and atomic: a reader never sees half a file.
    QSaveFile out(m_countsFile);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(m_simulator.countsText().toUtf8());
        out.commit();
    }
}

void Recorder::printCounts() const
{
    const QByteArray text = m_simulator.countsText().toUtf8();
    std::fprintf(stderr, "loggersim counts:\n%s", text.isEmpty() ? "(no commands)\n" : text.constData());
    std::fflush(stderr);
}

} // namespace loggersim
