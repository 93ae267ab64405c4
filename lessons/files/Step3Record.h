#pragma once

#include "ProgramFileText.h"

#include <QStringList>
#include <array>

// The block program of the STEP3 screen as a program file stores it: the
// block kind and the selector's item index of each of the 20 slots.
struct TStep3Record {
    static constexpr int SlotCount = 20;
    static constexpr std::array<int, SlotCount> NoItems()
    {
        std::array<int, SlotCount> items{};
        items.fill(-1);
        return items;
    }

    std::array<int, SlotCount> kinds{};                  // 0: empty slot
    std::array<int, SlotCount> itemIndexes = NoItems();  // -1: no item chosen
    bool operator==(const TStep3Record &) const = default;
};

inline const QString Step3LessonName = QStringLiteral("STEP3");

// The 41 lines: the lesson name, the 20 kinds, the 20 item indexes.
QStringList Step3RecordLines(const TStep3Record &record);

// The record of a file's lines (the lesson name first, not looked at). Every
// kind and item index must be there as a number; the values themselves are
// taken as they are, and the screen's slots and selectors judge them.
ProgramFileText::TRecordRead<TStep3Record> ReadStep3Record(const QStringList &lines);
