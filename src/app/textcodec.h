#pragma once
// The one codec for every conversion between the system's ANSI code page and text: the
// short strings of the stored records, the text files and the serial traffic.

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

namespace kvl {

class AnsiCodec {
public:
    // The process-wide codec: KVL520_CODEPAGE when set (a number such as 949 or 1252, or
    // a name such as CP949), else the code page Windows uses for the user's locale.
    static const AnsiCodec &instance();
    // A codec for a given code page (number or name); falls back to 1252 when unknown.
    explicit AnsiCodec(const QString &codePage);

    QString name() const { return m_name; }
    QString decode(const QByteArray &bytes) const;
    QByteArray encode(const QString &text) const;
    // The encoded text cut to at most maxBytes bytes, never inside a double-byte character.
    QByteArray encodeCut(const QString &text, int maxBytes) const;

    // A decoder that keeps a double-byte character split across two reads.
    QStringDecoder streamDecoder() const;

    // The code page Windows would choose for a locale name such as "ko_KR".
    static QString codePageForLocale(const QString &localeName);

private:
    QString m_name;
};

} // namespace kvl
