#include "OpenConnections.h"

#include "StationListener.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace OpenConnections {

int Count(const QTcpServer &server)
{
    int count = 0;
    for (const QTcpSocket *socket : server.findChildren<QTcpSocket *>())
        count += socket->state() == QAbstractSocket::ConnectedState ? 1 : 0;
    return count;
}

int From(const QTcpServer &server, const QString &peer)
{
    int count = 0;
    for (const QTcpSocket *socket : server.findChildren<QTcpSocket *>()) {
        if (socket->state() == QAbstractSocket::ConnectedState && TStationListener::PeerText(*socket) == peer)
            ++count;
    }
    return count;
}

bool OverCap(const QTcpServer &server, const QString &peer, int max, int maxPerPeer)
{
    return Count(server) > max || From(server, peer) > maxPerPeer;
}

} // namespace OpenConnections
