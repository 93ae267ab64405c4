#include "Step3Record.h"

#include "ProgramFileText.h"

QStringList Step3RecordLines(const TStep3Record &record)
{
    QStringList lines{Step3LessonName};
    for (const int kind : record.kinds)
        lines.append(QString::number(kind));
    for (const int item : record.itemIndexes)
        lines.append(QString::number(item));
    return lines;
}

TStep3ReadResult ReadStep3Record(const QStringList &lines)
{
    TStep3ReadResult result;
    constexpr int Slots = TStep3Record::SlotCount;
    for (int slot = 0; slot < Slots; ++slot) {
        const auto kind = ProgramFileText::NumberOf(lines.value(1 + slot));
        if (!kind)
            return result;
        result.record.kinds[static_cast<size_t>(slot)] = *kind;
        result.kindsRead = slot + 1;
    }
    for (int slot = 0; slot < Slots; ++slot) {
        const auto item = ProgramFileText::NumberOf(lines.value(1 + Slots + slot));
        if (!item)
            return result;
        result.record.itemIndexes[static_cast<size_t>(slot)] = *item;
        result.itemsRead = slot + 1;
    }
    result.complete = true;
    return result;
}
