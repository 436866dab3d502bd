#include "loggersim/loggermodel.h"

#include <QRegularExpression>

namespace loggersim {

namespace {

enum class Command {
    TimeRead, TimeSet, Reset, TerminalOpen, TerminalClose, ModeT,
    Cd, Dir, Fsize, Fread, Del, Fcreate, Fputs, Measure, Unknown
};

// A command pattern: its kind (the counter's name) and how its line looks. The logger
// number sits right after the command letters, one or two characters as the PC stores it.
// For the id commands the number is the first capture.
struct CommandPattern {
    Command command;
    const char *kind;
    QRegularExpression re;
    bool addressed;
};

QRegularExpression pattern(const char *re)
{
    return QRegularExpression(QLatin1String(re), QRegularExpression::CaseInsensitiveOption);
}

const QList<CommandPattern> &commandPatterns()
{
    static const QList<CommandPattern> patterns{
        {Command::TimeRead, "time-read", pattern("^\\s*#T(\\w{1,2}) R;?\\s*$"), true},
        {Command::TimeSet, "time-set",
         pattern("^\\s*#T(\\w{1,2}) W (\\d\\d) (\\d\\d) (\\d\\d) (\\d\\d) (\\d\\d)\\s*$"), true},
        {Command::Reset, "reset", pattern("^\\s*#RESET(\\w{1,2})\\s*$"), true},
        {Command::TerminalOpen, "terminal-open", pattern("^\\s*#M(\\w{1,2}) T O\\s*$"), true},
        {Command::TerminalClose, "terminal-close", pattern("^\\s*#M(\\w{1,2}) T C\\s*$"), true},
        {Command::ModeT, "mode-t", pattern("^\\s*mode /t\\s*$"), false},
        {Command::Cd, "cd", pattern("^\\s*CD(?:\\s+(.*?))?\\s*$"), false},
        {Command::Dir, "dir", pattern("^\\s*dir\\s*$"), false},
        {Command::Fsize, "fsize", pattern("^\\s*FSIZE\\s+(\\S.*?)\\s*$"), false},
        {Command::Fread, "fread", pattern("^\\s*fread\\s+(\\S.*?)\\s*$"), false},
        {Command::Del, "del", pattern("^\\s*DEL\\s+(\\S.*?)\\s*$"), false},
        {Command::Fcreate, "fcreate", pattern("^\\s*FCreate\\s+(\\S.*?)\\s*$"), false},
        // The text is everything after "/a " as sent, blanks included; an empty program
        // line arrives as "/a " or, trimmed on the way, "/a".
        {Command::Fputs, "fputs", pattern("^\\s*Fputs\\s+(\\S+)\\s+/a(?: (.*))?$"), false},
        // Channel lines of a program: logger channel "#R011", multiplexer channel "#S12A",
        // 3DS sensor "#C101", then their fields.
        {Command::Measure, "measure", pattern("^\\s*#([RSC][0-9A-Z]{3})(?:\\s+(.*))?$"), false},
    };
    return patterns;
}

const QByteArray CrLf = QByteArrayLiteral("\r\n");

// The delay token of a channel line, in seconds: the field "2S" or "2S;".
int measurementDelaySecs(const QString &fields)
{
    static const QRegularExpression token(QStringLiteral("^(\\d+)S;?$"), QRegularExpression::CaseInsensitiveOption);
    int seconds = 0;
    for (const QString &field : fields.split(u' ', Qt::SkipEmptyParts)) {
        const auto m = token.match(field);
        if (m.hasMatch())
            seconds = m.captured(1).toInt();
    }
    return seconds;
}

} // namespace

LoggerModel::LoggerModel(const Scenario &scenario, LoggerFiles files)
    : m_scenario(scenario), m_files(std::move(files)), m_now([] { return QDateTime::currentDateTime(); })
{
}

Answer LoggerModel::answer(const QByteArray &line)
{
    const QString text = QString::fromLatin1(line);
    Command command = Command::Unknown;
    QString kind = QStringLiteral("unknown");
    QRegularExpressionMatch m;
    bool addressed = false;
    for (const CommandPattern &p : commandPatterns()) {
        m = p.re.match(text);
        if (m.hasMatch()) {
            command = p.command;
            kind = QLatin1String(p.kind);
            addressed = p.addressed;
            break;
        }
    }
    Answer a{kind, {}};
    if (m_scenario.silent)
        return a;
    if (addressed && !addressedToMe(m.captured(1)))
        return a;

    const auto say = [&a, this](const QString &t) { a.replies.append({reply(t), 0}); };
    const auto okOrError = [&say](bool ok) { say(ok ? QStringLiteral("OK") : QStringLiteral("ERROR")); };
    switch (command) {
    case Command::TimeRead:
        // "Time Read " is ten characters: the year is characters 11-12 of the line.
        say(QStringLiteral("Time Read %1/%2")
                .arg(m_scenario.year, loggerClock().toString(QStringLiteral("MM/dd hh:mm:ss"))));
        break;
    case Command::TimeSet: {
        const QDateTime target(QDate(2000 + m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt()),
                               QTime(m.captured(5).toInt(), m.captured(6).toInt()));
        if (!target.isValid()) {
            say(QStringLiteral("ERROR"));
            break;
        }
        m_clockOffsetSecs = m_now().secsTo(target);
        // "Time Set " is nine characters: the year is characters 10-11 of the line.
        say(QStringLiteral("Time Set %1/%2").arg(m_scenario.year, target.toString(QStringLiteral("MM/dd hh:mm"))));
        break;
    }
    case Command::Reset:
        say(QStringLiteral("RESET OK"));
        break;
    case Command::TerminalOpen:
        say(QStringLiteral("Terminal mode open"));
        break;
    case Command::TerminalClose:
        say(QStringLiteral("Terminal mode UNCONNECTED"));
        break;
    case Command::ModeT:
        say(QStringLiteral("Text mode FULL"));
        break;
    case Command::Cd:
        if (!m.captured(1).isEmpty() && !m_files.changeFolder(m.captured(1)))
            say(QStringLiteral("ERROR"));
        else if (m_files.currentFolder() == u"\\")
            say(QStringLiteral("ROOT"));
        else
            say(m_files.currentFolder());
        break;
    case Command::Dir: {
        // One piece, so the whole listing follows its first entry at the line's pace.
        QByteArray listing;
        for (const QByteArray &entry : m_files.listing())
            listing += entry + CrLf;
        a.replies.append({listing, 0});
        break;
    }
    case Command::Fsize:
        if (const QByteArray *bytes = m_files.file(m.captured(1)))
            say(QStringLiteral("SZ %1").arg(bytes->size()));
        else
            say(QStringLiteral("ERROR"));
        break;
    case Command::Fread:
        if (const QByteArray *bytes = m_files.file(m.captured(1)))
            a.replies.append({m_scenario.cutFileAt >= 0 ? bytes->first(qMin(bytes->size(), qsizetype(m_scenario.cutFileAt)))
                                                        : *bytes,
                              0});
        else
            say(QStringLiteral("ERROR"));
        break;
    case Command::Del:
        okOrError(m_files.remove(m.captured(1)));
        break;
    case Command::Fcreate:
        okOrError(m_files.create(m.captured(1)));
        break;
    case Command::Fputs:
        ++m_fputsSeen;
        if (m_fputsSeen == m_scenario.fputsErrorAt)
            say(QStringLiteral("ERROR"));
        else
            okOrError(m_files.append(m.captured(1), m.captured(2).toLatin1() + CrLf));
        break;
    case Command::Measure: {
        const QString address = m.captured(1).toUpper();
        const int seconds = measurementDelaySecs(m.captured(2));
        int seed = 0;
        for (const QChar c : address)
            seed = seed * 31 + c.unicode();
        const double value = double(seed % 20000) / 1000.0 - 10.0;
        a.replies.append({reply(address + (value >= 0 ? QStringLiteral(" +") : QStringLiteral(" "))
                                + QString::number(value, 'f', 3)),
                          int(seconds * 1000 * m_scenario.measureScale)});
        break;
    }
    case Command::Unknown:
        say(QStringLiteral("ERROR"));
        break;
    }
    return a;
}

bool LoggerModel::addressedToMe(const QString &id) const
{
    return m_scenario.logId.isEmpty() || id.compare(m_scenario.logId, Qt::CaseInsensitive) == 0;
}

QDateTime LoggerModel::loggerClock() const
{
    return m_now().addSecs(m_clockOffsetSecs);
}

QByteArray LoggerModel::reply(const QString &text) const
{
    return text.toLatin1() + CrLf;
}

} // namespace loggersim
