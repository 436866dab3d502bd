#include "loggersim/hostfolder.h"

#include "app/errorlog.h"
#include "app/programfolder.h"
#include "link/comportmap.h"
#include "registry/deviceregistry.h"

#include <QDir>
#include <QFile>

namespace loggersim {

namespace {

kvl::Setup demoDevice(const QString &home, int comNumber, const Scenario &scenario)
{
    kvl::Setup demo;
    demo.DeviceSet.TreeParentsIndex = -1;
    demo.DeviceSet.DeviceName = demoDeviceName(scenario.modem);
    demo.DeviceSet.LogID = scenario.logId.isEmpty() ? QStringLiteral("01") : scenario.logId;
    demo.PortSet.COMPORT = comNumber;
    demo.PortSet.Parity = QStringLiteral("None");
    demo.PortSet.StopBits = QStringLiteral("1");
    demo.ScheduleSet.intervalMin = 60;
    demo.ScheduleSet.DelayMin = 5;
    demo.SaveFileSet.SavePath = kvl::joinPath(home, QStringLiteral("Data")) + QLatin1Char('/');
    QString fileName;
    switch (scenario.modem) {
    case Scenario::Modem::None:
        demo.DeviceSet.Communication = 0;
        demo.PortSet.Baudrate = QStringLiteral("115200");
        demo.ModemSet.ModemType = QStringLiteral("Direct");
        fileName = QStringLiteral("DemoLogger");
        break;
    case Scenario::Modem::At:
        demo.DeviceSet.Communication = 1;
        demo.PortSet.Baudrate = QStringLiteral("9600");
        demo.ModemSet.ModemType = QStringLiteral("H315k");
        demo.ModemSet.Command = QStringLiteral("AT+CRM=129");
        demo.ModemSet.CallCMD = QStringLiteral("ATDT");
        demo.ModemSet.ModemNo = QStringLiteral("01012345678");
        demo.ModemSet.DiscntCMD = QStringLiteral("+++");
        fileName = QStringLiteral("DemoModemLogger");
        break;
    case Scenario::Modem::Mrx417:
        demo.DeviceSet.Communication = 2;
        demo.PortSet.Baudrate = QStringLiteral("9600");
        demo.ModemSet.ModemType = QStringLiteral("MRX-417");
        demo.ModemSet.Command = QStringLiteral("AT");
        demo.ModemSet.CallCMD = QStringLiteral("ATDT");
        demo.ModemSet.ModemNo = QStringLiteral("01012345678");
        demo.ModemSet.DiscntCMD = QStringLiteral("+++");
        fileName = QStringLiteral("DemoMrx417Logger");
        break;
    }
    demo.SaveFileSet.FileName1 = fileName;
    demo.SaveFileSet.FileName2 = fileName + QStringLiteral("_backup");
    return demo;
}

} // namespace

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

QString demoDeviceName(Scenario::Modem modem)
{
    switch (modem) {
    case Scenario::Modem::At:
        return QStringLiteral("Demo Modem Logger");
    case Scenario::Modem::Mrx417:
        return QStringLiteral("Demo MRX-417 Logger");
    case Scenario::Modem::None:
        break;
    }
    return QStringLiteral("Demo Logger");
}

bool seedDemoDevice(const QString &home, int comNumber, const Scenario &scenario, bool *written, QString *error)
{
    *written = false;
    try {
        kvl::DeviceRegistry registry;
        if (QFile::exists(kvl::joinPath(home, kvl::DeviceRegistry::fileName())))
            registry.SettingOpen(home);
        else
            registry.clearSlotsFrom(0);
        const int used = registry.deviceCount();
        int topLevel = 0;
        for (int k = 0; k < used; ++k) {
            if (registry[k].DeviceSet.DeviceName == demoDeviceName(scenario.modem))
                return true;
            if (registry[k].DeviceSet.TreeLevel == 0)
                ++topLevel;
        }
        if (used >= kvl::DeviceRegistry::SlotCount)
            return true;
        kvl::Setup demo = demoDevice(home, comNumber, scenario);
        demo.DeviceSet.TreeLevel = 0;
        demo.DeviceSet.TreeIndex = topLevel;
        demo.image = registry[used].image; // the slot's unused bytes stay as they were
        registry[used] = demo;
        registry.SettingSave(home);
        *written = true;
        return true;
    } catch (const kvl::PlatformError &e) {
        *error = e.message();
        return false;
    }
}

} // namespace loggersim
