#include "logger/clockcommands.h"

#include "app/errorlog.h"
#include "app/session.h"
#include "link/exchange.h"
#include "link/receiveframing.h"
#include "logger/loggerbutton.h"
#include "registry/deviceregistry.h"

namespace kvl {

namespace {

// Poll periods and counts of the logger's commands. The logger answers a clock or mode
// command within a second or two; the single resend covers a line lost on a noisy modem
// link, the give-up keeps a silent logger from holding the program for long.
constexpr int ClockPollMs = 100;
constexpr int ClockResendAfter = 20;   // second send after about 2.1 s
constexpr int ClockGiveUpAfter = 50;   // failure after about 5.1 s
constexpr int ModeTResendAfter = 10;
constexpr int ModeTGiveUpAfter = 20;
constexpr int TerminalPollMs = 200;
constexpr int TerminalResendAfter = 20;
constexpr int TerminalGiveUpAfter = 40; // about 8.2 s
// Pauses that give the logger time to switch its mode before the next command.
constexpr int TerminalOpenSettleMs = 300;
constexpr int TerminalCloseSettleMs = 500;

QString logIdOf(const Session &session, int index)
{
    if (!session.DeviceInfo || index < 0 || index >= DeviceRegistry::SlotCount)
        throw PlatformError(QStringLiteral("No device selected"));
    return (*session.DeviceInfo)[index].DeviceSet.LogID;
}

Exchange exchangeFor(const QString &command, const QString &keyword, int pollMs, int resendAfter,
                     int giveUpAfter, const QString &labelPrefix, const QString &labelSuffix,
                     bool caseSensitive = false)
{
    Exchange e = Exchange::forKeywords(command, {keyword}, giveUpAfter, resendAfter, caseSensitive);
    e.pollMs = pollMs;
    e.labelPrefix = labelPrefix;
    e.labelSuffix = labelSuffix;
    return e;
}

const QString Label100 = QStringLiteral("[100msec]");

// Restores the caller's receive view when the terminal-mode open ends, however it ends.
class RxTypeIndexRestorer {
public:
    explicit RxTypeIndexRestorer(Session &session) : m_session(session), m_saved(session.RxTypeIndex) {}
    ~RxTypeIndexRestorer() { m_session.RxTypeIndex = m_saved; }
    RxTypeIndexRestorer(const RxTypeIndexRestorer &) = delete;
    RxTypeIndexRestorer &operator=(const RxTypeIndexRestorer &) = delete;

private:
    Session &m_session;
    int m_saved;
};

// Empties Buff when "mode /t" ends, however it ends.
class BuffClearer {
public:
    explicit BuffClearer(Session &session) : m_session(session) {}
    ~BuffClearer() { m_session.Buff.clear(); }
    BuffClearer(const BuffClearer &) = delete;
    BuffClearer &operator=(const BuffClearer &) = delete;

private:
    Session &m_session;
};

// The front-panel buttons: refuse when unconnected or busy, otherwise clear the stop
// flags, choose the reply view and run the command.
template <typename Command>
bool runButton(Session &session, int rxTypeIndex, Command &&command)
{
    LoggerButton button(session);
    if (button.refused())
        return false;
    session.RxTypeIndex = rxTypeIndex;
    return command();
}

} // namespace

bool PROGRAM_COMMAND_TimeRead(Session &session, int index)
{
    session.refreshNowYear();
    Exchange e = exchangeFor(QStringLiteral("#T") + logIdOf(session, index) + QStringLiteral(" R"),
                             QStringLiteral("READ"), ClockPollMs, ClockResendAfter, ClockGiveUpAfter,
                             QStringLiteral("Try Connect "), Label100);
    e.clearAfter = true;
    session.Result = runExchange(session, e);
    return session.Result;
}

bool PROGRAM_COMMAND_TimeSetting(Session &session, int index, bool confirm)
{
    session.refreshNowYear();
    // The clock is read once: a resend repeats the identical line.
    const QString clock = session.clock().now().toString(QStringLiteral("yy MM dd hh mm"));
    const Exchange e = exchangeFor(QStringLiteral("#T") + logIdOf(session, index) + QStringLiteral(" W ") + clock,
                                   QStringLiteral("SET"), ClockPollMs, ClockResendAfter, ClockGiveUpAfter,
                                   QStringLiteral("Time set - "), Label100);
    const bool ok = runExchange(session, e);
    if (confirm && ok)
        session.message(QStringLiteral("Time set OK"));
    return ok;
}

bool PROGRAM_COMMAND_Reset(Session &session, int index, bool confirm)
{
    const Exchange e = exchangeFor(QStringLiteral("#RESET") + logIdOf(session, index), QStringLiteral("SET"),
                                   ClockPollMs, ClockResendAfter, ClockGiveUpAfter,
                                   QStringLiteral("Time set - "), Label100);
    const bool ok = runExchange(session, e);
    // Only a logger that never answered leaves its last line behind to be dropped.
    if (!ok && session.Time_Out > e.giveUpAfter)
        session.Buff.clear();
    if (confirm && ok)
        session.message(QStringLiteral("RESET OK"));
    return ok;
}

bool PROGRAM_COMMAND_Mode_T(Session &session, int /*index*/)
{
    BuffClearer clearAtEnd(session);
    session.RxTypeIndex = TerminalView;
    const Exchange e = exchangeFor(QStringLiteral("mode /t"), QStringLiteral("FULL"), ClockPollMs,
                                   ModeTResendAfter, ModeTGiveUpAfter, QStringLiteral("mode /t - "), Label100);
    return runExchange(session, e);
}

bool PROGRAM_COMMAND_Terminal_Mode_Open(Session &session, int index)
{
    const QString command = QStringLiteral("#M") + logIdOf(session, index) + QStringLiteral(" T O");
    RxTypeIndexRestorer restoreAtEnd(session);
    session.RxTypeIndex = TerminalView;
    RxTypeMemoClear(session);
    const Exchange e = exchangeFor(command, QStringLiteral("Terminal"), TerminalPollMs, TerminalResendAfter,
                                   TerminalGiveUpAfter, command + QStringLiteral(" - "),
                                   QStringLiteral("[200msec]"), /*caseSensitive=*/true);
    const bool ok = runExchange(session, e);
    if (ok)
        session.Buff.clear();
    else
        session.message(QStringLiteral("Terminal Mode Error"));
    session.delay(TerminalOpenSettleMs);
    return ok;
}

bool PROGRAM_COMMAND_Terminal_Mode_Close(Session &session, int index)
{
    const QString command = QStringLiteral("#M") + logIdOf(session, index) + QStringLiteral(" T C");
    session.RxTypeIndex = TerminalView;
    RxTypeMemoClear(session);
    const Exchange e = exchangeFor(command, QStringLiteral("UNC"), TerminalPollMs, TerminalResendAfter,
                                   TerminalGiveUpAfter, QStringLiteral("Try Connect "), Label100);
    if (runExchange(session, e))
        session.delay(TerminalCloseSettleMs);
    return true;
}

bool timeSetButton(Session &session, int rxTypeIndex)
{
    return runButton(session, rxTypeIndex,
                     [&] { return PROGRAM_COMMAND_TimeSetting(session, session.Selected_index, true); });
}

bool resetButton(Session &session)
{
    return runButton(session, ProgramReplyView,
                     [&] { return PROGRAM_COMMAND_Reset(session, session.Selected_index, true); });
}

} // namespace kvl
