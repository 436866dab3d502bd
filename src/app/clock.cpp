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
    const QDeadlineTimer deadline(ms > 0 ? ms : 0, Qt::PreciseTimer);
    // The wake timer ends the sleep at the deadline when nothing else happens. It is
    // started again for the time still left whenever it has fired early or another event
    // ended the sleep, so the loop never sleeps past the deadline without a timer pending.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (!stopFlag) {
        const qint64 left = deadline.remainingTime(); // whole milliseconds, rounded up
        if (left <= 0)
            break;
        if (!wake.isActive())
            wake.start(static_cast<int>(left));
        // Sleeps until at least one event (the wake timer at the latest) has been handled;
        // a Stop click handled here sets stopFlag and ends the wait at once.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    QCoreApplication::processEvents();
}

} // namespace kvl
