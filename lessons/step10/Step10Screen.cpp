#include "Step10Screen.h"

#include "Image.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel *AddLabel(QWidget *parent, const QString &name, const QString &text, const QRect &at,
                 int pointSize, bool bold = false, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(at);
    // Japanese breaks anywhere, also in the middle of a word: the texts carry
    // their line breaks at phrase ends and are laid out wide enough for them.
    label->setWordWrap(false);
    label->setAlignment(align);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

QFrame *AddBox(QWidget *parent, const QString &name, const QRect &at)
{
    auto *box = new QFrame(parent);
    box->setObjectName(name);
    box->setGeometry(at);
    box->setFrameShape(QFrame::Box);
    box->setStyleSheet(QStringLiteral("QFrame#%1 { border: 2px solid #3a7bd5; border-radius: 6px; background: #f4f8ff; }").arg(name));
    return box;
}

} // namespace

TStep10Screen::TStep10Screen(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm8"))
{
    AddLabel(this, QStringLiteral("Label1"),
             QStringLiteral("ソフトを使わずにLEDを動作させる(繰り返し再生モード)には\n以下の手順を行って下さい"),
             QRect(12, 4, 380, 44), 10, true);

    const QStringList steps = {
        QStringLiteral("STEP3、STEP5、STEP7でプログラムを作成します"),
        QStringLiteral("作成したプログラムを本体に転送します"),
        QStringLiteral("転送したプログラムをこのソフトを使って実行し、\nデータがうまく転送されているか動作確認をします"),
        QStringLiteral("動作確認後、本体のスイッチをOFFにして\n組立説明書4ページ製作⑥のリード線処理の作業をします"),
        QStringLiteral("本体のスイッチをONにし、正しく動作すれば完成です"),
    };
    int y = 50;
    for (int i = 0; i < steps.size(); ++i) {
        QFrame *box = AddBox(this, QStringLiteral("Step%1").arg(i + 1), QRect(12, y, 380, i == 0 ? 58 : 44));
        AddLabel(box, QStringLiteral("StepText%1").arg(i + 1), steps[i], QRect(8, 2, 364, 40), 9);
        if (i == 0)
            AddLabel(box, QStringLiteral("StepNote1"),
                     QStringLiteral("（STEP7の音のみの命令、STEP2、STEP4での命令では動作しません。）"),
                     QRect(8, 36, 364, 20), 8);
        y += box->height();
        if (i + 1 < steps.size()) {
            AddLabel(this, QStringLiteral("Arrow%1").arg(i + 1), QStringLiteral("↓"), QRect(12, y, 380, 22), 11, true,
                     Qt::AlignCenter);
            y += 22;
        }
    }

    auto *picture = new TImage(this, QStringLiteral("Image1"));
    picture->setGeometry(400, 6, 316, 120);
    picture->SetStretch(true);

    QFrame *programs = AddBox(this, QStringLiteral("Panel1"), QRect(400, 132, 316, 70));
    AddLabel(programs, QStringLiteral("Label2"), QStringLiteral("使用できるプログラム"), QRect(8, 2, 300, 22), 10, true);
    AddLabel(programs, QStringLiteral("Label3"), QStringLiteral("光のみの命令→STEP3,STEP5"), QRect(8, 24, 300, 20), 9);
    AddLabel(programs, QStringLiteral("Label4"), QStringLiteral("音と光の命令→STEP7"), QRect(8, 45, 300, 20), 9);

    QFrame *lead = AddBox(this, QStringLiteral("Panel2"), QRect(400, 208, 316, 220));
    const struct {
        const char *name;
        const char *text;
        int y, h, size;
        bool bold;
    } rows[] = {
        {"Label5", "組立説明書4ページ製作⑥リード線処理", 3, 20, 9, true},
        {"Label6", "①スイッチを入れた時、入力用リード線が離れている場合", 26, 22, 8, false},
        {"Label7", "プログラム受信モード", 54, 18, 9, true},
        {"Label8", "ICにパソコンで作成したプログラムを接続コードを使って\n転送することができます。", 72, 46, 8, false},
        {"Label9", "②スイッチを入れた時、入力用リード線が接触している場合", 122, 22, 8, false},
        {"Label10", "繰り返し再生モード", 150, 18, 9, true},
        {"Label11", "電源を入れると最後に転送したプログラムが\n繰り返し実行されます。", 168, 46, 8, false},
    };
    for (const auto &row : rows)
        AddLabel(lead, QString::fromLatin1(row.name), QString::fromUtf8(row.text), QRect(8, row.y, 300, row.h),
                 row.size, row.bold, Qt::AlignLeft | Qt::AlignTop);

    try {
        picture->LoadPicture(QStringLiteral("Picture\\PANEL\\shori.jpg"));
    } catch (const std::exception &) {
        ShowCreateError(this);
    }
}
