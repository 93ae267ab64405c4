#include "FinderAddress.h"

#include <QNetworkInterface>

namespace FinderAddress {

QHostAddress PlainIPv4(const QHostAddress &address)
{
    bool ipv4 = false;
    const quint32 value = address.toIPv4Address(&ipv4);
    return ipv4 ? QHostAddress(value) : QHostAddress();
}

bool IsStation(const QHostAddress &address, const QList<QHostAddress> &subnetBroadcasts)
{
    const QHostAddress plain = PlainIPv4(address);
    if (plain.isNull())
        return false;
    const quint32 value = plain.toIPv4Address();
    const quint32 first = value >> 24;
    // 0.0.0.0/8 is "this network", 224/4 multicast and 240/4 (with
    // 255.255.255.255) reserved and broadcast: none of them is one computer.
    if (first == 0 || first >= 224)
        return false;
    return !subnetBroadcasts.contains(plain);
}

QList<QHostAddress> SubnetBroadcasts()
{
    QList<QHostAddress> broadcasts;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &iface : interfaces) {
        for (const QNetworkAddressEntry &entry : iface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !entry.broadcast().isNull())
                broadcasts.append(entry.broadcast());
        }
    }
    return broadcasts;
}

} // namespace FinderAddress
