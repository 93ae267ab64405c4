#include "IniFile.h"

#include "Cp932.h"
#include "WholeFile.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool IsSectionHeader(const QString &line, QString *name = nullptr)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[') || !t.endsWith(u']'))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool SplitKey(const QString &line, QString *key, QString *value)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0)
        return false;
    const QString t = line.trimmed();
    if (t.startsWith(u';'))
        return false;
    *key = line.left(eq).trimmed();
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return !key->isEmpty();
}

} // namespace

TIniFile::TIniFile(QString path)
    : m_path(std::move(path))
{
    // A pipe or a device in the file's place would block the start or never
    // end; only a plain file holds settings.
    if (!QFileInfo(m_path).isFile())
        return;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QString text = Cp932::DecodeFile(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    m_lines = text.split(u'\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
}

int TIniFile::FindSection(const QString &section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        QString name;
        if (IsSectionHeader(m_lines[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int TIniFile::SectionEnd(int header) const
{
    int i = header + 1;
    while (i < m_lines.size() && !IsSectionHeader(m_lines[i]))
        ++i;
    return i;
}

int TIniFile::FindKey(int header, const QString &key) const
{
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        QString k;
        if (SplitKey(m_lines[i], &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const int header = FindSection(section);
    if (header < 0)
        return defaultValue;
    const int line = FindKey(header, key);
    if (line < 0)
        return defaultValue;
    QString k, value;
    SplitKey(m_lines[line], &k, &value);
    return value;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    const QString text = ReadString(section, key, QString());
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (ok)
        return value;
    // Windows also reads hexadecimal written as 0x...
    if (text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        const int hex = text.mid(2).toInt(&ok, 16);
        if (ok)
            return hex;
    }
    return defaultValue;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const QString line = key + u'=' + value;
    int header = FindSection(section);
    if (header < 0) {
        m_lines.append(u'[' + section + u']');
        m_lines.append(line);
        return;
    }
    const int existing = FindKey(header, key);
    if (existing >= 0) {
        m_lines[existing] = line;
        return;
    }
    // After the section's last non-blank line, so blank separators stay put.
    int at = SectionEnd(header);
    while (at - 1 > header && m_lines[at - 1].trimmed().isEmpty())
        --at;
    m_lines.insert(at, line);
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

bool TIniFile::Save(QString *error) const
{
    QString text;
    for (const QString &line : m_lines)
        text += line + QStringLiteral("\r\n");
    const QFileDevice::FileError failure = WholeFile::Write(m_path, Cp932::Encode(text));
    if (failure != QFileDevice::NoError) {
        if (error)
            *error = WholeFile::ReasonText(failure);
        return false;
    }
    return true;
}
