#include "AssetPath.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>
#include <QTest>
#include <QtEndian>
#include <cmath>

namespace {

// Every data file the screens name, spelled as the code spells it.
const char *const kNamedFiles[] = {
    "Help\\Help1\\index.html",
    "Help\\Navi\\index.html",
    "picture\\back-1.jpg",
    "Picture\\back-2.jpg",
    "picture\\back1.bmp",
    "picture\\back2.bmp",
    "Picture\\BUTTON\\before_step.bmp",
    "picture\\BUTTON\\cancel.bmp",
    "Picture\\BUTTON\\check.jpg",
    "Picture\\BUTTON\\close.bmp",
    "Picture\\BUTTON\\close1.bmp",
    "Picture\\BUTTON\\close3.jpg",
    "Picture\\BUTTON\\delete.jpg",
    "Picture\\BUTTON\\delete_1.jpg",
    "Picture\\BUTTON\\help.bmp",
    "Picture\\BUTTON\\html.jpg",
    "Picture\\BUTTON\\jikkou_test.jpg",
    "Picture\\BUTTON\\ledlink.jpg",
    "Picture\\BUTTON\\ledlinkgamen.jpg",
    "Picture\\BUTTON\\meirei_jikkou.jpg",
    "picture\\BUTTON\\menu1.bmp",
    "picture\\BUTTON\\menu10.bmp",
    "picture\\BUTTON\\menu2.bmp",
    "picture\\BUTTON\\menu3.bmp",
    "picture\\BUTTON\\menu4.bmp",
    "picture\\BUTTON\\menu5.bmp",
    "picture\\BUTTON\\menu6.bmp",
    "picture\\BUTTON\\menu7.bmp",
    "picture\\BUTTON\\menu8.bmp",
    "picture\\BUTTON\\menu9.bmp",
    "Picture\\BUTTON\\moni_back.jpg",
    "Picture\\BUTTON\\navi.jpg",
    "Picture\\BUTTON\\net_jikko.jpg",
    "Picture\\BUTTON\\net_send.jpg",
    "Picture\\BUTTON\\net_set.jpg",
    "Picture\\BUTTON\\next_step.bmp",
    "Picture\\BUTTON\\off.jpg",
    "picture\\BUTTON\\ok.bmp",
    "Picture\\BUTTON\\ok1.jpg",
    "Picture\\BUTTON\\on.jpg",
    "Picture\\BUTTON\\onpuback.jpg",
    "Picture\\BUTTON\\play.jpg",
    "Picture\\BUTTON\\play1.jpg",
    "Picture\\BUTTON\\preview.jpg",
    "Picture\\BUTTON\\print.jpg",
    "Picture\\BUTTON\\pro_jikkou.jpg",
    "Picture\\BUTTON\\pro_tenso.jpg",
    "Picture\\BUTTON\\read.jpg",
    "Picture\\BUTTON\\report.jpg",
    "Picture\\BUTTON\\save.jpg",
    "Picture\\BUTTON\\send.jpg",
    "Picture\\BUTTON\\settei.bmp",
    "Picture\\BUTTON\\stop1.jpg",
    "Picture\\BUTTON\\tenso_test.jpg",
    "Picture\\Game\\blue.bmp",
    "Picture\\Game\\body.jpg",
    "Picture\\Game\\bom01.wav",
    "Picture\\Game\\bom03.wav",
    "Picture\\Game\\botton1.jpg",
    "Picture\\Game\\botton2.jpg",
    "Picture\\Game\\botton3.jpg",
    "Picture\\Game\\connect.jpg",
    "Picture\\Game\\good.wav",
    "Picture\\Game\\kachi.wav",
    "Picture\\Game\\p1.jpg",
    "Picture\\Game\\red.bmp",
    "Picture\\Game\\up02.wav",
    "Picture\\Game\\yellow.bmp",
    "Picture\\LED\\delete.bmp",
    "Picture\\LED\\led_blue.bmp",
    "Picture\\LED\\led_green.bmp",
    "Picture\\LED\\led_lightblue.bmp",
    "Picture\\LED\\led_off.bmp",
    "Picture\\LED\\led_purple.bmp",
    "Picture\\LED\\led_red.bmp",
    "Picture\\LED\\led_white.bmp",
    "Picture\\LED\\led_yellow.bmp",
    "Picture\\PANEL\\blue.jpg",
    "picture\\PANEL\\doctor.bmp",
    "Picture\\PANEL\\end1.jpg",
    "Picture\\PANEL\\green.jpg",
    "Picture\\PANEL\\irositei.jpg",
    "Picture\\PANEL\\kurikaesi.jpg",
    "Picture\\PANEL\\kurikaesi1.jpg",
    "Picture\\PANEL\\lightblue.jpg",
    "Picture\\PANEL\\long.jpg",
    "Picture\\PANEL\\middle.jpg",
    "Picture\\PANEL\\net_1.jpg",
    "Picture\\PANEL\\net_back.jpg",
    "Picture\\PANEL\\net_set.jpg",
    "Picture\\PANEL\\net_snd.jpg",
    "Picture\\PANEL\\off.jpg",
    "Picture\\PANEL\\Opening.jpg",
    "Picture\\PANEL\\otononagasa.jpg",
    "Picture\\PANEL\\otononagasa1.jpg",
    "Picture\\PANEL\\preview_flame.jpg",
    "Picture\\PANEL\\programpalette.jpg",
    "Picture\\PANEL\\programpalette1.jpg",
    "Picture\\PANEL\\purple.jpg",
    "Picture\\PANEL\\red.jpg",
    "picture\\PANEL\\rei.jpg",
    "Picture\\PANEL\\shori.jpg",
    "Picture\\PANEL\\short.jpg",
    "Picture\\PANEL\\start.jpg",
    "picture\\PANEL\\s_bg1.jpg",
    "picture\\PANEL\\s_bg12.jpg",
    "Picture\\PANEL\\wait.jpg",
    "Picture\\PANEL\\wait1.jpg",
    "Picture\\PANEL\\white.jpg",
    "Picture\\PANEL\\yellow.jpg",
    "Picture\\Pre\\160.bmp",
    "picture\\Pre\\168.bmp",
    "Picture\\Pre\\176.bmp",
    "Picture\\Pre\\184.bmp",
    "picture\\Pre\\192.bmp",
    "picture\\Pre\\200.bmp",
    "picture\\Pre\\208.bmp",
    "picture\\Pre\\Base.bmp",
    "Picture\\SOUND\\1.jpg",
    "Picture\\SOUND\\2.jpg",
    "Picture\\SOUND\\3.jpg",
    "Picture\\SOUND\\black.bmp",
    "picture\\SOUND\\blue.bmp",
    "Picture\\SOUND\\do#.bmp",
    "Picture\\SOUND\\do.bmp",
    "Picture\\SOUND\\fa#.bmp",
    "Picture\\SOUND\\fa.bmp",
    "picture\\SOUND\\green.bmp",
    "picture\\SOUND\\lightblue.bmp",
    "Picture\\SOUND\\mi.bmp",
    "picture\\SOUND\\off.bmp",
    "picture\\SOUND\\purple.bmp",
    "Picture\\SOUND\\ra#.bmp",
    "Picture\\SOUND\\ra.bmp",
    "Picture\\SOUND\\re#.bmp",
    "Picture\\SOUND\\re.bmp",
    "picture\\SOUND\\red.bmp",
    "Picture\\SOUND\\si.bmp",
    "Picture\\SOUND\\so#.bmp",
    "Picture\\SOUND\\so.bmp",
    "picture\\SOUND\\S_blue.bmp",
    "picture\\SOUND\\S_green.bmp",
    "picture\\SOUND\\S_lightblue.bmp",
    "picture\\SOUND\\S_off.bmp",
    "picture\\SOUND\\S_purple.bmp",
    "picture\\SOUND\\S_red.bmp",
    "picture\\SOUND\\S_white.bmp",
    "picture\\SOUND\\S_yellow.bmp",
    "Picture\\SOUND\\white.bmp",
    "Picture\\SOUND\\yasumi.bmp",
    "picture\\SOUND\\yellow.bmp",
    "picture\\test.jpg",
};

struct Wave {
    int rate = 0;
    int bits = 0;
    int channels = 0;
    QVector<double> samples;
};

Wave ReadWave(const QString &path)
{
    Wave w;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return w;
    const QByteArray b = f.readAll();
    if (b.size() < 44 || !b.startsWith("RIFF") || b.mid(8, 8) != "WAVEfmt ")
        return w;
    w.channels = qFromLittleEndian<quint16>(b.constData() + 22);
    w.rate = int(qFromLittleEndian<quint32>(b.constData() + 24));
    w.bits = qFromLittleEndian<quint16>(b.constData() + 34);
    const int data = b.indexOf("data");
    const int bytes = int(qFromLittleEndian<quint32>(b.constData() + data + 4));
    for (int i = 0; i + 1 < bytes && data + 8 + i + 1 < b.size(); i += 2)
        w.samples << qFromLittleEndian<qint16>(b.constData() + data + 8 + i) / 32768.0;
    return w;
}

// The frequency with the most energy between 200 Hz and 2 kHz, to 0.1 %.
double LoudestFrequency(const Wave &w)
{
    const int n = std::min<int>(int(w.samples.size()), w.rate / 4);
    auto power = [&](double f) {
        double re = 0, im = 0;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * M_PI * f * i / w.rate;
            re += w.samples[i] * std::cos(a);
            im += w.samples[i] * std::sin(a);
        }
        return re * re + im * im;
    };
    double best = 200, bestPower = -1;
    for (double f = 200; f < 2000; f *= 1.002) {
        const double p = power(f);
        if (p > bestPower) {
            bestPower = p;
            best = f;
        }
    }
    return best;
}

} // namespace

class TestDataFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyNamedFileIsThereInItsFormat()
    {
        QStringList missing;
        for (const char *name : kNamedFiles) {
            const QString relative = QString::fromLatin1(name);
            const QString path = ResolveAsset(relative);
            if (path.isEmpty()) {
                missing << relative;
                continue;
            }
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray head = f.read(64);
            if (relative.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive))
                QVERIFY2(head.startsWith("\xFF\xD8\xFF"), qPrintable(relative));
            else if (relative.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive)) {
                QVERIFY2(head.startsWith("BM"), qPrintable(relative));
                QCOMPARE(qFromLittleEndian<quint16>(head.constData() + 28), quint16(24));
            } else if (relative.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive)) {
                QVERIFY(head.contains("<!DOCTYPE html>"));
            }
            if (!relative.endsWith(QStringLiteral(".html")) && !relative.endsWith(QStringLiteral(".wav")))
                QVERIFY2(!QImageReader(path).read().isNull(), qPrintable(relative));
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u' ')));
        for (int i = 1; i <= 12; ++i) {
            QCOMPARE(QImage(ResolveAsset(QStringLiteral("picture\\PANEL\\bg%1.jpg").arg(i))).size(), QSize(780, 560));
            QVERIFY(!ResolveAsset(QStringLiteral("picture\\PANEL\\s_bg%1.jpg").arg(i)).isEmpty());
        }
        for (int code : {160, 168, 176, 184, 192, 200, 208, 216})
            QCOMPARE(QImage(ResolveAsset(QStringLiteral("picture\\Pre\\%1.bmp").arg(code))).size(), QSize(220, 200));
        for (const char *wait : {"96", "96-1", "Base", "start"})
            QCOMPARE(QImage(ResolveAsset(QStringLiteral("picture\\Pre\\%1.bmp").arg(QLatin1String(wait)))).size(), QSize(220, 200));
    }

    void picturesHaveTheSizeOfTheirControls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        const struct {
            const char *name;
            int w, h;
        } rows[] = {
            {"Picture\\BUTTON\\tenso_test.jpg", 112, 82}, {"Picture\\BUTTON\\html.jpg", 90, 51},
            {"Picture\\BUTTON\\moni_back.jpg", 102, 51},  {"Picture\\BUTTON\\play1.jpg", 146, 86},
            {"Picture\\LED\\led_red.bmp", 50, 50},        {"Picture\\PANEL\\preview_flame.jpg", 260, 240},
            {"Picture\\SOUND\\white.bmp", 44, 144},       {"Picture\\SOUND\\black.bmp", 30, 90},
            {"Picture\\Game\\body.jpg", 549, 330},        {"Picture\\Game\\red.bmp", 145, 51},
            {"Picture\\Game\\botton1.jpg", 150, 45},      {"Picture\\Game\\botton2.jpg", 120, 45},
            {"Picture\\back-2.jpg", 399, 298},            {"Picture\\PANEL\\wait1.jpg", 228, 40},
            {"Picture\\PANEL\\Opening.jpg", 444, 313},    {"picture\\back1.bmp", 741, 465},
            {"picture\\back2.bmp", 780, 560},             {"picture\\test.jpg", 717, 228},
            {"picture\\BUTTON\\menu1.bmp", 420, 32},
        };
        for (const auto &r : rows)
            QTest::newRow(r.name) << QString::fromLatin1(r.name) << QSize(r.w, r.h);
    }
    void picturesHaveTheSizeOfTheirControls()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QCOMPARE(QImage(ResolveAsset(name)).size(), size);
    }

    // A high-resolution screen finds beside every picture one with twice
    // its pixels each way, drawn anew at that size.
    void everyPictureHasATwiceAsLargeTwin()
    {
        QStringList wrong;
        for (const char *name : kNamedFiles) {
            const QString relative = QString::fromLatin1(name);
            if (!relative.endsWith(QStringLiteral(".jpg")) && !relative.endsWith(QStringLiteral(".bmp")))
                continue;
            const QString large = QString(relative).insert(relative.lastIndexOf(u'.'), QStringLiteral("@2x"));
            const QImage plain(ResolveAsset(relative));
            const QImage twin(ResolveAsset(large));
            if (twin.size() != plain.size() * 2)
                wrong << large;
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u' ')));
    }

    // A JPEG has no transparency: a rounded button's corners are drawn in
    // what lies under it, so no white rectangle stands on a coloured panel.
    void buttonCornersShowThePanelUnderThem_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("STEP1 transfer") << "Picture\\BUTTON\\tenso_test.jpg" << "picture\\test.jpg" << QPoint(169, 40);
        QTest::newRow("STEP1 run") << "Picture\\BUTTON\\jikkou_test.jpg" << "picture\\test.jpg" << QPoint(327, 40);
        QTest::newRow("STEP8 settings") << "Picture\\BUTTON\\net_set.jpg" << "Picture\\PANEL\\net_back.jpg" << QPoint(484, 14);
        QTest::newRow("STEP8 slot run") << "Picture\\BUTTON\\net_jikko.jpg" << "Picture\\PANEL\\net_back.jpg" << QPoint(405, 75);
        QTest::newRow("settings OK") << "picture\\BUTTON\\ok.bmp" << "picture\\back-1.jpg" << QPoint(238, 266);
        QTest::newRow("STEP9 signal on the road") << "Picture\\Game\\red.bmp" << "Picture\\Game\\body.jpg" << QPoint(275, 216);
    }
    void buttonCornersShowThePanelUnderThem()
    {
        QFETCH(QString, button);
        QFETCH(QString, panel);
        QFETCH(QPoint, at);
        const QImage front(ResolveAsset(button));
        const QImage back(ResolveAsset(panel));
        const QPoint corners[] = {{0, 0}, {front.width() - 1, 0}, {0, front.height() - 1}, {front.width() - 1, front.height() - 1}};
        for (const QPoint corner : corners) {
            const QColor a = front.pixelColor(corner);
            const QColor b = back.pixelColor(at + corner);
            const int off = std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
            QVERIFY2(off < 40, qPrintable(QStringLiteral("corner %1,%2: %3 on %4").arg(corner.x()).arg(corner.y()).arg(a.name(), b.name())));
        }
    }

    // The progress window shows its waiting picture at (88, 160) and its bar
    // below: the heading stands in one line above them, nothing of it below.
    void progressHeadingStaysAboveTheWaitingPicture()
    {
        const QImage back(ResolveAsset(QStringLiteral("Picture\\back-2.jpg")));
        int top = back.height(), bottom = -1;
        for (int y = 8; y < back.height() - 8; ++y)
            for (int x = 8; x < back.width() - 8; ++x)
                if (back.pixelColor(x, y).lightness() < 140) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        QVERIFY2(bottom >= 0, "no heading");
        QVERIFY2(bottom < 160, qPrintable(QString::number(bottom)));
        QVERIFY2(bottom - top < 40, qPrintable(QStringLiteral("%1 to %2: more than one line").arg(top).arg(bottom)));
    }

    void chipsAndBlocksStandOnPureWhite()
    {
        for (const char *name : {"Picture\\LED\\led_red.bmp", "Picture\\LED\\led_off.bmp", "Picture\\LED\\delete.bmp"}) {
            const QImage chip(ResolveAsset(QString::fromLatin1(name)));
            QCOMPARE(chip.pixelColor(0, 0), QColor(255, 255, 255));
            QCOMPARE(chip.pixelColor(49, 49), QColor(255, 255, 255));
        }
        // The frame lets everything but its border through.
        const QImage frame(ResolveAsset(QStringLiteral("picture\\back2.bmp")));
        QCOMPARE(frame.pixelColor(390, 280), QColor(255, 0, 255));
    }

    void notesSoundAtTheirPitchAndLength()
    {
        for (int length = 0; length < 3; ++length) {
            for (int key = 0; key <= 13; ++key) {
                const int code = 16 * (length + 1) + key;
                const Wave w = ReadWave(ResolveAsset(QStringLiteral("wave\\%1.wav").arg(code)));
                QCOMPARE(w.bits, 16);
                QCOMPARE(w.channels, 1);
                const double seconds = double(w.samples.size()) / w.rate;
                QVERIFY2(std::abs(seconds - (length == 0 ? 0.25 : length == 1 ? 0.5 : 1.0)) < 0.01, qPrintable(QString::number(code)));
                double peak = 0;
                for (double s : w.samples)
                    peak = std::max(peak, std::abs(s));
                if (key == 13) {
                    QCOMPARE(peak, 0.0);
                    continue;
                }
                QVERIFY(peak > 0.3);
                // Soft ends: no click at the first or last sample.
                QVERIFY(std::abs(w.samples.first()) < 0.01 && std::abs(w.samples.last()) < 0.05);
                const double want = 523.2511 * std::pow(2.0, key / 12.0);
                const double got = LoudestFrequency(w);
                QVERIFY2(std::abs(got - want) / want < 0.01, qPrintable(QStringLiteral("%1: %2 Hz, want %3").arg(code).arg(got).arg(want)));
            }
        }
        for (const char *game : {"kachi", "up02", "good", "bom01", "bom03"})
            QVERIFY(!ReadWave(ResolveAsset(QStringLiteral("Picture\\Game\\%1.wav").arg(QLatin1String(game)))).samples.isEmpty());
    }

    void noteFontHasItsFamilyAndEqualAdvances()
    {
        const int id = QFontDatabase::addApplicationFont(ResolveAsset(QStringLiteral("Note.TTF")));
        QVERIFY(id >= 0);
        QCOMPARE(QFontDatabase::applicationFontFamilies(id), QStringList{QStringLiteral("KiraNote")});
        QFont font(QStringLiteral("KiraNote"));
        font.setPixelSize(49);
        const QFontMetrics metrics(font);
        QString letters = QStringLiteral("?@");
        for (char c = 'A'; c <= 'Z'; ++c)
            letters += QLatin1Char(c);
        for (char c = 'a'; c <= 'p'; ++c)
            letters += QLatin1Char(c);
        for (QChar c : letters) {
            QVERIFY2(metrics.inFont(c), qPrintable(QString(c)));
            QCOMPARE(metrics.horizontalAdvance(c), 25);
        }
        QFontDatabase::removeApplicationFont(id);
    }
};

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestDataFiles test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_datafiles.moc"
