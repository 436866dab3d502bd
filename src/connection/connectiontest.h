#pragma once
// The setup page's connection test: tries the settings the page shows (not the stored
// record, so they can be tried before "Apply") by opening the port, probing the logger
// directly or driving the modem through its command, call and hang-up, and reports each
// stage in status panel 1, the progress bar "pgbTest" and messages. The test neither
// changes Connect_flg nor stores anything; a final port close ends a connection that was
// up, which the monitoring then shows.

#include <QString>

namespace kvl {

class Session;
class SetupPageModel;

// The page's current texts the test works on.
struct ConnectionTestSettings {
    QString modemType; // clbModemType
    QString portText;  // cbbPortno, e.g. "COM7"
    QString baudrate;  // cbbBaudrate
    QString parity;    // edtParity
    QString stopBits;  // edtStopbits
    QString logId;     // clbLogID
    QString command;   // edtCommand1
    QString callCmd;   // edtCallCmd
    QString modemNo;   // edtModemNo
};

ConnectionTestSettings connectionTestSettings(const SetupPageModel &page);

// The port number of a port text: upper-cased, every "COM" removed, read as a decimal
// number; 0 when that is no number.
int testPortNumber(const QString &portText);

// The test's steps. Each empties Buff before it sends and when it ends, ends early on
// Stop_Flag, and leaves its result in Result as well.

// "#t" + address + " r;" (TX log only) until "Read" in exactly this case, given up after
// 201 polls; sends nothing and fails unless a device is selected and the port is open.
bool COMDirectConnect(Session &session, const QString &address);
// The modem command until "OK", given up after 31 polls; panel 2 counts seconds.
bool ModemCheck(Session &session, const QString &command);
// callCmd + number until "CONNECT" or "CARRIER", given up after 401 polls; true on
// "CONNECT". With an empty call command nothing is sent and Result is returned unchanged.
bool ModemCall(Session &session, const QString &callCmd, const QString &number);
// The escape sequence (TX log only) until "CARRIER", given up after 31 polls.
bool MRX417Disconnect(Session &session);

// "Test" on the setup page. Refused while another operation runs. Returns whether the
// logger answered (false for "TCP/IP", which is not tested).
bool connectionTestButton(Session &session, const ConnectionTestSettings &settings);

} // namespace kvl
