#include "PacedWait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void PacedWait(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    QElapsedTimer clock;
    clock.start();
    // The deadline is measured from the start, so nested events that run long
    // never shorten the pause, and a late wake-up does not accumulate.
    for (;;) {
        const qint64 left = milliseconds - clock.elapsed();
        if (left <= 0)
            return;
        QEventLoop loop;
        QTimer::singleShot(std::chrono::milliseconds(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}
