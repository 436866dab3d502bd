#pragma once
// Modem types: the kind of connection procedure a device's modem type text selects, and
// the communication kind the setup page derives from it.

#include <QString>

namespace kvl {

class DeviceRegistry;

namespace ModemKind {
constexpr int Direct = 0;    // direct probe; also every unknown text, "TCP/IP" and empty
constexpr int H315k = 1;
constexpr int JT004 = 2;
constexpr int NWarden = 3;
constexpr int BT_QN305 = 4;
constexpr int Etc = 5;
constexpr int MRX417 = 6;
} // namespace ModemKind

// The kind of a modem type text, compared exactly (same characters, same case).
int MdoemTypeFind(const QString &modemType);
// The kind of the modem type stored in a registry slot (Direct for a slot out of range).
int MdoemTypeFind(const DeviceRegistry &registry, int index);

// The communication kind stored with a device: 0 serial when the type contains "Direct",
// else 3 TCP when it contains "IP", else 2 LTE when it contains "417", else 0.
qint32 communicationForModemType(const QString &modemType);

// The text the device summary shows for a communication kind ("Serial", "CDMA", "LTE",
// "TCP"); empty for any other value.
QString communicationName(qint32 communication);

} // namespace kvl
