#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

// One screen's way of saving and reading ".lk7" light program files: the
// file dialogs, the name rules, the overwrite question, the checks and every
// message the pupil sees on the way.
class TProgramFile {
public:
    TProgramFile(QWidget *dialogParent, QString lessonName);  // "STEP3", "STEP5" or "STEP7"

    // Replaces the file dialogs (tests): returns the chosen path, "" for cancel.
    using TNameChooser = std::function<QString(bool forSave)>;
    void SetNameChooser(TNameChooser chooser);

    // Asks for a name and writes `lines`, each followed by CR LF, in code
    // page 932, replacing an existing file only when the pupil agrees and
    // only once the new contents are complete on disk. True only when the
    // file was written; every refusal or failure has shown its message.
    bool Save(const QStringList &lines);

    // Asks for a file and reads it whole. Returns all lines (the lesson name
    // included) when the file holds this screen's record; std::nullopt when
    // the pupil cancelled or the file was refused (its message already
    // shown). `onOtherLesson` runs when the file was read but holds another
    // lesson's record, before that is said.
    std::optional<QStringList> Read(const std::function<void()> &onOtherLesson = {});

    // Larger files are no program of this program and are not read.
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    static QString WrongSaveExtensionMessage();
    static QString OverwriteQuestion();
    static QString WrongReadExtensionMessage();
    static QString OtherLessonMessage();

private:
    QString ChooseName(bool forSave);
    std::optional<QByteArray> ReadBytes(const QString &path);

    QWidget *m_dialogParent;
    QString m_lessonName;
    TNameChooser m_chooser;
    QString m_folder;        // where the dialogs open next
    QString m_lastOpened;    // the open dialog offers it again
};
