#pragma once

#include "LightProgram.h"

#include <QList>
#include <QString>
#include <QStringList>

// Reads a STEP5 text program line by line into the light-program language
// (LightProgram.h), which checks the repeats and makes the lamp's 20 step
// codes. This class holds what only the text has: its line forms, the
// arguments and the last line a repeat may start on. The command words are
// not fixed: they come from the screen's eleven word boxes at every check, so
// a teacher can change them.
class TTextProgramChecker {
public:
    // Positions of the command words, in the order of the screen's boxes (and
    // of program files and reports).
    enum Word {
        WordRed = 0, WordGreen, WordBlue, WordYellow, WordPurple, WordLightblue,
        WordWhite, WordOff, WordLoop, WordJump, WordWait, WordCount
    };

    struct Result {
        bool ok = false;
        QString message;            // the one message of a failed check
        QStringList programList;    // 20 decimal step codes on success, else empty
        QStringList expandedList;   // the steps as the lamp shows them, repeats unrolled
    };

    // The English words the screen starts with.
    static QStringList DefaultWords();

    // Checks `text` with the command words `words` (box order, WordCount
    // entries). The words red to jump are trimmed in place as they are
    // tested, so the caller can show the trimmed words even after a failure;
    // the wait word is taken as it stands.
    static Result Check(const QString &text, QStringList &words);

    // Removes characters up to and including the ASCII space at both ends. A
    // full-width space is not removed: the language rejects it visibly.
    static QString TrimAscii(const QString &text);
};
