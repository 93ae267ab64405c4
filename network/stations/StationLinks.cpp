#include "StationLinks.h"

#include "Cp932.h"

#include <QSignalBlocker>
#include <QTcpSocket>

TStationLinks::TStationLinks(quint16 port, QObject *parent)
    : QObject(parent)
{
    m_ports.fill(port);
    for (int k = 1; k <= LinkCount; ++k) {
        m_links.at(Index(k)) = new QTcpSocket(this);
        Watch(k);
    }
}

TStationLinks::~TStationLinks()
{
    // A link closed by its own deletion must not report to a half-destroyed owner.
    for (QTcpSocket *link : m_links)
        link->disconnect(this);
}

void TStationLinks::Watch(int k)
{
    QTcpSocket *link = Link(k);
    connect(link, &QTcpSocket::connected, this, [this, k] { Q_EMIT Connected(k); });
    connect(link, &QTcpSocket::disconnected, this, [this, k] {
        m_unsent.at(Index(k)) = 0;
        Q_EMIT Closed(k);
    });
    connect(link, &QTcpSocket::errorOccurred, this, [this, k](QAbstractSocket::SocketError error) {
        // A remote close is reported by the disconnection that follows it.
        if (error == QAbstractSocket::RemoteHostClosedError)
            return;
        m_unsent.at(Index(k)) = 0;
        Q_EMIT Failed(k, error);
    });
    connect(link, &QTcpSocket::bytesWritten, this, [this, k](qint64 bytes) {
        qint64 &unsent = m_unsent.at(Index(k));
        unsent -= bytes;
        if (unsent <= 0) {
            unsent = 0;
            Q_EMIT Sent(k);
        }
    });
}

void TStationLinks::SetStationPort(int k, quint16 port)
{
    if (k >= 1 && k <= LinkCount)
        m_ports.at(Index(k)) = port;
}

bool TStationLinks::Connect(int k, const QString &address)
{
    QHostAddress parsed;
    if (!parsed.setAddress(address) || parsed.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    QTcpSocket *link = Link(k);
    if (InUse(k)) {
        if (link->peerName() == address && link->peerPort() == Port(k))
            return true;
        // The station's address changed since: the old link goes quietly.
        const QSignalBlocker quiet(link);
        link->abort();
    }
    m_unsent.at(Index(k)) = 0;
    if (!m_source.isNull())
        link->bind(m_source);
    Q_EMIT Connecting(k);
    link->connectToHost(parsed, Port(k));
    return true;
}

void TStationLinks::Close(int k)
{
    Link(k)->abort();
}

bool TStationLinks::InUse(int k) const
{
    return Link(k)->state() != QAbstractSocket::UnconnectedState;
}

bool TStationLinks::IsConnected(int k) const
{
    return Link(k)->state() == QAbstractSocket::ConnectedState;
}

bool TStationLinks::Send(int k, const QString &text)
{
    if (!IsConnected(k))
        return false;
    const QByteArray bytes = Cp932::Encode(text);
    m_unsent.at(Index(k)) += bytes.size();
    return Link(k)->write(bytes) == bytes.size();
}
