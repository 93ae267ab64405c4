#pragma once

#include "MelodyProgram.h"
#include "ProgramFileText.h"

#include <QString>
#include <QStringList>

// The light-and-sound program of the STEP7 screen as a program file stores
// it: the note text, whether the light is used and the 14 key colours.
struct TStep7Record {
    QString noteText;
    bool ledOn = false;
    MelodyProgram::KeyColours colours{};
    bool operator==(const TStep7Record &) const = default;
};

inline const QString Step7LessonName = QStringLiteral("STEP7");

// The 18 lines: lesson name, note text, "///", "1" or "0", 14 colour codes.
QStringList Step7RecordLines(const TStep7Record &record);

// The record of a file's lines (the lesson name first, not looked at): the
// note text (line 2) and the light flag (line 4: only "1" switches the light
// on); with the light on, the colours of the 14 keys (lines 5 to 18), each
// one of the palette's; with it off they are not read and stay 0. A missing
// line or a colour that is no key colour refuses the file.
ProgramFileText::TRecordRead<TStep7Record> ReadStep7Record(const QStringList &lines);
