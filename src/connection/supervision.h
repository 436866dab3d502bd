#pragma once
// Keeping the shown connection state in step with the link, and the buttons that open and
// close it: the top bar's connect/disconnect toggle and the terminal page's port and
// disconnect buttons. The front ends only paint what these return and run the timers.

#include <QString>

namespace kvl {

class Session;

// What the top bar and status panels 0 and 1 show of the link.
struct ConnectionDisplay {
    bool connected = false; // imgconnect shown (else imgdisConnect)
    QString caption;        // btnConnectTap: "Disconnect" when connected, else "Connect"
    QString portPanel;      // status panel 0
    QString linkPanel;      // status panel 1
    bool operator==(const ConnectionDisplay &) const = default;
};

// One monitoring tick (every 10 ms in the window): a closed port means not connected, a
// "CARRIER" line in Buff ends the link (shown at the next tick). Writes panels 0 and 1
// and returns what the top bar shows.
ConnectionDisplay connectionMonitoringTick(Session &session);

// The main window's two connection timers, which the connect button switches: the
// blinking picture runs and the monitoring pauses while a connect is in progress, so
// that the blinking is not overwritten.
class ConnectionTimers {
public:
    virtual ~ConnectionTimers() = default;
    virtual void setBlinking(bool on) = 0;   // tmrConnectIng
    virtual void setMonitoring(bool on) = 0; // tmrMonitoring
};

// The connect/disconnect toggle for the selected device. Clears the stop flags and the
// converter's write mode; without a selected device "Please select a device." and nothing
// else. Ends with "Sucess - Logger is Connected" or "Logger is Disconnected" and the timers
// back to normal, also when an error interrupted it (the error then propagates). Refused
// while another operation runs. Returns Connect_flg.
bool connectButton(Session &session, ConnectionTimers *timers = nullptr);

// The terminal page's port button: closes an open port (caption "ComOpen"), else opens it
// for the selected device with messages (caption "ComClose", also when it did not open).
// Returns the new caption; empty when nothing was done (no device, or refused).
QString comOpenButton(Session &session);

// The terminal page's "Disconnect": hangs up and closes an open port, else "Open Comport.".
// Returns the hang-up's result (false when nothing was done).
bool terminalDisconnectButton(Session &session);

} // namespace kvl
