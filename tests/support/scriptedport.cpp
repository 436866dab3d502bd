#include "support/scriptedport.h"

#include "app/errorlog.h"

namespace kvl::test {

ScriptedPort::ScriptedPort(VirtualClock &clock) : m_clock(clock)
{
    m_clock.onAdvance([this](qint64 now) { deliverDue(now); });
}

void ScriptedPort::script(const QByteArray &command, QList<Reply> replies)
{
    m_script[command] = std::move(replies);
    m_used[command] = 0;
}

void ScriptedPort::deliverAt(qint64 tickMs, const QByteArray &bytes) { m_due.emplace(tickMs, bytes); }

void ScriptedPort::inject(const QByteArray &bytes)
{
    m_received += bytes;
    emit readyRead();
}

QList<QByteArray> ScriptedPort::sentLines() const
{
    QList<QByteArray> lines;
    for (QByteArray w : m_writes) {
        while (w.endsWith('\n') || w.endsWith('\r'))
            w.chop(1);
        lines << w;
    }
    return lines;
}

int ScriptedPort::writeCount(const QByteArray &command) const { return int(sentLines().count(command)); }

bool ScriptedPort::open()
{
    if (failOpen)
        return false;
    if (!m_open) {
        m_open = true;
        emit afterOpen();
    }
    return true;
}

void ScriptedPort::close()
{
    if (m_open) {
        m_open = false;
        emit afterClose();
    }
}

void ScriptedPort::write(const QByteArray &bytes)
{
    if (!m_open)
        throw kvl::PlatformError(QStringLiteral("Com port %1 is not open").arg(m_name));
    if (failWrite)
        throw kvl::PlatformError(QStringLiteral("Write error on %1").arg(m_name));
    m_writes << bytes;
    QByteArray line = bytes;
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    auto it = m_script.find(line);
    if (it == m_script.end() || it->isEmpty())
        return;
    int &used = m_used[line];
    const Reply &reply = it->at(qMin<qsizetype>(used, it->size() - 1));
    ++used;
    if (reply.bytes.isEmpty())
        return;
    const qint64 at = m_clock.tickMs() + reply.latencyMs;
    if (reply.chunk <= 0) {
        m_due.emplace(at, reply.bytes);
    } else {
        for (qsizetype i = 0; i < reply.bytes.size(); i += reply.chunk)
            m_due.emplace(at, reply.bytes.mid(i, reply.chunk));
    }
}

QByteArray ScriptedPort::readAll()
{
    QByteArray out;
    out.swap(m_received);
    return out;
}

void ScriptedPort::deliverDue(qint64 now)
{
    while (!m_due.empty() && m_due.begin()->first <= now) {
        const QByteArray bytes = m_due.begin()->second;
        m_due.erase(m_due.begin());
        if (!m_open)
            continue;
        m_received += bytes;
        emit readyRead(); // each piece is its own receive event
    }
}

} // namespace kvl::test
