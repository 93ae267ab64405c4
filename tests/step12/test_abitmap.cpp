#include "ABitmap.h"

#include <QTest>

namespace {

QImage Filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class TestABitmap : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void alwaysTwentyFourBits()
    {
        TABitmap empty;
        QVERIFY(empty.IsEmpty());
        TABitmap b;
        b.Assign(Filled(4, 4, qRgb(1, 2, 3)));
        QCOMPARE(b.Image().format(), TABitmap::PixelFormat);
        QCOMPARE(b.Image().depth(), 24);
        // Blue, green, red in memory.
        const uchar *row = b.Image().constScanLine(0);
        QCOMPARE(int(row[0]), 3);
        QCOMPARE(int(row[1]), 2);
        QCOMPARE(int(row[2]), 1);
    }

    void opacity_data()
    {
        QTest::addColumn<int>("opacity");
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        // source (200, 0), target (100, 255): (a*s + (256-a)*t) div 256.
        QTest::newRow("0 changes nothing") << 0 << 100 << 255;
        QTest::newRow("1") << 1 << (1 * 200 + 255 * 100) / 256 << (255 * 255) / 256;
        QTest::newRow("128") << 128 << (128 * 200 + 128 * 100) / 256 << (128 * 255) / 256;
        QTest::newRow("255") << 255 << (255 * 200 + 1 * 100) / 256 << 255 / 256;
        QTest::newRow("300 counts as 255") << 300 << (255 * 200 + 1 * 100) / 256 << 255 / 256;
    }
    void opacity()
    {
        QFETCH(int, opacity);
        QFETCH(int, red);
        QFETCH(int, green);
        TABitmap source;
        source.Assign(Filled(3, 2, qRgb(200, 0, 50)));
        TABitmap target;
        target.Assign(Filled(3, 2, qRgb(100, 255, 50)));
        source.BlendOnto(0, 0, static_cast<std::uint16_t>(opacity), target, 2, 3);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                const QRgb p = target.Image().pixel(x, y);
                QCOMPARE(qRed(p), red);
                QCOMPARE(qGreen(p), green);
                QCOMPARE(qBlue(p), opacity == 0 ? 50 : (qMin(opacity, 255) * 50 + (256 - qMin(opacity, 255)) * 50) / 256);
            }
    }

    void clippedAtTheRightAndBottomEdges()
    {
        TABitmap source;
        source.Assign(Filled(4, 4, qRgb(255, 255, 255)));
        TABitmap target;
        target.Assign(Filled(5, 5, qRgb(0, 0, 0)));
        QVERIFY(source.BlendOnto(3, 2, 255, target, 4, 4));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                const bool inside = x >= 3 && y >= 2;
                QCOMPARE(qRed(target.Image().pixel(x, y)), inside ? 254 : 0);
            }
        QCOMPARE(target.Width(), 5);
        QCOMPARE(target.Height(), 5);
    }

    void areaOutsideTheTargetOrBeyondThePictureTouchesNothingElse()
    {
        TABitmap source;
        source.Assign(Filled(2, 2, qRgb(255, 255, 255)));
        TABitmap target;
        target.Assign(Filled(4, 4, qRgb(0, 0, 0)));
        const QImage before = target.Image();
        QVERIFY(!source.BlendOnto(4, 0, 255, target, 2, 2));
        QVERIFY(!source.BlendOnto(0, 4, 255, target, 2, 2));
        QCOMPARE(target.Image(), before);
        // Asking for more than the picture has blends only what it has.
        QVERIFY(source.BlendOnto(0, 0, 255, target, 4, 4));
        QCOMPARE(qRed(target.Image().pixel(1, 1)), 254);
        QCOMPARE(qRed(target.Image().pixel(2, 2)), 0);
        // Starting left of the target uses the picture's right part.
        TABitmap striped;
        QImage s = Filled(2, 1, qRgb(0, 0, 0));
        s.setPixel(1, 0, qRgb(255, 255, 255));
        striped.Assign(s);
        TABitmap t2;
        t2.Assign(Filled(2, 1, qRgb(0, 0, 0)));
        QVERIFY(striped.BlendOnto(-1, 0, 255, t2, 1, 2));
        QCOMPARE(qRed(t2.Image().pixel(0, 0)), 254);
        QCOMPARE(qRed(t2.Image().pixel(1, 0)), 0);
    }

    void plainImageTargetIsSwitchedToTwentyFourBits()
    {
        TABitmap source;
        source.Assign(Filled(2, 2, qRgb(255, 0, 0)));
        QImage target = Filled(2, 2, qRgb(0, 0, 0));
        source.BlendOnto(0, 0, 0, target, 2, 2);
        QCOMPARE(target.format(), TABitmap::PixelFormat);
    }
};

QTEST_GUILESS_MAIN(TestABitmap)
#include "test_abitmap.moc"
