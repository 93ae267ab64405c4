#include "ProgramFile.h"

#include "ProgramFileText.h"
#include "WholeFile.h"
#include "WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

const QString Filter = QStringLiteral("TP-31ファイル (*.lk7)");

using WholeFile::ReasonText;

// Qt reports a refused folder or file as a plain open or write error; the
// pupil is helped more by knowing that it is a matter of permission.
QString SaveReason(const QString &path, QFileDevice::FileError error)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("保存先のフォルダが見つかりません。");
    if (target.isDir())
        return QStringLiteral("同じ名前のフォルダがあります。");
    if (!folder.isWritable() || (target.exists() && !target.isWritable()))
        return ReasonText(QFileDevice::PermissionsError);
    return ReasonText(error);
}

// The folder nearest to `path` that is there. A dialog told to start in a
// folder that is not there (one removed since, or one a refused save named)
// would take that folder's name as the file name to offer.
QString NearestFolder(const QString &path)
{
    QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!QFileInfo(folder).isDir()) {
        const QString up = QFileInfo(folder).absolutePath();
        if (up == folder)
            return QDir::homePath();
        folder = up;
    }
    return folder;
}

void Fail(QWidget *parent, const QString &what, const QString &path, const QString &reason)
{
    QMessageBox::critical(parent, QString(),
                          QStringLiteral("%1\n%2\n%3").arg(what, QDir::toNativeSeparators(path), reason));
}

} // namespace

TProgramFile::TProgramFile(QWidget *dialogParent, QString lessonName)
    : m_dialogParent(dialogParent), m_lessonName(std::move(lessonName))
{
}

void TProgramFile::SetNameChooser(TNameChooser chooser)
{
    m_chooser = std::move(chooser);
}

QString TProgramFile::WrongSaveExtensionMessage()
{
    return QStringLiteral("ファイル形式が違います");
}

QString TProgramFile::OverwriteQuestion()
{
    return QStringLiteral("同じ名前のファイルが既にあります。上書きしますか？");
}

QString TProgramFile::WrongReadExtensionMessage()
{
    return QStringLiteral("指定したファイルを開くことができません\nファイル名を確認して下さい。");
}

QString TProgramFile::OtherLessonMessage()
{
    return QStringLiteral("指定したファイルを開くことが出来ません\n他のステップで保存されいる可能性があります。");
}

QString TProgramFile::ChooseName(bool forSave)
{
    if (m_chooser)
        return m_chooser(forSave);
    const QString folder = NearestFolder(m_folder.isEmpty() ? DocumentsFolder() : m_folder);
    // The overwrite question is ours, and no extension is added behind the
    // pupil's back: the name rules below decide. The save dialog starts
    // with an empty name each time.
    const QString path =
        forSave ? QFileDialog::getSaveFileName(m_dialogParent, QStringLiteral("名前を付けて保存"), folder, Filter,
                                               nullptr, QFileDialog::DontConfirmOverwrite)
                : QFileDialog::getOpenFileName(m_dialogParent, QStringLiteral("ファイルを開く"),
                                               m_lastOpened.isEmpty() ? folder : m_lastOpened, Filter);
    if (!path.isEmpty()) {
        m_folder = QFileInfo(path).absolutePath();
        if (!forSave)
            m_lastOpened = path;
    }
    return path;
}

bool TProgramFile::Save(const QStringList &lines)
{
    // Refused before the dialog, so the pupil does not pick a name for a
    // file that cannot be written.
    const QString unsavable = ProgramFileText::Unsavable(lines);
    if (!unsavable.isEmpty()) {
        QMessageBox::warning(m_dialogParent, QString(),
                             QStringLiteral("ファイルに保存できない文字「%1」が含まれています\n"
                                            "別の文字に直してから保存して下さい")
                                 .arg(unsavable));
        return false;
    }
    QString path = ChooseName(true);
    if (path.isEmpty())
        return false;
    const QString extension = ProgramFileText::ExtensionOf(path);
    if (extension.isEmpty()) {
        path += ProgramFileText::Extension;
    } else if (extension.toLower() != ProgramFileText::Extension) {
        QMessageBox::warning(m_dialogParent, QString(), WrongSaveExtensionMessage());
        return false;
    }
    if (QFileInfo::exists(path)) {
        const auto answer = QMessageBox::question(m_dialogParent, QString(), OverwriteQuestion(),
                                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return false;
    }
    const QFileDevice::FileError error = WholeFile::Write(path, ProgramFileText::Encode(lines));
    if (error != QFileDevice::NoError) {
        Fail(m_dialogParent, QStringLiteral("ファイルを保存することが出来ませんでした"), path, SaveReason(path, error));
        return false;
    }
    return true;
}

std::optional<QByteArray> TProgramFile::ReadBytes(const QString &path)
{
    QFile file(path);
    const QString what = QStringLiteral("ファイルを読み込むことが出来ませんでした");
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        Fail(m_dialogParent, what, path,
             QFileInfo::exists(path) ? ReasonText(file.error()) : QStringLiteral("ファイルが見つかりません。"));
        return std::nullopt;
    }
    if (file.size() > MaxFileBytes) {
        Fail(m_dialogParent, what, path, QStringLiteral("プログラムのファイルとしては大きすぎます。"));
        return std::nullopt;
    }
    // Read with a bound: a device or pipe reports no size.
    QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        Fail(m_dialogParent, what, path, ReasonText(file.error()));
        return std::nullopt;
    }
    if (bytes.size() > MaxFileBytes) {
        Fail(m_dialogParent, what, path, QStringLiteral("プログラムのファイルとしては大きすぎます。"));
        return std::nullopt;
    }
    return bytes;
}

std::optional<QStringList> TProgramFile::Read(const std::function<void()> &onOtherLesson)
{
    const QString path = ChooseName(false);
    if (path.isEmpty())
        return std::nullopt;
    if (ProgramFileText::ExtensionOf(path).toLower() != ProgramFileText::Extension) {
        QMessageBox::information(m_dialogParent, QString(), WrongReadExtensionMessage());
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = ReadBytes(path);
    if (!bytes)
        return std::nullopt;
    const QStringList lines = ProgramFileText::Decode(*bytes);
    if (lines.value(0) != m_lessonName) {
        if (onOtherLesson)
            onOtherLesson();
        QMessageBox::information(m_dialogParent, QString(), OtherLessonMessage());
        return std::nullopt;
    }
    return lines;
}
