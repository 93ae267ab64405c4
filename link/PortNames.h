#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TIniFile;

// Which device a lamp port name "COM1" to "COM4" stands for. On Windows the
// names are used as they are. Elsewhere a key comN in section [comport] of
// set.ini (com1=/dev/ttyUSB0) wins; without it COMn is the n-th serial device
// found, USB adapters (ttyUSB*, ttyACM*) first, then the others, each group in
// name order. Any other name (a device path) is used as it is.

struct TPortDevice {
    QString portName; // "COM1"
    QString device;   // "/dev/ttyUSB0", or "" when there is none
};

// The serial devices of this machine in COMn order.
QStringList OrderedSerialDevices();
// The same order for a given list of device paths.
QStringList OrderSerialDevices(QStringList devices);

// "" when the name stands for no device.
QString DeviceForPortName(const QString &portName);
QString DeviceForPortName(const QString &portName, const TIniFile &settings, const QStringList &ordered);

// COM1 to COM4 with their devices, for the settings screen.
QList<TPortDevice> LampPortDevices();
