#pragma once
// The simulated logger's serial line: a pseudo-terminal. The program under test opens the
// slave side (/dev/pts/N) as it would open a serial port; the simulator reads and writes
// the master side.
//
// The line is raw (no echo, no CR/LF translation), and the simulator keeps a slave
// descriptor of its own open for its whole life: when the program closes its port and
// opens it again, the master never sees a hang-up and the line keeps its settings.

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace loggersim {

class PtyTransport : public QObject {
    Q_OBJECT
public:
    explicit PtyTransport(QObject *parent = nullptr);
    ~PtyTransport() override;

    // Opens the pair; false with the reason in *error.
    bool open(QString *error);
    QString slavePath() const { return m_slavePath; }

    // Queues bytes for the other side; what the line cannot take at once is sent as it
    // drains, in order.
    void write(const QByteArray &bytes);

signals:
    void received(const QByteArray &bytes);

private:
    void onReadable();
    void flushPending();
    void close();

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_pending;
};

} // namespace loggersim
