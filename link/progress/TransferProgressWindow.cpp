#include "TransferProgressWindow.h"

#include "FitText.h"
#include "Image.h"
#include "LoadError.h"
#include "MainHost.h"
#include "MsTimer.h"
#include "PageScreen.h"
#include "TransferProgressBar.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

TTransferProgressWindow::TTransferProgressWindow(TMainHost &host, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_host(host)
{
    setObjectName(QStringLiteral("TForm13"));
    setFixedSize(399, 298);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    Image1 = new TImage(this, QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 399, 298);
    Image1->SetStretch(true);
    Image2 = new TImage(this, QStringLiteral("Image2"));
    Image2->setGeometry(88, 160, 228, 40);
    ProgressBar1 = new TTransferProgressBar(this, QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(50, 216, 303, 20);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(20, 246, 359, 48);
    Label1->setWordWrap(true);
    Label1->setStyleSheet(QStringLiteral("QLabel { color: #c00000; background: white; }"));
    Label1->hide();
    try {
        Image1->LoadPicture(QStringLiteral("Picture\\back-2.jpg"));
        Image2->LoadPicture(QStringLiteral("Picture\\PANEL\\wait1.jpg"));
    } catch (const TLoadError &) {
        TPageScreen::ShowCreateError(this);
    }

    m_closeLater.setSingleShot(true);
    m_closeLater.setInterval(ProblemShownMs);
    connect(&m_closeLater, &QTimer::timeout, this, [this] {
        Label1->hide();
        close();
    });

    // The pictures take the mouse themselves; a click on them counts too.
    connect(Image1, &TImage::MouseDown, this, &TTransferProgressWindow::CloseIfLingering);
    connect(Image2, &TImage::MouseDown, this, &TTransferProgressWindow::CloseIfLingering);

    MsTimer1 = new TMsTimer(this);
    MsTimer1->setObjectName(QStringLiteral("MsTimer1"));
    MsTimer1->SetInterval(500);
    MsTimer1->SetOnTimer([this](TMsTimer *) { MsTimer1Timer(); });
    MsTimer1->SetEnabled(true);
}

TTransferProgressWindow::~TTransferProgressWindow() = default;

void TTransferProgressWindow::MsTimer1Timer()
{
    if (m_host.PageCode == TMainHost::PageStep7)
        Image2->setVisible(!Image2->isVisible());
}

void TTransferProgressWindow::BeginTransfer(const QString &problem)
{
    m_closeLater.stop();
    ProgressBar1->SetPosition(0);
    ProgressBar1->show();
    ShowProblem(problem);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
}

void TTransferProgressWindow::ShowProblem(const QString &problem)
{
    Label1->setFont(FontToFit(font(), problem, Label1->size()));
    Label1->setText(problem);
    Label1->setVisible(!problem.isEmpty());
}

void TTransferProgressWindow::SetPosition(int position)
{
    ProgressBar1->SetPosition(position);
}

void TTransferProgressWindow::EndTransfer()
{
    ProgressBar1->hide();
    // Why the lamp got nothing must be readable after the bar has run out:
    // the window stays until it is clicked or a few seconds have passed.
    if (Label1->isVisible() && isVisible()) {
        m_closeLater.start();
        return;
    }
    Label1->hide();
    close();
}

void TTransferProgressWindow::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    CloseIfLingering();
}

void TTransferProgressWindow::CloseIfLingering()
{
    if (!m_closeLater.isActive())
        return;
    m_closeLater.stop();
    Label1->hide();
    close();
}

int TTransferProgressWindow::Position() const
{
    return ProgressBar1->Position();
}
