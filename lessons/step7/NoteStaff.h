#pragma once

#include <QFont>
#include <QWidget>

// The staff of a melody: the note text drawn in the note font, 27 positions
// on each of three lines (27 + 27 + 25), with a caret between positions.
// It is read-only; a click puts the caret at the nearest position.
class TNoteStaff : public QWidget {
    Q_OBJECT
public:
    static constexpr int PerLine = 27;
    static constexpr int Positions = 79;
    static constexpr int GlyphWidth = 25;
    static constexpr int LineHeight = 62;  // a 49-pixel glyph and its marker row

    explicit TNoteStaff(QWidget *parent = nullptr);

    void SetNoteFont(const QFont &font);
    void SetText(const QString &text);
    const QString &Text() const { return m_text; }
    void SetCaret(int position);
    int Caret() const { return m_caret; }

    // The caret position nearest to a point of the staff.
    static int PositionAt(QPoint point);
    // The top-left of position `index` (0-based) on the staff.
    static QPoint CellOrigin(int index);

Q_SIGNALS:
    // The pupil clicked: the caret is at `position` now.
    void Clicked(int position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QString m_text;
    int m_caret = 0;
};
