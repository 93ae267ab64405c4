#include "ClassRowText.h"

namespace ClassRowText {

QString ReceiveMode(int mode)
{
    switch (mode) {
    case 1:
        return QStringLiteral("すべて受け付ける");
    case 2:
        return QStringLiteral("登録した相手だけ");
    default:
        return QStringLiteral("受け付けない");
    }
}

QString Page(int page)
{
    if (page >= 0 && page <= 9)
        return QStringLiteral("STEP%1").arg(page + 1);
    return page == 10 ? QStringLiteral("プレビュー") : QStringLiteral("レポート");
}

QString LastAnswered(const QDateTime &at, const QDateTime &now)
{
    if (!at.isValid())
        return {};
    const QString time = at.toString(QStringLiteral("HH:mm:ss"));
    const qint64 seconds = at.secsTo(now);
    // The list asks every few seconds: an older answer means the station has gone quiet.
    if (seconds < 15)
        return time;
    if (seconds < 120)
        return time + QStringLiteral("（%1秒前）").arg(seconds);
    return time + QStringLiteral("（%1分前）").arg(seconds / 60);
}

QStringList Cells(const TClassRow &row, const QDateTime &now)
{
    return {row.name, row.address, ReceiveMode(row.receiveMode), Page(row.page), LastAnswered(row.lastAnswered, now)};
}

} // namespace ClassRowText
