#include "StationOption.h"

namespace {
const QString OptionName = QStringLiteral("--station-address");
}

TStationOption ReadStationOption(const QStringList &arguments)
{
    TStationOption option;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        QString value;
        if (argument == OptionName) {
            value = i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
            ++i;
        } else if (argument.startsWith(OptionName + QLatin1Char('='))) {
            value = argument.mid(OptionName.size() + 1);
        } else {
            continue;
        }
        QHostAddress parsed;
        // Only dotted IPv4: the other stations register four number boxes.
        if (parsed.setAddress(value) && parsed.protocol() == QAbstractSocket::IPv4Protocol
            && value.count(QLatin1Char('.')) == 3) {
            option.address = parsed;
            option.error.clear();
        } else {
            option.address = QHostAddress();
            option.error = QStringLiteral("起動オプション %1 の値「%2」はIPv4アドレスではありません。\nこのコンピュータのアドレスで起動します。")
                               .arg(OptionName, value);
        }
    }
    return option;
}
