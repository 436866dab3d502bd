#pragma once
// "Del Data All": deletes the selected device's standard data files on the logger
// (SLnn0, SLnn1, CRnn0 and CRnn1 in its folder \SLnn) in four groups.

#include <QString>

namespace kvl {

class FileTree;
class Session;

// The names a delete group sends, as FileNamesearch builds them; second is empty unless
// the device splits its lines over two files (SensorNoCheck). Groups 1, 2, 4 and 5 exist.
struct DeleteGroupNames {
    QString first;
    QString second;
};
DeleteGroupNames FileNamesearch(int group, const QString &logId, bool sensorNoCheck);

// One group: "CD \", then "DEL " + each name, 500 ms apart; the replies are not
// examined. Always true.
bool PROGRAM_COMMAND_DELTEFILE(Session &session, int index, int group);

// The button. Not connected: " Datalogger is Unconnected". Asks first; anything but Yes
// sends nothing. Closes and opens terminal mode, deletes groups 1, 2, 4 and 5 with the
// download bar at 25, 50, 75 and 100, closes terminal mode. The busy cursor shows
// meanwhile; the file tree (when given) is cleared at the end, also after an error.
void DeleteDataAll2(Session &session, FileTree *tree);

} // namespace kvl
