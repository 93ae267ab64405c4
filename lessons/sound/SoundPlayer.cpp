#include "SoundPlayer.h"

#include "AssetPath.h"
#include "NoteCode.h"

#include <QEventLoop>
#include <QFile>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QtEndian>
#include <utility>

namespace {

// Playback may start a little late on a busy machine; the wait for the end
// gives it this much beyond the file's own length before giving up.
constexpr int EndSlackMs = 500;

} // namespace

TSoundPlayer::TSoundPlayer(QObject *parent, const QString &assetFolder)
    : QObject(parent)
    , m_assetFolder(assetFolder)
{
}

TSoundPlayer::~TSoundPlayer() = default;

void TSoundPlayer::Preload(const QList<int> &codes)
{
    m_toPreload += codes;
    QTimer::singleShot(PreloadDelayMs, this, [this] {
        const QList<int> due = std::exchange(m_toPreload, {});
        for (const int code : due)
            SoundFor(code);
    });
}

TSoundPlayer::TSound &TSoundPlayer::SoundFor(int code)
{
    auto found = m_sounds.find(code);
    if (found != m_sounds.end())
        return found->second;
    TSound &sound = m_sounds[code];
    const QString path = m_assetFolder.isEmpty() ? ResolveAsset(NoteCode::WaveFile(code))
                                                 : ResolveAssetUnder(m_assetFolder, NoteCode::WaveFile(code));
    if (!path.isEmpty()) {
        sound.durationMs = WaveDurationMs(path);
        if (sound.durationMs >= 0) {
            sound.effect = std::make_unique<QSoundEffect>();
            sound.effect->setSource(QUrl::fromLocalFile(path));
        }
    }
    return sound;
}

void TSoundPlayer::StopPlaying()
{
    if (m_playing)
        m_playing->stop();
    m_playing = nullptr;
}

void TSoundPlayer::PlayInBackground(int code)
{
    StopPlaying();
    TSound &sound = SoundFor(code);
    if (!sound.effect)
        return;
    m_playing = sound.effect.get();
    m_playing->play();
}

void TSoundPlayer::PlayToEnd(int code)
{
    PlayInBackground(code);
    const TSound &sound = SoundFor(code);
    if (sound.durationMs <= 0)
        return;

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QSoundEffect *effect = sound.effect.get();
    bool started = false;
    const auto connection = QObject::connect(effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (effect->isPlaying()) {
            // Now that the device plays, its own end is what counts.
            started = true;
            deadline.start(sound.durationMs + EndSlackMs);
        } else if (started) {
            loop.quit();
        }
    });
    started = effect->isPlaying();
    deadline.start(started ? sound.durationMs + EndSlackMs : sound.durationMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QObject::disconnect(connection);
    if (m_playing == effect)
        StopPlaying();
}

int TSoundPlayer::WaveDurationMs(const QString &absolutePath)
{
    QFile file(absolutePath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray header = file.read(12);
    if (header.size() != 12 || !header.startsWith("RIFF") || header.mid(8, 4) != "WAVE")
        return -1;
    quint32 byteRate = 0;
    // Walk the chunks: "fmt " gives the byte rate, "data" the length.
    for (;;) {
        const QByteArray chunk = file.read(8);
        if (chunk.size() != 8)
            return -1;
        const quint32 size = qFromLittleEndian<quint32>(chunk.constData() + 4);
        const QByteArray id = chunk.left(4);
        if (id == "fmt ") {
            const QByteArray fmt = file.read(size);
            if (fmt.size() < 16)
                return -1;
            byteRate = qFromLittleEndian<quint32>(fmt.constData() + 8);
            if (size % 2)
                file.read(1);
        } else if (id == "data") {
            if (byteRate == 0)
                return -1;
            return static_cast<int>(static_cast<quint64>(size) * 1000 / byteRate);
        } else if (!file.skip(size + (size % 2))) {
            return -1;
        }
    }
}
