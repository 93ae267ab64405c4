#include "TextProgramExpander.h"

#include "CommandCodes.h"

namespace {
// The steps the lamp shows; fillers and repeat marks are not shown.
bool IsShownStep(int code)
{
    return code == LampCode::WaitForInput || LampCode::IsColourStep(code);
}
} // namespace

QStringList ExpandLightProgram(const QStringList &programList, const QList<int> &repeatCounts)
{
    QStringList expanded;
    QStringList body;
    bool inRepeat = false;
    qsizetype nextCount = 0;
    for (const QString &entry : programList) {
        const int code = entry.toInt();
        if (!inRepeat) {
            if (IsShownStep(code))
                expanded.append(entry);
            else if (LampCode::IsRepeatStart(code))
                inRepeat = true;
            continue;
        }
        if (IsShownStep(code)) {
            body.append(entry);
        } else if (LampCode::IsRepeatEnd(code)) {
            inRepeat = false;
            const int count = nextCount < repeatCounts.size() ? repeatCounts.at(nextCount) : 1;
            ++nextCount;
            for (int i = 0; i < count; ++i)
                expanded.append(body);
            body.clear();
        }
    }
    return expanded;
}
