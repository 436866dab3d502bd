#include "link/receiveframing.h"

#include "app/session.h"
#include "app/textcodec.h"

#include <QStringMatcher>

namespace kvl {

QString rewriteYear(const QString &line, const QString &nowYear)
{
    // Without a known year (NowYear is set when the program starts) the line is kept as
    // received rather than losing two characters of its date.
    if (nowYear.size() != 2)
        return line;
    auto yearAt = [&line](qsizetype from) { return QStringView(line).mid(from, 2) == u"08"; };
    // The first rule whose two conditions both hold rewrites the year; the others are not
    // tried. Positions are 11-12, 10-11 and 1-2 counting from 1.
    // The cheap position test comes first: most lines are data records.
    qsizetype at = -1;
    if (yearAt(10) && line.contains(u"Time Read"))
        at = 10;
    else if (yearAt(9) && line.contains(u"Time Set"))
        at = 9;
    else if (yearAt(0))
        at = 0;
    if (at < 0)
        return line;
    QString out = line;
    out.replace(at, 2, nowYear);
    return out;
}

ReceiveFraming::ReceiveFraming(Session &session)
    : m_session(session), m_decoder(AnsiCodec::instance().streamDecoder())
{
}

void ReceiveFraming::ComPortRxChar(const QByteArray &bytes)
{
    const QString text = m_decoder.decode(bytes);
    frameText(text);
}

namespace {

// After one character is appended, only a status code that ends with it can be there
// (the part before held none), so it is enough to look at the last three characters.
bool endsWithStatusCode(const QString &s)
{
    const qsizetype n = s.size();
    if (n < 3 || s.at(n - 3) != u'E')
        return false;
    const QChar a = s.at(n - 2), b = s.at(n - 1);
    return (a == u'3' && b == u'2') || (a == u'2' && b == u'1') || (a == u'6' && b == u'2')
        || (a == u'4' && b == u'0') || (a == u'0' && b == u'0');
}

// Whether the next characters could still complete a status code: one of the last two
// characters is its leading E.
bool mayCompleteStatusCode(const QString &s)
{
    const qsizetype n = s.size();
    return (n >= 1 && s.at(n - 1) == u'E') || (n >= 2 && s.at(n - 2) == u'E');
}

bool isPlain(QChar c) { return c != u'\r' && c != u'\n' && c != u'E'; }

} // namespace

void ReceiveFraming::appendCharacter(QChar c)
{
    QString &temp = m_session.BuffTemp;
    temp.append(c);
    if (endsWithStatusCode(temp))
        temp.chop(3);
}

void ReceiveFraming::completeLine()
{
    Session &s = m_session;
    // The finished line gets its own copy; the partial-line buffer keeps its capacity for
    // the next line instead of growing again from nothing.
    QString line = rewriteYear(QString(s.BuffTemp.constData(), s.BuffTemp.size()), s.NowYear);
    s.BuffTemp.resize(0);
    s.Buff = line;
    ComportRXEvent(s, line);
}

void ReceiveFraming::frameText(QStringView text)
{
    Session &s = m_session;
    s.FileSize += static_cast<qint32>(text.size());
    const QChar *p = text.data();
    const QChar *const end = p + text.size();
    while (p < end) {
        // A run without CR, LF or E is appended at once: a status code can only complete
        // in it while the buffer still ends with an E or an E and one character, so those
        // first characters go one by one (a deletion may expose another E).
        const QChar *runEnd = p;
        while (runEnd < end && isPlain(*runEnd))
            ++runEnd;
        if (runEnd > p) {
            while (p < runEnd && mayCompleteStatusCode(s.BuffTemp))
                appendCharacter(*p++);
            if (p < runEnd) {
                s.BuffTemp.append(p, runEnd - p);
                p = runEnd;
            }
        } else {
            const QChar c = *p++;
            if (c == u'\r')
                completeLine();
            else if (c != u'\n') // LF is ignored
                appendCharacter(c);
        }
        if (s.BuffTemp.size() > MaxPartialLine + MaxPartialLine / 16)
            s.BuffTemp.remove(0, s.BuffTemp.size() - MaxPartialLine);
    }
}

void ComportRXEvent(Session &session, const QString &line)
{
    if (line.isEmpty())
        return;
    // A prepared matcher skips through the line instead of folding the case of every
    // character: this runs for every received line.
    static const QStringMatcher carrier(u"CARRIER", Qt::CaseInsensitive);
    if (carrier.indexIn(line) >= 0)
        session.Connect_flg = false;
    switch (session.RxTypeIndex) {
    case 0: case 1: case 5: case 6: case 7: case 9:
        session.lineSinks().appendLine(session.RxTypeIndex, line);
        break;
    default:
        break;
    }
    if (session.LogMessage_flg && session.TfmLog)
        session.TfmLog->appendRx(line);
    session.status(4, line);
}

void RxTypeMemoClear(Session &session)
{
    switch (session.RxTypeIndex) {
    case 0: case 4:
        session.lineSinks().clearView(0);
        break;
    case 1: case 5: case 6: case 9:
        session.lineSinks().clearView(session.RxTypeIndex);
        break;
    default:
        break;
    }
}

void Comport_TXMessage(Session &session, const QString &entry)
{
    if (session.TfmLog)
        session.TfmLog->appendTx(entry);
}

} // namespace kvl
