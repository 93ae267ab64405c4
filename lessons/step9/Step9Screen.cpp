#include "Step9Screen.h"

#include "AssetPath.h"
#include "GameCars.h"
#include "Image.h"
#include "MainHost.h"
#include "PacedWait.h"
#include "TransferRequest.h"

#include <QLCDNumber>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSoundEffect>
#include <QUrl>

namespace {

const char *const kSoundNames[] = {"kachi", "up02", "good", "bom01", "bom03"};

} // namespace

TStep9Screen::TStep9Screen(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm17"))
    , m_choose([] {
        return QRandomGenerator::global()->bounded(2) == 0 ? TSignalGame::Announcement::Pass
                                                           : TSignalGame::Announcement::Stop;
    })
{
    CreateControls();
    m_cars = MakeGameCars();
    LoadPictures();
    ReportMissingPictures();
    m_startHome = m_startButton->pos();
    for (const char *name : kSoundNames) {
        auto effect = std::make_unique<QSoundEffect>();
        // A missing sound file stays silent, as the game does without speakers.
        const QString path = ResolveAsset(QStringLiteral("Picture\\Game\\%1.wav").arg(QLatin1String(name)));
        if (!path.isEmpty())
            effect->setSource(QUrl::fromLocalFile(path));
        m_sounds.emplace(QString::fromLatin1(name), std::move(effect));
    }
    // Children of the screen, so they can be found by name like its controls.
    m_carTimer.setParent(this);
    m_clockTimer.setParent(this);
    m_carTimer.setObjectName(QStringLiteral("Timer1"));
    m_clockTimer.setObjectName(QStringLiteral("Timer2"));
    m_clockTimer.setInterval(1000);
    connect(&m_carTimer, &QTimer::timeout, this, &TStep9Screen::MoveCar);
    connect(&m_clockTimer, &QTimer::timeout, this, &TStep9Screen::TickClock);
}

TStep9Screen::~TStep9Screen() = default;

void TStep9Screen::CreateControls()
{
    using namespace PictureLook;
    // The game draws the cars on the scene; the hidden one keeps it clean.
    static constexpr TPictureRow<TStep9Screen> pictures[] = {
        {&TStep9Screen::m_scene, "Image1", nullptr, {8, 0, 549, 330}, nullptr, nullptr, Plain},
        {&TStep9Screen::m_cleanSceneImage, "Image2", nullptr, {8, 0, 549, 330}, nullptr, nullptr, Hidden},
        {nullptr, "Image7", "Picture\\Game\\p1.jpg", {557, 16, 162, 144}, nullptr, nullptr, Stretched},
        {&TStep9Screen::m_startButton, "btn1", "Picture\\Game\\botton2.jpg", {587, 182, 120, 45}, "スタート|ゲームを始めます",
         &TStep9Screen::Start, Pressable | Hand},
        {&TStep9Screen::m_stopButton, "Image5", "Picture\\Game\\botton3.jpg", {587, 238, 120, 45}, "ストップ|ゲームを止めます",
         &TStep9Screen::Stop, Hand},
        {&TStep9Screen::m_signalButton, "btn2", "Picture\\Game\\botton1.jpg", {166, 357, 150, 45},
         "信号|信号を 青→黄→赤 の順に切り替えます", &TStep9Screen::SwitchSignal, Hand},
        {&TStep9Screen::m_signalLight, "sig", nullptr, {283, 216, 145, 51}, nullptr, nullptr, Plain},
        {nullptr, "Image4", "Picture\\Game\\connect.jpg", {368, 344, 354, 82}, nullptr, nullptr, Stretched},
    };
    AddPictures(pictures);
    CreateSpeedChoice();
    CreateScoreDisplays();
    // The scene and the display sit under the buttons drawn over them.
    m_scene->lower();
}

void TStep9Screen::CreateSpeedChoice()
{
    const QString speeds[] = {QStringLiteral("レベル1（30秒）"), QStringLiteral("レベル2（40秒）"),
                              QStringLiteral("レベル3（60秒）")};
    for (int i = 0; i < 3; ++i) {
        auto *radio = new QRadioButton(speeds[i], this);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        radio->setGeometry(570, 52 + 40 * i, 140, 22);
        // A style sheet that clears the background also clears the style's
        // drawing of an unchosen circle: the circles are drawn here.
        radio->setStyleSheet(QStringLiteral(
            "QRadioButton { background: transparent; font-weight: bold; }"
            "QRadioButton::indicator { width: 10px; height: 10px; border: 2px solid #2f5d9a; border-radius: 7px;"
            " background: white; }"
            "QRadioButton::indicator:checked { background: qradialgradient(cx: 0.5, cy: 0.5, radius: 0.5, fx: 0.5,"
            " fy: 0.5, stop: 0 #2f5d9a, stop: 0.6 #2f5d9a, stop: 0.7 white); }"));
        m_speeds[static_cast<size_t>(i)] = radio;
    }
    m_speeds[0]->setChecked(true);
}

void TStep9Screen::CreateScoreDisplays()
{
    m_scoreText = new QLabel(TSignalGame::ScoreText(0), this);
    m_scoreText->setObjectName(QStringLiteral("Label2"));
    m_scoreText->move(206, 9);
    QFont scoreFont = m_scoreText->font();
    scoreFont.setPointSize(16);
    scoreFont.setBold(true);
    m_scoreText->setFont(scoreFont);
    m_scoreText->setFixedWidth(200);

    m_announcementText = new QLabel(TSignalGame::AnnouncementText(TSignalGame::Announcement::Ask), this);
    m_announcementText->setObjectName(QStringLiteral("Label3"));
    m_announcementText->setGeometry(278, 76, 127, 36);
    m_announcementText->setAlignment(Qt::AlignCenter);
    m_announcementText->setFont(scoreFont);
    m_announcementText->setStyleSheet(
        QStringLiteral("QLabel { background: white; border: 2px solid #333; border-radius: 8px; }"));

    m_clock = new QLCDNumber(2, this);
    m_clock->setObjectName(QStringLiteral("LED"));
    m_clock->setGeometry(15, 338, 105, 78);
    m_clock->setSegmentStyle(QLCDNumber::Filled);
    m_clock->setStyleSheet(QStringLiteral("QLCDNumber { background: black; color: #ff3030; }"));
    m_clock->display(QStringLiteral("00"));
}

void TStep9Screen::LoadPictures()
{
    Pictures().Try([this] { m_cleanScene = LoadAssetPixmap(QStringLiteral("Picture\\Game\\body.jpg")); });
    m_cleanSceneImage->SetPicture(m_cleanScene);
    DrawScene();
    const qreal ratio = devicePixelRatioF();
    const QString files[] = {QStringLiteral("Picture\\Game\\blue.bmp"), QStringLiteral("Picture\\Game\\yellow.bmp"),
                             QStringLiteral("Picture\\Game\\red.bmp")};
    for (size_t i = 0; i < m_signals.size(); ++i)
        Pictures().Try([this, i, ratio, &files] { m_signals[i] = TImage::ScreenPixmap(files[i], ratio); });
    ShowSignal(TSignalGame::Blue);
}

void TStep9Screen::FormShow()
{
    if (QWidget *main = window())
        main->setFocus();
    m_speeds[0]->setChecked(true);
}

int TStep9Screen::SelectedSpeed() const
{
    for (int speed = 2; speed > 0; --speed)
        if (m_speeds[static_cast<size_t>(speed)]->isChecked())
            return speed;
    return 0;
}

void TStep9Screen::Send(const TTransferRequest &request)
{
    // A command asked while the previous one is still on the wire (a press
    // while a judging sound goes out, or a quick second press) is sent right
    // after it; dropped, the lamp would show another colour than the screen.
    Host().RunWhenIdle([this, request] { Host().Transfer(request); });
}

QString TStep9Screen::SignalName(TSignalGame::Signal signal)
{
    switch (signal) {
    case TSignalGame::Blue: return QStringLiteral("青");
    case TSignalGame::Yellow: return QStringLiteral("黄");
    case TSignalGame::Red: break;
    }
    return QStringLiteral("赤");
}

void TStep9Screen::ShowSignal(TSignalGame::Signal signal)
{
    const QPixmap &picture = m_signals[static_cast<size_t>(signal)];
    m_signalLight->SetPicture(picture);
    if (!picture.isNull())
        m_signalLight->resize(picture.deviceIndependentSize().toSize()); // sized to its picture
}

void TStep9Screen::Play(const QString &name)
{
    const auto it = m_sounds.find(name);
    if (it != m_sounds.end() && it->second->source().isValid())
        it->second->play();
}

void TStep9Screen::DrawScene(int carPicture, QPoint at)
{
    QPixmap scene = m_cleanScene.isNull() ? QPixmap(549, 330) : m_cleanScene.copy();
    if (m_cleanScene.isNull())
        scene.fill(Qt::white);
    if (carPicture >= 0 && carPicture < static_cast<int>(m_cars.size())) {
        QPainter p(&scene);
        p.drawPixmap(at, m_cars[static_cast<size_t>(carPicture)]);
    }
    m_scene->SetPicture(scene);
}

void TStep9Screen::Start()
{
    // A second press while the start sequence runs would start the sequence
    // again inside the first; the game is already starting, so it is ignored.
    if (m_game.running || m_game.starting)
        return;
    m_game.starting = true;
    DrawScene();
    const TSignalGame::Speed speed = TSignalGame::SpeedFor(SelectedSpeed());
    m_carTimer.setInterval(speed.carIntervalMs);
    m_game.secondsLeft = speed.seconds;
    m_clock->display(TSignalGame::ClockText(speed.seconds));

    ShowSignal(TSignalGame::Red);
    Play(QStringLiteral("kachi"));
    Send(TTransferRequest::DirectLight(TSignalGame::kRedCode));
    PacedWait(1000);
    ShowSignal(TSignalGame::Yellow);
    Play(QStringLiteral("kachi"));
    Send(TTransferRequest::DirectLight(TSignalGame::kYellowCode));
    PacedWait(1000);
    ShowSignal(TSignalGame::Blue);
    Play(QStringLiteral("up02"));
    Send(TTransferRequest::DirectLight(TSignalGame::kBlueCode));
    PacedWait(1000);

    m_game.starting = false;
    m_game.running = true;
    m_game.signal = TSignalGame::Blue;
    m_game.score = 0;
    m_scoreText->setText(TSignalGame::ScoreText(0));
    m_carTimer.start();
    m_clockTimer.start();
}

void TStep9Screen::SwitchSignal()
{
    if (!m_game.running)
        return;
    m_game.signal = m_game.NextSignal();
    ShowSignal(m_game.signal);
    // A pupil who hears the game follows the signal and the car by ear.
    Host().Announce(SignalName(m_game.signal));
    Send(TTransferRequest::DirectLight(TSignalGame::LightCodeFor(m_game.signal)));
}

void TStep9Screen::MoveCar()
{
    const int frame = m_game.AdvanceFrame();
    DrawScene();
    if (frame <= 3) {
        const TSignalGame::CarPlacement car = TSignalGame::PlacementForFrame(frame);
        DrawScene(car.picture, {car.x, car.y});
        if (frame == 0)
            m_game.announcement = TSignalGame::Announcement::Ask;
        else if (frame == 1)
            m_game.announcement = m_choose();
        if (frame <= 1)
            m_announcementText->setText(TSignalGame::AnnouncementText(m_game.announcement));
        if (frame == 1)
            Host().Announce(m_announcementText->text());
    } else {
        const TSignalGame::Judgement j = TSignalGame::Judge(m_game.announcement, m_game.signal);
        m_game.score += j.scoreChange;
        if (j.soundCode >= 0)
            Send(TTransferRequest::DirectSound(j.soundCode));
        if (j.carPicture >= 0)
            DrawScene(j.carPicture, {j.carX, j.carY});
        if (j.good) {
            if (j.carPicture >= 0)
                PacedWait(m_carTimer.interval());
            Play(QStringLiteral("good"));
        } else if (j.carPicture >= 0) {
            Play(j.crashOnPass ? QStringLiteral("bom01") : QStringLiteral("bom03"));
            PacedWait(m_carTimer.interval());
        }
    }
    m_scoreText->setText(TSignalGame::ScoreText(m_game.score));
    m_announcementText->setFixedWidth(127);
}

void TStep9Screen::TickClock()
{
    if (!m_game.ClockTick()) {
        m_carTimer.stop();
        m_clockTimer.stop();
        Host().Announce(TSignalGame::ScoreText(m_game.score));
    } else {
        m_clock->display(TSignalGame::ClockText(m_game.secondsLeft));
    }
    if (m_game.TickSoundDue())
        Play(QStringLiteral("kachi"));
}

void TStep9Screen::Stop()
{
    m_game.running = false;
    DrawScene();
    m_scene->repaint();
    m_carTimer.stop();
    m_clockTimer.stop();
    m_game.frame = -1;
}
