#include "BlockNames.h"

#include "BlockProgram.h"

namespace BlockNames {

QString Colour(LampCode::Colour colour)
{
    static const char16_t *const Names[LampCode::ColourCount] = {
        u"赤", u"緑", u"青", u"黄", u"紫", u"水色", u"白", u"消灯",
    };
    const int number = LampCode::ColourNumber(colour);
    return number >= 0 && number < LampCode::ColourCount ? QString::fromUtf16(Names[number]) : QString();
}

QString Kind(int kind)
{
    if (kind == BlockKind::Empty)
        return QStringLiteral("空き");
    if (kind == BlockKind::Wait)
        return QStringLiteral("入力待ち");
    if (kind == BlockKind::RepeatStart)
        return QStringLiteral("繰り返し開始");
    if (kind == BlockKind::RepeatEnd)
        return QStringLiteral("繰り返し終了");
    if (BlockKind::IsColour(kind) || kind == BlockKind::Off)
        return Colour(static_cast<LampCode::Colour>((kind - BlockKind::Red) / 8));
    return QStringLiteral("不明な命令");
}

QString Slot(int slotNumber, int kind, const QString &itemText)
{
    QString name = QString::number(slotNumber) + QStringLiteral("番目: ") + Kind(kind);
    if (kind != BlockKind::Empty && !itemText.isEmpty())
        name += u' ' + itemText;
    return name;
}

QString Selector(int slotNumber, int kind)
{
    QString what = QStringLiteral("設定");
    if (BlockKind::IsColour(kind) || kind == BlockKind::Off)
        what = QStringLiteral("時間");
    else if (kind == BlockKind::RepeatStart)
        what = QStringLiteral("回数");
    return QString::number(slotNumber) + QStringLiteral("番目の") + what;
}

} // namespace BlockNames
