#include "StationListener.h"

#include "Cp932.h"
#include "OpenConnections.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

TStationListener::TStationListener(quint16 port, QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
    , m_port(port)
{
    connect(m_server, &QTcpServer::newConnection, this, &TStationListener::NewConnection);
}

TStationListener::~TStationListener()
{
    // Connections must not report their closing to a half-destroyed owner.
    for (QTcpSocket *socket : m_server->findChildren<QTcpSocket *>())
        socket->disconnect(this);
}

bool TStationListener::Open()
{
    if (m_server->isListening())
        return true;
    if (m_server->listen(m_address, m_port)) {
        m_error.clear();
        return true;
    }
    m_error = ListenProblem(m_server->serverError());
    return false;
}

QString TStationListener::ListenProblem(QAbstractSocket::SocketError error)
{
    // Qt's own texts are English; the teacher reads these on the page.
    switch (error) {
    case QAbstractSocket::AddressInUseError:
        return QStringLiteral("他のソフトが使っています");
    case QAbstractSocket::SocketAccessError:
        return QStringLiteral("使う権限がありません");
    case QAbstractSocket::SocketAddressNotAvailableError:
        return QStringLiteral("このコンピュータのアドレスではありません");
    case QAbstractSocket::SocketResourceError:
        return QStringLiteral("コンピュータの資源が足りません");
    default:
        return QStringLiteral("ネットワークが使えません");
    }
}

void TStationListener::Close()
{
    m_server->close();
    CloseConnectionsUnless([](const QString &) { return false; });
}

bool TStationListener::IsOpen() const
{
    return m_server->isListening();
}

int TStationListener::ConnectionCount() const
{
    return OpenConnections::Count(*m_server);
}

void TStationListener::CloseConnectionsUnless(const std::function<bool(const QString &)> &keep)
{
    for (QTcpSocket *socket : m_server->findChildren<QTcpSocket *>()) {
        if (socket->state() == QAbstractSocket::ConnectedState && !keep(PeerText(*socket)))
            socket->abort();
    }
}

QString TStationListener::PeerText(const QTcpSocket &socket)
{
    const QHostAddress peer = socket.peerAddress();
    bool mapped = false;
    const quint32 v4 = peer.toIPv4Address(&mapped);
    return mapped ? QHostAddress(v4).toString() : peer.toString();
}

void TStationListener::NewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        const QString peer = PeerText(*socket);
        if (OpenConnections::OverCap(*m_server, peer, m_maxConnections, m_maxPerPeer)) {
            ++m_capped;
            socket->abort();
            socket->deleteLater();
            continue;
        }
        if (m_filter && !m_filter(peer)) {
            Q_EMIT Rejected(peer);
            socket->abort();
            socket->deleteLater();
            Q_EMIT Closed(peer);
            continue;
        }
        auto *idle = new QTimer(socket);
        idle->setSingleShot(true);
        idle->setInterval(m_idleMs);
        connect(idle, &QTimer::timeout, socket, &QTcpSocket::abort);
        idle->start();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, idle] {
            idle->start();
            Read(socket);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket, peer] {
            Release(socket);
            Q_EMIT Closed(peer);
        });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, peer](QAbstractSocket::SocketError error) {
            // A remote close is reported by its disconnection.
            if (error != QAbstractSocket::RemoteHostClosedError)
                Q_EMIT ConnectionError(peer);
        });
        Q_EMIT Accepted(peer);
    }
}

void TStationListener::Release(QTcpSocket *socket)
{
    if (m_reading.contains(socket)) {
        if (!m_closedWhileReading.contains(socket))
            m_closedWhileReading.append(socket);
        return;
    }
    socket->deleteLater();
}

void TStationListener::Read(QTcpSocket *socket)
{
    const qint64 waiting = socket->bytesAvailable();
    if (waiting <= 0)
        return;
    if (waiting > m_readCap) {
        socket->skip(waiting);
        ++m_dropped;
        socket->abort();
        return;
    }
    const QByteArray bytes = socket->readAll();
    ++m_received;
    m_reading.append(socket);
    Q_EMIT Received(PeerText(*socket), Cp932::Decode(bytes));
    m_reading.removeOne(socket);
    if (!m_reading.contains(socket) && m_closedWhileReading.removeOne(socket))
        socket->deleteLater();
}
