// The main window's side of the lamp link: opening the port and the two
// sending operations every lesson uses.
#include "Unit1.h"

#include "PacedWait.h"
#include "rs232c.h"

void TForm1::OpenLampPort(const QString &name)
{
    const bool wasOpen = m_port->IsOpen();
    m_port->Close();
    // The pause lets a line that was just closed settle; nothing was open at
    // start-up, so the program does not make the teacher wait for nothing.
    if (wasOpen)
        PacedWait(400);
    m_port->portname = name;
    m_port->Open();
}

void TForm1::Transfer()
{
    // Being built.
}

bool TForm1::SendExecute()
{
    return false;
}
