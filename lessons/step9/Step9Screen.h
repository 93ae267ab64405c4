#pragma once

#include "PageScreen.h"
#include "SignalGame.h"

#include <QPixmap>
#include <QPoint>
#include <QTimer>
#include <array>
#include <map>
#include <memory>

class QLCDNumber;
class QLabel;
class QRadioButton;
class QSoundEffect;
class TImage;
class TTransferRequest;

// STEP9: the traffic-signal game, played on the screen and on the lamp.
class TStep9Screen : public TPageScreen {
    Q_OBJECT
public:
    TStep9Screen(TMainHost &host, QWidget *parent);
    ~TStep9Screen() override;

    void FormShow() override;

    const TSignalGame &Game() const { return m_game; }
    // Fixes the next announcement instead of drawing it at random (tests).
    void SetAnnouncementChooser(std::function<TSignalGame::Announcement()> chooser) { m_choose = std::move(chooser); }

    void Start();
    void Stop();
    void SwitchSignal();   // blue, yellow, red, and round again
    void MoveCar();        // one step of the car timer
    void TickClock();      // one second of the game clock

private:
    void CreateControls();
    void CreateSpeedChoice();
    void CreateScoreDisplays();
    void LoadPictures();
    void Send(const TTransferRequest &request);
    void ShowSignal(TSignalGame::Signal signal);
    static QString SignalName(TSignalGame::Signal signal);
    void Play(const QString &name);
    void DrawScene(int carPicture = -1, QPoint at = {});
    int SelectedSpeed() const;

    TSignalGame m_game;
    std::function<TSignalGame::Announcement()> m_choose;

    TImage *m_scene = nullptr;
    TImage *m_cleanSceneImage = nullptr;
    TImage *m_startButton = nullptr;
    TImage *m_stopButton = nullptr;
    TImage *m_signalButton = nullptr;
    TImage *m_signalLight = nullptr;
    // The three levels, level 1 first.
    std::array<QRadioButton *, 3> m_speeds{};
    QLabel *m_scoreText = nullptr;
    QLabel *m_announcementText = nullptr;
    QLCDNumber *m_clock = nullptr;
    QTimer m_carTimer;
    QTimer m_clockTimer;

    QPixmap m_cleanScene;
    std::array<QPixmap, 3> m_signals;
    std::array<QPixmap, 5> m_cars;
    std::map<QString, std::unique_ptr<QSoundEffect>> m_sounds;
    QPoint m_startHome;
};
