#pragma once
// The logger's file commands, sent while it is in terminal mode. Paths are the logger's
// own ("\SL01\CR010.TXT", "CD \"), with backslashes on every system.

#include <QString>

namespace kvl {

class Session;

// "CD \" and a fixed 500 ms wait; no reply is awaited. Always true.
bool PROGRAM_COMMAND_ROOT(Session &session, int index);
// "dir": done as soon as a listing-like line arrives; the rest keeps landing in the
// terminal view.
bool PROGRAM_COMMAND_DIR(Session &session, int index);
// "FSIZE " + name: the size goes to session.FileSizeChk (-1 when unreadable).
bool PROGRAM_COMMAND_FSIZE(Session &session, int index, const QString &fileName);
// "FCreate " + name; the reply is not examined. Always true.
bool PROGRAM_COMMAND_FCreate(Session &session, int index, const QString &fileName);
// "CD \" then "DEL " + path; the reply is not examined. Always true.
bool PROGRAM_COMMAND_DelEachFILE(Session &session, int index, const QString &filePath);

// The size in a size reply: the text from the 4th character on as a decimal integer,
// -1 when it is not one.
qint32 StringCount(const QString &line);

} // namespace kvl
