#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QUdpSocket>

// A port number free both for UDP and for TCP on `station`: a class's
// stations take the list on the one and programs and work on the other.
inline quint16 FreeClassPort(const QHostAddress &station)
{
    for (;;) {
        QUdpSocket udp;
        udp.bind(QHostAddress::LocalHost, 0);
        QTcpServer tcp;
        if (tcp.listen(station, udp.localPort()))
            return udp.localPort();
    }
}
