#pragma once
// The logger commands that move no files: reading the logger clock (also the probe that
// confirms a connection), setting it from the PC clock, resetting the logger, the text-mode
// switch "mode /t", and opening and closing the logger's terminal mode, which bracket every
// file, download, program and converter operation.
//
// Each is one command exchange addressed to the logger by the LogID of device slot `index`,
// inserted as stored (neither padded nor checked). The operations do not test the link
// (callers do) and take no operation guard: they are the building blocks of larger
// operations. The button actions below are the user-started entry points.

namespace kvl {

class Session;

// "#T" + LogID + " R"; true when the clock reply ("READ") came; also left in Result.
// Refreshes NowYear first; Buff is emptied afterwards.
bool PROGRAM_COMMAND_TimeRead(Session &session, int index);

// "#T" + LogID + " W " + the PC clock "yy MM dd hh mm", taken once (the resend repeats the
// identical line); true when the clock-set reply ("SET") came. Refreshes NowYear first.
// With confirm, a success shows "Time set OK".
bool PROGRAM_COMMAND_TimeSetting(Session &session, int index, bool confirm);

// "#RESET" + LogID; true when the reset reply ("SET") came. Buff is emptied only when the
// logger never answered. With confirm, a success shows "RESET OK".
bool PROGRAM_COMMAND_Reset(Session &session, int index, bool confirm);

// "mode /t" with the terminal view receiving; true on "FULL". Leaves RxTypeIndex at 0 and
// Buff empty, also when left by an error.
bool PROGRAM_COMMAND_Mode_T(Session &session, int index);

// "#M" + LogID + " T O" with the terminal view (emptied first) receiving; true when
// "Terminal" (exactly this case) came, then waits 300 ms. A failure shows
// "Terminal Mode Error" and waits 300 ms. The caller's RxTypeIndex is restored in every case.
bool PROGRAM_COMMAND_Terminal_Mode_Open(Session &session, int index);

// "#M" + LogID + " T C" with the terminal view (emptied first) receiving; waits a further
// 500 ms when "UNC" came. Always true: a logger that ignores the close never stops the
// caller's sequence. Leaves RxTypeIndex at 0.
bool PROGRAM_COMMAND_Terminal_Mode_Close(Session &session, int index);

// Receive views the clock set's buttons send the reply to: the program page's reply
// memo and the terminal memo.
inline constexpr int ProgramReplyView = 9;
inline constexpr int TerminalView = 0;

// "Time SET" (program page: ProgramReplyView; terminal page: TerminalView) and "Reset"
// (program page). Not connected: " Datalogger is Unconnected" and nothing is sent. While
// another operation runs the press is refused and the stop flags are left alone. Otherwise
// the stop flags are cleared, the reply view chosen and the command run for the selected
// device with confirmation. Returns the command's result (false when nothing was sent).
bool timeSetButton(Session &session, int rxTypeIndex);
bool resetButton(Session &session);

} // namespace kvl
