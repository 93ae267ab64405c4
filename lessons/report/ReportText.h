#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The lines of a pupil's report, each with its paragraph alignment: class and
// name placeholders, the command words (text programs only), the program and
// the impressions.
struct TReportLine {
    QString text;
    bool centred = false;
    bool operator==(const TReportLine &other) const = default;
};

namespace ReportText {

// `withWords` for a report of a text program, whose eleven command words are
// listed first (the wait word on the ninth line, though it is the eleventh).
QList<TReportLine> Build(const QStringList &programLines, const QStringList &words, bool withWords);

} // namespace ReportText
