#include "Step3Record.h"

QStringList Step3RecordLines(const TStep3Record &record)
{
    QStringList lines{Step3LessonName};
    for (const int kind : record.kinds)
        lines.append(QString::number(kind));
    for (const int item : record.itemIndexes)
        lines.append(QString::number(item));
    return lines;
}

ProgramFileText::TRecordRead<TStep3Record> ReadStep3Record(const QStringList &lines)
{
    ProgramFileText::TRecordRead<TStep3Record> result;
    TStep3Record record;
    constexpr int Slots = TStep3Record::SlotCount;
    for (int index = 1; index <= 2 * Slots; ++index) {
        if (index >= lines.size()) {
            result.problem = ProgramFileText::MissingLineMessage(index + 1);
            return result;
        }
        const auto number = ProgramFileText::NumberOf(lines.at(index));
        if (!number) {
            result.problem = ProgramFileText::BadNumberMessage(index + 1, lines.at(index));
            return result;
        }
        const auto slot = static_cast<size_t>((index - 1) % Slots);
        (index <= Slots ? record.kinds : record.itemIndexes)[slot] = *number;
    }
    result.record = record;
    return result;
}
