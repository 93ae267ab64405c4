#include "Step4Screen.h"

#include "BlockNames.h"
#include "Image.h"
#include "LoadError.h"
#include "MainHost.h"
#include "MsTimer.h"
#include "TransferRequest.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>

namespace {

struct ColourRow {
    const char *wordBoxName;
    const char *colourPicture;
    const char *word;
};

constexpr ColourRow kRows[TTextCommand::ColourCount] = {
    {"Edit23", "Picture\\PANEL\\red.jpg", "red"},
    {"Edit24", "Picture\\PANEL\\green.jpg", "green"},
    {"Edit25", "Picture\\PANEL\\blue.jpg", "blue"},
    {"Edit26", "Picture\\PANEL\\yellow.jpg", "yellow"},
    {"Edit27", "Picture\\PANEL\\purple.jpg", "purple"},
    {"Edit28", "Picture\\PANEL\\lightblue.jpg", "lightblue"},
    {"Edit29", "Picture\\PANEL\\white.jpg", "white"},
};

constexpr int kFadeStep = 5;
constexpr int kFadeInterval = 80;

} // namespace

TStep4Screen::TStep4Screen(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm12"))
{
    CreateControls();
    ReportMissingPictures();
}

void TStep4Screen::CreateControls()
{
    using namespace PictureLook;
    static constexpr TPictureRow<TStep4Screen> example[] = {
        {nullptr, "Image13", "picture\\PANEL\\rei.jpg", {10, 6, 700, 110}, nullptr, nullptr, Stretched},
    };
    // The run picture is the one STEP2 uses, shown whole at its own size.
    static constexpr TPictureRow<TStep4Screen> run[] = {
        {&TStep4Screen::m_runButton, "Image4", "Picture\\BUTTON\\meirei_jikkou.jpg", {12, 66, 112, 82},
         "実行|プログラムを転送、実行します（接続コードを本体のコネクタに接続して下さい）", &TStep4Screen::Run,
         Pressable | Hand},
    };
    // The preview: its frame, then the lamp pictures laid over one another.
    static constexpr TPictureRow<TStep4Screen> preview[] = {
        {nullptr, "Image9", "Picture\\PANEL\\preview_flame.jpg", {458, 124, 260, 240}, nullptr, nullptr, Stretched},
        {&TStep4Screen::m_unlitLamp, "Image12", "picture\\Pre\\Base.bmp", {478, 144, 220, 200}, nullptr, nullptr,
         Hidden},
        {&TStep4Screen::m_litLamp, "Image11", nullptr, {478, 144, 220, 200}, "ここにプレビューを表示します", nullptr,
         Stretched | Hidden},
        {&TStep4Screen::m_fadeLamp, "Image10", "picture\\Pre\\Base.bmp", {478, 144, 220, 200}, nullptr, nullptr,
         Stretched | Hidden},
    };
    AddPictures(example);
    for (int i = 0; i < TTextCommand::ColourCount; ++i) {
        const ColourRow &row = kRows[i];
        TImage *panel = MakePicture(this, QStringLiteral("Image%1").arg(14 + i), QRect(4, 129 + i * 42, 90, 26), nullptr,
                                    Stretched);
        Pictures().Load(panel, QString::fromLatin1(row.colourPicture));
        auto *edit = new QLineEdit(QString::fromLatin1(row.word), this);
        edit->setObjectName(QString::fromLatin1(row.wordBoxName));
        edit->setGeometry(98, 130 + i * 42, 120, 24);
        edit->setAccessibleName(BlockNames::Colour(static_cast<LampCode::Colour>(i)) + QStringLiteral("の命令"));
        m_words[static_cast<size_t>(i)] = edit;
    }

    auto *programBox = new QGroupBox(QStringLiteral("プログラム入力"), this);
    programBox->setObjectName(QStringLiteral("GroupBox1"));
    programBox->setGeometry(226, 150, 228, 160);
    m_programLine = new QLineEdit(programBox);
    m_programLine->setObjectName(QStringLiteral("Edit22"));
    m_programLine->setGeometry(12, 28, 204, 28);
    m_programLine->setStatusTip(QStringLiteral("ここにプログラムを記述して下さい"));
    m_programLine->setAccessibleName(programBox->title());
    m_programLine->setAccessibleDescription(m_programLine->statusTip());
    AddPictures(run, programBox);
    connect(m_programLine, &QLineEdit::returnPressed, this, [this] {
        if (m_runButton->isEnabled())
            Run();
    });

    AddPictures(preview);
    m_previewTimer = new TMsTimer(this);
    m_previewTimer->setObjectName(QStringLiteral("MsTimer1"));
    m_previewTimer->SetEnabled(false);
    m_previewTimer->SetOnTimer([this](TMsTimer *) { AdvancePreview(); });
}

QString TStep4Screen::PreviewPicture(int colour)
{
    return QStringLiteral("picture\\Pre\\%1.bmp").arg(160 + 8 * colour);
}

bool TStep4Screen::IsPreviewing() const
{
    return m_previewTimer->IsRunning();
}

TTextCommand::Words TStep4Screen::Words() const
{
    TTextCommand::Words words;
    for (int i = 0; i < TTextCommand::ColourCount; ++i)
        words[static_cast<size_t>(i)] = m_words[static_cast<size_t>(i)]->text();
    return words;
}

void TStep4Screen::Run()
{
    if (IsPreviewing())
        return;
    m_command = TTextCommand::Parse(m_programLine->text(), Words());
    bool pictureLoaded = false;
    if (m_command.Colour() >= 0) {
        try {
            m_litLamp->LoadPicture(PreviewPicture(m_command.Colour()));
            pictureLoaded = true;
        } catch (const TLoadError &) {
            pictureLoaded = false;
        }
    }
    if (!m_command.IsValid()) {
        QMessageBox::information(this, QString(), TTextCommand::ErrorMessage());
        return;
    }
    // Disabled before sending: the transfer handles events while it paces
    // the bytes, and a second click must not start a second run.
    m_runButton->setEnabled(false);
    Host().Transfer(TTransferRequest::DirectLight(m_command.StepCode()));
    if (!pictureLoaded) {
        // The lamp has its command; only the picture on the screen is missing.
        ShowCreateError(this);
        m_runButton->setEnabled(true);
        return;
    }
    StartPreview();
}

void TStep4Screen::StartPreview()
{
    if (m_command.IsFadeIn() || m_command.IsFadeOut()) {
        m_opacity = m_command.IsFadeIn() ? 0 : 255;
        m_blend.emplace();
        m_blend->Assign(m_litLamp->pixmap());
        m_fadeLamp->SetPicture(m_unlitLamp->pixmap());
        m_fadeLamp->show();
        m_fadeLamp->raise();
        m_previewTimer->SetInterval(kFadeInterval);
    } else {
        m_litLamp->show();
        m_litLamp->raise();
        m_previewTimer->SetInterval(m_command.DurationMs());
    }
    m_previewTimer->SetEnabled(true);
    m_runButton->setEnabled(false);
}

void TStep4Screen::AdvancePreview()
{
    if (!m_blend) {
        EndPreview();
        return;
    }
    m_opacity += m_command.IsFadeIn() ? kFadeStep : -kFadeStep;
    TABitmap frame;
    frame.Assign(m_unlitLamp->pixmap());
    m_blend->BlendOnto(0, 0, static_cast<std::uint16_t>(m_opacity), frame, m_blend->Height(), m_blend->Width());
    m_fadeLamp->SetPicture(frame.ToPixmap());
    m_fadeLamp->repaint();
    if ((m_command.IsFadeIn() && m_opacity >= 255) || (m_command.IsFadeOut() && m_opacity <= 0))
        EndPreview();
}

void TStep4Screen::EndPreview()
{
    m_previewTimer->SetEnabled(false);
    m_blend.reset();
    m_litLamp->hide();
    m_fadeLamp->hide();
    m_runButton->setEnabled(true);
}
