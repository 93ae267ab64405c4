#pragma once

#include <QString>
#include <array>

// One written light command of STEP4, such as "red(1);": a colour word, an
// argument in parentheses and a closing ";". The text is taken exactly as
// typed: nothing is trimmed and the words match case-sensitively.
class TTextCommand {
public:
    static constexpr int ColourCount = 7;
    using Words = std::array<QString, ColourCount>; // red, green, blue, yellow, purple, lightblue, white

    // The message of every failure: the exercise gives no line or position.
    static QString ErrorMessage() { return QStringLiteral("文法エラー"); }

    static TTextCommand Parse(const QString &text, const Words &words);

    bool IsValid() const { return m_valid; }
    // 0 to 6 once the word is known (even when the argument fails), else -1.
    int Colour() const { return m_colour; }
    // 0 for "0.5", 1 to 7 for "1" to "7"; -1 when the argument fails.
    int Variant() const { return m_variant; }
    // The lamp's step code 160 + 8 x colour + variant (valid commands only).
    int StepCode() const { return 160 + 8 * m_colour + m_variant; }

    // The variant as a duration in milliseconds (0 for the fades).
    int DurationMs() const;
    bool IsFadeIn() const { return m_valid && m_variant == 6; }
    bool IsFadeOut() const { return m_valid && m_variant == 7; }

private:
    bool m_valid = false;
    int m_colour = -1;
    int m_variant = -1;
};
