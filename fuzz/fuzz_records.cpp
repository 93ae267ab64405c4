// Program files: any bytes must read as a STEP3, STEP5 and STEP7 record
// without a crash, and a record that reads completely writes lines that read
// back to the same record (saving what was opened never changes it).
#include "ProgramFileText.h"
#include "Step3Record.h"
#include "Step5Record.h"
#include "Step7Record.h"

#include <cstdint>
#include <cstdlib>

namespace {
void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// What a save writes must be what a read gives back.
void RequireSavesAsRead(const QStringList &lines)
{
    if (ProgramFileText::Unsavable(lines).isEmpty())
        Require(ProgramFileText::Decode(ProgramFileText::Encode(lines)) == lines);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = ProgramFileText::Decode(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));

    const TStep3ReadResult step3 = ReadStep3Record(lines);
    Require(step3.kindsRead >= 0 && step3.kindsRead <= TStep3Record::SlotCount);
    Require(step3.itemsRead >= 0 && step3.itemsRead <= TStep3Record::SlotCount);
    if (step3.complete) {
        const QStringList saved = Step3RecordLines(step3.record);
        Require(saved.size() == 41);
        const TStep3ReadResult again = ReadStep3Record(saved);
        Require(again.complete && Step3RecordLines(again.record) == saved);
        RequireSavesAsRead(saved);
    }

    const TStep5ReadResult step5 = ReadStep5Record(lines);
    Require(step5.record.words.size() <= TStep5Record::WordCount);
    Require(step5.complete == step5.problem.isEmpty());
    if (step5.complete) {
        const QStringList saved = Step5RecordLines(step5.record);
        const TStep5ReadResult again = ReadStep5Record(saved);
        Require(again.complete && again.record.words == step5.record.words
                && again.record.programText == step5.record.programText);
        RequireSavesAsRead(saved);
    }

    const TStep7ReadResult step7 = ReadStep7Record(lines);
    Require(step7.coloursRead >= 0 && step7.coloursRead <= 14);
    if (step7.complete) {
        const QStringList saved = Step7RecordLines(step7.record);
        Require(saved.size() == 18);
        const TStep7ReadResult again = ReadStep7Record(saved);
        Require(again.complete && Step7RecordLines(again.record) == saved);
        RequireSavesAsRead(saved);
    }
    return 0;
}
