#pragma once
// The simulated logger's serial line: a pseudo-terminal. The program under test opens the
// slave side (/dev/pts/N) as it would open a serial port; the simulator reads and writes
// the master side.
//
// The line is raw (no echo, no CR/LF translation), and the simulator keeps a slave
// descriptor of its own open for its whole life: when the program closes its port and
// opens it again, the master never sees a hang-up and the line keeps its settings.
//
// Replies are paced as a serial line would carry them: ten bits a byte at the rate the
// program set on the line (QSerialPort sets it on the slave side, where it is kept), or at
// a rate of the scenario's choosing.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

namespace loggersim {

class PtyTransport : public QObject {
    Q_OBJECT
public:
    explicit PtyTransport(QObject *parent = nullptr);
    ~PtyTransport() override;

    // Opens the pair; false with the reason in *error.
    bool open(QString *error);
    QString slavePath() const { return m_slavePath; }

    // Queues bytes for the other side; they leave in order, at the line's pace.
    void write(const QByteArray &bytes);

    // -1: the rate the program set on the line (the default); 0: at once, unpaced;
    // otherwise this many bits per second.
    void setPace(int bitsPerSecond) { m_pace = bitsPerSecond; }
    // The rate the next reply will be paced at; 0 for unpaced.
    int paceBitsPerSecond() const;

signals:
    void received(const QByteArray &bytes);

private:
    void onReadable();
    void drain();
    void close();

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_pending;

    // The running burst: bytes sent back to back since it started, at its rate.
    int m_pace = -1;
    QElapsedTimer m_clock;
    qint64 m_burstStartNs = 0;
    qint64 m_burstBytes = 0;
    int m_burstRate = 0;
    QTimer *m_paceTimer = nullptr;
};

} // namespace loggersim
