// Start-up of the desktop program with a full registry: 255 devices over four levels are
// written into a temporary program folder, then the main window is made and shown on the
// offscreen platform. Prints the time until the first show has finished (the tree built,
// every node through the setup page, the port list filled) and until the window is exposed.
// Target: under 0.5 s.

#include "desktop/kvlapplication.h"
#include "desktop/mainwindow.h"
#include "registry/deviceregistry.h"
#include "registry/devicetreeactions.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace kvl;

namespace {

// Display order of a tree of groups: each top-level group holds two groups, each of those
// two groups of three devices; cut at the registry's capacity.
void writeFullRegistry(const QString &home)
{
    QList<int> levels;
    while (levels.size() < DeviceRegistry::SlotCount) {
        levels << 0;
        for (int a = 0; a < 2; ++a) {
            levels << 1;
            for (int b = 0; b < 2; ++b) {
                levels << 2 << 3 << 3 << 3;
            }
        }
    }
    DeviceRegistry registry;
    for (int k = 0; k < DeviceRegistry::SlotCount; ++k) {
        Setup &slot = registry[k];
        slot.DeviceSet.DeviceName = QStringLiteral("Device%1").arg(k, 3, 10, QLatin1Char('0'));
        slot.DeviceSet.TreeLevel = levels[k];
        slot.DeviceSet.LogID = QStringLiteral("%1").arg(k % 16, 2, 10, QLatin1Char('0'));
        slot.PortSet.COMPORT = 1 + k % 8;
        slot.PortSet.Baudrate = QStringLiteral("115200");
        slot.PortSet.Parity = QStringLiteral("None");
        slot.PortSet.StopBits = QStringLiteral("1");
        slot.ModemSet.ModemType = k % 3 == 0 ? QStringLiteral("MRX-417") : QStringLiteral("Direct");
        slot.ScheduleSet.intervalMin = 30;
        slot.ScheduleSet.DelayMin = 5;
        slot.SaveFileSet.SavePath = home + QStringLiteral("/Data/");
        slot.SaveFileSet.FileName1 = slot.DeviceSet.DeviceName;
        slot.SaveFileSet.FileName2 = slot.DeviceSet.DeviceName + QStringLiteral("_backup");
    }
    registry.SettingSave(home);
}

void startOnce(const QString &home, const char *label)
{
    QElapsedTimer timer;
    timer.start();
    TfKVL520_Main window(home);
    const qint64 made = timer.nsecsElapsed();
    window.show(); // the first show runs inside
    const qint64 shown = timer.nsecsElapsed();
    const bool exposed = QTest::qWaitForWindowExposed(&window);
    const qint64 visible = timer.nsecsElapsed();
    const int nodes = window.treeActions().tree().count();
    std::printf("%-6s made %7.1f ms, first show done %7.1f ms, exposed %7.1f ms%s (%d nodes)\n", label,
                made / 1e6, shown / 1e6, visible / 1e6, exposed ? "" : " (not exposed)", nodes);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    KvlApplication app(argc, argv);
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    writeFullRegistry(home.path());
    std::printf("start-up with %d devices over four levels (target: first show done < 500 ms)\n",
                DeviceRegistry::SlotCount);
    startOnce(home.path(), "cold");
    for (int k = 1; k <= 3; ++k)
        startOnce(home.path(), "warm");
    return 0;
}
