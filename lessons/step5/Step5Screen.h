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
    void Image13Click();  // read
    void Image19Click();  // save
    void Image12Click();  // check
    void Image17Click();  // preview
    void Image14Click();  // transfer
    void Image15Click();  // execute
    void Image18Click();  // report
    // Fills the words and the editor from the lines of a STEP5 record.
    void SonEdit1Change();

    TSonEdit *SonEdit1 = nullptr;
    TImage *Image13 = nullptr;
    TImage *Image19 = nullptr;
    TImage *Image12 = nullptr;
    TImage *Image17 = nullptr;
    TImage *Image14 = nullptr;
    TImage *Image15 = nullptr;
    TImage *Image18 = nullptr;
    // The command pictures beside the word boxes, and the repeat heading.
    QList<TImage *> m_wordPictures;
    TImage *Image11 = nullptr;
    QList<QLineEdit *> m_wordBoxes;   // Edit23 .. Edit33
    TProgramFile m_files;
};
