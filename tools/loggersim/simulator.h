#pragma once
// What sits on the simulator's end of the serial line: the logger, with a modem in front
// of it when the scenario chooses one. It takes the bytes the PC sends, cuts them into
// command lines (a line ends at CR; LF is ignored), hands each line to the modem or the
// logger, counts it by kind and sends the replies in order, each piece after its delay.
// The pseudo-terminal in PtyTransport only carries the bytes.

#include "loggersim/loggermodel.h"
#include "loggersim/modemmodel.h"
#include "loggersim/scenario.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMap>
#include <QObject>
#include <QTimer>

#include <memory>

namespace loggersim {

class Simulator : public QObject {
    Q_OBJECT
public:
    Simulator(const Scenario &scenario, LoggerFiles files, QObject *parent = nullptr);
    ~Simulator() override;

    // Feeds received bytes; replies come out through send().
    void receive(QByteArrayView bytes);

    LoggerModel &logger() { return m_logger; }

    // Lines received so far, by kind ("time-read", "fread", "modem-dial", "unknown", ...;
    // see LoggerModel and ModemModel).
    const QMap<QString, int> &counts() const { return m_counts; }
    QString countsText() const; // "kind=n" lines, sorted by kind

signals:
    // Every complete line as received (without its CR), before it is answered.
    void lineReceived(const QByteArray &line);
    void countsChanged();
    // Reply bytes for the line.
    void send(const QByteArray &bytes);

private:
    struct Pending {
        QByteArray bytes;
        qint64 dueMs;
    };
    void schedule(const QList<Reply> &replies);
    void sendDue();

    LoggerModel m_logger;
    std::unique_ptr<ModemModel> m_modem;
    QByteArray m_partial;
    QMap<QString, int> m_counts;

    // Replies wait here for their delays; a later reply never overtakes an earlier one.
    QList<Pending> m_pending;
    qint64 m_lastDueMs = 0;
    QElapsedTimer m_clock;
    QTimer m_timer;
};

} // namespace loggersim
