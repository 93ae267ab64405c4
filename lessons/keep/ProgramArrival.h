#pragma once

#include <QDateTime>
#include <QFileDevice>
#include <QHash>
#include <QString>
#include <QStringList>

// A program that arrives from the teacher replaces what a lesson shows, but
// never the pupil's own work without a copy: before it goes in, the lesson's
// current record is set aside as an ordinary program file in the work folder
// (as kept work is), which the read button offers. Nothing is copied when
// the lesson holds its empty program, the program that arrived last, or the
// arriving program itself: none of those is the pupil's work.
class TProgramArrival {
public:
    explicit TProgramArrival(QString asideFolder);

    // What the lesson shows when it holds nothing of the pupil's.
    void RememberEmpty(const QString &lessonName, const QStringList &lines);

    // Whether `lines` are the lesson's empty program: nothing worth sending to a class.
    bool IsEmpty(const QString &lessonName, const QStringList &lines) const { return m_empty.value(lessonName) == lines; }

    struct TKept {
        bool mayReplace = false;  // the copy is made, or none was needed
        QString fileName;         // the copy's file name; empty when none was made
        QFileDevice::FileError error = QFileDevice::NoError;
    };
    // Sets `current` aside when it is the pupil's work; `arriving` then counts as the lesson's last arrival.
    TKept KeepBefore(const QString &lessonName, const QStringList &current, const QStringList &arriving,
                     const QDateTime &now);

    QString AsideFolder() const { return m_folder; }

private:
    QString m_folder;
    QHash<QString, QStringList> m_empty;
    QHash<QString, QStringList> m_lastArrived;
};
