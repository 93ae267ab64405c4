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
        TStep3ReadResult read = ReadStep3Record(RedBlueLines());
        QVERIFY(read.complete);
        QCOMPARE(read.kindsRead, 20);
        QCOMPARE(read.itemsRead, 20);
        QCOMPARE(read.record.kinds[1], 175);
        QCOMPARE(read.record.itemIndexes[1], 2);
        QCOMPARE(read.record.itemIndexes[2], -1);

        // Values are taken as they are; the screen's selectors judge them.
        QStringList odd = RedBlueLines();
        odd[3] = "63";
        odd[23] = "11";
        odd[4] = "12345";
        odd[24] = "-7";
        read = ReadStep3Record(odd);
        QVERIFY(read.complete);
        QCOMPARE(read.record.kinds[2], 63);
        QCOMPARE(read.record.itemIndexes[2], 11);
        QCOMPARE(read.record.kinds[3], 12345);
        QCOMPARE(read.record.itemIndexes[3], -7);
    }

    void step3ReadStopsEarly()
    {
        // Cut after 30 lines: all kinds and the items of slots 1 to 9.
        TStep3ReadResult read = ReadStep3Record(RedBlueLines().mid(0, 30));
        QVERIFY(!read.complete);
        QCOMPARE(read.kindsRead, 20);
        QCOMPARE(read.itemsRead, 9);
        QCOMPARE(read.record.itemIndexes[0], 1);

        QStringList bad = RedBlueLines();
        bad[2] = "abc";
        read = ReadStep3Record(bad);
        QVERIFY(!read.complete);
        QCOMPARE(read.kindsRead, 1);
        QCOMPARE(read.itemsRead, 0);
        QCOMPARE(read.record.kinds[0], 159);
        QCOMPARE(read.record.kinds[1], 0);
        QCOMPARE(read.record.itemIndexes[0], -1);

        bad = RedBlueLines();
        bad[22] = "";
        read = ReadStep3Record(bad);
        QCOMPARE(read.itemsRead, 1);
        QVERIFY(!ReadStep3Record({"STEP3"}).complete);
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

        const TStep5ReadResult read = ReadStep5Record(lines);
        QVERIFY(read.complete);
        QCOMPARE(read.record.words, record.words);
        QCOMPARE(read.record.programText, record.programText);
        // Read back and saved again, nothing grows.
        QCOMPARE(Step5RecordLines(read.record), lines);
    }

    void step5ShortFiles()
    {
        const QStringList twelve = QStringList{"STEP5"} + Repeat(11, "w");
        TStep5ReadResult read = ReadStep5Record(twelve);
        QVERIFY(read.complete);
        QCOMPARE(read.record.programText, QString());

        read = ReadStep5Record(twelve.mid(0, 5));
        QVERIFY(!read.complete);
        QCOMPARE(read.record.words, Repeat(4, "w"));
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
        const TStep7ReadResult read = ReadStep7Record(lines);
        QVERIFY(read.complete);
        QVERIFY(read.record.ledOn);
        QCOMPARE(read.coloursRead, 14);
        QCOMPARE(read.record.colours, record.colours);
    }

    void step7WithoutLight()
    {
        // Lines 5 to 18 are not read when the light is off, whatever they hold.
        const QStringList lines = QStringList{"STEP7", "A", "///", "0"} + Repeat(3, "junk");
        const TStep7ReadResult read = ReadStep7Record(lines);
        QVERIFY(read.complete);
        QVERIFY(!read.record.ledOn);
        QCOMPARE(read.coloursRead, 0);
        QCOMPARE(read.record.noteText, QStringLiteral("A"));
        QVERIFY(!ReadStep7Record({"STEP7", "A", "///", "yes"}).record.ledOn);
    }

    void step7Damaged_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("hasNoteText");
        QTest::addColumn<bool>("hasLedFlag");
        QTest::addColumn<int>("coloursRead");
        QTest::addColumn<QString>("problem");
        const QStringList head{"STEP7", "ABC", "///", "1"};
        QTest::newRow("only the name") << QStringList{"STEP7"} << false << false << 0
                                       << ProgramFileText::MissingLineMessage(2);
        QTest::newRow("no light flag") << QStringList{"STEP7", "A", "///"} << true << false << 0
                                       << ProgramFileText::MissingLineMessage(4);
        QTest::newRow("colours cut") << head + QStringList{"16", "2"} << true << true << 2
                                     << ProgramFileText::MissingLineMessage(7);
        QTest::newRow("not a number") << head + QStringList{"16", "x"} + Repeat(12, "64") << true << true << 1
                                      << ProgramFileText::BadNumberMessage(6, "x");
        QTest::newRow("no key colour") << head + QStringList{"16", "2", "300"} + Repeat(11, "64") << true << true
                                       << 2 << ProgramFileText::BadValueMessage(7, "300");
    }
    void step7Damaged()
    {
        QFETCH(QStringList, lines);
        const TStep7ReadResult read = ReadStep7Record(lines);
        QVERIFY(!read.complete);
        QTEST(read.hasNoteText, "hasNoteText");
        QTEST(read.hasLedFlag, "hasLedFlag");
        QTEST(read.coloursRead, "coloursRead");
        QTEST(read.problem, "problem");
        if (read.coloursRead > 0)
            QCOMPARE(read.record.colours[0], 16);
    }
};

QTEST_GUILESS_MAIN(TestProgramRecords)
#include "test_program_records.moc"
