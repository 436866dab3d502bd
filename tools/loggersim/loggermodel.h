#pragma once
// The simulated logger itself, apart from any modem or transport: it takes one command
// line (without its CR), names its kind (the counter's name) and produces the reply lines,
// each ended by CR LF. Commands and their replies:
//
//   #T<id> R         time-read       "Time Read 08/MM/dd hh:mm:ss"  (year at characters
//                                    11-12: the scenario's year, 08 unless changed; the
//                                    connection test's "#t<id> r;" is the same command)
//   #T<id> W yy mm dd hh mm
//                    time-set        "Time Set 08/MM/dd hh:mm"  (year at characters 10-11);
//                                    the logger's clock runs on from the time given
//   #RESET<id>       reset           "RESET OK"
//   #M<id> T O / C   terminal-open / terminal-close
//                                    "Terminal mode open" / "Terminal mode UNCONNECTED"
//   mode /t          mode-t          "Text mode FULL"
//   CD <path>        cd              "ROOT" or the new folder ("\SL01"); "ERROR"
//   dir              dir             the listing, "[.]" "[..]" "[SL01]" ... "PROG.TXT(120)",
//                                    sent at once and ending on its last entry
//   FSIZE <path>     fsize           "SZ <bytes>"; "ERROR" for a missing file
//   fread <path>     fread           the file's bytes as they are (cut_file_at=N: only the
//                                    first N); "ERROR" when missing
//   DEL <path>       del             "OK"; "ERROR" for a missing file
//   FCreate <path>   fcreate         "OK" (an existing file is emptied)
//   Fputs <path> /a <text>
//                    fputs           appends text + CR LF, "OK"; "ERROR" for a missing file
//                                    and for the fputs_error_at-th line (not written)
//   #R011 ... 2S;    measure         a measurement line ("R011 +1.512") after the line's
//   #S.../#C...                      delay token (2S: 2 s, times the scenario's factor)
//   anything else    unknown         "ERROR"
//
// Command words are matched without regard to case. A command addressed to another logger
// number than the scenario's is counted but not answered, as a logger on a shared line
// keeps quiet for other numbers; the file commands carry no number.

#include "loggersim/loggerfiles.h"
#include "loggersim/scenario.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

namespace loggersim {

// One piece of a reply, sent delayMs after the piece before it (or after the command).
struct Reply {
    QByteArray bytes;
    int delayMs = 0;
};

// What a command line makes the simulator do: its kind for the counters, and its replies
// (none for silence).
struct Answer {
    QString kind;
    QList<Reply> replies;
};

class LoggerModel {
public:
    LoggerModel(const Scenario &scenario, LoggerFiles files);

    // The PC-side clock the logger's own clock runs from; the real clock unless a test
    // sets another.
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }

    Answer answer(const QByteArray &line);

private:
    bool addressedToMe(const QString &id) const;
    QDateTime loggerClock() const;
    QByteArray reply(const QString &text) const;

    Scenario m_scenario;
    LoggerFiles m_files;
    std::function<QDateTime()> m_now;
    qint64 m_clockOffsetSecs = 0; // the logger's clock minus the PC clock, set by time-set
    int m_fputsSeen = 0;
};

} // namespace loggersim
