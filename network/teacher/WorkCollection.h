#pragma once

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// One collection of the class's work: a folder of its own under the work
// folder, "作品/<date> <class>/", with one ordinary program file per pupil
// and lesson, "STEP3_<name>.lk7". A later collection of the same day gets a
// folder of its own ("… 3A_2"), so nothing collected is ever overwritten;
// two pupils of the same name in one collection get "_2" and so on.
class TWorkCollection {
public:
    static constexpr int MaxSameNames = 99;

    TWorkCollection(const QString &workFolder, const QString &classCode, const QDate &date);

    // The folder, made on first use; empty when it cannot be made.
    QString Folder();

    struct TTaken {
        QStringList files;  // written, by file name
        int refused = 0;    // records that are no program file of a lesson, or could not be written
    };
    // Writes the records one station answered with. Each record is written
    // whole or not at all.
    TTaken Take(const QString &pupilName, const QString &address, const QList<QByteArray> &records);

    static QString FolderName(const QString &classCode, const QDate &date);

private:
    QString FileNameFor(const QString &lesson, const QString &pupil, const QString &address);

    QString m_root;
    QString m_folderName;
    QString m_folder;
    QHash<QString, QString> m_ownerOf;  // file name -> the address that took it
};
