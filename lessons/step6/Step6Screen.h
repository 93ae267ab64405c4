#pragma once

#include "PageScreen.h"

#include <array>

class TImage;
class TLengthChoice;
class TSoundPlayer;

// STEP6: a one-octave keyboard. A key plays its note on the computer to the
// end and then sends it to the lamp, which plays it at once.
class TStep6Screen : public TPageScreen {
    Q_OBJECT
public:
    static constexpr int KeyCount = 13;

    TStep6Screen(TMainHost &host, QWidget *parent);

    // The handler all keys share.
    void KeyPress(int keyIndex);
    int CurrentNoteCode() const { return m_noteCode; }

private:
    void CreateKeys();
    void FormCreate();

    std::array<TImage *, KeyCount> m_keys{};
    std::array<TImage *, KeyCount> m_noteNames{};
    TLengthChoice *m_lengths = nullptr;
    TSoundPlayer *m_player = nullptr;
    int m_noteCode = 16;
    bool m_playing = false;
};
