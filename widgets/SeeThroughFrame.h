#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>
#include <vector>

// A picture laid over a whole window and see-through nearly everywhere (the
// window's frame). It keeps only the strips of small squares that show
// something: a window-size picture that is nearly all empty would cost the
// window its memory and a blend of every pixel on each paint.
class TSeeThroughFrame : public QWidget {
    Q_OBJECT
public:
    // The side of the squares, in pixels of the picture.
    static constexpr int Square = 16;

    struct TPiece {
        QRect at;         // in the picture's pixels
        QImage picture;
    };
    // The runs of squares side by side in one row that are not wholly
    // see-through (alpha 0), cut from `picture`.
    static std::vector<TPiece> Pieces(const QImage &picture);

    explicit TSeeThroughFrame(QWidget *parent, const QString &objectName);

    // `picture` in ARGB with its see-through parts at alpha 0; drawn at its
    // device pixel ratio from the top left.
    void SetPicture(const QImage &picture);
    int PieceCount() const { return static_cast<int>(m_pieces.size()); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct TShownPiece {
        QRect at;  // in the widget's coordinates
        QPixmap picture;
    };
    std::vector<TShownPiece> m_pieces;
};
