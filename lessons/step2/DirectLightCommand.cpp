#include "DirectLightCommand.h"

#include <algorithm>

namespace {

struct Chip {
    const char *name;
    LampCode::Colour colour;
    const char *picture;
};

constexpr Chip Chips[DirectLightCommand::ChipCount] = {
    {"Image45", LampCode::Colour::Red, "picture\\LED\\led_red.bmp"},
    {"Image46", LampCode::Colour::Green, "picture\\LED\\led_green.bmp"},
    {"Image47", LampCode::Colour::Blue, "picture\\LED\\led_blue.bmp"},
    {"Image48", LampCode::Colour::Yellow, "picture\\LED\\led_yellow.bmp"},
    {"Image49", LampCode::Colour::Purple, "picture\\LED\\led_purple.bmp"},
    {"Image50", LampCode::Colour::LightBlue, "picture\\LED\\led_lightblue.bmp"},
    {"Image51", LampCode::Colour::White, "picture\\LED\\led_white.bmp"},
};

const Chip *FindChip(const QString &name)
{
    for (const Chip &chip : Chips)
        if (name == QLatin1String(chip.name))
            return &chip;
    return nullptr;
}

} // namespace

const char *DirectLightCommand::ChipName(int i)
{
    return i >= 0 && i < ChipCount ? Chips[i].name : "";
}

int DirectLightCommand::ChipCode(const QString &chipName)
{
    const Chip *chip = FindChip(chipName);
    return chip ? LampCode::ColourFirstStep(chip->colour) : 0;
}

QString DirectLightCommand::ChipPicture(const QString &chipName)
{
    const Chip *chip = FindChip(chipName);
    // The chips name their pictures with a capital folder, the frame without.
    return chip ? QStringLiteral("P") + QString::fromLatin1(chip->picture).mid(1) : QString();
}

QString DirectLightCommand::LedPicture(int frameCode)
{
    for (const Chip &chip : Chips)
        if (LampCode::ColourFirstStep(chip.colour) == frameCode)
            return QString::fromLatin1(chip.picture);
    return QString();
}

QString DirectLightCommand::PreviewPicture(int frameCode)
{
    return QStringLiteral("picture\\Pre\\") + QString::number(frameCode) + QStringLiteral(".bmp");
}

QStringList DirectLightCommand::SecondsItems()
{
    return {QStringLiteral("０．５秒"), QStringLiteral("１秒"), QStringLiteral("２秒"), QStringLiteral("３秒"),
            QStringLiteral("４秒"), QStringLiteral("５秒"), QStringLiteral("FADE IN"), QStringLiteral("FADE OUT")};
}

DirectLightCommand::Preview DirectLightCommand::PreviewFor(int secondsIndex)
{
    if (secondsIndex == LampCode::VariantFadeIn)
        return {80, true, 0, 5};
    if (secondsIndex == LampCode::VariantFadeOut)
        return {80, true, 255, -5};
    if (secondsIndex == LampCode::VariantHalfSecond)
        return {500, false, 0, 0};
    return {secondsIndex * 1000, false, 0, 0};
}

bool LightFade::Tick()
{
    m_opacity = std::clamp(m_opacity + m_step, 0, 255);
    return m_step > 0 ? m_opacity == 255 : m_opacity == 0;
}
