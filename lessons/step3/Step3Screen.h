#pragma once

#include "BlockProgram.h"
#include "DragController.h"
#include "PageScreen.h"
#include "Step3Record.h"

#include <QStringList>
#include <array>
#include <memory>

class TImage;
class TProgramFile;
class TSelector;

// STEP3: the block program editor. Blocks dragged from the palette into 20
// slots make a light program; the buttons check, transfer, run, preview,
// report, save and read it.
class TStep3Screen : public TPageScreen {
    Q_OBJECT
public:
    TStep3Screen(TMainHost &host, QWidget *parent);
    ~TStep3Screen() override;

    // What each slot holds: block kind and selector index.
    TBlockSlots Slots() const;
    // Fills the slots from a whole STEP3 record, as a read of its file does.
    // A block kind outside the palette leaves its slot without picture.
    void ApplyRecord(const TStep3Record &record);
    int ErrorFlag() const { return m_errorFlag; }
    // The save and read dialogs of this screen (tests choose names through it).
    TProgramFile &ProgramFile() { return *m_file; }

    QString KeptLessonName() const override;
    QStringList KeptRecordLines() const override;
    void RestoreKeptRecord(const QStringList &lines) override;

private:
    struct TPaletteBlock {
        TImage *image = nullptr;
        int kind = 0;               // the block kind it drops, or DeleteBlock
    };

    void CreateControls();
    void CreatePalette();
    void CreateSlots();
    void SlotDragDrop(int n, const QString &blockName);
    // Leaves slot n as a drop of `kind` would, except for the item index.
    void ShowBlock(int n, int kind);
    void EmptySlot(int n);
    // Says what slot n holds to assistive technology, after every change.
    void NameSlot(int n);
    void EmptyAllSlots();
    // The pre-check and the build; fills the shared lists and shows every
    // message. Returns the build for the buttons to act on.
    TBlockBuild CheckAndBuild();
    // Checks and builds; false (the pupil told why) when there is nothing usable to send or preview.
    bool BuildUsableProgram();
    void Read();
    void Save();
    void ClearAll();
    void Preview();
    void Transfer();
    void Run();
    void Report();

    TImage *&SlotImage(int n) { return m_slotImages[static_cast<size_t>(n - 1)]; }
    TSelector *&SlotSelector(int n) { return m_selectors[static_cast<size_t>(n - 1)]; }
    int &SlotKind(int n) { return m_kinds[static_cast<size_t>(n - 1)]; }

    TImage *m_readButton = nullptr;
    TImage *m_saveButton = nullptr;
    TImage *m_clearButton = nullptr;
    TImage *m_previewButton = nullptr;
    TImage *m_transferButton = nullptr;
    TImage *m_runButton = nullptr;
    TImage *m_reportButton = nullptr;
    TImage *m_colourHeading = nullptr;
    TImage *m_repeatHeading = nullptr;
    TImage *m_slotPanel = nullptr;   // the program palette behind the slots
    std::array<TPaletteBlock, 12> m_palette{};
    std::array<TImage *, BlockSlotCount> m_slotImages{};
    std::array<TSelector *, BlockSlotCount> m_selectors{};
    std::array<int, BlockSlotCount> m_kinds{};   // the block kinds, the slot pictures' tags
    TDragController *m_drag = nullptr;
    int m_errorFlag = 0;
    QStringList m_fileLines;
    std::unique_ptr<TProgramFile> m_file;
};
