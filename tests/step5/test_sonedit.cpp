#include "MessageBoxWatcher.h"
#include "SonEdit.h"
#include "SonEditKeys.h"

#include <QAccessible>
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

// Text with the caret as '|' and, when there is a selection, its anchor as '['.
void SetMarkedText(TSonEditModel &model, QString marked)
{
    const qsizetype caret = marked.indexOf(QLatin1Char('|'));
    const qsizetype anchor = marked.indexOf(QLatin1Char('['));
    const auto posOf = [&](qsizetype at) {
        return TSonStrings::EndOf({}, marked.left(at).remove(QLatin1Char('|')).remove(QLatin1Char('[')));
    };
    const TSonPos caretPos = posOf(caret);
    const TSonPos anchorPos = anchor < 0 ? caretPos : posOf(anchor);
    model.SetText(marked.remove(QLatin1Char('|')).remove(QLatin1Char('[')));
    model.SetAnchor(anchorPos);
    model.MoveCaret(caretPos, true);
}

QString MarkedText(const TSonEditModel &model)
{
    QStringList lines;
    for (int line = 0; line < model.Store().LineCount(); ++line)
        lines.append(model.Store().Line(line));
    const auto mark = [&](TSonPos pos, QChar sign) { lines[pos.line].insert(pos.index, sign); };
    // The later mark first, so the earlier one keeps its index.
    if (model.HasSelection() && model.Anchor() > model.Caret())
        mark(model.Anchor(), QLatin1Char('['));
    mark(model.Caret(), QLatin1Char('|'));
    if (model.HasSelection() && model.Anchor() < model.Caret())
        mark(model.Anchor(), QLatin1Char('['));
    return lines.join(QLatin1Char('\n'));
}

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
    void namedCommands_data();
    void namedCommands();
    void readOnlyRefusesEveryEdit();
    void keysChooseCommands_data();
    void keysChooseCommands();
    void assistiveTechnologyReadsTheText();
    void assistiveTechnologyEdits();
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
    // Read-only: typing in overwrite mode neither edits nor selects.
    e.edit.SetReadOnly(true);
    QTest::keyClick(&e.edit, Qt::Key_Home);
    QTest::keyClicks(&e.edit, QStringLiteral("x"));
    QVERIFY(!e.edit.HasSelection());
    QCOMPARE(e.edit.GetText(), QStringLiteral("ted(1);x"));
    e.edit.SetReadOnly(false);
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

void TestSonEdit::namedCommands_data()
{
    using C = TSonEditCommand;
    QTest::addColumn<C>("command");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    const QString surrogate = QString::fromUcs4(U"\U0001F600");
    QTest::newRow("left collapses a selection to its start") << C::MoveLeft << "" << "a[bc|d" << "a|bcd";
    QTest::newRow("right collapses a backwards selection to its end") << C::MoveRight << "" << "a|bc[d" << "abc|d";
    QTest::newRow("shift+left extends backwards") << C::MoveLeft << "shift" << "ab|c" << "a|b[c";
    QTest::newRow("left crosses a line end") << C::MoveLeft << "" << "ab\n|cd" << "ab|\ncd";
    QTest::newRow("left steps over a surrogate pair") << C::MoveLeft << "" << "a" + surrogate + "|b"
                                                      << "a|" + surrogate + "b";
    QTest::newRow("word left drops the selection from the caret") << C::MoveWordLeft << "" << "red [blue|"
                                                                   << "red |blue";
    QTest::newRow("down aims for the column after a tab") << C::MoveDown << "" << "a\tb|\nabcdefghij"
                                                          << "a\tb\nabcdefg|hij";
    QTest::newRow("down onto a shorter row goes to its end") << C::MoveDown << "" << "abcdef|\nab"
                                                             << "abcdef\nab|";
    QTest::newRow("page down moves a page of rows") << C::PageDown << "page2" << "a|\nb\nc\nd" << "a\nb\nc|\nd";
    QTest::newRow("end of a soft row stays before its last character")
        << C::MoveRowEnd << "wrap10" << "abc|defghijklm" << "abcdefghi|jklm";
    QTest::newRow("home goes to the start of the soft row") << C::MoveRowStart << "wrap10" << "abcdefghijkl|m"
                                                           << "abcdefghij|klm";
    QTest::newRow("shift+ctrl+end selects to the end") << C::MoveTextEnd << "shift" << "a|b\ncd" << "a[b\ncd|";
    QTest::newRow("select all") << C::SelectAll << "" << "ab|\ncd" << "[ab\ncd|";
    QTest::newRow("backspace joins lines") << C::DeleteBefore << "" << "ab\n|cd" << "ab|cd";
    QTest::newRow("backspace at the start does nothing") << C::DeleteBefore << "" << "|ab" << "|ab";
    QTest::newRow("backspace takes the selection only") << C::DeleteBefore << "" << "a[bc|d" << "a|d";
    QTest::newRow("delete takes a surrogate pair whole") << C::DeleteAfter << "" << "a|" + surrogate + "b" << "a|b";
    QTest::newRow("ctrl+backspace takes the word, not the selection") << C::DeleteWordBefore << "" << "r[ed|(1);"
                                                                       << "|(1);";
    QTest::newRow("ctrl+delete takes the word and its spaces") << C::DeleteWordAfter << "" << "|red  blue" << "|blue";
    QTest::newRow("enter replaces the selection") << C::NewLine << "" << "a[bc|d" << "a\n|d";
    QTest::newRow("tab when tabs are off does nothing") << C::InsertTab << "notabs" << "a|b" << "a|b";
    QTest::newRow("overwrite takes the next character") << C::TypeText << "overwrite" << "ab|cd" << "abX|d";
    QTest::newRow("overwrite keeps the line end") << C::TypeText << "overwrite" << "ab|\ncd" << "abX|\ncd";
    QTest::newRow("overwrite takes a surrogate pair whole") << C::TypeText << "overwrite" << "a|" + surrogate + "b"
                                                            << "aX|b";
    QTest::newRow("overwrite with a selection replaces only it") << C::TypeText << "overwrite" << "a[bc|d"
                                                                 << "aX|d";
}

void TestSonEdit::namedCommands()
{
    QFETCH(TSonEditCommand, command);
    QFETCH(QString, setup);
    QFETCH(QString, before);
    QFETCH(QString, after);
    TSonEditModel model;
    if (setup == QLatin1String("wrap10"))
        model.Store().SetWrapColumn(10);
    model.SetAcceptTabs(setup != QLatin1String("notabs"));
    if (setup == QLatin1String("overwrite"))
        model.Run(TSonEditCommand::ToggleOverwrite, {});
    SetMarkedText(model, before);
    const TSonCommandInput input{setup == QLatin1String("shift"), QStringLiteral("X"),
                                 setup == QLatin1String("page2") ? 2 : 1};
    const QString textBefore = model.Store().Text();
    const TSonEditResult result = model.Run(command, input);
    QCOMPARE(MarkedText(model), after);
    QCOMPARE(result.textChanged, model.Store().Text() != textBefore);
}

void TestSonEdit::readOnlyRefusesEveryEdit()
{
    using C = TSonEditCommand;
    for (const C command : {C::DeleteBefore, C::DeleteAfter, C::DeleteWordBefore, C::DeleteWordAfter, C::NewLine,
                            C::InsertTab, C::TypeText, C::Undo, C::Redo}) {
        // Built by an edit, so there is something to undo, and one more
        // taken back, so there is something to redo.
        TSonEditModel model;
        model.ReplaceSelection(QStringLiteral("red\nblue"));
        model.ReplaceSelection(QStringLiteral("!"));
        model.Undo();
        model.SetReadOnly(true);
        // Once in insert mode, once in overwrite mode.
        for (int pass = 0; pass < 2; ++pass) {
            model.SetAnchor({0, 1});
            model.MoveCaret({0, 3}, true);
            QVERIFY(!model.Run(command, {false, QStringLiteral("X"), 1}).textChanged);
            QCOMPARE(MarkedText(model), QStringLiteral("r[ed|\nblue"));
            model.Run(C::ToggleOverwrite, {});
        }
    }
    // Dragging the selection elsewhere is refused too.
    TSonEditModel model;
    model.SetReadOnly(true);
    SetMarkedText(model, QStringLiteral("[red|\nblue"));
    QVERIFY(!model.MoveSelectionTo({1, 4}).textChanged);
    QCOMPARE(MarkedText(model), QStringLiteral("[red|\nblue"));
}

void TestSonEdit::keysChooseCommands_data()
{
    using C = TSonEditCommand;
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("command");     // -1: none, the key goes on to the screen
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers alt = Qt::AltModifier;
    const auto row = [](const char *name, int key, Qt::KeyboardModifiers modifiers, const QString &text, int command) {
        QTest::newRow(name) << key << modifiers << text << command;
    };
    row("shift+delete cuts", Qt::Key_Delete, shift, {}, int(C::Cut));
    row("ctrl+shift+delete cuts too", Qt::Key_Delete, ctrl | shift, {}, int(C::Cut));
    row("ctrl+delete takes a word", Qt::Key_Delete, ctrl, {}, int(C::DeleteWordAfter));
    row("ctrl+shift+insert copies", Qt::Key_Insert, ctrl | shift, {}, int(C::Copy));
    row("shift+insert pastes", Qt::Key_Insert, shift, {}, int(C::Paste));
    row("insert toggles overwrite", Qt::Key_Insert, {}, {}, int(C::ToggleOverwrite));
    row("ctrl+comma goes to the row start", Qt::Key_Comma, ctrl, QStringLiteral(","), int(C::MoveRowStart));
    row("comma alone is typed", Qt::Key_Comma, {}, QStringLiteral(","), int(C::TypeText));
    row("ctrl+shift+c copies", Qt::Key_C, ctrl | shift, QStringLiteral("C"), int(C::Copy));
    row("ctrl+alt+c is left alone", Qt::Key_C, ctrl | alt, {}, -1);
    row("ctrl+b is left alone", Qt::Key_B, ctrl, QStringLiteral("\x02"), -1);
    row("ctrl+z undoes", Qt::Key_Z, ctrl, QStringLiteral("\x1a"), int(C::Undo));
    row("ctrl+shift+z redoes", Qt::Key_Z, ctrl | shift, QStringLiteral("\x1a"), int(C::Redo));
    row("ctrl+y redoes", Qt::Key_Y, ctrl, QStringLiteral("\x19"), int(C::Redo));
    row("alt+a is not typed", Qt::Key_A, alt, QStringLiteral("a"), -1);
    row("alt+home still goes home", Qt::Key_Home, alt, {}, int(C::MoveRowStart));
    row("ctrl+return is a new line", Qt::Key_Return, ctrl, QStringLiteral("\r"), int(C::NewLine));
    row("F4 goes to the screen", Qt::Key_F4, {}, {}, -1);
    row("shift+F7 goes to the screen", Qt::Key_F7, shift, {}, -1);
    row("half-width katakana is typed", 0, {}, QStringLiteral("ｱ"), int(C::TypeText));
    row("escape is not typed", Qt::Key_Escape, {}, QStringLiteral("\x1b"), -1);
}

void TestSonEdit::keysChooseCommands()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, text);
    QFETCH(int, command);
    const std::optional<TSonEditCommand> chosen = SonEditKeys::CommandFor(key, modifiers, text);
    QCOMPARE(chosen ? static_cast<int>(*chosen) : -1, command);
}

void TestSonEdit::assistiveTechnologyReadsTheText()
{
    Editor e;
    e.edit.SetText(QStringLiteral("red(1);\r\nloop(2);\r\n赤(3);"));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&e.edit);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::EditableText);
    QVERIFY(iface->state().editable && iface->state().multiLine);
    QAccessibleTextInterface *text = iface->textInterface();
    QVERIFY(text && iface->editableTextInterface());
    QCOMPARE(text->characterCount(), 22);
    e.edit.SetCaret({2, 1});
    QCOMPARE(text->cursorPosition(), 18);
    int start = -1;
    int end = -1;
    QCOMPARE(text->textAtOffset(18, QAccessible::LineBoundary, &start, &end), QStringLiteral("赤(3);"));
    QCOMPARE(text->textAtOffset(12, QAccessible::LineBoundary, &start, &end), QStringLiteral("loop(2);\n"));
    QCOMPARE(start, 8);
    QCOMPARE(text->textAtOffset(17, QAccessible::CharBoundary, &start, &end), QStringLiteral("赤"));
    QCOMPARE(text->textBeforeOffset(18, QAccessible::LineBoundary, &start, &end), QStringLiteral("loop(2);\n"));
    QCOMPARE(text->textAfterOffset(0, QAccessible::LineBoundary, &start, &end), QStringLiteral("loop(2);\n"));
    // With the caret after the last character: its line, and no character.
    QCOMPARE(text->textAtOffset(22, QAccessible::LineBoundary, &start, &end), QStringLiteral("赤(3);"));
    QCOMPARE(text->textAtOffset(22, QAccessible::CharBoundary, &start, &end), QString());
    QCOMPARE(text->textAtOffset(22, QAccessible::WordBoundary, &start, &end), QStringLiteral(";"));
    // The caret and selection set from outside are the editor's own.
    text->setSelection(0, 8, 12);
    QCOMPARE(e.edit.SelectedText(), QStringLiteral("loop"));
    QCOMPARE(text->selectionCount(), 1);
    text->selection(0, &start, &end);
    QCOMPARE(std::pair(start, end), std::pair(8, 12));
}

void TestSonEdit::assistiveTechnologyEdits()
{
    Editor e;
    e.edit.SetText(QStringLiteral("red(1);\r\nblue(2);"));
    // An edit asked for by assistive technology is an ordinary edit: undone
    // by Ctrl+Z, and the screen hears Change.
    const int before = e.changes.count();
    QAccessible::queryAccessibleInterface(&e.edit)->editableTextInterface()->insertText(0, QStringLiteral("wait;"));
    QCOMPARE(e.edit.GetText(), QStringLiteral("wait;red(1);\r\nblue(2);"));
    QCOMPARE(e.changes.count(), before + 1);
    QTest::keyClick(&e.edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.edit.GetText(), QStringLiteral("red(1);\r\nblue(2);"));
    // Ctrl+Tab leaves the editor, where Tab types a tab.
    QWidget window;
    auto *edit = new TSonEdit(&window);
    auto *next = new QWidget(&window);
    next->setFocusPolicy(Qt::StrongFocus);
    window.show();
    QApplication::setActiveWindow(&window);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(edit->GetText(), QStringLiteral("\t"));
    QTest::keyClick(edit, Qt::Key_Tab, Qt::ControlModifier);
    QVERIFY(next->hasFocus());
}

QTEST_MAIN(TestSonEdit)
#include "test_sonedit.moc"
