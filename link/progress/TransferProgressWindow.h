#pragma once

#include "TransferProgress.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class TImage;
class TMainHost;
class TMsTimer;
class TTransferProgressBar;

// The transfer progress window: shown while a program goes to the lamp.
class TTransferProgressWindow : public QWidget, public TTransferProgress {
    Q_OBJECT
public:
    // How long the window stays after a transfer that did not reach the lamp, ms.
    static constexpr int ProblemShownMs = 5000;

    explicit TTransferProgressWindow(TMainHost &host, QWidget *parent = nullptr);
    ~TTransferProgressWindow() override;

    // TTransferProgress
    void BeginTransfer(const QString &problem) override;
    void SetPosition(int position) override;
    void EndTransfer() override;
    void ShowProblem(const QString &problem) override;

    int Position() const;
    // The blinking runs while PageCode is 6.
    void BlinkWaitingPicture();

protected:
    // A click closes a window left up to show why the lamp got nothing.
    void mousePressEvent(QMouseEvent *event) override;

private:
    void CloseIfLingering();

    TMainHost &m_host;
    QTimer m_closeLater;
    TImage *m_background = nullptr;
    TImage *m_waitingPicture = nullptr;
    TTransferProgressBar *m_progressBar = nullptr;
    QLabel *m_problemLabel = nullptr; // why nothing reaches the lamp
    TMsTimer *m_blinkTimer = nullptr;
};
