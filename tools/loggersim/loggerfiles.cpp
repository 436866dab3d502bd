#include "loggersim/loggerfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace loggersim {

namespace {

const QByteArray CrLf = QByteArrayLiteral("\r\n");

// The measurements of the built-in data files: one every ten minutes from a fixed start,
// three channels in each half of a split line, slowly drifting values.
const QDateTime FirstMeasurement(QDate(2008, 5, 12), QTime(0, 0));
constexpr int MeasurementIntervalSecs = 600;
constexpr int ChannelsPerFile = 3;

QByteArray measurementLine(const QString &year, int line, int part)
{
    const QDateTime at = FirstMeasurement.addSecs(qint64(line) * MeasurementIntervalSecs);
    QString text = year + at.toString(QStringLiteral("/MM/dd hh:mm:ss"));
    for (int c = 0; c < ChannelsPerFile; ++c) {
        const int channel = part * ChannelsPerFile + c + 1;
        const double value = channel * 1.5 + double((line * 37 + channel * 11) % 200 - 100) / 1000.0;
        text += QLatin1Char(',') + (value >= 0 ? QStringLiteral("+") : QString()) + QString::number(value, 'f', 3);
    }
    return text.toLatin1() + CrLf;
}

QByteArray dataFile(const QString &year, int firstLine, int lines, int part)
{
    QByteArray bytes;
    for (int i = firstLine; i < firstLine + lines; ++i)
        bytes += measurementLine(year, i, part);
    return bytes;
}

QByteArray textFile(const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + CrLf;
    return bytes;
}

} // namespace

LoggerFiles LoggerFiles::builtIn(const QString &logId, const QString &year, int dataLines)
{
    const QString id = logId.isEmpty() ? QStringLiteral("01") : logId;
    LoggerFiles files;
    const QString data = QStringLiteral("SL") + id;
    files.addFolder(data);
    files.addFolder(QStringLiteral("SYS"));
    files.addFile(QString(), QStringLiteral("PROG.TXT"),
                  textFile({";Demo Program", "#R011 D MV 2S;", "#R012 D MV 2S;", "INT 10M;", "END"}));
    const int latest = qMax(1, dataLines / 4);
    for (int part = 0; part < 2; ++part) {
        const QString suffix = QString::number(part) + QStringLiteral(".TXT");
        files.addFile(data, QStringLiteral("CR") + id + suffix, dataFile(year, 0, dataLines, part));
        files.addFile(data, QStringLiteral("SL") + id + suffix, dataFile(year, dataLines - latest, latest, part));
    }
    files.addFile(QStringLiteral("SYS"), QStringLiteral("INFO.TXT"),
                  textFile({"Simulated logger", "Channels 6", "Memory 4 MB"}));
    return files;
}

bool LoggerFiles::fromHostFolder(const QString &hostFolder, LoggerFiles *out, QString *error)
{
    const QDir root(hostFolder);
    if (!root.exists()) {
        *error = QStringLiteral("%1: no such folder").arg(hostFolder);
        return false;
    }
    LoggerFiles files;
    const auto addFiles = [&](const QDir &dir, const QString &folder) {
        for (const QFileInfo &info : dir.entryInfoList(QDir::Files, QDir::Name)) {
            QFile f(info.filePath());
            if (!f.open(QIODevice::ReadOnly)) {
                *error = QStringLiteral("%1: %2").arg(info.filePath(), f.errorString());
                return false;
            }
            files.addFile(folder, info.fileName(), f.readAll());
        }
        return true;
    };
    for (const QFileInfo &sub : root.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        files.addFolder(sub.fileName());
    if (!addFiles(root, QString()))
        return false;
    for (const QFileInfo &sub : root.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!addFiles(QDir(sub.filePath()), sub.fileName()))
            return false;
    }
    *out = std::move(files);
    return true;
}

QString LoggerFiles::currentFolder() const
{
    return QStringLiteral("\\") + m_folders[m_current].name;
}

bool LoggerFiles::changeFolder(const QString &path)
{
    int folder = 0;
    QString name;
    if (!resolve(path, &folder, &name))
        return false;
    if (name == u"..") {
        folder = 0;
    } else if (!name.isEmpty() && name != u".") {
        const int sub = folder == 0 ? findFolder(name) : -1; // folders hold no folders
        if (sub < 0)
            return false;
        folder = sub;
    }
    m_current = folder;
    return true;
}

QList<QByteArray> LoggerFiles::listing() const
{
    QList<QByteArray> lines{QByteArrayLiteral("[.]"), QByteArrayLiteral("[..]")};
    if (m_current == 0) {
        for (qsizetype i = 1; i < m_folders.size(); ++i)
            lines << '[' + m_folders[i].name.toLatin1() + ']';
    }
    for (const File &f : m_folders[m_current].files)
        lines << f.name.toLatin1() + '(' + QByteArray::number(f.bytes.size()) + ')';
    return lines;
}

const QByteArray *LoggerFiles::file(const QString &path) const
{
    int folder = 0;
    QString name;
    if (!resolve(path, &folder, &name))
        return nullptr;
    const File *f = findFile(folder, name);
    return f ? &f->bytes : nullptr;
}

bool LoggerFiles::remove(const QString &path)
{
    int folder = 0;
    QString name;
    if (!resolve(path, &folder, &name))
        return false;
    QList<File> &files = m_folders[folder].files;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (files[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            files.removeAt(i);
            return true;
        }
    }
    return false;
}

bool LoggerFiles::create(const QString &path)
{
    int folder = 0;
    QString name;
    if (!resolve(path, &folder, &name) || name.isEmpty() || name == u"." || name == u"..")
        return false;
    if (File *f = findFile(folder, name))
        f->bytes.clear();
    else
        m_folders[folder].files.append({name, {}});
    return true;
}

bool LoggerFiles::append(const QString &path, const QByteArray &bytes)
{
    int folder = 0;
    QString name;
    if (!resolve(path, &folder, &name))
        return false;
    File *f = findFile(folder, name);
    if (!f)
        return false;
    f->bytes += bytes;
    return true;
}

void LoggerFiles::addFolder(const QString &name)
{
    if (findFolder(name) < 0)
        m_folders.append({name, {}});
}

void LoggerFiles::addFile(const QString &folder, const QString &name, const QByteArray &bytes)
{
    const int index = folder.isEmpty() ? 0 : findFolder(folder);
    if (index >= 0)
        m_folders[index].files.append({name, bytes});
}

bool LoggerFiles::resolve(const QString &path, int *folder, QString *name) const
{
    const QString p = path.trimmed();
    int f = p.startsWith(u'\\') ? 0 : m_current;
    QStringList parts = p.split(u'\\', Qt::SkipEmptyParts);
    const QString last = parts.isEmpty() ? QString() : parts.takeLast();
    for (const QString &part : parts) {
        if (part == u"..")
            f = 0;
        else if (part == u".")
            continue;
        else if (const int sub = f == 0 ? findFolder(part) : -1; sub > 0)
            f = sub;
        else
            return false;
    }
    *folder = f;
    *name = last;
    return true;
}

int LoggerFiles::findFolder(const QString &name) const
{
    for (qsizetype i = 1; i < m_folders.size(); ++i) {
        if (m_folders[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

LoggerFiles::File *LoggerFiles::findFile(int folder, const QString &name)
{
    for (File &f : m_folders[folder].files) {
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

const LoggerFiles::File *LoggerFiles::findFile(int folder, const QString &name) const
{
    return const_cast<LoggerFiles *>(this)->findFile(folder, name);
}

} // namespace loggersim
