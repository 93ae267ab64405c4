#include "EditorSettings.h"

#include "IniFile.h"

#include <iterator>

namespace ColorText {

namespace {

constexpr TNamedColor kNames[] = {
    {"clBlack", FromRgb(0, 0, 0)},       {"clMaroon", FromRgb(128, 0, 0)},
    {"clGreen", FromRgb(0, 128, 0)},     {"clOlive", FromRgb(128, 128, 0)},
    {"clNavy", FromRgb(0, 0, 128)},      {"clPurple", FromRgb(128, 0, 128)},
    {"clTeal", FromRgb(0, 128, 128)},    {"clGray", FromRgb(128, 128, 128)},
    {"clSilver", FromRgb(192, 192, 192)}, {"clRed", FromRgb(255, 0, 0)},
    {"clLime", FromRgb(0, 255, 0)},      {"clYellow", FromRgb(255, 255, 0)},
    {"clBlue", FromRgb(0, 0, 255)},      {"clFuchsia", FromRgb(255, 0, 255)},
    {"clWhite", FromRgb(255, 255, 255)}, {"clAqua", FromRgb(0, 255, 255)},
};

} // namespace

const TNamedColor *Names(int *count)
{
    *count = static_cast<int>(std::size(kNames));
    return kNames;
}

QString Format(quint32 color)
{
    for (const TNamedColor &named : kNames) {
        if (named.value == color)
            return QString::fromLatin1(named.name);
    }
    return QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<quint32> Parse(const QString &text)
{
    for (const TNamedColor &named : kNames) {
        if (text.compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0)
            return named.value;
    }
    bool ok = false;
    if (text.startsWith(u'$')) {
        const QString digits = text.mid(1);
        if (digits.isEmpty() || digits.size() > 8 || digits.startsWith(u'+') || digits.startsWith(u'-'))
            return std::nullopt;
        const uint value = digits.toUInt(&ok, 16);
        return ok ? std::optional<quint32>(value) : std::nullopt;
    }
    // Decimal values may be negative: the system colours have the top bit set.
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < -2147483648LL || value > 4294967295LL)
        return std::nullopt;
    return static_cast<quint32>(value);
}

} // namespace ColorText

namespace {

quint32 ReadColor(const TIniFile &ini, const QString &section, const QString &key, quint32 fallback,
                  QStringList *unreadable)
{
    const QString text = ini.ReadString(section, key, ColorText::Format(fallback));
    if (const std::optional<quint32> color = ColorText::Parse(text))
        return *color;
    if (unreadable)
        unreadable->append(section + u'/' + key);
    return fallback;
}

} // namespace

TEditorSettings TEditorSettings::Read(const TIniFile &ini, QStringList *unreadable)
{
    namespace K = SettingsKeys;
    const TEditorSettings defaults;
    TEditorSettings s;
    s.BackColor = ReadColor(ini, K::BackSection, K::BackColor, defaults.BackColor, unreadable);
    s.FontColor = ReadColor(ini, K::FontSection, K::FontColor, defaults.FontColor, unreadable);
    s.SelColor = ReadColor(ini, K::SelSection, K::SelColor, defaults.SelColor, unreadable);
    s.FontSize = ini.ReadInteger(K::FontSection, K::FontSize, defaults.FontSize);
    s.FontName = ini.ReadString(K::FontSection, K::FontName, defaults.FontName);
    return s;
}

void TEditorSettings::Write(TIniFile &ini) const
{
    namespace K = SettingsKeys;
    ini.WriteString(K::BackSection, K::BackColor, ColorText::Format(BackColor));
    ini.WriteString(K::FontSection, K::FontColor, ColorText::Format(FontColor));
    ini.WriteString(K::SelSection, K::SelColor, ColorText::Format(ColorText::Inverse(BackColor)));
    ini.WriteInteger(K::FontSection, K::FontSize, FontSize);
    ini.WriteString(K::FontSection, K::FontName, FontName);
}

void TSettingsChoice::Write(TIniFile &ini) const
{
    namespace K = SettingsKeys;
    Editor.Write(ini);
    ini.WriteInteger(K::ComportSection, K::ComportName, Comport);
    ini.WriteString(K::BackSection, K::BackPicture, BackPicture);
}
