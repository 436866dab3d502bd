#pragma once
// A modem in front of the simulated logger, chosen by the scenario (modem=at for the AT
// modems, modem=mrx417 for the MRX-417). It has two modes:
//
// Command mode (at start and after every hang-up). Characters before the first letter of
// a line are dropped, as a modem skips line noise until it sees "AT":
//   AT...               modem-at      "OK"
//   ATD<number>, ATDT<number>, ATDP<number>
//                       modem-dial    after dial_delay_ms: "CONNECT 9600" and data mode
//                                     (the MRX-417 loses the start of it: "NECT 115200");
//                                     or, by the scenario's dial=, "NO CARRIER", "ERROR"
//                                     or nothing
//   ATH...              modem-hangup  "OK"
//   anything else       modem-ignored nothing: no call, nothing reaches the logger
//
// Data mode (a call is up): every line goes to the logger, except
//   +++  and the escape bytes 29 43 43 43 27
//                       modem-escape  "NO CARRIER", back to command mode
//   ^]+++^[  (those seven characters)
//                       modem-escape  "OK", the call stays up (the modem takes the text
//                                     as a harmless command; only the escape bytes end it)
//   ATH...              modem-hangup  "NO CARRIER", back to command mode
// With carrier_loss_after=N the call drops once the logger has answered its N-th command:
// the modem is back in command mode at once and reports "NO CARRIER" 250 ms after that
// answer.

#include "loggersim/loggermodel.h"
#include "loggersim/scenario.h"

namespace loggersim {

class ModemModel {
public:
    ModemModel(const Scenario &scenario, LoggerModel &logger);

    Answer answer(const QByteArray &line);
    bool inCall() const { return m_inCall; }

private:
    Answer commandMode(const QByteArray &line);
    Answer dataMode(const QByteArray &line);
    QByteArray reply(const char *text) const;

    Scenario m_scenario;
    LoggerModel &m_logger;
    bool m_inCall = false;
    int m_commandsInCall = 0;
};

} // namespace loggersim
