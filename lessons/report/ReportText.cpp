#include "ReportText.h"

namespace ReportText {

QList<TReportLine> Build(const QStringList &programLines, const QStringList &words, bool withWords)
{
    QList<TReportLine> out;
    const auto centred = [&](const QString &t) { out.append({t, true}); };
    const auto left = [&](const QString &t) { out.append({t, false}); };

    centred(QStringLiteral("＜ここに学年、組を入力して下さい＞"));
    centred(QStringLiteral("＜ここに名前を入力して下さい＞"));
    centred(QString());
    centred(QString());

    if (withWords) {
        struct Row {
            const char16_t *label;
            int word;
        };
        static constexpr Row rows[] = {
            {u"　　　　　赤　　　", 0}, {u"　　　　　緑　　　", 1}, {u"　　　　　青　　　", 2},
            {u"　　　　　黄　　　", 3}, {u"　　　　　紫　　　", 4}, {u"　　　　水色　　　", 5},
            {u"　　　　　白　　　", 6}, {u"　　　　消灯　　　", 7}, {u"　　入力待ち　　　", 10},
            {u"　　繰り返し　　　", 8}, {u"　　　飛び先　　　", 9},
        };
        centred(QStringLiteral("命令"));
        for (const Row &row : rows)
            left(QString::fromUtf16(row.label) + words.value(row.word));
        left(QStringLiteral("　"));
        left(QStringLiteral("　"));
    }

    centred(QStringLiteral("プログラム"));
    for (const QString &line : programLines)
        left(line);
    left(QString());
    left(QString());

    centred(QStringLiteral("感想"));
    left(QStringLiteral("＜ここに感想を入力して下さい＞"));
    return out;
}

} // namespace ReportText
