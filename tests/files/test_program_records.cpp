#include "ProgramFileText.h"
#include "Step3Record.h"
#include "Step5Record.h"
#include "Step7Record.h"

#include <QTest>

namespace {
QStringList Repeat(int count, const char *text)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QString::fromLatin1(text));
    return lines;
}

// red 1 s, blue 2 s in slots 1 and 2.
QStringList RedBlueLines()
{
    return QStringList{"STEP3", "159", "175"} + Repeat(18, "0") + QStringList{"1", "2"} + Repeat(18, "-1");
}
} // namespace

class TestProgramRecords : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void textBytes()
    {
        // Every line ends in CR LF, the last one included; Japanese is code page 932.
        QCOMPARE(ProgramFileText::Encode({"STEP5", "赤", ""}), QByteArray("STEP5\r\n\x90\xd4\r\n\r\n"));
        QCOMPARE(ProgramFileText::Encode({}), QByteArray());
        QCOMPARE(ProgramFileText::Encode({"～①"}), QByteArray("\x81\x60\x87\x40\r\n"));
        // What Linux input methods give is written as its code page 932 twin.
        QCOMPARE(ProgramFileText::Unsavable({"〜−‖—¢£¬"}), QString());
        QCOMPARE(ProgramFileText::Encode({"〜−‖—¢£¬"}), ProgramFileText::Encode({"～－∥―￠￡￢"}));
        QCOMPARE(ProgramFileText::Encode({"1〜3"}), QByteArray("1\x81\x60" "3\r\n"));
        QCOMPARE(ProgramFileText::Unsavable({"〜한"}), QStringLiteral("한"));
    }

    void textLineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("mixed, no final end") << QByteArray("a\r\n\rb\nc") << QStringList{"a", "", "b", "c"};
        QTest::newRow("empty last line kept") << QByteArray("a\r\n\r\n") << QStringList{"a", ""};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("cp932") << QByteArray("\x90\xd4\r\n") << QStringList{"赤"};
        // A teacher's editor writes UTF-8, often with a byte-order mark.
        QTest::newRow("utf-8") << QByteArray("STEP5\n\xE8\xB5\xA4\n") << QStringList{"STEP5", "赤"};
        QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBFSTEP5\r\n\xE8\xB5\xA4\r\n")
                                         << QStringList{"STEP5", "赤"};
        QTest::newRow("mark, then code page 932") << QByteArray("\xEF\xBB\xBFSTEP5\r\n\x90\xd4\r\n")
                                                  << QStringList{"STEP5", "赤"};
    }
    void textLineEnds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(ProgramFileText::Decode(bytes), lines);
        // What was read writes back to the same lines.
        QCOMPARE(ProgramFileText::Decode(ProgramFileText::Encode(lines)), lines);
    }

    void unsavableAndExtensions()
    {
        QCOMPARE(ProgramFileText::Unsavable({"赤", "red(1);"}), QString());
        QCOMPARE(ProgramFileText::Unsavable({"ok", "a한b"}), QStringLiteral("한"));
        QCOMPARE(ProgramFileText::Unsavable({QString::fromUtf8("x\xF0\x9F\x98\x80")}), QString::fromUtf8("\xF0\x9F\x98\x80"));
        QCOMPARE(ProgramFileText::Unsavable({"a\nb"}), QStringLiteral("改行"));

        QCOMPARE(ProgramFileText::ExtensionOf("/tmp/a.LK7"), QStringLiteral(".LK7"));
        QCOMPARE(ProgramFileText::ExtensionOf("/tmp/my.folder/name"), QString());
        QCOMPARE(ProgramFileText::ExtensionOf("/tmp/name.txt.lk7"), QStringLiteral(".lk7"));
        QCOMPARE(ProgramFileText::ExtensionOf("/tmp/name."), QStringLiteral("."));
    }

    void step3Lines()
    {
        TStep3Record record;
        record.kinds[0] = 159;
        record.kinds[1] = 175;
        record.itemIndexes[0] = 1;
        record.itemIndexes[1] = 2;
        QCOMPARE(Step3RecordLines(record), RedBlueLines());
        QCOMPARE(Step3RecordLines(TStep3Record{}).size(), 41);
    }

    void step3Read()
    {
        auto read = ReadStep3Record(RedBlueLines());
        QVERIFY(read.record);
        QCOMPARE(read.record->kinds[1], 175);
        QCOMPARE(read.record->itemIndexes[1], 2);
        QCOMPARE(read.record->itemIndexes[2], -1);

        // Values are taken as they are; the screen's selectors judge them.
        QStringList odd = RedBlueLines();
        odd[3] = "63";
        odd[23] = "11";
        odd[4] = "12345";
        odd[24] = "-7";
        read = ReadStep3Record(odd);
        QVERIFY(read.record);
        QCOMPARE(read.record->kinds[2], 63);
        QCOMPARE(read.record->itemIndexes[2], 11);
        QCOMPARE(read.record->kinds[3], 12345);
        QCOMPARE(read.record->itemIndexes[3], -7);
    }

    void step3Refused_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("problem");
        QStringList bad = RedBlueLines();
        bad[2] = "abc";
        QTest::newRow("kind not a number") << bad << ProgramFileText::BadNumberMessage(3, "abc");
        bad = RedBlueLines();
        bad[22] = "";
        QTest::newRow("empty item") << bad << ProgramFileText::BadNumberMessage(23, "");
        QTest::newRow("cut in the items") << RedBlueLines().mid(0, 30) << ProgramFileText::MissingLineMessage(31);
        QTest::newRow("only the name") << QStringList{"STEP3"} << ProgramFileText::MissingLineMessage(2);
    }
    void step3Refused()
    {
        QFETCH(QStringList, lines);
        const auto read = ReadStep3Record(lines);
        QVERIFY(!read.record);
        QTEST(read.problem, "problem");
    }

    void step5RoundTrip()
    {
        TStep5Record record;
        record.words = QStringList{"あか", "green", "blue", "yellow", "purple", "lightblue", "white", "off",
                                   "loop", "jump", "wait"};
        record.programText = QStringLiteral("あか(1);\r\n\r\nloop(2);\r\n");
        const QStringList lines = Step5RecordLines(record);
        QCOMPARE(lines.size(), 15);
        QCOMPARE(lines.first(), QStringLiteral("STEP5"));
        QCOMPARE(lines.mid(12), QStringList({"あか(1);", "", "loop(2);"}));

        const auto read = ReadStep5Record(lines);
        QVERIFY(read.record);
        QCOMPARE(*read.record, record);
        // Read back and saved again, nothing grows.
        QCOMPARE(Step5RecordLines(*read.record), lines);
    }

    void step5ShortFiles()
    {
        const QStringList twelve = QStringList{"STEP5"} + Repeat(11, "w");
        auto read = ReadStep5Record(twelve);
        QVERIFY(read.record);
        QCOMPARE(read.record->programText, QString());

        read = ReadStep5Record(twelve.mid(0, 5));
        QVERIFY(!read.record);
        QCOMPARE(read.problem, ProgramFileText::MissingLineMessage(6));
        QVERIFY(read.problem.contains(QStringLiteral("6行目がありません")));
    }

    void step7RoundTrip()
    {
        TStep7Record record;
        record.noteText = QStringLiteral("AB") + QString(77, QLatin1Char('?'));
        record.ledOn = true;
        record.colours.fill(64);
        record.colours[2] = 1;
        record.colours[13] = 0;
        const QStringList lines = Step7RecordLines(record);
        QCOMPARE(lines.size(), 18);
        QCOMPARE(lines.mid(0, 5), QStringList({"STEP7", record.noteText, "///", "1", "64"}));
        QCOMPARE(lines.at(6), QStringLiteral("1"));
        const auto read = ReadStep7Record(lines);
        QVERIFY(read.record);
        QCOMPARE(*read.record, record);
    }

    void step7WithoutLight()
    {
        // Lines 5 to 18 are not read when the light is off, whatever they hold.
        const QStringList lines = QStringList{"STEP7", "A", "///", "0"} + Repeat(3, "junk");
        const auto read = ReadStep7Record(lines);
        QVERIFY(read.record);
        QVERIFY(!read.record->ledOn);
        QCOMPARE(read.record->colours, MelodyProgram::KeyColours{});
        QCOMPARE(read.record->noteText, QStringLiteral("A"));
        QVERIFY(!ReadStep7Record({"STEP7", "A", "///", "yes"}).record->ledOn);
    }

    void step7Refused_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("problem");
        const QStringList head{"STEP7", "ABC", "///", "1"};
        QTest::newRow("only the name") << QStringList{"STEP7"} << ProgramFileText::MissingLineMessage(2);
        QTest::newRow("no light flag") << QStringList{"STEP7", "A", "///"} << ProgramFileText::MissingLineMessage(4);
        QTest::newRow("colours cut") << head + QStringList{"16", "2"} << ProgramFileText::MissingLineMessage(7);
        QTest::newRow("not a number") << head + QStringList{"16", "x"} + Repeat(12, "64")
                                      << ProgramFileText::BadNumberMessage(6, "x");
        QTest::newRow("no key colour") << head + QStringList{"16", "2", "300"} + Repeat(11, "64")
                                       << ProgramFileText::BadValueMessage(7, "300");
        QTest::newRow("last key no colour") << head + Repeat(13, "16") + QStringList{"5"}
                                            << ProgramFileText::BadValueMessage(18, "5");
    }
    void step7Refused()
    {
        QFETCH(QStringList, lines);
        const auto read = ReadStep7Record(lines);
        QVERIFY(!read.record);
        QTEST(read.problem, "problem");
    }
};

QTEST_GUILESS_MAIN(TestProgramRecords)
#include "test_program_records.moc"
