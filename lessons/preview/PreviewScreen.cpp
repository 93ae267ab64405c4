#include "PreviewScreen.h"

#include "AssetPath.h"
#include "CommandCodes.h"
#include "DotMatrixLabel.h"
#include "Image.h"
#include "LoadError.h"
#include "MainHost.h"
#include "MsTimer.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>

namespace {

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

constexpr QRect LampArea(130, 80, 220, 200);

} // namespace

TPreviewScreen::TPreviewScreen(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm9"))
{
    CreateControls();
    LoadPictures();
}

QString TPreviewScreen::NothingToPlayMessage()
{
    return QStringLiteral("プレビューする命令がありません。");
}

void TPreviewScreen::CreateControls()
{
    using namespace PictureLook;
    // The lamp's pictures are the preview's own; they are loaded with the others.
    static constexpr TPictureRow<TPreviewScreen> pictures[] = {
        {nullptr, "Image5", "Picture\\PANEL\\preview_flame.jpg", {110, 60, 260, 240}, nullptr, nullptr, Plain},
        {&TPreviewScreen::m_unlitLamp, "Image6", nullptr, LampArea, nullptr, nullptr, Hidden},
        {&TPreviewScreen::m_fadeArea, "Image3", nullptr, LampArea, nullptr, nullptr, Hidden},
        {&TPreviewScreen::m_pictureArea, "Image4", nullptr, LampArea, nullptr, nullptr, Hidden},
        {&TPreviewScreen::m_playButton, "Image1", "Picture\\BUTTON\\play1.jpg", {480, 56, 146, 86}, "再生|プレビューを再生します",
         &TPreviewScreen::Play, Pressable | Hand},
        {&TPreviewScreen::m_stopButton, "Image2", "Picture\\BUTTON\\stop1.jpg", {480, 160, 146, 86}, "停止|プレビューを中止します",
         &TPreviewScreen::StopPreview, Pressable | Hand},
        {&TPreviewScreen::m_backButton, "Image7", "Picture\\BUTTON\\moni_back.jpg", {184, 320, 102, 51}, nullptr,
         &TPreviewScreen::Back, Pressable | Hand},
    };
    AddPictures(pictures);
    m_stopButton->setEnabled(false);
    m_backButton->setAccessibleName(QStringLiteral("戻る"));
    setTabOrder(m_playButton, m_stopButton);
    setTabOrder(m_stopButton, m_backButton);
    // Once shown, the preview must be left without the mouse: the step keys
    // are off here.
    BindKey(Qt::Key_Escape, &TPreviewScreen::Back);

    m_stoppedSign = new TDotMatrixLabel(this, QStringLiteral("LMDLEDLabel1"));
    m_stoppedSign->setGeometry(416, 264, 229, 28);
    m_stoppedSign->SetColors(Qt::black, QColor(192, 192, 192));
    m_stoppedSign->SetText(QStringLiteral("PREVIEW STOP"));

    CreateCounterPanel();

    m_playTimer = new TMsTimer(this);
    m_playTimer->setObjectName(QStringLiteral("MsTimer1"));
    m_playTimer->SetEnabled(false);
    m_playTimer->SetInterval(TPreviewPlayer::StartIntervalMs);
    m_playTimer->SetOnTimer([this](TMsTimer *) { AdvancePlay(); });
}

void TPreviewScreen::CreateCounterPanel()
{
    m_counterPanel = new QFrame(this);
    m_counterPanel->setObjectName(QStringLiteral("Panel1"));
    m_counterPanel->setGeometry(448, 312, 200, 72);
    m_counterPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_counterPanel->setLineWidth(2);

    auto *grid = new QGridLayout(m_counterPanel);
    grid->setContentsMargins(12, 6, 12, 6);
    grid->setHorizontalSpacing(6);
    grid->addWidget(MakeLabel(m_counterPanel, QStringLiteral("Label1"), QStringLiteral("現在の命令"), Qt::AlignLeft), 0, 0);
    m_stepNumber = MakeLabel(m_counterPanel, QStringLiteral("Label2"), QStringLiteral("0"), Qt::AlignRight);
    grid->addWidget(m_stepNumber, 0, 1);
    grid->addWidget(MakeLabel(m_counterPanel, QStringLiteral("Label3"), QStringLiteral("個目"), Qt::AlignLeft), 0, 2);
    grid->addWidget(MakeLabel(m_counterPanel, QStringLiteral("Label4"), QStringLiteral("総命令数"), Qt::AlignLeft), 1, 0);
    m_stepTotal = MakeLabel(m_counterPanel, QStringLiteral("Label5"), QStringLiteral("0"), Qt::AlignRight);
    grid->addWidget(m_stepTotal, 1, 1);
    grid->addWidget(MakeLabel(m_counterPanel, QStringLiteral("Label6"), QStringLiteral("個"), Qt::AlignLeft), 1, 2);
    grid->setColumnStretch(1, 1);
    m_counterPanel->hide();
}

void TPreviewScreen::LoadPictures()
{
    Pictures().Load(m_fadeArea, TPreviewPlayer::BackgroundPicture());
    Pictures().Load(m_unlitLamp, TPreviewPlayer::BackgroundPicture());
    m_background.Assign(m_unlitLamp->pixmap());
    // The step pictures are loaded while playing, where a box would stop
    // nothing; a missing one is reported here, once.
    QStringList steps{TPreviewPlayer::StartPicture(), TPreviewPlayer::WaitPicture(0), TPreviewPlayer::WaitPicture(1)};
    for (int c = 0; c < LampCode::ColourCount; ++c)
        steps << TPreviewPlayer::ColourPicture(LampCode::ColourStepBase + 8 * c);
    for (const QString &path : steps) {
        if (ResolveAsset(path).isEmpty())
            Pictures().NoteFailure();
    }
    ReportMissingPictures();
}

void TPreviewScreen::FormShow()
{
    if (m_player.IsPlaying())
        StopPreview();
    m_playButton->setEnabled(true);
    m_stopButton->setEnabled(false);
}

void TPreviewScreen::Play()
{
    if (!m_player.Play(Host().ExpandedList)) {
        QMessageBox::information(this, QString(), NothingToPlayMessage());
        return;
    }
    ShowPlayer();
    m_playTimer->SetInterval(m_player.Interval());
    m_playTimer->SetEnabled(true);
    m_playButton->setEnabled(false);
    m_stopButton->setEnabled(true);
}

void TPreviewScreen::Back()
{
    StopPreview();
    Host().ReturnToLesson();
}

void TPreviewScreen::AdvancePlay()
{
    m_player.Tick();
    if (!m_player.IsPlaying()) {
        StopPreview();
        return;
    }
    // A new interval restarts the period now, so each step counts from the
    // tick that showed it.
    m_playTimer->SetInterval(m_player.Interval());
    ShowPlayer();
}

void TPreviewScreen::StopPreview()
{
    m_playTimer->SetEnabled(false);
    m_player.Stop();
    m_fadeColour = TABitmap();
    m_fadeColourFor.clear();
    ShowPlayer();
    m_playButton->setEnabled(true);
    m_stopButton->setEnabled(false);
}

void TPreviewScreen::ShowPlayer()
{
    const bool playing = m_player.IsPlaying();
    if (playing) {
        ShowPicture();
        ShowFade();
        m_stepNumber->setText(QString::number(m_player.CurrentNumber()));
        m_stepTotal->setText(QString::number(m_player.Total()));
    }
    m_fadeArea->setVisible(m_player.FadeVisible());
    m_pictureArea->setVisible(m_player.PictureVisible());
    m_counterPanel->setVisible(playing);
    m_stoppedSign->setVisible(!playing);
}

void TPreviewScreen::ShowPicture()
{
    if (m_pictureArea->PicturePath() == m_player.Picture())
        return;
    try {
        m_pictureArea->LoadPicture(m_player.Picture());
    } catch (const TLoadError &) {
        // Reported when the screen was created; the play goes on without it.
        m_pictureArea->clear();
    }
}

void TPreviewScreen::ShowFade()
{
    const QString &colour = m_player.FadePicture();
    const QString shown = colour.isEmpty() ? QString() : colour + u'@' + QString::number(m_player.FadeOpacity());
    if (shown == m_fadeShown && !m_fadeArea->pixmap().isNull())
        return;
    m_fadeShown = shown;
    if (colour.isEmpty()) {
        m_fadeArea->SetPicture(m_unlitLamp->pixmap());
        return;
    }
    if (colour != m_fadeColourFor) {
        // The picture area has just loaded this colour for the fade.
        m_fadeColour.Assign(m_pictureArea->pixmap());
        m_fadeColourFor = colour;
    }
    TABitmap frame = m_background;
    m_fadeColour.BlendOnto(0, 0, static_cast<std::uint16_t>(m_player.FadeOpacity()), frame, m_fadeColour.Height(),
                           m_fadeColour.Width());
    m_fadeArea->SetPicture(frame.ToPixmap());
    m_fadeArea->repaint();
}
