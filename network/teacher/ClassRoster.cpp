#include "ClassRoster.h"

#include "FinderAddress.h"
#include "RosterDatagram.h"
#include "StationFinder.h"
#include "WireField.h"

#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

TClassRoster::TClassRoster(QObject *parent)
    : QObject(parent)
    , m_socket(new QUdpSocket(this))
{
    connect(m_socket, &QUdpSocket::readyRead, this, &TClassRoster::Read);
}

bool TClassRoster::Bind()
{
    if (m_socket->state() == QAbstractSocket::BoundState)
        return true;
    const QHostAddress address = m_bindAddress.isNull() ? QHostAddress(QHostAddress::AnyIPv4) : m_bindAddress;
    return m_socket->bind(address, 0);
}

bool TClassRoster::Ask(const QString &classCode)
{
    const QString code = classCode.left(TRosterDatagram::MaxClassCodeLength);
    if (code != m_classCode) {
        m_classCode = code;
        m_rows.clear();
        m_recentIds.clear();
        Q_EMIT Changed();
    }
    if (code.isEmpty() || !Bind())
        return false;
    m_searchId = WireField::NewSearchId();
    // Answers to the question before this one are still welcome: they come late on a busy network.
    m_recentIds.append(m_searchId);
    while (m_recentIds.size() > 4)
        m_recentIds.removeFirst();
    const quint32 id = m_searchId;
    Send(id);
    for (const int at : AskAgainMs)
        QTimer::singleShot(at, this, [this, id] { Send(id); });
    return true;
}

void TClassRoster::Send(quint32 searchId)
{
    if (searchId != m_searchId)
        return;
    TRosterDatagram question;
    question.searchId = searchId;
    question.classCode = m_classCode;
    const QByteArray bytes = question.Encode();
    const QList<QHostAddress> targets = m_targets.isEmpty() ? TStationFinder::NeighbourTargets(m_bindAddress) : m_targets;
    for (const QHostAddress &target : targets)
        m_socket->writeDatagram(bytes, target, m_port);
}

void TClassRoster::Read()
{
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram(TRosterDatagram::MaxBytes + 1);
        Take(datagram.data(), datagram.senderAddress());
    }
}

void TClassRoster::Take(const QByteArray &bytes, const QHostAddress &sender)
{
    const auto answer = TRosterDatagram::Decode(bytes);
    const QHostAddress from = FinderAddress::PlainIPv4(sender);
    if (!answer || answer->kind != TRosterDatagram::TKind::Answer || !m_recentIds.contains(answer->searchId)
        || answer->classCode != m_classCode || !FinderAddress::IsStation(from, {}))
        return;
    const QString address = from.toString();
    auto row = std::find_if(m_rows.begin(), m_rows.end(), [&address](const TClassRow &r) { return r.address == address; });
    if (row == m_rows.end()) {
        if (m_rows.size() >= MaxRows)
            return;
        m_rows.append(TClassRow{});
        row = m_rows.end() - 1;
        row->address = address;
    }
    row->name = answer->name;
    row->receiveMode = answer->receiveMode;
    row->page = answer->page;
    row->lastAnswered = QDateTime::currentDateTime();
    Q_EMIT Changed();
}
