#pragma once

#include "MainHost.h"
#include "PictureTable.h"
#include "ScreenKeys.h"

#include <QDeadlineTimer>
#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>

class QMessageBox;
class QPlainTextEdit;
class QTextEdit;
class TAnnouncement;
class TTransferProgressWindow;
class TImage;
class TPictureFetch;
class TPiecedPicture;
class TPageScreen;
class TStartupTrace;
class TWorkKeeper;
class Trs232c;

// The main window: a borderless 780 x 560 frame around the page host that
// shows one lesson at a time, the step buttons, the hint area, and the state
// the screens share.
class TMainWindow : public QWidget, public TMainHost {
    Q_OBJECT
public:
    static constexpr int PageCount = 12;
    // How long a reason the lamp got nothing stays in the hint area, ms.
    static constexpr int HintHoldMs = 10000;

    TMainWindow();
    ~TMainWindow() override;

    // TMainHost
    using TMainHost::SendExecute;
    using TMainHost::Transfer;
    void Transfer() override;
    bool SendExecute() override;
    void ShowPage(int page) override;
    void SetStepButtonsEnabled(bool previous, bool next) override;
    void SetHintAreaText(const QString &text) override;
    QString HintAreaText() const override;
    void Announce(const QString &text) override;
    // Shows why the lamp got nothing (or not all) and keeps it there for a
    // while, so the next hover does not wipe it before it is read. (The
    // transfer said it when it happened; it is not said again.)
    void HoldHintAreaText(const QString &text);
    // Shows what the pupil must read (whose lock the kept work took over,
    // where declined work went) until the page changes or a screen writes
    // the hint area on purpose; the mouse passing over controls leaves it.
    void ShowNoticeInHintArea(const QString &text);
    // Opened from the settings file once the window has been painted, or
    // here first when something needs the lamp before that.
    Trs232c &SerialPort() override;
    bool IsTransferring() const override { return m_transferring; }
    void RunWhenIdle(std::function<void()> work) override;

    // Closes the port, waits for the line to settle and opens it under `name`
    // (start-up and the settings screen).
    void OpenLampPort(const QString &name);
    // Loads "picture\PANEL\" + `file` as the background; false (and the old
    // background kept) when the picture cannot be loaded.
    bool SetBackgroundPicture(const QString &file);
    // The background picture shown ("picture\PANEL\bg1.jpg").
    const QString &BackgroundPicture() const { return m_backgroundPath; }
    // The report's print buffer.
    QTextEdit *PrintBuffer() const { return m_printBuffer; }
    // The settings' font size (held within the sizes they allow) and name.
    void SetPrintBufferFont(int size, const QString &name);

    // The progress window is created after the main window.
    void AttachProgressWindow(TTransferProgressWindow *window) { m_progress = window; }
    // Page changes are timed for the start-up benchmark while it is set.
    void SetStartupTrace(TStartupTrace *trace) { m_trace = trace; }

    // Keeps the lessons' programs in `workFolder` from now until the window
    // goes; when the last run there ended without closing and left work,
    // asks whether to bring it back first.
    void StartKeepingWork(const QString &workFolder);
    static QString KeptWorkQuestion();
    // The question with its はい (the default) and いいえ.
    static std::unique_ptr<QMessageBox> KeptWorkQuestionBox(QWidget *parent);

    // The application-wide hint handler: shows the long part of a hint.
    void ShowHintText(const QString &hint);

    // The step buttons and their keys (F8, F5).
    void NextStep();
    void PreviousStep();
    // Goes straight to lesson page `page` (0 to 9) as the step buttons would
    // arrive there; nothing while the preview or report is open.
    void GoToStep(int page);

    // A page is built when it is first asked for, most often on its first
    // show: start-up builds only what the first screen needs.
    TPageScreen *Page(int page);
    bool PageBuilt(int page) const { return m_pages.at(static_cast<size_t>(page)) != nullptr; }
    // The page whose program is kept as `lessonName` ("STEP3"), or -1; known
    // without building any page.
    static int KeptLessonPage(const QString &lessonName);
    // What a kept lesson's page gives before the pupil touches it.
    QStringList EmptyKeptRecord(int page);
    int VisiblePage() const { return m_visiblePage; }

    // The title picture of lesson pages 0 to 9.
    static QString TitlePicture(int page);
    // What the title of page `page` says, for a screen reader ("STEP3 ...").
    static QString PageTitle(int page);
    // The port name for the comport/name setting, or the current name for
    // values outside 0 to 3.
    static QString PortNameFor(int setting, const QString &current);

Q_SIGNALS:
    // The settings button was clicked; the entry shows the settings screen.
    void SettingsRequested();
    // The window has been painted for the first time: what the first screen
    // does not show can be made now without keeping the pupil waiting.
    void FirstPainted();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // `background` is the settings' background picture.
    void FormCreate(const QString &background);
    void CreateControls();
    void CreateWindowMove();
    void CreatePageHostAndHintArea();
    void CreatePages();
    void SetTabOrder();
    TPageScreen *BuildPage(int page);
    void FollowKeptRecord(TPageScreen *page);
    void LoadBackground(const QString &file);
    static QString BackgroundSetting();
    static QString BackgroundPicturePath(const QString &file);
    // What the first screen does not need of the settings file: the port,
    // the print buffer's font, and saying that a colour cannot be read.
    void TakeUpSettingsFile();
    void OpenPortFromSettings();
    void LoadFramePictures();
    // The splash's picture, decoded meanwhile; null when it cannot be.
    QImage SplashPicture();
    // The pictures the first screen shows that wait for their decoding.
    QList<TImage *> WaitingShownPictures() const;
    void CloseWindow(); // both close buttons
    void ShowHelp();
    void ShowSettings();
    void RunQueued();
    void LoadTitle(int page);
    void BringBackKeptWork();
    // Keeps every key and typed character on the page shown.
    void KeepKeyboardOnShownPage(QWidget *now);
    // Shows `text` whole, in a smaller font when two lines do not hold it.
    void ShowInHintArea(const QString &text);

    std::unique_ptr<Trs232c> m_port;
    // The first screen's large pictures while the window is being built.
    std::unique_ptr<TPictureFetch> m_firstPictures;
    bool m_portChosen = false;  // from the settings file or the settings screen
    std::unique_ptr<TWorkKeeper> m_keeper;
    TPictureLoader m_pictures;
    TScreenKeys m_keys;
    TTransferProgressWindow *m_progress = nullptr;
    TStartupTrace *m_trace = nullptr;
    bool m_transferring = false;
    QList<std::function<void()>> m_queued;

    TImage *m_cornerCloseButton = nullptr;
    TImage *m_closeButton = nullptr;
    TImage *m_helpButton = nullptr;
    TImage *m_settingsButton = nullptr;
    TImage *m_title = nullptr;              // the lesson's title picture
    TImage *m_nextStepButton = nullptr;
    TImage *m_previousStepButton = nullptr;
    TImage *m_background = nullptr;         // dragging it moves the window
    TPiecedPicture *m_backgroundPicture = nullptr;  // on it, where the panel does not cover it
    QString m_backgroundPath;
    TPiecedPicture *m_frame = nullptr;      // laid over everything, lets the mouse through
    TPiecedPicture *m_innerPanel = nullptr; // round the page
    TImage *m_hintDecoration = nullptr;
    QWidget *m_pageHost = nullptr;
    QPlainTextEdit *m_hintArea = nullptr;
    QTextEdit *m_printBuffer = nullptr;
    TAnnouncement *m_announcement = nullptr;
    std::array<TPageScreen *, PageCount> m_pages{};
    std::array<QStringList, PageCount> m_emptyKeptRecords;
    // From the end of StartKeepingWork on, a kept lesson's changes reach the keeper.
    bool m_keeperFollows = false;
    int m_visiblePage = -1;
    QMetaObject::Connection m_keyboardWatch;

    // Until then a hover does not replace a held text (expired: nothing held).
    QDeadlineTimer m_hintHeld;

    bool m_painted = false;
    bool m_dragging = false;
    QPoint m_dragStart;

};
