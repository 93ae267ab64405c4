#pragma once

#include "ClassPort.h"

#include <QDateTime>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

class QUdpSocket;

// One station of the class as the teacher's list shows it.
struct TClassRow {
    QString name;
    QString address;      // where its answer came from, never what it names
    int receiveMode = 1;  // 1 all, 2 registered, 3 none
    int page = 0;         // the page it showed at its last answer
    QDateTime lastAnswered;

    // Whether it may take a program or a collection from the teacher.
    bool MayTake() const { return receiveMode != 3; }
};

// The teacher's class list: asks the neighbours for the stations of one
// class code and keeps one row per station that answered, by address. A
// station that stops answering keeps its row with its last answer's time.
class TClassRoster : public QObject {
    Q_OBJECT
public:
    // More stations than a classroom holds are not listed.
    static constexpr int MaxRows = 64;
    // The question goes out again at these times: a datagram may be lost.
    static constexpr int AskAgainMs[] = {300, 900};

    explicit TClassRoster(QObject *parent);

    void SetPort(quint16 port) { m_port = port; }
    // The teacher's station address (pinned); null lets the system choose.
    void SetBindAddress(const QHostAddress &address) { m_bindAddress = address; }
    // Where questions go; empty means the neighbours of the bind address.
    void SetTargets(const QList<QHostAddress> &targets) { m_targets = targets; }

    // Asks for the stations of `classCode`; a new class code empties the list.
    // False when nothing could be sent.
    bool Ask(const QString &classCode);
    const QList<TClassRow> &Rows() const { return m_rows; }
    QString ClassCode() const { return m_classCode; }

Q_SIGNALS:
    void Changed();

private:
    bool Bind();
    void Send(quint32 searchId);
    void Read();
    void Take(const QByteArray &bytes, const QHostAddress &sender);

    QUdpSocket *m_socket;
    quint16 m_port = ClassPort::Number;
    QHostAddress m_bindAddress;
    QList<QHostAddress> m_targets;
    QString m_classCode;
    quint32 m_searchId = 0;
    QList<quint32> m_recentIds;
    QList<TClassRow> m_rows;
};
