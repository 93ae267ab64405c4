#include "PortNames.h"

#include "IniFile.h"
#include "WorkFolder.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>

namespace {

bool IsUsbAdapter(const QString &device)
{
    const QString name = QFileInfo(device).fileName();
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"));
}

// Name order with numbers compared as numbers, so ttyS2 comes before ttyS10.
bool NameLess(const QString &a, const QString &b)
{
    static const QRegularExpression split(QStringLiteral("^(.*?)(\\d*)$"));
    const auto ma = split.match(a);
    const auto mb = split.match(b);
    const QString pa = ma.captured(1), pb = mb.captured(1);
    if (pa != pb)
        return pa < pb;
    const QString na = ma.captured(2), nb = mb.captured(2);
    if (na.size() != nb.size())
        return na.size() < nb.size();
    return na < nb;
}

// 1 for "COM1"/"com1", 0 for anything that is not a COM name.
int ComNumber(const QString &portName)
{
    static const QRegularExpression com(QStringLiteral("^com([1-9][0-9]{0,2})$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto match = com.match(portName.trimmed());
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

} // namespace

QStringList OrderSerialDevices(QStringList devices)
{
    std::sort(devices.begin(), devices.end(), [](const QString &a, const QString &b) {
        const bool ua = IsUsbAdapter(a), ub = IsUsbAdapter(b);
        if (ua != ub)
            return ua;
        return NameLess(QFileInfo(a).fileName(), QFileInfo(b).fileName());
    });
    devices.removeDuplicates();
    return devices;
}

QStringList OrderedSerialDevices()
{
    QStringList devices;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        devices.append(info.systemLocation());
    return OrderSerialDevices(devices);
}

QString DeviceForPortName(const QString &portName, const TIniFile &settings, const QStringList &ordered)
{
#ifdef Q_OS_WIN
    Q_UNUSED(settings);
    Q_UNUSED(ordered);
    return portName;
#else
    const int n = ComNumber(portName);
    if (n == 0)
        return portName.trimmed();
    const QString configured =
        settings.ReadString(QStringLiteral("comport"), QStringLiteral("com%1").arg(n), QString()).trimmed();
    if (!configured.isEmpty())
        return configured;
    return n <= ordered.size() ? ordered.at(n - 1) : QString();
#endif
}

QString DeviceForPortName(const QString &portName)
{
#ifdef Q_OS_WIN
    return portName;
#else
    if (ComNumber(portName) == 0)
        return portName.trimmed();
    const TIniFile settings(WorkFolder() + QStringLiteral("set.ini"));
    return DeviceForPortName(portName, settings, OrderedSerialDevices());
#endif
}

QList<TPortDevice> LampPortDevices()
{
    const TIniFile settings(WorkFolder() + QStringLiteral("set.ini"));
    const QStringList ordered = OrderedSerialDevices();
    QList<TPortDevice> result;
    for (int n = 1; n <= 4; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        result.append({name, DeviceForPortName(name, settings, ordered)});
    }
    return result;
}
