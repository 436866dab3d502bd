#include "loggersim/ptytransport.h"

#include "loggersim/linespeed.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cmath>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace loggersim {

namespace {

constexpr double BitsPerByte = 10; // start bit, eight data bits, stop bit
constexpr double NsPerSecond = 1e9;
// A paced burst goes out in pieces of this many milliseconds of line time.
constexpr double PaceSliceMs = 5;

} // namespace

PtyTransport::PtyTransport(QObject *parent) : QObject(parent) {}

PtyTransport::~PtyTransport() { close(); }

bool PtyTransport::open(QString *error)
{
    const auto fail = [&](const char *step) {
        *error = QStringLiteral("%1: %2").arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno)));
        close();
        return false;
    };

    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::grantpt(m_master) != 0)
        return fail("grantpt");
    if (::unlockpt(m_master) != 0)
        return fail("unlockpt");
    const char *name = ::ptsname(m_master);
    if (!name)
        return fail("ptsname");
    m_slavePath = QString::fromLocal8Bit(name);

    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0)
        return fail("open slave");
    termios tio{};
    if (::tcgetattr(m_slave, &tio) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&tio);
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0)
        return fail("tcsetattr");

    const int flags = ::fcntl(m_master, F_GETFL);
    if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail("fcntl");

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyTransport::onReadable);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyTransport::drain);
    m_paceTimer = new QTimer(this);
    m_paceTimer->setSingleShot(true);
    m_paceTimer->setTimerType(Qt::PreciseTimer);
    connect(m_paceTimer, &QTimer::timeout, this, &PtyTransport::drain);
    m_clock.start();
    return true;
}

int PtyTransport::paceBitsPerSecond() const
{
    if (m_pace >= 0)
        return m_pace;
    return m_slave >= 0 ? lineBitsPerSecond(m_slave) : 0;
}

void PtyTransport::write(const QByteArray &bytes)
{
    if (bytes.isEmpty() || m_master < 0)
        return;
    const qint64 now = m_clock.nsecsElapsed();
    const double lineFreeNs =
        m_burstRate > 0 ? double(m_burstStartNs) + double(m_burstBytes) * BitsPerByte * NsPerSecond / m_burstRate : 0;
    if (m_pending.isEmpty() && double(now) >= lineFreeNs) {
        // The line is idle: a new burst, at the rate the line has now.
        m_burstRate = paceBitsPerSecond();
        m_burstStartNs = now;
        m_burstBytes = 0;
    }
    m_pending += bytes;
    drain();
}

void PtyTransport::drain()
{
    while (!m_pending.isEmpty()) {
        qint64 allowed = m_pending.size();
        if (m_burstRate > 0) {
            const double bytesPerNs = m_burstRate / BitsPerByte / NsPerSecond;
            const double elapsedNs = double(m_clock.nsecsElapsed() - m_burstStartNs);
            // The first byte of a burst leaves at once, each further one a byte time later.
            const qint64 due = qint64(elapsedNs * bytesPerNs) + 1 - m_burstBytes;
            allowed = qMin(allowed, due);
            if (allowed <= 0) {
                const qint64 slice =
                    qBound<qint64>(1, qint64(PaceSliceMs * 1e6 * bytesPerNs), m_pending.size());
                const double readyNs = double(m_burstBytes + slice - 1) / bytesPerNs;
                m_paceTimer->start(qMax(1, int(std::ceil((readyNs - elapsedNs) / 1e6))));
                m_writeNotifier->setEnabled(false);
                return;
            }
        }
        const ssize_t n = ::write(m_master, m_pending.constData(), size_t(allowed));
        if (n > 0) {
            m_pending.remove(0, n);
            m_burstBytes += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            m_pending.clear(); // the line is gone; nothing to deliver to
            break;
        }
        m_writeNotifier->setEnabled(true); // the line is full: go on when it drains
        return;
    }
    m_writeNotifier->setEnabled(false);
}

void PtyTransport::onReadable()
{
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN: drained. EIO cannot come while our own slave descriptor is open.
        break;
    }
    if (!bytes.isEmpty())
        emit received(bytes);
}

void PtyTransport::close()
{
    delete m_paceTimer;
    m_paceTimer = nullptr;
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_writeNotifier;
    m_writeNotifier = nullptr;
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}

} // namespace loggersim
