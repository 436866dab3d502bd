// Operations on the device registry: no logger needed.

#include "cli/clisession.h"
#include "cli/operations.h"
#include "registry/deviceregistry.h"

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

} // namespace

void addRegistryOperations(OperationTable &table)
{
    table.add({QStringLiteral("devices"), {},
               QStringLiteral("list the devices: slot, level, name, logger ID, port, modem type"),
               listDevices, {}});
}

} // namespace kvl::cli
