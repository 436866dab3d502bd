#pragma once
// Time as the core sees it: the PC clock, a millisecond tick count and the wait that keeps
// the program live. The real clock waits on the event queue; tests use a virtual clock so
// that a 50-poll give-up takes no real time.

#include <QDateTime>

namespace kvl {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual qint64 tickMs() const = 0;
    // Waits ms milliseconds while events (received bytes, timers, clicks) are handled;
    // returns at once when, or as soon as, stopFlag is set.
    virtual void delay(int ms, const bool &stopFlag) = 0;
};

// Waits by sleeping in the event loop until an event arrives or the deadline passes: a
// long wait costs next to no processor time, and the window, timers and receive events
// stay live meanwhile.
class EventLoopClock final : public Clock {
public:
    QDateTime now() const override;
    qint64 tickMs() const override;
    void delay(int ms, const bool &stopFlag) override;
};

} // namespace kvl
