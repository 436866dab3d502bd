#include "logger/program.h"

#include "app/session.h"
#include "link/exchange.h"
#include "link/receiveframing.h"

#include <QtGlobal>

namespace kvl {

namespace {

constexpr int WritePollMs = 100;
constexpr int WriteResendAfter = 20;
constexpr int WriteGiveUpAfter = 50;
// The logger closes the file before the program is confirmed.
constexpr int WriteSettleMs = 500;

// A channel line may carry a measurement delay ("3S;"): the wait for its reply grows by
// five polls per second of it, on top of a fixed allowance.
constexpr int RunPollMs = 250;
constexpr qint64 RunPollsPerSecond = 5;
constexpr qint64 RunDefaultPolls = 25;
constexpr qint64 RunExtraPolls = 40;
// Where a channel line's delay token is looked for: ten characters from the tenth.
constexpr int DelayFieldStart = 9;
constexpr int DelayFieldLength = 10;

const QString ProgramBar = QStringLiteral("pgbProgram");

// The wait budget after a channel line: the last delay token among the ten characters
// from the tenth on; a line without one keeps the budget of the line before.
qint64 delayPolls(const QString &line, qint64 budget)
{
    const QStringList words = line.mid(DelayFieldStart, DelayFieldLength).split(u' ');
    for (const QString &word : words) {
        const QString upper = word.toUpper();
        qsizetype cut = 0;
        if (upper.endsWith(u"S;"))
            cut = 2;
        else if (upper.endsWith(u'S'))
            cut = 1;
        else
            continue;
        bool numeric = false;
        const int seconds = word.first(word.size() - cut).toInt(&numeric);
        budget = numeric ? RunPollsPerSecond * seconds : 0;
    }
    return budget;
}

} // namespace

bool PROGRAM_COMMAND_WRITE(Session &session, int /*index*/, bool showMessage, const QStringList &lines,
                           const QString &path)
{
    session.RxTypeIndex = RxView::ProgramReply;
    RxTypeMemoClear(session);
    bool outcome = true;
    session.progress().setProgress(ProgramBar, 0);

    const auto finish = [&] {
        if (outcome) {
            session.delay(WriteSettleMs);
            const QString done = QStringLiteral("PROG.TXT Input Complete");
            if (showMessage)
                session.message(done);
            session.status(3, done);
        } else {
            if (showMessage)
                session.message(QStringLiteral("Input Error"));
            session.status(4, QStringLiteral("PROGRAM_COMMAND_WRITE ERROR "));
        }
        session.progress().setProgress(ProgramBar, 100);
    };

    try {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            session.Buff.clear();
            Exchange e = Exchange::forKeywords(QStringLiteral("Fputs ") + path + QStringLiteral(" /a ") + lines[i],
                                               {QStringLiteral("OK"), QStringLiteral("ERROR")}, WriteGiveUpAfter,
                                               WriteResendAfter);
            e.pollMs = WritePollMs;
            e.labelPrefix = QStringLiteral("Time set - ");
            e.labelSuffix = QStringLiteral("[100msec]");
            const bool answered = runExchange(session, e);
            if (!answered || session.Buff.toUpper().contains(u"ERROR"))
                outcome = false;
            session.progress().setProgress(ProgramBar, qRound(double(i) / double(lines.size()) * 100.0));
        }
    } catch (...) {
        // A write that broke off is no complete program.
        outcome = false;
        finish();
        throw;
    }
    finish();
    return outcome;
}

bool PROGRAM_COMMAND_Run(Session &session, int /*index*/, bool showMessage, const QStringList &lines,
                         const QString & /*path*/)
{
    bool outcome = false;
    const auto finish = [&] {
        session.progress().setProgress(ProgramBar, 100);
        if (outcome) {
            session.status(4, QStringLiteral(" RUN Complete"));
            if (showMessage)
                session.message(QStringLiteral("PROGRAM_COMMAND_RUN Complete"));
        } else if (session.Stop_Flag) {
            if (showMessage)
                session.message(QStringLiteral("PROGRAM_COMMAND_RUN STOP Complete"));
        } else {
            session.status(4, QStringLiteral("PROGRAM_COMMAND_RUN ERROR "));
        }
    };

    session.progress().setProgress(ProgramBar, 0);
    try {
        if (!lines.isEmpty()) {
            session.RxTypeIndex = RxView::ProgramReply;
            RxTypeMemoClear(session);
            // The last two lines of a program are its interval and end lines.
            const qsizetype progressLines = lines.size() - 2;
            qint64 budget = 0;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QString &line = lines[i];
                if (session.Stop_Flag) {
                    outcome = false;
                    session.status(3, QStringLiteral("PROG STOP"));
                    session.status(4, QStringLiteral("PROGRAM_COMMAND_RUN STOP "));
                    session.Stop_flg();
                    break;
                }
                session.Buff.clear();
                if (line.contains(u"END") || line.contains(u"INT")) {
                    outcome = true;
                    break;
                }
                if (line.startsWith(u'#')) {
                    sendCommand(session, line);
                    budget = delayPolls(line, budget);
                    if (budget == 0)
                        budget = RunDefaultPolls;
                    session.Time_Out = 0;
                    for (;;) {
                        if (session.Time_Out > budget + RunExtraPolls || session.delay_stop_flg) {
                            outcome = false;
                            break;
                        }
                        session.delay(RunPollMs);
                        ++session.Time_Out;
                        session.status(2, QStringLiteral("Time set - ") + QString::number(session.Time_Out)
                                              + QStringLiteral("[200msec]"));
                        if (!session.Buff.isEmpty())
                            break;
                    }
                    session.Buff.clear();
                }
                const int percent = progressLines <= 0
                    ? 100
                    : qBound(0, qRound(double(i) / double(progressLines) * 100.0), 100);
                session.progress().setProgress(ProgramBar, percent);
            }
        }
    } catch (...) {
        outcome = false;
        finish();
        throw;
    }
    finish();
    return outcome;
}

} // namespace kvl
