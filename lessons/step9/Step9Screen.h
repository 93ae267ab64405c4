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

    void btn1Click();   // start
    void Image5Click(); // stop
    void btn2Click();   // signal
    void Timer1Timer(); // car
    void Timer2Timer(); // clock

private:
    void CreateControls();
    void CreateSpeedChoice();
    void CreateScoreDisplays();
    void LoadPictures();
    void Send(const TTransferRequest &request);
    void ShowSignal(TSignalGame::Signal signal);
    void Play(const QString &name);
    void DrawScene(int carPicture = -1, QPoint at = {});
    int SelectedSpeed() const;

    TSignalGame m_game;
    std::function<TSignalGame::Announcement()> m_choose;

    TImage *Image1 = nullptr;
    TImage *Image2 = nullptr;
    TImage *btn1 = nullptr;
    TImage *Image5 = nullptr;
    TImage *btn2 = nullptr;
    TImage *sig = nullptr;
    // The three levels, RadioButton1 to RadioButton3.
    std::array<QRadioButton *, 3> m_speeds{};
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLCDNumber *LED = nullptr;
    QTimer Timer1;
    QTimer Timer2;

    QPixmap m_cleanScene;
    std::array<QPixmap, 3> m_signals;
    std::array<QPixmap, 5> m_cars;
    std::map<QString, std::unique_ptr<QSoundEffect>> m_sounds;
    QPoint m_startHome;
};
