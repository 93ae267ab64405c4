// The main window's side of the lamp link: opening the port and the two
// sending operations every lesson uses.
#include "MainWindow.h"

#include "EditorSettings.h"
#include "IniFile.h"
#include "PacedWait.h"
#include "Transfer.h"
#include "TransferProgress.h"
#include "TransferProgressWindow.h"
#include "WorkFolder.h"
#include "rs232c.h"

namespace {

// Used until the progress window is attached (and by tests without one).
class TNoProgress : public TTransferProgress {
public:
    void BeginTransfer(const QString &) override {}
    void SetPosition(int) override {}
    void EndTransfer() override {}
};

// Marks the wire busy for one transfer and sends what was queued meanwhile.
class TWireBusy {
public:
    explicit TWireBusy(bool &flag) : m_flag(flag) { m_flag = true; }
    ~TWireBusy() { m_flag = false; }
    TWireBusy(const TWireBusy &) = delete;
    TWireBusy &operator=(const TWireBusy &) = delete;

private:
    bool &m_flag;
};

} // namespace

void TMainWindow::OpenPortFromSettings()
{
    if (m_portChosen)
        return;
    const TIniFile ini(WorkFolder() + SettingsKeys::FileName);
    OpenLampPort(PortNameFor(ini.ReadInteger(SettingsKeys::ComportSection, SettingsKeys::ComportName,
                                             SettingsKeys::DefaultComport),
                             m_port->portname));
}

void TMainWindow::OpenLampPort(const QString &name)
{
    m_portChosen = true;
    // The lamp expects DTR and RTS raised while the line is open, and lowered
    // (DTR first) before the device is let go.
    m_port->OnOpen = [](Trs232c *port) {
        port->SetDTR(true);
        port->SetRTS(true);
    };
    m_port->OnClose = [](Trs232c *port) {
        port->SetDTR(false);
        port->SetRTS(false);
    };
    const bool wasOpen = m_port->IsOpen();
    m_port->Close();
    // The pause lets a line that was just closed settle; nothing was open at
    // start-up, so the program does not make the teacher wait for nothing.
    if (wasOpen)
        PacedWait(400);
    m_port->portname = name;
    m_port->Open();
}

void TMainWindow::Transfer()
{
    // A second transfer asked while one runs would interleave its bytes with
    // the first on the wire; the lamp would store garbage.
    if (m_transferring)
        return;
    m_hintHeld = QDeadlineTimer();
    TNoProgress none;
    TTransferProgress &progress = m_progress ? static_cast<TTransferProgress &>(*m_progress) : none;
    QString problem;
    {
        TWireBusy busy(m_transferring);
        TLampTransfer transfer(*this, SerialPort(), progress);
        transfer.Run();
        problem = transfer.Problem();
    }
    if (!problem.isEmpty())
        HoldHintAreaText(problem);
    RunQueued();
}

bool TMainWindow::SendExecute()
{
    if (m_transferring)
        return false;
    m_hintHeld = QDeadlineTimer();
    TNoProgress none;
    bool written = false;
    QString problem;
    {
        TWireBusy busy(m_transferring);
        TLampTransfer transfer(*this, SerialPort(), none);
        written = transfer.RunExecute();
        problem = transfer.Problem();
    }
    if (!problem.isEmpty())
        HoldHintAreaText(problem);
    RunQueued();
    return written;
}
