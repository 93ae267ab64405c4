#include "Step2Screen.h"

#include "DragController.h"
#include "Image.h"
#include "LoadError.h"
#include "MainHost.h"
#include "MsTimer.h"
#include "Selector.h"
#include "TransferRequest.h"

#include <QFrame>
#include <QLabel>
#include <QMessageBox>

namespace {

constexpr QPoint ChipPositions[DirectLightCommand::ChipCount] = {
    {48, 96}, {104, 96}, {48, 152}, {104, 152}, {48, 208}, {104, 208}, {48, 264},
};

} // namespace

TStep2Screen::TStep2Screen(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm3"))
{
    CreateControls();
    ReportMissingPictures();
}

QString TStep2Screen::NoColourMessage()
{
    return QStringLiteral("LEDの命令がありません。LEDを光らせる色を枠の中にドラッグして下さい");
}

QString TStep2Screen::NoSecondsMessage()
{
    return QStringLiteral("秒数を設定して下さい");
}

void TStep2Screen::CreateControls()
{
    m_drag = new TDragController(this);
    m_drag->setObjectName(QStringLiteral("DragController1"));
    for (int i = 0; i < DirectLightCommand::ChipCount; ++i) {
        const QString name = QString::fromLatin1(DirectLightCommand::ChipName(i));
        TImage *chip = MakePicture(this, name, QRect(ChipPositions[i], QSize(50, 50)),
                                   "光らせたい色を右の枠内にドラッグ＆ドロップして下さい", PictureLook::OpenHand);
        Pictures().Load(chip, DirectLightCommand::ChipPicture(name));
        // The chip is dragged with its own LED picture.
        MakePaletteChip(chip, m_drag);
    }

    using namespace PictureLook;
    static constexpr TPictureRow<TStep2Screen> heading[] = {
        {nullptr, "Image3", "Picture\\PANEL\\irositei.jpg", {72, 69, 56, 24}, nullptr, nullptr, Plain},
    };
    // The frame and the lamp of the preview, each picture over the one before.
    static constexpr TPictureRow<TStep2Screen> pictures[] = {
        {nullptr, "Image2", "Picture\\PANEL\\programpalette1.jpg", {208, 96, 145, 145}, nullptr, nullptr, Plain},
        {&TStep2Screen::Image5, "Image5", nullptr, {208, 96, 145, 145}, "この枠の中にドロップして下さい", nullptr, Plain},
        {&TStep2Screen::Image4, "Image4", "Picture\\BUTTON\\meirei_jikkou.jpg", {225, 287, 112, 82},
         "プログラムを転送、実行します（接続コードを本体のコネクタに接続して下さい）", &TStep2Screen::Image4Click,
         Pressable | Hand},
        {nullptr, "Image1", "Picture\\PANEL\\preview_flame.jpg", {412, 60, 260, 240}, nullptr, nullptr, Plain},
        {&TStep2Screen::Image7, "Image7", nullptr, {432, 80, 220, 200}, "ここにプレビューを表示します", nullptr, Hidden},
        {&TStep2Screen::Image6, "Image6", "picture\\Pre\\Base.bmp", {432, 80, 220, 200}, nullptr, nullptr, Hidden},
        {&TStep2Screen::Image8, "Image8", "picture\\Pre\\Base.bmp", {432, 80, 220, 200}, nullptr, nullptr, Hidden},
    };
    AddPictures(heading);
    CreateProgramFrame();
    AddPictures(pictures);
    Image5->setAlignment(Qt::AlignCenter);
    m_body.Assign(Image8->pixmap());
    CreateSecondsChoice();

    MsTimer1 = new TMsTimer(this);
    MsTimer1->setObjectName(QStringLiteral("MsTimer1"));
    MsTimer1->SetEnabled(false);
    MsTimer1->SetOnTimer([this](TMsTimer *) { MsTimer1Timer(); });

    m_drag->AcceptDropsOn(
        Image5, [](const QString &) { return true; },
        [this](const QString &name, QPoint) { Image5DragDrop(name); });
}

void TStep2Screen::CreateProgramFrame()
{
    auto *title = new QLabel(QStringLiteral("プログラムパレット"), this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setGeometry(198, 65, 165, 19);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Shape1"));
    frame->setGeometry(198, 86, 165, 187);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
}

void TStep2Screen::CreateSecondsChoice()
{
    Selector1 = new TSelector(this);
    Selector1->setObjectName(QStringLiteral("Selector1"));
    Selector1->setGeometry(208, 241, 145, 22);
    Selector1->SetArrowColor(QColor(128, 0, 128));
    Selector1->SetValues(DirectLightCommand::SecondsItems());
    Selector1->setStatusTip(QStringLiteral("矢印ボタンを押し光らせる時間を設定して下さい"));
}

void TStep2Screen::Image5DragDrop(const QString &controlName)
{
    m_frameCode = 0;
    const int code = DirectLightCommand::ChipCode(controlName);
    if (code == 0)
        return;
    try {
        Image5->LoadPicture(DirectLightCommand::LedPicture(code));
        m_frameCode = code;
    } catch (const TLoadError &) {
        // The colour counts even when its picture is missing; say so once.
        m_frameCode = code;
        Image5->clear();
        ShowCreateError(this);
    }
}

void TStep2Screen::Image4Click()
{
    // One transfer at a time on the wire; a second press meanwhile is refused.
    if (Host().IsTransferring())
        return;
    if (m_frameCode == 0) {
        QMessageBox::information(this, QString(), NoColourMessage());
        return;
    }
    m_lastCode = 0;
    const int index = Selector1->ItemIndex();
    if (index < 0) {
        QMessageBox::information(this, QString(), NoSecondsMessage());
        return;
    }
    try {
        Image7->LoadPicture(DirectLightCommand::PreviewPicture(m_frameCode));
    } catch (const TLoadError &) {
        Image7->clear();
        ShowCreateError(this);
    }

    const int code = DirectLightCommand::Code(m_frameCode, index);
    m_lastCode = code;
    Image4->setEnabled(false);
    Host().Transfer(TTransferRequest::DirectLight(code));

    m_previewIndex = index;
    const DirectLightCommand::Preview preview = DirectLightCommand::PreviewFor(index);
    MsTimer1->SetInterval(preview.intervalMs);
    if (preview.fade) {
        m_fadeColour.Assign(Image7->pixmap());
        m_fade = LightFade(preview.startOpacity, preview.opacityStep);
        RedrawFade();
        Image6->show();
        Image6->raise();
    } else {
        Image7->show();
        Image7->raise();
    }
    MsTimer1->SetEnabled(true);
}

void TStep2Screen::MsTimer1Timer()
{
    if (m_previewIndex < LampCode::VariantFadeIn) {
        MsTimer1->SetEnabled(false);
        Image7->hide();
        Image4->setEnabled(true);
        return;
    }
    const bool arrived = m_fade.Tick();
    RedrawFade();
    if (arrived)
        FinishFade();
}

void TStep2Screen::RedrawFade()
{
    TABitmap frame = m_body;
    m_fadeColour.BlendOnto(0, 0, static_cast<std::uint16_t>(m_fade.Opacity()), frame, m_fadeColour.Height(),
                           m_fadeColour.Width());
    Image6->SetPicture(frame.ToPixmap());
    Image6->repaint();
}

void TStep2Screen::FinishFade()
{
    MsTimer1->SetEnabled(false);
    m_fadeColour = TABitmap();
    Image6->hide();
    Image4->setEnabled(true);
}
