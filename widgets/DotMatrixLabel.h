#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>

// A one-line label drawn like a dot-matrix display: each character a 5 x 7
// grid of round dots, lit dots in the text colour, unlit ones faintly on the
// panel colour. The dot pitch follows the widget's size so the whole text fits.
class TDotMatrixLabel : public QWidget {
    Q_OBJECT
public:
    explicit TDotMatrixLabel(QWidget *parent = nullptr, const QString &objectName = QString());

    void SetText(const QString &text);
    const QString &Text() const { return m_text; }

    void SetColors(const QColor &lit, const QColor &panel);
    QColor LitColor() const { return m_lit; }
    QColor PanelColor() const { return m_panel; }

    static constexpr int GlyphColumns = 5;
    static constexpr int GlyphRows = 7;
    // One row per entry, bit 4 the leftmost column. Letters are taken in upper
    // case; a character without a pattern is drawn blank.
    using Glyph = std::array<std::uint8_t, GlyphRows>;
    static Glyph GlyphOf(QChar c);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QColor m_lit;
    QColor m_panel;
};
