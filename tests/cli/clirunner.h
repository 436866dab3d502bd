#pragma once
// Running the real kvl520cli against a program folder of the test's own, and writing the
// Setting.dat it starts from.

#include "registry/deviceregistry.h"

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace kvl::test {

struct CliRun {
    int exitCode = -1; // -1: did not finish normally
    QString out;
    QString err;
};

inline CliRun runKvl520cli(const QString &home, const QStringList &arguments)
{
    QProcess process;
    process.start(qEnvironmentVariable("KVL_BIN_DIR") + QStringLiteral("/kvl520cli"),
                  QStringList{QStringLiteral("--home"), home} + arguments);
    CliRun r;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return r;
    }
    r.exitCode = process.exitCode();
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

inline QStringList splitLines(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

struct DeviceRow {
    int level;
    QString name;
    QString logId;
    int comPort;
    QString modemType;
};

// A Setting.dat with these devices in slots 0, 1, ...; every other field as in an empty slot.
inline void writeRegistry(const QString &folder, const QList<DeviceRow> &rows)
{
    DeviceRegistry registry;
    for (int slot = 0; slot < rows.size(); ++slot) {
        Setup &s = registry[slot];
        s.DeviceSet.TreeLevel = rows[slot].level;
        s.DeviceSet.DeviceName = rows[slot].name;
        s.DeviceSet.LogID = rows[slot].logId;
        s.PortSet.COMPORT = rows[slot].comPort;
        s.ModemSet.ModemType = rows[slot].modemType;
    }
    registry.SettingSave(folder);
}

inline DeviceRegistry readRegistry(const QString &folder)
{
    DeviceRegistry registry;
    registry.SettingOpen(folder);
    return registry;
}

} // namespace kvl::test
