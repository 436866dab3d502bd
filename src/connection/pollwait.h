#pragma once
// The command exchange's wait for the few instances that do not fit its common form: the
// modem hang-up sends two lines with a pause between them (and repeats both at its
// resend), and the connection test's modem steps show their progress in seconds or not
// at all. The loop is the common one: send, poll Buff, resend once, give up or stop.

#include "link/exchange.h"

#include <functional>

namespace kvl {

class Session;

struct PollWait {
    std::function<void()> send;             // the first send, and the resend
    int pollMs = 100;
    int resendAfter = -1;                   // resend once when the poll count exceeds this; -1 never
    int giveUpAfter = 50;                   // the wait ends when the poll count exceeds this
    bool *stopFlag = nullptr;               // nullptr: the session's delay_stop_flg
    std::function<void(int)> showProgress;  // after each poll, with the poll count; may be empty
    BuffTest doneTest;
    BuffTest resultTest;                    // empty: doneTest
};

struct PollOutcome {
    bool result = false;
    bool gaveUp = false; // the poll count ran out (neither the done test nor the stop flag ended it)
};

// Buff is neither emptied before nor after: the caller decides. Time_Out counts the polls.
PollOutcome runPollWait(Session &session, const PollWait &wait);

} // namespace kvl
