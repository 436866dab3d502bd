#include "cli/clisession.h"

#include "app/programfolder.h"

namespace kvl::cli {

CliSession::CliSession(ConsoleOutput &output, const ConsoleSettings &settings, const QString &homeOption)
    : out(output), hooks(output, settings)
{
    session.setStatusPanels(&hooks);
    session.setDialogs(&hooks);
    session.setProgressSink(&hooks);
    session.setBusyCursor(&hooks);
    // The desktop program creates its communication log window at start, so received
    // lines are recorded from the first command on; the console's log prints them.
    session.attachTrafficLog(&hooks);

    session.ProgramFolder = resolveProgramFolder(homeOption);
    session.Version = QStringLiteral("KVL520 Ver" KVL_VERSION_TEXT);
    session.DeviceInfo = &registry;
    session.refreshNowYear();
    session.Selected_index = -1;
    // A damaged Setting.dat leaves whatever part was read in the registry; the error goes
    // to the handler (status panel 4 and LogFile.Log) and the run goes on, as at the
    // desktop program's start.
    guardedStep([this] { registry.SettingOpen(session.ProgramFolder); });
}

bool CliSession::select(const Selection &selection)
{
    if (selection.bySlot) {
        if (selection.slot < 0 || selection.slot >= DeviceRegistry::SlotCount
            || registry[selection.slot].isEmpty())
            return false;
        session.Selected_index = selection.slot;
        return true;
    }
    // Slot order is the tree's display order: the first match is the first node shown.
    for (int slot = 0; slot < DeviceRegistry::SlotCount; ++slot) {
        if (!registry[slot].isEmpty() && registry[slot].DeviceSet.DeviceName == selection.name) {
            session.Selected_index = slot;
            return true;
        }
    }
    return false;
}

bool CliSession::run(const Operation &operation, const QStringList &arguments)
{
    Outcome outcome;
    const bool completed = guardedStep([&] { outcome = operation.run(*this, arguments); });
    return completed && outcome.value_or(true);
}

void CliSession::disconnectAtEnd()
{
    if (!session.Connect_flg)
        return;
    // The connect/disconnect button's action belongs here once the connection procedures
    // exist; no operation can bring the link up before them.
    guardedStep([] {});
}

} // namespace kvl::cli
