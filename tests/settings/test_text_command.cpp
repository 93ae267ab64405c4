#include "TextCommand.h"

#include <QTest>

namespace {

TTextCommand::Words DefaultWords()
{
    return {QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue"), QStringLiteral("yellow"),
            QStringLiteral("purple"), QStringLiteral("lightblue"), QStringLiteral("white")};
}

} // namespace

class TestTextCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commands_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code"); // -1: "文法エラー"
        QTest::addColumn<int>("duration");
        QTest::newRow("red 1") << "red(1);" << 161 << 1000;
        QTest::newRow("blue 0.5") << "blue(0.5);" << 176 << 500;
        QTest::newRow("yellow 5") << "yellow(5);" << 189 << 5000;
        QTest::newRow("green fade in") << "green(6);" << 174 << 0;
        QTest::newRow("white fade out") << "white(7);" << 215 << 0;
        QTest::newRow("red 0.5 lowest") << "red(0.5);" << 160 << 500;
        QTest::newRow("purple 3") << "purple(3);" << 195 << 3000;
        QTest::newRow("lightblue 2") << "lightblue(2);" << 202 << 2000;
        QTest::newRow("8") << "red(8);" << -1 << 0;
        QTest::newRow("0") << "red(0);" << -1 << 0;
        QTest::newRow("space in argument") << "red( 1);" << -1 << 0;
        QTest::newRow("empty argument") << "red();" << -1 << 0;
        QTest::newRow("leading zero") << "red(01);" << -1 << 0;
        QTest::newRow("0.50") << "red(0.50);" << -1 << 0;
        QTest::newRow("off") << "off(1);" << -1 << 0;
        QTest::newRow("space before word") << " red(1);" << -1 << 0;
        QTest::newRow("space after semicolon") << "red(1); " << -1 << 0;
        QTest::newRow("capital") << "Red(1);" << -1 << 0;
        QTest::newRow("no semicolon") << "red(1)" << -1 << 0;
        QTest::newRow("text after") << "red(1)x;" << -1 << 0;
        QTest::newRow("two semicolons") << "red(1);;" << -1 << 0;
        QTest::newRow("semicolon inside") << "red(1;);" << -1 << 0;
        QTest::newRow("no parenthesis") << "red1;" << -1 << 0;
        QTest::newRow("no closing") << "red(1;" << -1 << 0;
        QTest::newRow("closing first") << "red)1(;" << -1 << 0;
        QTest::newRow("empty") << "" << -1 << 0;
        QTest::newRow("two commands") << "red(1);blue(1);" << -1 << 0;
    }

    void commands()
    {
        QFETCH(QString, text);
        QFETCH(int, code);
        QFETCH(int, duration);
        const TTextCommand command = TTextCommand::Parse(text, DefaultWords());
        QCOMPARE(command.IsValid(), code >= 0);
        if (code >= 0) {
            QCOMPARE(command.StepCode(), code);
            QCOMPARE(command.DurationMs(), duration);
        }
    }

    void wordIsKnownBeforeTheArgumentIsJudged()
    {
        const TTextCommand command = TTextCommand::Parse(QStringLiteral("blue(9);"), DefaultWords());
        QVERIFY(!command.IsValid());
        QCOMPARE(command.Colour(), 2);
    }

    void changedWordsAreTheCommands()
    {
        TTextCommand::Words words = DefaultWords();
        words[0] = QStringLiteral("あか");
        QVERIFY(!TTextCommand::Parse(QStringLiteral("red(1);"), words).IsValid());
        QCOMPARE(TTextCommand::Parse(QStringLiteral("あか(1);"), words).StepCode(), 161);
        // The first equal word wins, in colour order.
        words[6] = QStringLiteral("あか");
        QCOMPARE(TTextCommand::Parse(QStringLiteral("あか(7);"), words).StepCode(), 167);
    }
};

QTEST_GUILESS_MAIN(TestTextCommand)
#include "test_text_command.moc"
