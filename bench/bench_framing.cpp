// Throughput of the receive framing: realistic data lines delivered in 4 KiB receive
// events, and one endless line without CR (256 KiB, 512 KiB, 1 MiB), whose cost per byte
// must stay flat as it grows.

#include "app/session.h"
#include "link/receiveframing.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace kvl;

namespace {

constexpr qsizetype EventSize = 4096;

QByteArray dataLines(qsizetype bytes)
{
    QByteArray out;
    out.reserve(bytes + 512);
    for (int n = 0; out.size() < bytes; ++n) {
        out += "24/05/12 10:";
        out += QByteArray::number(10 + n / 60 % 50) + ':' + QByteArray::number(10 + n % 50);
        for (int c = 0; c < 24; ++c)
            out += ',' + QByteArray::number(1.234 + c * 0.5 + n % 7 * 0.001, 'f', 3);
        out += "\r\n";
    }
    return out;
}

QByteArray endlessLine(qsizetype bytes)
{
    QByteArray out;
    out.reserve(bytes);
    for (int n = 0; out.size() < bytes; ++n)
        out += QByteArray::number(n % 1000 * 1.5, 'f', 1) + ',';
    out.truncate(bytes);
    return out;
}

// Feeds the stream in receive events of 4 KiB and returns MB/s (best of `rounds`).
double throughput(const QByteArray &stream, int rounds, qint64 *lines)
{
    double best = 0;
    for (int r = 0; r < rounds; ++r) {
        Session session;
        session.NowYear = QStringLiteral("24");
        ReceiveFraming framing(session);
        QElapsedTimer t;
        t.start();
        for (qsizetype at = 0; at < stream.size(); at += EventSize)
            framing.ComPortRxChar(stream.mid(at, EventSize));
        const qint64 ns = qMax<qint64>(1, t.nsecsElapsed());
        best = qMax(best, double(stream.size()) / 1e6 / (double(ns) / 1e9));
        if (lines)
            *lines = session.FileSize;
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::printf("receive framing, 4 KiB receive events (target >= 50 MB/s)\n");

    const QByteArray lines = dataLines(16 * 1024 * 1024);
    qint64 chars = 0;
    const double lineRate = throughput(lines, 3, &chars);
    std::printf("  data lines, %5.1f MiB: %8.1f MB/s  (%lld characters counted)\n",
                lines.size() / 1048576.0, lineRate, static_cast<long long>(chars));

    double first = 0;
    for (const qsizetype kib : {256, 512, 1024}) {
        const QByteArray endless = endlessLine(kib * 1024);
        const double rate = throughput(endless, 5, nullptr);
        if (first == 0)
            first = rate;
        std::printf("  no CR, %4lld KiB:        %8.1f MB/s  (%.2f of the 256 KiB rate)\n",
                    static_cast<long long>(kib), rate, rate / first);
    }
    return 0;
}
