#pragma once

#include "MelodyProgram.h"

#include <QString>
#include <QStringList>

// The light-and-sound program of the STEP7 screen as a program file stores
// it: the note text, whether the light is used and the 14 key colours.
struct TStep7Record {
    QString noteText;
    bool ledOn = false;
    MelodyProgram::KeyColours colours{};
};

inline const QString Step7LessonName = QStringLiteral("STEP7");

// The 18 lines: lesson name, note text, "///", "1" or "0", 14 colour codes.
QStringList Step7RecordLines(const TStep7Record &record);

// What a file gave, in reading order: the note text (line 2), the light flag
// (line 4: only "1" switches the light on), and when the light is on the
// colours of keys 1 to coloursRead (lines 5 to 18). Reading stops at a
// missing line or at a colour line that is not one of the key colours; the
// colours of later keys are not the file's.
struct TStep7ReadResult {
    TStep7Record record;
    bool hasNoteText = false;
    bool hasLedFlag = false;
    int coloursRead = 0;
    bool complete = false;
    QString problem;  // why reading stopped, for the pupil; empty when complete
};
TStep7ReadResult ReadStep7Record(const QStringList &lines);
