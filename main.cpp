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
#include "StartupTrace.h"
#include "StationOption.h"
#include "TeacherOption.h"
#include "WorkFolder.h"
#include "Step8Screen.h"

#include <QMessageBox>
#include <memory>

namespace {

// What the first screen does not show: the separate windows and the network
// page, whose listeners answer the other stations from the first moments of
// the run. Made once the main window is up, so the pupil sees it sooner; the
// settings screen waits for its first opening.
struct TBehindTheWindow {
    std::unique_ptr<TTransferProgressWindow> progress;
    std::unique_ptr<TMessageWindow> messages;
    std::unique_ptr<TClassroom> classroom;
    std::unique_ptr<TSettingsScreen> settings;
    std::unique_ptr<TLoadProbe> probe;
    TStep8Screen *network = nullptr;
};

void SetUpBehindTheWindow(TBehindTheWindow &behind, TMainWindow &mainWindow, const TStationOption &station)
{
    behind.progress = std::make_unique<TTransferProgressWindow>(mainWindow);
    mainWindow.AttachProgressWindow(behind.progress.get());
    behind.messages = std::make_unique<TMessageWindow>(mainWindow);
    TMessageWindow &messageWindow = *behind.messages;
    auto *network = qobject_cast<TStep8Screen *>(mainWindow.Page(TMainHost::PageStep8));
    behind.network = network;
    QObject::connect(network, &TStep8Screen::MessageWindowRequested, &messageWindow, &TMessageWindow::ShowWindow);
    if (!station.address.isNull()) {
        network->SetStationAddress(station.address);
        messageWindow.SetStationAddress(station.address);
    }
    behind.classroom = std::make_unique<TClassroom>(mainWindow, *network, station.address, WorkFolder());
    if (!TLoadProbe::Wanted())
        return;
    behind.probe = std::make_unique<TLoadProbe>(
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
        nullptr);
}

} // namespace

int main(int argc, char *argv[])
{
    const auto trace = TStartupTrace::Wanted() ? std::make_unique<TStartupTrace>() : nullptr;
    TApplication app(argc, argv);
    if (trace)
        trace->Note(QStringLiteral("application"));

    TMainWindow mainWindow;
    if (trace)
        trace->Note(QStringLiteral("main-window"));
    const TStationOption station = ReadStationOption(app.arguments());
    TBehindTheWindow behind;
    QObject::connect(&mainWindow, &TMainWindow::SettingsRequested, &mainWindow, [&behind, &mainWindow] {
        if (!behind.settings)
            behind.settings = std::make_unique<TSettingsScreen>(mainWindow);
        behind.settings->exec();
    });
    const auto teacher = ReadTeacherOption(app.arguments());
    QObject::connect(&mainWindow, &TMainWindow::FirstPainted, &mainWindow, [&behind, &mainWindow, &station, &trace, &teacher] {
        SetUpBehindTheWindow(behind, mainWindow, station);
        if (trace)
            trace->Note(QStringLiteral("behind-the-window"));
        if (teacher)
            behind.classroom->ShowTeacherView(*teacher);
    });
    if (TInputSync::Wanted())
        new TInputSync(&app);

    if (trace) {
        mainWindow.SetStartupTrace(trace.get());
        trace->NoteFirstPaint(&mainWindow, QStringLiteral("first-paint"));
    }
    mainWindow.show();
    // Queued: the window goes to the display first, and the keeper still
    // starts before the first paint, so before anything can change a lesson.
    QMetaObject::invokeMethod(&mainWindow, [&mainWindow] { mainWindow.StartKeepingWork(WorkFolder()); },
                              Qt::QueuedConnection);
    if (!station.error.isEmpty())
        QMessageBox::warning(&mainWindow, QString(), station.error);
    return app.exec();
}
