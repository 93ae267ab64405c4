#include "MelodyColours.h"
#include "MelodyProgram.h"
#include "MelodyText.h"
#include "NoteCode.h"
#include "NoteLetters.h"
#include "SoundPlayer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray Le32(quint32 v)
{
    QByteArray b(4, 0);
    qToLittleEndian(v, b.data());
    return b;
}

// A silent wave file: 8000 Hz, mono, 16 bit, 16000 bytes a second; with
// `oddChunk` an odd-sized "LIST" chunk comes before the format.
QByteArray Wave(quint32 dataBytes, bool oddChunk = false)
{
    const QByteArray fmt = QByteArray::fromHex("01000100401f0000803e000002001000");
    const QByteArray list = oddChunk ? "LIST" + Le32(3) + "abc" + QByteArray(1, 0) : QByteArray();
    return "RIFF" + Le32(0) + "WAVE" + list + "fmt " + Le32(16) + fmt + "data" + Le32(dataBytes) +
           QByteArray(static_cast<qsizetype>(dataBytes), 0);
}

} // namespace

class TestMelody : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lettersAndCodesBothWays_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<int>("code");
        QTest::newRow("short do") << 0 << 0 << "A" << 16;
        QTest::newRow("short rest") << 0 << 13 << "N" << 29;
        QTest::newRow("normal do") << 1 << 0 << "O" << 32;
        QTest::newRow("normal fa#") << 1 << 6 << "U" << 38;
        QTest::newRow("normal si") << 1 << 11 << "Z" << 43;
        QTest::newRow("normal high do") << 1 << 12 << "o" << 44;
        QTest::newRow("normal rest") << 1 << 13 << "p" << 45;
        QTest::newRow("long do") << 2 << 0 << "a" << 48;
        QTest::newRow("long high do") << 2 << 12 << "m" << 60;
        QTest::newRow("long rest") << 2 << 13 << "n" << 61;
    }
    void lettersAndCodesBothWays()
    {
        QFETCH(int, length);
        QFETCH(int, key);
        QFETCH(QString, letter);
        QFETCH(int, code);
        QCOMPARE(NoteLetters::LetterFor(length, key), letter.at(0));
        QCOMPARE(NoteLetters::CodeOf(letter.at(0)), std::optional<int>(code));
        QCOMPARE(NoteLetters::KeyIndexOf(letter.at(0)), std::optional<int>(key));
        QCOMPARE(NoteCode::For(length, key), code);
        QCOMPARE(NoteCode::KeyIndexOf(code), key);
    }

    void everyLetterIsDistinctAndNothingElseIsALetter()
    {
        QSet<QChar> seen;
        for (int length = 0; length < 3; ++length)
            for (int key = 0; key < 14; ++key)
                seen.insert(NoteLetters::LetterFor(length, key));
        QCOMPARE(seen.size(), 42);
        for (const QChar c : QStringLiteral("?@q z0 あ{"))
            QVERIFY2(!NoteLetters::CodeOf(c).has_value(), qPrintable(QString(c)));
        QCOMPARE(NoteCode::WaveFile(16), QStringLiteral("wave\\16.wav"));
    }

    // A script of edits: a key letter inserts, "<" deletes before the cursor,
    // "|n" moves the cursor to staff position n.
    void edits_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("notes");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("refused");
        QTest::newRow("append") << "ACE" << "ACE" << 3 << 0;
        QTest::newRow("insert at 0 moves every note on") << "ACE|0B" << "BACE" << 1 << 0;
        QTest::newRow("insert in the middle") << "ACE|2D" << "ACDE" << 3 << 0;
        QTest::newRow("delete before the cursor") << "ACE|2<" << "AE" << 1 << 0;
        QTest::newRow("delete at 0 refused, notes kept") << "ACE|0<" << "ACE" << 0 << 1;
        QTest::newRow("delete on empty refused") << "<" << "" << 0 << 1;
        QTest::newRow("click beyond the last note") << "AC|60E" << "ACE" << 3 << 0;
        QTest::newRow("click before the first") << "AC|-5E" << "EAC" << 1 << 0;
        QTest::newRow("delete all one by one") << "ACE<<<<" << "" << 0 << 1;
    }
    void edits()
    {
        QFETCH(QString, script);
        QFETCH(QString, notes);
        QFETCH(int, cursor);
        QFETCH(int, refused);
        TMelodyText melody;
        int refusals = 0;
        for (qsizetype i = 0; i < script.size(); ++i) {
            const QChar c = script.at(i);
            if (c == u'<') {
                refusals += melody.DeleteBeforeCursor() ? 0 : 1;
            } else if (c == u'|') {
                qsizetype end = i + 1;
                while (end < script.size() && (script.at(end).isDigit() || script.at(end) == u'-'))
                    ++end;
                melody.MoveCursor(script.mid(i + 1, end - i - 1).toInt());
                i = end - 1;
            } else {
                refusals += melody.Insert(c) ? 0 : 1;
            }
        }
        QCOMPARE(melody.Text(), notes + QString(79 - notes.size(), u'?'));
        QCOMPARE(melody.Count(), notes.size());
        QCOMPARE(melody.Cursor(), cursor);
        QCOMPARE(refusals, refused);
    }

    void the79thNoteIsAcceptedAndThe80thRefused()
    {
        TMelodyText melody;
        for (int i = 0; i < 78; ++i)
            QVERIFY(melody.Insert(u'A'));
        QVERIFY(!melody.IsFull());
        melody.MoveCursor(0);
        QVERIFY(melody.Insert(u'n'));
        QVERIFY(melody.IsFull());
        QVERIFY(!melody.Insert(u'B'));
        QCOMPARE(melody.Text().size(), 79);
        QCOMPARE(melody.Text().front(), u'n');
        QCOMPARE(melody.Text().back(), u'A');
        QVERIFY(!melody.Insert(u'!'));
    }

    void codesStopAtTheFirstEmptyPosition()
    {
        TMelodyText melody;
        for (const QChar c : QStringLiteral("AOaopnm"))
            melody.Insert(c);
        QCOMPARE(melody.NoteCodes(), (QList<int>{16, 32, 48, 44, 45, 61, 60}));
        melody.Clear();
        QVERIFY(melody.NoteCodes().isEmpty());
        QCOMPARE(melody.Text(), QString(79, u'?'));
    }

    void storedTextIsRepaired_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("notes");
        QTest::addColumn<bool>("repaired");
        QTest::newRow("clean") << "ACE" + QString(76, u'?') << "ACE" << false;
        QTest::newRow("empty line") << "" << "" << true;
        QTest::newRow("short line") << "ACE" << "ACE" << true;
        QTest::newRow("unknown characters dropped") << "A1C qE" + QString(74, u'?') << "ACE" << true;
        QTest::newRow("letters after the first ? are no notes") << "AC?E" + QString(75, u'?') << "AC" << true;
        QTest::newRow("full") << QString(79, u'm') << QString(79, u'm') << false;
        QTest::newRow("too long cut") << QString(85, u'm') << QString(79, u'm') << true;
    }
    void storedTextIsRepaired()
    {
        QFETCH(QString, stored);
        QFETCH(QString, notes);
        QFETCH(bool, repaired);
        TMelodyText melody;
        melody.Insert(u'B');
        QCOMPARE(melody.Load(stored), repaired);
        QCOMPARE(melody.Text(), notes + QString(79 - notes.size(), u'?'));
        QCOMPARE(melody.Count(), notes.size());
        QCOMPARE(melody.Cursor(), notes.size());
    }

    void soundListIsPaddedToTheNextTwenty_data()
    {
        QTest::addColumn<int>("notes");
        QTest::addColumn<int>("entries");
        QTest::newRow("1") << 1 << 20;
        QTest::newRow("19") << 19 << 20;
        QTest::newRow("20") << 20 << 40;
        QTest::newRow("39") << 39 << 40;
        QTest::newRow("40") << 40 << 60;
        QTest::newRow("60") << 60 << 80;
        QTest::newRow("79") << 79 << 80;
    }
    void soundListIsPaddedToTheNextTwenty()
    {
        QFETCH(int, notes);
        QFETCH(int, entries);
        const QStringList list = MelodyProgram::SoundList(QList<int>(notes, 37));
        QCOMPARE(list.size(), entries);
        QCOMPARE(list.count(QStringLiteral("37")), notes);
        QCOMPARE(list.count(QStringLiteral("222")), entries - notes);
        QCOMPARE(list.indexOf(QStringLiteral("222")), notes);
    }

    void lightListIsKeyColoursThenSix255()
    {
        MelodyProgram::KeyColours colours;
        colours.fill(64);
        colours[0] = 16;
        colours[13] = 19;
        const QStringList list = MelodyProgram::LightList(colours);
        QCOMPARE(list.size(), 20);
        QCOMPARE(list.first(), QStringLiteral("16"));
        QCOMPARE(list.at(13), QStringLiteral("19"));
        QCOMPARE(list.mid(1, 12), QStringList(12, QStringLiteral("64")));
        QCOMPARE(list.mid(14), QStringList(6, QStringLiteral("255")));
    }

    void colourTableMatchesTheLampMask()
    {
        // Colour codes are masks: red 16, green 2, blue 1.
        const int expected[] = {16, 2, 1, 18, 17, 3, 19, 64};
        for (int i = 0; i < 8; ++i) {
            const auto &colour = MelodyColours::Palette().at(static_cast<size_t>(i));
            QCOMPARE(colour.code, expected[i]);
            QCOMPARE(&MelodyColours::ForCode(colour.code), &colour);
        }
        QCOMPARE(QString::fromLatin1(MelodyColours::ForCode(0).blackKeyPicture), QStringLiteral("picture\\SOUND\\black.bmp"));
        QCOMPARE(QString::fromLatin1(MelodyColours::ForCode(999).whiteKeyPicture), QStringLiteral("picture\\SOUND\\white.bmp"));
        QCOMPARE(QColor(MelodyColours::ForCode(3).marker), QColor(0, 255, 255));
    }

    void waveDurationComesFromTheHeader()
    {
        QTemporaryDir dir;
        auto write = [&](const QString &name, const QByteArray &bytes) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        const QByteArray wave = Wave(8000, true);
        write(QStringLiteral("a.wav"), wave);
        QCOMPARE(TSoundPlayer::WaveDurationMs(dir.filePath(QStringLiteral("a.wav"))), 500);
        write(QStringLiteral("b.wav"), wave.left(30));
        QCOMPARE(TSoundPlayer::WaveDurationMs(dir.filePath(QStringLiteral("b.wav"))), -1);
        write(QStringLiteral("c.wav"), "not a wave at all");
        QCOMPARE(TSoundPlayer::WaveDurationMs(dir.filePath(QStringLiteral("c.wav"))), -1);
        QCOMPARE(TSoundPlayer::WaveDurationMs(dir.filePath(QStringLiteral("missing.wav"))), -1);
    }

    // A note is played to its end while timers go on; a note without its
    // wave file takes no time.
    void playToEndWaitsForTheSound()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("wave")));
        QFile file(dir.filePath(QStringLiteral("wave/16.wav")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Wave(4800));  // 300 ms
        file.close();

        TSoundPlayer player(nullptr, dir.path());
        player.Preload({16, 17});
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(20);
        QElapsedTimer clock;
        clock.start();
        player.PlayToEnd(16);
        const qint64 took = clock.elapsed();
        timer.stop();
        QVERIFY2(took >= 300, qPrintable(QString::number(took)));
        QVERIFY(ticks > 0);

        clock.restart();
        player.PlayToEnd(17);
        QVERIFY(clock.elapsed() < 300);
    }
};

QTEST_GUILESS_MAIN(TestMelody)
#include "test_melody.moc"
