#include "NetworkSettings.h"

using namespace NetworkSettingsIndex;

QString NetworkEntry(const QStringList &settings, int index)
{
    return index >= 0 && index < settings.size() ? settings.at(index) : QString();
}

int RegisteredStation(const QStringList &settings, const QString &address)
{
    if (address.isEmpty())
        return 0;
    for (int k = 1; k <= StationCount; ++k) {
        if (NetworkEntry(settings, Address(k)) == address)
            return k;
    }
    return 0;
}

QString StationNameFor(const QStringList &settings, const QString &address)
{
    const int k = RegisteredStation(settings, address);
    const QString name = k ? NetworkEntry(settings, Name(k)) : QString();
    // A registered address without a name would otherwise vanish from the log.
    return name.isEmpty() ? address : name;
}

TReceiveMode ReceiveModeOf(const QStringList &settings)
{
    const QString mode = NetworkEntry(settings, ReceiveMode);
    if (mode == QLatin1String("1"))
        return TReceiveMode::AcceptAll;
    if (mode == QLatin1String("2"))
        return TReceiveMode::AcceptRegistered;
    return TReceiveMode::AcceptNone;
}
