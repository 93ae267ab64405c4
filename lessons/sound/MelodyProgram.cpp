#include "MelodyProgram.h"

#include "CommandCodes.h"

namespace MelodyProgram {

namespace {
constexpr int SoundFiller = LampCode::SoundListFiller;
constexpr int LightFiller = LampCode::LightListFiller;
} // namespace

QStringList SoundList(const QList<int> &noteCodes)
{
    QStringList list;
    for (const int code : noteCodes)
        list.append(QString::number(code));
    const qsizetype entries = LampCode::SoundListLength(static_cast<int>(noteCodes.size()));
    while (list.size() < entries)
        list.append(QString::number(SoundFiller));
    return list;
}

QStringList LightList(const KeyColours &colours)
{
    QStringList list;
    for (const int colour : colours)
        list.append(QString::number(colour));
    while (list.size() < LampCode::LightListLength)
        list.append(QString::number(LightFiller));
    return list;
}

} // namespace MelodyProgram
