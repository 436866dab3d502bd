#include "logger/loggerbutton.h"

namespace kvl {

bool loggerLinkUp(Session &session)
{
    if (session.Connect_flg)
        return true;
    session.message(QStringLiteral(" Datalogger is Unconnected"));
    return false;
}

LoggerButton::LoggerButton(Session &session, bool needsLink)
{
    if (needsLink && !loggerLinkUp(session))
        return;
    m_guard.emplace(session);
    // Cleared only once the press is accepted, so a refused press cannot end the stop of
    // the operation that is running.
    if (!m_guard->refused())
        session.Start_flg();
}

} // namespace kvl
