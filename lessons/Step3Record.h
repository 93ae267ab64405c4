#pragma once

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
};

inline const QString Step3LessonName = QStringLiteral("STEP3");

// The 41 lines: the lesson name, the 20 kinds, the 20 item indexes.
QStringList Step3RecordLines(const TStep3Record &record);

// What a file gave. Reading stops at the first line that is missing or not
// a number: the kinds of slots 1 to kindsRead and, once all kinds were read,
// the item indexes of slots 1 to itemsRead are the file's; the rest keep
// their defaults.
struct TStep3ReadResult {
    TStep3Record record;
    int kindsRead = 0;
    int itemsRead = 0;
    bool complete = false;
};
TStep3ReadResult ReadStep3Record(const QStringList &lines);
