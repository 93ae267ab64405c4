#include "LampWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

class TLampView : public QWidget {
public:
    explicit TLampView(QWidget *parent)
        : QWidget(parent)
    {
        setMinimumSize(220, 200);
    }
    void SetLight(const QColor &colour, double level, const QString &caption)
    {
        m_colour = colour;
        m_level = level;
        m_caption = caption;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(40, 44, 52));
        const QColor lit = QColor::fromRgbF(m_colour.redF() * m_level, m_colour.greenF() * m_level,
                                            m_colour.blueF() * m_level);
        const QRectF bulb(width() / 2.0 - 60, 20, 120, 120);
        QRadialGradient glow(bulb.center(), 90);
        glow.setColorAt(0, lit.lighter(120));
        glow.setColorAt(1, QColor(40, 44, 52));
        p.setBrush(glow);
        p.setPen(Qt::NoPen);
        p.drawEllipse(bulb.adjusted(-30, -30, 30, 30));
        p.setBrush(lit);
        p.setPen(QPen(QColor(200, 200, 200), 2));
        p.drawEllipse(bulb);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 160, width(), 30), Qt::AlignCenter, m_caption);
    }

private:
    QColor m_colour = Qt::black;
    double m_level = 0;
    QString m_caption;
};

TLampWindow::TLampWindow(const QString &device, QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("バーチャルランプ - %1").arg(device));
    auto *layout = new QVBoxLayout(this);
    m_view = new TLampView(this);
    layout->addWidget(m_view);
    auto *buttons = new QHBoxLayout;
    m_input = new QPushButton(QStringLiteral("入力"), this);
    m_input->setObjectName(QStringLiteral("InputButton"));
    auto *power = new QPushButton(QStringLiteral("電源ON"), this);
    power->setObjectName(QStringLiteral("PowerButton"));
    buttons->addWidget(m_input);
    buttons->addWidget(power);
    layout->addLayout(buttons);
    layout->addWidget(new QLabel(QStringLiteral("受信したもの (%1)").arg(device), this));
    m_log = new QListWidget(this);
    layout->addWidget(m_log);
    resize(360, 480);

    connect(m_input, &QPushButton::clicked, this, [this] {
        if (m_index >= 0 && m_index < m_running.size() && m_running[m_index].kind == TLampSegment::WaitForInput) {
            ++m_index;
            StartSegment();
        }
    });
    connect(power, &QPushButton::clicked, this, [this] {
        // Stand-alone mode: the last program runs over and over.
        Run(m_stored.isEmpty() ? m_storedSound : m_stored, true);
    });
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TLampWindow::Tick);
    m_view->SetLight(Qt::black, 0, QStringLiteral("待機中"));
}

void TLampWindow::Log(const QString &line)
{
    m_log->addItem(line);
    m_log->scrollToBottom();
}

void TLampWindow::StoreLightSound(const QList<int> &sound, const QList<int> &light)
{
    m_stored.clear();
    m_storedSound = LampModel::LightSoundProgram(sound, light);
    m_storedSoundDark = LampModel::LightSoundProgram(sound, {});
}

void TLampWindow::Execute(int byte)
{
    if (byte == 6)
        Run(m_stored);
    else if (byte == 9)
        Run(m_storedSound);
    else if (byte == 7)
        Run(m_storedSoundDark);
}

void TLampWindow::Run(const QList<TLampSegment> &segments, bool repeat)
{
    m_running = segments;
    m_repeat = repeat && !segments.isEmpty();
    m_index = 0;
    StartSegment();
}

void TLampWindow::StartSegment()
{
    if (m_index >= m_running.size()) {
        if (m_repeat && !m_running.isEmpty()) {
            m_index = 0;
        } else {
            m_timer.stop();
            m_index = -1;
            m_view->SetLight(Qt::black, 0, QStringLiteral("待機中"));
            return;
        }
    }
    m_segmentClock.start();
    m_timer.start(20);
    Tick();
}

void TLampWindow::Tick()
{
    if (m_index < 0 || m_index >= m_running.size())
        return;
    const TLampSegment &seg = m_running[m_index];
    const qint64 t = m_segmentClock.elapsed();
    const double part = seg.durationMs > 0 ? qMin(1.0, double(t) / seg.durationMs) : 0.0;
    switch (seg.kind) {
    case TLampSegment::Hold: m_view->SetLight(seg.colour, 1.0, QString()); break;
    case TLampSegment::FadeIn: m_view->SetLight(seg.colour, part, QStringLiteral("FADE IN")); break;
    case TLampSegment::FadeOut: m_view->SetLight(seg.colour, 1.0 - part, QStringLiteral("FADE OUT")); break;
    case TLampSegment::WaitForInput: m_view->SetLight(Qt::black, 0, QStringLiteral("入力待ち")); return;
    case TLampSegment::Note:
        m_view->SetLight(seg.colour, 1.0, QStringLiteral("♪ %1").arg(seg.noteCode));
        break;
    }
    if (t >= seg.durationMs) {
        ++m_index;
        StartSegment();
    }
}
