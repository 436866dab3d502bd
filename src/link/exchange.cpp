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

bool runExchange(Session &session, const Exchange &e)
{
    const bool &stop = e.stopFlag ? *e.stopFlag : session.delay_stop_flg;
    const BuffTest &result = e.resultTest ? e.resultTest : e.doneTest;

    if (e.clearBefore)
        session.Buff.clear();
    sendCommand(session, e.command, e.lineEnd, e.showCommand, e.txLog);
    session.Time_Out = 0;
    bool resendDue = e.resendAfter >= 0;
    for (;;) {
        if (resendDue && session.Time_Out > e.resendAfter) {
            sendCommand(session, e.command, e.lineEnd, e.showCommand, e.txLog);
            resendDue = false;
        }
        if (session.Time_Out > e.giveUpAfter || stop)
            break;
        session.delay(e.pollMs);
        ++session.Time_Out;
        session.status(2, e.labelPrefix + QString::number(session.Time_Out) + e.labelSuffix);
        if (e.doneTest && e.doneTest(session))
            break;
    }
    const bool ok = result ? result(session) : false;
    if (e.clearAfter)
        session.Buff.clear();
    return ok;
}

} // namespace kvl
