#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QPrinter;

namespace ReportPrint {

// What the printer tells about its paper, in printer pixels.
struct PrinterMetrics {
    int dpiX = 0;
    int dpiY = 0;
    int offsetX = 0;        // printable area's offset from the paper edge
    int offsetY = 0;
    int physicalWidth = 0;  // the paper
    int physicalHeight = 0;
    int pageWidth = 0;      // the printable area
    int pageHeight = 0;
};

// The print area inside the printable page: margins of 40 mm at the left and
// top and 30 mm at the right and bottom of the paper, measured from its edges.
QRect PrintArea(const PrinterMetrics &m);

PrinterMetrics MetricsOf(const QPrinter &printer);

// Prints `text` (plain text, one paragraph a line) in `font` within the print
// area, as one job titled "LK-72".
void Print(QPrinter &printer, const QString &text, const QFont &font);

} // namespace ReportPrint
