#include "StationCommand.h"
#include "StationCommandGate.h"
#include "StationHost.h"

#include <QTest>
#include <memory>

namespace {
TStationCommand Direct(int code)
{
    return *StationCommand::Parse(QString::number(code));
}
} // namespace

class TestNetloadGate : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aFloodWaitsOnlyUpToTheCapInOrder()
    {
        StationHost host;
        TStationCommandGate gate(host, nullptr);
        host.busy = true;
        int accepted = 0;
        for (int i = 0; i < TStationCommandGate::MaxWaiting + 5; ++i)
            accepted += gate.Submit(Direct(160 + i)) ? 1 : 0;
        QCOMPARE(accepted, TStationCommandGate::MaxWaiting);
        QCOMPARE(gate.RefusedCount(), 5);
        QCOMPARE(host.hint, TStationCommandGate::RefusedText());
        QVERIFY(host.calls.isEmpty());

        host.FinishTransfer();
        QCOMPARE(host.calls.size(), TStationCommandGate::MaxWaiting);
        for (int i = 0; i < host.calls.size(); ++i)
            QCOMPARE(host.calls[i].direct, 160 + i);
        QCOMPARE(gate.Waiting(), 0);

        // Room again once the lamp has caught up.
        host.busy = true;
        QVERIFY(gate.Submit(Direct(200)));
        host.FinishTransfer();
        QCOMPARE(host.calls.last().direct, 200);
    }

    void aFreeLampTakesTheCommandAtOnce()
    {
        StationHost host;
        TStationCommandGate gate(host, nullptr);
        for (int i = 0; i < 3 * TStationCommandGate::MaxWaiting; ++i)
            QVERIFY(gate.Submit(Direct(161)));
        QCOMPARE(host.calls.size(), 3 * TStationCommandGate::MaxWaiting);
        QVERIFY(host.hint.isEmpty());
    }

    void commandsWaitingWhenThePageGoesAreDropped()
    {
        StationHost host;
        auto gate = std::make_unique<TStationCommandGate>(host, nullptr);
        host.busy = true;
        QVERIFY(gate->Submit(Direct(170)));
        gate.reset();
        host.FinishTransfer();
        QVERIFY(host.calls.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestNetloadGate)
#include "test_netload_gate.moc"
