#pragma once
// What the simulator puts into the PC program's folder so that the program finds it: the
// ComPorts.ini entry naming its pseudo-terminal, and, for demos, a device that uses it.
// Both are written with the program's own core code, so they are exactly what the
// program reads.

#include <QString>

namespace loggersim {

// Adds or replaces COM<comNumber>=<devicePath> in [Ports] of home/ComPorts.ini, keeping
// the other lines.
bool registerComPort(const QString &home, int comNumber, const QString &devicePath, QString *error);

// When home has no Setting.dat or one without devices: writes one with a single device
// "Demo Logger", LogID 01, on COM<comNumber>, 115200 baud, no parity, one stop bit,
// modem type "Direct". *written tells whether a file was written.
bool seedDemoDevice(const QString &home, int comNumber, bool *written, QString *error);

} // namespace loggersim
