// "Last Down" of a 256 KiB data file at 115200 baud, against loggersim on a pseudo-terminal
// whose replies are paced at the rate the program set on the line (ten bits a byte).
//
// The program folder holds two devices on the same line: "Latest" (logger 01), whose latest
// data file \SL01\SL010.TXT is 256 KiB (the last quarter of its 1 MiB record CR010.TXT),
// and "Empty" (logger 02), whose latest data file is empty. Each is clicked, connected with
// the connect button (direct, 115200 baud), fetched with the "Last Down" button and
// disconnected again, while the connection monitoring ticks every 10 ms as in the window.
//
// Printed: the whole Last Down time; the pure line time of the file (bytes x 10 / baud);
// the fixed waits the operation makes (the first poll of each command and the pauses after
// terminal close, terminal open and the size reply), both as summed from the commands'
// settings and as measured with the empty file; and the ratio
// whole / (1.03 x line time + fixed waits). Target: at most 1.00. A breakdown by command
// (from the moment each was sent) shows where the time goes.
//
//   bench_lastdown [ROUNDS]   (default 1 round of the 256 KiB file; about 26 s each)
// loggersim is taken from $LOGGERSIM, else from the build tree next to this program.

#include "app/session.h"
#include "connection/supervision.h"
#include "e2e/loggersimprocess.h"
#include "link/qtserialport.h"
#include "link/seriallink.h"
#include "logger/downloadactions.h"
#include "registry/deviceregistry.h"
#include "registry/devicetreeactions.h"
#include "support/recordinghooks.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>

using namespace kvl;
using namespace kvl::test;

namespace {

constexpr qint64 LatestFileBytes = 256 * 1024;
constexpr qint64 RecordFileBytes = 4 * LatestFileBytes;
constexpr int Baud = 115200;
constexpr double BitsPerByte = 10.0; // start bit, eight data bits, stop bit
constexpr int ComNumber = 7;

// The waits "Last Down" makes whatever the file's size, in ms. Each command exchange
// judges the reply only after its first poll; terminal close and open, and the size
// reply, are followed by a pause that lets the logger switch.
//   terminal close   200 ms poll + 500 ms pause
//   terminal open    200 ms poll + 300 ms pause
//   dir              100 ms poll
//   FSIZE            100 ms poll + 300 ms pause
//   terminal close   200 ms poll + 500 ms pause (at the end)
// The read itself polls every 200 ms: it notices the last byte up to one poll late, which
// the 3 % allowance on the line time covers.
constexpr int FixedWaitsMs = (200 + 500) + (200 + 300) + 100 + (100 + 300) + (200 + 500);

// Realistic measurement lines: a time stamp every ten minutes and 16 channels, until the
// file has exactly `bytes` bytes (the last line is cut to fit).
QByteArray dataFile(qint64 bytes, int firstLine)
{
    QByteArray out;
    out.reserve(bytes + 256);
    const QDateTime first(QDate(2008, 5, 12), QTime(0, 0));
    for (int i = firstLine; out.size() < bytes; ++i) {
        QByteArray line = first.addSecs(qint64(i) * 600).toString(QStringLiteral("yy/MM/dd hh:mm:ss")).toLatin1();
        for (int c = 1; c <= 16; ++c) {
            const double value = c * 1.5 + double((i * 37 + c * 11) % 200 - 100) / 1000.0;
            line += ',';
            if (value >= 0)
                line += '+';
            line += QByteArray::number(value, 'f', 3);
        }
        const qint64 room = bytes - out.size() - 2;
        if (room < line.size())
            line.truncate(qMax<qint64>(room, 0));
        out += line + "\r\n";
    }
    out.truncate(bytes);
    return out;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QString loggersimProgram()
{
    const QString fromEnv = qEnvironmentVariable("LOGGERSIM");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../tools/loggersim"));
}

// Notes when each command left and when the file's last byte came in.
class Timeline final : public TrafficLog {
public:
    Timeline(Session &session, const QElapsedTimer &clock) : m_session(session), m_clock(clock) {}

    void appendTx(const QString &entry) override
    {
        // "yyyy-mm-dd hh:mm:ss: command"
        sent << qMakePair(m_clock.nsecsElapsed(), entry.mid(21));
    }
    void appendRx(const QString &) override
    {
        // Counted only while the read is the last command out: the count and the size
        // of an earlier read are still in the session until the next read starts.
        const bool reading = !sent.isEmpty() && sent.last().second.startsWith(QStringLiteral("fread "));
        if (fileDoneNs < 0 && reading && m_session.FileSizeChk > 0 && m_session.FileSize >= m_session.FileSizeChk)
            fileDoneNs = m_clock.nsecsElapsed();
    }
    void reset()
    {
        sent.clear();
        fileDoneNs = -1;
    }

    QList<QPair<qint64, QString>> sent;
    qint64 fileDoneNs = -1;

private:
    Session &m_session;
    const QElapsedTimer &m_clock;
};

// The window's connection timers: the monitoring pauses while a connect is in progress.
class MonitoringTimers final : public ConnectionTimers {
public:
    explicit MonitoringTimers(QTimer &timer) : m_timer(timer) {}
    void setBlinking(bool) override {}
    void setMonitoring(bool on) override { on ? m_timer.start() : m_timer.stop(); }

private:
    QTimer &m_timer;
};

struct Fetch {
    bool ok = false;
    double wholeS = 0;
    qint64 savedBytes = -1;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 1;

    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    const QDir root(home.path());

    // The logger's files: logger 01 with its record and latest data, logger 02 empty.
    const QByteArray record = dataFile(RecordFileBytes, 0);
    const QByteArray latest = record.right(LatestFileBytes);
    const QString files = root.filePath(QStringLiteral("loggerfiles"));
    if (!writeFile(files + QStringLiteral("/SL01/CR010.TXT"), record)
        || !writeFile(files + QStringLiteral("/SL01/SL010.TXT"), latest)
        || !writeFile(files + QStringLiteral("/SL02/CR020.TXT"), {})
        || !writeFile(files + QStringLiteral("/SL02/SL020.TXT"), {})) {
        std::printf("cannot write the logger's files\n");
        return 1;
    }

    {
        DeviceRegistry registry;
        registry.clearSlotsFrom(0);
        const auto device = [&](int slot, const char *name, const char *logId, const char *saveName) {
            Setup &s = registry[slot];
            s.DeviceSet.TreeParentsIndex = -1;
            s.DeviceSet.DeviceName = QLatin1String(name);
            s.DeviceSet.LogID = QLatin1String(logId);
            s.PortSet.COMPORT = ComNumber;
            s.PortSet.Baudrate = QString::number(Baud);
            s.PortSet.Parity = QStringLiteral("None");
            s.PortSet.StopBits = QStringLiteral("1");
            s.ModemSet.ModemType = QStringLiteral("Direct");
            s.SaveFileSet.SavePath = root.filePath(QStringLiteral("Data"));
            s.SaveFileSet.FileName1 = QLatin1String(saveName);
        };
        device(0, "Latest", "01", "LATEST");
        device(1, "Empty", "02", "EMPTY");
        registry.SettingSave(home.path());
    }

    qputenv("LOGGERSIM", loggersimProgram().toLocal8Bit());
    LoggerSimProcess sim(home.path());
    // baud=auto: the replies follow the rate the program sets on the line.
    sim.setScenario("files=" + files.toUtf8() + "\nbaud=auto\n");
    if (!sim.start(ComNumber)) {
        std::printf("loggersim did not start: %s\n", qPrintable(sim.error()));
        return 1;
    }

    RecordingHooks hooks;
    Session session;
    DeviceRegistry registry;
    session.setStatusPanels(&hooks);
    session.setDialogs(&hooks);
    session.setProgressSink(&hooks);
    session.ProgramFolder = home.path();
    session.DeviceInfo = &registry;
    session.refreshNowYear();
    QtSerialPort port;
    SerialLink link(session, port);
    DeviceTreeActions tree(session);
    tree.startUp();

    QElapsedTimer clock;
    clock.start();
    Timeline timeline(session, clock);
    session.attachTrafficLog(&timeline);

    QTimer monitoring;
    monitoring.setInterval(10);
    QObject::connect(&monitoring, &QTimer::timeout, &session, [&session] { connectionMonitoringTick(session); });
    monitoring.start();
    MonitoringTimers timers(monitoring);

    const auto fetch = [&](int slot, const char *saveName) {
        Fetch f;
        tree.ProjectViewClick(slot);
        if (!connectButton(session, &timers)) {
            std::printf("  connect failed: panel 4 \"%s\", messages: %s\n", qPrintable(hooks.panels.value(4)),
                        qPrintable(hooks.messages.join(u" | ")));
            return f;
        }
        hooks.messages.clear();
        timeline.reset();
        const qint64 start = clock.nsecsElapsed();
        f.ok = lastDownButton(session);
        const qint64 end = clock.nsecsElapsed();
        f.wholeS = double(end - start) / 1e9;
        if (!f.ok)
            std::printf("  Last Down failed: panel 3 \"%s\", panel 4 \"%s\", messages: %s\n",
                        qPrintable(hooks.panels.value(3)), qPrintable(hooks.panels.value(4)),
                        qPrintable(hooks.messages.join(u" | ")));
        const QFileInfo saved(root.filePath(QStringLiteral("Data/") + QLatin1String(saveName) + QStringLiteral(".TXT")));
        f.savedBytes = saved.exists() ? saved.size() : -1;
        std::printf("  by command (s from the press):");
        for (const auto &[at, command] : timeline.sent)
            std::printf(" %s @%.2f;", qPrintable(command), double(at - start) / 1e9);
        if (timeline.fileDoneNs >= 0)
            std::printf(" last byte of the file @%.2f;", double(timeline.fileDoneNs - start) / 1e9);
        std::printf(" done @%.2f\n", f.wholeS);
        connectButton(session, &timers); // disconnect
        return f;
    };

    const double lineTimeS = double(LatestFileBytes) * BitsPerByte / Baud;
    const double fixedS = FixedWaitsMs / 1000.0;
    std::printf("Last Down of %lld bytes at %d baud from loggersim (%s)\n", static_cast<long long>(LatestFileBytes),
                Baud, qPrintable(sim.ptyPath()));

    std::printf("empty latest file (fixed waits only):\n");
    const Fetch empty = fetch(1, "EMPTY");
    std::printf("  %s, %.3f s\n", empty.ok ? "complete" : "FAILED", empty.wholeS);

    for (int round = 1; round <= rounds; ++round) {
        std::printf("256 KiB latest file, round %d:\n", round);
        QFile::remove(root.filePath(QStringLiteral("Data/LATEST.TXT")));
        const Fetch full = fetch(0, "LATEST");
        std::printf("  %s, saved %lld of %lld bytes\n", full.ok ? "complete" : "FAILED",
                    static_cast<long long>(full.savedBytes), static_cast<long long>(LatestFileBytes));
        const double allowed = 1.03 * lineTimeS + fixedS;
        std::printf("  whole Last Down               %7.3f s\n", full.wholeS);
        std::printf("  line time (bytes x 10 / baud) %7.3f s\n", lineTimeS);
        std::printf("  fixed waits, summed           %7.3f s   (measured with the empty file: %.3f s)\n", fixedS,
                    empty.wholeS);
        std::printf("  whole - line time - fixed     %7.3f s\n", full.wholeS - lineTimeS - fixedS);
        std::printf("  ratio whole / (1.03 x line + fixed) = %.4f   (target <= 1; allowed %.3f s)\n",
                    full.wholeS / allowed, allowed);
        std::printf("  ratio with the measured empty-file time as fixed waits = %.4f\n",
                    full.wholeS / (1.03 * lineTimeS + empty.wholeS));
    }
    monitoring.stop();
    return 0;
}
