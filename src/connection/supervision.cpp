#include "connection/supervision.h"

#include "app/errorlog.h"
#include "app/session.h"
#include "connection/connectionprocedures.h"
#include "link/serialport.h"
#include "registry/deviceregistry.h"

namespace kvl {

namespace {

QString selectedDeviceName(const Session &session)
{
    const int index = session.Selected_index;
    if (index < 0 || index >= DeviceRegistry::SlotCount || !session.DeviceInfo)
        return {};
    return (*session.DeviceInfo)[index].DeviceSet.DeviceName;
}

bool portOpen(const Session &session) { return session.ComPort && session.ComPort->isOpen(); }

} // namespace

ConnectionDisplay connectionMonitoringTick(Session &session)
{
    const bool open = portOpen(session);
    if (!open)
        session.Connect_flg = false;

    ConnectionDisplay d;
    d.connected = session.Connect_flg;
    d.caption = d.connected ? QStringLiteral("Disconnect") : QStringLiteral("Connect");
    d.linkPanel = selectedDeviceName(session)
        + (d.connected ? QStringLiteral(" Connected") : QStringLiteral(" Disconnected"));
    d.portPanel = open ? QStringLiteral("Comport Open") : QStringLiteral("Comport Close");
    session.status(1, d.linkPanel);
    session.status(0, d.portPanel);

    // A modem that lost its carrier has said so in the last line.
    if (session.Buff.toUpper().contains(u"CARRIER"))
        session.Connect_flg = false;
    return d;
}

bool connectButton(Session &session, ConnectionTimers *timers)
{
    OperationGuard guard(session);
    if (guard.refused())
        return session.Connect_flg;
    session.Start_flg();
    session._3DSWriteMode = false;
    const int index = session.Selected_index;
    if (index < 0) {
        session.message(QStringLiteral("Please select a device."));
        return session.Connect_flg;
    }

    // The timers return to normal and the message tells the resulting state, however the
    // connect or disconnect ended.
    const auto finish = [&session, timers] {
        if (timers) {
            timers->setBlinking(false);
            timers->setMonitoring(true);
        }
        session.message(session.Connect_flg ? QStringLiteral("Sucess - Logger is Connected")
                                            : QStringLiteral("Logger is Disconnected"));
    };
    try {
        if (session.Connect_flg) {
            if (!DISConnect(session, index, /*showMessages=*/false, /*closePort=*/true))
                session.Connect_flg = false;
        } else {
            if (timers) {
                timers->setBlinking(true);
                timers->setMonitoring(false);
            }
            if (!Connect(session, index, /*showMessages=*/false))
                session.Connect_flg = false;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return session.Connect_flg;
}

QString comOpenButton(Session &session)
{
    if (session.Selected_index < 0)
        return {};
    OperationGuard guard(session);
    if (guard.refused())
        return {};
    if (portOpen(session)) {
        ComportOpenDISConnect(session, session.Selected_index);
        return QStringLiteral("ComOpen");
    }
    ComportOpenConnect(session, session.Selected_index, /*showMessages=*/true);
    return QStringLiteral("ComClose");
}

bool terminalDisconnectButton(Session &session)
{
    OperationGuard guard(session);
    if (guard.refused())
        return false;
    if (!portOpen(session)) {
        session.message(QStringLiteral("Open Comport."));
        return false;
    }
    return DISConnect(session, session.Selected_index, /*showMessages=*/false, /*closePort=*/true);
}

} // namespace kvl
