#include "Step4Screen.h"

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
    const char *edit;
    const char *panel;
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
        {&TStep4Screen::Image4, "Image4", "Picture\\BUTTON\\meirei_jikkou.jpg", {12, 66, 112, 82},
         "プログラムを転送、実行します（接続コードを本体のコネクタに接続して下さい）", &TStep4Screen::Image4Click,
         Pressable | Hand},
    };
    // The preview: its frame, then the lamp pictures laid over one another.
    static constexpr TPictureRow<TStep4Screen> preview[] = {
        {nullptr, "Image9", "Picture\\PANEL\\preview_flame.jpg", {458, 124, 260, 240}, nullptr, nullptr, Stretched},
        {&TStep4Screen::Image12, "Image12", "picture\\Pre\\Base.bmp", {478, 144, 220, 200}, nullptr, nullptr, Hidden},
        {&TStep4Screen::Image11, "Image11", nullptr, {478, 144, 220, 200}, "ここにプレビューを表示します", nullptr,
         Stretched | Hidden},
        {&TStep4Screen::Image10, "Image10", "picture\\Pre\\Base.bmp", {478, 144, 220, 200}, nullptr, nullptr,
         Stretched | Hidden},
    };
    AddPictures(example);
    for (int i = 0; i < TTextCommand::ColourCount; ++i) {
        const ColourRow &row = kRows[i];
        TImage *panel = MakePicture(this, QStringLiteral("Image%1").arg(14 + i), QRect(4, 129 + i * 42, 90, 26), nullptr,
                                    Stretched);
        Pictures().Load(panel, QString::fromLatin1(row.panel));
        auto *edit = new QLineEdit(QString::fromLatin1(row.word), this);
        edit->setObjectName(QString::fromLatin1(row.edit));
        edit->setGeometry(98, 130 + i * 42, 120, 24);
        m_words[static_cast<size_t>(i)] = edit;
    }

    GroupBox1 = new QGroupBox(QStringLiteral("プログラム入力"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(226, 150, 228, 160);
    Edit22 = new QLineEdit(GroupBox1);
    Edit22->setObjectName(QStringLiteral("Edit22"));
    Edit22->setGeometry(12, 28, 204, 28);
    Edit22->setStatusTip(QStringLiteral("ここにプログラムを記述して下さい"));
    AddPictures(run, GroupBox1);
    connect(Edit22, &QLineEdit::returnPressed, this, [this] {
        if (Image4->isEnabled())
            Image4Click();
    });

    AddPictures(preview);
    MsTimer1 = new TMsTimer(this);
    MsTimer1->setObjectName(QStringLiteral("MsTimer1"));
    MsTimer1->SetEnabled(false);
    MsTimer1->SetOnTimer([this](TMsTimer *) { MsTimer1Timer(); });
}

QString TStep4Screen::PreviewPicture(int colour)
{
    return QStringLiteral("picture\\Pre\\%1.bmp").arg(160 + 8 * colour);
}

bool TStep4Screen::IsPreviewing() const
{
    return MsTimer1->IsRunning();
}

TTextCommand::Words TStep4Screen::Words() const
{
    TTextCommand::Words words;
    for (int i = 0; i < TTextCommand::ColourCount; ++i)
        words[static_cast<size_t>(i)] = m_words[static_cast<size_t>(i)]->text();
    return words;
}

void TStep4Screen::Image4Click()
{
    if (IsPreviewing())
        return;
    m_command = TTextCommand::Parse(Edit22->text(), Words());
    bool pictureLoaded = false;
    if (m_command.Colour() >= 0) {
        try {
            Image11->LoadPicture(PreviewPicture(m_command.Colour()));
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
    Image4->setEnabled(false);
    Host().Transfer(TTransferRequest::DirectLight(m_command.StepCode()));
    if (!pictureLoaded) {
        // The lamp has its command; only the picture on the screen is missing.
        ShowCreateError(this);
        Image4->setEnabled(true);
        return;
    }
    StartPreview();
}

void TStep4Screen::StartPreview()
{
    if (m_command.IsFadeIn() || m_command.IsFadeOut()) {
        m_opacity = m_command.IsFadeIn() ? 0 : 255;
        m_blend.emplace();
        m_blend->Assign(Image11->pixmap());
        Image10->SetPicture(Image12->pixmap());
        Image10->show();
        Image10->raise();
        MsTimer1->SetInterval(kFadeInterval);
    } else {
        Image11->show();
        Image11->raise();
        MsTimer1->SetInterval(m_command.DurationMs());
    }
    MsTimer1->SetEnabled(true);
    Image4->setEnabled(false);
}

void TStep4Screen::MsTimer1Timer()
{
    if (!m_blend) {
        EndPreview();
        return;
    }
    m_opacity += m_command.IsFadeIn() ? kFadeStep : -kFadeStep;
    TABitmap frame;
    frame.Assign(Image12->pixmap());
    m_blend->BlendOnto(0, 0, static_cast<std::uint16_t>(m_opacity), frame, m_blend->Height(), m_blend->Width());
    Image10->SetPicture(frame.ToPixmap());
    Image10->repaint();
    if ((m_command.IsFadeIn() && m_opacity >= 255) || (m_command.IsFadeOut() && m_opacity <= 0))
        EndPreview();
}

void TStep4Screen::EndPreview()
{
    MsTimer1->SetEnabled(false);
    m_blend.reset();
    Image11->hide();
    Image10->hide();
    Image4->setEnabled(true);
}
