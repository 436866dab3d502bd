// Processor load of a waiting exchange: a real event-loop clock, an open port that never
// answers, poll 100 ms and give up after 50 polls (about 5 s). Prints the process's CPU
// time over the wall time as a percentage of one core (target < 2 %).

#include "app/session.h"
#include "link/exchange.h"
#include "link/serialport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <sys/resource.h>

using namespace kvl;

namespace {

// A port that is open, swallows every write and never sends anything back.
class SilentPort final : public SerialPort {
public:
    QString portName() const override { return QStringLiteral("COM1"); }
    void setPortName(const QString &, const QString &) override {}
    qint32 baudRate() const override { return DefaultBaudRate; }
    void setBaudRate(qint32) override {}
    QSerialPort::Parity parity() const override { return QSerialPort::NoParity; }
    void setParity(QSerialPort::Parity) override {}
    QSerialPort::StopBits stopBits() const override { return QSerialPort::OneStop; }
    void setStopBits(QSerialPort::StopBits) override {}
    bool open() override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    void setRequestToSend(bool) override {}
    void setDataTerminalReady(bool) override {}
    void write(const QByteArray &bytes) override { written += bytes.size(); }
    QByteArray readAll() override { return {}; }
    QString errorString() const override { return {}; }
    qint64 written = 0;
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Session session; // the real clock: waits in the event loop
    SilentPort port;
    session.ComPort = &port;

    Exchange e = Exchange::forKeywords(QStringLiteral("#T01 R"), {QStringLiteral("READ")}, 50);
    e.pollMs = 100;

    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    const bool ok = runExchange(session, e);
    const double wallSeconds = double(wall.nsecsElapsed()) / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;

    std::printf("idle exchange: poll 100 ms, give up after 50 polls (target < 2 %% of one core)\n");
    std::printf("  result %s after %d polls, %lld bytes sent\n", ok ? "true" : "false", session.Time_Out,
                static_cast<long long>(port.written));
    std::printf("  wall %.3f s, CPU %.4f s, load %.3f %% of one core\n", wallSeconds, cpu,
                100.0 * cpu / wallSeconds);
    return 0;
}
