#pragma once

#include <QString>
#include <QStringList>

// The report saved as an HTML page.
namespace ReportHtml {

// The page's lines: a fixed head, each report line followed by "<br>", the end.
// "&", "<" and ">" are escaped so the page shows what the pupil typed.
QStringList PageLines(const QStringList &reportLines);

// The page as bytes in code page 932, each line ending in CR LF; characters
// the code page cannot hold are written as numeric character references.
QByteArray Encode(const QStringList &pageLines);

enum class NameCheck { Accepted, AddedExtension, WrongExtension };
// Checks the chosen file name: ".html" and ".htm" in any case are accepted as
// typed, a name without extension gets ".html", any other extension is refused.
NameCheck CheckFileName(QString &fileName);

} // namespace ReportHtml
