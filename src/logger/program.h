#pragma once
// Writing the logger's program file line by line, and test-running a program from the PC
// by sending its channel lines one at a time as direct commands.

#include <QString>
#include <QStringList>

namespace kvl {

class Session;

// The program file on the logger's storage.
inline const QString ProgramFilePath = QStringLiteral("\\PROG.TXT");

// Appends every line (empty ones too) to the file with its own
// "Fputs " + path + " /a " + line, each awaiting "OK" or "ERROR" (100 ms polls, sent again
// after 20, given up after 50); replies go to the program page's reply view, which is
// emptied first. A line answered with "ERROR" or not at all makes the outcome false, but
// the lines after it are still sent. At the end "PROG.TXT Input Complete" (panel 3, and a
// message with showMessage) or "Input Error" (message) and "PROGRAM_COMMAND_WRITE ERROR "
// (panel 4); the program bar ends at 100. An error on the line also ends as "Input Error"
// before it goes on to the caller. True when every line was acknowledged.
bool PROGRAM_COMMAND_WRITE(Session &session, int index, bool showMessage, const QStringList &lines,
                           const QString &path);

// Sends each line that starts with "#" and waits for any reply line, at most w + 41 polls
// of 250 ms, where w is five per second of the line's delay token ("3S;" or "3S" among the
// ten characters from the tenth on; 25 when 0 or none so far; it carries over from line to
// line). Other lines (comments) are skipped. The run ends with success at the first line
// containing "INT" or "END", and when session.Stop_Flag is found set before a line
// ("PROG STOP"). Replies go to the program page's reply view. The program bar follows the
// lines over all but the last two (the interval and end lines); a program of two lines or
// fewer shows 100. At the end " RUN Complete" / "PROGRAM_COMMAND_RUN Complete",
// "PROGRAM_COMMAND_RUN STOP Complete", or "PROGRAM_COMMAND_RUN ERROR ". The path is not
// used: the logger's stored program is not involved.
bool PROGRAM_COMMAND_Run(Session &session, int index, bool showMessage, const QStringList &lines,
                         const QString &path);

} // namespace kvl
