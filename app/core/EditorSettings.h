#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

class TIniFile;

// Colours as the settings file stores them: 0x00BBGGRR, written as a name
// where the colour has one ("clNavy"), otherwise as "$" and eight upper-case
// hexadecimal digits; read from a name, a "$" value or a decimal value.
namespace ColorText {

// The 16 named colours in the order of the swatches' table.
struct TNamedColor {
    const char *name;
    quint32 value;
};
const TNamedColor *Names(int *count);

QString Format(quint32 color);
// std::nullopt when the text is none of the accepted forms.
std::optional<quint32> Parse(const QString &text);
// Keeps the top byte and inverts the colour itself (black gives white).
constexpr quint32 Inverse(quint32 color) { return color ^ 0xFFFFFFu; }
constexpr quint32 FromRgb(int r, int g, int b)
{
    return static_cast<quint32>(r & 0xFF) | static_cast<quint32>(g & 0xFF) << 8 | static_cast<quint32>(b & 0xFF) << 16;
}
constexpr int Red(quint32 color) { return static_cast<int>(color & 0xFF); }
constexpr int Green(quint32 color) { return static_cast<int>((color >> 8) & 0xFF); }
constexpr int Blue(quint32 color) { return static_cast<int>((color >> 16) & 0xFF); }

} // namespace ColorText

// The keys of "set.ini" and their defaults, in one place for every reader.
namespace SettingsKeys {
inline const QString FileName = QStringLiteral("set.ini");
inline const QString ComportSection = QStringLiteral("comport");
inline const QString ComportName = QStringLiteral("name");
inline constexpr int DefaultComport = 0;
inline const QString BackSection = QStringLiteral("back");
inline const QString BackPicture = QStringLiteral("picture");
inline const QString DefaultBackPicture = QStringLiteral("bg1.jpg");
inline const QString BackColor = QStringLiteral("color");
inline const QString FontSection = QStringLiteral("font");
inline const QString FontColor = QStringLiteral("color");
inline const QString FontSize = QStringLiteral("size");
inline const QString FontName = QStringLiteral("name");
inline const QString SelSection = QStringLiteral("sel");
inline const QString SelColor = QStringLiteral("color");
inline constexpr int MinFontSize = 5;
inline constexpr int MaxFontSize = 30;
} // namespace SettingsKeys

// The look of the program editor of STEP5 (also the font of the print buffer
// and the report), with the defaults a missing file gives.
struct TEditorSettings {
    quint32 BackColor = 0x000000;  // clBlack
    quint32 FontColor = 0xFFFFFF;  // clWhite: text and line-end marks
    quint32 SelColor = 0xFFFFFF;   // clWhite: the selection
    int FontSize = 14;
    QString FontName = QStringLiteral("MS Pゴシック");

    // Reads the five keys. A colour text that cannot be read gives that key's
    // default, and "section/key" is added to `unreadable` when given.
    static TEditorSettings Read(const TIniFile &ini, QStringList *unreadable = nullptr);
    // Writes the five keys; the selection colour written is always the inverse
    // of the background, so text stays readable when selected.
    void Write(TIniFile &ini) const;
};

// Everything the settings screen's OK stores.
struct TSettingsChoice {
    TEditorSettings Editor;
    int Comport = SettingsKeys::DefaultComport;   // 0 COM1 ... 3 COM4
    QString BackPicture = SettingsKeys::DefaultBackPicture;

    void Write(TIniFile &ini) const;
};
