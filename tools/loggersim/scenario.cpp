#include "loggersim/scenario.h"

#include <QFile>
#include <QPair>
#include <QRegularExpression>

#include <functional>

namespace loggersim {

namespace {

bool parseFlag(const QString &value, bool *out)
{
    const QString v = value.toLower();
    if (v == u"1" || v == u"yes" || v == u"true" || v == u"on") {
        *out = true;
        return true;
    }
    if (v == u"0" || v == u"no" || v == u"false" || v == u"off") {
        *out = false;
        return true;
    }
    return false;
}

using Setter = std::function<bool(Scenario &, const QString &)>;

struct KeyEntry {
    const char *key;
    const char *expects; // said in the error when the value does not fit
    Setter apply;
};

bool parseCount(const QString &value, int min, int *out)
{
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || n < min)
        return false;
    *out = n;
    return true;
}

template <typename Enum>
bool parseChoice(const QString &value, const QList<QPair<const char *, Enum>> &choices, Enum *out)
{
    for (const auto &choice : choices) {
        if (value.compare(QLatin1String(choice.first), Qt::CaseInsensitive) == 0) {
            *out = choice.second;
            return true;
        }
    }
    return false;
}

// The known keys. A new behaviour adds a line here and a field in Scenario.
const QList<KeyEntry> &keyTable()
{
    static const QList<KeyEntry> table{
        {"silent", "0 or 1", [](Scenario &s, const QString &v) { return parseFlag(v, &s.silent); }},
        {"logid", "a logger number of one or two letters or digits, or empty",
         [](Scenario &s, const QString &v) {
             static const QRegularExpression re(QStringLiteral("^[0-9A-Za-z]{0,2}$"));
             if (!re.match(v).hasMatch())
                 return false;
             s.logId = v;
             return true;
         }},
        {"year", "two digits", [](Scenario &s, const QString &v) {
             static const QRegularExpression re(QStringLiteral("^[0-9]{2}$"));
             if (!re.match(v).hasMatch())
                 return false;
             s.year = v;
             return true;
         }},
        {"files", "a folder", [](Scenario &s, const QString &v) {
             s.files = v;
             return !v.isEmpty();
         }},
        {"data_lines", "a number of lines, 1 or more",
         [](Scenario &s, const QString &v) { return parseCount(v, 1, &s.dataLines); }},
        {"cut_file_at", "a number of bytes, 0 or more",
         [](Scenario &s, const QString &v) { return parseCount(v, 0, &s.cutFileAt); }},
        {"fputs_error_at", "a line number, 1 or more (0: never)",
         [](Scenario &s, const QString &v) { return parseCount(v, 0, &s.fputsErrorAt); }},
        {"measure_scale", "a factor, 0 or more", [](Scenario &s, const QString &v) {
             bool ok = false;
             const double f = v.toDouble(&ok);
             if (!ok || f < 0)
                 return false;
             s.measureScale = f;
             return true;
         }},
        {"baud", "auto or -1 (the line's rate), 0 (unpaced) or bits per second", [](Scenario &s, const QString &v) {
             if (v.compare(u"auto", Qt::CaseInsensitive) == 0) {
                 s.baud = -1;
                 return true;
             }
             return parseCount(v, -1, &s.baud);
         }},
        {"modem", "none, at or mrx417", [](Scenario &s, const QString &v) {
             return parseChoice<Scenario::Modem>(
                 v, {{"none", Scenario::Modem::None}, {"at", Scenario::Modem::At}, {"mrx417", Scenario::Modem::Mrx417}},
                 &s.modem);
         }},
        {"dial", "connect, nocarrier, error or silent", [](Scenario &s, const QString &v) {
             return parseChoice<Scenario::Dial>(v,
                                                {{"connect", Scenario::Dial::Connect},
                                                 {"nocarrier", Scenario::Dial::NoCarrier},
                                                 {"error", Scenario::Dial::Error},
                                                 {"silent", Scenario::Dial::Silent}},
                                                &s.dial);
         }},
        {"dial_delay_ms", "milliseconds, 0 or more",
         [](Scenario &s, const QString &v) { return parseCount(v, 0, &s.dialDelayMs); }},
        {"carrier_loss_after", "a number of logger commands (0: never)",
         [](Scenario &s, const QString &v) { return parseCount(v, 0, &s.carrierLossAfter); }},
    };
    return table;
}

} // namespace

QStringList Scenario::knownKeys()
{
    QStringList keys;
    for (const KeyEntry &e : keyTable())
        keys << QLatin1String(e.key);
    return keys;
}

bool Scenario::set(const QString &key, const QString &value, QString *error)
{
    for (const KeyEntry &e : keyTable()) {
        if (key.compare(QLatin1String(e.key), Qt::CaseInsensitive) != 0)
            continue;
        if (e.apply(*this, value))
            return true;
        *error = QStringLiteral("%1=%2: expected %3").arg(key, value, QLatin1String(e.expects));
        return false;
    }
    *error = QStringLiteral("unknown key \"%1\" (known: %2)").arg(key, knownKeys().join(u", "));
    return false;
}

bool Scenario::load(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("%1: %2").arg(fileName, file.errorString());
        return false;
    }
    int lineNo = 0;
    while (!file.atEnd()) {
        ++lineNo;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        QString why;
        if (eq <= 0)
            why = QStringLiteral("expected key=value");
        else if (set(line.first(eq).trimmed(), line.sliced(eq + 1).trimmed(), &why))
            continue;
        *error = QStringLiteral("%1:%2: %3").arg(fileName).arg(lineNo).arg(why);
        return false;
    }
    return true;
}

} // namespace loggersim
