#pragma once

#include "ABitmap.h"
#include "PageScreen.h"
#include "TextCommand.h"

#include <array>
#include <optional>

class QGroupBox;
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
    void Image4Click(); // run
    void StartPreview();
    void MsTimer1Timer();
    void EndPreview();
    TTextCommand::Words Words() const;

    QLineEdit *Edit22 = nullptr;
    std::array<QLineEdit *, TTextCommand::ColourCount> m_words{}; // Edit23 ... Edit29
    QGroupBox *GroupBox1 = nullptr;
    TImage *Image4 = nullptr;  // run
    TImage *Image10 = nullptr; // fade
    TImage *Image11 = nullptr; // colour
    TImage *Image12 = nullptr; // base, hidden
    TMsTimer *MsTimer1 = nullptr;

    TTextCommand m_command;
    int m_opacity = 0;
    std::optional<TABitmap> m_blend; // the colour picture, during a fade only
};
