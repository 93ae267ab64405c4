#include "MessageBoxWatcher.h"
#include "SonEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <stdexcept>

namespace {
struct Editor {
    TSonEdit edit{nullptr, QStringLiteral("SonEdit1")};
    QSignalSpy changes{&edit, &TSonEdit::Change};
    Editor()
    {
        edit.resize(460, 300);
        edit.show();
        edit.activateWindow();
        edit.setFocus();
    }
};

void Commit(QWidget *target, const QString &text, const QString &preedit = QString())
{
    QInputMethodEvent event(preedit, {});
    event.setCommitString(text);
    QApplication::sendEvent(target, &event);
}
} // namespace

class TestSonEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typingAndChangeEvents();
    void keysMoveAndDelete();
    void selectionAndClipboard();
    void undoKey();
    void inputMethodCommit();
    void overwriteAndKeyDown();
    void mouseSelectsAndMovesText();
    void failingStepsShowTheirCode_data();
    void failingStepsShowTheirCode();
    void lineNumberColumn();
};

void TestSonEdit::typingAndChangeEvents()
{
    Editor e;
    QTest::keyClicks(&e.edit, QStringLiteral("red(1);"));
    QTest::keyClick(&e.edit, Qt::Key_Return);
    QTest::keyClick(&e.edit, Qt::Key_Tab);
    QTest::keyClicks(&e.edit, QStringLiteral("wait;"));
    QCOMPARE(e.edit.GetText(), QStringLiteral("red(1);\r\n\twait;"));
    QCOMPARE(e.changes.count(), 7 + 1 + 1 + 5);
    // Half-width katakana is typed directly.
    QKeyEvent katakana(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("ｱ"));
    QApplication::sendEvent(&e.edit, &katakana);
    QVERIFY(e.edit.GetText().endsWith(QStringLiteral("ｱ")));
    // A control character is not typed.
    QTest::keyClick(&e.edit, Qt::Key_A, Qt::ControlModifier);
    e.changes.clear();
    e.edit.SetText(QStringLiteral("x"));
    e.edit.Clear();
    QCOMPARE(e.changes.count(), 0);
    QCOMPARE(e.edit.GetText(), QString());
    QCOMPARE(e.edit.Caret(), TSonPos{});
}

void TestSonEdit::keysMoveAndDelete()
{
    Editor e;
    e.edit.SetText(QStringLiteral("red(1);\r\nblue(2);"));
    QTest::keyClick(&e.edit, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(e.edit.Caret(), (TSonPos{1, 8}));
    QTest::keyClick(&e.edit, Qt::Key_Home);
    QCOMPARE(e.edit.Caret(), (TSonPos{1, 0}));
    QTest::keyClick(&e.edit, Qt::Key_Backspace);
    QCOMPARE(e.edit.GetText(), QStringLiteral("red(1);blue(2);"));
    QTest::keyClick(&e.edit, Qt::Key_Delete);
    QCOMPARE(e.edit.GetText(), QStringLiteral("red(1);lue(2);"));
    QTest::keyClick(&e.edit, Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(e.edit.Caret(), (TSonPos{0, 5}));
    QTest::keyClick(&e.edit, Qt::Key_Backspace, Qt::ControlModifier);
    QCOMPARE(e.edit.GetText(), QStringLiteral("red();lue(2);"));
    QTest::keyClick(&e.edit, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(e.edit.GetText(), QStringLiteral("red(lue(2);"));
    QTest::keyClick(&e.edit, Qt::Key_Period, Qt::ControlModifier);
    QCOMPARE(e.edit.Caret(), (TSonPos{0, 11}));
    QTest::keyClick(&e.edit, Qt::Key_Comma, Qt::ControlModifier);
    QCOMPARE(e.edit.Caret(), (TSonPos{0, 0}));

    // Up and Down keep the column across rows.
    e.edit.SetText(QStringLiteral("abcdef\r\nab\r\nabcdef"));
    QTest::keyClick(&e.edit, Qt::Key_End);
    QTest::keyClick(&e.edit, Qt::Key_Down);
    QCOMPARE(e.edit.Caret(), (TSonPos{1, 2}));
    QTest::keyClick(&e.edit, Qt::Key_Down);
    QCOMPARE(e.edit.Caret(), (TSonPos{2, 6}));
    QTest::keyClick(&e.edit, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(e.edit.Caret(), TSonPos{});

    // Page Down moves the caret with the page.
    QStringList many;
    for (int i = 0; i < 100; ++i)
        many.append(QStringLiteral("red(1);"));
    e.edit.SetText(many.join(QStringLiteral("\r\n")));
    QTest::keyClick(&e.edit, Qt::Key_PageDown);
    QVERIFY(e.edit.Caret().line > 5);
    QVERIFY(e.edit.CaretRect().top() >= 0 && e.edit.CaretRect().bottom() <= e.edit.viewport()->height());
    QTest::keyClick(&e.edit, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(e.edit.Caret().line, 99);
    QVERIFY(e.edit.CaretRect().bottom() <= e.edit.viewport()->height());
}

void TestSonEdit::selectionAndClipboard()
{
    Editor e;
    e.edit.SetText(QStringLiteral("red(1);\r\nblue(2);"));
    QTest::keyClick(&e.edit, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&e.edit, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&e.edit, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(e.edit.SelectedText(), QStringLiteral("red"));
    QTest::keyClick(&e.edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("red"));
    QCOMPARE(e.changes.count(), 0);

    QTest::keyClick(&e.edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&e.edit, Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("red(1);\nblue(2);"));
    QTest::keyClick(&e.edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(e.edit.GetText(), QString());
    QCOMPARE(e.changes.count(), 1);

    QGuiApplication::clipboard()->setText(QStringLiteral("loop(2);\r\nred(1);\njump;"));
    QTest::keyClick(&e.edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(e.edit.GetText(), QStringLiteral("loop(2);\r\nred(1);\r\njump;"));
    QCOMPARE(e.changes.count(), 2);
    QTest::keyClick(&e.edit, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(e.edit.Store().LineCount(), 5);
    // Shift+Delete cuts.
    QTest::keyClick(&e.edit, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(&e.edit, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("jump;"));
    QCOMPARE(e.edit.GetText(), QStringLiteral("loop(2);\r\nred(1);\r\njump;loop(2);\r\nred(1);\r\n"));
}

void TestSonEdit::undoKey()
{
    Editor e;
    QTest::keyClicks(&e.edit, QStringLiteral("red(1);"));
    QTest::keyClick(&e.edit, Qt::Key_Return);
    QTest::keyClicks(&e.edit, QStringLiteral("jump;"));
    e.changes.clear();
    QTest::keyClick(&e.edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.edit.GetText(), QStringLiteral("red(1);\r\n"));
    QCOMPARE(e.changes.count(), 1);
    QTest::keyClick(&e.edit, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&e.edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.edit.GetText(), QString());
    QTest::keyClick(&e.edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.changes.count(), 3);
}

void TestSonEdit::inputMethodCommit()
{
    Editor e;
    QTest::keyClicks(&e.edit, QStringLiteral("("));
    QTest::keyClick(&e.edit, Qt::Key_Home);
    Commit(&e.edit, QString(), QStringLiteral("あか"));
    QCOMPARE(e.edit.GetText(), QStringLiteral("("));
    QCOMPARE(e.changes.count(), 1);
    Commit(&e.edit, QStringLiteral("赤"));
    QCOMPARE(e.edit.GetText(), QStringLiteral("赤("));
    QCOMPARE(e.edit.Caret(), (TSonPos{0, 1}));
    QCOMPARE(e.changes.count(), 2);
    // A commit replaces the selection, and is undone as a whole.
    Commit(&e.edit, QStringLiteral("全角　空白"));
    QCOMPARE(e.edit.GetText(), QStringLiteral("赤全角　空白("));
    QTest::keyClick(&e.edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.edit.GetText(), QStringLiteral("赤("));
    QCOMPARE(static_cast<QWidget &>(e.edit).inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("赤("));
}

void TestSonEdit::overwriteAndKeyDown()
{
    Editor e;
    QSignalSpy modes(&e.edit, &TSonEdit::InsertModeChanged);
    QSignalSpy keys(&e.edit, &TSonEdit::KeyDown);
    e.edit.SetText(QStringLiteral("red(1);"));
    QTest::keyClick(&e.edit, Qt::Key_Insert);
    QCOMPARE(modes.count(), 1);
    QCOMPARE(modes.at(0).at(0).toBool(), true);
    QTest::keyClicks(&e.edit, QStringLiteral("ted"));
    QCOMPARE(e.edit.GetText(), QStringLiteral("ted(1);"));
    QTest::keyClick(&e.edit, Qt::Key_End);
    QTest::keyClicks(&e.edit, QStringLiteral("x"));
    QCOMPARE(e.edit.GetText(), QStringLiteral("ted(1);x"));
    QTest::keyClick(&e.edit, Qt::Key_Insert);
    QCOMPARE(modes.at(1).at(0).toBool(), false);
    keys.clear();
    QTest::keyClick(&e.edit, Qt::Key_F4);
    QCOMPARE(keys.count(), 1);
    QCOMPARE(keys.at(0).at(0).toInt(), static_cast<int>(Qt::Key_F4));
}

void TestSonEdit::mouseSelectsAndMovesText()
{
    Editor e;
    e.edit.SetText(QStringLiteral("red(1);\r\nblue(2);"));
    QWidget *view = e.edit.viewport();
    const QPoint start = e.edit.PointOf({0, 0}) + QPoint(1, 4);
    const QPoint end = e.edit.PointOf({0, 3}) + QPoint(1, 4);
    QTest::mousePress(view, Qt::LeftButton, {}, start);
    QTest::mouseMove(view, end);
    QTest::mouseRelease(view, Qt::LeftButton, {}, end);
    QCOMPARE(e.edit.SelectedText(), QStringLiteral("red"));
    QCOMPARE(e.changes.count(), 0);

    // Drag the selection to the end of the second line.
    const QPoint inside = e.edit.PointOf({0, 1}) + QPoint(2, 4);
    const QPoint drop = e.edit.PointOf({1, 8}) + QPoint(1, 4);
    QTest::mousePress(view, Qt::LeftButton, {}, inside);
    QTest::mouseMove(view, inside + QPoint(20, 0));
    QTest::mouseMove(view, drop);
    QTest::mouseRelease(view, Qt::LeftButton, {}, drop);
    QCOMPARE(e.edit.GetText(), QStringLiteral("(1);\r\nblue(2);red"));
    QCOMPARE(e.edit.SelectedText(), QStringLiteral("red"));
    QCOMPARE(e.changes.count(), 1);
    // One move, one undo.
    QTest::keyClick(&e.edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.edit.GetText(), QStringLiteral("red(1);\r\nblue(2);"));
    QCOMPARE(e.changes.count(), 2);

    // Backwards: "BBB" dragged before "AAA", then taken back.
    e.edit.SetText(QStringLiteral("AAA BBB"));
    QTest::mousePress(view, Qt::LeftButton, {}, e.edit.PointOf({0, 4}) + QPoint(1, 4));
    QTest::mouseMove(view, e.edit.PointOf({0, 7}) + QPoint(1, 4));
    QTest::mouseRelease(view, Qt::LeftButton, {}, e.edit.PointOf({0, 7}) + QPoint(1, 4));
    QCOMPARE(e.edit.SelectedText(), QStringLiteral("BBB"));
    const QPoint grab = e.edit.PointOf({0, 5}) + QPoint(2, 4);
    const QPoint front = e.edit.PointOf({0, 0}) + QPoint(1, 4);
    QTest::mousePress(view, Qt::LeftButton, {}, grab);
    QTest::mouseMove(view, grab + QPoint(20, 0));
    QTest::mouseMove(view, front);
    QTest::mouseRelease(view, Qt::LeftButton, {}, front);
    QCOMPARE(e.edit.GetText(), QStringLiteral("BBBAAA "));
    QCOMPARE(e.edit.SelectedText(), QStringLiteral("BBB"));
    QTest::keyClick(&e.edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.edit.GetText(), QStringLiteral("AAA BBB"));

    // The wheel scrolls.
    QStringList many(60, QStringLiteral("wait;"));
    e.edit.SetText(many.join(QStringLiteral("\n")));
    QWheelEvent wheel(QPointF(20, 20), e.edit.mapToGlobal(QPointF(20, 20)), {}, QPoint(0, -120), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    QCOMPARE(e.edit.verticalScrollBar()->value(), 3);
}

void TestSonEdit::failingStepsShowTheirCode_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("code");
    QTest::newRow("record") << "record" << "Error:OC001";
    QTest::newRow("copy") << "copy" << "Error:OC002";
    QTest::newRow("clipboard") << "clipboard" << "Error:OC003";
    QTest::newRow("wrap") << "wrap" << "Error:OC004 disk on fire";
    QTest::newRow("caret") << "caret" << "Error:OC004_2";
    QTest::newRow("scroll") << "scroll" << "Error:OC004_3_row";
}

void TestSonEdit::failingStepsShowTheirCode()
{
    QFETCH(QString, step);
    QFETCH(QString, code);
    MessageBoxWatcher boxes;
    Editor e;
    e.edit.SetText(QStringLiteral("red(1);"));
    QTest::keyClick(&e.edit, Qt::Key_A, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    e.edit.SetFaultHook([step](const char *name) {
        if (step == QLatin1String(name))
            throw std::runtime_error("disk on fire");
    });
    if (step == QLatin1String("copy") || step == QLatin1String("clipboard"))
        QTest::keyClick(&e.edit, Qt::Key_X, Qt::ControlModifier);
    else
        QTest::keyClicks(&e.edit, QStringLiteral("x"));
    QCOMPARE(boxes.Last(), code);
    QCOMPARE(e.edit.GetText(), QStringLiteral("red(1);"));
    QCOMPARE(e.changes.count(), 0);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    e.edit.SetFaultHook(nullptr);
    QTest::keyClicks(&e.edit, QStringLiteral("x"));
    QCOMPARE(e.edit.GetText(), QStringLiteral("x"));
}

void TestSonEdit::lineNumberColumn()
{
    Editor e;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(14);
    e.edit.SetEditFont(font);
    e.edit.ReLayout();
    const int digit = QFontMetrics(font).horizontalAdvance(QLatin1Char('0'));
    QCOMPARE(e.edit.TextLeft(), 7 + 3 * digit);
    e.edit.SetShowLineNumbers(false);
    QCOMPARE(e.edit.TextLeft(), 0);
    e.edit.SetShowLineNumbers(true, 3);
    QCOMPARE(e.edit.PointOf({0, 0}).y(), 4);

    // Re-layout keeps the caret and the vertical scroll position.
    QStringList many(80, QStringLiteral("red(1);"));
    e.edit.SetText(many.join(QStringLiteral("\n")));
    e.edit.SetCaret({40, 3});
    const int scroll = e.edit.verticalScrollBar()->value();
    QVERIFY(scroll > 0);
    font.setPointSize(10);
    e.edit.SetEditFont(font);
    e.edit.ReLayout();
    QCOMPARE(e.edit.Caret(), (TSonPos{40, 3}));
    QCOMPARE(e.edit.verticalScrollBar()->value(), scroll);
}

QTEST_MAIN(TestSonEdit)
#include "test_sonedit.moc"
