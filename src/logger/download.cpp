#include "logger/download.h"

#include "app/errorlog.h"
#include "app/session.h"
#include "link/exchange.h"
#include "link/receiveframing.h"
#include "logger/clockcommands.h"
#include "logger/filebrowser.h"

#include <QtGlobal>

namespace kvl {

namespace {

// The wait allows a fixed start-up time plus one poll per 50 expected characters, so a
// large file is not cut off: 2 s + 2 ms per character at 100 ms polls.
constexpr int GiveUpBasePolls = 20;
constexpr double PollsPerCharacter = 0.02;
// A file counts as whole when at most four characters are missing from the reported size.
constexpr qint64 CompletionSlack = 5;
// Polls without a single line after which the command is shown and logged once more.
constexpr int SecondLogAfterPolls = 20;
constexpr int TreeReadPollMs = 100;
constexpr int StandardReadPollMs = 200;

enum class ReadEnd { Complete, GaveUp, NothingExpected };

struct ReadStyle {
    int pollMs;
    bool secondLogEntry;   // show and log the command again after 20 silent polls
    bool programBarMoves;  // the program page's bar follows the download bar
};

void txLog(Session &session, const QString &command)
{
    Comport_TXMessage(session, session.clock().now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                                   + QStringLiteral(": ") + command);
}

bool completionReached(const Session &session)
{
    return qint64(session.FileSize) + CompletionSlack > qint64(session.FileSizeChk);
}

// A size reply that was no number leaves nothing to wait for: the read is an error.
bool refuseUnknownSize(Session &session, const QString &path)
{
    if (session.FileSizeChk >= 0)
        return false;
    AppException(session, QStringLiteral("fread ") + path + QStringLiteral(" - the logger's size reply is not a number"));
    return true;
}

ReadEnd readFile(Session &session, const QString &path, const ReadStyle &style)
{
    const QString command = QStringLiteral("fread ") + path;
    session.Buff.clear();
    session.FileSize = 0;
    RxTypeMemoClear(session);
    sendCommand(session, command);

    const double giveUpAfter = double(session.FileSizeChk) * PollsPerCharacter + GiveUpBasePolls;
    session.Time_Out = 0;
    bool loggedAgain = false;
    for (;;) {
        if (style.secondLogEntry && session.Time_Out > SecondLogAfterPolls && session.Buff.isEmpty()
            && !loggedAgain) {
            // Not sent again: the logger may still be seeking the file.
            session.status(3, command);
            txLog(session, command);
            loggedAgain = true;
        }
        if (double(session.Time_Out) > giveUpAfter || session.delay_stop_flg) {
            session.status(4, QStringLiteral("Logger no answer [dir]"));
            return ReadEnd::GaveUp;
        }
        session.delay(style.pollMs);
        if (session.FileSizeChk == 0)
            return ReadEnd::NothingExpected;
        const int percent = qBound(0, qRound(double(session.FileSize) / session.FileSizeChk * 100.0), 100);
        if (style.programBarMoves)
            session.progress().setProgress(QStringLiteral("pgbProgram"), percent);
        session.progress().setProgress(QStringLiteral("pgbDown"), percent);
        ++session.Time_Out;
        session.status(3, QStringLiteral("Fread ") + path + QStringLiteral(" - ")
                              + QString::number(session.Time_Out / 10) + QStringLiteral("[sec]"));
        if (completionReached(session))
            return ReadEnd::Complete;
    }
}

} // namespace

bool PROGRAM_COMMAND_FREAD(Session &session, int /*index*/, bool showMessage, const QString &path)
{
    bool ok = false;
    if (!refuseUnknownSize(session, path))
        ok = readFile(session, path, {TreeReadPollMs, true, true}) == ReadEnd::Complete;
    if (ok && showMessage)
        session.message(QStringLiteral("Download complete"));
    session.Result = ok;
    return ok;
}

bool PROGRAM_COMMAND_ALLDownFREAD(Session &session, int /*index*/, bool showMessage, const QString &path)
{
    bool ok = false;
    if (!refuseUnknownSize(session, path)) {
        // An expected size of 0 ends the wait after one poll and counts as an empty file;
        // a wait that gave up or was stopped never counts as complete.
        ok = readFile(session, path, {StandardReadPollMs, false, false}) != ReadEnd::GaveUp
            && completionReached(session);
    }
    if (showMessage)
        session.message(ok ? QStringLiteral("Download complete") : QStringLiteral("Download Error"));
    session.Result = ok;
    return ok;
}

bool FileDown(Session &session, const QString &listedPath)
{
    if (!listedPath.contains(u".TXT"))
        return false;
    const int index = session.Selected_index;
    session.FileSize = 0;
    const QString path = cutAfterExtension(listedPath);
    // The listing line carries the size in parentheses at its end: DATA.TXT(1234).
    const qsizetype open = listedPath.indexOf(u'(');
    bool numeric = false;
    const qint32 size = open < 0 ? 0 : listedPath.mid(open + 1, listedPath.size() - open - 2).toInt(&numeric);
    session.FileSizeChk = numeric ? size : 0;

    if (!PROGRAM_COMMAND_Terminal_Mode_Open(session, index))
        return false;
    if (session.RxTypeIndex == RxView::DownloadUpper)
        session.lineSinks().clearView(RxView::DownloadUpper);
    const bool ok = PROGRAM_COMMAND_FREAD(session, index, false, path);
    if (ok)
        session.message(QStringLiteral("Download done."));
    return ok;
}

} // namespace kvl
