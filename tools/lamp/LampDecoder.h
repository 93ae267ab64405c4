#pragma once

#include <QList>
#include <QString>
#include <optional>

// Turns the bytes that arrive on the lamp's line, each with its arrival time,
// into the units the lamp acts on: a direct light or sound command, a light
// program, a light-and-sound program, an execute byte. Anything out of
// protocol (a pause shorter than the protocol's, a byte outside a frame, a
// frame cut short, a wrong closing byte) is reported as a warning and the
// decoder starts afresh, so the next frame still decodes.
class TLampDecoder {
public:
    struct Unit {
        enum Kind { DirectLight, DirectSound, LightProgram, LightSound, Execute, Warning };
        Kind kind = Warning;
        QList<int> codes;      // the code(s); for LightSound the sound list
        QList<int> lightList;  // LightSound only; empty when none was sent
        QString text;          // Warning only

        // One line in the log form ("direct-light 178", "light-program 162 ...").
        QString LogLine() const;
    };

    // Arrival times may jitter by this much before a pause counts as short.
    static constexpr int kToleranceMs = 2;
    // At most this much of a late read is taken for the reader's own delay:
    // a pseudo-terminal on a busy machine delivers up to about 10 ms late.
    static constexpr int kReaderLateMs = 10;
    // A frame whose next byte has not come after this long is cut short.
    static constexpr int kFrameTimeoutMs = 1500;

    QList<Unit> Feed(int byte, qint64 atMs);
    // Reports a frame that has been silent too long; call it now and then.
    QList<Unit> Poll(qint64 nowMs);

private:
    enum class State {
        Idle, DirectCode, LightCodes, LightEnd, LightClose,
        ColourList, AfterColourList, SoundCodes, SoundBlockStart, SoundEnd, SoundClose,
    };

    void Reset();
    // The least pause before the next byte, given the state we are in.
    int RequiredPause() const;
    void Warn(QList<Unit> &out, const QString &text);
    void StartIdle(int byte, QList<Unit> &out);

    State m_state = State::Idle;
    int m_mode = 0;
    qint64 m_last = -1;
    qint64 m_previousExcess = 0;
    QList<int> m_codes;
    QList<int> m_light;
};
