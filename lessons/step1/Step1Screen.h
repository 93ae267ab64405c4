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
    void Image1Click(); // transfer
    void Image2Click(); // execute
    void Image8Click(); // learning guide
    void MsTimer1Timer();
    void ShowPreviewPicture(int index);

    TImage *Image1 = nullptr;
    TImage *Image2 = nullptr;
    TImage *Image3 = nullptr;   // the unlit lamp under the preview
    TImage *Image7 = nullptr;   // the lit lamp of the preview
    TImage *Image8 = nullptr;
    TMsTimer *MsTimer1 = nullptr;

    QStringList m_previewPictures;
    int m_counter = 0;
    bool m_previewErrorShown = false;
    UrlOpener m_openUrl;
};
