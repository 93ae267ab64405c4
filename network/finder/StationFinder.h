#pragma once

#include "AnswerBudget.h"
#include "FinderDatagram.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class QTimer;
class QUdpSocket;

// What this station says of itself when another of its class asks.
struct TFinderIdentity {
    QString name;
    QString address;
    QString classCode;
    bool answering = true;  // a station that receives nothing is not offered to others
};

// A station that answered a search, at the address its answer came from.
struct TFoundStation {
    QString name;
    QString address;
};

// Lets the stations of one class find each other without typing addresses.
// A search sends a question to the neighbours; every open finder whose class
// code equals the question's answers with its name and address. Nothing else
// travels on this port, and anything malformed is dropped without a word.
// A station is listed at the address its answer came from, never at one an
// answer names: any computer that hears a question could name another's.
class TStationFinder : public QObject {
    Q_OBJECT
public:
    // The station ports 49152 and 49153 are TCP; this one is UDP, a separate
    // port space, so no listener or connection of the stations can ever hold
    // it. It is the next number all the same, so one firewall rule of three
    // neighbouring ports covers the whole lesson.
    static constexpr quint16 FinderPort = 49154;
    // The question goes out again at these times: a datagram may be lost.
    static constexpr std::array<int, 3> AskAtMs{0, 300, 900};
    static constexpr int SearchMs = 2000;

    explicit TStationFinder(QObject *parent);
    ~TStationFinder() override;

    void SetPort(quint16 port) { m_port = port; }
    quint16 Port() const { return m_port; }
    // How long a search collects answers; tests on a loaded machine give it longer.
    void SetSearchMs(int ms);
    // The station's own address; null binds every address of the machine.
    void SetBindAddress(const QHostAddress &address) { m_bindAddress = address; }
    // Where questions go; empty means the neighbours of the bind address.
    void SetTargets(const QList<QHostAddress> &targets) { m_targets = targets; }
    // Asked at each datagram, so it always reflects the settings in force.
    void SetIdentity(std::function<TFinderIdentity()> identity) { m_identity = std::move(identity); }
    // The milliseconds the answer budget counts in; tests hold the time still.
    void SetClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // Binds the finder port if not yet bound; false with ErrorText() when it cannot be had.
    bool Open();
    void Close();
    bool IsOpen() const;
    QString ErrorText() const { return m_error; }

    // Asks the neighbours for stations of `classCode`; Found for each new one,
    // SearchFinished after SearchMs. A search under way starts afresh.
    // False when nothing could be sent.
    bool Search(const QString &classCode);
    bool IsSearching() const;

    // The questions of a station pinned to a loopback address go to the other
    // loopback addresses, never onto a network; otherwise to the broadcast
    // address of the interface that holds the station's address.
    static QList<QHostAddress> NeighbourTargets(const QHostAddress &station);

    qint64 AnsweredCount() const { return m_answered; }
    qint64 IgnoredCount() const { return m_ignored; }

Q_SIGNALS:
    void Found(const TFoundStation &station);
    void SearchFinished();

private:
    bool Bind();
    void Ask(quint32 searchId);
    TFinderIdentity Identity() const;
    void Read();
    void Handle(const QByteArray &bytes, const QHostAddress &sender, int senderPort);
    void Answer(const TFinderDatagram &question, const QHostAddress &sender, int senderPort);
    void Take(const TFinderDatagram &answer, const QHostAddress &sender);
    qint64 Now() const;

    QUdpSocket *m_socket;
    QTimer *m_finish;
    quint16 m_port = FinderPort;
    QHostAddress m_bindAddress;
    QList<QHostAddress> m_targets;
    std::function<TFinderIdentity()> m_identity;
    std::function<qint64()> m_clock;
    QElapsedTimer m_running;
    TAnswerBudget m_budget;
    // Looked up at each opening: reading the interfaces for every datagram would slow a flood down to a crawl.
    QList<QHostAddress> m_subnetBroadcasts;
    QString m_error;

    QString m_searchCode;
    quint32 m_searchId = 0;
    QStringList m_found;
    qint64 m_answered = 0;
    qint64 m_ignored = 0;
};
