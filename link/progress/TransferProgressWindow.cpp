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
    setWindowTitle(QStringLiteral("転送"));
    setAccessibleName(QStringLiteral("転送"));
    setFixedSize(399, 298);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    m_background = new TImage(this, QStringLiteral("Image1"));
    m_background->setGeometry(0, 0, 399, 298);
    m_background->SetStretch(true);
    m_waitingPicture = new TImage(this, QStringLiteral("Image2"));
    m_waitingPicture->setGeometry(88, 160, 228, 40);
    m_progressBar = new TTransferProgressBar(this, QStringLiteral("ProgressBar1"));
    m_progressBar->setGeometry(50, 216, 303, 20);
    m_progressBar->setAccessibleName(QStringLiteral("転送の進み具合"));
    m_problemLabel = new QLabel(this);
    m_problemLabel->setObjectName(QStringLiteral("Label1"));
    m_problemLabel->setGeometry(20, 246, 359, 48);
    m_problemLabel->setWordWrap(true);
    m_problemLabel->setStyleSheet(QStringLiteral("QLabel { color: #c00000; background: white; }"));
    m_problemLabel->hide();
    try {
        m_background->LoadPicture(QStringLiteral("Picture\\back-2.jpg"));
        m_waitingPicture->LoadPicture(QStringLiteral("Picture\\PANEL\\wait1.jpg"));
    } catch (const TLoadError &) {
        TPageScreen::ShowCreateError(this);
    }

    m_closeLater.setSingleShot(true);
    m_closeLater.setInterval(ProblemShownMs);
    connect(&m_closeLater, &QTimer::timeout, this, [this] {
        m_problemLabel->hide();
        close();
    });

    // The pictures take the mouse themselves; a click on them counts too.
    connect(m_background, &TImage::MouseDown, this, &TTransferProgressWindow::CloseIfLingering);
    connect(m_waitingPicture, &TImage::MouseDown, this, &TTransferProgressWindow::CloseIfLingering);

    m_blinkTimer = new TMsTimer(this);
    m_blinkTimer->setObjectName(QStringLiteral("MsTimer1"));
    m_blinkTimer->SetInterval(500);
    m_blinkTimer->SetOnTimer([this](TMsTimer *) { BlinkWaitingPicture(); });
    m_blinkTimer->SetEnabled(true);
}

TTransferProgressWindow::~TTransferProgressWindow() = default;

void TTransferProgressWindow::BlinkWaitingPicture()
{
    if (m_host.PageCode == TMainHost::PageStep7)
        m_waitingPicture->setVisible(!m_waitingPicture->isVisible());
}

void TTransferProgressWindow::BeginTransfer(const QString &problem)
{
    m_closeLater.stop();
    m_progressBar->SetPosition(0);
    m_progressBar->show();
    ShowProblem(problem);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    // The window never takes the keyboard, so a screen reader is told.
    if (problem.isEmpty())
        m_host.Announce(QStringLiteral("プログラムを転送しています"));
}

void TTransferProgressWindow::ShowProblem(const QString &problem)
{
    m_problemLabel->setFont(FontToFit(font(), problem, m_problemLabel->size()));
    m_problemLabel->setText(problem);
    m_problemLabel->setVisible(!problem.isEmpty());
}

void TTransferProgressWindow::SetPosition(int position)
{
    m_progressBar->SetPosition(position);
}

void TTransferProgressWindow::EndTransfer()
{
    m_progressBar->hide();
    // Why the lamp got nothing must be readable after the bar has run out:
    // the window stays until it is clicked or a few seconds have passed.
    if (m_problemLabel->isVisible() && isVisible()) {
        m_closeLater.start();
        return;
    }
    m_problemLabel->hide();
    close();
    m_host.Announce(QStringLiteral("転送が終わりました"));
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
    m_problemLabel->hide();
    close();
}

int TTransferProgressWindow::Position() const
{
    return m_progressBar->Position();
}
