#pragma once

#include "MainHost.h"

#include <QList>
#include <QString>
#include <QStringList>

// A main window stand-in for screen tests: records every Transfer and
// SendExecute with the state it was called with.
class FakeHost : public TMainHost {
public:
    struct Sent {
        int mode;
        int directCode;
        QStringList program;
        QStringList light;
    };
    QList<Sent> transfers;
    QList<int> executes;
    QList<int> pagesShown;
    bool previousEnabled = false;
    bool nextEnabled = true;
    QString hint;
    bool busy = false;

    using TMainHost::SendExecute;
    using TMainHost::Transfer;
    void Transfer() override { transfers.append({TransferMode, DirectCode, ProgramList, LightList}); }
    bool SendExecute() override
    {
        executes.append(ExecuteCode);
        return true;
    }
    bool IsTransferring() const override { return busy; }
    void RunWhenIdle(std::function<void()> work) override { work(); }
    void ShowPage(int page) override { pagesShown.append(page); }
    void SetStepButtonsEnabled(bool previous, bool next) override
    {
        previousEnabled = previous;
        nextEnabled = next;
    }
    void SetHintAreaText(const QString &text) override { hint = text; }
    QString HintAreaText() const override { return hint; }
    Trs232c &SerialPort() override { throw std::logic_error("no serial port in this test"); }
};
