#include "BlockProgram.h"

namespace BlockKind {

bool IsColour(int kind)
{
    return kind >= Red && kind <= White && (kind - Red) % 8 == 0;
}

bool IsKnown(int kind)
{
    return IsColour(kind) || kind == Off || kind == RepeatStart || kind == RepeatEnd || kind == Wait;
}

} // namespace BlockKind

namespace {

LampCode::Colour ColourOfBlock(int kind)
{
    return static_cast<LampCode::Colour>((kind - BlockKind::Red) / 8);
}

bool IsLightOrWait(int code)
{
    return LampCode::IsColourStep(code) || code == LampCode::WaitForInput;
}

QString SlotError(int slot, const QString &what)
{
    return QStringLiteral("文法エラー「") + QString::number(slot) + QStringLiteral("個目　") + what
        + QStringLiteral("」");
}

QStringList TimedItems()
{
    QStringList items;
    for (int variant = 0; variant < LampCode::OffVariantCount; ++variant)
        items << LampCode::VariantLabel(variant);
    return items;
}

// The pre-check: the blocks fill blocks 1..k without a hole, each with a
// selected item. Returns the message, or empty.
QString PreCheck(const TBlockSlots &blocks)
{
    bool gapSeen = false;
    for (const TBlockSlot &slot : blocks) {
        if (!gapSeen) {
            if (!slot.IsFilled())
                gapSeen = true;
            else if (slot.itemIndex == -1)
                return TBlockProgramBuilder::UnsetSelectorMessage();
        } else if (slot.IsFilled()) {
            return TBlockProgramBuilder::GapMessage();
        }
    }
    return {};
}

} // namespace

QString TBlockProgramBuilder::UnsetSelectorMessage()
{
    return QStringLiteral("秒数、回数を正しく設定して下さい");
}

QString TBlockProgramBuilder::GapMessage()
{
    return QStringLiteral("命令と命令の間に空白があります。空白を埋めてください。");
}

QString TBlockProgramBuilder::StartWhileOpenMessage(int slot)
{
    return SlotError(slot, QStringLiteral("繰り返しが終了されてません"));
}

QString TBlockProgramBuilder::EndWithoutStartMessage(int slot)
{
    return SlotError(slot, QStringLiteral("繰り返しが開始されてません"));
}

QString TBlockProgramBuilder::EndRightAfterStartMessage(int slot)
{
    return SlotError(slot, QStringLiteral("繰り返しが開始との位置関係が間違っています"));
}

QString TBlockProgramBuilder::UnclosedAtEndMessage()
{
    return QStringLiteral("文法エラー　「繰り返しが終了されてません」");
}

QString TBlockProgramBuilder::EmptyProgramMessage()
{
    return QStringLiteral("プログラムが入力されてません");
}

QString TBlockProgramBuilder::NotTransferredMessage()
{
    return QStringLiteral("プログラムの転送がされてません\nプログラム転送をしてください");
}

QString TBlockProgramBuilder::CheckOkText()
{
    return QStringLiteral("文法チェック  OK!");
}

TBlockBuild TBlockProgramBuilder::Build(const TBlockSlots &blocks)
{
    TBlockBuild build;
    for (const TBlockSlot &slot : blocks)
        build.anyFilled = build.anyFilled || slot.IsFilled();

    if (const QString found = PreCheck(blocks); !found.isEmpty())
        build.messages << found;

    QList<int> repeatCounts;
    int starts = 0;
    int ends = 0;
    int openCount = 0;
    int openStart = 0;
    for (int n = 1; n <= BlockSlotCount; ++n) {
        const TBlockSlot &slot = blocks[static_cast<size_t>(n - 1)];
        const int kind = slot.kind;
        int code = LampCode::EmptyStep;
        if (BlockKind::IsColour(kind) || kind == BlockKind::Off) {
            code = kind + slot.itemIndex + 1;
        } else if (kind == BlockKind::RepeatStart) {
            if (starts != ends) {
                build.messages << StartWhileOpenMessage(n);
                return build;
            }
            code = LampCode::RepeatStart(n);
            ++starts;
            repeatCounts << slot.itemIndex + 1;
            openCount = slot.itemIndex + 1;
            openStart = n;
        } else if (kind == BlockKind::RepeatEnd) {
            if (starts != ends + 1) {
                build.messages << EndWithoutStartMessage(n);
                return build;
            }
            if (n - openStart == 1) {
                build.messages << EndRightAfterStartMessage(n);
                return build;
            }
            code = LampCode::RepeatEnd(openCount);
            ++ends;
            openCount = 0;
        } else if (kind == BlockKind::Wait) {
            code = LampCode::WaitForInput;
        }
        // Empty blocks, and kinds no palette block has (the pre-check has
        // refused those), hold the empty step so the list keeps 20 entries.
        build.programList << LampCode::Text(code);
    }

    if (openCount != 0) {
        build.messages << UnclosedAtEndMessage();
        return build;
    }
    build.expandedList = Expand(build.programList, repeatCounts);
    build.ok = build.messages.isEmpty();
    return build;
}

QStringList TBlockProgramBuilder::Expand(const QStringList &programList, const QList<int> &repeatCounts)
{
    QStringList expanded;
    QStringList body;
    bool inside = false;
    qsizetype nextCount = 0;
    for (const QString &entry : programList) {
        const int v = entry.toInt();
        if (!inside) {
            if (IsLightOrWait(v))
                expanded << entry;
            else if (LampCode::IsRepeatStart(v))
                inside = true;
        } else if (LampCode::IsRepeatEnd(v)) {
            inside = false;
            const int count = nextCount < repeatCounts.size() ? repeatCounts.at(nextCount) : 0;
            ++nextCount;
            for (int i = 0; i < count; ++i)
                expanded << body;
            body.clear();
        } else if (IsLightOrWait(v)) {
            body << entry;
        }
    }
    return expanded;
}

QStringList TBlockProgramBuilder::ReportLines(const TBlockSlots &blocks)
{
    QStringList lines;
    for (const TBlockSlot &slot : blocks) {
        const int i = slot.itemIndex;
        if (BlockKind::IsColour(slot.kind)) {
            const QString label = LampCode::ColourLabel(ColourOfBlock(slot.kind));
            if (i == 0)
                lines << label + QStringLiteral("　0.5秒　点灯");
            else if (i >= 1 && i <= 5)
                lines << label + QStringLiteral("　") + QString::number(i) + QStringLiteral("秒　点灯");
            else if (i == LampCode::VariantFadeIn)
                lines << label + QStringLiteral(" ゆっくり点灯");
            else if (i == LampCode::VariantFadeOut)
                lines << label + QStringLiteral(" ゆっくり消灯");
        } else if (slot.kind == BlockKind::Off) {
            if (i == 0)
                lines << QStringLiteral("消灯　0.5秒");
            else if (i >= 1 && i <= 5)
                lines << QStringLiteral("消灯　") + QString::number(i) + QStringLiteral("秒");
        } else if (slot.kind == BlockKind::RepeatStart) {
            if (i >= 0 && i < LampCode::RepeatCountMax)
                lines << QStringLiteral("繰り返し開始　") + QString::number(i + 1) + QStringLiteral("回");
        } else if (slot.kind == BlockKind::RepeatEnd) {
            if (i == 0)
                lines << QStringLiteral("繰り返し終了");
        } else if (slot.kind == BlockKind::Wait) {
            lines << QStringLiteral("入力待ち");
        }
    }
    return lines;
}

QStringList TBlockProgramBuilder::SelectorItems(int kind, int slotNumber)
{
    if (BlockKind::IsColour(kind))
        return TimedItems() << LampCode::VariantLabel(LampCode::VariantFadeIn)
                            << LampCode::VariantLabel(LampCode::VariantFadeOut);
    if (kind == BlockKind::Off)
        return TimedItems();
    if (kind == BlockKind::RepeatStart) {
        QStringList items;
        for (int count = 1; count <= LampCode::RepeatCountMax; ++count)
            items << QString::number(count) + QStringLiteral("回");
        return items;
    }
    if (kind == BlockKind::RepeatEnd)
        return {QStringLiteral("END")};
    if (kind == BlockKind::Wait)
        return {QString::number(slotNumber) + QStringLiteral("個目")};
    return {};
}

bool TBlockProgramBuilder::SelectorEnabled(int kind)
{
    return BlockKind::IsKnown(kind) && kind != BlockKind::RepeatEnd;
}

QString TBlockProgramBuilder::PictureFile(int kind)
{
    static const char *const colours[] = {
        "led_red.bmp", "led_green.bmp", "led_blue.bmp", "led_yellow.bmp",
        "led_purple.bmp", "led_lightblue.bmp", "led_white.bmp",
    };
    if (BlockKind::IsColour(kind))
        return QString::fromLatin1(colours[(kind - BlockKind::Red) / 8]);
    switch (kind) {
    case BlockKind::Off: return QStringLiteral("led_off.bmp");
    case BlockKind::RepeatStart: return QStringLiteral("start.bmp");
    case BlockKind::RepeatEnd: return QStringLiteral("end.bmp");
    case BlockKind::Wait: return QStringLiteral("wait.bmp");
    default: return {};
    }
}
