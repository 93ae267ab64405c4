#include "Step7Record.h"

#include "MelodyColours.h"

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

ProgramFileText::TRecordRead<TStep7Record> ReadStep7Record(const QStringList &lines)
{
    ProgramFileText::TRecordRead<TStep7Record> result;
    const auto refuse = [&](QString problem) {
        result.problem = std::move(problem);
        return result;
    };
    TStep7Record record;
    if (lines.size() <= NoteLine)
        return refuse(ProgramFileText::MissingLineMessage(NoteLine + 1));
    record.noteText = lines.at(NoteLine);
    if (lines.size() <= LedLine)
        return refuse(ProgramFileText::MissingLineMessage(LedLine + 1));
    record.ledOn = lines.at(LedLine) == QStringLiteral("1");
    if (record.ledOn) {
        for (int key = 0; key < MelodyProgram::KeyCount; ++key) {
            const int index = FirstColourLine + key;
            if (lines.size() <= index)
                return refuse(ProgramFileText::MissingLineMessage(index + 1));
            const QString &line = lines.at(index);
            const auto colour = ProgramFileText::NumberOf(line);
            if (!colour)
                return refuse(ProgramFileText::BadNumberMessage(index + 1, line));
            // The lamp knows only the palette's colour masks; any other
            // number would light it in a colour the screen cannot show.
            if (!MelodyColours::IsKnown(*colour))
                return refuse(ProgramFileText::BadValueMessage(index + 1, line));
            record.colours[static_cast<size_t>(key)] = *colour;
        }
    }
    result.record = record;
    return result;
}
