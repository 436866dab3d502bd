#include "loggersim/modemmodel.h"

namespace loggersim {

namespace {

const QByteArray EscapeBytes("\x1d+++\x1b");
// A lost call is reported a little after the logger's last answer, so the exchange that
// waited for that answer still sees it (an exchange looks only at the newest line).
constexpr int CarrierLossReportMs = 250;
const QByteArray LiteralEscape("^]+++^[");

// The line from its first letter on: a modem in command mode skips what precedes "AT"
// (the tail of an escape sequence, a disconnect text written without line end).
QByteArray fromFirstLetter(const QByteArray &line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            return line.sliced(i);
    }
    return {};
}

bool isHangUp(const QByteArray &upper) { return upper.startsWith("ATH"); }

} // namespace

ModemModel::ModemModel(const Scenario &scenario, LoggerModel &logger) : m_scenario(scenario), m_logger(logger) {}

Answer ModemModel::answer(const QByteArray &line)
{
    return m_inCall ? dataMode(line) : commandMode(line);
}

Answer ModemModel::commandMode(const QByteArray &line)
{
    const QByteArray command = fromFirstLetter(line).trimmed().toUpper();
    if (!command.startsWith("AT"))
        return {QStringLiteral("modem-ignored"), {}};
    if (isHangUp(command))
        return {QStringLiteral("modem-hangup"), {{reply("OK"), 0}}};
    if (!command.startsWith("ATD"))
        return {QStringLiteral("modem-at"), {{reply("OK"), 0}}};

    Answer a{QStringLiteral("modem-dial"), {}};
    switch (m_scenario.dial) {
    case Scenario::Dial::Connect:
        m_inCall = true;
        m_commandsInCall = 0;
        // The MRX-417 switches its line over while it reports, losing the start of it.
        a.replies.append({reply(m_scenario.modem == Scenario::Modem::Mrx417 ? "NECT 115200" : "CONNECT 9600"),
                          m_scenario.dialDelayMs});
        break;
    case Scenario::Dial::NoCarrier:
        a.replies.append({reply("NO CARRIER"), m_scenario.dialDelayMs});
        break;
    case Scenario::Dial::Error:
        a.replies.append({reply("ERROR"), m_scenario.dialDelayMs});
        break;
    case Scenario::Dial::Silent:
        break;
    }
    return a;
}

Answer ModemModel::dataMode(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    if (trimmed == "+++" || trimmed == EscapeBytes) {
        m_inCall = false;
        return {QStringLiteral("modem-escape"), {{reply("NO CARRIER"), 0}}};
    }
    if (trimmed == LiteralEscape)
        return {QStringLiteral("modem-escape"), {{reply("OK"), 0}}};
    if (isHangUp(trimmed.toUpper())) {
        m_inCall = false;
        return {QStringLiteral("modem-hangup"), {{reply("NO CARRIER"), 0}}};
    }

    Answer a = m_logger.answer(line);
    ++m_commandsInCall;
    if (m_scenario.carrierLossAfter > 0 && m_commandsInCall >= m_scenario.carrierLossAfter) {
        m_inCall = false;
        a.replies.append({reply("NO CARRIER"), CarrierLossReportMs});
    }
    return a;
}

QByteArray ModemModel::reply(const char *text) const
{
    return QByteArray(text) + "\r\n";
}

} // namespace loggersim
