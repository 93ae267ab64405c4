#include "CommandCodes.h"

#include <QTest>

using namespace LampCode;

class TestCommandCodes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void colourSteps_data()
    {
        QTest::addColumn<int>("colour");
        QTest::addColumn<int>("variant");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("label");
        QTest::newRow("red 0.5 s") << 0 << 0 << 160 << QStringLiteral("赤色");
        QTest::newRow("red 2 s") << 0 << 2 << 162 << QStringLiteral("赤色");
        QTest::newRow("green fade out") << 1 << 7 << 175 << QStringLiteral("緑色");
        QTest::newRow("blue 2 s") << 2 << 2 << 178 << QStringLiteral("青色");
        QTest::newRow("yellow 2 s") << 3 << 2 << 186 << QStringLiteral("黄色");
        QTest::newRow("purple fade in") << 4 << 6 << 198 << QStringLiteral("紫色");
        QTest::newRow("light blue 0.5 s") << 5 << 0 << 200 << QStringLiteral("水色");
        QTest::newRow("white fade out") << 6 << 7 << 215 << QStringLiteral("白色");
        QTest::newRow("off 0.5 s") << 7 << 0 << 216 << QStringLiteral("消灯");
        QTest::newRow("off 5 s") << 7 << 5 << 221 << QStringLiteral("消灯");
    }
    void colourSteps()
    {
        QFETCH(int, colour);
        QFETCH(int, variant);
        QFETCH(int, code);
        QFETCH(QString, label);
        const auto c = static_cast<Colour>(colour);
        QVERIFY(HasVariant(c, variant));
        QCOMPARE(ColourStep(c, variant), code);
        QVERIFY(IsColourStep(code));
        QCOMPARE(static_cast<int>(StepColour(code)), colour);
        QCOMPARE(StepVariant(code), variant);
        QCOMPARE(ColourLabel(c), label);
        // The block editor keeps 159 + 8 x colour and adds the selector index + 1.
        QCOMPARE(ColourBlock(c) + variant + 1, code);
    }

    void offHasNoFadesAndTheFillersAreNoSteps()
    {
        QVERIFY(!HasVariant(Colour::Off, VariantFadeIn));
        QVERIFY(!HasVariant(Colour::Off, VariantFadeOut));
        QVERIFY(!IsColourStep(222));
        QVERIFY(!IsColourStep(EmptyStep));
        QVERIFY(!IsColourStep(159));
        QCOMPARE(EmptyStep, 223);
        QCOMPARE(WaitForInput, 96);
    }

    void repeats()
    {
        QCOMPARE(RepeatStart(1), 64);
        QCOMPARE(RepeatStart(5), 68);
        QCOMPARE(RepeatStart(20), 83);
        QCOMPARE(RepeatEnd(1), 84);
        QCOMPARE(RepeatEnd(12), 95);
        QVERIFY(IsRepeatStart(64) && IsRepeatStart(83) && !IsRepeatStart(63) && !IsRepeatStart(84));
        QVERIFY(IsRepeatEnd(84) && IsRepeatEnd(95) && !IsRepeatEnd(83) && !IsRepeatEnd(96));
        QCOMPARE(RepeatStartStep(68), 5);
        QCOMPARE(RepeatEndCount(95), 12);
        QCOMPARE(BlockRepeatStart, 63);
        QCOMPARE(BlockRepeatEnd, 83);
    }

    void notes_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("code");
        QTest::newRow("short do") << 0 << 0 << 16;
        QTest::newRow("short rest") << 0 << 13 << 29;
        QTest::newRow("normal do") << 1 << 0 << 32;
        QTest::newRow("normal high do") << 1 << 12 << 44;
        QTest::newRow("normal rest") << 1 << 13 << 45;
        QTest::newRow("long do") << 2 << 0 << 48;
        QTest::newRow("long rest") << 2 << 13 << 61;
    }
    void notes()
    {
        QFETCH(int, length);
        QFETCH(int, key);
        QFETCH(int, code);
        QCOMPARE(NoteCode(length, key), code);
        QVERIFY(IsNote(code));
        QCOMPARE(NoteLength(code), length);
        QCOMPARE(NoteKey(code), key);
    }

    void notesExcludeTheGapsBetweenLengths()
    {
        QVERIFY(!IsNote(15));
        QVERIFY(!IsNote(30));
        QVERIFY(!IsNote(31));
        QVERIFY(!IsNote(62));
    }

    void colourMasks()
    {
        const int expected[] = {16, 2, 1, 18, 17, 3, 19, 64};
        for (int c = 0; c < ColourCount; ++c)
            QCOMPARE(ColourMask(static_cast<Colour>(c)), expected[c]);
        QCOMPARE(LightListFiller, 255);
    }

    void soundListLengths()
    {
        QCOMPARE(SoundListLength(1), 20);
        QCOMPARE(SoundListLength(19), 20);
        QCOMPARE(SoundListLength(20), 40);
        QCOMPARE(SoundListLength(39), 40);
        QCOMPARE(SoundListLength(59), 60);
        QCOMPARE(SoundListLength(79), 80);
        QCOMPARE(SoundListFiller, 222);
    }

    void framingAndExecuteBytes()
    {
        QCOMPARE(ModeDirectLight, 1);
        QCOMPARE(ModeLightProgram, 2);
        QCOMPARE(ModeDirectSound, 3);
        QCOMPARE(ModeSoundList, 4);
        QCOMPARE(NextSoundBlock, 5);
        QCOMPARE(LightListFollows, 8);
        QCOMPARE(ProgramEnd, 10);
        QCOMPARE(CloseLightProgram, 1);
        QCOMPARE(CloseLightAndSound, 2);
        QCOMPARE(RunLightProgram, 6);
        QCOMPARE(RunLightAndSound, 9);
        QCOMPARE(RunSoundOnly, 7);
    }

    void paddedPrograms()
    {
        const QStringList sample = PadLightProgram({SampleProgram[0], SampleProgram[1], SampleProgram[2]});
        QStringList expected = {QStringLiteral("162"), QStringLiteral("178"), QStringLiteral("186")};
        for (int i = 0; i < 17; ++i)
            expected.append(QStringLiteral("223"));
        QCOMPARE(sample, expected);

        QList<int> twenty;
        for (int i = 0; i < 20; ++i)
            twenty.append(160 + i);
        QVERIFY(!PadLightProgram(twenty).contains(QStringLiteral("223")));
        twenty.append(200);
        QCOMPARE(PadLightProgram(twenty).size(), 20);
        QCOMPARE(PadLightProgram({}).size(), 20);
    }

    void variantLabels()
    {
        QCOMPARE(VariantLabel(0), QStringLiteral("0.5秒"));
        QCOMPARE(VariantLabel(3), QStringLiteral("3秒"));
        QCOMPARE(VariantLabel(6), QStringLiteral("FADE IN"));
        QCOMPARE(VariantLabel(7), QStringLiteral("FADE OUT"));
        QVERIFY(VariantLabel(8).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandCodes)
#include "test_command_codes.moc"
