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
        {&TPreviewScreen::Image6, "Image6", nullptr, LampArea, nullptr, nullptr, Hidden},
        {&TPreviewScreen::Image3, "Image3", nullptr, LampArea, nullptr, nullptr, Hidden},
        {&TPreviewScreen::Image4, "Image4", nullptr, LampArea, nullptr, nullptr, Hidden},
        {&TPreviewScreen::Image1, "Image1", "Picture\\BUTTON\\play1.jpg", {480, 56, 146, 86}, "プレビューを再生します",
         &TPreviewScreen::Image1Click, Pressable | Hand},
        {&TPreviewScreen::Image2, "Image2", "Picture\\BUTTON\\stop1.jpg", {480, 160, 146, 86}, "プレビューを中止します",
         &TPreviewScreen::Image2Click, Pressable | Hand},
        {&TPreviewScreen::Image7, "Image7", "Picture\\BUTTON\\moni_back.jpg", {184, 320, 102, 51}, nullptr,
         &TPreviewScreen::Image7Click, Pressable | Hand},
    };
    AddPictures(pictures);
    Image2->setEnabled(false);

    LMDLEDLabel1 = new TDotMatrixLabel(this, QStringLiteral("LMDLEDLabel1"));
    LMDLEDLabel1->setGeometry(416, 264, 229, 28);
    LMDLEDLabel1->SetColors(Qt::black, QColor(192, 192, 192));
    LMDLEDLabel1->SetText(QStringLiteral("PREVIEW STOP"));

    CreateCounterPanel();

    MsTimer1 = new TMsTimer(this);
    MsTimer1->setObjectName(QStringLiteral("MsTimer1"));
    MsTimer1->SetEnabled(false);
    MsTimer1->SetInterval(TPreviewPlayer::StartIntervalMs);
    MsTimer1->SetOnTimer([this](TMsTimer *) { MsTimer1Timer(); });
}

void TPreviewScreen::CreateCounterPanel()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(448, 312, 200, 72);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);

    auto *grid = new QGridLayout(Panel1);
    grid->setContentsMargins(12, 6, 12, 6);
    grid->setHorizontalSpacing(6);
    grid->addWidget(MakeLabel(Panel1, QStringLiteral("Label1"), QStringLiteral("現在の命令"), Qt::AlignLeft), 0, 0);
    Label2 = MakeLabel(Panel1, QStringLiteral("Label2"), QStringLiteral("0"), Qt::AlignRight);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(MakeLabel(Panel1, QStringLiteral("Label3"), QStringLiteral("個目"), Qt::AlignLeft), 0, 2);
    grid->addWidget(MakeLabel(Panel1, QStringLiteral("Label4"), QStringLiteral("総命令数"), Qt::AlignLeft), 1, 0);
    Label5 = MakeLabel(Panel1, QStringLiteral("Label5"), QStringLiteral("0"), Qt::AlignRight);
    grid->addWidget(Label5, 1, 1);
    grid->addWidget(MakeLabel(Panel1, QStringLiteral("Label6"), QStringLiteral("個"), Qt::AlignLeft), 1, 2);
    grid->setColumnStretch(1, 1);
    Panel1->hide();
}

void TPreviewScreen::LoadPictures()
{
    Pictures().Load(Image3, TPreviewPlayer::BackgroundPicture());
    Pictures().Load(Image6, TPreviewPlayer::BackgroundPicture());
    m_background.Assign(Image6->pixmap());
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
    Image1->setEnabled(true);
    Image2->setEnabled(false);
}

void TPreviewScreen::Image1Click()
{
    if (!m_player.Play(Host().ExpandedList)) {
        QMessageBox::information(this, QString(), NothingToPlayMessage());
        return;
    }
    ShowPlayer();
    MsTimer1->SetInterval(m_player.Interval());
    MsTimer1->SetEnabled(true);
    Image1->setEnabled(false);
    Image2->setEnabled(true);
}

void TPreviewScreen::Image2Click()
{
    StopPreview();
}

void TPreviewScreen::Image7Click()
{
    StopPreview();
    Host().ReturnToLesson();
}

void TPreviewScreen::MsTimer1Timer()
{
    m_player.Tick();
    if (!m_player.IsPlaying()) {
        StopPreview();
        return;
    }
    // A new interval restarts the period now, so each step counts from the
    // tick that showed it.
    MsTimer1->SetInterval(m_player.Interval());
    ShowPlayer();
}

void TPreviewScreen::StopPreview()
{
    MsTimer1->SetEnabled(false);
    m_player.Stop();
    m_fadeColour = TABitmap();
    m_fadeColourFor.clear();
    ShowPlayer();
    Image1->setEnabled(true);
    Image2->setEnabled(false);
}

void TPreviewScreen::ShowPlayer()
{
    const bool playing = m_player.IsPlaying();
    if (playing) {
        ShowPicture();
        ShowFade();
        Label2->setText(QString::number(m_player.CurrentNumber()));
        Label5->setText(QString::number(m_player.Total()));
    }
    Image3->setVisible(m_player.FadeVisible());
    Image4->setVisible(m_player.PictureVisible());
    Panel1->setVisible(playing);
    LMDLEDLabel1->setVisible(!playing);
}

void TPreviewScreen::ShowPicture()
{
    if (Image4->PicturePath() == m_player.Picture())
        return;
    try {
        Image4->LoadPicture(m_player.Picture());
    } catch (const TLoadError &) {
        // Reported when the screen was created; the play goes on without it.
        Image4->clear();
    }
}

void TPreviewScreen::ShowFade()
{
    const QString &colour = m_player.FadePicture();
    const QString shown = colour.isEmpty() ? QString() : colour + u'@' + QString::number(m_player.FadeOpacity());
    if (shown == m_fadeShown && !Image3->pixmap().isNull())
        return;
    m_fadeShown = shown;
    if (colour.isEmpty()) {
        Image3->SetPicture(Image6->pixmap());
        return;
    }
    if (colour != m_fadeColourFor) {
        // The picture area has just loaded this colour for the fade.
        m_fadeColour.Assign(Image4->pixmap());
        m_fadeColourFor = colour;
    }
    TABitmap frame = m_background;
    m_fadeColour.BlendOnto(0, 0, static_cast<std::uint16_t>(m_player.FadeOpacity()), frame, m_fadeColour.Height(),
                           m_fadeColour.Width());
    Image3->SetPicture(frame.ToPixmap());
    Image3->repaint();
}
