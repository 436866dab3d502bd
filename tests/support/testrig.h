#pragma once
// One session wired for a unit test: virtual clock, scripted port, recording hooks, a
// registry and a program folder of its own.

#include "app/session.h"
#include "link/seriallink.h"
#include "registry/deviceregistry.h"
#include "support/recordinghooks.h"
#include "support/scriptedport.h"
#include "support/virtualclock.h"

#include <QTemporaryDir>

namespace kvl::test {

struct TestRig {
    QTemporaryDir home;
    VirtualClock clock;
    RecordingHooks hooks;
    DeviceRegistry registry;
    Session session{&clock};
    ScriptedPort port{clock};
    SerialLink link{session, port};

    TestRig()
    {
        session.ProgramFolder = home.path();
        session.setStatusPanels(&hooks);
        session.setDialogs(&hooks);
        session.setLineSinks(&hooks);
        session.setProgressSink(&hooks);
        session.setBusyCursor(&hooks);
        session.attachTrafficLog(&hooks);
        session.DeviceInfo = &registry;
        session.refreshNowYear();
    }
};

} // namespace kvl::test
