#include "Step5Record.h"

#include "ProgramFileText.h"

QStringList Step5RecordLines(const TStep5Record &record)
{
    QStringList lines{Step5LessonName};
    lines += record.words;
    lines += ProgramFileText::SplitLines(record.programText);
    return lines;
}

TStep5ReadResult ReadStep5Record(const QStringList &lines)
{
    TStep5ReadResult result;
    constexpr int FirstProgramLine = 1 + TStep5Record::WordCount;
    result.record.words = lines.mid(1, TStep5Record::WordCount);
    if (lines.size() < FirstProgramLine) {
        result.problem = ProgramFileText::MissingLineMessage(static_cast<int>(lines.size()) + 1);
        return result;
    }
    for (qsizetype i = FirstProgramLine; i < lines.size(); ++i)
        result.record.programText += lines.at(i) + QStringLiteral("\r\n");
    result.complete = true;
    return result;
}
