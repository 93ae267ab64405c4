#include "TextCommand.h"

namespace {

int VariantOf(const QString &argument)
{
    if (argument == QStringLiteral("0.5"))
        return 0;
    // Only the single digits themselves: "01", "+1" or " 1" are not commands.
    if (argument.size() == 1 && argument[0] >= u'1' && argument[0] <= u'7')
        return argument[0].unicode() - u'0';
    return -1;
}

} // namespace

TTextCommand TTextCommand::Parse(const QString &text, const Words &words)
{
    TTextCommand command;
    const qsizetype open = text.indexOf(u'(');
    const qsizetype close = text.indexOf(u')');
    const qsizetype semicolon = text.indexOf(u';');
    if (open < 0 || close < 0 || semicolon < 0)
        return command;
    // The word is known before the argument is judged, so the screen can
    // prepare its preview picture.
    const QString word = text.left(open);
    for (int i = 0; i < ColourCount; ++i) {
        if (word == words[static_cast<size_t>(i)]) {
            command.m_colour = i;
            break;
        }
    }
    // A ")" before the "(" leaves no argument at all.
    if (close < open || semicolon != close + 1 || semicolon != text.size() - 1)
        return command;
    command.m_variant = VariantOf(text.mid(open + 1, close - open - 1));
    command.m_valid = command.m_variant >= 0 && command.m_colour >= 0;
    return command;
}

int TTextCommand::DurationMs() const
{
    if (!m_valid || m_variant > 5)
        return 0;
    return m_variant == 0 ? 500 : m_variant * 1000;
}
