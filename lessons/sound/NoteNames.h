#pragma once

#include <QString>

// What a key of an on-screen keyboard is called aloud ("ド", "ド#", ...,
// "高いド"; 13 the rest, "休み"): its accessible name.
namespace NoteNames {
QString Spoken(int keyIndex);
} // namespace NoteNames
