#pragma once

#include <QAbstractSocket>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <array>

class QTcpSocket;

// The outgoing connections of one station port: one link to each of the six
// registered stations. The network page sends its commands on one set, the
// message window its messages on another. It connects, keeps a link that is
// asked for again, sends text in code page 932, and reports what happens to
// each link by signals; the screens only show what it reports.
class TStationLinks : public QObject {
    Q_OBJECT
public:
    static constexpr int LinkCount = 6;

    TStationLinks(quint16 port, QObject *parent);
    ~TStationLinks() override;

    // Every link goes to `port`; tests run stations side by side on free ports.
    void SetPort(quint16 port) { m_ports.fill(port); }
    // Link k (1 to 6) alone to another port, so one test station can be unreachable.
    void SetStationPort(int k, quint16 port);
    quint16 Port(int k) const { return m_ports.at(Index(k)); }
    // The links leave from this address, so a station pinned to one address
    // is seen at it by the others.
    void SetSourceAddress(const QHostAddress &address) { m_source = address; }

    // Opens link k to `address`, dotted IPv4 text. A link already open or
    // opening to the same address and port is kept; one to another station
    // is dropped without a report first. False, changing nothing, when
    // `address` is not an IPv4 address.
    bool Connect(int k, const QString &address);
    // Drops link k at once; a link that was open reports Closed.
    void Close(int k);
    // Connected, or on its way there.
    bool InUse(int k) const;
    bool IsConnected(int k) const;
    // Sends `text` in one piece on link k. A link that is not open sends
    // nothing and says false.
    bool Send(int k, const QString &text);

Q_SIGNALS:
    // A new link to station k is being made.
    void Connecting(int k);
    void Connected(int k);
    // The link could not be made, or broke otherwise than by the other
    // station closing it; an open link that breaks reports Closed as well.
    void Failed(int k, QAbstractSocket::SocketError reason);
    // An open link ended: the other station closed it, or Close did.
    void Closed(int k);
    // Everything asked of Send on link k has been handed to the system.
    void Sent(int k);

private:
    static size_t Index(int k) { return static_cast<size_t>(k - 1); }
    QTcpSocket *Link(int k) const { return m_links.at(Index(k)); }
    void Watch(int k);

    std::array<QTcpSocket *, LinkCount> m_links{};
    std::array<quint16, LinkCount> m_ports{};
    std::array<qint64, LinkCount> m_unsent{};
    QHostAddress m_source;
};
