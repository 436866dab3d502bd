#include "cli/consolehooks.h"

#include <QTextStream>

#include <utility>

namespace kvl::cli {

void ConsoleOutput::line(const QString &text)
{
    m_stream << text << '\n';
    m_stream.flush();
}

QString oneLine(const QString &text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    out.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    out.replace(QLatin1Char('\r'), QStringLiteral("\\n"));
    return out;
}

ConsoleHooks::ConsoleHooks(ConsoleOutput &out, const ConsoleSettings &settings)
    : m_out(out), m_settings(settings)
{
}

void ConsoleHooks::setStatus(int panel, const QString &text)
{
    if (panel >= 0 && panel < int(m_panels.size())) {
        QString &shown = m_panels[size_t(panel)];
        if (m_skipUnchangedStatus && shown == text)
            return;
        shown = text;
    }
    if (m_settings.showStatus)
        m_out.line(QStringLiteral("status%1: %2").arg(panel).arg(oneLine(text)));
}

void ConsoleHooks::information(const QString &text)
{
    m_out.line(QStringLiteral("message: ") + oneLine(text));
}

bool ConsoleHooks::question(const QString &text)
{
    m_out.line(QStringLiteral("question: ") + oneLine(text));
    m_out.line(m_settings.answerYes ? QStringLiteral("answer: yes") : QStringLiteral("answer: no"));
    return m_settings.answerYes;
}

QString ConsoleHooks::takeNextPath()
{
    return std::exchange(m_nextPath, QString());
}

QString ConsoleHooks::pickFolder(const QString &, const QString &) { return takeNextPath(); }

QString ConsoleHooks::openFileName(const QString &, const QString &) { return takeNextPath(); }

QString ConsoleHooks::saveFileName(const QString &, const QString &, const QString &)
{
    return takeNextPath();
}

void ConsoleHooks::appendTx(const QString &) {}

void ConsoleHooks::appendRx(const QString &line)
{
    ++m_receivedCount;
    m_lastReceived = line;
    if (m_settings.showRx)
        m_out.line(QStringLiteral("rx: ") + oneLine(line));
}

void ConsoleHooks::setProgress(const QString &, int) {}

void ConsoleHooks::setBusy(bool) {}

} // namespace kvl::cli
