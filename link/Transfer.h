#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class TMainHost;
class TTransferProgress;
class Trs232c;

// Frames and paces what the lamp receives: a direct command, a light program
// or a light-and-sound program (by the host's TransferMode), or one execute
// byte. Nothing comes back from the lamp, so every byte is followed by a fixed
// pause that gives it time instead.
class TLampTransfer {
public:
    TLampTransfer(TMainHost &host, Trs232c &port, TTransferProgress &progress);

    // Sends according to the host's state; returns when the last byte and
    // pause are done. A malformed list sends nothing and says so in the hint
    // area. Returns true when every byte reached the device.
    bool Run();
    // Sends the host's ExecuteCode alone; the port's write result.
    bool RunExecute();
    // Why the lamp got nothing or not all of it, as the hint area says it;
    // "" when everything arrived.
    const QString &Problem() const { return m_said; }

    // 100 divided by `entries`, rounded to the nearest integer, a half to the
    // even neighbour (40 entries give 2).
    static int StepFor(int entries);
    // "" when the lists of `mode` can be sent, else the hint-area text.
    static QString CheckLists(int mode, const QStringList &program, const QStringList &light);
    // The byte a list entry stands for: the low 8 bits of its decimal value.
    static bool EntryByte(const QString &entry, quint8 *byte);

    // Fixed pauses of the protocol, ms.
    static constexpr int ShortPause = 40;     // after each byte of modes 1 to 3
    static constexpr int SoundPause = 100;    // after each byte of mode 4
    static constexpr int BlockPause = 300;    // before each separator 5 and after the light list
    static constexpr int EndPause = 200;      // on both sides of the end byte 10

private:
    // Opens the port again when it is closed; false (with the reason in the
    // hint area) when it still cannot be opened.
    bool EnsureOpen();
    // Why nothing reached the lamp, kept in the hint area and the progress window.
    void SayNothingSent();
    // One byte to the port; when the very first byte fails, the port is
    // opened again once and the byte written again.
    bool Write(quint8 byte);
    void Say(const QString &problem);
    void Send(quint8 byte);
    void Advance();
    void SendLightProgram(const QByteArray &program);
    void SendLightAndSound(const QByteArray &sounds, const QByteArray &lights);
    void EndSequence(quint8 closing);
    void ReportResult(bool reached);

    TMainHost &m_host;
    Trs232c &m_port;
    TTransferProgress &m_progress;
    QString m_problem;
    QString m_lost; // set once the lamp stops taking bytes part-way
    QString m_said;
    bool m_allWritten = true;
    bool m_started = false;  // a byte has been written
    bool m_reopened = false; // the port was opened again for the first byte
    int m_step = 0;
    int m_position = 0;
};
