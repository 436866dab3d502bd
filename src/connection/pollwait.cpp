#include "connection/pollwait.h"

#include "app/session.h"

namespace kvl {

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

} // namespace kvl
