#pragma once
// loggersim run as a child process for an end-to-end test: started in the test's program
// folder with --home/--com (so COM<n> in that folder is its pseudo-terminal), with a log
// of every line it received and its command counters in files the test can read while
// it runs. Always stopped at the end (terminate, then kill if it hangs).

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStringList>

namespace kvl::test {

class LoggerSimProcess {
public:
    explicit LoggerSimProcess(QString home) : m_home(std::move(home)) {}
    ~LoggerSimProcess() { stop(); }
    LoggerSimProcess(const LoggerSimProcess &) = delete;
    LoggerSimProcess &operator=(const LoggerSimProcess &) = delete;

    // Writes the scenario file that start() hands over; call before start().
    void setScenario(const QByteArray &text)
    {
        QFile f(scenarioFile());
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(text);
        m_withScenario = true;
    }

    // Starts the simulator as COM<comNumber> and waits for its "pty: PATH" line.
    bool start(int comNumber = 7, const QStringList &extraArgs = {})
    {
        const QString program = qEnvironmentVariable("LOGGERSIM");
        if (program.isEmpty()) {
            m_error = QStringLiteral("LOGGERSIM is not set");
            return false;
        }
        QStringList args{QStringLiteral("--home"), m_home, QStringLiteral("--com"), QString::number(comNumber),
                         QStringLiteral("--log"), logFile(), QStringLiteral("--counts"), countsFile()};
        if (m_withScenario)
            args << QStringLiteral("--scenario") << scenarioFile();
        args << extraArgs;
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, args);
        if (!m_process.waitForStarted(10000)) {
            m_error = m_process.errorString();
            return false;
        }
        while (!m_process.canReadLine()) {
            if (m_process.state() != QProcess::Running || !m_process.waitForReadyRead(10000)) {
                m_error = QStringLiteral("loggersim printed no pty line");
                return false;
            }
        }
        const QString line = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        if (!line.startsWith(QStringLiteral("pty: "))) {
            m_error = QStringLiteral("unexpected first line: ") + line;
            return false;
        }
        m_ptyPath = line.sliced(5);
        return true;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    QString error() const { return m_error; }
    QString ptyPath() const { return m_ptyPath; }
    QProcess &process() { return m_process; }

    // Every line the simulator received, in order.
    QStringList receivedLines() const
    {
        QFile f(logFile());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    int received(const QString &line) const { return int(receivedLines().count(line)); }

    // The simulator's counters by command kind ("time-read", ...).
    QMap<QString, int> counts() const
    {
        QMap<QString, int> map;
        QFile f(countsFile());
        if (!f.open(QIODevice::ReadOnly))
            return map;
        const QStringList lines = QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString &l : lines) {
            const qsizetype eq = l.indexOf(QLatin1Char('='));
            if (eq > 0)
                map.insert(l.first(eq), l.sliced(eq + 1).toInt());
        }
        return map;
    }

private:
    QString logFile() const { return QDir(m_home).filePath(QStringLiteral("loggersim.log")); }
    QString countsFile() const { return QDir(m_home).filePath(QStringLiteral("loggersim.counts")); }
    QString scenarioFile() const { return QDir(m_home).filePath(QStringLiteral("scenario.txt")); }

    QString m_home;
    QProcess m_process;
    QString m_ptyPath;
    QString m_error;
    bool m_withScenario = false;
};

} // namespace kvl::test
