#include "logger/datafiles.h"

#include "app/errorlog.h"
#include "app/programfolder.h"
#include "app/session.h"
#include "app/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kvl {

namespace {

// Both halves of a split measurement line start with the same time stamp
// ("14/05/12 10:00:00"); the second copy is dropped when they are joined.
constexpr int TimeStampLength = 17;

} // namespace

QString standardDataFile(DataFileSet set, const QString &logId, int part)
{
    const QString prefix = set == DataFileSet::All ? QStringLiteral("CR") : QStringLiteral("SL");
    return QStringLiteral("\\SL") + logId + QStringLiteral("\\") + prefix + logId + QString::number(part)
        + QStringLiteral(".TXT");
}

QStringList mergeDataLines(const QStringList &first, const QStringList &second)
{
    QStringList merged;
    merged.reserve(first.size());
    for (qsizetype i = 0; i < first.size(); ++i)
        merged << (i < second.size() ? first[i] + second[i].mid(TimeStampLength) : first[i]);
    return merged;
}

QString saveFilePath(const Session &session, const QString &saveFolder, const QString &fileName)
{
    const QString joined = joinPath(saveFolder, fileName);
    if (QFileInfo(joined).isAbsolute() || session.ProgramFolder.isEmpty())
        return joined;
    return QDir(session.ProgramFolder).filePath(joined);
}

void appendToSaveFile(const QString &path, const QStringList &lines, bool createFolder)
{
    const QFileInfo info(path);
    if (createFolder)
        QDir().mkdir(info.absolutePath()); // one level; a failure shows when the file is opened

    QByteArray bytes;
    const AnsiCodec &codec = AnsiCodec::instance();
    for (const QString &line : lines)
        bytes += codec.encode(line) + QByteArrayLiteral("\r\n");

    const bool existed = QFile::exists(path);
    // Unbuffered: every byte that write() accepts is in the file, so a failure is seen
    // here and nothing is left in a buffer to be flushed later.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        throw PlatformError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    const qint64 oldSize = file.size();
    const qint64 written = file.write(bytes);
    const QString reason = written < 0 ? file.errorString()
                                       : QStringLiteral("Only %1 of %2 bytes could be written.")
                                             .arg(written).arg(bytes.size());
    file.close();
    if (written == bytes.size())
        return;
    // Leave the file as it was before this save.
    if (existed)
        QFile::resize(path, oldSize);
    else
        QFile::remove(path);
    throw PlatformError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, reason));
}

} // namespace kvl
