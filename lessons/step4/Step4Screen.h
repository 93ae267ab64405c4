#pragma once

#include "ABitmap.h"
#include "PageScreen.h"
#include "TextCommand.h"

#include <array>
#include <optional>

class QLineEdit;
class TImage;
class TMsTimer;

// STEP4: the one-line text exercise. The pupil types one command such as
// red(1); the lamp lights at once and the screen previews it.
class TStep4Screen : public TPageScreen {
    Q_OBJECT
public:
    TStep4Screen(TMainHost &host, QWidget *parent);

    bool IsPreviewing() const;
    int Opacity() const { return m_opacity; }

    // The preview picture of each colour, in colour-number order.
    static QString PreviewPicture(int colour);

private:
    void CreateControls();
    void Run();
    void StartPreview();
    void AdvancePreview();
    void EndPreview();
    TTextCommand::Words Words() const;

    QLineEdit *m_programLine = nullptr;
    std::array<QLineEdit *, TTextCommand::ColourCount> m_words{}; // each colour's word, which the pupil may change
    TImage *m_runButton = nullptr;
    TImage *m_fadeLamp = nullptr;
    TImage *m_litLamp = nullptr;
    TImage *m_unlitLamp = nullptr; // never shown: the fades start from it
    TMsTimer *m_previewTimer = nullptr;

    TTextCommand m_command;
    int m_opacity = 0;
    std::optional<TABitmap> m_blend; // the colour picture, during a fade only
};
