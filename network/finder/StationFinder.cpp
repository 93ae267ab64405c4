#include "StationFinder.h"

#include "FinderAddress.h"
#include "WireField.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QTimer>
#include <QUdpSocket>

namespace {
// Several stations on one computer, each pinned to its own loopback address:
// the neighbours of one pinned to 127.R.S.x are 127.R.S.1 to 254; without a
// pinned address, 127.0.0.1 to 254.
QList<QHostAddress> LoopbackNeighbours(const QHostAddress &station)
{
    bool ipv4 = false;
    const quint32 address = station.toIPv4Address(&ipv4);
    const quint32 network = ipv4 && station.isLoopback() ? (address & 0xFFFFFF00u) : (127u << 24);
    QList<QHostAddress> targets;
    for (quint32 host = 1; host <= 254; ++host)
        targets.append(QHostAddress(network | host));
    return targets;
}

bool UsableIPv4(const QHostAddress &ip)
{
    return ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback() && !ip.isLinkLocal();
}

// The broadcast address of the interface holding `station`, or of the first
// interface that gives the station its own address when it is not pinned.
QHostAddress BroadcastFor(const QHostAddress &station)
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &iface : interfaces) {
        const auto flags = iface.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning)
            || (flags & QNetworkInterface::IsLoopBack) || !(flags & QNetworkInterface::CanBroadcast))
            continue;
        for (const QNetworkAddressEntry &entry : iface.addressEntries()) {
            if (!UsableIPv4(entry.ip()) || (!station.isNull() && entry.ip() != station))
                continue;
            if (!entry.broadcast().isNull())
                return entry.broadcast();
        }
    }
    return {};
}
} // namespace

TStationFinder::TStationFinder(QObject *parent)
    : QObject(parent)
    , m_socket(new QUdpSocket(this))
    , m_finish(new QTimer(this))
{
    m_finish->setSingleShot(true);
    m_finish->setInterval(SearchMs);
    connect(m_finish, &QTimer::timeout, this, [this] {
        m_searchId = 0;
        Q_EMIT SearchFinished();
    });
    connect(m_socket, &QUdpSocket::readyRead, this, &TStationFinder::Read);
    m_running.start();
}

TStationFinder::~TStationFinder() = default;

QList<QHostAddress> TStationFinder::NeighbourTargets(const QHostAddress &station)
{
    if (station.isLoopback())
        return LoopbackNeighbours(station);
    const QHostAddress broadcast = BroadcastFor(station);
    // Without a network only the stations of this computer can be reached.
    return broadcast.isNull() ? LoopbackNeighbours({}) : QList<QHostAddress>{broadcast};
}

void TStationFinder::SetSearchMs(int ms)
{
    m_finish->setInterval(ms);
}

bool TStationFinder::IsOpen() const
{
    return m_socket->state() == QAbstractSocket::BoundState;
}

bool TStationFinder::Open()
{
    if (IsOpen())
        return m_socket->localPort() == m_port;
    m_subnetBroadcasts = FinderAddress::SubnetBroadcasts();
    if (Bind())
        return true;
    m_error = m_socket->errorString();
    // Another program holds the port: this station cannot be found, but it can
    // still search from a port of the system's choosing.
    m_socket->close();
    m_socket->bind(m_bindAddress.isLoopback() ? m_bindAddress : QHostAddress(QHostAddress::AnyIPv4), 0);
    return false;
}

bool TStationFinder::Bind()
{
    m_error.clear();
    // A station pinned to a loopback address is one of several on this
    // computer and must keep to its own address. Otherwise every address is
    // bound: a socket bound to one address never sees the broadcast questions.
    const QHostAddress address = m_bindAddress.isLoopback() ? m_bindAddress : QHostAddress(QHostAddress::AnyIPv4);
    return m_socket->bind(address, m_port, QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
}

void TStationFinder::Close()
{
    m_finish->stop();
    m_searchId = 0;
    m_socket->close();
}

bool TStationFinder::IsSearching() const
{
    return m_searchId != 0;
}

bool TStationFinder::Search(const QString &classCode)
{
    Open();
    if (!IsOpen())
        return false;
    m_searchCode = classCode.left(TFinderDatagram::MaxClassCodeLength);
    m_found.clear();
    m_searchId = WireField::NewSearchId();
    const quint32 id = m_searchId;
    for (const int at : AskAtMs) {
        if (at == 0)
            Ask(id);
        else
            QTimer::singleShot(at, this, [this, id] { Ask(id); });
    }
    m_finish->start();
    return true;
}

TFinderIdentity TStationFinder::Identity() const
{
    return m_identity ? m_identity() : TFinderIdentity{};
}

void TStationFinder::Ask(quint32 searchId)
{
    if (searchId != m_searchId || !IsOpen())
        return;
    TFinderDatagram question;
    question.kind = TFinderDatagram::TKind::Question;
    question.searchId = searchId;
    question.classCode = m_searchCode;
    const TFinderIdentity own = Identity();
    question.name = own.name;
    question.address = own.address;
    const QByteArray bytes = question.Encode();
    const QList<QHostAddress> targets = m_targets.isEmpty() ? NeighbourTargets(m_bindAddress) : m_targets;
    for (const QHostAddress &target : targets)
        m_socket->writeDatagram(bytes, target, m_port);
}

void TStationFinder::Read()
{
    while (m_socket->hasPendingDatagrams()) {
        // Read at most one byte over the cap: anything longer is refused whole.
        const QNetworkDatagram datagram = m_socket->receiveDatagram(TFinderDatagram::MaxBytes + 1);
        Handle(datagram.data(), datagram.senderAddress(), datagram.senderPort());
    }
}

qint64 TStationFinder::Now() const
{
    return m_clock ? m_clock() : m_running.elapsed();
}

void TStationFinder::Handle(const QByteArray &bytes, const QHostAddress &sender, int senderPort)
{
    const auto datagram = TFinderDatagram::Decode(bytes);
    const QHostAddress from = FinderAddress::PlainIPv4(sender);
    // A forged sender of many computers is neither answered nor listed.
    if (!datagram || !FinderAddress::IsStation(from, m_subnetBroadcasts)) {
        ++m_ignored;
        return;
    }
    if (datagram->kind == TFinderDatagram::TKind::Question)
        Answer(*datagram, from, senderPort);
    else
        Take(*datagram, from);
}

void TStationFinder::Answer(const TFinderDatagram &question, const QHostAddress &sender, int senderPort)
{
    const TFinderIdentity own = Identity();
    // Its own question comes back to a station that asks itself or broadcasts.
    const bool ownQuestion = question.searchId == m_searchId && m_searchId != 0;
    if (ownQuestion || !own.answering || question.classCode != own.classCode || own.address.isEmpty()
        || senderPort <= 0 || senderPort > 65535 || !m_budget.Take(sender.toIPv4Address(), Now())) {
        ++m_ignored;
        return;
    }
    TFinderDatagram answer;
    answer.kind = TFinderDatagram::TKind::Answer;
    answer.searchId = question.searchId;
    answer.classCode = own.classCode;
    answer.name = own.name;
    answer.address = own.address;
    m_socket->writeDatagram(answer.Encode(), sender, static_cast<quint16>(senderPort));
    ++m_answered;
}

void TStationFinder::Take(const TFinderDatagram &answer, const QHostAddress &sender)
{
    // The address written in the answer stays on the wire for the stations
    // that read it, but a station is reached where its answer came from.
    const QString address = sender.toString();
    if (m_searchId == 0 || answer.searchId != m_searchId || answer.classCode != m_searchCode
        || address == Identity().address || m_found.contains(address)) {
        ++m_ignored;
        return;
    }
    m_found.append(address);
    Q_EMIT Found(TFoundStation{answer.name, address});
}
