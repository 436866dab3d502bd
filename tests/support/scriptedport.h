#pragma once
// A serial port for unit tests: replies scripted per command, each after a latency on the
// virtual clock, optionally in small chunks; an empty reply is silence. Records every
// write and can fail on open or write.

#include "link/serialport.h"
#include "support/virtualclock.h"

#include <QByteArray>
#include <QList>
#include <QMap>

#include <map>

namespace kvl::test {

class ScriptedPort final : public kvl::SerialPort {
    Q_OBJECT
public:
    explicit ScriptedPort(VirtualClock &clock);

    struct Reply {
        QByteArray bytes;     // what the peer sends
        qint64 latencyMs = 0; // after the write
        int chunk = 0;        // deliver in pieces of this size (0: at once)
    };
    // Each time `command` (a whole line without CR LF) is written, the next reply of its
    // queue is scheduled; the last one is repeated. An empty bytes reply is silence.
    void script(const QByteArray &command, QList<Reply> replies);
    // Bytes that arrive at a given time, unasked.
    void deliverAt(qint64 tickMs, const QByteArray &bytes);
    // Bytes delivered now, as one receive event.
    void inject(const QByteArray &bytes);

    QList<QByteArray> writes() const { return m_writes; }
    QList<QByteArray> sentLines() const; // the writes without their line ends
    int writeCount(const QByteArray &command) const;

    bool failOpen = false;
    bool failWrite = false;

    QString portName() const override { return m_name; }
    void setPortName(const QString &displayName, const QString &) override { m_name = displayName; }
    qint32 baudRate() const override { return m_baud; }
    void setBaudRate(qint32 baud) override { m_baud = baud; }
    QSerialPort::Parity parity() const override { return m_parity; }
    void setParity(QSerialPort::Parity parity) override { m_parity = parity; }
    QSerialPort::StopBits stopBits() const override { return m_stopBits; }
    void setStopBits(QSerialPort::StopBits stopBits) override { m_stopBits = stopBits; }
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    void setRequestToSend(bool on) override { rts = on; }
    void setDataTerminalReady(bool on) override { dtr = on; }
    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    QString errorString() const override { return QStringLiteral("scripted failure"); }

    bool rts = false;
    bool dtr = false;

private:
    void deliverDue(qint64 now);

    VirtualClock &m_clock;
    QString m_name = QStringLiteral("COM1");
    qint32 m_baud = kvl::DefaultBaudRate;
    QSerialPort::Parity m_parity = QSerialPort::NoParity;
    QSerialPort::StopBits m_stopBits = QSerialPort::OneStop;
    bool m_open = false;
    QList<QByteArray> m_writes;
    QByteArray m_pendingLine;
    QMap<QByteArray, QList<Reply>> m_script;
    QMap<QByteArray, int> m_used;
    std::multimap<qint64, QByteArray> m_due; // equal times keep their order
    QByteArray m_received;
};

} // namespace kvl::test
