#pragma once

#include <QString>

class QTcpServer;

// The connections a listening server has open. Both of the station's
// listeners refuse a new connection past a cap, in all and per remote
// address, so that a misbehaving station costs a bounded number of handles.
namespace OpenConnections {

int Count(const QTcpServer &server);
// Those whose remote address is `peer` (plain IPv4 text).
int From(const QTcpServer &server, const QString &peer);
// Whether the connection just taken from `peer`, counted among the open
// ones already, is one more than `max` in all or `maxPerPeer` from `peer`.
bool OverCap(const QTcpServer &server, const QString &peer, int max, int maxPerPeer);

} // namespace OpenConnections
