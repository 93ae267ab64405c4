#include "NoteLetters.h"

#include "NoteCode.h"

namespace NoteLetters {

QChar LetterFor(int lengthIndex, int keyIndex)
{
    if (keyIndex < 0 || keyIndex >= KeyCount || lengthIndex < 0 || lengthIndex >= LengthCount)
        return Empty;
    switch (lengthIndex) {
    case 0:
        return QChar(u'A' + keyIndex);
    case 2:
        return QChar(u'a' + keyIndex);
    default:
        // "O".."Z" run out after si, so high do and the rest take "o" and "p".
        if (keyIndex == 12)
            return u'o';
        if (keyIndex == 13)
            return u'p';
        return QChar(u'O' + keyIndex);
    }
}

std::optional<int> LengthIndexOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'A' && u <= u'N')
        return 0;
    if ((u >= u'O' && u <= u'Z') || u == u'o' || u == u'p')
        return 1;
    if (u >= u'a' && u <= u'n')
        return 2;
    return std::nullopt;
}

std::optional<int> KeyIndexOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'A' && u <= u'N')
        return u - u'A';
    if (u >= u'O' && u <= u'Z')
        return u - u'O';
    if (u == u'o')
        return 12;
    if (u == u'p')
        return 13;
    if (u >= u'a' && u <= u'n')
        return u - u'a';
    return std::nullopt;
}

std::optional<int> CodeOf(QChar c)
{
    const auto key = KeyIndexOf(c);
    if (!key)
        return std::nullopt;
    return NoteCode::For(*LengthIndexOf(c), *key);
}

} // namespace NoteLetters
