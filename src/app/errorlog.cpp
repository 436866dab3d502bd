#include "app/errorlog.h"

#include "app/programfolder.h"
#include "app/session.h"
#include "app/textcodec.h"

#include <QFile>

namespace kvl {

void AppException(Session &session, const QString &message)
{
    try {
        session.LogMessage = message + QStringLiteral(" - ")
            + session.clock().now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        session.status(4, session.LogMessage);
        SaveLog(session);
    } catch (...) {
        // The handler itself never raises.
    }
}

void SaveLog(const Session &session)
{
    QFile log(joinPath(session.ProgramFolder, QStringLiteral("LogFile.Log")));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    log.write(AnsiCodec::instance().encode(session.LogMessage) + QByteArrayLiteral("\r\n"));
    log.close();
}

} // namespace kvl
