#pragma once
// The logger's standard data files and their save files on the PC. A logger that measures
// more than 60 channels ("SensorNoCheck") splits every measurement line over two files;
// the two halves are merged back into one line before they are saved.

#include <QString>
#include <QStringList>

namespace kvl {

class Session;

enum class DataFileSet {
    All,  // "All Down": \SLnn\CRnn0.TXT and CRnn1.TXT, the logger's whole record
    Last, // "Last Down": \SLnn\SLnn0.TXT and SLnn1.TXT, the data since the last fetch
};

// The logger path of the first (part 0) or second (part 1) file of a set for a LogID:
// \SL01\CR010.TXT, \SL01\CR011.TXT, \SL01\SL010.TXT, \SL01\SL011.TXT.
QString standardDataFile(DataFileSet set, const QString &logId, int part);

// Line i of the first file followed by line i of the second file without its first 17
// characters (the time stamp both files carry). A missing second line adds nothing.
QStringList mergeDataLines(const QStringList &first, const QStringList &second);

// Where a save file of a device lies: its save folder joined with the file name; a
// relative or empty folder is taken from the program folder, where the program keeps
// its files unless a device names another folder.
QString saveFilePath(const Session &session, const QString &saveFolder, const QString &fileName);

// Appends the lines, each followed by CR LF, in the ANSI code page, creating the file
// when it is missing (and, with createFolder, its folder, one level). When the write
// fails (disk full, no permission) the file is cut back to its old length (a new file is
// removed) and PlatformError is raised: a failed save never leaves half a download in it.
void appendToSaveFile(const QString &path, const QStringList &lines, bool createFolder);

} // namespace kvl
