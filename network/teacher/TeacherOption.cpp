#include "TeacherOption.h"

#include "RosterDatagram.h"

std::optional<QString> ReadTeacherOption(const QStringList &arguments)
{
    const QString flag = QStringLiteral("--teacher");
    for (const QString &argument : arguments.mid(1)) {
        if (argument == flag)
            return QString();
        if (argument.startsWith(flag + QLatin1Char('=')))
            return argument.mid(flag.size() + 1).left(TRosterDatagram::MaxClassCodeLength);
    }
    return std::nullopt;
}
