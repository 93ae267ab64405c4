#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <functional>

class QTcpServer;
class QTcpSocket;

// The listening side of one station port. Every read of a connection is one
// message, decoded from code page 932; a read larger than the cap is dropped
// whole, so a flood cannot grow the log or reach the lamp.
class TStationListener : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 ReadCap = 64 * 1024;

    TStationListener(quint16 port, QObject *parent);
    ~TStationListener() override;

    void SetPort(quint16 port) { m_port = port; }
    quint16 Port() const { return m_port; }
    void SetListenAddress(const QHostAddress &address) { m_address = address; }

    // Decides for each new connection whether it is kept.
    void SetAcceptFilter(std::function<bool(const QString &peer)> filter) { m_filter = std::move(filter); }

    // Listens if not yet listening; false with ErrorText() when the port cannot be had.
    bool Open();
    // Stops listening and closes every incoming connection.
    void Close();
    bool IsOpen() const;
    QString ErrorText() const { return m_error; }

    // Closes the incoming connections whose remote address fails `keep`.
    void CloseConnectionsUnless(const std::function<bool(const QString &peer)> &keep);
    int ConnectionCount() const;

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

    QTcpServer *m_server;
    quint16 m_port;
    QHostAddress m_address = QHostAddress::AnyIPv4;
    std::function<bool(const QString &)> m_filter;
    QString m_error;
};
