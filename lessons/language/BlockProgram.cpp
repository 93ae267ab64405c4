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

// One slot as an item of the language. Empty slots, and kinds no palette
// block has (the pre-check refuses those), hold the empty step so the list
// keeps 20 entries.
TLightItem SlotItem(const TBlockSlot &slot, int n)
{
    const int kind = slot.kind;
    if (BlockKind::IsColour(kind) || kind == BlockKind::Off)
        return TLightItem::Step(n, kind + slot.itemIndex + 1);
    switch (kind) {
    case BlockKind::RepeatStart: return TLightItem::RepeatStart(n, slot.itemIndex + 1);
    case BlockKind::RepeatEnd: return TLightItem::RepeatEnd(n);
    case BlockKind::Wait: return TLightItem::Wait(n);
    default: return TLightItem::Empty(n);
    }
}

constexpr TLightWording kSlotWording{u"個目", u"繰り返しが終了されてません"};

} // namespace

QString TBlockProgramBuilder::UnsetSelectorMessage()
{
    return QStringLiteral("秒数、回数を正しく設定して下さい");
}

QString TBlockProgramBuilder::GapMessage()
{
    return QStringLiteral("命令と命令の間に空白があります。空白を埋めてください。");
}

QString TBlockProgramBuilder::EmptyProgramMessage()
{
    return QStringLiteral("プログラムが入力されてません");
}

TBlockBuild TBlockProgramBuilder::Build(const TBlockSlots &blocks)
{
    TBlockBuild build;
    for (const TBlockSlot &slot : blocks)
        build.anyFilled = build.anyFilled || slot.IsFilled();

    if (const QString found = PreCheck(blocks); !found.isEmpty())
        build.messages << found;

    TLightProgramWalk walk;
    for (int n = 1; n <= BlockSlotCount; ++n) {
        const TLightGrammarError error = walk.Add(SlotItem(blocks[static_cast<size_t>(n - 1)], n));
        if (error != TLightGrammarError::None) {
            build.messages << LightGrammarMessage(error, n, kSlotWording);
            build.programList = walk.CodesSoFar();
            return build;
        }
    }
    build.programList = walk.ProgramList();
    if (const TLightGrammarError error = walk.Finish(); error != TLightGrammarError::None) {
        build.messages << LightGrammarMessage(error, BlockSlotCount, kSlotWording);
        return build;
    }
    build.expandedList = walk.ExpandedList();
    build.ok = build.messages.isEmpty();
    return build;
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
