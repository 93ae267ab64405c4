#include "Application.h"
#include "InputSync.h"
#include "LoadProbe.h"
#include "Net_Message.h"
#include "Unit1.h"
#include "Unit13.h"
#include "Unit15.h"
#include "StationCommandGate.h"
#include "StationFinder.h"
#include "StationListener.h"
#include "StationOption.h"
#include "WorkFolder.h"
#include "network.h"

#include <QMessageBox>

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);

    TForm1 form1;
    TForm13 form13(form1);
    form1.AttachProgressWindow(&form13);
    TForm15 form15(form1);
    TForm16 form16(form1);
    QObject::connect(&form1, &TForm1::SettingsRequested, &form15, [&form15] { form15.exec(); });
    auto *network = qobject_cast<TForm14 *>(form1.Page(TMainHost::PageStep8));
    QObject::connect(network, &TForm14::MessageWindowRequested, &form16, &TForm16::ShowWindow);
    const TStationOption station = ReadStationOption(app.arguments());
    if (!station.address.isNull()) {
        network->SetStationAddress(station.address);
        form16.SetStationAddress(station.address);
    }

    if (TInputSync::Wanted())
        new TInputSync(&app);
    if (TLoadProbe::Wanted()) {
        new TLoadProbe(
            [network, &form16] {
                const TStationListener &commands = network->Listener();
                const TStationListener &messages = form16.Listener();
                return QStringLiteral("commands=%1 commands-dropped=%2 messages=%3 messages-dropped=%4 connections=%5 refused=%6 "
                                      "capped=%7 finder-answered=%8 finder-ignored=%9")
                    .arg(commands.ReceivedCount())
                    .arg(commands.DroppedCount())
                    .arg(messages.ReceivedCount())
                    .arg(messages.DroppedCount())
                    .arg(commands.ConnectionCount() + messages.ConnectionCount())
                    .arg(network->CommandGate().RefusedCount())
                    .arg(commands.CappedCount() + messages.CappedCount())
                    .arg(network->Finder().AnsweredCount())
                    .arg(network->Finder().IgnoredCount());
            },
            &form1);
    }

    form1.show();
    form1.StartKeepingWork(WorkFolder());
    if (!station.error.isEmpty())
        QMessageBox::warning(&form1, QString(), station.error);
    return app.exec();
}
