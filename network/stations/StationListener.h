#pragma once

#include <QAbstractSocket>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QTcpServer;
class QTcpSocket;

// The listening side of one station port. Every read of a connection is one
// message, decoded from code page 932. A read larger than the cap is dropped
// and its connection closed: nothing of this system is that long, and the
// rest of it would arrive as further reads that could pass for messages.
class TStationListener : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 ReadCap = 64 * 1024;
    // A classroom mishap (a station looping on connect, a forgotten test
    // tool) must not use up the program's file handles: connections beyond
    // this many are refused at once, and one that says nothing this long is closed.
    static constexpr int MaxConnections = 64;
    static constexpr int IdleMs = 60 * 1000;
    // Nor may one computer take them all and keep the class out: a station
    // needs at most six at once (one per slot or destination).
    static constexpr int MaxConnectionsPerPeer = 16;

    TStationListener(quint16 port, QObject *parent);
    ~TStationListener() override;

    void SetPort(quint16 port) { m_port = port; }
    void SetReadCap(qint64 bytes) { m_readCap = bytes; }
    void SetMaxConnections(int count) { m_maxConnections = count; }
    void SetMaxConnectionsPerPeer(int count) { m_maxPerPeer = count; }
    void SetIdleTimeout(int ms) { m_idleMs = ms; }
    quint16 Port() const { return m_port; }
    void SetListenAddress(const QHostAddress &address) { m_address = address; }

    // Decides for each new connection whether it is kept.
    void SetAcceptFilter(std::function<bool(const QString &peer)> filter) { m_filter = std::move(filter); }

    // Listens if not yet listening; false with ErrorText() when the port cannot be had.
    bool Open();
    // Stops listening and closes every incoming connection.
    void Close();
    bool IsOpen() const;
    // Why the last Open failed, in the teacher's words.
    QString ErrorText() const { return m_error; }
    static QString ListenProblem(QAbstractSocket::SocketError error);

    // Closes the incoming connections whose remote address fails `keep`.
    void CloseConnectionsUnless(const std::function<bool(const QString &peer)> &keep);
    int ConnectionCount() const;
    // Reads handed on as messages, and reads dropped for their size, since creation.
    qint64 ReceivedCount() const { return m_received; }
    qint64 DroppedCount() const { return m_dropped; }
    // Connections refused because MaxConnections were already open, in all or from their peer.
    qint64 CappedCount() const { return m_capped; }

    // Plain IPv4 text of a socket's remote side.
    static QString PeerText(const QTcpSocket &socket);

Q_SIGNALS:
    void Accepted(const QString &peer);
    // Emitted for a refused connection, before its Closed.
    void Rejected(const QString &peer);
    void Received(const QString &peer, const QString &text);
    void Closed(const QString &peer);
    void ConnectionError(const QString &peer);

private:
    void NewConnection();
    void Read(QTcpSocket *socket);
    void Release(QTcpSocket *socket);

    QTcpServer *m_server;
    quint16 m_port;
    QHostAddress m_address = QHostAddress::AnyIPv4;
    std::function<bool(const QString &)> m_filter;
    QString m_error;
    qint64 m_readCap = ReadCap;
    int m_maxConnections = MaxConnections;
    int m_maxPerPeer = MaxConnectionsPerPeer;
    int m_idleMs = IdleMs;
    // Sockets whose data is being handed on right now. A receiver may run a
    // nested event loop (a lamp transfer waits in one); a socket that closes
    // meanwhile is deleted only once its read has returned, never under it.
    QList<QTcpSocket *> m_reading;
    QList<QTcpSocket *> m_closedWhileReading;
    qint64 m_received = 0;
    qint64 m_dropped = 0;
    qint64 m_capped = 0;
};
