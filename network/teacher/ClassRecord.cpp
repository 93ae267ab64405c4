#include "ClassRecord.h"

#include "ClassMessage.h"
#include "ProgramFileText.h"
#include "Step3Record.h"
#include "Step5Record.h"
#include "Step7Record.h"

namespace ClassRecord {

namespace {
bool Reads(const QString &lesson, const QStringList &lines)
{
    if (lesson == Step3LessonName)
        return ReadStep3Record(lines).record.has_value();
    if (lesson == Step5LessonName)
        return ReadStep5Record(lines).record.has_value();
    if (lesson == Step7LessonName)
        return ReadStep7Record(lines).record.has_value();
    return false;
}
} // namespace

QByteArray Bytes(const QStringList &lines)
{
    return ProgramFileText::Encode(lines);
}

std::optional<TChecked> Check(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > TClassMessage::MaxRecordBytes)
        return std::nullopt;
    const QStringList lines = ProgramFileText::Decode(bytes);
    if (lines.isEmpty() || !Reads(lines.first(), lines) || !ProgramFileText::Unsavable(lines).isEmpty()
        || Bytes(lines) != bytes)
        return std::nullopt;
    return TChecked{lines.first(), lines};
}

} // namespace ClassRecord
