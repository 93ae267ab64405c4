#include "TextProgramExpander.h"

namespace {
bool IsShownStep(int code)
{
    return code == 96 || (code >= 160 && code <= 221);
}
bool IsRepeatStart(int code) { return code >= 64 && code <= 83; }
bool IsRepeatEnd(int code) { return code >= 84 && code <= 95; }
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
            else if (IsRepeatStart(code))
                inRepeat = true;
            continue;
        }
        if (IsShownStep(code)) {
            body.append(entry);
        } else if (IsRepeatEnd(code)) {
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
