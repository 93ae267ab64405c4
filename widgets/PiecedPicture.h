#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QRegion>
#include <QWidget>
#include <vector>

// A large picture that shows only in part: the window's frame, see-through
// but for its edges, or a panel whose middle the page always covers. It keeps
// the strips of small squares that show something; the whole picture would
// cost the window its memory and, laid over everything, a blend of every
// pixel on each paint.
class TPiecedPicture : public QWidget {
    Q_OBJECT
public:
    // The side of the squares, in pixels of the picture.
    static constexpr int Square = 16;

    struct TPiece {
        QRect at;         // in the picture's pixels
        QImage picture;   // ARGB, the see-through colour at alpha 0
    };
    // The runs of squares side by side in one row of `picture` that hold a
    // pixel neither of the colour `seeThrough` nor inside `covered` (in the
    // picture's pixels). `seeThrough` is a whole ARGB value: qRgb(255, 0, 255)
    // for magenta; 0 leaves only the see-through pixels of a picture with alpha.
    static std::vector<TPiece> Pieces(const QImage &picture, QRgb seeThrough, const QRegion &covered = {});

    explicit TPiecedPicture(QWidget *parent, const QString &objectName);

    // Drawn at the picture's device pixel ratio from the top left; `covered`
    // is in the widget's coordinates.
    void SetPicture(const QImage &picture, QRgb seeThrough, const QRegion &covered = {});
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
