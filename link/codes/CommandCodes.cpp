#include "CommandCodes.h"

namespace LampCode {

QString ColourLabel(Colour c)
{
    static const char16_t *const labels[ColourCount] = {u"赤色", u"緑色", u"青色", u"黄色",
                                                         u"紫色", u"水色", u"白色", u"消灯"};
    const int n = ColourNumber(c);
    return n >= 0 && n < ColourCount ? QString::fromUtf16(labels[n]) : QString();
}

QString VariantLabel(int variant)
{
    if (variant == VariantHalfSecond)
        return QStringLiteral("0.5秒");
    if (variant >= 1 && variant <= 5)
        return QString::number(variant) + QStringLiteral("秒");
    if (variant == VariantFadeIn)
        return QStringLiteral("FADE IN");
    if (variant == VariantFadeOut)
        return QStringLiteral("FADE OUT");
    return QString();
}

QStringList PadLightProgram(const QList<int> &codes)
{
    QStringList program;
    program.reserve(ProgramLength);
    for (int code : codes.first(qMin<qsizetype>(codes.size(), ProgramLength)))
        program.append(Text(code));
    while (program.size() < ProgramLength)
        program.append(Text(EmptyStep));
    return program;
}

} // namespace LampCode
