#pragma once

#include <QString>

// What a transfer shows while it runs: the progress window in the program,
// a recorder in the tests.
class TTransferProgress {
public:
    virtual ~TTransferProgress() = default;
    // Shown with the bar at 0. `problem` is "" when the port is open,
    // otherwise why nothing reaches the lamp.
    virtual void BeginTransfer(const QString &problem) = 0;
    // 0 to 100.
    virtual void SetPosition(int position) = 0;
    // Hides the bar and closes the window.
    virtual void EndTransfer() = 0;
    // The lamp stopped taking bytes part-way; the transfer runs on to its end.
    virtual void ShowProblem(const QString &problem) { static_cast<void>(problem); }
};
