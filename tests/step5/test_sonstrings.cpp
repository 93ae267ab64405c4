#include "Sonstrings.h"

#include <QTest>

#include <stdexcept>

class TestSonStrings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void textRoundTrip();
    void wrapMixedWidths_data();
    void wrapMixedWidths();
    void tabs();
    void editsAndUndoOrder();
    void undoBudget();
    void failingStepLeavesText();
    void words();
};

void TestSonStrings::textRoundTrip()
{
    TSonStrings store;
    QCOMPARE(store.LineCount(), 1);
    QCOMPARE(store.Text(), QString());
    store.SetText(QStringLiteral("a\nb\r\nc\rd"));
    QCOMPARE(store.LineCount(), 4);
    QCOMPARE(store.Text(), QStringLiteral("a\r\nb\r\nc\r\nd"));
    store.SetText(QStringLiteral("x\r\n"));
    QCOMPARE(store.LineCount(), 2);
    QCOMPARE(store.Text(), QStringLiteral("x\r\n"));
    store.Clear();
    QCOMPARE(store.LineCount(), 1);
    QCOMPARE(store.Text(), QString());
}

void TestSonStrings::wrapMixedWidths_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QList<int>>("rowLengths");
    QTest::newRow("100 ascii, one row") << QString(100, QLatin1Char('a')) << QList<int>{100};
    QTest::newRow("101 ascii") << QString(101, QLatin1Char('a')) << QList<int>{100, 1};
    QTest::newRow("50 double-byte") << QString(50, QChar(0x3042)) << QList<int>{50};
    // 99 single bytes and a double-byte character: it would straddle column 100.
    QTest::newRow("no split of double-byte") << (QString(99, QLatin1Char('a')) + QChar(0x3042))
                                             << QList<int>{99, 1};
    QTest::newRow("half-width katakana is one byte") << QString(100, QChar(0xFF71)) << QList<int>{100};
    QTest::newRow("three rows") << (QString(60, QChar(0x6F22)) + QString(10, QLatin1Char('x')))
                                << QList<int>{50, 20};
    QTest::newRow("empty line") << QString() << QList<int>{0};
}

void TestSonStrings::wrapMixedWidths()
{
    QFETCH(QString, line);
    QFETCH(QList<int>, rowLengths);
    TSonStrings store;
    store.SetText(line + QStringLiteral("\r\nnext"));
    QList<int> lengths;
    for (const TSonRow &row : store.Rows()) {
        if (row.line == 0)
            lengths.append(row.length);
    }
    QCOMPARE(lengths, rowLengths);
    QVERIFY(store.Rows().at(rowLengths.size() - 1).endsLine);
    QCOMPARE(store.Text(), line + QStringLiteral("\r\nnext"));
    // The caret at the end of the line sits on its last row.
    QCOMPARE(store.RowOf({0, static_cast<int>(line.size())}), static_cast<int>(rowLengths.size()) - 1);
}

void TestSonStrings::tabs()
{
    TSonStrings store;
    store.SetText(QStringLiteral("a\tb\t\tc"));
    QList<int> columns;
    QCOMPARE(store.RowDisplayText(0, &columns), QStringLiteral("a     b           c"));
    QCOMPARE(columns, (QList<int>{0, 1, 6, 7, 12, 18, 19}));
    QCOMPARE(store.PosAtColumn(0, 7).index, 3);

    // A tab counts its expanded width towards the wrap column.
    store.SetText(QString(97, QLatin1Char('a')) + QStringLiteral("\tb"));
    QCOMPARE(store.RowCount(), 2);
    QCOMPARE(store.Rows().at(0).length, 97);

    store.SetWrapColumn(3);
    QCOMPARE(store.WrapColumn(), 10);
}

void TestSonStrings::editsAndUndoOrder()
{
    TSonStrings store;
    store.SetText(QStringLiteral("red(1);"));
    TSonPos pos{0, 7};
    for (const QChar c : QStringLiteral("\nblue"))
        pos = store.Insert(pos, QString(c));
    QCOMPARE(store.Text(), QStringLiteral("red(1);\r\nblue"));
    QCOMPARE(pos, (TSonPos{1, 4}));
    store.Replace({0, 4}, {0, 5}, QStringLiteral("2"));
    store.Remove({0, 7}, {1, 0});
    QCOMPARE(store.Text(), QStringLiteral("red(2);blue"));

    // Newest first: the join, then the replacement, then the typed word, then the line break.
    TSonPos caret;
    QVERIFY(store.Undo(&caret));
    QCOMPARE(store.Text(), QStringLiteral("red(2);\r\nblue"));
    QCOMPARE(caret, (TSonPos{1, 0}));
    QVERIFY(store.Undo(&caret));
    QCOMPARE(store.Text(), QStringLiteral("red(1);\r\nblue"));
    QVERIFY(store.Undo(&caret));
    QCOMPARE(store.Text(), QStringLiteral("red(1);\r\n"));
    QVERIFY(store.Undo(&caret));
    QCOMPARE(store.Text(), QStringLiteral("red(1);"));
    QCOMPARE(caret, (TSonPos{0, 7}));
    QVERIFY(!store.Undo(&caret));

    // Redo makes them again, oldest undone last, and undo takes them back again.
    QVERIFY(store.Redo(&caret));
    QCOMPARE(store.Text(), QStringLiteral("red(1);\r\n"));
    QCOMPARE(caret, (TSonPos{1, 0}));
    QVERIFY(store.Redo(&caret));
    QVERIFY(store.Redo(&caret));
    QCOMPARE(store.Text(), QStringLiteral("red(2);\r\nblue"));
    QVERIFY(store.Undo(&caret));
    QCOMPARE(store.Text(), QStringLiteral("red(1);\r\nblue"));
    QVERIFY(store.Redo(&caret));
    QVERIFY(store.Redo(&caret));
    QCOMPARE(store.Text(), QStringLiteral("red(2);blue"));
    QVERIFY(!store.Redo(&caret));

    // A new edit after an undo drops what was undone.
    QVERIFY(store.Undo(&caret));
    store.Insert({0, 0}, QStringLiteral("x"));
    QVERIFY(!store.CanRedo());
    QVERIFY(!store.Redo(&caret));
    QCOMPARE(store.Text(), QStringLiteral("xred(2);\r\nblue"));

    // Setting the text drops the history that no longer fits it.
    store.Insert({0, 0}, QStringLiteral("x"));
    store.Undo(&caret);
    store.SetText(QStringLiteral("new"));
    QVERIFY(!store.CanUndo());
    QVERIFY(!store.CanRedo());
}

void TestSonStrings::undoBudget()
{
    TSonStrings store;
    const QString big(TSonStrings::UndoBudget / 2 - 10, QLatin1Char('a'));
    store.Insert({0, 0}, big);
    store.Insert(store.End(), QStringLiteral("\n"));
    store.Insert(store.End(), big);
    QCOMPARE(store.UndoCount(), 3);
    QVERIFY(store.UndoBytes() <= TSonStrings::UndoBudget);
    // A third half drops the oldest record.
    store.Insert(store.End(), QStringLiteral("\n") + big);
    QCOMPARE(store.UndoCount(), 3);
    QVERIFY(store.UndoBytes() <= TSonStrings::UndoBudget);
    TSonPos caret;
    while (store.Undo(&caret)) {
    }
    QCOMPARE(store.Text(), big);
    // What was undone waits for a redo until the next edit frees its room.
    QVERIFY(store.UndoBytes() > TSonStrings::UndoBudget / 2);
    store.Insert({0, 0}, QStringLiteral("y"));
    QCOMPARE(store.UndoBytes(), 1);

    // Double-byte characters count two bytes each.
    store.SetText(QString());
    store.Insert({0, 0}, QString(TSonStrings::UndoBudget / 2, QChar(0x3042)));
    QCOMPARE(store.UndoBytes(), TSonStrings::UndoBudget);

    // An edit larger than the whole budget is not recorded, and the older
    // records, which no longer describe the text, are dropped with it.
    store.SetText(QStringLiteral("keep"));
    store.Insert({0, 4}, QStringLiteral("!"));
    store.Insert({0, 0}, QString(TSonStrings::UndoBudget + 1, QLatin1Char('z')));
    QVERIFY(!store.CanUndo());
    QCOMPARE(store.Line(0).size(), TSonStrings::UndoBudget + 6);
}

void TestSonStrings::failingStepLeavesText()
{
    for (const char *failing : {"record", "wrap"}) {
        TSonStrings store;
        store.SetText(QStringLiteral("red(1);"));
        const auto before = store.Save();
        store.SetFaultHook([failing](const char *step) {
            if (qstrcmp(step, failing) == 0)
                throw std::runtime_error("injected");
        });
        QString code;
        try {
            store.Insert({0, 0}, QStringLiteral("x"));
        } catch (const TSonStepError &error) {
            code = error.Text();
        }
        QCOMPARE(code, qstrcmp(failing, "record") == 0 ? QStringLiteral("Error:OC001")
                                                       : QStringLiteral("Error:OC004 injected"));
        store.Restore(before);
        QCOMPARE(store.Text(), QStringLiteral("red(1);"));
        QCOMPARE(store.RowCount(), 1);
    }
}

void TestSonStrings::words()
{
    TSonStrings store;
    store.SetText(QStringLiteral("red(1);  blue\r\nあいうカナ"));
    QCOMPARE(store.WordRight({0, 0}), (TSonPos{0, 3}));
    QCOMPARE(store.WordRight({0, 3}), (TSonPos{0, 4}));
    QCOMPARE(store.WordRight({0, 6}), (TSonPos{0, 9}));
    QCOMPARE(store.WordRight({0, 13}), (TSonPos{1, 0}));
    QCOMPARE(store.WordRight({1, 0}), (TSonPos{1, 3}));
    QCOMPARE(store.WordLeft({0, 13}), (TSonPos{0, 9}));
    QCOMPARE(store.WordLeft({0, 9}), (TSonPos{0, 5}));
    QCOMPARE(store.WordLeft({1, 0}), (TSonPos{0, 13}));
}

QTEST_GUILESS_MAIN(TestSonStrings)
#include "test_sonstrings.moc"
