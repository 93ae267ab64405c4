#include "TextProgramChecker.h"
#include "LightProgram.h"

#include <QTest>

namespace {
QStringList Codes(std::initializer_list<int> codes, int fillTo = 20)
{
    QStringList list;
    for (int c : codes)
        list.append(QString::number(c));
    while (list.size() < fillTo)
        list.append(QStringLiteral("223"));
    return list;
}

QString Lines(const QStringList &lines) { return lines.join(QStringLiteral("\r\n")); }

QString Repeat(const QString &line, int times)
{
    QStringList lines;
    for (int i = 0; i < times; ++i)
        lines.append(line);
    return Lines(lines);
}
} // namespace

class TestTextProgram : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void failures_data();
    void failures();
    void programs_data();
    void programs();
    void wordBoxes();
    void expander();
};

void TestTextProgram::failures_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString twoLines = QStringLiteral("文法エラー1行目(命令数は１行に１つのみです)\n"
                                            "文法エラー1行目(全角スペースは使用しないで下さい)");
    QTest::newRow("only blanks and comments") << QStringLiteral("\r\n  \r\n// x\r\n\t//y") << "文法エラー「命令がありません」";
    QTest::newRow("empty text") << QString() << "文法エラー「命令がありません」";
    QTest::newRow("21 lines, first faulty") << (QStringLiteral("bad\r\n") + Repeat(QStringLiteral("red(1);"), 20))
                                            << "文法エラー「命令は20個までです」";
    QTest::newRow("comment lines not counted") << QStringLiteral("// first\r\nred(1)") << "文法エラー1行目「;」";
    QTest::newRow("line 3 no semicolon") << QStringLiteral("red(1);\r\n\r\nred(2);\r\nred(3)") << "文法エラー3行目「;」";
    QTest::newRow("off(6)") << QStringLiteral("off(6);") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("off(7)") << QStringLiteral("off(7);") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("red(8)") << QStringLiteral("red(8);") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("red(9)") << QStringLiteral("red(9);") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("red(1.0)") << QStringLiteral("red(1.0);") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("red(01)") << QStringLiteral("red(01);") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("red( 1)") << QStringLiteral("red( 1);") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("red()") << QStringLiteral("red();") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("Red case") << QStringLiteral("Red(1);") << "文法エラー「1行目の命令が間違っています」";
    QTest::newRow("two commands") << QStringLiteral("red(1);red(2);") << twoLines;
    QTest::newRow("trailing full-width space") << QStringLiteral("red(1);　") << twoLines;
    QTest::newRow("leading full-width space") << QStringLiteral("　red(1);") << "文法エラー「1行目の命令が間違っています」";
    QTest::newRow("red(1)") << QStringLiteral("red(1)") << "文法エラー1行目「;」";
    QTest::newRow("red1)") << QStringLiteral("red1);") << "文法エラー1行目「(」";
    QTest::newRow("red(1") << QStringLiteral("red(1;") << "文法エラー1行目「)」";
    QTest::newRow("red(1)x") << QStringLiteral("red(1)x;") << "文法エラー1行目「;」";
    QTest::newRow("wait(1)") << QStringLiteral("wait(1);") << "文法エラー「1行目の命令が間違っています」";
    QTest::newRow("loop(0)") << QStringLiteral("loop(0);\r\nred(1);\r\njump;") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("loop(13)") << QStringLiteral("loop(13);\r\nred(1);\r\njump;") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("loop(x)") << QStringLiteral("loop(x);\r\nred(1);\r\njump;") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("loop(+3)") << QStringLiteral("loop(+3);\r\nred(1);\r\njump;") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("loop(0.5)") << QStringLiteral("loop(0.5);\r\nred(1);\r\njump;") << "文法エラー「1行目の引数が間違っています」";
    QTest::newRow("nested loop") << QStringLiteral("loop(2);\r\nloop(2);") << "文法エラー「2行目　繰り返しが終了していません」";
    QTest::newRow("jump first") << QStringLiteral("jump;") << "文法エラー「1行目　繰り返しが開始されてません」";
    QTest::newRow("second jump") << QStringLiteral("loop(2);\r\nred(1);\r\njump;\r\njump;")
                                 << "文法エラー「4行目　繰り返しが開始されてません」";
    QTest::newRow("empty body") << (Repeat(QStringLiteral("red(1);"), 4) + QStringLiteral("\r\nloop(2);\r\njump;"))
                                << "文法エラー「6行目　繰り返しが開始との位置関係が間違っています」";
    QTest::newRow("repeat start on 19") << (Repeat(QStringLiteral("red(1);"), 18) + QStringLiteral("\r\nloop(2);\r\nred(1);"))
                                        << "文法エラー「19行目の繰り返しの位置が間違っています」";
    QTest::newRow("position before count") << (Repeat(QStringLiteral("red(1);"), 18) + QStringLiteral("\r\nloop(99);"))
                                           << "文法エラー「19行目の繰り返しの位置が間違っています」";
    QTest::newRow("not closed") << QStringLiteral("loop(2);\r\nred(1);") << "文法エラー　「繰り返しが終了されてません」";
    QTest::newRow("jump with space before ;") << QStringLiteral("loop(2);\r\nred(1);\r\njump ;")
                                              << "文法エラー3行目「(」";
    QTest::newRow("first error wins") << QStringLiteral("red(1);\r\nblue(9);\r\nred(1)") << "文法エラー「2行目の引数が間違っています」";
}

void TestTextProgram::failures()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    QStringList words = TTextProgramChecker::DefaultWords();
    const auto result = TTextProgramChecker::Check(text, words);
    QVERIFY(!result.ok);
    QCOMPARE(result.message, message);
    QVERIFY(result.programList.isEmpty());
    QVERIFY(result.expandedList.isEmpty());
}

void TestTextProgram::programs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("program");
    QTest::addColumn<QStringList>("expanded");
    QTest::newRow("colour codes") << QStringLiteral("red(0.5);\nblue(2);\r\nyellow(2);\rwhite(7);\r\noff(5);")
                                  << Codes({160, 178, 186, 215, 221}) << Codes({160, 178, 186, 215, 221}, 0);
    QTest::newRow("every colour, variant 6")
        << QStringLiteral("red(6);\ngreen(6);\nblue(6);\nyellow(6);\npurple(6);\nlightblue(6);\nwhite(6);\noff(0.5);")
        << Codes({166, 174, 182, 190, 198, 206, 214, 216}) << Codes({166, 174, 182, 190, 198, 206, 214, 216}, 0);
    QTest::newRow("trailing comment") << QStringLiteral("  red(1); // lamp on  ") << Codes({161}) << Codes({161}, 0);
    QTest::newRow("wait") << QStringLiteral("wait;") << Codes({96}) << Codes({96}, 0);
    QTest::newRow("text after jump and wait") << QStringLiteral("loop(2);\nred(1);\njump; then\nwait; more")
                                              << Codes({64, 161, 85, 96}) << Codes({161, 161, 96}, 0);
    QTest::newRow("loop(3)") << QStringLiteral("loop(3);\r\nred(1);\r\njump;") << Codes({64, 161, 86})
                             << Codes({161, 161, 161}, 0);
    QTest::newRow("loop(2) body of three") << QStringLiteral("loop(2);\nred(1);\nwait;\nblue(1);\njump;")
                                           << Codes({64, 161, 96, 177, 85})
                                           << Codes({161, 96, 177, 161, 96, 177}, 0);
    QTest::newRow("loop(12)") << QStringLiteral("loop(12);\nred(1);\njump;") << Codes({64, 161, 95})
                              << Codes({161, 161, 161, 161, 161, 161, 161, 161, 161, 161, 161, 161}, 0);
    QTest::newRow("loop(03) is three") << QStringLiteral("loop(03);\nred(1);\njump;") << Codes({64, 161, 86})
                                       << Codes({161, 161, 161}, 0);
    QTest::newRow("two repeats") << QStringLiteral("red(2);\nloop(2);\ngreen(1);\njump;\nloop(3);\nblue(1);\njump;")
                                 << Codes({162, 65, 169, 85, 68, 177, 86})
                                 << Codes({162, 169, 169, 177, 177, 177}, 0);
    QTest::newRow("twenty lines, no filler") << Repeat(QStringLiteral("green(3);"), 20)
                                             << Codes({171, 171, 171, 171, 171, 171, 171, 171, 171, 171,
                                                       171, 171, 171, 171, 171, 171, 171, 171, 171, 171})
                                             << Codes({171, 171, 171, 171, 171, 171, 171, 171, 171, 171,
                                                       171, 171, 171, 171, 171, 171, 171, 171, 171, 171}, 0);
    {
        QStringList program = Codes({}, 17);
        for (QString &c : program)
            c = QStringLiteral("161");
        program << QStringLiteral("81") << QStringLiteral("177") << QStringLiteral("85");
        QStringList expanded = Codes({}, 17);
        for (QString &c : expanded)
            c = QStringLiteral("161");
        expanded << QStringLiteral("177") << QStringLiteral("177");
        QTest::newRow("repeat 18 to 20") << (Repeat(QStringLiteral("red(1);"), 17)
                                             + QStringLiteral("\nloop(2);\nblue(1);\njump;"))
                                         << program << expanded;
    }
}

void TestTextProgram::programs()
{
    QFETCH(QString, text);
    QFETCH(QStringList, program);
    QFETCH(QStringList, expanded);
    QStringList words = TTextProgramChecker::DefaultWords();
    const auto result = TTextProgramChecker::Check(text, words);
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(result.programList, program);
    QCOMPARE(result.expandedList, expanded);
}

void TestTextProgram::wordBoxes()
{
    // An empty red box is refused before the text is read.
    QStringList words = TTextProgramChecker::DefaultWords();
    words[TTextProgramChecker::WordRed] = QString();
    QCOMPARE(TTextProgramChecker::Check(QStringLiteral("garbage"), words).message,
             QStringLiteral("命令を正しく設定して下さい"));
    // A box of blanks is not empty: it is trimmed, the later boxes too, and the check goes on.
    words[TTextProgramChecker::WordRed] = QStringLiteral("  \t");
    words[TTextProgramChecker::WordJump] = QStringLiteral(" jump ");
    QCOMPARE(TTextProgramChecker::Check(QStringLiteral("red(1);"), words).message,
             QStringLiteral("文法エラー「1行目の命令が間違っています」"));
    QCOMPARE(words.at(TTextProgramChecker::WordRed), QString());
    QCOMPARE(words.at(TTextProgramChecker::WordJump), QStringLiteral("jump"));

    // Boxes are trimmed as they are tested; the trimmed texts stay after a failure.
    words = TTextProgramChecker::DefaultWords();
    words[TTextProgramChecker::WordRed] = QStringLiteral(" あか ");
    words[TTextProgramChecker::WordJump] = QStringLiteral("\tend ");
    words[TTextProgramChecker::WordWait] = QStringLiteral("w ");
    auto result = TTextProgramChecker::Check(QStringLiteral("red(1);"), words);
    QCOMPARE(result.message, QStringLiteral("文法エラー「1行目の命令が間違っています」"));
    QCOMPARE(words.at(TTextProgramChecker::WordRed), QStringLiteral("あか"));
    QCOMPARE(words.at(TTextProgramChecker::WordJump), QStringLiteral("end"));
    QCOMPARE(words.at(TTextProgramChecker::WordWait), QStringLiteral("w "));
    result = TTextProgramChecker::Check(QStringLiteral("あか(1);\nloop(2);\nあか(2);\nend;\nw ;"), words);
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(result.programList, Codes({161, 65, 162, 85, 96}));

    // The same word in two boxes: the earlier box wins.
    words = TTextProgramChecker::DefaultWords();
    words[TTextProgramChecker::WordBlue] = QStringLiteral("red");
    result = TTextProgramChecker::Check(QStringLiteral("red(1);"), words);
    QCOMPARE(result.programList, Codes({161}));

    // Only the ASCII blanks are trimmed.
    QCOMPARE(TTextProgramChecker::TrimAscii(QStringLiteral("\x01 　a　 \t")), QStringLiteral("　a　"));
}

void TestTextProgram::expander()
{
    // Fillers inside an open repeat are skipped, as are stray codes outside one.
    QCOMPARE(ExpandLightProgram(Codes({161, 223, 84, 64, 162, 223, 163, 87}), {4}),
             Codes({161, 162, 163, 162, 163, 162, 163, 162, 163}, 0));
    // A repeat whose count is not known shows its body as written, once.
    QCOMPARE(ExpandLightProgram(Codes({64, 161, 85, 65, 162, 96, 85}), {2}), Codes({161, 161, 162, 96}, 0));
}

QTEST_GUILESS_MAIN(TestTextProgram)
#include "test_textprogram.moc"
