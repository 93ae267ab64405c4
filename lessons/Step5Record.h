#pragma once

#include <QString>
#include <QStringList>

// The text program of the STEP5 screen as a program file stores it: the
// eleven command words (red to wait) and the program text.
struct TStep5Record {
    static constexpr int WordCount = 11;
    QStringList words;    // WordCount entries
    QString programText;  // the editor's text, lines joined by CR LF
};

inline const QString Step5LessonName = QStringLiteral("STEP5");

// The lesson name, the eleven words, then the program's lines: a text ending
// in a line break adds no empty line, so a text read back saves unchanged.
QStringList Step5RecordLines(const TStep5Record &record);

// What a file gave: the words of lines 2 to 12 as far as the file reaches,
// and the program text built from line 13 on, each line followed by CR LF.
// A file of fewer than 12 lines is incomplete and gives no program text.
struct TStep5ReadResult {
    TStep5Record record;  // record.words holds only the words present
    bool complete = false;
    QString problem;      // why reading stopped, for the pupil; empty when complete
};
TStep5ReadResult ReadStep5Record(const QStringList &lines);
