// loggersim: a simulated data logger on a pseudo-terminal, for tests, demos and training.
//
//   loggersim [--home DIR --com N] [--seed-demo] [--scenario FILE] [--log FILE]
//             [--counts FILE] [--stdin-quit]
//
// The first line on standard output is "pty: /dev/pts/N", written once the line is open
// and (with --home/--com) ComPorts.ini names it, so a caller that has read that line can
// open COM<N> at once. The simulator runs until SIGTERM or SIGINT, or, with --stdin-quit,
// until its standard input closes; its command counters go to standard error at the end.

#include "loggersim/hostfolder.h"
#include "loggersim/loggerfiles.h"
#include "loggersim/ptytransport.h"
#include "loggersim/recorder.h"
#include "loggersim/scenario.h"
#include "loggersim/simulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the event loop (and so print the counters) instead of killing
// the process mid-write.
bool installQuitSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return false;
    struct sigaction sa{};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    if (::sigaction(SIGTERM, &sa, nullptr) != 0 || ::sigaction(SIGINT, &sa, nullptr) != 0)
        return false;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
        notifier->setEnabled(false);
        QCoreApplication::quit();
    });
    return true;
}

void quitOnStdinEof(QCoreApplication &app)
{
    auto *notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            notifier->setEnabled(false);
            QCoreApplication::quit();
        }
    });
}

int fail(const QString &text)
{
    std::fprintf(stderr, "loggersim: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("loggersim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A simulated data logger on a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption homeOpt(QStringLiteral("home"),
        QStringLiteral("The PC program folder whose ComPorts.ini gets the line."), QStringLiteral("DIR"));
    const QCommandLineOption comOpt(QStringLiteral("com"),
        QStringLiteral("Register the line as COM<N> in DIR/ComPorts.ini."), QStringLiteral("N"));
    const QCommandLineOption seedOpt(QStringLiteral("seed-demo"),
        QStringLiteral("Add a demo device on COM<N> (its modem as the scenario's) to DIR/Setting.dat "
                       "unless DIR has a device of its name."));
    const QCommandLineOption scenarioOpt(QStringLiteral("scenario"),
        QStringLiteral("key=value file choosing the behaviour (keys: %1).")
            .arg(loggersim::Scenario::knownKeys().join(u", ")), QStringLiteral("FILE"));
    const QCommandLineOption logOpt(QStringLiteral("log"),
        QStringLiteral("Record every received line to FILE."), QStringLiteral("FILE"));
    const QCommandLineOption countsOpt(QStringLiteral("counts"),
        QStringLiteral("Keep the command counters in FILE."), QStringLiteral("FILE"));
    const QCommandLineOption stdinOpt(QStringLiteral("stdin-quit"),
        QStringLiteral("End when standard input closes."));
    parser.addOptions({homeOpt, comOpt, seedOpt, scenarioOpt, logOpt, countsOpt, stdinOpt});
    parser.process(app);

    loggersim::Scenario scenario;
    QString error;
    if (parser.isSet(scenarioOpt) && !scenario.load(parser.value(scenarioOpt), &error))
        return fail(error);

    int comNumber = 0;
    if (parser.isSet(comOpt)) {
        bool ok = false;
        comNumber = parser.value(comOpt).toInt(&ok);
        if (!ok || comNumber < 1 || comNumber > 255)
            return fail(QStringLiteral("--com wants a port number from 1 to 255"));
    }
    const QString home = parser.value(homeOpt);
    if ((comNumber > 0 || parser.isSet(seedOpt)) && home.isEmpty())
        return fail(QStringLiteral("--com and --seed-demo need --home DIR"));
    if (parser.isSet(seedOpt) && comNumber == 0)
        return fail(QStringLiteral("--seed-demo needs --com N"));

    loggersim::LoggerFiles files;
    if (scenario.files.isEmpty())
        files = loggersim::LoggerFiles::builtIn(scenario.logId, scenario.year, scenario.dataLines);
    else if (!loggersim::LoggerFiles::fromHostFolder(scenario.files, &files, &error))
        return fail(error);
    loggersim::Simulator simulator(scenario, std::move(files));
    loggersim::Recorder recorder(simulator);
    if (!recorder.open(parser.value(logOpt), parser.value(countsOpt), &error))
        return fail(error);

    loggersim::PtyTransport pty;
    if (!pty.open(&error))
        return fail(error);
    pty.setPace(scenario.baud);
    QObject::connect(&pty, &loggersim::PtyTransport::received, &simulator, &loggersim::Simulator::receive);
    QObject::connect(&simulator, &loggersim::Simulator::send, &pty, &loggersim::PtyTransport::write);

    if (comNumber > 0 && !loggersim::registerComPort(home, comNumber, pty.slavePath(), &error))
        return fail(error);
    if (parser.isSet(seedOpt)) {
        bool written = false;
        if (!loggersim::seedDemoDevice(home, comNumber, scenario, &written, &error))
            return fail(error);
        if (written)
            std::fprintf(stderr, "loggersim: added \"%s\" to the Setting.dat in %s\n",
                         qPrintable(loggersim::demoDeviceName(scenario.modem)), qPrintable(home));
    }

    if (!installQuitSignals(app))
        return fail(QStringLiteral("cannot install the signal handlers"));
    if (parser.isSet(stdinOpt))
        quitOnStdinEof(app);

    std::printf("pty: %s\n", qPrintable(pty.slavePath()));
    std::fflush(stdout);

    const int rc = app.exec();
    recorder.printCounts();
    return rc;
}
