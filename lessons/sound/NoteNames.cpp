#include "NoteNames.h"

namespace NoteNames {

QString Spoken(int keyIndex)
{
    static const char16_t *const Names[14] = {
        u"ド", u"ド#", u"レ", u"レ#", u"ミ", u"ファ", u"ファ#", u"ソ", u"ソ#", u"ラ", u"ラ#", u"シ", u"高いド", u"休み",
    };
    return keyIndex >= 0 && keyIndex < 14 ? QString::fromUtf16(Names[keyIndex]) : QString();
}

} // namespace NoteNames
