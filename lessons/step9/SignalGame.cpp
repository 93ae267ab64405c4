#include "SignalGame.h"

TSignalGame::Speed TSignalGame::SpeedFor(int choice)
{
    switch (choice) {
    case 1: return {400, 40};
    case 2: return {300, 60};
    default: return {600, 30};
    }
}

int TSignalGame::LightCodeFor(Signal signal)
{
    switch (signal) {
    case Yellow: return kYellowCode;
    case Red: return kRedCode;
    case Blue: break;
    }
    return kBlueCode;
}

TSignalGame::Judgement TSignalGame::Judge(Announcement announcement, Signal signal)
{
    Judgement j;
    const bool blue = signal == Blue;
    if (announcement == Announcement::Pass && blue) {
        j = {+1, -1, 0, 200, 155, true, false};
    } else if (announcement == Announcement::Pass) {
        j = {-1, kPassedAgainstSignalSound, 2, 265, 155, false, true};
    } else if (announcement == Announcement::Stop && blue) {
        j = {-1, kStoppedAtBlueSound, 2, 200, 155, false, false};
    } else if (announcement == Announcement::Stop) {
        j = {+1, -1, -1, 0, 0, true, false};
    }
    // An announcement still "どうする?" cannot reach the last frame; it scores nothing.
    return j;
}

TSignalGame::CarPlacement TSignalGame::PlacementForFrame(int frame)
{
    switch (frame) {
    case 0: return {3, 352, 150};
    case 1: return {4, 324, 150};
    case 2: return {0, 295, 157};
    default: return {1, 267, 155};
    }
}

QString TSignalGame::ClockText(int secondsLeft)
{
    return QStringLiteral("%1").arg(qMax(secondsLeft, 0), 2, 10, QLatin1Char('0'));
}

QString TSignalGame::ScoreText(int score)
{
    return QStringLiteral("score : ") + QString::number(score);
}

QString TSignalGame::AnnouncementText(Announcement announcement)
{
    switch (announcement) {
    case Announcement::Pass: return QStringLiteral("通過!");
    case Announcement::Stop: return QStringLiteral("停止!");
    case Announcement::Ask: break;
    }
    return QStringLiteral("どうする?");
}

int TSignalGame::AdvanceFrame()
{
    frame = frame >= 4 ? 0 : frame + 1;
    return frame;
}

bool TSignalGame::ClockTick()
{
    --secondsLeft;
    if (secondsLeft < 0) {
        running = false;
        return false;
    }
    return true;
}
