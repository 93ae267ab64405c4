#include "MelodyProgram.h"

namespace MelodyProgram {

namespace {
constexpr int BlockSize = 20;
constexpr int SoundFiller = 222;
constexpr int LightFiller = 255;
} // namespace

QStringList SoundList(const QList<int> &noteCodes)
{
    QStringList list;
    for (const int code : noteCodes)
        list.append(QString::number(code));
    const qsizetype entries = BlockSize * (noteCodes.size() / BlockSize + 1);
    while (list.size() < entries)
        list.append(QString::number(SoundFiller));
    return list;
}

QStringList LightList(const KeyColours &colours)
{
    QStringList list;
    for (const int colour : colours)
        list.append(QString::number(colour));
    while (list.size() < BlockSize)
        list.append(QString::number(LightFiller));
    return list;
}

} // namespace MelodyProgram
