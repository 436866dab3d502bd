#include "app/textcodec.h"

#include <QLocale>
#include <QStringEncoder>

namespace kvl {

namespace {

QString nameForCodePage(const QString &codePage)
{
    bool numeric = false;
    const int number = codePage.toInt(&numeric);
    if (!numeric)
        return codePage;
    switch (number) {
    case 949: return QStringLiteral("CP949");
    case 932: return QStringLiteral("Shift_JIS");
    case 936: return QStringLiteral("GBK");
    case 950: return QStringLiteral("Big5");
    case 874: return QStringLiteral("windows-874");
    default: return QStringLiteral("windows-%1").arg(number);
    }
}

bool usable(const QString &name)
{
    return QStringEncoder(name.toLatin1().constData()).isValid()
        && QStringDecoder(name.toLatin1().constData()).isValid();
}

} // namespace

QString AnsiCodec::codePageForLocale(const QString &localeName)
{
    const QString lang = localeName.section(QLatin1Char('_'), 0, 0).toLower();
    const QString territory = localeName.section(QLatin1Char('_'), 1, 1).section(QLatin1Char('.'), 0, 0).toUpper();
    if (lang == u"ko") return QStringLiteral("949");
    if (lang == u"ja") return QStringLiteral("932");
    if (lang == u"zh")
        return (territory == u"TW" || territory == u"HK" || territory == u"MO") ? QStringLiteral("950")
                                                                                  : QStringLiteral("936");
    static const char *const cyrillic[] = {"ru", "uk", "be", "bg", "sr", "mk", "kk", "ky", "tt", "mn"};
    for (const char *l : cyrillic)
        if (lang == QLatin1String(l)) return QStringLiteral("1251");
    static const char *const central[] = {"pl", "cs", "sk", "hu", "hr", "sl", "ro", "sq", "bs"};
    for (const char *l : central)
        if (lang == QLatin1String(l)) return QStringLiteral("1250");
    if (lang == u"el") return QStringLiteral("1253");
    if (lang == u"tr" || lang == u"az") return QStringLiteral("1254");
    if (lang == u"he") return QStringLiteral("1255");
    if (lang == u"ar" || lang == u"fa" || lang == u"ur") return QStringLiteral("1256");
    if (lang == u"et" || lang == u"lv" || lang == u"lt") return QStringLiteral("1257");
    if (lang == u"vi") return QStringLiteral("1258");
    if (lang == u"th") return QStringLiteral("874");
    return QStringLiteral("1252");
}

const AnsiCodec &AnsiCodec::instance()
{
    static const AnsiCodec codec([] {
        const QString forced = qEnvironmentVariable("KVL520_CODEPAGE");
        if (!forced.isEmpty())
            return forced;
        return codePageForLocale(QLocale::system().name());
    }());
    return codec;
}

AnsiCodec::AnsiCodec(const QString &codePage)
    : m_name(nameForCodePage(codePage.trimmed()))
{
    if (!usable(m_name))
        m_name = QStringLiteral("windows-1252");
}

QString AnsiCodec::decode(const QByteArray &bytes) const
{
    QStringDecoder decoder(m_name.toLatin1().constData());
    return decoder.decode(bytes);
}

QByteArray AnsiCodec::encode(const QString &text) const
{
    QStringEncoder encoder(m_name.toLatin1().constData());
    return encoder.encode(text);
}

QByteArray AnsiCodec::encodeCut(const QString &text, int maxBytes) const
{
    QByteArray all = encode(text);
    if (all.size() <= maxBytes)
        return all;
    // Walk whole characters so a double-byte character is never split.
    QStringEncoder encoder(m_name.toLatin1().constData());
    QByteArray cut;
    for (int i = 0; i < text.size();) {
        const int len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QByteArray piece = encoder.encode(QStringView(text).mid(i, len));
        if (cut.size() + piece.size() > maxBytes)
            break;
        cut += piece;
        i += len;
    }
    return cut;
}

QStringDecoder AnsiCodec::streamDecoder() const
{
    return QStringDecoder(m_name.toLatin1().constData());
}

} // namespace kvl
