#pragma once
// kvl520cli against loggersim, as a script on a field laptop runs it: a program folder of
// the test's own whose Setting.dat holds one device on COM7, the simulator registered
// there as COM7 (with, when the test gives them, logger files from a folder of its own),
// and the console's output lines to check.

#include "cli/clirunner.h"
#include "e2e/loggersimprocess.h"
#include "registry/deviceregistry.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>

#include <functional>

namespace kvl::test {

// Slot 0 of a new Setting.dat: "Logger", LogID 01, COM7, 115200 baud, no parity, one
// stop bit, modem type "Direct", data saved to home/Data as SAVE1.TXT; `adjust` changes
// what the test needs.
inline void writeDevice(const QString &home, const std::function<void(Setup &)> &adjust = {})
{
    DeviceRegistry registry;
    registry.clearSlotsFrom(0);
    Setup &s = registry[0];
    s.DeviceSet.TreeParentsIndex = -1;
    s.DeviceSet.DeviceName = QStringLiteral("Logger");
    s.DeviceSet.LogID = QStringLiteral("01");
    s.PortSet.COMPORT = 7;
    s.PortSet.Baudrate = QStringLiteral("115200");
    s.PortSet.Parity = QStringLiteral("None");
    s.PortSet.StopBits = QStringLiteral("1");
    s.ModemSet.ModemType = QStringLiteral("Direct");
    s.SaveFileSet.SavePath = QDir(home).filePath(QStringLiteral("Data"));
    s.SaveFileSet.FileName1 = QStringLiteral("SAVE1");
    if (adjust)
        adjust(s);
    registry.SettingSave(home);
}

// A modem device as the setup page's modem type defaults fill it, at 9600 baud.
inline void useModem(Setup &s, const QString &type, const QString &command, const QString &call,
                     const QString &disconnect)
{
    s.PortSet.Baudrate = QStringLiteral("9600");
    s.ModemSet.ModemType = type;
    s.ModemSet.Command = command;
    s.ModemSet.CallCMD = call;
    s.ModemSet.ModemNo = QStringLiteral("0101234567");
    s.ModemSet.DiscntCMD = disconnect;
}

// The logger's files for the scenario key files=: each path ("PROG.TXT", "SL01/SL010.TXT")
// with its bytes, under home/loggerfiles. Returns the scenario line.
inline QByteArray writeLoggerFiles(const QString &home, const QList<QPair<QString, QByteArray>> &files)
{
    const QDir root(QDir(home).filePath(QStringLiteral("loggerfiles")));
    root.mkpath(QStringLiteral("."));
    for (const auto &[path, bytes] : files) {
        root.mkpath(QFileInfo(root.filePath(path)).path());
        QFile f(root.filePath(path));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    return "files=" + root.path().toUtf8() + '\n';
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Empty when equal, else where and how two byte strings first differ.
inline QString firstDifference(const QByteArray &actual, const QByteArray &expected)
{
    const qsizetype n = qMin(actual.size(), expected.size());
    qsizetype at = 0;
    while (at < n && actual[at] == expected[at])
        ++at;
    if (at == n && actual.size() == expected.size())
        return {};
    return QStringLiteral("first difference at offset %1 (sizes %2 and %3): got \"%4\", expected \"%5\"")
        .arg(at)
        .arg(actual.size())
        .arg(expected.size())
        .arg(QString::fromLatin1(actual.mid(at, 24).toPercentEncoding(" ,/:")),
             QString::fromLatin1(expected.mid(at, 24).toPercentEncoding(" ,/:")));
}

// kvl520cli with the device in slot 0 selected.
inline CliRun runOnDevice(const QString &home, const QStringList &operations)
{
    return runKvl520cli(home, QStringList{QStringLiteral("--index"), QStringLiteral("0")} + operations);
}

// The lines of `lines` that start with `prefix`, the prefix cut off.
inline QStringList withPrefix(const QStringList &lines, const QString &prefix)
{
    QStringList out;
    for (const QString &l : lines)
        if (l.startsWith(prefix))
            out << l.sliced(prefix.size());
    return out;
}

// The PC's two-digit year, which the receive rewriting puts in place of the logger's 08.
inline QString pcYear()
{
    return QDate::currentDate().toString(QStringLiteral("yy"));
}

} // namespace kvl::test
