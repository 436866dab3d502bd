// Operations on the device registry: no logger needed. They work on the device tree and
// the setup page as the window's buttons and tree do; every change saves Setting.dat.

#include "cli/clisession.h"
#include "cli/operations.h"
#include "registry/deviceregistry.h"
#include "registry/setuppage.h"

namespace kvl::cli {

namespace {

// One line per device in slot order: slot, tree level, name, logger ID, port, modem type.
Outcome listDevices(CliSession &cli, const QStringList &)
{
    const DeviceRegistry &registry = cli.registry;
    for (int slot = 0; slot < DeviceRegistry::SlotCount; ++slot) {
        const Setup &device = registry[slot];
        if (device.isEmpty())
            continue;
        cli.out.line(QStringList{QString::number(slot),
                                 QString::number(device.DeviceSet.TreeLevel),
                                 device.DeviceSet.DeviceName,
                                 device.DeviceSet.LogID,
                                 QStringLiteral("COM") + QString::number(device.PortSet.COMPORT),
                                 device.ModemSet.ModemType}
                         .join(QLatin1Char('\t')));
    }
    return std::nullopt;
}

// "Add" and "Sub Add" leave the tree's selection where it was; on the console the new
// device is the one the next operations are meant for, so it is clicked.
Outcome addDevice(CliSession &cli, const QStringList &)
{
    const int index = cli.deviceTree.btnDeviceAddClick();
    if (index >= 0)
        cli.deviceTree.ProjectViewClick(index);
    return std::nullopt;
}

Outcome subAddDevice(CliSession &cli, const QStringList &)
{
    const int index = cli.deviceTree.btnDeviceSubAddClick();
    if (index >= 0)
        cli.deviceTree.ProjectViewClick(index);
    return std::nullopt;
}

// The buttons and the tree's edit act on the tree's marked node. Without one they do
// nothing and the window stays silent; a script is told on standard error. After start-up
// the mark stays on the last node while no device has been clicked: the window shows that
// mark, a script does not, so it is told which device it acts on.
void noteWhenNothingMarked(CliSession &cli, const QString &operation)
{
    const DeviceNode *marked = cli.deviceTree.tree().selected();
    if (!marked)
        cli.note(operation + QStringLiteral(": no device selected, nothing done"));
    else if (cli.session.Selected_index < 0)
        cli.note(QStringLiteral("%1: no device clicked, acting on the marked device \"%2\"").arg(operation, marked->text));
}

Outcome deleteDevice(CliSession &cli, const QStringList &)
{
    noteWhenNothingMarked(cli, QStringLiteral("del"));
    cli.deviceTree.btnDeviceDelClick();
    return std::nullopt;
}

Outcome renameDevice(CliSession &cli, const QStringList &args)
{
    noteWhenNothingMarked(cli, QStringLiteral("rename"));
    cli.deviceTree.ProjectViewEdited(args[0]);
    return std::nullopt;
}

QString checkRename(const QStringList &args)
{
    return args[0].isEmpty() ? QStringLiteral("the name must not be empty") : QString();
}

Outcome setField(CliSession &cli, const QStringList &args)
{
    if (!cli.deviceTree.page().userSetField(args[0], args[1]))
        cli.note(QStringLiteral("set %1: the control is disabled (a group is shown), nothing set").arg(args[0]));
    return std::nullopt;
}

QString checkSetField(const QStringList &args)
{
    const std::optional<SetupPageModel::Control> control = SetupPageModel::controlForField(args[0]);
    if (!control)
        return QStringLiteral("unknown field \"%1\"").arg(args[0]);
    if (SetupPageModel::isCheckBox(*control) && args[1] != u"0" && args[1] != u"1")
        return QStringLiteral("%1 takes 0 or 1, not \"%2\"").arg(args[0], args[1]);
    return {};
}

Outcome applyPage(CliSession &cli, const QStringList &)
{
    noteWhenNothingMarked(cli, QStringLiteral("apply"));
    cli.deviceTree.btnApplyClick();
    return std::nullopt;
}

} // namespace

void addRegistryOperations(OperationTable &table)
{
    table.add({QStringLiteral("devices"), {},
               QStringLiteral("list the devices: slot, level, name, logger ID, port, modem type"),
               listDevices, {}});
    table.add({QStringLiteral("add"), {},
               QStringLiteral("\"Add\": a new device after the selected one; it becomes selected"),
               addDevice, {}});
    table.add({QStringLiteral("sub-add"), {},
               QStringLiteral("\"Sub Add\": a new device under the selected one; it becomes selected"),
               subAddDevice, {}});
    table.add({QStringLiteral("del"), {},
               QStringLiteral("\"Del\": delete the selected device with the devices under it (asks)"),
               deleteDevice, {}});
    table.add({QStringLiteral("rename"), {QStringLiteral("NAME")},
               QStringLiteral("rename the selected device and its two data files"),
               renameDevice, checkRename});
    table.add({QStringLiteral("set"), {QStringLiteral("FIELD"), QStringLiteral("VALUE")},
               QStringLiteral("put VALUE into the setup page's control of FIELD (LogID, ModemType, COMPORT, ...)"),
               setField, checkSetField});
    table.add({QStringLiteral("apply"), {},
               QStringLiteral("\"Apply\": store the setup page as the selected device's settings"),
               applyPage, {}});
}

} // namespace kvl::cli
