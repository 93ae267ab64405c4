#include "Application.h"
#include "Classroom.h"
#include "InputSync.h"
#include "LoadProbe.h"
#include "MessageWindow.h"
#include "MainWindow.h"
#include "TransferProgressWindow.h"
#include "SettingsScreen.h"
#include "StationCommandGate.h"
#include "StationFinder.h"
#include "StationListener.h"
#include "StationOption.h"
#include "TeacherOption.h"
#include "WorkFolder.h"
#include "Step8Screen.h"

#include <QMessageBox>

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);

    TMainWindow mainWindow;
    TTransferProgressWindow progressWindow(mainWindow);
    mainWindow.AttachProgressWindow(&progressWindow);
    TSettingsScreen settingsScreen(mainWindow);
    TMessageWindow messageWindow(mainWindow);
    QObject::connect(&mainWindow, &TMainWindow::SettingsRequested, &settingsScreen, [&settingsScreen] { settingsScreen.exec(); });
    auto *network = qobject_cast<TStep8Screen *>(mainWindow.Page(TMainHost::PageStep8));
    QObject::connect(network, &TStep8Screen::MessageWindowRequested, &messageWindow, &TMessageWindow::ShowWindow);
    const TStationOption station = ReadStationOption(app.arguments());
    if (!station.address.isNull()) {
        network->SetStationAddress(station.address);
        messageWindow.SetStationAddress(station.address);
    }
    TClassroom classroom(mainWindow, *network, station.address, WorkFolder());

    if (TInputSync::Wanted())
        new TInputSync(&app);
    if (TLoadProbe::Wanted()) {
        new TLoadProbe(
            [network, &messageWindow] {
                const TStationListener &commands = network->Listener();
                const TStationListener &messages = messageWindow.Listener();
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
            &mainWindow);
    }

    mainWindow.show();
    mainWindow.StartKeepingWork(WorkFolder());
    if (const auto teacher = ReadTeacherOption(app.arguments()))
        classroom.ShowTeacherView(*teacher);
    if (!station.error.isEmpty())
        QMessageBox::warning(&mainWindow, QString(), station.error);
    return app.exec();
}
