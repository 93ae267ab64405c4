#pragma once

#include "MainHost.h"
#include "rs232c.h"

#include <QHostAddress>
#include <QList>
#include <QTcpServer>

// A main window stand-in that records what reaches the lamp and can play a
// transfer that is still on the wire.
class StationHost : public TMainHost {
public:
    struct Call {
        QString kind;   // "Transfer" or "SendExecute"
        int mode = 0;
        int direct = 0;
        int execute = 0;
        QStringList program;
    };

    using TMainHost::SendExecute;
    using TMainHost::Transfer;
    void Transfer() override { calls.append({QStringLiteral("Transfer"), TransferMode, DirectCode, 0, ProgramList}); }
    bool SendExecute() override
    {
        calls.append({QStringLiteral("SendExecute"), TransferMode, DirectCode, ExecuteCode, {}});
        return true;
    }
    bool IsTransferring() const override { return busy; }
    void RunWhenIdle(std::function<void()> work) override
    {
        if (busy)
            queued.append(std::move(work));
        else
            work();
    }
    void FinishTransfer()
    {
        busy = false;
        while (!queued.isEmpty())
            queued.takeFirst()();
    }
    void ShowPage(int) override {}
    void SetStepButtonsEnabled(bool, bool) override {}
    void SetHintAreaText(const QString &text) override { hint = text; }
    QString HintAreaText() const override { return hint; }
    Trs232c &SerialPort() override { return port; }

    QList<Call> calls;
    QList<std::function<void()>> queued;
    bool busy = false;
    QString hint;
    Trs232c port;
};

// A port on loopback that nobody listens on right now.
inline quint16 FreeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
