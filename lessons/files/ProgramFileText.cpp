#include "ProgramFileText.h"

#include "Cp932.h"

#include <QRegularExpression>

namespace ProgramFileText {

QByteArray Encode(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += Cp932::Encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

QString Unsavable(const QStringList &lines)
{
    for (const QString &line : lines) {
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
            return QStringLiteral("改行");
        const QString bad = Cp932::FirstUnencodable(line);
        if (!bad.isEmpty())
            return bad;
    }
    return {};
}

QStringList SplitLines(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    // "a\r\n" is the one line "a"; "" holds no line at all.
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList Decode(const QByteArray &bytes)
{
    return SplitLines(Cp932::DecodeFile(bytes));
}

QString ExtensionOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? path.mid(dot) : QString();
}

std::optional<int> NumberOf(const QString &line)
{
    bool ok = false;
    const int value = line.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

namespace {
// A damaged line can be long; the box shows enough of it to find it.
QString Shown(const QString &text)
{
    constexpr int MaxShown = 20;
    return text.size() > MaxShown ? text.left(MaxShown) + QStringLiteral("…") : text;
}
} // namespace

QString MissingLineMessage(int line)
{
    return QStringLiteral("ファイルを読み込むことが出来ませんでした\n%1行目がありません").arg(line);
}

QString BadNumberMessage(int line, const QString &text)
{
    return QStringLiteral("ファイルを読み込むことが出来ませんでした\n%1行目「%2」は数字ではありません")
        .arg(QString::number(line), Shown(text));
}

QString BadValueMessage(int line, const QString &text)
{
    return QStringLiteral("ファイルを読み込むことが出来ませんでした\n%1行目「%2」は使えない値です")
        .arg(QString::number(line), Shown(text));
}

} // namespace ProgramFileText
