#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class TTransferRequest;
class Trs232c;
namespace LampCode {
enum Execute : int; // CommandCodes.h
}

// What the main window shares with its screens. Screens hand work to one
// another only through these lists and fields, and reach the lamp only through
// Transfer and SendExecute; they never call each other.
//
// A screen says what it wants and the host's state is filled from that:
//   Host().Transfer(TTransferRequest::LightProgram(program));
//   Host().SendExecute(LampCode::RunLightProgram);
//   Host().OpenOver(TMainHost::PagePreview, TMainHost::PageStep3);
//   ... and the preview or report goes back with Host().ReturnToLesson().
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
    // The preview and report are entered only from STEP3 and STEP5; their
    // PageCode names both the page shown and the lesson to go back to.
    struct OverLesson {
        int code;
        Page shown;
        Page returnTo;
    };
    static constexpr OverLesson OverLessonPages[] = {
        {CodeReportFromStep5, PageReport, PageStep5},
        {CodeReportFromStep3, PageReport, PageStep3},
        {CodePreviewFromStep5, PagePreview, PageStep5},
        {CodePreviewFromStep3, PagePreview, PageStep3},
    };

    QStringList ProgramList;     // decimal byte texts handed to Transfer
    QStringList LightList;       // light list of a light-and-sound program
    QStringList ExpandedList;    // the checked program, repeats unrolled, for the preview
    QStringList ReportTextList;  // program lines shown in the report
    QStringList ReportWordList;  // command words shown in the report
    // Filled by TTransferRequest::FillHost and SendExecute(code), read by the transfer routine.
    int TransferMode = 0;        // 0 nothing prepared, else LampCode::ModeDirectLight .. ModeSoundList
    int DirectCode = 0;          // modes 1 and 3, low byte sent
    int ExecuteCode = 0;         // byte sent alone by SendExecute
    int PageCode = 0;            // visible page, or an OverLessonPages code for the preview and report

    // The classroom network record (27 texts), kept for the run only.
    QStringList NetworkSettings = QStringList(27, QString());

    // Sends according to TransferMode; returns when the last byte and pause are done.
    virtual void Transfer() = 0;
    // Sends ExecuteCode alone; the result is the port's write result.
    virtual bool SendExecute() = 0;

    // Fills the state from `request` and sends it (TransferRequest.cpp).
    void Transfer(const TTransferRequest &request);
    // Sends a direct command and puts back the transfer a lesson had prepared,
    // so an execute afterwards runs, or is refused, as it would have been.
    // (A direct command leaves the lists alone; only mode and code come back.)
    void TransferKeepingPrepared(const TTransferRequest &request);
    // Puts `code` in ExecuteCode and sends it alone.
    bool SendExecute(LampCode::Execute code)
    {
        ExecuteCode = code;
        return SendExecute();
    }
    // Whether a transfer was asked since the last lesson change.
    bool TransferPrepared() const { return TransferMode != 0; }
    // A lesson change: an execute on the new page needs a new transfer first.
    void ForgetPreparedTransfer()
    {
        ProgramList.clear();
        TransferMode = 0;
    }
    // True while a Transfer or SendExecute is on the wire. A second one asked
    // meanwhile by the user is ignored, so bytes never interleave.
    virtual bool IsTransferring() const = 0;
    // Runs `work` at once when the wire is idle, otherwise right after the
    // running transfer (commands that arrive from other stations use this).
    virtual void RunWhenIdle(std::function<void()> work) = 0;

    // Shows page n of the page host and runs its shown handler. For pages 0 to 9
    // the title picture follows; the preview and report leave it unchanged.
    virtual void ShowPage(int page) = 0;

    // Shows the preview or report over the lesson `returnTo` (STEP3 or STEP5);
    // the step buttons stay off until ReturnToLesson.
    void OpenOver(Page shown, Page returnTo);
    // The lesson the preview or report was opened over; -1 on a lesson page.
    int ReturnPage() const;
    // Leaves the preview or report for the lesson it was opened over, both
    // step buttons on again.
    void ReturnToLesson();
    // Enables or disables the next-step and previous-step buttons.
    virtual void SetStepButtonsEnabled(bool previous, bool next) = 0;

    // The hint area under the page host.
    virtual void SetHintAreaText(const QString &text) = 0;
    virtual QString HintAreaText() const = 0;
    // Says `text` to a screen reader (a change the pupil must hear of that
    // does not move the keyboard: a result, a connection state). What is
    // written to the hint area on purpose is said already.
    virtual void Announce(const QString &) {}

    // The one serial port of the program.
    virtual Trs232c &SerialPort() = 0;
};
