#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// One byte on the wire with the pause that must lie before it (ms).
struct WireByte {
    quint8 byte;
    int pauseBefore;
};

// The wire sequence of a light-and-sound program, written out from the
// protocol's rules on its own so the test does not restate the sender.
inline QList<WireByte> ExpectedLightAndSound(const QByteArray &sounds, const QByteArray &lights)
{
    QList<WireByte> wire;
    int pending = 0;
    auto send = [&](quint8 b) {
        wire.append({b, pending});
        pending = 0;
    };
    if (!lights.isEmpty()) {
        send(8);
        pending = 100;
        for (char l : lights) {
            send(static_cast<quint8>(l));
            pending = 100;
        }
        pending += 300;
    }
    send(4);
    pending = 100;
    for (int i = 0; i < sounds.size(); ++i) {
        if (i == 20 || i == 40 || i == 60) {
            pending += 300;
            send(5);
            pending = 100;
        }
        send(static_cast<quint8>(sounds.at(i)));
        pending = 100;
    }
    pending += 200;
    send(10);
    pending = 200;
    send(2);
    return wire;
}

// The bytes a list of decimal code texts stands for, as the sender puts them on the wire.
inline QByteArray BytesOf(const QStringList &list)
{
    QByteArray bytes;
    for (const QString &s : list)
        bytes.append(static_cast<char>(s.toInt() & 0xff));
    return bytes;
}
