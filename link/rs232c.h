#pragma once

#include <QObject>
#include <QString>

// The serial port to the lamp. (Being built: only the name and open flag so far.)
class Trs232c : public QObject {
    Q_OBJECT
public:
    explicit Trs232c(QObject *parent = nullptr) : QObject(parent) {}
    QString portname = QStringLiteral("COM1");
    bool Open() { return false; }
    bool Close() { return false; }
    bool IsOpen() const { return false; }
};
