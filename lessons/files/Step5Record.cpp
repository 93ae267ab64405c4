#include "Step5Record.h"

QStringList Step5RecordLines(const TStep5Record &record)
{
    QStringList lines{Step5LessonName};
    lines += record.words;
    lines += ProgramFileText::SplitLines(record.programText);
    return lines;
}

ProgramFileText::TRecordRead<TStep5Record> ReadStep5Record(const QStringList &lines)
{
    ProgramFileText::TRecordRead<TStep5Record> result;
    constexpr int FirstProgramLine = 1 + TStep5Record::WordCount;
    if (lines.size() < FirstProgramLine) {
        result.problem = ProgramFileText::MissingLineMessage(static_cast<int>(lines.size()) + 1);
        return result;
    }
    TStep5Record record;
    record.words = lines.mid(1, TStep5Record::WordCount);
    for (qsizetype i = FirstProgramLine; i < lines.size(); ++i)
        record.programText += lines.at(i) + QStringLiteral("\r\n");
    result.record = record;
    return result;
}
