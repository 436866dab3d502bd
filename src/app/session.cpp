#include "app/session.h"

namespace kvl {

Session::Session(Clock *clock, QObject *parent)
    : QObject(parent), m_clock(clock ? clock : &m_realClock)
{
}

Session::~Session() = default;

void Session::setClock(Clock *clock) { m_clock = clock ? clock : &m_realClock; }

void Session::attachTrafficLog(TrafficLog *log)
{
    TfmLog = log;
    LogMessage_flg = log != nullptr;
}

void Session::detachTrafficLog(TrafficLog *log)
{
    if (TfmLog == log) {
        TfmLog = nullptr;
        LogMessage_flg = false;
    }
}

void Session::Stop_flg()
{
    delay_stop_flg = true;
    Stop_Flag = true;
    m_busy->setBusy(false);
}

void Session::Start_flg()
{
    delay_stop_flg = false;
    Stop_Flag = false;
}

void Session::refreshNowYear()
{
    NowYear = m_clock->now().toString(QStringLiteral("yy MM dd hh mm")).left(2);
}

void Session::delay(int ms) { m_clock->delay(ms, delay_stop_flg); }

OperationGuard::OperationGuard(Session &session)
    : m_session(session), m_refused(session.m_operationDepth > 0)
{
    if (m_refused)
        m_session.status(4, QStringLiteral("Busy - another operation is running (press Stop to end it)."));
    else
        ++m_session.m_operationDepth;
}

OperationGuard::~OperationGuard()
{
    if (!m_refused)
        --m_session.m_operationDepth;
}

} // namespace kvl
