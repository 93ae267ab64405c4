#include "Step2Screen.h"

#include "BlockNames.h"
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
        chip->setAccessibleName(BlockNames::Colour(LampCode::StepColour(DirectLightCommand::ChipCode(name))));
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
        {&TStep2Screen::m_programFrame, "Image5", nullptr, {208, 96, 145, 145}, "枠|この枠の中にドロップして下さい",
         nullptr, Plain},
        {&TStep2Screen::m_runButton, "Image4", "Picture\\BUTTON\\meirei_jikkou.jpg", {225, 287, 112, 82},
         "実行|プログラムを転送、実行します（接続コードを本体のコネクタに接続して下さい）", &TStep2Screen::Run,
         Pressable | Hand},
        {nullptr, "Image1", "Picture\\PANEL\\preview_flame.jpg", {412, 60, 260, 240}, nullptr, nullptr, Plain},
        {&TStep2Screen::m_litLamp, "Image7", nullptr, {432, 80, 220, 200}, "ここにプレビューを表示します", nullptr, Hidden},
        {&TStep2Screen::m_fadeLamp, "Image6", "picture\\Pre\\Base.bmp", {432, 80, 220, 200}, nullptr, nullptr, Hidden},
        {&TStep2Screen::m_unlitLamp, "Image8", "picture\\Pre\\Base.bmp", {432, 80, 220, 200}, nullptr, nullptr, Hidden},
    };
    AddPictures(heading);
    CreateProgramFrame();
    AddPictures(pictures);
    m_programFrame->setAlignment(Qt::AlignCenter);
    m_body.Assign(m_unlitLamp->pixmap());
    CreateSecondsChoice();
    // The seconds lie under the frame, above the run button.
    setTabOrder(m_secondsSelector, m_runButton);

    m_previewTimer = new TMsTimer(this);
    m_previewTimer->setObjectName(QStringLiteral("MsTimer1"));
    m_previewTimer->SetEnabled(false);
    m_previewTimer->SetOnTimer([this](TMsTimer *) { AdvancePreview(); });

    m_drag->AcceptDropsOn(
        m_programFrame, [](const QString &) { return true; },
        [this](const QString &name, QPoint) { DropColour(name); });
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
    m_secondsSelector = new TSelector(this);
    m_secondsSelector->setObjectName(QStringLiteral("Selector1"));
    m_secondsSelector->setGeometry(208, 241, 145, 22);
    m_secondsSelector->SetArrowColor(QColor(128, 0, 128));
    m_secondsSelector->SetValues(DirectLightCommand::SecondsItems());
    m_secondsSelector->setStatusTip(QStringLiteral("矢印ボタンを押し光らせる時間を設定して下さい"));
    m_secondsSelector->setAccessibleName(QStringLiteral("光らせる時間"));
    m_secondsSelector->setAccessibleDescription(m_secondsSelector->statusTip());
}

void TStep2Screen::DropColour(const QString &controlName)
{
    m_frameCode = 0;
    const int code = DirectLightCommand::ChipCode(controlName);
    m_programFrame->setAccessibleName(code == 0 ? QStringLiteral("枠")
                                                : QStringLiteral("枠: ") + BlockNames::Colour(LampCode::StepColour(code)));
    if (code == 0)
        return;
    try {
        m_programFrame->LoadPicture(DirectLightCommand::LedPicture(code));
        m_frameCode = code;
    } catch (const TLoadError &) {
        // The colour counts even when its picture is missing; say so once.
        m_frameCode = code;
        m_programFrame->clear();
        ShowCreateError(this);
    }
}

void TStep2Screen::Run()
{
    // One transfer at a time on the wire; a second press meanwhile is refused.
    if (Host().IsTransferring())
        return;
    if (m_frameCode == 0) {
        QMessageBox::information(this, QString(), NoColourMessage());
        return;
    }
    m_lastCode = 0;
    const int index = m_secondsSelector->ItemIndex();
    if (index < 0) {
        QMessageBox::information(this, QString(), NoSecondsMessage());
        return;
    }
    try {
        m_litLamp->LoadPicture(DirectLightCommand::PreviewPicture(m_frameCode));
    } catch (const TLoadError &) {
        m_litLamp->clear();
        ShowCreateError(this);
    }

    const int code = DirectLightCommand::Code(m_frameCode, index);
    m_lastCode = code;
    m_runButton->setEnabled(false);
    Host().Transfer(TTransferRequest::DirectLight(code));

    m_previewIndex = index;
    const DirectLightCommand::Preview preview = DirectLightCommand::PreviewFor(index);
    m_previewTimer->SetInterval(preview.intervalMs);
    if (preview.fade) {
        m_fadeColour.Assign(m_litLamp->pixmap());
        m_fade = LightFade(preview.startOpacity, preview.opacityStep);
        RedrawFade();
        m_fadeLamp->show();
        m_fadeLamp->raise();
    } else {
        m_litLamp->show();
        m_litLamp->raise();
    }
    m_previewTimer->SetEnabled(true);
}

void TStep2Screen::AdvancePreview()
{
    if (m_previewIndex < LampCode::VariantFadeIn) {
        m_previewTimer->SetEnabled(false);
        m_litLamp->hide();
        m_runButton->setEnabled(true);
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
    m_fadeLamp->SetPicture(frame.ToPixmap());
    m_fadeLamp->repaint();
}

void TStep2Screen::FinishFade()
{
    m_previewTimer->SetEnabled(false);
    m_fadeColour = TABitmap();
    m_fadeLamp->hide();
    m_runButton->setEnabled(true);
}
