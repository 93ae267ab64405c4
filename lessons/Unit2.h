#pragma once

#include "PageScreen.h"

#include <QStringList>
#include <QUrl>
#include <functional>

class QLabel;
class TImage;
class TMsTimer;

// STEP1: the first light. One button sends the ready-made three-colour
// program, a second runs it while the on-screen lamp shows the same.
class TForm2 : public TPageScreen {
    Q_OBJECT
public:
    TForm2(TMainHost &host, QWidget *parent);

    // How the learning guide is opened (the system browser; tests replace it).
    using UrlOpener = std::function<bool(const QUrl &)>;
    void SetUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    static QString CompletionMessage();

private:
    void CreateControls();
    void LoadPictures();
    void Image1Click(); // transfer
    void Image2Click(); // execute
    void Image8Click(); // learning guide
    void MsTimer1Timer();
    void ShowPreviewPicture(int index);

    TImage *Image4 = nullptr;
    TImage *Image1 = nullptr;
    TImage *Image2 = nullptr;
    TImage *Image5 = nullptr;
    TImage *Image3 = nullptr;
    TImage *Image7 = nullptr;
    TImage *Image8 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    TMsTimer *MsTimer1 = nullptr;

    QStringList m_previewPictures;
    int m_counter = 0;
    bool m_previewErrorShown = false;
    UrlOpener m_openUrl;
};
