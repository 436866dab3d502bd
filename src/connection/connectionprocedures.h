#pragma once
// Opening and closing the link to a logger, by the device's modem type: a direct cable
// (or a converter that behaves like one) is probed with the logger clock read; a modem is
// initialised with the device's command and dials its call command and number, after which
// the clock read confirms the logger; the hang-ups send the modem's disconnect text and the
// escape sequence and close the port.
//
// Every routine takes the device slot `index` (the selected device in every call from the
// buttons) and returns a Boolean; further outcomes are left in the session (Connect_flg,
// Result, Buff). They take no operation guard: the buttons that start them do.
// The settings come from the device's record: COMPORT and Baudrate open the port (its
// parity is kept as it is, one stop bit), LogID addresses the logger, Command, CallCMD,
// ModemNo and DiscntCMD drive the modem.

#include <QString>

namespace kvl {

class Session;

// The modem escape: group separator, three plus signs, escape (sent followed by CR LF).
QString escapeSequence();

// Opens the port, runs the connect steps of the device's kind and sets Connect_flg, which
// it returns. A port found already open is closed and Connect_flg left as it was. With
// showMessages, "Connect Success." or "UnConnect" ends it.
bool Connect(Session &session, int index, bool showMessages);

// Opens the port with the device's COM number and baud rate (raising RTS and DTR; panel 0
// "Com Opened"). A port already open: panel 0 "Error - ComOpened", with showMessages the
// message "Retry to connect", the port is closed and the result false. A baud-rate text
// that is no number and a port that cannot be opened raise PlatformError.
bool ComportOpenConnect(Session &session, int index, bool showMessages);

// Direct devices: NoneConnect; modem types: ATCommand.
bool ModemSettingOpen(Session &session, int index, bool showMessages);

// The direct probe: "#T" + LogID + " R" until "READ"; resent after 21 polls, given up
// after 501 polls of 100 ms.
bool NoneConnect(Session &session, int index);

// The modem's command until "OK" (resent after 21 polls, given up after 51), then the
// dial of its kind.
bool ATCommand(Session &session, int index, bool showMessages);

// The dial: CallCMD + ModemNo until "CONNECT", "ERROR" or "CARRIER" (polls of 500 ms, given
// up after 61). "CDMA - Connect Error" / "CDMA - Connect CARRIER" for the failures the
// modem reports (always shown); silence fails without a message.
bool CDMACallCMDConnect(Session &session, int index);

// The MRX-417 dial: as CDMACallCMDConnect, but any "NECT" succeeds (the modem may lose the
// first characters of CONNECT); "ERROR" or "NO" gives "LTE - Connect Error", else "RIER"
// gives "LTE - Connect CARRIER".
bool LTE_CommandConnect(Session &session, int index);

// Leaves the logger's folder and terminal mode, hangs up by the device's kind and clears
// Connect_flg (also when an error ends it early). Busy cursor meanwhile.
bool DISConnect(Session &session, int index, bool showMessages, bool closePort);

// Writes DiscntCMD as it is (no line end; TX log only), raises RTS and DTR with 100 ms
// pauses and closes the port; true when the port was open. Connect_flg is cleared.
bool ComportOpenDISConnect(Session &session, int index);

// DiscntCMD + CR LF, 100 ms, the escape sequence + CR LF (both again after 21 polls), then
// the wait for "CARRIER" or "ERROR" (given up after 101 polls); the port is closed after
// when closePort is set. Returns whether the modem confirmed the hang-up.
bool AT_DISConnect(Session &session, int index, bool showMessages, bool closePort);

// The escape sequence + CR LF until "CARRIER" or "ERROR" (resent after 21 polls, given up
// after 51); the port is closed after when closePort is set.
bool LTE_DISConnect(Session &session, int index, bool showMessages, bool closePort);

} // namespace kvl
