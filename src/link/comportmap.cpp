#include "link/comportmap.h"

#include "app/programfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSerialPortInfo>
#include <QTextStream>

#include <algorithm>

namespace kvl {

namespace {

const QRegularExpression &entryPattern()
{
    static const QRegularExpression re(QStringLiteral("^\\s*COM(\\d+)\\s*=\\s*(.*?)\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

QString conventionalPath(int n)
{
    if (n >= 1 && n <= 32) return QStringLiteral("/dev/ttyS%1").arg(n - 1);
    if (n >= 33 && n <= 64) return QStringLiteral("/dev/ttyUSB%1").arg(n - 33);
    if (n >= 65 && n <= 96) return QStringLiteral("/dev/ttyACM%1").arg(n - 65);
    return QStringLiteral("/dev/ttyS%1").arg(qMax(0, n - 1));
}

int conventionalNumber(const QString &path)
{
    static const QRegularExpression re(QStringLiteral("^/dev/tty(S|USB|ACM)(\\d+)$"));
    const auto m = re.match(path);
    if (!m.hasMatch())
        return 0;
    const int k = m.captured(2).toInt();
    if (k > 31) return 0;
    if (m.captured(1) == u"S") return 1 + k;
    if (m.captured(1) == u"USB") return 33 + k;
    return 65 + k;
}

} // namespace

QString comPortIniFileName() { return QStringLiteral("ComPorts.ini"); }

QList<QPair<int, QString>> readComPortMap(const QString &programFolder)
{
    QList<QPair<int, QString>> map;
    QFile file(joinPath(programFolder, comPortIniFileName()));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return map;
    bool inPorts = false;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inPorts = line.compare(QStringLiteral("[Ports]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inPorts)
            continue;
        const auto m = entryPattern().match(line);
        if (m.hasMatch() && !m.captured(2).isEmpty())
            map.append({m.captured(1).toInt(), m.captured(2)});
    }
    return map;
}

bool writeComPortMapEntry(const QString &programFolder, int comNumber, const QString &systemPath)
{
    const QString path = joinPath(programFolder, comPortIniFileName());
    QStringList lines;
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&existing);
        while (!in.atEnd())
            lines << in.readLine();
    }
    const QString entry = QStringLiteral("COM%1=%2").arg(comNumber).arg(systemPath);
    int sectionAt = -1;
    bool replaced = false;
    bool inPorts = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString t = lines.at(i).trimmed();
        if (t.startsWith(QLatin1Char('['))) {
            inPorts = t.compare(QStringLiteral("[Ports]"), Qt::CaseInsensitive) == 0;
            if (inPorts) sectionAt = i;
            continue;
        }
        const auto m = entryPattern().match(t);
        if (inPorts && m.hasMatch() && m.captured(1).toInt() == comNumber) {
            lines[i] = entry;
            replaced = true;
        }
    }
    if (!replaced) {
        if (sectionAt < 0) {
            lines << QStringLiteral("[Ports]");
            sectionAt = int(lines.size()) - 1;
        }
        lines.insert(sectionAt + 1, entry);
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    out.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return out.commit();
}

QString systemPortPath(int comNumber, const QString &programFolder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(programFolder);
    return QStringLiteral("\\\\.\\COM%1").arg(comNumber);
#else
    const auto map = readComPortMap(programFolder);
    for (const auto &entry : map)
        if (entry.first == comNumber)
            return entry.second;
    return conventionalPath(comNumber);
#endif
}

QString comNameForSystemPath(const QString &systemPath, const QString &programFolder)
{
    for (const auto &entry : readComPortMap(programFolder))
        if (entry.second == systemPath)
            return QStringLiteral("COM%1").arg(entry.first);
#ifdef Q_OS_WIN
    if (systemPath.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive))
        return systemPath.toUpper();
#endif
    const int n = conventionalNumber(systemPath);
    return n > 0 ? QStringLiteral("COM%1").arg(n) : QString();
}

QStringList ComPortSearch(const QString &programFolder)
{
    QList<int> numbers;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        QString path = info.systemLocation();
#ifdef Q_OS_WIN
        path = info.portName();
#endif
        const QString name = comNameForSystemPath(path, programFolder);
        if (!name.isEmpty())
            numbers << name.mid(3).toInt();
    }
    // Mapped ports that the system does not enumerate (pseudo-terminals) but that exist.
    for (const auto &entry : readComPortMap(programFolder))
        if (QFileInfo::exists(entry.second))
            numbers << entry.first;
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    QStringList names;
    for (int n : numbers)
        names << QStringLiteral("COM%1").arg(n);
    if (names.isEmpty())
        names << QStringLiteral("No COM Port");
    return names;
}

} // namespace kvl
