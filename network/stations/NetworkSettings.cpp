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

QString ReceiveModeText(TReceiveMode mode)
{
    return QString::number(static_cast<int>(mode));
}

void SetReceiveMode(QStringList &settings, TReceiveMode mode)
{
    if (settings.size() <= ReceiveMode)
        settings.resize(EntryCount);
    settings[ReceiveMode] = ReceiveModeText(mode);
}

TReceiveMode ReceiveModeOf(const QStringList &settings)
{
    const QString mode = NetworkEntry(settings, ReceiveMode);
    for (const TReceiveMode known : {TReceiveMode::AcceptAll, TReceiveMode::AcceptRegistered}) {
        if (mode == ReceiveModeText(known))
            return known;
    }
    return TReceiveMode::AcceptNone;
}

bool AcceptsConnectionFrom(const QStringList &settings, const QString &peer)
{
    switch (ReceiveModeOf(settings)) {
    case TReceiveMode::AcceptAll:
        return true;
    case TReceiveMode::AcceptRegistered:
        return RegisteredStation(settings, peer) != 0;
    case TReceiveMode::AcceptNone:
        break;
    }
    return false;
}

bool StationSettingsComplete(const QStringList &settings, int k)
{
    for (const int entry : {Name(k), ThirdPart(k), FourthPart(k)}) {
        if (NetworkEntry(settings, entry).isEmpty())
            return false;
    }
    return true;
}
