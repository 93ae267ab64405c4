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
//
// How far a short pause is believed depends on whose clock stamped the bytes.
// The sender's write calls (Clock::Sender) show every pause exactly: a short
// one is a fault. A reader's arrival times (Clock::Reader) cannot show a
// pause the machine hid from it: bytes handed over in one read, or a byte
// delivered late, which shortens the gap after it. There a short pause is
// reported as not measured, counted, and not taken for a fault.
class TLampDecoder {
public:
    enum class Clock { Sender, Reader };

    struct Unit {
        enum Kind { DirectLight, DirectSound, LightProgram, LightSound, Execute, Warning, Unmeasured };
        Kind kind = Warning;
        QList<int> codes;      // the code(s); for LightSound the sound list
        QList<int> lightList;  // LightSound only; empty when none was sent
        QString text;          // Warning and Unmeasured only

        // One line in the log form ("direct-light 178", "light-program 162 ...").
        QString LogLine() const;
    };

    // Times are whole milliseconds: two of them may differ by up to one
    // less than the real interval.
    static constexpr int kRoundingMs = 1;
    // A frame whose next byte has not come after this long is cut short.
    static constexpr int kFrameTimeoutMs = 1500;

    explicit TLampDecoder(Clock clock) : m_clock(clock) {}

    QList<Unit> Feed(int byte, qint64 atMs);
    // Reports a frame that has been silent too long; call it now and then.
    QList<Unit> Poll(qint64 nowMs);

    // Pauses the protocol asks for that were seen in full, and those that
    // came short (faults with the sender's clock, not measured with a reader's).
    int PausesSeen() const { return m_pausesSeen; }
    int PausesShort() const { return m_pausesShort; }

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
    void JudgePause(qint64 gap, int byte, QList<Unit> &out);

    Clock m_clock;
    State m_state = State::Idle;
    int m_mode = 0;
    qint64 m_last = -1;
    int m_pausesSeen = 0;
    int m_pausesShort = 0;
    QList<int> m_codes;
    QList<int> m_light;
};
