#pragma once
// Download and program operations end by closing the logger's terminal mode, also when
// they end by an error. While the port is closed nothing can reach the logger, so then
// nothing is sent.

#include "app/session.h"
#include "link/serialport.h"
#include "logger/clockcommands.h"

#include <utility>

namespace kvl {

inline void closeTerminalModeIfPortOpen(Session &session, int index)
{
    if (index >= 0 && session.ComPort && session.ComPort->isOpen())
        PROGRAM_COMMAND_Terminal_Mode_Close(session, index);
}

// Runs body, then closes terminal mode. When body raises, the close is still tried (a
// second error from it is dropped: the first one is what the handler must report) and
// the first error goes on.
template <typename Body>
bool closingTerminalModeAfter(Session &session, int index, Body &&body)
{
    bool result = false;
    try {
        result = std::forward<Body>(body)();
    } catch (...) {
        try {
            closeTerminalModeIfPortOpen(session, index);
        } catch (...) {
        }
        throw;
    }
    closeTerminalModeIfPortOpen(session, index);
    return result;
}

} // namespace kvl
