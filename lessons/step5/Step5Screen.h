#pragma once

#include "PageScreen.h"
#include "ProgramFile.h"
#include "Step5Record.h"

#include <QStringList>

class QLineEdit;
class TImage;
class TSonEdit;

// STEP5: light programs written as text, in a language whose command words
// the teacher can change in the boxes beside the command pictures.
class TStep5Screen : public TPageScreen {
    Q_OBJECT
public:
    TStep5Screen(TMainHost &host, QWidget *parent);

    void FormShow() override;

    // The texts of the eleven word boxes, red to wait.
    QStringList CommandWords() const;
    // Fills the word boxes and the editor from a whole STEP5 record, as a
    // read of its file does; the checked program is gone with the old text.
    void ApplyRecord(const TStep5Record &record);

    // The dialogs of the read and save buttons (tests answer them).
    TProgramFile &ProgramFile() { return m_files; }

    QString KeptLessonName() const override;
    QStringList KeptRecordLines() const override;
    void RestoreKeptRecord(const QStringList &lines) override;

    static QString NotCheckedMessage();
    static QString CheckOkMessage();

private:
    void CreateControls();
    void CreateWordBoxes();
    void ApplyEditorSettings();
    void Read();
    void Save();
    void Check();
    void Preview();
    void Transfer();
    void Run();
    void Report();
    // An edited text has to be checked again before it is sent.
    void ProgramTextChanged();

    TSonEdit *m_editor = nullptr;
    TImage *m_readButton = nullptr;
    TImage *m_saveButton = nullptr;
    TImage *m_checkButton = nullptr;
    TImage *m_previewButton = nullptr;
    TImage *m_transferButton = nullptr;
    TImage *m_runButton = nullptr;
    TImage *m_reportButton = nullptr;
    // The command pictures beside the word boxes, and the repeat heading.
    QList<TImage *> m_wordPictures;
    TImage *m_repeatHeading = nullptr;
    QList<QLineEdit *> m_wordBoxes;   // red to wait, as CommandWords()
    TProgramFile m_files;
};
