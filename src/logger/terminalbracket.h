#pragma once
// Download and program operations end by closing the logger's terminal mode, also when
// they end by an error. While the port is closed nothing can reach the logger, so then
// nothing is sent.

#include "app/session.h"
#include "link/serialport.h"
#include "logger/clockcommands.h"

#include <type_traits>
#include <utility>

namespace kvl {

// Runs body, then closes terminal mode of device `index` when closeWanted() holds, also
// when body raises. After an error the error itself goes on; a failing close is dropped
// then, since the first error is what the handler must report. Without a device (index
// -1) there is no logger to address.
template <typename Body, typename CloseWanted>
auto closingTerminalModeAfter(Session &session, int index, Body &&body, CloseWanted &&closeWanted)
{
    const auto close = [&] {
        if (index >= 0 && closeWanted())
            PROGRAM_COMMAND_Terminal_Mode_Close(session, index);
    };
    try {
        if constexpr (std::is_void_v<decltype(body())>) {
            std::forward<Body>(body)();
            close();
        } else {
            auto result = std::forward<Body>(body)();
            close();
            return result;
        }
    } catch (...) {
        try {
            close();
        } catch (...) {
        }
        throw;
    }
}

// The same, closing whenever the port is open: while it is closed nothing can reach the
// logger.
template <typename Body>
auto closingTerminalModeAfter(Session &session, int index, Body &&body)
{
    return closingTerminalModeAfter(session, index, std::forward<Body>(body),
                                    [&session] { return session.ComPort && session.ComPort->isOpen(); });
}

} // namespace kvl
