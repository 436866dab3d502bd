#include "app/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kvl {

QString resolveProgramFolder(const QString &homeOption)
{
    QString folder = homeOption;
    if (folder.isEmpty())
        folder = qEnvironmentVariable("KVL520_HOME");
    if (folder.isEmpty() && QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        if (QFileInfo(exeDir).isWritable())
            folder = exeDir;
    }
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return QDir::cleanPath(QDir(folder).absolutePath());
}

QString joinPath(const QString &folder, const QString &name)
{
    QString base = folder;
#ifndef Q_OS_WIN
    // A folder typed or stored the Windows way still names a folder here.
    base.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    while (base.endsWith(QLatin1Char('/')) || base.endsWith(QLatin1Char('\\')))
        base.chop(1);
    if (base.isEmpty())
        return name;
    return base + QLatin1Char('/') + name;
}

} // namespace kvl
