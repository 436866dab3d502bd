#pragma once
// What the simulator puts into the PC program's folder so that the program finds it: the
// ComPorts.ini entry naming its pseudo-terminal, and, for demos, a device that uses it.
// Both are written with the program's own core code, so they are exactly what the
// program reads.

#include "loggersim/scenario.h"

#include <QString>

namespace loggersim {

// Adds or replaces COM<comNumber>=<devicePath> in [Ports] of home/ComPorts.ini, keeping
// the other lines.
bool registerComPort(const QString &home, int comNumber, const QString &devicePath, QString *error);

// The demo device for a simulator with this modem: its name and settings.
//   none:   "Demo Logger", modem type "Direct", 115200 baud
//   at:     "Demo Modem Logger", modem type "H315k", 9600 baud, AT+CRM=129, ATDT, +++
//   mrx417: "Demo MRX-417 Logger", modem type "MRX-417", 9600 baud, AT, ATDT, +++
// Each with LogID 01 (or the scenario's logger number), no parity, one stop bit, its
// data saved under home/Data.
QString demoDeviceName(Scenario::Modem modem);

// Adds the demo device for `scenario`'s modem on COM<comNumber> as the next top-level
// device of home/Setting.dat, unless a device of that name is there already (the user's
// own devices stay as they are; a full registry gets nothing). *written tells whether
// the file was written.
bool seedDemoDevice(const QString &home, int comNumber, const Scenario &scenario, bool *written, QString *error);

} // namespace loggersim
