#pragma once
// The start that every button talking to the logger shares: without a link the user is
// told " Datalogger is Unconnected" and nothing is sent; while another operation runs the
// press is refused; otherwise the stop flags of an earlier Stop are cleared.

#include "app/session.h"

#include <optional>

namespace kvl {

// Shows " Datalogger is Unconnected" and returns false when the link is down.
bool loggerLinkUp(Session &session);

class LoggerButton {
public:
    explicit LoggerButton(Session &session, bool needsLink = true);
    LoggerButton(const LoggerButton &) = delete;
    LoggerButton &operator=(const LoggerButton &) = delete;
    // True when the press does nothing (no link, or another operation is running).
    bool refused() const { return !m_guard || m_guard->refused(); }

private:
    std::optional<OperationGuard> m_guard;
};

} // namespace kvl
