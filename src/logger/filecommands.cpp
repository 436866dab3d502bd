#include "logger/filecommands.h"

#include "app/session.h"
#include "link/exchange.h"
#include "link/receiveframing.h"

namespace kvl {

namespace {

// The logger needs this long to change folder, create or delete a file; its answer is
// not awaited but left in the terminal view.
constexpr int FileCommandSettleMs = 500;
// A size line may follow the echo of the command: it gets this long to arrive.
constexpr int SizeLineSettleMs = 300;

constexpr int DirPollMs = 100;
constexpr int DirResendAfter = 40;
constexpr int DirGiveUpAfter = 80;
constexpr int SizePollMs = 100;
constexpr int SizeResendAfter = 20;
constexpr int SizeGiveUpAfter = 50;

void txLog(Session &session, const QString &command)
{
    Comport_TXMessage(session, session.clock().now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                                   + QStringLiteral(": ") + command);
}

// Writes a command line and shows it in panel 3, without the TX log entry, which the
// file commands make after their wait.
void writeShown(Session &session, const QString &command)
{
    sendCommand(session, command, QStringLiteral("\r\n"), /*showCommand=*/true, /*txLog=*/false);
}

// A listing entry: a folder in brackets, a file name with its size in parentheses, a path.
bool looksLikeListing(const Session &s)
{
    return s.Buff.contains(u'\\') || s.Buff.contains(u'.') || s.Buff.contains(u']') || s.Buff.contains(u')');
}

} // namespace

bool PROGRAM_COMMAND_ROOT(Session &session, int /*index*/)
{
    session.RxTypeIndex = RxView::Terminal;
    RxTypeMemoClear(session);
    session.Buff.clear();
    sendCommand(session, QStringLiteral("CD \\"));
    session.delay(FileCommandSettleMs);
    session.Buff.clear();
    return true;
}

bool PROGRAM_COMMAND_DIR(Session &session, int /*index*/)
{
    session.RxTypeIndex = RxView::Terminal;
    Exchange e;
    e.command = QStringLiteral("dir");
    e.pollMs = DirPollMs;
    e.resendAfter = DirResendAfter;
    e.giveUpAfter = DirGiveUpAfter;
    e.doneTest = looksLikeListing;
    e.labelPrefix = QStringLiteral("Dir - ");
    e.labelSuffix = QStringLiteral("[200msec]");
    e.clearAfter = true;
    return runExchange(session, e);
}

bool PROGRAM_COMMAND_FSIZE(Session &session, int /*index*/, const QString &fileName)
{
    session.FileSizeChk = -1;
    session.RxTypeIndex = RxView::Terminal;
    session.Buff.clear();
    Exchange e;
    e.command = QStringLiteral("FSIZE ") + fileName;
    e.pollMs = SizePollMs;
    e.resendAfter = SizeResendAfter;
    e.giveUpAfter = SizeGiveUpAfter;
    e.doneTest = [](const Session &s) { return s.Buff.size() >= 2; };
    e.labelPrefix = QStringLiteral("fsize - ");
    e.labelSuffix = QStringLiteral("[100msec]");
    if (!runExchange(session, e))
        return false;
    // The first line may be the echo; the size line is the last one in by now.
    session.delay(SizeLineSettleMs);
    session.FileSizeChk = StringCount(session.Buff);
    session.Buff.clear();
    return true;
}

bool PROGRAM_COMMAND_FCreate(Session &session, int /*index*/, const QString &fileName)
{
    const QString command = QStringLiteral("FCreate ") + fileName;
    session.RxTypeIndex = RxView::Terminal;
    RxTypeMemoClear(session);
    writeShown(session, command);
    session.delay(FileCommandSettleMs);
    session.Buff.clear();
    txLog(session, command);
    return true;
}

bool PROGRAM_COMMAND_DelEachFILE(Session &session, int index, const QString &filePath)
{
    const QString command = QStringLiteral("DEL ") + filePath;
    session.FileSize = 0;
    session.Buff.clear();
    PROGRAM_COMMAND_ROOT(session, index);
    writeShown(session, command);
    session.delay(FileCommandSettleMs);
    txLog(session, command);
    return true;
}

qint32 StringCount(const QString &line)
{
    // A size is digits only: a sign, a fraction or a number beyond 32 bits is no size.
    const QString tail = line.mid(3).trimmed();
    if (tail.isEmpty())
        return -1;
    for (const QChar c : tail)
        if (c < u'0' || c > u'9')
            return -1;
    bool ok = false;
    const qint32 size = tail.toInt(&ok);
    return ok ? size : -1;
}

} // namespace kvl
