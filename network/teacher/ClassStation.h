#pragma once

#include "AnswerBudget.h"
#include "ClassPort.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QTcpServer;
class QTcpSocket;
class QUdpSocket;
struct TClassMessage;

// A station's side of the teacher's station, open for the whole run: it
// answers the class list, takes a program sent to everyone and answers a
// collection with the lessons' records. What it takes is decided by
// ClassGate against the settings in force at that moment. Every connection
// carries one request of bounded size and is closed after the answer, so a
// station that misbehaves costs a bounded amount of memory and handles.
class TClassStation : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxConnections = 16;
    static constexpr int MaxConnectionsPerPeer = 4;
    // A request and its answer are a few kilobytes: a connection lives no longer than this.
    static constexpr int MaxConnectionMs = 10 * 1000;

    explicit TClassStation(QObject *parent);
    ~TClassStation() override;

    void SetPort(quint16 port) { m_port = port; }
    // The station's pinned address; null listens on every address.
    void SetAddress(const QHostAddress &address) { m_address = address; }
    // Asked at every request, so the answers follow the applied settings.
    void SetSettings(std::function<QStringList()> settings) { m_settings = std::move(settings); }
    // The page the station shows now (the main window's PageCode).
    void SetPage(std::function<int()> page) { m_page = std::move(page); }
    // The lessons' records as their save buttons write them.
    void SetRecords(std::function<QList<QByteArray>()> records) { m_records = std::move(records); }

    // Opens both sockets; false (with ErrorText) when either port cannot be had.
    bool Open();
    void Close();
    QString ErrorText() const { return m_error; }

    qint64 AnsweredCount() const { return m_answered; }
    qint64 RefusedCount() const { return m_refused; }

Q_SIGNALS:
    // A program record (checked: a lesson's own record) the teacher sent to everyone.
    void ProgramArrived(const QStringList &lines);
    // The teacher has collected this station's work.
    void WorkCollected();

private:
    void ReadRoster();
    void AnswerRoster(const QByteArray &bytes, const QHostAddress &sender, int senderPort);
    void NewConnection();
    void Handle(QTcpSocket *socket, const TClassMessage &request);
    QStringList Settings() const;

    QUdpSocket *m_roster;
    QTcpServer *m_server;
    quint16 m_port = ClassPort::Number;
    QHostAddress m_address;
    std::function<QStringList()> m_settings;
    std::function<int()> m_page;
    std::function<QList<QByteArray>()> m_records;
    TAnswerBudget m_budget;
    QElapsedTimer m_clock;
    QList<QHostAddress> m_subnetBroadcasts;
    QString m_error;
    qint64 m_answered = 0;
    qint64 m_refused = 0;
};
