#include "cli/clisession.h"

#include "app/programfolder.h"

namespace kvl::cli {

CliSession::CliSession(ConsoleOutput &output, const ConsoleSettings &settings, const QString &homeOption,
                       ConsoleOutput *notes)
    : out(output), hooks(output, settings), m_notes(notes)
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
    // The window's first show: the tree from Setting.dat, each node through the page so
    // that it has a record of its own, and no device current until the first click. A
    // damaged Setting.dat leaves the tree of the part that was read; the error goes to
    // the handler (status panel 4 and LogFile.Log) and the run goes on, as at the desktop
    // program's start.
    guardedStep([this] { deviceTree.startUp(); });

    // The window's monitoring timer runs from the start; it fires while operations wait.
    constexpr int MonitoringIntervalMs = 10;
    m_monitoring.setInterval(MonitoringIntervalMs);
    QObject::connect(&m_monitoring, &QTimer::timeout, &session, [this] { monitoringTick(); });
    m_monitoring.start();
}

bool CliSession::select(const Selection &selection)
{
    const DeviceTreeModel &tree = deviceTree.tree();
    int index = -1;
    if (selection.bySlot) {
        if (tree.nodeAt(selection.slot))
            index = selection.slot;
    } else {
        const std::vector<DeviceNode *> order = tree.nodesInOrder();
        for (size_t k = 0; k < order.size(); ++k) {
            if (order[k]->text == selection.name) {
                index = int(k);
                break;
            }
        }
    }
    if (index < 0)
        return false;
    click(index);
    return true;
}

void CliSession::click(int absoluteIndex)
{
    guardedStep([&] { deviceTree.ProjectViewClick(absoluteIndex); });
}

void CliSession::note(const QString &text)
{
    if (m_notes)
        m_notes->line(QStringLiteral("kvl520cli: ") + text);
}

void CliSession::monitoringTick()
{
    hooks.setSkipUnchangedStatus(true);
    connectionMonitoringTick(session);
    hooks.setSkipUnchangedStatus(false);
}

bool CliSession::pressConnectButton()
{
    return connectButton(session, &m_timers);
}

bool CliSession::run(const Operation &operation, const QStringList &arguments)
{
    monitoringTick();
    Outcome outcome;
    const bool completed = guardedStep([&] { outcome = operation.run(*this, arguments); });
    return completed && outcome.value_or(true);
}

void CliSession::disconnectAtEnd()
{
    monitoringTick();
    if (!session.Connect_flg)
        return;
    guardedStep([this] { pressConnectButton(); });
}

} // namespace kvl::cli
