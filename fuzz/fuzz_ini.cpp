// The settings file: any bytes must read without a crash, and writing the
// values read back must give the same values; a colour text that reads
// writes a text that reads as the same colour.
#include "EditorSettings.h"
#include "IniFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            std::abort();
        f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    TIniFile ini(path);
    const QString back = ini.ReadString(QStringLiteral("back"), QStringLiteral("picture"), QStringLiteral("bg1.jpg"));
    const int port = ini.ReadInteger(QStringLiteral("comport"), QStringLiteral("name"), 0);
    const QString font = ini.ReadString(QStringLiteral("font"), QStringLiteral("name"), QStringLiteral("x"));

    // Rewriting what was read keeps it.
    ini.WriteString(QStringLiteral("back"), QStringLiteral("picture"), back);
    ini.WriteInteger(QStringLiteral("comport"), QStringLiteral("name"), port);
    if (!ini.Save())
        std::abort();
    TIniFile again(path);
    if (again.ReadInteger(QStringLiteral("comport"), QStringLiteral("name"), 0) != port)
        std::abort();
    (void)font;

    const QString colour = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)).trimmed();
    if (const auto value = ColorText::Parse(colour)) {
        const auto again = ColorText::Parse(ColorText::Format(*value));
        if (!again || *again != *value)
            std::abort();
    }
    return 0;
}
