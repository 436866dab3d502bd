#include "registry/modemtype.h"

#include "registry/deviceregistry.h"

namespace kvl {

int MdoemTypeFind(const QString &modemType)
{
    if (modemType == u"H315k")
        return ModemKind::H315k;
    if (modemType == u"JT004")
        return ModemKind::JT004;
    if (modemType == u"N-Warden")
        return ModemKind::NWarden;
    if (modemType == u"B/T(QN305)")
        return ModemKind::BT_QN305;
    if (modemType == u"etc")
        return ModemKind::Etc;
    if (modemType == u"MRX-417")
        return ModemKind::MRX417;
    return ModemKind::Direct;
}

int MdoemTypeFind(const DeviceRegistry &registry, int index)
{
    if (index < 0 || index >= DeviceRegistry::SlotCount)
        return ModemKind::Direct;
    return MdoemTypeFind(registry[index].ModemSet.ModemType);
}

qint32 communicationForModemType(const QString &modemType)
{
    if (modemType.contains(u"Direct"))
        return 0;
    if (modemType.contains(u"IP"))
        return 3;
    if (modemType.contains(u"417"))
        return 2;
    return 0;
}

QString communicationName(qint32 communication)
{
    switch (communication) {
    case 0:
        return QStringLiteral("Serial");
    case 1:
        return QStringLiteral("CDMA");
    case 2:
        return QStringLiteral("LTE");
    case 3:
        return QStringLiteral("TCP");
    default:
        return {};
    }
}

} // namespace kvl
