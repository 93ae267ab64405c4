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
    void DropColour(const QString &controlName);
    void Run();
    void AdvancePreview();
    void RedrawFade();
    void FinishFade();

    TImage *m_programFrame = nullptr; // a colour is dropped into it
    TSelector *m_secondsSelector = nullptr;
    TImage *m_runButton = nullptr;
    TImage *m_litLamp = nullptr;
    TImage *m_fadeLamp = nullptr;
    TImage *m_unlitLamp = nullptr; // the fades start from it
    TMsTimer *m_previewTimer = nullptr;
    TDragController *m_drag = nullptr;

    int m_frameCode = 0;
    int m_lastCode = 0;
    int m_previewIndex = -1;
    LightFade m_fade;
    TABitmap m_fadeColour;   // the working copy of one fade
    TABitmap m_body;         // the unlit lamp, the fade's background
};
