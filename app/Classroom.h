#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

class TClassStation;
class TMainWindow;
class TPageScreen;
class TProgramArrival;
class TStep8Screen;
class TTeacherDesk;
class TTeacherWindow;

// The classroom beyond the network page, held by the main window's side for
// the whole run: this station's answers to a teacher's station (a program
// that arrives goes into its lesson, the work is handed over when
// collected) and the teacher's view. Lessons are reached only through what
// every page offers the main window: its record, as its save button writes
// it, and taking a record back, as its read button does.
class TClassroom : public QObject {
    Q_OBJECT
public:
    // Made before the kept work comes back: what the lessons show now is their empty program.
    TClassroom(TMainWindow &window, TStep8Screen &network, const QHostAddress &stationAddress, const QString &workFolder);
    ~TClassroom() override;

    TClassStation &Station() { return *m_station; }
    TTeacherDesk &Desk() { return *m_desk; }
    // The teacher's view, made on first showing; `classCode` fills an empty class code box.
    TTeacherWindow &ShowTeacherView(const QString &classCode = {});

    // A program from the teacher: into its lesson, the pupil's work set aside first.
    void TakeProgram(const QStringList &lines);
    // A collected program opened on the teacher's screen: into its lesson, which is shown.
    void OpenProgram(const QStringList &lines);

    static QString ArrivedText(const QString &lessonName, const QString &keptFile);
    static QString NotTakenText(const QString &lessonName, const QString &reason);
    static QString CollectedText();

private:
    TPageScreen *Lesson(const QString &lessonName, int *pageIndex = nullptr) const;
    QByteArray RecordOf(const QString &lessonName) const;
    QList<QByteArray> Records() const;
    // Puts `lines` into their lesson; false (and said why) when the work there could not be kept first.
    bool PutIntoLesson(const QStringList &lines, QString &keptFile);

    TMainWindow &m_window;
    TStep8Screen &m_network;
    TClassStation *m_station;
    TTeacherDesk *m_desk;
    std::unique_ptr<TProgramArrival> m_arrival;
    QPointer<TTeacherWindow> m_teacherWindow;
};
