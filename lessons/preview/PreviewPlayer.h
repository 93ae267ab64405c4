#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The play of a checked light program on the preview's picture of the lamp,
// one timer tick at a time. It decides everything the preview screen shows:
// which picture, whether the picture area or the fade area is visible, the
// blend of a fade, the step counter and the timer interval after each tick;
// the screen only copies that onto its controls.
//
// Usage:
//   TPreviewPlayer player;
//   if (!player.Play(host.ExpandedList)) ... nothing to play
//   timer interval := player.Interval(); on every tick: player.Tick(), then
//   show Picture()/PictureVisible()/FadeVisible()/FadePicture()/FadeOpacity(),
//   CurrentNumber()/Total(), and set the interval again; stop the timer when
//   IsPlaying() turns false.
class TPreviewPlayer {
public:
    static constexpr int StartIntervalMs = 1500;
    static constexpr int HalfSecondMs = 500;
    static constexpr int FadeIntervalMs = 80;
    static constexpr int WaitIntervalMs = 1500;
    static constexpr int FadeOpacityStep = 5;
    static constexpr int FadeOpacityFull = 255;

    // The step codes of `expanded` that the preview can show: colour steps and
    // waits. Empty entries and anything else (which a checker never hands
    // over) are left out, so a stray entry cannot stall the play on one step.
    static QList<int> PlayableSteps(const QStringList &expanded);

    // Starts from the first step with the start picture. False, and nothing
    // changes, when there is no step to play.
    bool Play(const QStringList &expanded);
    // Advances the play by one timer tick; does nothing while idle.
    void Tick();
    // Ends the play at once, wherever it is.
    void Stop();

    bool IsPlaying() const { return m_playing; }
    int Interval() const { return m_interval; }

    // The picture area: the relative path of its picture and whether it shows.
    const QString &Picture() const { return m_picture; }
    bool PictureVisible() const { return m_pictureVisible; }
    // The fade area below it: the background with, when FadePicture() is not
    // empty, that picture blended onto it at FadeOpacity().
    bool FadeVisible() const { return m_fadeVisible; }
    const QString &FadePicture() const { return m_fadePicture; }
    int FadeOpacity() const { return m_fadeOpacity; }

    // The counter panel: the number of the step shown (0 before the first)
    // and the step total; shown while playing.
    int CurrentNumber() const { return m_number; }
    int Total() const { return static_cast<int>(m_steps.size()); }

    static QString StartPicture();
    static QString BackgroundPicture();
    static QString WaitPicture(int phase); // phase 0 or 1
    // The lamp lit in the colour of a colour step, "off" for the off steps.
    static QString ColourPicture(int code);

private:
    void TickTimed(int code);
    void TickFadeIn(int code);
    void TickFadeOut(int code);
    void TickWait();
    void ShowStep(const QString &picture);
    void SetUpFade(int code);
    void EndFade();
    void ShowBackground();

    QList<int> m_steps;
    int m_index = 0;
    int m_phase = 0;
    bool m_playing = false;
    int m_interval = StartIntervalMs;
    QString m_picture;
    bool m_pictureVisible = false;
    bool m_fadeVisible = false;
    QString m_fadePicture;
    int m_fadeOpacity = 0;
    int m_number = 0;
};
