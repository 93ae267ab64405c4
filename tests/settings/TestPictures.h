#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStringList>

// Until the generated data files are in the build, a screen test puts plain
// pictures where the screen looks for them, and takes away only what it made.
class TestPictures {
public:
    TestPictures() = default;
    TestPictures(const TestPictures &) = delete;
    TestPictures &operator=(const TestPictures &) = delete;
    ~TestPictures()
    {
        for (const QString &file : m_created)
            QFile::remove(file);
        for (auto it = m_dirs.crbegin(); it != m_dirs.crend(); ++it)
            QDir().rmdir(*it);
    }

    // `relative` is written as the screens write it ("Picture\PANEL\red.jpg").
    void Provide(const QString &relative, QColor colour = Qt::gray, QSize size = {40, 30})
    {
        QStringList parts = relative.split(u'\\');
        parts[0] = parts[0].toLower();
        QString dir = QCoreApplication::applicationDirPath();
        for (int i = 0; i + 1 < parts.size(); ++i) {
            const QString found = FindIgnoringCase(dir, parts[i]);
            dir += u'/' + (found.isEmpty() ? parts[i] : found);
            if (!QFileInfo::exists(dir)) {
                QDir().mkdir(dir);
                m_dirs.append(dir);
            }
        }
        if (!FindIgnoringCase(dir, parts.last()).isEmpty())
            return;
        const QString file = dir + u'/' + parts.last();
        QImage image(size, QImage::Format_RGB888);
        image.fill(colour);
        if (image.save(file))
            m_created.append(file);
    }

private:
    static QString FindIgnoringCase(const QString &dir, const QString &name)
    {
        const QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const QString &entry : entries) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return entry;
        }
        return QString();
    }

    QStringList m_created;
    QStringList m_dirs;
};
