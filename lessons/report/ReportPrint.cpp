#include "ReportPrint.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <cmath>

namespace ReportPrint {

namespace {

// The divisor of the original layout, kept so printed reports keep their margins.
double MmToPixels(double mm, int dpi)
{
    return mm / 25.39999 * dpi;
}

int Round(double v)
{
    return static_cast<int>(std::lround(v));
}

} // namespace

QRect PrintArea(const PrinterMetrics &m)
{
    const int left = std::max(0, Round(MmToPixels(40, m.dpiX) - m.offsetX));
    const int top = std::max(0, Round(MmToPixels(40, m.dpiY) - m.offsetY));
    const int rightUnprintable = m.physicalWidth - m.pageWidth - m.offsetX;
    const int bottomUnprintable = m.physicalHeight - m.pageHeight - m.offsetY;
    int right = Round(m.pageWidth - (MmToPixels(30, m.dpiX) - rightUnprintable));
    if (right < 0)
        right = m.pageWidth;
    int bottom = Round(m.pageHeight - (MmToPixels(30, m.dpiY) - bottomUnprintable));
    if (bottom < 0)
        bottom = m.pageHeight;
    return QRect(QPoint(left, top), QPoint(right, bottom)).normalized();
}

PrinterMetrics MetricsOf(const QPrinter &printer)
{
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    PrinterMetrics m;
    m.dpiX = printer.logicalDpiX();
    m.dpiY = printer.logicalDpiY();
    m.offsetX = Round(page.left() - paper.left());
    m.offsetY = Round(page.top() - paper.top());
    m.physicalWidth = Round(paper.width());
    m.physicalHeight = Round(paper.height());
    m.pageWidth = Round(page.width());
    m.pageHeight = Round(page.height());
    return m;
}

void Print(QPrinter &printer, const QString &text, const QFont &font)
{
    printer.setDocName(QStringLiteral("LK-72"));
    const QRect area = PrintArea(MetricsOf(printer));

    QTextDocument document;
    document.setDefaultFont(font);
    document.setPlainText(text);
    document.documentLayout()->setPaintDevice(&printer);
    document.setPageSize(area.size());

    QPainter painter(&printer);
    const int pages = std::max(1, document.pageCount());
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer.newPage();
        painter.save();
        painter.translate(area.topLeft());
        painter.translate(0, -i * area.height());
        const QRectF clip(0, i * area.height(), area.width(), area.height());
        document.drawContents(&painter, clip);
        painter.restore();
    }
}

} // namespace ReportPrint
