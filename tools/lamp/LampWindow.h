#pragma once

#include "LampModel.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QListWidget;
class QPushButton;
class TLampView;

// The virtual lamp on the screen: the LED lit as the received codes say, the
// input button that ends a wait, the power button that replays the stored
// program as stand-alone mode does, and a log of what arrived.
class TLampWindow : public QWidget {
    Q_OBJECT
public:
    explicit TLampWindow(const QString &device, QWidget *parent = nullptr);

    void Log(const QString &line);
    // Runs segments now (a direct command or an executed program).
    void Run(const QList<TLampSegment> &segments, bool repeat = false);
    void StoreLightProgram(const QList<int> &steps) { m_stored = LampModel::LightProgram(steps); m_storedSound.clear(); }
    void StoreLightSound(const QList<int> &sound, const QList<int> &light);
    void Execute(int byte);

private:
    void Tick();
    void StartSegment();

    TLampView *m_view = nullptr;
    QListWidget *m_log = nullptr;
    QPushButton *m_input = nullptr;
    QList<TLampSegment> m_stored;
    QList<TLampSegment> m_storedSound;
    QList<TLampSegment> m_storedSoundDark;
    QList<TLampSegment> m_running;
    int m_index = -1;
    bool m_repeat = false;
    QElapsedTimer m_segmentClock;
    QTimer m_timer;
};
