#include "link/exchange.h"

#include "app/errorlog.h"
#include "app/session.h"
#include "app/textcodec.h"
#include "link/receiveframing.h"
#include "link/serialport.h"

namespace kvl {

BuffTest keywordTest(const QStringList &keywords, bool caseSensitive)
{
    return [keywords, caseSensitive](const Session &s) {
        const QString buff = caseSensitive ? s.Buff : s.Buff.toUpper();
        for (const QString &k : keywords)
            if (buff.contains(k))
                return true;
        return false;
    };
}

Exchange Exchange::forKeywords(const QString &command, const QStringList &keywords, int giveUpAfter,
                               int resendAfter, bool caseSensitive)
{
    Exchange e;
    e.command = command;
    e.giveUpAfter = giveUpAfter;
    e.resendAfter = resendAfter;
    e.doneTest = keywordTest(keywords, caseSensitive);
    return e;
}

void sendCommand(Session &session, const QString &command, const QString &lineEnd, bool showCommand,
                 bool txLog)
{
    if (!session.ComPort)
        throw PlatformError(QStringLiteral("No com port"));
    session.ComPort->write(AnsiCodec::instance().encode(command + lineEnd));
    if (showCommand)
        session.status(3, command);
    if (txLog)
        Comport_TXMessage(session, session.clock().now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                                       + QStringLiteral(": ") + command);
}

PollOutcome runPollWait(Session &session, const PollWait &w)
{
    const bool &stop = w.stopFlag ? *w.stopFlag : session.delay_stop_flg;
    const BuffTest &result = w.resultTest ? w.resultTest : w.doneTest;

    w.send();
    session.Time_Out = 0;
    bool resendDue = w.resendAfter >= 0;
    bool done = false;
    for (;;) {
        if (resendDue && session.Time_Out > w.resendAfter) {
            w.send();
            resendDue = false;
        }
        if (session.Time_Out > w.giveUpAfter || stop)
            break;
        session.delay(w.pollMs);
        ++session.Time_Out;
        if (w.showProgress)
            w.showProgress(session.Time_Out);
        if (w.doneTest && w.doneTest(session)) {
            done = true;
            break;
        }
    }
    PollOutcome outcome;
    outcome.result = result ? result(session) : false;
    outcome.gaveUp = !done && session.Time_Out > w.giveUpAfter;
    return outcome;
}

bool runExchange(Session &session, const Exchange &e)
{
    if (e.clearBefore)
        session.Buff.clear();
    PollWait w;
    w.send = [&] { sendCommand(session, e.command, e.lineEnd, e.showCommand, e.txLog); };
    w.pollMs = e.pollMs;
    w.resendAfter = e.resendAfter;
    w.giveUpAfter = e.giveUpAfter;
    w.stopFlag = e.stopFlag;
    w.showProgress = [&](int n) { session.status(2, e.labelPrefix + QString::number(n) + e.labelSuffix); };
    w.doneTest = e.doneTest;
    w.resultTest = e.resultTest;
    const bool ok = runPollWait(session, w).result;
    if (e.clearAfter)
        session.Buff.clear();
    return ok;
}

} // namespace kvl
