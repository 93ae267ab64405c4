#include "Unit12.h"

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

TForm12::TForm12(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm12"))
{
    CreateControls();
    try {
        LoadPictures();
    } catch (const TLoadError &) {
        ShowCreateError(this);
    }
}

void TForm12::CreateControls()
{
    Image13 = new TImage(this, QStringLiteral("Image13"));
    Image13->setGeometry(10, 6, 700, 110);
    Image13->SetStretch(true);

    for (int i = 0; i < TTextCommand::ColourCount; ++i) {
        const ColourRow &row = kRows[i];
        auto *panel = new TImage(this, QStringLiteral("Image%1").arg(14 + i));
        panel->setGeometry(4, 129 + i * 42, 90, 26);
        panel->SetStretch(true);
        m_panels[static_cast<size_t>(i)] = panel;
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
    Image4 = new TImage(GroupBox1, QStringLiteral("Image4"));
    // The run picture is the one STEP2 uses, shown whole at its own size.
    Image4->setGeometry(12, 66, 112, 82);
    Image4->SetPressedLook(true);
    Image4->SetHint(QStringLiteral("プログラムを転送、実行します（接続コードを本体のコネクタに接続して下さい）"));
    Image4->setCursor(Qt::PointingHandCursor);
    connect(Image4, &TImage::Click, this, &TForm12::Image4Click);
    connect(Edit22, &QLineEdit::returnPressed, this, [this] {
        if (Image4->isEnabled())
            Image4Click();
    });

    Image9 = new TImage(this, QStringLiteral("Image9"));
    Image9->setGeometry(458, 124, 260, 240);
    Image9->SetStretch(true);
    Image12 = new TImage(this, QStringLiteral("Image12"));
    Image12->setGeometry(478, 144, 220, 200);
    Image12->hide();
    Image11 = new TImage(this, QStringLiteral("Image11"));
    Image11->setGeometry(478, 144, 220, 200);
    Image11->SetStretch(true);
    Image11->SetHint(QStringLiteral("ここにプレビューを表示します"));
    Image11->hide();
    Image10 = new TImage(this, QStringLiteral("Image10"));
    Image10->setGeometry(478, 144, 220, 200);
    Image10->SetStretch(true);
    Image10->hide();

    MsTimer1 = new TMsTimer(this);
    MsTimer1->setObjectName(QStringLiteral("MsTimer1"));
    MsTimer1->SetEnabled(false);
    MsTimer1->SetOnTimer([this](TMsTimer *) { MsTimer1Timer(); });
}

void TForm12::LoadPictures()
{
    Image13->LoadPicture(QStringLiteral("picture\\PANEL\\rei.jpg"));
    for (int i = 0; i < TTextCommand::ColourCount; ++i)
        m_panels[static_cast<size_t>(i)]->LoadPicture(QString::fromLatin1(kRows[i].panel));
    Image4->LoadPicture(QStringLiteral("Picture\\BUTTON\\meirei_jikkou.jpg"));
    Image9->LoadPicture(QStringLiteral("Picture\\PANEL\\preview_flame.jpg"));
    Image12->LoadPicture(QStringLiteral("picture\\Pre\\Base.bmp"));
    Image10->LoadPicture(QStringLiteral("picture\\Pre\\Base.bmp"));
}

QString TForm12::PreviewPicture(int colour)
{
    return QStringLiteral("picture\\Pre\\%1.bmp").arg(160 + 8 * colour);
}

bool TForm12::IsPreviewing() const
{
    return MsTimer1->IsRunning();
}

TTextCommand::Words TForm12::Words() const
{
    TTextCommand::Words words;
    for (int i = 0; i < TTextCommand::ColourCount; ++i)
        words[static_cast<size_t>(i)] = m_words[static_cast<size_t>(i)]->text();
    return words;
}

void TForm12::Image4Click()
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

void TForm12::StartPreview()
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

void TForm12::MsTimer1Timer()
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

void TForm12::EndPreview()
{
    MsTimer1->SetEnabled(false);
    m_blend.reset();
    Image11->hide();
    Image10->hide();
    Image4->setEnabled(true);
}
