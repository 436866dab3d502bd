#pragma once
#include <QString>

namespace kvl {

// The program folder (Setting.dat, LogFile.Log, ComPorts.ini, ...): the --home option,
// else KVL520_HOME, else the executable's folder when writable, else the platform's
// application-data folder. Created when missing. Always ends without a separator.
QString resolveProgramFolder(const QString &homeOption);

// folder + "\" + name as the system joins it: the platform's separator, and a stored
// Windows folder ("C:\Data\") keeps working where the system understands it.
QString joinPath(const QString &folder, const QString &name);

} // namespace kvl
