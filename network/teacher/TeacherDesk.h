#pragma once

#include "ClassPort.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QString>
#include <functional>
#include <memory>

class TClassRequest;
class TClassRoster;
struct TClassMessage;

// What the teacher's view does, without its widgets: the class list, one
// program to every station of the class that takes it, and the collection
// of the class's work into a folder of its own under the work folder.
class TTeacherDesk : public QObject {
    Q_OBJECT
public:
    TTeacherDesk(QString workFolder, QObject *parent);
    ~TTeacherDesk() override;

    void SetPort(quint16 port);
    // The teacher's station address when pinned: questions and requests leave from it.
    void SetStationAddress(const QHostAddress &address);
    // The teacher's own station (by its address) is listed but never sent to nor collected from.
    void SetOwnAddress(std::function<QString()> own) { m_ownAddress = std::move(own); }
    void SetTimeoutMs(int ms) { m_timeoutMs = ms; }

    TClassRoster &Roster() { return *m_roster; }
    // Asks the class again; the list follows with each answer.
    bool Refresh(const QString &classCode);

    // Sends `record` (a lesson's record as its save button writes it) to
    // every listed station that takes programs. False, with Said, when
    // nothing was sent.
    bool SendToAll(const QString &lessonName, const QByteArray &record);
    // Asks every listed station that takes commands for its work.
    bool Collect();
    bool IsBusy() const { return !m_request.isNull(); }
    // The folder of the last collection; empty before the first.
    QString LastCollectionFolder() const { return m_lastFolder; }

    static QString NoStationsText();
    static QString BusyText();
    static QString SentText(const QString &lessonName, int reached, int missed);
    static QString CollectedText(int stations, int files, int missed, const QString &folder);
    static QString CannotCollectText(const QString &folder);

Q_SIGNALS:
    // A line for the teacher: what was done, or why not.
    void Said(const QString &text);
    void SendFinished(int reached, int missed);
    void CollectFinished(int stations, int files);

private:
    struct TCollectRun;
    void WriteWork(const std::shared_ptr<TCollectRun> &run, const QString &address, const TClassMessage &answer);
    void FinishCollect(const std::shared_ptr<TCollectRun> &run);
    QStringList Takers() const;
    // The takers for a new request; none, and said why, while one runs or when none takes it.
    QStringList TakersNow();
    TClassRequest *NewRequest(const TClassMessage &message, int expectedKind);

    QString m_workFolder;
    TClassRoster *m_roster;
    quint16 m_port = ClassPort::Number;
    QHostAddress m_stationAddress;
    std::function<QString()> m_ownAddress;
    int m_timeoutMs = 0;
    QPointer<TClassRequest> m_request;
    QString m_lastFolder;
    // Collected files are written one after another away from the window:
    // each waits for the disk to hold it, and forty stations' work at once
    // would otherwise stop the window for a good part of a second.
    QThreadPool m_writer;
};
