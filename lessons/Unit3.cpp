#include "Unit3.h"

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

TImage *MakeImage(QWidget *parent, const QString &name, QRect geometry)
{
    auto *image = new TImage(parent, name);
    image->setGeometry(geometry);
    return image;
}

constexpr QPoint ChipPositions[DirectLightCommand::ChipCount] = {
    {48, 96}, {104, 96}, {48, 152}, {104, 152}, {48, 208}, {104, 208}, {48, 264},
};

} // namespace

TForm3::TForm3(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm3"))
{
    CreateControls();
    LoadPictures();
}

QString TForm3::NoColourMessage()
{
    return QStringLiteral("LEDの命令がありません。LEDを光らせる色を枠の中にドラッグして下さい");
}

QString TForm3::NoSecondsMessage()
{
    return QStringLiteral("秒数を設定して下さい");
}

void TForm3::CreateControls()
{
    for (int i = 0; i < DirectLightCommand::ChipCount; ++i) {
        TImage *chip = MakeImage(this, QString::fromLatin1(DirectLightCommand::ChipName(i)),
                                 QRect(ChipPositions[i], QSize(50, 50)));
        chip->SetHint(QStringLiteral("光らせたい色を右の枠内にドラッグ＆ドロップして下さい"));
        chip->setCursor(Qt::OpenHandCursor);
        connect(chip, &TImage::MouseDown, this,
                [this](Qt::MouseButton button, QPoint at) { m_press.Press(button, at); });
        connect(chip, &TImage::MouseMove, this, [this, chip](Qt::MouseButtons, QPoint at) { ChipMouseMove(chip, at); });
        connect(chip, &TImage::MouseUp, this, [this](Qt::MouseButton, QPoint) { m_press.Release(); });
        m_chips[static_cast<size_t>(i)] = chip;
    }
    Image3 = MakeImage(this, QStringLiteral("Image3"), QRect(72, 69, 56, 24));

    Label1 = new QLabel(QStringLiteral("プログラムパレット"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(198, 65, 165, 19);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(198, 86, 165, 187);
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setLineWidth(1);

    Image2 = MakeImage(this, QStringLiteral("Image2"), QRect(208, 96, 145, 145));
    Image5 = MakeImage(this, QStringLiteral("Image5"), QRect(208, 96, 145, 145));
    Image5->setAlignment(Qt::AlignCenter);
    Image5->SetHint(QStringLiteral("この枠の中にドロップして下さい"));

    Selector1 = new TSelector(this);
    Selector1->setObjectName(QStringLiteral("Selector1"));
    Selector1->setGeometry(208, 241, 145, 22);
    Selector1->SetArrowColor(QColor(128, 0, 128));
    Selector1->SetValues(DirectLightCommand::SecondsItems());
    Selector1->setStatusTip(QStringLiteral("矢印ボタンを押し光らせる時間を設定して下さい"));

    Image4 = MakeImage(this, QStringLiteral("Image4"), QRect(225, 287, 112, 82));
    Image4->SetHint(QStringLiteral("プログラムを転送、実行します（接続コードを本体のコネクタに接続して下さい）"));
    Image4->SetPressedLook(true);
    Image4->setCursor(Qt::PointingHandCursor);

    Image1 = MakeImage(this, QStringLiteral("Image1"), QRect(412, 60, 260, 240));
    Image7 = MakeImage(this, QStringLiteral("Image7"), QRect(432, 80, 220, 200));
    Image7->SetHint(QStringLiteral("ここにプレビューを表示します"));
    Image7->hide();
    Image6 = MakeImage(this, QStringLiteral("Image6"), QRect(432, 80, 220, 200));
    Image6->hide();
    Image8 = MakeImage(this, QStringLiteral("Image8"), QRect(432, 80, 220, 200));
    Image8->hide();

    MsTimer1 = new TMsTimer(this);
    MsTimer1->setObjectName(QStringLiteral("MsTimer1"));
    MsTimer1->SetEnabled(false);
    MsTimer1->SetOnTimer([this](TMsTimer *) { MsTimer1Timer(); });

    m_drag = new TDragController(this);
    m_drag->setObjectName(QStringLiteral("DragController1"));
    m_drag->AcceptDropsOn(
        Image5, [](const QString &) { return true; },
        [this](const QString &name, QPoint) { Image5DragDrop(name); });

    connect(Image4, &TImage::Click, this, &TForm3::Image4Click);
}

void TForm3::LoadPictures()
{
    // Every picture that exists is shown; one missing file is reported once
    // and does not keep the others (the lamp body for the fades) away.
    bool failed = false;
    auto load = [&failed](TImage *image, const QString &path) {
        try {
            image->LoadPicture(path);
        } catch (const TLoadError &) {
            failed = true;
        }
    };
    for (TImage *chip : m_chips)
        load(chip, DirectLightCommand::ChipPicture(chip->objectName()));
    load(Image3, QStringLiteral("Picture\\PANEL\\irositei.jpg"));
    load(Image2, QStringLiteral("Picture\\PANEL\\programpalette1.jpg"));
    load(Image4, QStringLiteral("Picture\\BUTTON\\meirei_jikkou.jpg"));
    load(Image1, QStringLiteral("Picture\\PANEL\\preview_flame.jpg"));
    load(Image6, QStringLiteral("picture\\Pre\\Base.bmp"));
    load(Image8, QStringLiteral("picture\\Pre\\Base.bmp"));
    m_body.Assign(Image8->pixmap());
    if (failed)
        ShowCreateError(this);
}

void TForm3::ChipMouseMove(TImage *chip, QPoint at)
{
    if (!m_press.MovedPastThreshold(at))
        return;
    try {
        // The chip shows its own LED picture, loaded at creation.
        m_drag->RunDrag(chip, chip->pixmap(), m_press.Point());
    } catch (const std::exception &) {
        ShowCreateError(this);
    }
}

void TForm3::Image5DragDrop(const QString &controlName)
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

void TForm3::Image4Click()
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

void TForm3::MsTimer1Timer()
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

void TForm3::RedrawFade()
{
    TABitmap frame = m_body;
    m_fadeColour.BlendOnto(0, 0, static_cast<std::uint16_t>(m_fade.Opacity()), frame, m_fadeColour.Height(),
                           m_fadeColour.Width());
    Image6->SetPicture(frame.ToPixmap());
    Image6->repaint();
}

void TForm3::FinishFade()
{
    MsTimer1->SetEnabled(false);
    m_fadeColour = TABitmap();
    Image6->hide();
    Image4->setEnabled(true);
}
