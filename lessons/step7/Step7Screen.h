#pragma once

#include "MelodyProgram.h"
#include "MelodyText.h"
#include "PageScreen.h"
#include "ProgramFile.h"
#include "Step7Record.h"

#include <array>

class QFrame;
class QLabel;
class QRadioButton;
class TDragController;
class TImage;
class TLengthChoice;
class TNoteStaff;
class TSoundPlayer;

// STEP7: a melody of up to 79 notes on a 14-key keyboard, optionally with a
// lamp colour per key, played on the computer, saved, and sent to the lamp
// as a light-and-sound program.
class TStep7Screen : public TPageScreen {
    Q_OBJECT
public:
    static constexpr int KeyCount = MelodyProgram::KeyCount;

    TStep7Screen(TMainHost &host, QWidget *parent);
    ~TStep7Screen() override;

    void KeyPress(int keyNumber);   // add a note
    void Play();
    void DeleteOne();   // the note before the cursor
    void DeleteAll();
    void Transfer();
    void Run();
    void Read();
    void Save();
    void ChangeColours();   // shows the colour palette page
    void BackToNotes();     // from the palette page to the notes page
    void StaffClick(int position);

    // Switches LED mode as the LED mode choice does.
    void SetLedMode(bool on);
    bool LedMode() const { return m_ledMode; }
    // A colour dropped from palette control `paletteIndex` (0..7) on a key.
    void DropColour(int keyNumber, int paletteIndex);

    const TMelodyText &Melody() const { return m_melody; }
    const MelodyProgram::KeyColours &KeyColours() const { return m_colours; }
    bool PalettePageShown() const;

    // The lines of the STEP7 record of what the screen holds.
    QStringList RecordLines() const;
    // Fills the screen from a whole STEP7 record, as a read of its file
    // does: the melody, and the light with the key colours, or no light.
    void ApplyRecord(const TStep7Record &record);

    // The dialogs of the read and save buttons (tests answer them).
    TProgramFile &ProgramFile() { return m_files; }

    QString KeptLessonName() const override;
    QStringList KeptRecordLines() const override;
    void RestoreKeptRecord(const QStringList &lines) override;

private:
    void CreateControls();
    void CreateNotesPage();
    void CreateMarkers();
    void CreatePalettePage();
    void CreateKeys();
    void CreateLedChoice();
    void FormCreate();
    bool RegisterNoteFont();
    void LoadKeyPicture(int keyIndex);
    void LoadKeyPictures();
    void ShowNotes();
    void ShowCount();
    void RefreshMarkers();
    void SetMarkerRowsVisible(bool visible);
    void ShowNotesPage();
    void SetTabOrder();
    // Whether a control of this page has the window's keyboard.
    bool HasKeyboard() const;
    void ShowPalettePage();
    // Input that would send or change the lists waits for a transfer to end.
    bool Busy() const;

    TMelodyText m_melody;
    MelodyProgram::KeyColours m_colours{};
    bool m_ledMode = false;
    bool m_playing = false;
    int m_noteCode = 16;
    QStringList m_fileLines;
    int m_fontId = -1;

    std::array<TImage *, KeyCount> m_keys{};
    std::array<TImage *, 8> m_palette{};
    std::array<QWidget *, 3> m_markerRows{};
    std::array<QFrame *, TMelodyText::Capacity> m_markers{};
    TLengthChoice *m_lengths = nullptr;
    QRadioButton *m_ledOn = nullptr;
    QRadioButton *m_ledOff = nullptr;
    QWidget *m_notesPage = nullptr;
    QWidget *m_palettePage = nullptr;
    TNoteStaff *m_staff = nullptr;
    QWidget *m_clef = nullptr;
    QLabel *m_count = nullptr;
    TImage *m_changeColours = nullptr;
    TSoundPlayer *m_player = nullptr;
    TDragController *m_drag = nullptr;
    TProgramFile m_files;
};
