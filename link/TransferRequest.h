#pragma once

#include <QStringList>

class TMainHost;

// What a screen asks the lamp to receive, said by name instead of by mode
// number. The host keeps its shared state (TransferMode, DirectCode,
// ProgramList, LightList) as the transfer routine reads it; a request fills
// only the parts its mode reads, so a direct command leaves the program that
// an execute button looks at where it was.
//
// Usage:
//   Host().Transfer(TTransferRequest::DirectLight(178));
//   Host().Transfer(TTransferRequest::LightProgram(LampCode::PadLightProgram({162, 178})));
//   Host().Transfer(TTransferRequest::LightAndSound(sounds, lights)); // lights may be empty
class TTransferRequest {
public:
    // One light step lit at once (mode byte, then the step code).
    static TTransferRequest DirectLight(int stepCode);
    // One note played at once.
    static TTransferRequest DirectSound(int noteCode);
    // A program of 20 decimal step texts that the lamp stores.
    static TTransferRequest LightProgram(const QStringList &program);
    // A sound list of note texts, with the light list of the key colours or
    // none; the lamp stores it.
    static TTransferRequest LightAndSound(const QStringList &sounds, const QStringList &lights);

    // Writes TransferMode and what that mode reads into the host's state.
    void FillHost(TMainHost &host) const;

private:
    explicit TTransferRequest(int mode) : m_mode(mode) {}

    int m_mode;
    int m_direct = 0;
    QStringList m_program;
    QStringList m_lights;
};
