#include "ClassStation.h"

#include "ClassGate.h"
#include "ClassMessage.h"
#include "ClassRecord.h"
#include "FinderAddress.h"
#include "NetworkSettings.h"
#include "OpenConnections.h"
#include "RosterDatagram.h"
#include "StationListener.h"

#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

TClassStation::TClassStation(QObject *parent)
    : QObject(parent)
    , m_roster(new QUdpSocket(this))
    , m_server(new QTcpServer(this))
{
    connect(m_roster, &QUdpSocket::readyRead, this, &TClassStation::ReadRoster);
    connect(m_server, &QTcpServer::newConnection, this, &TClassStation::NewConnection);
    m_clock.start();
}

TClassStation::~TClassStation()
{
    for (QTcpSocket *socket : m_server->findChildren<QTcpSocket *>())
        socket->disconnect(this);
}

bool TClassStation::Open()
{
    m_subnetBroadcasts = FinderAddress::SubnetBroadcasts();
    const QHostAddress address = m_address.isNull() ? QHostAddress(QHostAddress::AnyIPv4) : m_address;
    m_error.clear();
    if (m_roster->state() != QAbstractSocket::BoundState
        && !m_roster->bind(address, m_port, QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
        m_error = m_roster->errorString();
    if (!m_server->isListening() && !m_server->listen(address, m_port))
        m_error = TStationListener::ListenProblem(m_server->serverError());
    return m_error.isEmpty();
}

void TClassStation::Close()
{
    m_roster->close();
    m_server->close();
    for (QTcpSocket *socket : m_server->findChildren<QTcpSocket *>())
        socket->abort();
}

QStringList TClassStation::Settings() const
{
    return m_settings ? m_settings() : QStringList();
}

void TClassStation::ReadRoster()
{
    while (m_roster->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_roster->receiveDatagram(TRosterDatagram::MaxBytes + 1);
        AnswerRoster(datagram.data(), datagram.senderAddress(), datagram.senderPort());
    }
}

void TClassStation::AnswerRoster(const QByteArray &bytes, const QHostAddress &sender, int senderPort)
{
    const auto question = TRosterDatagram::Decode(bytes);
    const QHostAddress from = FinderAddress::PlainIPv4(sender);
    const QStringList settings = Settings();
    if (!question || question->kind != TRosterDatagram::TKind::Question || !FinderAddress::IsStation(from, m_subnetBroadcasts)
        || senderPort <= 0 || senderPort > 65535
        || !ClassGate::Takes(settings, question->classCode, from.toString(), ClassGate::TAsk::Roster)
        || !m_budget.Take(from.toIPv4Address(), m_clock.elapsed())) {
        ++m_refused;
        return;
    }
    TRosterDatagram answer;
    answer.kind = TRosterDatagram::TKind::Answer;
    answer.searchId = question->searchId;
    answer.classCode = question->classCode;
    answer.name = NetworkEntry(settings, NetworkSettingsIndex::OwnName);
    answer.receiveMode = static_cast<int>(ReceiveModeOf(settings));
    const int page = m_page ? m_page() : 0;
    answer.page = page >= 0 && page <= TRosterDatagram::MaxPage ? page : 0;
    m_roster->writeDatagram(answer.Encode(), from, static_cast<quint16>(senderPort));
    ++m_answered;
}

void TClassStation::NewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        const QString peer = TStationListener::PeerText(*socket);
        if (OpenConnections::OverCap(*m_server, peer, MaxConnections, MaxConnectionsPerPeer)) {
            ++m_refused;
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto reader = std::make_shared<TClassFrameReader>();
        QTimer::singleShot(MaxConnectionMs, socket, &QTcpSocket::abort);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, reader] {
            // Never more than one frame's bytes are held: the reader turns bad first.
            const qint64 room = TClassMessage::HeaderBytes + TClassMessage::MaxBodyBytes + 1;
            const auto state = reader->Feed(socket->read(room));
            if (state == TClassFrameReader::TState::Bad) {
                ++m_refused;
                socket->abort();
            } else if (state == TClassFrameReader::TState::Done && socket->property("answered").isNull()) {
                socket->setProperty("answered", true);
                Handle(socket, *reader->Message());
            }
        });
    }
}

void TClassStation::Handle(QTcpSocket *socket, const TClassMessage &request)
{
    const QString peer = TStationListener::PeerText(*socket);
    const QStringList settings = Settings();
    const bool program = request.kind == TClassMessage::TKind::Program;
    const bool collect = request.kind == TClassMessage::TKind::Collect;
    const auto ask = program ? ClassGate::TAsk::Program : ClassGate::TAsk::Collect;
    const auto record = program ? ClassRecord::Check(request.records.value(0)) : std::nullopt;
    if (!(program || collect) || !ClassGate::Takes(settings, request.classCode, peer, ask) || (program && !record)) {
        ++m_refused;
        socket->abort();
        return;
    }
    TClassMessage answer;
    if (program) {
        answer.kind = TClassMessage::TKind::Taken;
    } else {
        answer.kind = TClassMessage::TKind::Work;
        answer.name = NetworkEntry(settings, NetworkSettingsIndex::OwnName);
        answer.records = m_records ? m_records() : QList<QByteArray>();
    }
    socket->write(answer.Encode());
    socket->disconnectFromHost();
    ++m_answered;
    if (program)
        Q_EMIT ProgramArrived(record->lines);
    else
        Q_EMIT WorkCollected();
}
