#pragma once

#include "ABitmap.h"
#include "PageScreen.h"
#include "PreviewPlayer.h"

class QFrame;
class QLabel;
class TDotMatrixLabel;
class TImage;
class TMsTimer;

// The preview of a checked program: plays the unrolled steps on a picture of
// the lamp with their times and fades, and counts them. Never talks to the lamp.
class TPreviewScreen : public TPageScreen {
    Q_OBJECT
public:
    TPreviewScreen(TMainHost &host, QWidget *parent);

    void FormShow() override;

    static QString NothingToPlayMessage();

private:
    void CreateControls();
    void CreateCounterPanel();
    void LoadPictures();
    void Image1Click(); // play
    void Image2Click(); // stop
    void Image7Click(); // back
    void MsTimer1Timer();
    void StopPreview();
    void ShowPlayer();
    void ShowPicture();
    void ShowFade();

    TImage *Image6 = nullptr;
    TImage *Image3 = nullptr;
    TImage *Image4 = nullptr;
    TImage *Image1 = nullptr;
    TImage *Image2 = nullptr;
    TImage *Image7 = nullptr;
    TDotMatrixLabel *LMDLEDLabel1 = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *Label2 = nullptr; // number of the step shown
    QLabel *Label5 = nullptr; // step total
    TMsTimer *MsTimer1 = nullptr;

    TPreviewPlayer m_player;
    TABitmap m_background; // the unlit lamp the fades are blended onto
    TABitmap m_fadeColour; // the colour picture of the fade in progress
    QString m_fadeColourFor;
    QString m_fadeShown;   // picture and opacity the fade area shows
};
