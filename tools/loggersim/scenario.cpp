#include "loggersim/scenario.h"

#include <QFile>
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

// The known keys. Later behaviours (modem type, lost carrier, files, ...) add a line here
// and a field in Scenario.
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
