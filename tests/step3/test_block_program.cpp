#include "BlockProgram.h"
#include "TextProgramChecker.h"

#include <QTest>

namespace {

using K = std::pair<int, int>; // block kind, selector index

TBlockSlots Slots(std::initializer_list<K> filled)
{
    TBlockSlots blocks;
    size_t n = 0;
    for (const K &k : filled)
        blocks[n++] = {k.first, k.second};
    return blocks;
}

QStringList Codes(std::initializer_list<int> codes)
{
    QStringList list;
    for (int c : codes)
        list << QString::number(c);
    return list;
}

QStringList Padded(std::initializer_list<int> codes)
{
    QStringList list = Codes(codes);
    while (list.size() < 20)
        list << QStringLiteral("223");
    return list;
}

constexpr int Red = 159, Green = 167, Blue = 175, Yellow = 183, Purple = 191, LightBlue = 199, White = 207,
              Off = 215;
constexpr int Start = 63, End = 83, Wait = 96;

} // namespace

Q_DECLARE_METATYPE(TBlockSlots)

class TestBlockProgram : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stepCodes_data()
    {
        QTest::addColumn<TBlockSlots>("blocks");
        QTest::addColumn<QStringList>("program");
        QTest::addColumn<QStringList>("expanded");
        QTest::newRow("empty area") << TBlockSlots{} << Padded({}) << QStringList{};
        QTest::newRow("red, blue, yellow 2 s") << Slots({{Red, 2}, {Blue, 2}, {Yellow, 2}})
                                             << Padded({162, 178, 186}) << Codes({162, 178, 186});
        QTest::newRow("off 0.5 and 5 s, fades")
            << Slots({{Off, 0}, {Off, 5}, {Red, 6}, {White, 7}, {Wait, 0}})
            << Padded({216, 221, 166, 215, 96}) << Codes({216, 221, 166, 215, 96});
        QTest::newRow("repeat of 3 after red")
            << Slots({{Red, 1}, {Start, 2}, {Blue, 2}, {White, 0}, {End, 0}, {Off, 1}})
            << Padded({161, 65, 178, 208, 86, 217}) << Codes({161, 178, 208, 178, 208, 178, 208, 217});
        QTest::newRow("the wait repeats with the body")
            << Slots({{Start, 1}, {Red, 1}, {Wait, 0}, {Blue, 1}, {End, 0}})
            << Padded({64, 161, 96, 177, 85}) << Codes({161, 96, 177, 161, 96, 177});
        QTest::newRow("start at step 5 counts 12, then a repeat of 1")
            << Slots({{Red, 0}, {Red, 0}, {Red, 0}, {Red, 0}, {Start, 11}, {Green, 3}, {End, 0},
                      {Start, 0}, {Blue, 0}, {End, 0}})
            << Padded({160, 160, 160, 160, 68, 171, 95, 71, 176, 84})
            << (Codes({160, 160, 160, 160}) + QStringList(12, QStringLiteral("171")) + Codes({176}));
        TBlockSlots twenty;
        twenty.fill({Green, 4});
        QTest::newRow("twenty commands") << twenty << QStringList(20, QStringLiteral("172"))
                                         << QStringList(20, QStringLiteral("172"));
    }
    void stepCodes()
    {
        QFETCH(TBlockSlots, blocks);
        QFETCH(QStringList, program);
        QFETCH(QStringList, expanded);
        const TBlockBuild build = TBlockProgramBuilder::Build(blocks);
        QCOMPARE(build.messages, QStringList{});
        QVERIFY(build.ok);
        QCOMPARE(build.anyFilled, blocks[0].kind != 0);
        QCOMPARE(build.programList, program);
        QCOMPARE(build.expandedList, expanded);
    }

    void errorsNameTheSlot_data()
    {
        QTest::addColumn<TBlockSlots>("blocks");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("entries");
        const QString gap = QStringLiteral("命令と命令の間に空白があります。空白を埋めてください。");
        const QString unset = QStringLiteral("秒数、回数を正しく設定して下さい");
        const QString unclosed = QStringLiteral("文法エラー　「繰り返しが終了されてません」");
        QTest::newRow("hole in slot 2") << Slots({{Red, 0}, {0, -1}, {Blue, 0}}) << QStringList{gap} << 20;
        QTest::newRow("no item chosen") << Slots({{Red, 0}, {Start, -1}, {Red, 0}, {End, 0}})
                                       << QStringList{unset} << 20;
        QTest::newRow("end right after its start")
            << Slots({{Red, 0}, {Start, 0}, {End, 0}})
            << QStringList{QStringLiteral("文法エラー「3個目　繰り返しが開始との位置関係が間違っています」")} << 2;
        QTest::newRow("second start while one is open")
            << Slots({{Start, 1}, {Red, 0}, {Start, 1}, {Red, 0}, {End, 0}})
            << QStringList{QStringLiteral("文法エラー「3個目　繰り返しが終了されてません」")} << 2;
        QTest::newRow("end without start")
            << Slots({{Red, 0}, {Red, 0}, {Red, 0}, {End, 0}})
            << QStringList{QStringLiteral("文法エラー「4個目　繰り返しが開始されてません」")} << 3;
        QTest::newRow("second end after a closed repeat")
            << Slots({{Start, 0}, {Red, 0}, {End, 0}, {Blue, 0}, {End, 0}})
            << QStringList{QStringLiteral("文法エラー「5個目　繰り返しが開始されてません」")} << 4;
        QTest::newRow("start never closed") << Slots({{Start, 3}, {Red, 0}}) << QStringList{unclosed} << 20;
        TBlockSlots lastStart;
        lastStart.fill({Red, 0});
        lastStart[19] = {Start, 0};
        QTest::newRow("start in slot 20") << lastStart << QStringList{unclosed} << 20;
        // The walk runs after a failed pre-check and reports what it finds too.
        QTest::newRow("hole, then an open repeat")
            << Slots({{Red, 0}, {0, -1}, {Start, 0}, {Red, 0}}) << QStringList{gap, unclosed} << 20;
        QTest::newRow("kind no block has") << Slots({{Red, 0}, {42, -1}}) << QStringList{unset} << 20;
    }
    void errorsNameTheSlot()
    {
        QFETCH(TBlockSlots, blocks);
        QFETCH(QStringList, messages);
        QFETCH(int, entries);
        const TBlockBuild build = TBlockProgramBuilder::Build(blocks);
        QVERIFY(!build.ok);
        QVERIFY(build.anyFilled);
        QCOMPARE(build.messages, messages);
        QCOMPARE(build.programList.size(), entries);
    }

    // The same program as blocks and as text: both lessons must mean the same.
    void bothLessonsAgree_data()
    {
        QTest::addColumn<TBlockSlots>("blocks");
        QTest::addColumn<QString>("text");
        QTest::newRow("repeat of 3 after red")
            << Slots({{Red, 1}, {Start, 2}, {Blue, 2}, {White, 0}, {End, 0}, {Off, 1}})
            << QStringLiteral("red(1);\nloop(3);\nblue(2);\nwhite(0.5);\njump;\noff(1);");
        QTest::newRow("fades and a wait in a repeat of 12")
            << Slots({{Start, 11}, {Green, 6}, {Wait, 0}, {LightBlue, 7}, {Yellow, 5}, {End, 0}, {Purple, 0}})
            << QStringLiteral("loop(12);\ngreen(6);\nwait;\nlightblue(7);\nyellow(5);\njump;\npurple(0.5);");
        QTest::newRow("two repeats")
            << Slots({{Red, 2}, {Start, 1}, {Green, 1}, {End, 0}, {Start, 2}, {Blue, 1}, {End, 0}})
            << QStringLiteral("red(2);\nloop(2);\ngreen(1);\njump;\nloop(3);\nblue(1);\njump;");
        TBlockSlots lastRepeat;
        lastRepeat.fill({Red, 1});
        lastRepeat[17] = {Start, 1};
        lastRepeat[19] = {End, 0};
        QTest::newRow("repeat in steps 18 to 20")
            << lastRepeat << (QStringLiteral("red(1);\n").repeated(17) + QStringLiteral("loop(2);\nred(1);\njump;"));
        QTest::newRow("end without start") << Slots({{Red, 0}, {End, 0}}) << QStringLiteral("red(0.5);\njump;");
        QTest::newRow("end right after start") << Slots({{Start, 0}, {End, 0}}) << QStringLiteral("loop(1);\njump;");
        QTest::newRow("never closed") << Slots({{Start, 1}, {Red, 0}}) << QStringLiteral("loop(2);\nred(0.5);");
    }
    void bothLessonsAgree()
    {
        QFETCH(TBlockSlots, blocks);
        QFETCH(QString, text);
        const TBlockBuild build = TBlockProgramBuilder::Build(blocks);
        QStringList words = TTextProgramChecker::DefaultWords();
        const TTextProgramChecker::Result checked = TTextProgramChecker::Check(text, words);
        QCOMPARE(checked.ok, build.ok);
        if (!build.ok) {
            QCOMPARE(build.messages.size(), 1);
            QCOMPARE(checked.message, QString(build.messages.first()).replace(QStringLiteral("個目"), QStringLiteral("行目")));
            return;
        }
        QCOMPARE(checked.programList, build.programList);
        QCOMPARE(checked.expandedList, build.expandedList);
    }

    void reportLines()
    {
        const TBlockSlots blocks = Slots({{Red, 0}, {Green, 3}, {Blue, 6}, {Yellow, 7}, {Off, 0}, {Off, 5},
                                         {Start, 11}, {White, 1}, {End, 0}, {Wait, 0}, {Red, -1},
                                         {Start, -1}, {42, 0}, {Purple, 2}, {199, 5}});
        const QStringList want{
            QStringLiteral("赤色　0.5秒　点灯"), QStringLiteral("緑色　3秒　点灯"),
            QStringLiteral("青色 ゆっくり点灯"), QStringLiteral("黄色 ゆっくり消灯"),
            QStringLiteral("消灯　0.5秒"), QStringLiteral("消灯　5秒"),
            QStringLiteral("繰り返し開始　12回"), QStringLiteral("白色　1秒　点灯"),
            QStringLiteral("繰り返し終了"), QStringLiteral("入力待ち"),
            QStringLiteral("紫色　2秒　点灯"), QStringLiteral("水色　5秒　点灯"),
        };
        QCOMPARE(TBlockProgramBuilder::ReportLines(blocks), want);
    }

    void selectorItems()
    {
        const QStringList colour = TBlockProgramBuilder::SelectorItems(Purple, 1);
        QCOMPARE(colour, (QStringList{QStringLiteral("0.5秒"), QStringLiteral("1秒"), QStringLiteral("2秒"),
                                      QStringLiteral("3秒"), QStringLiteral("4秒"), QStringLiteral("5秒"),
                                      QStringLiteral("FADE IN"), QStringLiteral("FADE OUT")}));
        QCOMPARE(TBlockProgramBuilder::SelectorItems(Off, 1), colour.first(6));
        const QStringList counts = TBlockProgramBuilder::SelectorItems(Start, 1);
        QCOMPARE(counts.size(), 12);
        QCOMPARE(counts.first(), QStringLiteral("1回"));
        QCOMPARE(counts.last(), QStringLiteral("12回"));
        QCOMPARE(TBlockProgramBuilder::SelectorItems(End, 4), QStringList{QStringLiteral("END")});
        QCOMPARE(TBlockProgramBuilder::SelectorItems(Wait, 7), QStringList{QStringLiteral("7個目")});
        QCOMPARE(TBlockProgramBuilder::SelectorItems(42, 7), QStringList{});
        QVERIFY(!TBlockProgramBuilder::SelectorEnabled(End));
        QVERIFY(TBlockProgramBuilder::SelectorEnabled(Wait));
        QVERIFY(!TBlockProgramBuilder::SelectorEnabled(42));
        QCOMPARE(TBlockProgramBuilder::PictureFile(199), QStringLiteral("led_lightblue.bmp"));
        QCOMPARE(TBlockProgramBuilder::PictureFile(Off), QStringLiteral("led_off.bmp"));
        QCOMPARE(TBlockProgramBuilder::PictureFile(160), QString());
    }
};

QTEST_GUILESS_MAIN(TestBlockProgram)
#include "test_block_program.moc"
