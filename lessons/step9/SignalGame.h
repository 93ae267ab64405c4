#pragma once

#include <QString>

// The rules of the traffic-signal game, without the screen: speeds, the
// signal cycle, the car's five frames, the judging and the clock.
class TSignalGame {
public:
    enum Signal { Blue = 0, Yellow = 1, Red = 2 };
    enum class Announcement { Ask, Pass, Stop };

    struct Speed {
        int carIntervalMs;
        int seconds;
    };
    // The three speed choices, 0 to 2.
    static Speed SpeedFor(int choice);

    // Lamp codes.
    static constexpr int kRedCode = 161;
    static constexpr int kYellowCode = 185;
    static constexpr int kBlueCode = 177;
    static constexpr int kPassedAgainstSignalSound = 17;
    static constexpr int kStoppedAtBlueSound = 13;
    static int LightCodeFor(Signal signal);

    // What judging at the last frame decided.
    struct Judgement {
        int scoreChange = 0;
        int soundCode = -1;     // sent to the lamp in mode 3, or -1
        int carPicture = -1;    // drawn on the clean scene, or -1 (no redraw)
        int carX = 0;
        int carY = 0;
        bool good = false;      // the "good" sound, else the crash sound below
        bool crashOnPass = false; // which crash sound
    };
    static Judgement Judge(Announcement announcement, Signal signal);

    // Where each approach frame draws its car: picture index and position.
    struct CarPlacement {
        int picture;
        int x;
        int y;
    };
    static CarPlacement PlacementForFrame(int frame); // frames 0 to 3

    // The display text of the seconds left: two digits.
    static QString ClockText(int secondsLeft);
    static QString ScoreText(int score);
    static QString AnnouncementText(Announcement announcement);

    // --- state ---
    bool running = false;
    bool starting = false;
    Signal signal = Blue;
    int frame = -1;
    int score = 0;
    int secondsLeft = 0;
    Announcement announcement = Announcement::Ask;

    // Next signal in the cycle blue, yellow, red.
    Signal NextSignal() const { return static_cast<Signal>((signal + 1) % 3); }
    // Moves to the next frame (0 after 4) and returns it.
    int AdvanceFrame();
    // One clock second; returns false when the game has just ended.
    bool ClockTick();
    // Whether the tick sound plays after this clock tick.
    bool TickSoundDue() const { return secondsLeft < 10; }
};
