#pragma once

#include "PageScreen.h"
#include "ReportText.h"

#include <functional>
#include <memory>

class QPrinter;
class QTextEdit;
class TImage;

// The report of a STEP3 or STEP5 program: the pupil completes the text and
// prints it or saves it as an HTML page.
class TReportScreen : public TPageScreen {
    Q_OBJECT
public:
    TReportScreen(TMainHost &host, QWidget *parent);
    ~TReportScreen() override;

    void FormShow() override;

    void PrintReport();
    void SaveAsHtml();
    void ReturnToEditor();

    // The report text, one entry a line.
    QStringList ReportLines() const;

    // Chooses the file name for the HTML export ("" = cancelled); a save dialog by default.
    void SetSaveNameChooser(std::function<QString()> chooser) { m_chooseName = std::move(chooser); }
    // Asks for the printer; returns false when the pupil cancels. A print dialog by default.
    void SetPrinterChooser(std::function<bool(QPrinter &)> chooser) { m_choosePrinter = std::move(chooser); }

private:
    void ApplyFontSetting();
    void ShowLines(const QList<TReportLine> &lines);

    QTextEdit *m_reportText = nullptr;
    TImage *m_backButton = nullptr;
    TImage *m_htmlButton = nullptr;
    TImage *m_printButton = nullptr;
    std::function<QString()> m_chooseName;
    std::function<bool(QPrinter &)> m_choosePrinter;
    // What the current text was built from; the same program coming back keeps
    // what the pupil already typed.
    QList<TReportLine> m_builtFrom;
};
