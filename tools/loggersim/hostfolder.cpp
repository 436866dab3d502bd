#include "loggersim/hostfolder.h"

#include "app/errorlog.h"
#include "app/programfolder.h"
#include "link/comportmap.h"
#include "registry/deviceregistry.h"

#include <QDir>

namespace loggersim {

bool registerComPort(const QString &home, int comNumber, const QString &devicePath, QString *error)
{
    if (!QDir().mkpath(home)) {
        *error = QStringLiteral("cannot create %1").arg(home);
        return false;
    }
    if (kvl::writeComPortMapEntry(home, comNumber, devicePath))
        return true;
    *error = QStringLiteral("cannot write %1").arg(kvl::joinPath(home, kvl::comPortIniFileName()));
    return false;
}

bool seedDemoDevice(const QString &home, int comNumber, bool *written, QString *error)
{
    *written = false;
    try {
        kvl::DeviceRegistry registry;
        registry.SettingOpen(home);
        if (registry.deviceCount() > 0)
            return true; // the user's own devices stay as they are

        kvl::Setup demo;
        demo.DeviceSet.TreeLevel = 0;
        demo.DeviceSet.TreeIndex = 0;
        demo.DeviceSet.TreeParentsIndex = -1;
        demo.DeviceSet.DeviceName = QStringLiteral("Demo Logger");
        demo.DeviceSet.LogID = QStringLiteral("01");
        demo.DeviceSet.Communication = 0;
        demo.PortSet.COMPORT = comNumber;
        demo.PortSet.Baudrate = QStringLiteral("115200");
        demo.PortSet.Parity = QStringLiteral("None");
        demo.PortSet.StopBits = QStringLiteral("1");
        demo.ModemSet.ModemType = QStringLiteral("Direct");
        demo.ScheduleSet.intervalMin = 60;
        demo.ScheduleSet.DelayMin = 5;
        demo.SaveFileSet.SavePath = kvl::joinPath(home, QStringLiteral("Data")) + QLatin1Char('/');
        demo.SaveFileSet.FileName1 = QStringLiteral("DemoLogger");
        demo.SaveFileSet.FileName2 = QStringLiteral("DemoLogger_backup");
        registry[0] = demo;
        for (int k = 1; k < kvl::DeviceRegistry::SlotCount; ++k)
            registry[k] = kvl::Setup::emptySlot(registry[k]);
        registry.SettingSave(home);
        *written = true;
        return true;
    } catch (const kvl::PlatformError &e) {
        *error = e.message();
        return false;
    }
}

} // namespace loggersim
