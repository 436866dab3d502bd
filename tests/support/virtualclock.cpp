#include "support/virtualclock.h"

namespace kvl::test {

void VirtualClock::delay(int ms, const bool &stopFlag)
{
    ++m_delays;
    for (auto &hook : m_delayHooks)
        hook(m_delays);
    if (stopFlag)
        return;
    advance(ms);
}

void VirtualClock::advance(qint64 ms)
{
    m_tick += ms;
    for (auto &listener : m_listeners)
        listener(m_tick);
}

} // namespace kvl::test
