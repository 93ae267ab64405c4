#include "SafeName.h"

#include <QRegularExpression>

namespace SafeName {

namespace {
bool Refused(QChar c)
{
    static const QString unsafe = QStringLiteral("/\\:*?\"<>|.");
    const QChar::Category category = c.category();
    return unsafe.contains(c) || category == QChar::Other_Control || category == QChar::Other_Format
        || category == QChar::Other_Surrogate || category == QChar::Other_NotAssigned
        || category == QChar::Other_PrivateUse || category == QChar::Separator_Line
        || category == QChar::Separator_Paragraph;
}

bool DeviceName(const QString &name)
{
    static const QRegularExpression devices(QStringLiteral("^(CON|PRN|AUX|NUL|COM[0-9]|LPT[0-9])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return devices.match(name).hasMatch();
}

// Cuts after at most MaxChars characters, never inside a surrogate pair.
QString Bounded(const QString &text)
{
    QString out;
    int chars = 0;
    for (qsizetype i = 0; i < text.size() && chars < MaxChars; ++i, ++chars) {
        out.append(text.at(i));
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            out.append(text.at(++i));
    }
    return out;
}
} // namespace

QString ForFile(const QString &name, const QString &fallback)
{
    QString safe;
    const QList<uint> codes = name.toUcs4();
    for (const uint code : codes) {
        // Lone surrogates come out of toUcs4 as U+FFFD; a pair stays whole.
        const QString one = QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
        const bool refused = code == 0xFFFD || (one.size() == 1 && Refused(one.at(0)))
            || QChar::category(static_cast<char32_t>(code)) == QChar::Other_NotAssigned
            || QChar::category(static_cast<char32_t>(code)) == QChar::Other_PrivateUse;
        safe += refused ? QStringLiteral("_") : one;
    }
    safe = Bounded(safe.simplified());
    // A trailing space is dropped by Windows and hides the name's end.
    safe = safe.trimmed();
    if (safe.isEmpty() || safe.count(QLatin1Char('_')) == safe.size())
        return fallback;
    if (DeviceName(safe))
        safe.prepend(QLatin1Char('_'));
    return safe;
}

} // namespace SafeName
