#pragma once

#include "ProgramFileText.h"

#include <QString>
#include <QStringList>

// The text program of the STEP5 screen as a program file stores it: the
// eleven command words (red to wait) and the program text.
struct TStep5Record {
    static constexpr int WordCount = 11;
    QStringList words;    // WordCount entries
    QString programText;  // the editor's text, lines joined by CR LF
    bool operator==(const TStep5Record &) const = default;
};

inline const QString Step5LessonName = QStringLiteral("STEP5");

// The lesson name, the eleven words, then the program's lines: a text ending
// in a line break adds no empty line, so a text read back saves unchanged.
QStringList Step5RecordLines(const TStep5Record &record);

// The record of a file's lines (the lesson name first, not looked at): the
// words of lines 2 to 12 and the program text built from line 13 on, each
// line followed by CR LF. A file of fewer than 12 lines is refused.
ProgramFileText::TRecordRead<TStep5Record> ReadStep5Record(const QStringList &lines);
