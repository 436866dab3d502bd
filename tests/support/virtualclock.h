#pragma once
// A clock for unit tests: time passes only while the code under test waits, and every
// wait first lets the scripted port deliver what is due by its end.

#include "app/clock.h"

#include <QDateTime>
#include <functional>
#include <vector>

namespace kvl::test {

class VirtualClock final : public kvl::Clock {
public:
    explicit VirtualClock(QDateTime start = QDateTime(QDate(2024, 5, 12), QTime(10, 30, 5)))
        : m_start(std::move(start)) {}

    QDateTime now() const override { return m_start.addMSecs(m_tick); }
    qint64 tickMs() const override { return m_tick; }
    void delay(int ms, const bool &stopFlag) override;

    // Called with the new time during each wait (a scripted port delivers its replies).
    void onAdvance(std::function<void(qint64)> listener) { m_listeners.push_back(std::move(listener)); }
    // Called once per wait before time moves (a test can press Stop there).
    void onDelay(std::function<void(int)> hook) { m_delayHooks.push_back(std::move(hook)); }
    void advance(qint64 ms);

    int delayCount() const { return m_delays; }

private:
    QDateTime m_start;
    qint64 m_tick = 0;
    int m_delays = 0;
    std::vector<std::function<void(qint64)>> m_listeners;
    std::vector<std::function<void(int)>> m_delayHooks;
};

} // namespace kvl::test
