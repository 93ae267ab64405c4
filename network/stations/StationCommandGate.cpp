#include "StationCommandGate.h"

#include "MainHost.h"

#include <QPointer>

TStationCommandGate::TStationCommandGate(TMainHost &host, QObject *parent)
    : QObject(parent)
    , m_host(host)
{
}

QString TStationCommandGate::RefusedText()
{
    return QStringLiteral("他の局から命令が続けて届いたため、ランプに送りきれない命令を受け取りませんでした。\n少し待ってから、もう一度送ってもらって下さい。");
}

bool TStationCommandGate::Submit(const TStationCommand &command)
{
    if (!m_host.IsTransferring()) {
        StationCommand::Run(m_host, command);
        return true;
    }
    if (m_waiting >= MaxWaiting) {
        ++m_refused;
        if (m_host.HintAreaText() != RefusedText())
            m_host.SetHintAreaText(RefusedText());
        return false;
    }
    ++m_waiting;
    m_host.RunWhenIdle([gate = QPointer<TStationCommandGate>(this), command] {
        // The page is gone with the program ending: nothing is left to light.
        if (!gate)
            return;
        --gate->m_waiting;
        StationCommand::Run(gate->m_host, command);
    });
    return true;
}
