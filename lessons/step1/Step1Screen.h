#pragma once

#include "PageScreen.h"

#include <QStringList>
#include <QUrl>
#include <functional>

class TImage;
class TMsTimer;

// STEP1: the first light. One button sends the ready-made three-colour
// program, a second runs it while the on-screen lamp shows the same.
class TStep1Screen : public TPageScreen {
    Q_OBJECT
public:
    TStep1Screen(TMainHost &host, QWidget *parent);

    // How the learning guide is opened (the system browser; tests replace it).
    using UrlOpener = std::function<bool(const QUrl &)>;
    void SetUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    static QString CompletionMessage();

private:
    void CreateControls();
    void CreateTexts();
    void Transfer();
    void Run();
    void OpenGuide();
    void AdvancePreview();
    void ShowPreviewPicture(int index);

    TImage *m_transferButton = nullptr;
    TImage *m_runButton = nullptr;
    TImage *m_unlitLamp = nullptr; // under the preview
    TImage *m_litLamp = nullptr;
    TMsTimer *m_previewTimer = nullptr;

    QStringList m_previewPictures;
    int m_counter = 0;
    bool m_previewErrorShown = false;
    UrlOpener m_openUrl;
};
