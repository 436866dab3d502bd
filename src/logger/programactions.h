#pragma once
// The program page's actions on the program text, which lives in the program memo
// (receive view 1, session.Views): read it from the logger, send it, test-run it, stop,
// clear the memos and save the text to a PC file.

namespace kvl {

class Session;

// The tags of the program page's buttons; the dispatcher serves ProgDown, ProgSend,
// ProgRun and Clear. ("Time SET" and "Save to PC" share tag 7.)
namespace ProgramTag {
constexpr int ProgDown = 1;
constexpr int ProgSend = 2;
constexpr int ProgRun = 3;
constexpr int StopRun = 4;
constexpr int Reset = 5;
constexpr int Clear = 6;
constexpr int TimeSet = 7;
} // namespace ProgramTag

// The dispatcher: the program bar to 0; nothing more without a selected device.
// Otherwise the branch of the tag runs for the selected device, and terminal mode is
// closed at the end of every branch, also after an error ("Clear" included; while the
// port is closed nothing is sent). Returns the branch's outcome: Prog Down the file
// arrived, Prog Send every line acknowledged, Prog Run the run reached INT or END,
// Clear true.
//   Prog Down: terminal mode closed and opened, the size of \PROG.TXT asked, the file read
//     into the program memo ("Download complete"), the bar at 10 and then 100.
//   Prog Send: terminal mode closed and opened, "CD \", "FCreate \PROG.TXT", "dir"; when a
//     line of the terminal view names PROG, "mode /t" and the memo written line by line;
//     otherwise the file is created and listed once more and nothing is written.
//   Prog Run: the memo's channel lines sent one by one as direct commands.
//   Clear: the program memo and the reply memo emptied.
bool PROGRAM_COMMAND(Session &session, int tag);

// The buttons. Prog Down, Prog Send and Prog Run: not connected shows
// " Datalogger is Unconnected" and nothing is sent. While another operation runs a press
// is refused. Otherwise the stop flags are cleared and the dispatcher runs (Prog Down
// empties the program memo first; Prog Send chooses the reply memo).
bool progDownButton(Session &session);
bool progSendButton(Session &session);
bool progRunButton(Session &session);
// "Clear": no connection needed.
bool programClearButton(Session &session);
// "Stop Run": sets both stop flags and restores the cursor; works during any operation.
void stopRunButton(Session &session);

// "Save to PC": without a selected device "Select Device Name". Otherwise a save dialog
// proposes DeviceName + "_PROG.TXT" in the program folder; the program memo is written to
// the chosen file (".TXT" added when it has no extension) in the ANSI code page with
// CR LF, whole through a temporary file, so a failed save leaves an existing file as it
// was and raises PlatformError. True when the file was written.
bool saveProgramToPc(Session &session);

} // namespace kvl
