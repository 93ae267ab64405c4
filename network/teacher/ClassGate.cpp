#include "ClassGate.h"

#include "NetworkSettings.h"

namespace ClassGate {

bool Takes(const QStringList &settings, const QString &classCode, const QString &peer, TAsk ask)
{
    const QString own = NetworkEntry(settings, NetworkSettingsIndex::ClassCode);
    if (own.isEmpty() || own != classCode)
        return false;
    return ask == TAsk::Roster || AcceptsConnectionFrom(settings, peer);
}

} // namespace ClassGate
