// Writes every picture and sound the program loads into the folder given as
// the first argument (the program folder of the build).
#include "Painter.h"
#include "Waves.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include <cstdio>

namespace {

int g_failures = 0;
QString g_out;

// At a scale above 1 the picture goes beside the plain one as "name@2x.ext",
// the name the program looks for on a high-resolution screen.
void Put(const QString &relative, const QImage &image)
{
    QString name = relative;
    if (Art::Scale() != 1)
        name.insert(name.lastIndexOf(u'.'), QStringLiteral("@%1x").arg(Art::Scale()));
    if (!Art::Save(image, g_out + u'/' + name)) {
        QTextStream(stderr) << "cannot write " << relative << "\n";
        ++g_failures;
    }
}

void PutWave(const QString &relative, const QVector<qint16> &samples)
{
    if (Art::Scale() != 1)
        return;
    if (!Waves::Write(g_out + u'/' + relative, samples)) {
        QTextStream(stderr) << "cannot write " << relative << "\n";
        ++g_failures;
    }
}

struct ColourInfo {
    const char *file;  // led_<file>.bmp, PANEL\<file>.jpg, SOUND\<file>.bmp
    const char *label;
    QColor colour;
};

// Shared by the STEP4 colour panels and the STEP5 command word panels.
const QSize kWordPanel(90, 26);
// The settings screen's background thumbnails and the preview of the choice.
const QSize kThumbnail(56, 40);

const ColourInfo kColours[] = {
    {"red", "赤", QColor(235, 30, 30)},       {"green", "緑", QColor(30, 200, 60)},
    {"blue", "青", QColor(30, 70, 235)},      {"yellow", "黄", QColor(250, 220, 20)},
    {"purple", "紫", QColor(170, 50, 220)},   {"lightblue", "水", QColor(40, 200, 240)},
    {"white", "白", QColor(250, 250, 250)},   {"off", "消", QColor(90, 90, 90)},
};

// Pictures that buttons sit on: a button takes its corners from the part of
// the picture under it, so no white rectangle shows around it.
QImage IntroPanel()
{
    // The buttons and the preview frame sit on this picture: the words keep to its top band.
    QImage intro = Art::Panel(717, 228, QString(), Art::Hue(0));
    QPainter p(&intro);
    Art::Caption(p, QRectF(10, 6, 697, 34),
                 QStringLiteral("①「転送」でサンプルのプログラムをランプに送る　②「実行」でランプが 赤→青→黄 と2秒ずつ光る"), 15,
                 Art::Hue(0).darker(160));
    return intro;
}

QImage SettingsPanel()
{
    return Art::Panel(398, 299, QString(), QColor(120, 160, 210));
}

// The network page: one flat colour under the slots and the palette, and a
// white card under the picture and the two buttons for all stations (their
// pictures are the ones the white lesson pages show).
QImage NetworkBack()
{
    const QColor hue = Art::Hue(5);
    const QColor pale((hue.red() + 4 * 255) / 5, (hue.green() + 4 * 255) / 5, (hue.blue() + 4 * 255) / 5);
    QImage back = Art::Canvas(720, 430, pale);
    QPainter p(&back);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(hue, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1, 1, 718, 428), 8, 8);
    // white trays: under the colour chips (pictures on white) and under the
    // picture and the buttons for all stations
    p.setBrush(Qt::white);
    p.setPen(QPen(hue.lighter(140), 1.5));
    p.drawRoundedRect(QRectF(4, 10, 474, 58), 10, 10);
    p.drawRoundedRect(QRectF(494, 84, 212, 174), 10, 10);
    return back;
}

enum class On { White, Intro, Settings, Network, MessageWindow };

QImage Backdrop(On on, QPoint at, int w, int h)
{
    switch (on) {
    case On::Intro: return Art::Cut(IntroPanel(), QRect(at, QSize(w, h)));
    case On::Settings: return Art::Cut(SettingsPanel(), QRect(at, QSize(w, h)));
    case On::Network: return Art::Cut(NetworkBack(), QRect(at, QSize(w, h)));
    case On::MessageWindow: return Art::Canvas(w, h, QColor(204, 204, 204)); // the window's own grey
    case On::White: break;
    }
    return QImage();
}

void Buttons()
{
    struct B {
        const char *file;
        int w, h;
        const char *caption;
        int hue;
        On on = On::White;
        QPoint at = {}; // the button's place on the picture it sits on
    };
    const B buttons[] = {
        {"settei.bmp", 70, 28, "設定", 7},         {"help.bmp", 70, 28, "ヘルプ", 0},
        {"close.bmp", 28, 28, "×", 3},             {"close1.bmp", 110, 40, "終了", 3},
        {"next_step.bmp", 62, 40, "次へ▶", 2},     {"before_step.bmp", 62, 40, "◀戻る", 2},
        {"ok.bmp", 75, 25, "OK", 0, On::Settings, {238, 266}},               {"cancel.bmp", 75, 25, "キャンセル", 7, On::Settings, {318, 266}},
        {"tenso_test.jpg", 112, 82, "転送", 1, On::Intro, {169, 40}},    {"jikkou_test.jpg", 112, 82, "実行", 2, On::Intro, {327, 40}},
        {"navi.jpg", 112, 82, "学習ナビ", 4},      {"meirei_jikkou.jpg", 112, 82, "命令実行", 2},
        {"pro_tenso.jpg", 90, 51, "転送", 1},     {"pro_jikkou.jpg", 90, 51, "実行", 2},
        {"check.jpg", 90, 51, "チェック", 0},     {"preview.jpg", 90, 51, "プレビュー", 5},
        {"report.jpg", 90, 51, "レポート", 4},    {"read.jpg", 90, 51, "読み込み", 6},
        {"save.jpg", 90, 51, "保存", 6},          {"html.jpg", 90, 51, "HTML", 5},
        {"print.jpg", 90, 51, "印刷", 0},          {"moni_back.jpg", 102, 51, "戻る", 7},
        {"play.jpg", 90, 51, "再生", 2},          {"play1.jpg", 146, 86, "再生", 2},
        {"stop1.jpg", 146, 86, "停止", 3},         {"delete.jpg", 90, 51, "全部削除", 3},
        {"delete_1.jpg", 90, 51, "１つ削除", 3},  {"ledlinkgamen.jpg", 90, 51, "色の変更", 4},
        {"onpuback.jpg", 104, 40, "戻る", 7},      {"on.jpg", 80, 26, "ON", 2},
        {"off.jpg", 80, 26, "OFF", 7},             {"ledlink.jpg", 180, 18, "LEDの色", 4},
        {"net_jikko.jpg", 80, 32, "実行", 2, On::Network, {405, 75}},      {"net_send.jpg", 110, 36, "メッセージ", 5, On::Network, {600, 14}},
        {"net_set.jpg", 110, 36, "ネット設定", 7, On::Network, {484, 14}}, {"ok1.jpg", 100, 44, "OK", 0},
        {"send.jpg", 90, 38, "送信", 1, On::MessageWindow},           {"close3.jpg", 90, 38, "閉じる", 3, On::MessageWindow},
    };
    for (const B &b : buttons)
        Put(QStringLiteral("picture/BUTTON/") + QString::fromUtf8(b.file),
            Art::Button(b.w, b.h, QString::fromUtf8(b.caption), Art::Hue(b.hue), Backdrop(b.on, b.at, b.w, b.h)));

    const char *names[] = {"はじめての点灯", "色と秒数", "ブロックでプログラム", "文字で命令",
                           "文字でプログラム", "けんばん", "音と光のプログラム", "ネットワーク",
                           "信号ゲーム", "単独で動かす"};
    for (int i = 0; i < 10; ++i)
        Put(QStringLiteral("picture/BUTTON/menu%1.bmp").arg(i + 1), Art::Title(420, 32, i + 1, QString::fromUtf8(names[i])));
}

void Frames()
{
    for (int i = 1; i <= 12; ++i) {
        Put(QStringLiteral("picture/PANEL/bg%1.jpg").arg(i), Art::Background(780, 560, i - 1));
        Put(QStringLiteral("picture/PANEL/s_bg%1.jpg").arg(i), Art::Background(kThumbnail.width(), kThumbnail.height(), i - 1));
    }
    Put(QStringLiteral("picture/back1.bmp"), Art::Panel(741, 465, QString(), QColor(120, 160, 210)));
    QImage frame = Art::Canvas(780, 560, QColor(255, 0, 255));
    {
        QPainter p(&frame);
        p.setPen(QPen(QColor(40, 70, 120), 5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2.5, 2.5, 775, 555));
        p.setPen(QPen(QColor(90, 130, 190), 2));
        p.drawRect(QRect(18, 39, 743, 467));
    }
    Put(QStringLiteral("picture/back2.bmp"), frame);
    Put(QStringLiteral("picture/back-1.jpg"), SettingsPanel());
    {
        // The progress window lays its waiting picture at y 160 and its bar
        // below: the heading takes one line in the band above them.
        const QColor blue(60, 130, 200);
        QImage progress = Art::Panel(399, 298, QString(), blue);
        QPainter p(&progress);
        Art::Caption(p, QRectF(16, 96, 367, 48), QStringLiteral("ランプにデータを送っています"), 24, blue.darker(160));
        p.end();
        Put(QStringLiteral("picture/back-2.jpg"), progress);
    }
    Put(QStringLiteral("picture/test.jpg"), IntroPanel());
    Put(QStringLiteral("picture/PANEL/net_back.jpg"), NetworkBack());
    Put(QStringLiteral("picture/PANEL/Opening.jpg"), Art::Panel(444, 313, QStringLiteral("LK-72\nルミカ制御ソフト"), Art::Hue(0)));
    Put(QStringLiteral("picture/PANEL/wait1.jpg"), Art::Panel(228, 40, QStringLiteral("しばらくお待ち下さい"), Art::Hue(1)));
    Put(QStringLiteral("picture/PANEL/shori.jpg"), Art::Panel(316, 120, QStringLiteral("入力用リード線\n離す：受信モード\n触れる：繰り返し再生"), Art::Hue(2)));
    Put(QStringLiteral("picture/PANEL/doctor.bmp"), Art::LedChip(50, QColor(255, 210, 160), QStringLiteral("博士")));
    Put(QStringLiteral("picture/PANEL/preview_flame.jpg"), Art::Panel(260, 240, QString(), QColor(100, 100, 120)));
    Put(QStringLiteral("picture/PANEL/rei.jpg"), Art::Panel(700, 110, QStringLiteral("例）赤色 2秒 → 青色 FADE IN → 入力待ち"), Art::Hue(5)));

    struct P {
        const char *file;
        int w, h;
        const char *caption;
        int hue;
    };
    const P panels[] = {
        {"irositei.jpg", 56, 24, "色の指定", 0},        {"kurikaesi.jpg", 72, 24, "繰り返し", 1},
        {"kurikaesi1.jpg", 90, 22, "繰り返し", 1},      {"programpalette.jpg", 530, 350, "", 0},
        {"programpalette1.jpg", 145, 145, "", 5},        {"otononagasa.jpg", 216, 18, "音の長さ", 4},
        {"otononagasa1.jpg", 216, 18, "音の長さ", 4},    {"short.jpg", 64, 26, "短い", 2},
        {"middle.jpg", 64, 26, "普通", 2},               {"long.jpg", 64, 26, "長い", 2},
                       {"net_1.jpg", 200, 100, "全員へ", 5},
        {"net_set.jpg", 720, 430, "", 7},                {"net_snd.jpg", 420, 36, "メッセージ送信", 5},
        {"start.jpg", 90, 26, "繰り返し", 1},            {"end1.jpg", 90, 26, "飛び先", 1},
        {"wait.jpg", 90, 26, "入力待ち", 6},
    };
    for (const P &p : panels)
        Put(QStringLiteral("picture/PANEL/") + QString::fromUtf8(p.file),
            Art::Panel(p.w, p.h, QString::fromUtf8(p.caption), Art::Hue(p.hue)));
}

void Colours()
{
    int codeBase = 160;
    for (const ColourInfo &c : kColours) {
        const QString name = QString::fromUtf8(c.file);
        Put(QStringLiteral("picture/LED/led_%1.bmp").arg(name), Art::LedChip(50, c.colour, QString::fromUtf8(c.label)));
        Put(QStringLiteral("picture/PANEL/%1.jpg").arg(name), Art::Panel(kWordPanel.width(), kWordPanel.height(), name == u"off" ? QStringLiteral("消灯") : QString::fromUtf8(c.label) + QStringLiteral("色"), c.colour.lightness() > 230 ? QColor(150, 150, 150) : c.colour));
        if (name != u"off") {
            Put(QStringLiteral("picture/Pre/%1.bmp").arg(codeBase), Art::Lamp(c.colour));
            codeBase += 8;
        }
        // keys of the STEP7 colour palette: a white key and a black key with the colour on it
        Put(QStringLiteral("picture/SOUND/%1.bmp").arg(name), Art::Key(44, 144, false, c.colour, QString()));
        Put(QStringLiteral("picture/SOUND/S_%1.bmp").arg(name), Art::Key(30, 90, true, c.colour, QString()));
    }
    Put(QStringLiteral("picture/Pre/Base.bmp"), Art::Lamp(QColor()));
    Put(QStringLiteral("picture/Pre/216.bmp"), Art::Lamp(QColor()));
    Put(QStringLiteral("picture/Pre/96.bmp"), Art::Lamp(QColor(), 1));
    Put(QStringLiteral("picture/Pre/96-1.bmp"), Art::Lamp(QColor(), 2));
    // the preview's first picture: the unlit lamp with a start caption
    QImage start = Art::Lamp(QColor());
    {
        QPainter p(&start);
        p.setRenderHint(QPainter::Antialiasing);
        QFont font = p.font();
        font.setPixelSize(18);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(40, 90, 160));
        p.drawText(QRectF(10, 2, 200, 22), Qt::AlignCenter, QStringLiteral("スタート"));
    }
    Put(QStringLiteral("picture/Pre/start.bmp"), start);
    QImage del = Art::LedChip(50, QColor(240, 240, 240), QStringLiteral("×"));
    Put(QStringLiteral("picture/LED/delete.bmp"), del);
    // the STEP3 palette's repeat and wait blocks
    Put(QStringLiteral("picture/LED/start.bmp"), Art::Block(50, QStringLiteral("開始"), Art::Hue(1)));
    Put(QStringLiteral("picture/LED/end.bmp"), Art::Block(50, QStringLiteral("終了"), Art::Hue(1)));
    Put(QStringLiteral("picture/LED/wait.bmp"), Art::Block(50, QStringLiteral("待ち"), Art::Hue(6)));
}

void Keys()
{
    const char *white[] = {"do", "re", "mi", "fa", "so", "ra", "si"};
    const char *whiteJa[] = {"ド", "レ", "ミ", "ファ", "ソ", "ラ", "シ"};
    for (int i = 0; i < 7; ++i)
        Put(QStringLiteral("picture/SOUND/%1.bmp").arg(QString::fromLatin1(white[i])),
            Art::Key(44, 144, false, QColor(), QString::fromUtf8(whiteJa[i])));
    const char *black[] = {"do#", "re#", "fa#", "so#", "ra#"};
    for (const char *b : black)
        Put(QStringLiteral("picture/SOUND/%1.bmp").arg(QString::fromLatin1(b)), Art::Key(30, 90, true, QColor(), QStringLiteral("#")));
    Put(QStringLiteral("picture/SOUND/white.bmp"), Art::Key(44, 144, false, QColor(), QString()));
    Put(QStringLiteral("picture/SOUND/black.bmp"), Art::Key(30, 90, true, QColor(), QString()));
    Put(QStringLiteral("picture/SOUND/yasumi.bmp"), Art::Key(44, 144, false, QColor(200, 200, 200), QStringLiteral("休")));
    Put(QStringLiteral("picture/SOUND/1.jpg"), Art::Panel(120, 60, QStringLiteral("♪"), Art::Hue(4)));
    Put(QStringLiteral("picture/SOUND/2.jpg"), Art::Panel(120, 110, QStringLiteral("♫"), Art::Hue(5)));
    Put(QStringLiteral("picture/SOUND/3.jpg"), Art::Panel(120, 90, QStringLiteral("♬"), Art::Hue(6)));
}

void Game()
{
    const QImage road = Art::RoadScene(549, 330);
    Put(QStringLiteral("picture/Game/body.jpg"), road);
    Put(QStringLiteral("picture/Game/botton1.jpg"), Art::Button(150, 45, QStringLiteral("信号切り替え"), Art::Hue(1)));
    Put(QStringLiteral("picture/Game/botton2.jpg"), Art::Button(120, 45, QStringLiteral("スタート"), Art::Hue(2)));
    Put(QStringLiteral("picture/Game/botton3.jpg"), Art::Button(120, 45, QStringLiteral("ストップ"), Art::Hue(3)));
    Put(QStringLiteral("picture/Game/p1.jpg"), Art::Panel(162, 144, QStringLiteral("スピード\n\n\n\n"), Art::Hue(0)));
    Put(QStringLiteral("picture/Game/connect.jpg"),
        Art::Panel(354, 82, QStringLiteral("接続コードをつなぐと\nランプも信号の色に光ります"), Art::Hue(5)));
    // The signal stands on the road at (283, 216) of the page, the scene at (8, 0).
    const QImage signalGround = Art::Cut(road, QRect(275, 216, 145, 51));
    Put(QStringLiteral("picture/Game/blue.bmp"), Art::TrafficSignal(145, 51, 0, signalGround));
    Put(QStringLiteral("picture/Game/yellow.bmp"), Art::TrafficSignal(145, 51, 1, signalGround));
    Put(QStringLiteral("picture/Game/red.bmp"), Art::TrafficSignal(145, 51, 2, signalGround));
    PutWave(QStringLiteral("picture/Game/kachi.wav"), Waves::Click());
    PutWave(QStringLiteral("picture/Game/up02.wav"), Waves::Rising());
    PutWave(QStringLiteral("picture/Game/good.wav"), Waves::Chime());
    PutWave(QStringLiteral("picture/Game/bom01.wav"), Waves::Crash(false));
    PutWave(QStringLiteral("picture/Game/bom03.wav"), Waves::Crash(true));
}

void Notes()
{
    for (int length = 0; length < 3; ++length)
        for (int key = 0; key <= 13; ++key) {
            const int code = 16 * (length + 1) + key;
            const double seconds = Waves::LengthSeconds(length);
            PutWave(QStringLiteral("wave/%1.wav").arg(code),
                    key == 13 ? Waves::Silence(seconds) : Waves::Note(Waves::KeyFrequency(key), seconds));
        }
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing text needs a font database; no window is opened.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: lk72-datagen OUTPUT-FOLDER\n", stderr);
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    for (int scale : {1, 2}) {
        Art::SetScale(scale);
        Buttons();
        Frames();
        Colours();
        Keys();
        Game();
    }
    Art::SetScale(1);
    Notes();
    for (const QString &caption : Art::CrowdedCaptions()) {
        QTextStream(stderr) << "caption does not fit its picture: " << caption << "\n";
        ++g_failures;
    }
    return g_failures == 0 ? 0 : 1;
}
