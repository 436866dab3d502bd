#include "logger/datadelete.h"

#include "app/session.h"
#include "link/exchange.h"
#include "link/receiveframing.h"
#include "logger/clockcommands.h"
#include "logger/filecommands.h"
#include "logger/filetree.h"
#include "registry/deviceregistry.h"

namespace kvl {

namespace {

// The logger needs this long to finish one deletion before it takes the next command.
constexpr int GroupStartPauseMs = 300;
constexpr int DeletePauseMs = 500;

const QString DownBar = QStringLiteral("pgbDown");

QString dataFile(bool absolute, const QString &logId, const QString &kind, int part)
{
    return (absolute ? QStringLiteral("\\SL") : QStringLiteral("SL")) + logId + QStringLiteral("\\") + kind + logId
        + QString::number(part) + QStringLiteral(".TXT");
}

} // namespace

DeleteGroupNames FileNamesearch(int group, const QString &logId, bool sensorNoCheck)
{
    const QString sl = QStringLiteral("SL");
    const QString cr = QStringLiteral("CR");
    DeleteGroupNames names;
    switch (group) {
    case 1:
        names = {dataFile(true, logId, sl, 0), dataFile(true, logId, sl, 1)};
        break;
    case 2:
        names = {dataFile(false, logId, cr, 0), dataFile(false, logId, cr, 1)};
        break;
    case 4:
        names = {dataFile(false, logId, sl, 1), dataFile(false, logId, cr, 1)};
        break;
    case 5:
        names = {dataFile(false, logId, cr, 1), dataFile(false, logId, cr, 1)};
        break;
    default:
        break;
    }
    if (!sensorNoCheck)
        names.second.clear();
    return names;
}

bool PROGRAM_COMMAND_DELTEFILE(Session &session, int index, int group)
{
    const Setup &device = (*session.DeviceInfo)[index];
    session.FileSize = 0;
    session.Buff.clear();
    const DeleteGroupNames names =
        FileNamesearch(group, device.DeviceSet.LogID, device.ScheduleSet.SensorNoCheck);
    session.delay(GroupStartPauseMs);
    PROGRAM_COMMAND_ROOT(session, index);
    QString last;
    for (const QString &name : {names.first, names.second}) {
        if (name.isEmpty())
            continue;
        last = QStringLiteral("DEL ") + name;
        sendCommand(session, last, QStringLiteral("\r\n"), /*showCommand=*/true, /*txLog=*/false);
        session.delay(DeletePauseMs);
    }
    // One log entry per group, naming the last deletion sent.
    Comport_TXMessage(session, session.clock().now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                                   + QStringLiteral(": ") + last);
    return true;
}

void DeleteDataAll2(Session &session, FileTree *tree)
{
    if (!session.Connect_flg) {
        session.message(QStringLiteral(" Datalogger is Unconnected"));
        return;
    }
    OperationGuard guard(session);
    if (guard.refused())
        return;
    session.progress().setProgress(DownBar, 0);
    if (!session.question(QStringLiteral("Are you sure you want to delete the saved data?\r\n"
                                         "!!!  Delete all data  !!!\r\n")))
        return;

    // Like every button that talks to the logger, a stop left from before is cleared.
    session.Start_flg();
    session.busyCursor().setBusy(true);
    const auto finish = [&] {
        session.busyCursor().setBusy(false);
        if (tree)
            tree->clear();
    };
    try {
        const int index = session.Selected_index;
        if (index >= 0 && index < DeviceRegistry::SlotCount && session.DeviceInfo) {
            PROGRAM_COMMAND_Terminal_Mode_Close(session, index);
            bool ok = PROGRAM_COMMAND_Terminal_Mode_Open(session, index);
            static constexpr struct {
                int group;
                int progress;
            } steps[] = {{1, 25}, {2, 50}, {4, 75}, {5, 100}};
            for (const auto &step : steps) {
                if (!ok)
                    break;
                ok = PROGRAM_COMMAND_DELTEFILE(session, index, step.group);
                if (step.group == 5)
                    PROGRAM_COMMAND_Terminal_Mode_Close(session, index);
                session.progress().setProgress(DownBar, step.progress);
            }
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

} // namespace kvl
