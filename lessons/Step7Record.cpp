#include "Step7Record.h"

#include "MelodyColours.h"
#include "ProgramFileText.h"

namespace {
constexpr int NoteLine = 1;
constexpr int LedLine = 3;
constexpr int FirstColourLine = 4;
} // namespace

QStringList Step7RecordLines(const TStep7Record &record)
{
    QStringList lines{Step7LessonName, record.noteText, QStringLiteral("///"),
                      record.ledOn ? QStringLiteral("1") : QStringLiteral("0")};
    for (const int colour : record.colours)
        lines.append(QString::number(colour));
    return lines;
}

TStep7ReadResult ReadStep7Record(const QStringList &lines)
{
    TStep7ReadResult result;
    const auto missing = [&](int index) {
        result.problem = ProgramFileText::MissingLineMessage(index + 1);
        return result;
    };
    if (lines.size() <= NoteLine)
        return missing(NoteLine);
    result.record.noteText = lines.at(NoteLine);
    result.hasNoteText = true;
    if (lines.size() <= LedLine)
        return missing(LedLine);
    result.hasLedFlag = true;
    result.record.ledOn = lines.at(LedLine) == QStringLiteral("1");
    if (result.record.ledOn) {
        for (int key = 0; key < MelodyProgram::KeyCount; ++key) {
            const int index = FirstColourLine + key;
            if (lines.size() <= index)
                return missing(index);
            const QString &line = lines.at(index);
            const auto colour = ProgramFileText::NumberOf(line);
            if (!colour) {
                result.problem = ProgramFileText::BadNumberMessage(index + 1, line);
                return result;
            }
            // The lamp knows only the palette's colour masks; any other
            // number would light it in a colour the screen cannot show.
            if (!MelodyColours::IsKnown(*colour)) {
                result.problem = ProgramFileText::BadValueMessage(index + 1, line);
                return result;
            }
            result.record.colours[static_cast<size_t>(key)] = *colour;
            result.coloursRead = key + 1;
        }
    }
    result.complete = true;
    return result;
}
