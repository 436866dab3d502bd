#include "app/clock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTimer>

namespace kvl {

QDateTime EventLoopClock::now() const { return QDateTime::currentDateTime(); }

qint64 EventLoopClock::tickMs() const
{
    static QElapsedTimer started = [] { QElapsedTimer t; t.start(); return t; }();
    return started.elapsed();
}

void EventLoopClock::delay(int ms, const bool &stopFlag)
{
    QDeadlineTimer deadline(ms > 0 ? ms : 0, Qt::PreciseTimer);
    // The timer wakes the sleeping loop at the deadline when nothing else happens.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(ms > 0 ? ms : 0);
    while (!stopFlag && !deadline.hasExpired()) {
        // Sleeps until at least one event (the wake timer at the latest) has been handled.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    QCoreApplication::processEvents();
}

} // namespace kvl
