#pragma once

#include <QString>
#include <QStringList>

// The settings file: "[section]" headers and "key=value" lines in code page
// 932 (read also as UTF-8, as a modern editor may have saved it; written back
// in code page 932). A missing file, section or key gives the caller's
// default. Writing keeps every line it does not change (unknown sections,
// keys, comments) as it was.
// Section and key names match without regard to case, as on Windows.
class TIniFile {
public:
    // Reads `path`; a missing or unreadable file, or one that is no regular
    // file (a pipe, a device), reads as empty.
    explicit TIniFile(QString path);

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    // The value as a decimal integer; anything else gives the default.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);

    // Writes all lines to a temporary file and renames it into place, so a
    // failed save leaves the old file whole. Returns false on failure, with the
    // reason in `error`.
    bool Save(QString *error = nullptr) const;

    const QString &Path() const { return m_path; }
    QStringList Lines() const { return m_lines; }

private:
    // Index of the section header line, or -1.
    int FindSection(const QString &section) const;
    // Index of the key line inside the section starting at `header`, or -1.
    int FindKey(int header, const QString &key) const;
    int SectionEnd(int header) const;

    QString m_path;
    QStringList m_lines;
};
