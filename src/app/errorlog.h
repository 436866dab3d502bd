#pragma once
// Errors that the platform raises (a file that cannot be read or written, a text that is
// no number, a port that fails) and that no operation catches end that operation and reach
// one handler: status panel 4 and a line in "LogFile.Log", never a dialog.

#include <QString>
#include <exception>
#include <utility>

namespace kvl {

class Session;

class PlatformError : public std::exception {
public:
    explicit PlatformError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The handler: LogMessage := message + " - " + time; panel 4; appended to the log.
void AppException(Session &session, const QString &message);

// Appends session.LogMessage with CR LF to LogFile.Log in the program folder. A log that
// cannot be written is passed over silently.
void SaveLog(const Session &session);

// Runs an event handler or timer action so that nothing escapes into the event loop.
template <typename F>
void guarded(Session &session, F &&action) noexcept
{
    try {
        std::forward<F>(action)();
    } catch (const PlatformError &e) {
        AppException(session, e.message());
    } catch (const std::exception &e) {
        AppException(session, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        AppException(session, QStringLiteral("Unknown error"));
    }
}

} // namespace kvl
