#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <map>
#include <memory>

class QSoundEffect;

// Plays the wave files of the notes. Each sound is loaded once, before it is
// first needed, and kept; a new sound replaces one still playing.
class TSoundPlayer : public QObject {
    Q_OBJECT
public:
    // Wave files are looked up below `assetFolder`, the program folder when empty.
    explicit TSoundPlayer(QObject *parent = nullptr, const QString &assetFolder = QString());
    ~TSoundPlayer() override;

    // How long after the asking Preload starts: the screen that asks while it
    // is built is shown and painted first, without waiting for the sound system.
    static constexpr int PreloadDelayMs = 200;

    // Loads the wave files of these note codes ahead of their first use, a
    // little later; a sound played before then is loaded when played.
    void Preload(const QList<int> &codes);

    // Starts the note's sound and returns at once.
    void PlayInBackground(int code);
    // Plays the note's sound to its end. User input waits meanwhile, so the
    // screen does not react to it; timers and repaints go on. Without an audio
    // device the sound is silent but still takes its time, so whatever follows
    // keeps the melody's rhythm. A missing wave file takes no time.
    void PlayToEnd(int code);

    // The playing time of a PCM wave file in milliseconds, or -1 when the
    // file is missing or is no wave file.
    static int WaveDurationMs(const QString &absolutePath);

private:
    struct TSound {
        std::unique_ptr<QSoundEffect> effect;
        int durationMs = -1;
    };
    TSound &SoundFor(int code);
    void StopPlaying();

    QString m_assetFolder;
    std::map<int, TSound> m_sounds;
    QSoundEffect *m_playing = nullptr;
    QList<int> m_toPreload;
};
