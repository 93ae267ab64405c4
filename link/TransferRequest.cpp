#include "TransferRequest.h"

#include "CommandCodes.h"
#include "MainHost.h"

TTransferRequest TTransferRequest::DirectLight(int stepCode)
{
    TTransferRequest request(LampCode::ModeDirectLight);
    request.m_direct = stepCode;
    return request;
}

TTransferRequest TTransferRequest::DirectSound(int noteCode)
{
    TTransferRequest request(LampCode::ModeDirectSound);
    request.m_direct = noteCode;
    return request;
}

TTransferRequest TTransferRequest::LightProgram(const QStringList &program)
{
    TTransferRequest request(LampCode::ModeLightProgram);
    request.m_program = program;
    return request;
}

TTransferRequest TTransferRequest::LightAndSound(const QStringList &sounds, const QStringList &lights)
{
    TTransferRequest request(LampCode::ModeSoundList);
    request.m_program = sounds;
    request.m_lights = lights;
    return request;
}

void TTransferRequest::FillHost(TMainHost &host) const
{
    host.TransferMode = m_mode;
    switch (m_mode) {
    case LampCode::ModeDirectLight:
    case LampCode::ModeDirectSound:
        host.DirectCode = m_direct;
        break;
    case LampCode::ModeLightProgram:
        host.ProgramList = m_program;
        break;
    case LampCode::ModeSoundList:
        host.LightList = m_lights;
        host.ProgramList = m_program;
        break;
    }
}

// The host's request-taking operations live here, beside the request they
// unpack, so the host's header needs only its name.
void TMainHost::Transfer(const TTransferRequest &request)
{
    request.FillHost(*this);
    Transfer();
}

void TMainHost::TransferKeepingPrepared(const TTransferRequest &request)
{
    const int mode = TransferMode;
    const int direct = DirectCode;
    Transfer(request);
    TransferMode = mode;
    DirectCode = direct;
}
