// The virtual lamp: receives the same bytes as the real lamp on a
// pseudo-terminal (or a real serial device) and shows or logs what they mean.
#include "LampDecoder.h"
#include "LampLine.h"
#include "LampModel.h"
#include "LampWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <sched.h>
#include <unistd.h>

namespace {

// Judges a record of the program's write calls ("<ns> <device> <hex>" a
// line, as the tests' wire recorder writes it) with the sender's clock: one
// log line per unit for `device`, then how many pauses were judged.
int JudgeRecord(const QString &path, const QString &device)
{
    QFile file(path);
    QTextStream out(stdout);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream(stderr) << "lk72-lamp: cannot read " << path << "\n";
        return 1;
    }
    TLampDecoder decoder(TLampDecoder::Clock::Sender);
    auto print = [&](const QList<TLampDecoder::Unit> &units) {
        for (const TLampDecoder::Unit &unit : units)
            out << unit.LogLine() << "\n";
    };
    qint64 lastMs = 0;
    while (!file.atEnd()) {
        const QStringList fields = QString::fromLatin1(file.readLine()).split(u' ', Qt::SkipEmptyParts);
        if (fields.size() != 3 || fields.at(1) != device)
            continue;
        lastMs = fields.at(0).toLongLong() / 1'000'000;
        for (char byte : QByteArray::fromHex(fields.at(2).trimmed().toLatin1()))
            print(decoder.Feed(static_cast<unsigned char>(byte), lastMs));
    }
    print(decoder.Poll(lastMs + TLampDecoder::kFrameTimeoutMs + 1));
    out << "pauses judged " << decoder.PausesSeen() + decoder.PausesShort() << ", short "
        << decoder.PausesShort() << "\n";
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // The log and judge modes need no display; decide before the application object exists.
    bool logOnly = false;
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--log") == 0 || qstrcmp(argv[i], "--judge") == 0)
            logOnly = true;
    if (logOnly) {
        // A frame silent for longer than the protocol allows is reported cut
        // short; a prompt wake-up keeps a busy machine from cutting frames
        // that arrived whole. Without the right to it the lamp runs at normal
        // priority.
        sched_param priority{};
        priority.sched_priority = 10;
        sched_setscheduler(0, SCHED_FIFO, &priority);
    }
    std::unique_ptr<QCoreApplication> app;
    if (logOnly)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lk72-lamp"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Virtual LK-72 lamp"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("log"), QStringLiteral("No window: one line per received unit on standard output.")});
    parser.addOption({QStringLiteral("device"), QStringLiteral("Listen on an existing serial device."), QStringLiteral("path")});
    parser.addOption({QStringLiteral("link"), QStringLiteral("Also make a symbolic link to the pseudo-terminal."), QStringLiteral("path")});
    parser.addOption({QStringLiteral("judge"), QStringLiteral("Judge a record of the program's writes instead of listening."), QStringLiteral("record")});
    parser.addOption({QStringLiteral("judge-device"), QStringLiteral("The device whose writes --judge reads."), QStringLiteral("path")});
    parser.process(*app);
    if (parser.isSet(QStringLiteral("judge")))
        return JudgeRecord(parser.value(QStringLiteral("judge")), parser.value(QStringLiteral("judge-device")));

    QTextStream out(stdout);
    TLampLine line;
    QString error;
    const bool opened = parser.isSet(QStringLiteral("device"))
        ? line.OpenDevice(parser.value(QStringLiteral("device")), &error)
        : line.OpenPseudoTerminal(&error);
    if (!opened) {
        QTextStream(stderr) << "lk72-lamp: " << error << "\n";
        return 1;
    }
    const QString linkPath = parser.value(QStringLiteral("link"));
    if (!linkPath.isEmpty()) {
        QFile::remove(linkPath);
        if (!QFile::link(line.DevicePath(), linkPath)) {
            QTextStream(stderr) << "lk72-lamp: cannot make the link " << linkPath << "\n";
            return 1;
        }
    }
    out << "device " << line.DevicePath() << Qt::endl;

    std::unique_ptr<TLampWindow> window;
    if (!logOnly) {
        window = std::make_unique<TLampWindow>(line.DevicePath());
        window->show();
    }

    // A lamp listening on a line sees arrivals, not the sender's pauses.
    TLampDecoder decoder(TLampDecoder::Clock::Reader);
    auto handle = [&](const QList<TLampDecoder::Unit> &units) {
        for (const TLampDecoder::Unit &unit : units) {
            out << unit.LogLine() << Qt::endl;
            if (!window)
                continue;
            window->Log(unit.LogLine());
            switch (unit.kind) {
            case TLampDecoder::Unit::DirectLight: window->Run(LampModel::DirectLight(unit.codes.value(0))); break;
            case TLampDecoder::Unit::LightProgram: window->StoreLightProgram(unit.codes); break;
            case TLampDecoder::Unit::LightSound: window->StoreLightSound(unit.codes, unit.lightList); break;
            case TLampDecoder::Unit::Execute: window->Execute(unit.codes.value(0)); break;
            case TLampDecoder::Unit::DirectSound: {
                TLampSegment note;
                note.kind = TLampSegment::Note;
                note.noteCode = unit.codes.value(0);
                note.durationMs = LampModel::NoteLengthMs(note.noteCode);
                note.colour = QColor(255, 255, 255);
                window->Run({note});
                break;
            }
            case TLampDecoder::Unit::Warning:
            case TLampDecoder::Unit::Unmeasured: break;
            }
        }
    };
    QObject::connect(&line, &TLampLine::ByteReceived, [&](int byte, qint64 at) { handle(decoder.Feed(byte, at)); });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] { handle(decoder.Poll(line.NowMs())); });
    poll.start(250);

    const int rc = app->exec();
    if (!linkPath.isEmpty())
        QFile::remove(linkPath);
    return rc;
}
