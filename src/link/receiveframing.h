#pragma once
// Received bytes become lines: LF is ignored, CR completes a line, the logger's year 08 is
// rewritten to the PC's year, and the converter's status codes E32, E21, E62, E40 and E00
// are deleted as soon as they form, also across two receive events.

#include <QString>
#include <QStringDecoder>

namespace kvl {

class Session;

// The year rewriting of a completed line, first rule that holds (positions count from 1):
// a line containing "Time Read" with "08" at 11-12, else one containing "Time Set" with
// "08" at 10-11, else a line starting with "08"; that "08" becomes nowYear. A nowYear that
// is not two characters leaves the line as received.
QString rewriteYear(const QString &line, const QString &nowYear);

class ReceiveFraming {
public:
    // A partial line that never ends is kept to its newest characters: a stream without
    // CR neither grows without bound nor slows the framing down.
    static constexpr qsizetype MaxPartialLine = 64 * 1024;

    explicit ReceiveFraming(Session &session);

    // One receive event: decodes the bytes (a double-byte character split between two
    // events is kept for the next one) and frames them into session.BuffTemp / Buff.
    void ComPortRxChar(const QByteArray &bytes);
    // Frames already decoded text.
    void frameText(QStringView text);

private:
    void appendCharacter(QChar c); // appends, then deletes a status code it completes
    void completeLine();

    Session &m_session;
    QStringDecoder m_decoder;
};

// Distributes one complete line: carrier loss, the receive view chosen by RxTypeIndex,
// the log window's RX list and status panel 4. Empty lines are not distributed.
void ComportRXEvent(Session &session, const QString &line);

// Empties the receive view chosen by RxTypeIndex (0 and 4 the terminal view).
void RxTypeMemoClear(Session &session);

// Appends a sent-traffic entry to the log window while one exists.
void Comport_TXMessage(Session &session, const QString &entry);

} // namespace kvl
