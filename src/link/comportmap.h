#pragma once
// COM port numbers and the system's device paths. On Windows "COM"+n is "\\.\COM"+n.
// Elsewhere the file "ComPorts.ini" in the program folder maps names ([Ports], COM7=/dev/pts/3),
// and otherwise COM1-32 are /dev/ttyS0-31, COM33-64 /dev/ttyUSB0-31, COM65-96 /dev/ttyACM0-31.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace kvl {

QString comPortIniFileName();

// The path the system opens for COM port n; also the device name the user sees.
QString systemPortPath(int comNumber, const QString &programFolder);
// The COM name ("COM7") of a system port path, or empty when it has none.
QString comNameForSystemPath(const QString &systemPath, const QString &programFolder);

// The ComPorts.ini mapping as (COM number, path) pairs, in file order.
QList<QPair<int, QString>> readComPortMap(const QString &programFolder);
// Adds or replaces "COMn=path" in ComPorts.ini, keeping the other lines.
bool writeComPortMapEntry(const QString &programFolder, int comNumber, const QString &systemPath);

// Every present port under its COM name, in COM order; "No COM Port" when there is none.
QStringList ComPortSearch(const QString &programFolder);

} // namespace kvl
