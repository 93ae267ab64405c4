#include "LightProgram.h"

namespace {

// The steps the lamp shows; fillers and repeat marks are not shown.
bool IsShownStep(int code)
{
    return code == LampCode::WaitForInput || LampCode::IsColourStep(code);
}

} // namespace

TLightGrammarError TLightProgramWalk::Check(const TLightItem &item) const
{
    if (item.kind == TLightItem::Kind::RepeatStart && m_starts != m_ends)
        return TLightGrammarError::StartWhileOpen;
    if (item.kind == TLightItem::Kind::RepeatEnd) {
        if (m_starts != m_ends + 1)
            return TLightGrammarError::EndWithoutStart;
        if (item.position == m_openStart + 1)
            return TLightGrammarError::EndRightAfterStart;
    }
    return TLightGrammarError::None;
}

TLightGrammarError TLightProgramWalk::Add(const TLightItem &item)
{
    if (const TLightGrammarError error = Check(item); error != TLightGrammarError::None)
        return error;
    int code = item.code;
    if (item.kind == TLightItem::Kind::RepeatStart) {
        ++m_starts;
        m_counts.append(item.count);
        m_openCount = item.count;
        m_openStart = item.position;
    } else if (item.kind == TLightItem::Kind::RepeatEnd) {
        ++m_ends;
        code = LampCode::RepeatEnd(m_openCount);
        m_openCount = 0;
    }
    m_codes.append(code);
    return TLightGrammarError::None;
}

TLightGrammarError TLightProgramWalk::Finish() const
{
    return m_openCount != 0 ? TLightGrammarError::UnclosedAtEnd : TLightGrammarError::None;
}

QStringList TLightProgramWalk::CodesSoFar() const
{
    QStringList codes;
    for (const int code : m_codes)
        codes.append(LampCode::Text(code));
    return codes;
}

QStringList TLightProgramWalk::ProgramList() const
{
    return LampCode::PadLightProgram(m_codes);
}

QStringList TLightProgramWalk::ExpandedList() const
{
    return ExpandLightProgram(ProgramList(), m_counts);
}

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
            // A list from a walk has a count for every end; a body without
            // one is shown as it is written.
            const int count = repeatCounts.value(nextCount++, 1);
            for (int i = 0; i < count; ++i)
                expanded.append(body);
            body.clear();
        }
    }
    return expanded;
}

QString LightPositionError(int position, QStringView unit, QStringView tail)
{
    QString message = QStringLiteral("文法エラー「") + QString::number(position);
    return message.append(unit).append(tail).append(u'」');
}

QString LightGrammarMessage(TLightGrammarError error, int position, const TLightWording &wording)
{
    const auto at = [&](QStringView what) {
        return LightPositionError(position, wording.unit, QStringLiteral("　").append(what));
    };
    switch (error) {
    case TLightGrammarError::None: return {};
    case TLightGrammarError::StartWhileOpen: return at(wording.startWhileOpen);
    case TLightGrammarError::EndWithoutStart: return at(u"繰り返しが開始されてません");
    case TLightGrammarError::EndRightAfterStart: return at(u"繰り返しが開始との位置関係が間違っています");
    case TLightGrammarError::UnclosedAtEnd: return QStringLiteral("文法エラー　「繰り返しが終了されてません」");
    }
    return {};
}

QString LightCheckOkText()
{
    return QStringLiteral("文法チェック  OK!");
}

QString LightNotTransferredText()
{
    return QStringLiteral("プログラムの転送がされてません\nプログラム転送をしてください");
}
