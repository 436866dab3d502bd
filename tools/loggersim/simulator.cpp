#include "loggersim/simulator.h"

namespace loggersim {

Simulator::Simulator(const Scenario &scenario, LoggerFiles files, QObject *parent)
    : QObject(parent), m_logger(scenario, std::move(files))
{
    if (scenario.modem != Scenario::Modem::None)
        m_modem = std::make_unique<ModemModel>(scenario, m_logger);
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Simulator::sendDue);
}

Simulator::~Simulator() = default;

void Simulator::receive(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (c == '\n')
            continue;
        if (c != '\r') {
            m_partial += c;
            continue;
        }
        const QByteArray line = m_partial;
        m_partial.clear();
        if (line.isEmpty())
            continue;
        emit lineReceived(line);
        const Answer a = m_modem ? m_modem->answer(line) : m_logger.answer(line);
        ++m_counts[a.kind];
        emit countsChanged();
        schedule(a.replies);
    }
}

void Simulator::schedule(const QList<Reply> &replies)
{
    for (const Reply &r : replies) {
        const qint64 now = m_clock.elapsed();
        const qint64 due = qMax(now, m_lastDueMs) + r.delayMs;
        m_lastDueMs = due;
        if (m_pending.isEmpty() && due <= now)
            emit send(r.bytes);
        else
            m_pending.append({r.bytes, due});
    }
    if (!m_pending.isEmpty() && !m_timer.isActive())
        m_timer.start(int(qMax<qint64>(0, m_pending.first().dueMs - m_clock.elapsed())));
}

void Simulator::sendDue()
{
    while (!m_pending.isEmpty() && m_pending.first().dueMs <= m_clock.elapsed())
        emit send(m_pending.takeFirst().bytes);
    if (!m_pending.isEmpty())
        m_timer.start(int(qMax<qint64>(0, m_pending.first().dueMs - m_clock.elapsed())));
}

QString Simulator::countsText() const
{
    QString text;
    for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it)
        text += QStringLiteral("%1=%2\n").arg(it.key()).arg(it.value());
    return text;
}

} // namespace loggersim
