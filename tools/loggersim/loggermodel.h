#pragma once
// The simulated logger itself, apart from any transport: it takes the bytes the PC sends,
// cuts them into command lines (a line ends at CR, LF is ignored), counts each command by
// kind and produces the reply bytes. The pseudo-terminal in PtyTransport only carries
// them.
//
// Replies are lines ended by CR LF:
//   #T<id> R     -> "Time Read yy/MM/dd hh:mm:ss"  (year at characters 11-12, the
//                   scenario's year, 08 unless changed)
//   #M<id> T O   -> "Terminal mode open"
//   #M<id> T C   -> "Terminal mode UNCONNECTED"
//   anything else-> "ERROR"
// A command addressed to another logger number than the scenario's is counted but not
// answered, as a logger on a shared line keeps quiet for other numbers.

#include "loggersim/scenario.h"

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QObject>

#include <functional>

namespace loggersim {

class LoggerModel : public QObject {
    Q_OBJECT
public:
    explicit LoggerModel(const Scenario &scenario, QObject *parent = nullptr);

    // The logger's clock; the PC clock unless a test sets another.
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }

    // Feeds received bytes; returns what the logger sends back (possibly nothing).
    QByteArray receive(QByteArrayView bytes);

    // Commands received so far, by kind ("time-read", "terminal-open", "terminal-close",
    // "unknown").
    const QMap<QString, int> &counts() const { return m_counts; }
    QString countsText() const; // "kind=n" lines, sorted by kind

signals:
    // Every complete line as received (without its CR), before it is answered.
    void lineReceived(const QByteArray &line);
    void countsChanged();

private:
    QByteArray answer(const QByteArray &line);
    bool addressedToMe(const QString &id) const;
    static QByteArray replyLine(const QString &text);

    Scenario m_scenario;
    std::function<QDateTime()> m_now;
    QByteArray m_partial;
    QMap<QString, int> m_counts;
};

} // namespace loggersim
