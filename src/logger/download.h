#pragma once
// Reading one file of the logger over the serial line: "fread " + path is sent and the
// logger sends the file's lines, which land in the receive view chosen by RxTypeIndex.
// Completion is judged by counting received characters (session.FileSize) against the
// size the logger reported beforehand (session.FileSizeChk), not by parsing lines: the
// file is complete when at most four characters are missing.

#include <QString>

namespace kvl {

class Session;

// The read of the file tree and of the program download: 100 ms polls, a give-up after
// FileSizeChk x 0.02 + 20 polls, both progress bars move, "Download complete" on success
// when showMessage is set. An expected size of 0 fails after the first poll. A size that
// is unknown (FileSizeChk < 0, the size reply was no number) fails at once as an error,
// without sending "fread": nothing tells how long to wait or when the file is whole.
// The outcome is also left in session.Result.
bool PROGRAM_COMMAND_FREAD(Session &session, int index, bool showMessage, const QString &path);

// The read of "All Down" and "Last Down": 200 ms polls, only the download bar moves, the
// outcome is the completion test once the wait ended (an expected size of 0 counts as an
// empty file), but a wait that gave up or was stopped is always a failure. With
// showMessage, "Download complete" or "Download Error". An unknown size fails as above.
bool PROGRAM_COMMAND_ALLDownFREAD(Session &session, int index, bool showMessage, const QString &path);

// A double click on a file node: listedPath is the node's path as listed, size suffix
// included ("\SL01\DATA.TXT(1234)"). The expected size is the number in the parentheses
// (0 when there is none). Opens terminal mode (the caller closes it), reads the file into
// the upper download view and shows "Download done." on success. Nothing is saved.
bool FileDown(Session &session, const QString &listedPath);

} // namespace kvl
