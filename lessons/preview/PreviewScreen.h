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
    void Play();
    void Back();
    // One tick of the play timer.
    void AdvancePlay();
    void StopPreview();
    void ShowPlayer();
    void ShowPicture();
    void ShowFade();

    TImage *m_unlitLamp = nullptr;   // hidden: holds the unlit picture the fade area starts from
    TImage *m_fadeArea = nullptr;
    TImage *m_pictureArea = nullptr;
    TImage *m_playButton = nullptr;
    TImage *m_stopButton = nullptr;
    TImage *m_backButton = nullptr;
    TDotMatrixLabel *m_stoppedSign = nullptr; // "PREVIEW STOP" while nothing plays
    QFrame *m_counterPanel = nullptr;
    QLabel *m_stepNumber = nullptr;
    QLabel *m_stepTotal = nullptr;
    TMsTimer *m_playTimer = nullptr;

    TPreviewPlayer m_player;
    TABitmap m_background; // the unlit lamp the fades are blended onto
    TABitmap m_fadeColour; // the colour picture of the fade in progress
    QString m_fadeColourFor;
    QString m_fadeShown;   // picture and opacity the fade area shows
};
