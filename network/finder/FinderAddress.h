#pragma once

#include <QHostAddress>
#include <QList>

// The addresses a finder lists and answers: a station is one computer, so an
// address that stands for many (broadcast, multicast) or for none (0.0.0.0)
// is never a station, whatever a datagram claims.
namespace FinderAddress {
// The IPv4 form of `address` (an IPv4-mapped IPv6 address unwrapped); null when it has none.
QHostAddress PlainIPv4(const QHostAddress &address);
// Whether `address` can be one station, given the broadcast addresses of this computer's networks.
bool IsStation(const QHostAddress &address, const QList<QHostAddress> &subnetBroadcasts);
// The broadcast addresses of the networks this computer is on now.
QList<QHostAddress> SubnetBroadcasts();
} // namespace FinderAddress
