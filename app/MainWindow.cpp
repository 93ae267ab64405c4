#include "MainWindow.h"

#include "Announcement.h"
#include "AssetPath.h"
#include "EditorSettings.h"
#include "FitText.h"
#include "Step9Screen.h"
#include "Image.h"
#include "IniFile.h"
#include "LoadError.h"
#include "PacedWait.h"
#include "PageScreen.h"
#include "PictureFetch.h"
#include "PiecedPicture.h"
#include "PictureTable.h"
#include "ReportScreen.h"
#include "SplashScreen.h"
#include "StartupTrace.h"
#include "Step4Screen.h"
#include "Step1Screen.h"
#include "Step2Screen.h"
#include "Step6Screen.h"
#include "Step3Record.h"
#include "Step3Screen.h"
#include "Step7Record.h"
#include "Step7Screen.h"
#include "Step5Record.h"
#include "Step5Screen.h"
#include "Step10Screen.h"
#include "PreviewScreen.h"
#include "WorkFolder.h"
#include "WorkKeeper.h"
#include "Step8Screen.h"
#include "rs232c.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QScreen>
#include <QtMath>
#include <QStatusTipEvent>
#include <QTextEdit>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace {

// The pages whose lessons the work keeper follows, known before they are built.
constexpr int KeptLessonPages[] = {TMainHost::PageStep3, TMainHost::PageStep5, TMainHost::PageStep7};

QString PanelPicture()
{
    return QStringLiteral("picture\\back1.bmp");
}

QString FramePicture()
{
    return QStringLiteral("picture\\back2.bmp");
}

// `picture` drawn at `size`, as a stretched picture control would draw it.
QImage StretchedTo(QImage picture, QSize size)
{
    const qreal ratio = picture.devicePixelRatio();
    if (picture.size() == size * ratio)
        return picture;
    picture = picture.scaled(size * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(ratio);
    return picture;
}

QString KeptLessonOf(int page)
{
    switch (page) {
    case TMainHost::PageStep3: return Step3LessonName;
    case TMainHost::PageStep5: return Step5LessonName;
    case TMainHost::PageStep7: return Step7LessonName;
    default: return {};
    }
}

} // namespace

TMainWindow::TMainWindow()
    : QWidget(nullptr, Qt::FramelessWindowHint)
    , m_port(std::make_unique<Trs232c>())
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("LK-72"));
    setAccessibleName(QStringLiteral("LK-72 コントロールプログラム"));
    setFixedSize(780, 560);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // In the order they are needed; a background the settings cannot have is
    // left to its own loading, which says so.
    const QString background = BackgroundSetting();
    QStringList firstPictures{PanelPicture(), FramePicture()};
    if (const QString path = BackgroundPicturePath(background); !path.isEmpty())
        firstPictures.append(path);
    firstPictures.append(TSplashScreen::PicturePath());
    m_firstPictures = std::make_unique<TPictureFetch>(firstPictures, devicePixelRatioF());
    CreateControls();
    FormCreate(background);
    m_firstPictures.reset();
}

TMainWindow::~TMainWindow()
{
    // The pages are destroyed before this window's connections go, and a
    // focus change while they go must not reach them.
    disconnect(m_keyboardWatch);
    // A clean end: the pages are still there to give their last changes.
    m_keeper.reset();
    if (m_port)
        m_port->Close();
}

void TMainWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    // The program ends with its main window, even while the message window or
    // another window of its own is still open: otherwise it would live on
    // unseen and keep the lamp's port from the next start.
    if (event->isAccepted())
        QCoreApplication::quit();
}

void TMainWindow::CreateControls()
{
    using namespace PictureLook;
    // The background picture comes from the settings; the frame picture is
    // laid over everything last.
    static constexpr TPictureRow<TMainWindow> backgrounds[] = {
        {&TMainWindow::m_background, "Image8", nullptr, {0, 0, 780, 560}, nullptr, nullptr, Plain},
    };
    static constexpr TPictureRow<TMainWindow> buttons[] = {
        {&TMainWindow::m_hintDecoration, "Image11", "picture\\PANEL\\doctor.bmp", {152, 505, 50, 50}, nullptr, nullptr, Plain},
        {&TMainWindow::m_title, "Image5", nullptr, {24, 4, 420, 32}, nullptr, nullptr, Plain},
        {&TMainWindow::m_settingsButton, "Image4", "Picture\\BUTTON\\settei.bmp", {540, 6, 70, 28}, "設定|設定画面を表示します",
         &TMainWindow::ShowSettings, Pressable | Hand},
        {&TMainWindow::m_helpButton, "Image3", "Picture\\BUTTON\\help.bmp", {614, 6, 70, 28}, "ヘルプ|ヘルプを表示します",
         &TMainWindow::ShowHelp, Pressable | Hand},
        {&TMainWindow::m_cornerCloseButton, "Image1", "Picture\\BUTTON\\close.bmp", {744, 6, 28, 28}, "終了|アプリケーションを終了します",
         &TMainWindow::CloseWindow, Pressable | Hand},
        {&TMainWindow::m_closeButton, "Image2", "Picture\\BUTTON\\close1.bmp", {648, 510, 110, 40},
         "終了|アプリケーションを終了します", &TMainWindow::CloseWindow, Pressable | Hand},
        {&TMainWindow::m_previousStepButton, "Image7", "Picture\\BUTTON\\before_step.bmp", {22, 510, 62, 40}, "前のステップ|前のステップへ移ります",
         &TMainWindow::PreviousStep, Pressable | Hand},
        {&TMainWindow::m_nextStepButton, "Image6", "Picture\\BUTTON\\next_step.bmp", {88, 510, 62, 40}, "次のステップ|次のステップへ移ります",
         &TMainWindow::NextStep, Pressable | Hand},
    };
    MakePictures(*this, this, backgrounds, m_pictures);
    m_backgroundPicture = new TPiecedPicture(m_background, QStringLiteral("BackgroundPicture"));
    m_backgroundPicture->setGeometry(m_background->rect());
    m_innerPanel = new TPiecedPicture(this, QStringLiteral("Image10"));
    m_innerPanel->setGeometry(19, 40, 741, 465);
    // Whatever gives the keyboard to a control of a hidden page (a screen
    // that sets it while it is not shown, the window coming back to the
    // front), the page shown takes it back.
    m_keyboardWatch = connect(qApp, &QApplication::focusChanged, this,
                              [this](QWidget *, QWidget *now) { KeepKeyboardOnShownPage(now); });
    CreateWindowMove();
    CreatePageHostAndHintArea();
    MakePictures(*this, this, buttons, m_pictures);
    m_frame = new TPiecedPicture(this, QStringLiteral("Image9"));
    m_frame->setGeometry(0, 0, 780, 560);
    m_innerPanel->lower();
    m_background->lower();

    m_keys.Bind(Qt::Key_F8, [this] {
        if (PageCode >= PageStep1 && PageCode <= PageStep9 && m_nextStepButton->isEnabled())
            NextStep();
    });
    m_keys.Bind(Qt::Key_F5, [this] {
        if (PageCode >= PageStep2 && PageCode <= PageStep10 && m_previousStepButton->isEnabled())
            PreviousStep();
    });
    // The settings button's key, for a pupil without a mouse.
    m_keys.Bind(Qt::Key_F2, [this] { ShowSettings(); });
}

void TMainWindow::CreateWindowMove()
{
    connect(m_background, &TImage::MouseDown, this, [this](Qt::MouseButton, QPoint at) {
        // The window system's own move works where a program may not place
        // its windows (Wayland); without it the window follows the mouse.
        if (QWindow *handle = windowHandle(); handle && handle->startSystemMove()) {
            m_dragging = false;
            return;
        }
        m_dragging = true;
        m_dragStart = at;
    });
    connect(m_background, &TImage::MouseMove, this, [this](Qt::MouseButtons, QPoint at) {
        if (!m_dragging)
            return;
        move(pos() - (m_dragStart - at));
        raise();
        activateWindow();
    });
    connect(m_background, &TImage::MouseUp, this, [this](Qt::MouseButton, QPoint) { m_dragging = false; });
}

void TMainWindow::CreatePageHostAndHintArea()
{
    m_pageHost = new QWidget(this);
    m_pageHost->setObjectName(QStringLiteral("PageHost"));
    m_pageHost->setGeometry(30, 70, 720, 430);
    m_pageHost->setAutoFillBackground(true);
    QPalette white = m_pageHost->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_pageHost->setPalette(white);

    m_hintArea = new QPlainTextEdit(this);
    m_hintArea->setObjectName(QStringLiteral("Memo3"));
    m_hintArea->setGeometry(205, 507, 433, 44);
    m_hintArea->setReadOnly(true);
    m_hintArea->setFocusPolicy(Qt::NoFocus);
    m_hintArea->setFrameShape(QFrame::NoFrame);
    m_hintArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_hintArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_hintArea->setTextInteractionFlags(Qt::NoTextInteraction);
    m_hintArea->setStyleSheet(QStringLiteral("QPlainTextEdit { background: black; color: white; }"));
    m_hintArea->document()->setDocumentMargin(2);
    m_hintArea->setAccessibleName(QStringLiteral("ヒント"));

    m_printBuffer = new QTextEdit(this);
    m_printBuffer->setObjectName(QStringLiteral("RichEdit1"));
    m_printBuffer->hide();

    m_announcement = new TAnnouncement(this);
}

void TMainWindow::FormCreate(const QString &background)
{
    try {
        CreatePages();
        PageCode = 0;
        m_previousStepButton->setEnabled(false);
        LoadTitle(0);
        // The panel first: the background keeps only what the panel leaves.
        LoadFramePictures();
        LoadBackground(background);
        // The small pictures the first screen shows are decoded meanwhile too.
        const QList<TImage *> waiting = WaitingShownPictures();
        QStringList waitingPaths;
        for (const TImage *image : waiting)
            waitingPaths.append(image->WaitingPicture());
        TPictureFetch shownPictures(waitingPaths, devicePixelRatioF());
        auto *splash = new TSplashScreen(SplashPicture());
        splash->setAttribute(Qt::WA_DeleteOnClose);
        splash->show();
        splash->repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        // Gone as soon as the event loop runs, after every start-up window exists.
        QMetaObject::invokeMethod(splash, &QWidget::close, Qt::QueuedConnection);
        for (TImage *image : waiting) {
            try {
                image->ShowDecodedPicture(shownPictures.Take(image->WaitingPicture()));
            } catch (const std::exception &) {
                // Checked when it was loaded; it is decoded on showing as before.
            }
        }
        m_pictures.ReportMissing(this);
    } catch (const std::exception &) {
        TPageScreen::ShowCreateError(this);
    }
}

void TMainWindow::CreatePages()
{
    // The other pages are built when first shown: each takes a few
    // milliseconds, and all of them with their pictures would double the
    // program's start-up time and memory.
    ShowPage(PageStep1);
}

TPageScreen *TMainWindow::Page(int page)
{
    TPageScreen *&screen = m_pages.at(static_cast<size_t>(page));
    if (!screen)
        screen = BuildPage(page);
    return screen;
}

TPageScreen *TMainWindow::BuildPage(int page)
{
    TMainHost &host = *this;
    TPageScreen *screen = nullptr;
    switch (page) {
    case PageStep1: screen = new TStep1Screen(host, m_pageHost); break;
    case PageStep2: screen = new TStep2Screen(host, m_pageHost); break;
    case PageStep3: screen = new TStep3Screen(host, m_pageHost); break;
    case PageStep4: screen = new TStep4Screen(host, m_pageHost); break;
    case PageStep5: screen = new TStep5Screen(host, m_pageHost); break;
    case PageStep6: screen = new TStep6Screen(host, m_pageHost); break;
    case PageStep7: screen = new TStep7Screen(host, m_pageHost); break;
    case PageStep8: screen = new TStep8Screen(host, m_pageHost); break;
    case PageStep9: screen = new TStep9Screen(host, m_pageHost); break;
    case PageStep10: screen = new TStep10Screen(host, m_pageHost); break;
    case PagePreview: screen = new TPreviewScreen(host, m_pageHost); break;
    default: screen = new TReportScreen(host, m_pageHost); break;
    }
    screen->move(0, 0);
    screen->hide();
    if (screen->accessibleName().isEmpty())
        screen->setAccessibleName(PageTitle(page));
    // A page built now ends the focus chain; the buttons under it follow it.
    SetTabOrder();
    if (!screen->KeptLessonName().isEmpty()) {
        m_emptyKeptRecords.at(static_cast<size_t>(page)) = screen->KeptRecordLines();
        if (m_keeperFollows)
            FollowKeptRecord(screen);
    }
    return screen;
}

void TMainWindow::SetTabOrder()
{
    // Reading order: the buttons above the page, the page shown, the buttons
    // under it. A page's controls end the chain when it is built; the buttons
    // under the page go after them, and the round closes on the buttons above
    // it. Hidden pages keep their places but take no Tab stop.
    // Qt orders only controls that take the keyboard: the last such one in
    // the chain is where the page ends.
    QWidget *lastOfPages = previousInFocusChain();
    while (lastOfPages != this && lastOfPages->focusPolicy() == Qt::NoFocus)
        lastOfPages = lastOfPages->previousInFocusChain();
    if (lastOfPages == this || lastOfPages == m_closeButton || !m_previousStepButton)
        return;
    setTabOrder(lastOfPages, m_previousStepButton);
    setTabOrder(m_previousStepButton, m_nextStepButton);
    setTabOrder(m_nextStepButton, m_closeButton);
}

QString TMainWindow::BackgroundSetting()
{
    const TIniFile ini(WorkFolder() + SettingsKeys::FileName);
    return ini.ReadString(SettingsKeys::BackSection, SettingsKeys::BackPicture, SettingsKeys::DefaultBackPicture);
}

QString TMainWindow::BackgroundPicturePath(const QString &file)
{
    // Only a file of the picture folder itself: set.ini is the user's to edit.
    if (file.isEmpty() || file.contains(u'/') || file.contains(u'\\') || file.startsWith(u'.'))
        return {};
    return QStringLiteral("picture\\PANEL\\") + file;
}

void TMainWindow::LoadBackground(const QString &file)
{
    if (!SetBackgroundPicture(file)) {
        // A background that cannot be shown must not cost the window its
        // buttons: say so, then carry on with the default.
        TPageScreen::ShowCreateError(this);
        SetBackgroundPicture(SettingsKeys::DefaultBackPicture);
    }
}

void TMainWindow::TakeUpSettingsFile()
{
    // Finding the port's device asks the system for every serial device,
    // which would keep the first screen waiting.
    OpenPortFromSettings();
    const TIniFile ini(WorkFolder() + SettingsKeys::FileName);
    QStringList unreadable;
    const TEditorSettings editor = TEditorSettings::Read(ini, &unreadable);
    SetPrintBufferFont(ini.ReadInteger(SettingsKeys::FontSection, SettingsKeys::FontSize, TEditorSettings().FontSize),
                       editor.FontName);
    if (!unreadable.isEmpty())
        TPageScreen::ShowCreateError(this);
}

void TMainWindow::SetPrintBufferFont(int size, const QString &name)
{
    QFont font(name);
    font.setPointSize(qBound(SettingsKeys::MinFontSize, size, SettingsKeys::MaxFontSize));
    m_printBuffer->setFont(font);
}

bool TMainWindow::SetBackgroundPicture(const QString &file)
{
    const QString path = BackgroundPicturePath(file);
    if (path.isEmpty())
        return false;
    try {
        const QImage picture = StretchedTo(
            m_firstPictures ? m_firstPictures->Take(path) : TImage::ScreenImage(path, devicePixelRatioF()),
            m_background->size());
        const QRegion covered = m_innerPanel->PieceCount() > 0 ? QRegion(m_innerPanel->geometry()) : QRegion();
        m_backgroundPicture->SetPicture(picture, 0, covered);
        m_backgroundPath = path;
        return true;
    } catch (const TLoadError &) {
        return false;
    }
}

QImage TMainWindow::SplashPicture()
{
    try {
        return m_firstPictures->Take(TSplashScreen::PicturePath());
    } catch (const TLoadError &) {
        return {};  // the splash loads it itself, and says it is missing
    }
}

QList<TImage *> TMainWindow::WaitingShownPictures() const
{
    QList<TImage *> waiting;
    for (TImage *image : findChildren<TImage *>()) {
        if (!image->WaitingPicture().isEmpty() && !image->isHidden() && image->isVisibleTo(this))
            waiting.append(image);
    }
    return waiting;
}

void TMainWindow::LoadFramePictures()
{
    // The page covers the middle of the panel round it, whatever page it shows.
    m_pictures.Try([this] {
        m_innerPanel->SetPicture(StretchedTo(m_firstPictures->Take(PanelPicture()), m_innerPanel->size()), 0,
                                 m_pageHost->geometry().translated(-m_innerPanel->pos()));
    });
    // The frame picture marks everything that is not frame in pure magenta.
    m_pictures.Try([this] {
        m_frame->SetPicture(m_firstPictures->Take(FramePicture()), qRgb(255, 0, 255));
    });
    // The frame is drawn over everything but lets the mouse through.
    m_frame->raise();
}

QString TMainWindow::TitlePicture(int page)
{
    return QStringLiteral("picture\\BUTTON\\menu%1.bmp").arg(page + 1);
}

QString TMainWindow::PageTitle(int page)
{
    static constexpr std::array<const char *, PageCount> titles = {
        "STEP1 はじめての点灯", "STEP2 色と秒数", "STEP3 ブロックでプログラム", "STEP4 命令を書く",
        "STEP5 プログラムを書く", "STEP6 けんばん", "STEP7 音と光のプログラム", "STEP8 プログラムの交換",
        "STEP9 信号ゲーム", "STEP10 くり返し再生モード", "プレビュー", "レポート",
    };
    if (page < 0 || page >= PageCount)
        return {};
    return QString::fromUtf8(titles.at(static_cast<size_t>(page)));
}

QString TMainWindow::PortNameFor(int setting, const QString &current)
{
    if (setting >= 0 && setting <= 3)
        return QStringLiteral("com%1").arg(setting + 1);
    return current;
}

void TMainWindow::LoadTitle(int page)
{
    if (page < PageStep1 || page > PageStep10)
        return;
    try {
        m_title->LoadPicture(TitlePicture(page));
    } catch (const TLoadError &) {
        // A missing title is reported like any missing picture; the step change itself stands.
        m_title->clear();
        TPageScreen::ShowCreateError(this);
    }
}

void TMainWindow::ShowPage(int page)
{
    if (page < 0 || page >= PageCount)
        return;
    m_hintHeld = QDeadlineTimer();
    const bool changed = m_visiblePage != page;
    if (m_trace && changed)
        m_trace->BeginPageChange(page);
    TPageScreen *leaving = changed && m_visiblePage >= 0 ? Page(m_visiblePage) : nullptr;
    TPageScreen *screen = Page(page);
    if (m_trace)
        m_trace->WatchPagePaint(screen);
    if (leaving)
        leaving->LetGoOfKeyboard();
    m_visiblePage = page;
    screen->setGeometry(m_pageHost->rect());
    screen->show();
    screen->raise();
    // The keyboard moves before the page it was on goes: hiding a page moves
    // it only to a control that happens to be next in the Tab order.
    if (changed)
        screen->TakeKeyboard();
    if (leaving)
        leaving->hide();
    screen->FormShow();
    // A page that takes the keyboard itself says its title as it does; a
    // control it gives the keyboard back to does not, so the title is said.
    if (changed && QApplication::focusWidget() != screen)
        Announce(PageTitle(page));
}

void TMainWindow::KeepKeyboardOnShownPage(QWidget *now)
{
    if (!now || m_visiblePage < 0)
        return;
    for (TPageScreen *page : m_pages) {
        if (page && page != Page(m_visiblePage) && page->isAncestorOf(now)) {
            Page(m_visiblePage)->TakeKeyboard();
            return;
        }
    }
}

void TMainWindow::SetStepButtonsEnabled(bool previous, bool next)
{
    m_previousStepButton->setEnabled(previous);
    m_nextStepButton->setEnabled(next);
}

void TMainWindow::NextStep()
{
    if (PageCode < PageStep1 || PageCode >= PageStep10)
        return;
    m_previousStepButton->setEnabled(true);
    PageCode += 1;
    ShowPage(PageCode);
    LoadTitle(PageCode);
    if (PageCode == PageStep10)
        m_nextStepButton->setEnabled(false);
    ForgetPreparedTransfer();
}

void TMainWindow::PreviousStep()
{
    if (PageCode <= PageStep1 || PageCode > PageStep10)
        return;
    m_nextStepButton->setEnabled(true);
    PageCode -= 1;
    ShowPage(PageCode);
    LoadTitle(PageCode);
    if (PageCode == PageStep1)
        m_previousStepButton->setEnabled(false);
    ForgetPreparedTransfer();
}

void TMainWindow::CloseWindow()
{
    close();
}

void TMainWindow::ShowSettings()
{
    Q_EMIT SettingsRequested();
}

void TMainWindow::ShowHelp()
{
    const QString path = ResolveAsset(QStringLiteral("Help\\Help1\\index.html"));
    if (path.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        QMessageBox::information(this, QString(), QStringLiteral("ヘルプを開けませんでした\nヘルプのファイルが見つからないか、表示するブラウザがありません"));
}

QString TMainWindow::KeptWorkQuestion()
{
    return QStringLiteral("前回、保存しないで終わったプログラムがあります。元に戻しますか？");
}

std::unique_ptr<QMessageBox> TMainWindow::KeptWorkQuestionBox(QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, QString(), KeptWorkQuestion(),
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::Yes);
    // The buttons say はい and いいえ whatever language Qt's own texts are in.
    box->button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
    box->button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
    return box;
}

void TMainWindow::StartKeepingWork(const QString &workFolder)
{
    m_keeper = std::make_unique<TWorkKeeper>(workFolder);
    connect(m_keeper.get(), &TWorkKeeper::Trouble, this, &TMainWindow::ShowNoticeInHintArea);
    // A run kept from the folder still follows its lessons: when the folder
    // becomes free it writes them from then on.
    m_keeper->Start();
    // A page not built yet holds its empty program: its record is taken only
    // after a change, and the empty one (building the page) only when a kept
    // record has to be told from it.
    for (const int page : KeptLessonPages) {
        m_keeper->AddLesson(
            KeptLessonOf(page), [this, page] { return Page(page)->KeptRecordLines(); },
            [this, page] { return EmptyKeptRecord(page); });
    }
    if (m_keeper->LastRunUnclosed() && m_keeper->HasKeptWork()) {
        if (KeptWorkQuestionBox(this)->exec() == QMessageBox::Yes)
            BringBackKeptWork();
        else
            m_keeper->SetAsideKeptWork();
    }
    m_keeperFollows = true;
    for (const int page : KeptLessonPages) {
        if (PageBuilt(page))
            FollowKeptRecord(Page(page));
    }
}

int TMainWindow::KeptLessonPage(const QString &lessonName)
{
    for (const int page : KeptLessonPages)
        if (KeptLessonOf(page) == lessonName)
            return page;
    return -1;
}

QStringList TMainWindow::EmptyKeptRecord(int page)
{
    Page(page);
    return m_emptyKeptRecords.at(static_cast<size_t>(page));
}

void TMainWindow::FollowKeptRecord(TPageScreen *page)
{
    connect(page, &TPageScreen::KeptRecordChanged, m_keeper.get(), [keeper = m_keeper.get(), name = page->KeptLessonName()] {
        keeper->Changed(name);
    });
}

void TMainWindow::BringBackKeptWork()
{
    // Nothing goes to the lamp: the pupil sends it again when ready.
    for (const int page : KeptLessonPages) {
        const QString name = KeptLessonOf(page);
        const QStringList kept = m_keeper->KeptRecord(name);
        if (!kept.isEmpty() && kept.first() == name)
            Page(page)->RestoreKeptRecord(kept);
    }
}

void TMainWindow::ShowHintText(const QString &hint)
{
    // The mouse passes over controls all the time (the progress window closes
    // under it); a held reason stays until it has been read.
    if (!m_hintHeld.hasExpired())
        return;
    ShowInHintArea(TImage::LongHint(hint));
}

// What a screen writes to the hint area on purpose (a check result, why the
// lamp got nothing, the kept work's notices) is said too; the hints of the controls under the mouse
// are not, a screen reader reads those from the controls themselves.
void TMainWindow::SetHintAreaText(const QString &text)
{
    m_hintHeld = QDeadlineTimer();
    ShowInHintArea(text);
    Announce(text);
}

void TMainWindow::HoldHintAreaText(const QString &text)
{
    // Not said again: the transfer said the reason as it happened, and the
    // mouse may have put a hint over it since.
    m_hintHeld.setRemainingTime(HintHoldMs);
    ShowInHintArea(text);
}

void TMainWindow::ShowNoticeInHintArea(const QString &text)
{
    m_hintHeld = QDeadlineTimer(QDeadlineTimer::Forever);
    ShowInHintArea(text);
    Announce(text);
}

void TMainWindow::Announce(const QString &text)
{
    m_announcement->Say(text);
}

void TMainWindow::ShowInHintArea(const QString &text)
{
    const qreal margin = m_hintArea->document()->documentMargin();
    const QSize box = m_hintArea->contentsRect().size() - QSize(qCeil(2 * margin), qCeil(2 * margin));
    m_hintArea->setFont(FontToFit(font(), text, box));
    m_hintArea->setPlainText(text);
}

QString TMainWindow::HintAreaText() const
{
    return m_hintArea->toPlainText();
}

Trs232c &TMainWindow::SerialPort()
{
    OpenPortFromSettings();
    return *m_port;
}

void TMainWindow::RunWhenIdle(std::function<void()> work)
{
    if (!m_transferring) {
        work();
        return;
    }
    m_queued.append(std::move(work));
}

void TMainWindow::RunQueued()
{
    while (!m_transferring && !m_queued.isEmpty())
        m_queued.takeFirst()();
}

void TMainWindow::keyPressEvent(QKeyEvent *event)
{
    // What no control took: the step keys, then the visible page's own keys
    // for when none of its controls has the focus.
    if (m_keys.Run(event) || (m_visiblePage >= 0 && Page(m_visiblePage)->RunKey(event)))
        return;
    QWidget::keyPressEvent(event);
}

bool TMainWindow::event(QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        // Queued: the paint and its way to the screen come first.
        QMetaObject::invokeMethod(this, &TMainWindow::FirstPainted, Qt::QueuedConnection);
        QMetaObject::invokeMethod(this, &TMainWindow::TakeUpSettingsFile, Qt::QueuedConnection);
    }
    // The hint of whatever control of the window the mouse is over: the
    // window system sends it to the control, and it rises to the window.
    if (event->type() == QEvent::StatusTip) {
        ShowHintText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QWidget::event(event);
}
