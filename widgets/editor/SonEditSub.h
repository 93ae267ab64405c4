#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

// The look of the program editor. The defaults are those of the STEP5 screen
// except the colours and font, which that screen reads from the settings.
struct TSonEditLook {
    QColor backColor = Qt::black;
    QColor fontColor = Qt::white;
    QColor selColor = Qt::white;
    QColor markColor = Qt::white;
    QFont font;
    bool showLineNumbers = true;
    int lineNumberDigits = 3;
    int topMargin = 4;          // at most 30
    int leftMargin = 0;         // at most 30
    bool showLineEndMarks = true;
    bool showEofMark = false;
    bool showFullSpaceMarks = true;
};

namespace SonEditDraw {

constexpr int CaretWidth = 2;

// The text of the character at `index`: both halves of a surrogate pair.
QString CellText(const QString &line, int index);

// Each of red, green and blue inverted: how selected text and marks are drawn.
QColor Inverse(const QColor &color);

// A small downward arrow in the cell after the last character of a line.
void LineEndMark(QPainter &painter, const QRect &cell, const QColor &color);

// A dashed rectangle 3 pixels in from the sides of a full-width space's cell
// and 2 from its top and bottom.
void FullSpaceMark(QPainter &painter, const QRect &cell, const QColor &color);

// Width of the line-number column: 7 pixels plus the digits, at most 107.
int LineNumberWidth(int digitWidth, int digits);

} // namespace SonEditDraw
