#include "loggersim/loggermodel.h"

#include <QRegularExpression>

namespace loggersim {

namespace {

// A command pattern: its kind (the counter's name), and how its line looks. The logger
// number sits right after the command letters, one or two characters as the PC stores it.
struct CommandPattern {
    const char *kind;
    QRegularExpression re;
};

const QList<CommandPattern> &commandPatterns()
{
    static const QList<CommandPattern> patterns{
        {"time-read", QRegularExpression(QStringLiteral("^#T(\\w{1,2}) R$"))},
        {"terminal-open", QRegularExpression(QStringLiteral("^#M(\\w{1,2}) T O$"))},
        {"terminal-close", QRegularExpression(QStringLiteral("^#M(\\w{1,2}) T C$"))},
    };
    return patterns;
}

} // namespace

LoggerModel::LoggerModel(const Scenario &scenario, QObject *parent)
    : QObject(parent), m_scenario(scenario), m_now([] { return QDateTime::currentDateTime(); })
{
}

QByteArray LoggerModel::receive(QByteArrayView bytes)
{
    QByteArray out;
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
        out += answer(line);
    }
    return out;
}

QByteArray LoggerModel::answer(const QByteArray &line)
{
    const QString text = QString::fromLatin1(line).trimmed();
    QString kind = QStringLiteral("unknown");
    QString id;
    for (const CommandPattern &p : commandPatterns()) {
        const auto m = p.re.match(text);
        if (m.hasMatch()) {
            kind = QLatin1String(p.kind);
            id = m.captured(1);
            break;
        }
    }
    ++m_counts[kind];
    emit countsChanged();

    if (m_scenario.silent)
        return {};
    if (kind == u"unknown")
        return replyLine(QStringLiteral("ERROR"));
    if (!addressedToMe(id))
        return {};
    if (kind == u"time-read") {
        // "Time Read " is ten characters: the year is characters 11-12 of the line.
        const QDateTime now = m_now();
        return replyLine(QStringLiteral("Time Read %1/%2")
                             .arg(m_scenario.year, now.toString(QStringLiteral("MM/dd hh:mm:ss"))));
    }
    if (kind == u"terminal-open")
        return replyLine(QStringLiteral("Terminal mode open"));
    if (kind == u"terminal-close")
        return replyLine(QStringLiteral("Terminal mode UNCONNECTED"));
    return {};
}

bool LoggerModel::addressedToMe(const QString &id) const
{
    return m_scenario.logId.isEmpty() || id.compare(m_scenario.logId, Qt::CaseInsensitive) == 0;
}

QByteArray LoggerModel::replyLine(const QString &text)
{
    return text.toLatin1() + "\r\n";
}

QString LoggerModel::countsText() const
{
    QString text;
    for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it)
        text += QStringLiteral("%1=%2\n").arg(it.key()).arg(it.value());
    return text;
}

} // namespace loggersim
