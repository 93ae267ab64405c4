#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Trs232c;

// What the main window shares with its screens. Screens hand work to one
// another only through these lists and fields, and reach the lamp only through
// Transfer and SendExecute; they never call each other.
class TMainHost {
public:
    virtual ~TMainHost() = default;

    // Page numbers of the page host.
    enum Page {
        PageStep1 = 0, PageStep2, PageStep3, PageStep4, PageStep5, PageStep6,
        PageStep7, PageStep8, PageStep9, PageStep10, PagePreview = 10, PageReport = 11,
    };
    // PageCode values of the preview and report, recording the page to return to.
    enum PageCodeValue {
        CodeReportFromStep5 = 10, CodeReportFromStep3 = 11,
        CodePreviewFromStep5 = 12, CodePreviewFromStep3 = 13,
    };

    QStringList ProgramList;     // decimal byte texts handed to Transfer
    QStringList LightList;       // light list of a light-and-sound program
    QStringList ExpandedList;    // the checked program, repeats unrolled, for the preview
    QStringList ReportTextList;  // program lines shown in the report
    QStringList ReportWordList;  // command words shown in the report
    int TransferMode = 0;        // 0 nothing, 1 direct light, 2 light program, 3 direct sound, 4 light and sound
    int DirectCode = 0;          // modes 1 and 3, low byte sent
    int ExecuteCode = 0;         // byte sent alone by SendExecute
    int PageCode = 0;            // visible page, or 10..13 for preview/report with their return page

    // The classroom network record (27 texts), kept for the run only.
    QStringList NetworkSettings = QStringList(27, QString());

    // Sends according to TransferMode; returns when the last byte and pause are done.
    virtual void Transfer() = 0;
    // Sends ExecuteCode alone; the result is the port's write result.
    virtual bool SendExecute() = 0;
    // True while a Transfer or SendExecute is on the wire. A second one asked
    // meanwhile by the user is ignored, so bytes never interleave.
    virtual bool IsTransferring() const = 0;
    // Runs `work` at once when the wire is idle, otherwise right after the
    // running transfer (commands that arrive from other stations use this).
    virtual void RunWhenIdle(std::function<void()> work) = 0;

    // Shows page n of the page host and runs its shown handler. For pages 0 to 9
    // the title picture follows; the preview and report leave it unchanged.
    virtual void ShowPage(int page) = 0;
    // Enables or disables the next-step and previous-step buttons.
    virtual void SetStepButtonsEnabled(bool previous, bool next) = 0;

    // The hint area under the page host.
    virtual void SetHintAreaText(const QString &text) = 0;
    virtual QString HintAreaText() const = 0;

    // The one serial port of the program.
    virtual Trs232c &SerialPort() = 0;
};
