// A picture kept as the pieces that show must draw exactly what the whole
// picture would: every square at its place, those at the right and bottom
// edges too, at any pixel ratio, and nothing where it is see-through.
#include "PiecedPicture.h"

#include <QTest>

namespace {

const QRgb Magenta = qRgb(255, 0, 255);

// Magenta with a few dots of colour: at the corners, on the edges of the
// squares and inside the last, narrower ones.
QImage Dotted(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Magenta);
    const int w = size.width() - 1, h = size.height() - 1;
    for (const QPoint dot : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h), QPoint(15, 16), QPoint(16, 15), QPoint(w / 2, h / 2)})
        picture.setPixel(dot, qRgb(dot.x() % 256, dot.y() % 256, 40));
    return picture;
}

} // namespace

class TestPiecedPicture : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void drawsWhatTheWholePictureWould_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QRect>("covered");  // in the widget's coordinates
        QTest::newRow("squares that do not fill the edges") << QSize(37, 21) << 1.0 << QRect();
        QTest::newRow("exact squares") << QSize(32, 48) << 1.0 << QRect();
        QTest::newRow("twice the pixels") << QSize(70, 38) << 2.0 << QRect();
        QTest::newRow("a covered middle") << QSize(50, 50) << 1.0 << QRect(10, 10, 30, 30);
        QTest::newRow("a covered middle, twice the pixels") << QSize(60, 60) << 2.0 << QRect(5, 5, 20, 20);
    }

    void drawsWhatTheWholePictureWould()
    {
        QFETCH(QSize, size);
        QFETCH(qreal, ratio);
        QFETCH(QRect, covered);
        QImage picture = Dotted(size);
        picture.setDevicePixelRatio(ratio);
        TPiecedPicture pieces(nullptr, QStringLiteral("Pieces"));
        pieces.resize((QSizeF(size) / ratio).toSize());
        pieces.SetPicture(picture, Magenta, covered);

        QImage drawn(size, QImage::Format_ARGB32);
        drawn.setDevicePixelRatio(ratio);
        drawn.fill(Qt::transparent);
        pieces.render(&drawn, {}, {}, QWidget::DrawChildren);
        const QRect coveredPixels(covered.topLeft() * ratio, covered.size() * ratio);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                if (coveredPixels.contains(x, y))
                    continue;
                const QRgb want = picture.pixel(x, y) == Magenta ? 0 : picture.pixel(x, y);
                QVERIFY2(drawn.pixel(x, y) == want, qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
    }

    // Only what shows is kept: nothing of a wholly see-through or wholly
    // covered picture, one strip for a row of squares that all show.
    void keepsOnlyWhatShows()
    {
        QImage clear(40, 40, QImage::Format_RGB32);
        clear.fill(Magenta);
        QVERIFY(TPiecedPicture::Pieces(clear, Magenta).empty());
        QImage solid(40, 40, QImage::Format_RGB32);
        solid.fill(Qt::white);
        QVERIFY(TPiecedPicture::Pieces(solid, 0, QRect(0, 0, 40, 40)).empty());
        const auto strips = TPiecedPicture::Pieces(solid, 0, QRect(0, 16, 40, 24));
        QCOMPARE(strips.size(), size_t{1});
        QCOMPARE(strips.front().at, QRect(0, 0, 40, 16));
    }
};

QTEST_MAIN(TestPiecedPicture)
#include "test_pieced_picture.moc"
