#pragma once

#include "ABitmap.h"
#include "DragController.h"
#include "DirectLightCommand.h"
#include "PageScreen.h"

#include <QPoint>
#include <array>

class TImage;
class TMsTimer;
class TSelector;

// STEP2: a colour dragged into the frame, shone for the chosen seconds or
// faded in or out, on the lamp and on the on-screen lamp at once.
class TStep2Screen : public TPageScreen {
    Q_OBJECT
public:
    TStep2Screen(TMainHost &host, QWidget *parent);

    // The colour code in the frame, 0 for none.
    int FrameCode() const { return m_frameCode; }
    int LastCode() const { return m_lastCode; }

    static QString NoColourMessage();
    static QString NoSecondsMessage();

private:
    void CreateControls();
    void CreateProgramFrame();
    void CreateSecondsChoice();
    void Image5DragDrop(const QString &controlName);
    void Image4Click(); // run
    void MsTimer1Timer();
    void RedrawFade();
    void FinishFade();

    TImage *Image5 = nullptr;   // the frame a colour is dropped into
    TSelector *Selector1 = nullptr;
    TImage *Image4 = nullptr;
    TImage *Image7 = nullptr;   // the lit lamp of the preview
    TImage *Image6 = nullptr;   // the fades are drawn here
    TImage *Image8 = nullptr;   // the unlit lamp the fades start from
    TMsTimer *MsTimer1 = nullptr;
    TDragController *m_drag = nullptr;

    int m_frameCode = 0;
    int m_lastCode = 0;
    int m_previewIndex = -1;
    LightFade m_fade;
    TABitmap m_fadeColour;   // the working copy of one fade
    TABitmap m_body;         // the unlit lamp, the fade's background
};
