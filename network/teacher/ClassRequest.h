#pragma once

#include "ClassMessage.h"
#include "ClassPort.h"

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QStringList>

// One request of the teacher to many stations at once (a program for
// everyone, or a collection): a connection to each, the request sent, one
// answer read. A station that refuses, does not answer in time or answers
// with anything but the expected message counts as not reached.
class TClassRequest : public QObject {
    Q_OBJECT
public:
    static constexpr int TimeoutMs = 8000;

    TClassRequest(const TClassMessage &request, TClassMessage::TKind expected, QObject *parent);

    void SetPort(quint16 port) { m_port = port; }
    // The teacher's station address (pinned): the stations judge the request by it.
    void SetSourceAddress(const QHostAddress &address) { m_source = address; }
    void SetTimeoutMs(int ms) { m_timeoutMs = ms; }

    // Starts the request to every address; Finished follows once all have
    // answered or failed (at once for an empty list).
    void Start(const QStringList &addresses);
    bool IsFinished() const { return m_pending == 0; }
    const QStringList &Reached() const { return m_reached; }
    const QStringList &Missed() const { return m_missed; }

Q_SIGNALS:
    void Answered(const QString &address, const TClassMessage &answer);
    void Finished();

private:
    void Ask(const QString &address);
    void Done(const QString &address, bool reached);

    QByteArray m_frame;
    TClassMessage::TKind m_expected;
    quint16 m_port = ClassPort::Number;
    QHostAddress m_source;
    int m_timeoutMs = TimeoutMs;
    int m_pending = 0;
    QStringList m_reached;
    QStringList m_missed;
};
