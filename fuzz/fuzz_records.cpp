// Program files: any bytes must read as a STEP3, STEP5 and STEP7 record
// without a crash, and a record that reads completely writes lines that read
// back to the same record (saving what was opened never changes it).
#include "Cp932.h"
#include "ProgramFileText.h"
#include "Step3Record.h"
#include "Step5Record.h"
#include "Step7Record.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>

namespace {
void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// What a save writes must be what a read gives back, the code page 932
// twins of input method characters aside. Bytes that happen to be valid
// UTF-8 as well are read as UTF-8 by design (a teacher's editor), so only
// the line count is sure for them.
void RequireSavesAsRead(const QStringList &lines)
{
    if (!ProgramFileText::Unsavable(lines).isEmpty())
        return;
    const QByteArray bytes = ProgramFileText::Encode(lines);
    const QStringList back = ProgramFileText::Decode(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    (void)QString(utf8.decode(bytes));
    if (utf8.hasError()) {
        QStringList twinned;
        for (const QString &line : lines)
            twinned.append(Cp932::WithTwins(line));
        Require(back == twinned);
    } else {
        Require(back.size() == lines.size());
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = ProgramFileText::Decode(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));

    const auto step3 = ReadStep3Record(lines);
    Require(step3.record.has_value() == step3.problem.isEmpty());
    if (step3.record) {
        const QStringList saved = Step3RecordLines(*step3.record);
        Require(saved.size() == 41);
        const auto again = ReadStep3Record(saved);
        Require(again.record && *again.record == *step3.record);
        RequireSavesAsRead(saved);
    }

    const auto step5 = ReadStep5Record(lines);
    Require(step5.record.has_value() == step5.problem.isEmpty());
    if (step5.record) {
        Require(step5.record->words.size() == TStep5Record::WordCount);
        const QStringList saved = Step5RecordLines(*step5.record);
        const auto again = ReadStep5Record(saved);
        Require(again.record && *again.record == *step5.record);
        RequireSavesAsRead(saved);
    }

    const auto step7 = ReadStep7Record(lines);
    Require(step7.record.has_value() == step7.problem.isEmpty());
    if (step7.record) {
        const QStringList saved = Step7RecordLines(*step7.record);
        Require(saved.size() == 18);
        const auto again = ReadStep7Record(saved);
        Require(again.record && Step7RecordLines(*again.record) == saved);
        RequireSavesAsRead(saved);
    }
    return 0;
}
