#include "ReportHtml.h"

#include "Cp932.h"

#include <QFileInfo>

namespace ReportHtml {

QStringList PageLines(const QStringList &reportLines)
{
    QStringList out = {QStringLiteral("<html>"), QStringLiteral("<head>"), QStringLiteral("<title>ルミカ</title>"),
                       QStringLiteral("</head>"), QStringLiteral("<body bgcolor=\"#FFFFFF\" text=\"#000000\">")};
    for (const QString &line : reportLines) {
        out << line.toHtmlEscaped().replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        out << QStringLiteral("<br>");
    }
    out << QStringLiteral("</body>") << QStringLiteral("</html>");
    return out;
}

QByteArray Encode(const QStringList &pageLines)
{
    QByteArray bytes;
    for (const QString &line : pageLines) {
        if (Cp932::CanEncode(line)) {
            bytes += Cp932::Encode(line);
            bytes += "\r\n";
            continue;
        }
        // Only a line with characters the code page lacks is taken apart.
        QString safe;
        for (qsizetype i = 0; i < line.size();) {
            const qsizetype len = line.at(i).isHighSurrogate() && i + 1 < line.size() ? 2 : 1;
            const QString piece = line.mid(i, len);
            if (Cp932::CanEncode(piece))
                safe += piece;
            else
                safe += QStringLiteral("&#%1;").arg(piece.toUcs4().value(0));
            i += len;
        }
        bytes += Cp932::Encode(safe);
        bytes += "\r\n";
    }
    return bytes;
}

NameCheck CheckFileName(QString &fileName)
{
    const QFileInfo info(fileName);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0) {
        fileName += QStringLiteral(".html");
        return NameCheck::AddedExtension;
    }
    const QString ext = name.mid(dot).toLower();
    if (ext == u".html" || ext == u".htm")
        return NameCheck::Accepted;
    return NameCheck::WrongExtension;
}

} // namespace ReportHtml
