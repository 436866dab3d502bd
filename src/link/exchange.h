#pragma once
// The command exchange: send a command line, then poll the last received line (Buff)
// until it passes the done test, resending once after a number of fruitless polls and
// giving up after a larger number. Nearly every logger, modem and converter operation is
// one instance of it, stated by these parameters.

#include <QString>
#include <QStringList>

#include <functional>

namespace kvl {

class Session;

using BuffTest = std::function<bool(const Session &)>;

// Any of the keywords found in Buff: upper-cased first unless caseSensitive.
BuffTest keywordTest(const QStringList &keywords, bool caseSensitive = false);

struct Exchange {
    QString command;
    QString lineEnd = QStringLiteral("\r\n");
    bool clearBefore = true;
    bool showCommand = true;   // status panel 3 shows the command at each send
    bool txLog = true;         // each send goes to the log window with its time
    int pollMs = 100;
    int resendAfter = -1;      // resend once when the poll count exceeds this; -1 never
    int giveUpAfter = 50;      // the wait ends when the poll count exceeds this
    bool *stopFlag = nullptr;  // nullptr: the session's delay_stop_flg
    BuffTest doneTest;         // ends the wait on a hit
    BuffTest resultTest;       // decides the result once the wait ended; empty: doneTest
    QString labelPrefix = QStringLiteral("Try Connect ");
    QString labelSuffix = QStringLiteral("[100msec]");
    bool clearAfter = false;

    // The common form: done and result test on the keywords.
    static Exchange forKeywords(const QString &command, const QStringList &keywords,
                                int giveUpAfter, int resendAfter = -1, bool caseSensitive = false);
};

// The exchange's wait in its general form, for the few instances whose send or progress
// text does not fit the common one (a hang-up that sends two lines with a pause between
// them and repeats both at its resend; steps that show progress in seconds or not at all).
// Buff is neither emptied before nor after: the caller decides. Time_Out counts the polls.
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

PollOutcome runPollWait(Session &session, const PollWait &wait);

// Runs the exchange and returns the result test's verdict. The port must be open; a
// write on a closed or failing port raises PlatformError.
bool runExchange(Session &session, const Exchange &exchange);

// Sends command + lineEnd (in the ANSI code page); shows it in panel 3 and logs it as
// "yyyy-mm-dd hh:mm:ss: command" when asked.
void sendCommand(Session &session, const QString &command, const QString &lineEnd = QStringLiteral("\r\n"),
                 bool showCommand = true, bool txLog = true);

} // namespace kvl
