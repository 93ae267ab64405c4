#include "FakeHost.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "SonEdit.h"
#include "Step5Screen.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>

namespace {
const QString NotChecked = QStringLiteral("プログラムの文法チェックがされてません\n文法チェックをしてください");
const QString NotTransferred = QStringLiteral("プログラムの転送がされてません\nプログラム転送をしてください");

struct Screen {
    MessageBoxWatcher boxes;
    FakeHost host;
    TStep5Screen form{host, nullptr};
    TSonEdit *editor = nullptr;
    Screen()
    {
        host.hint = QStringLiteral("first\nsecond");
        form.show();
        editor = form.findChild<TSonEdit *>(QStringLiteral("SonEdit1"));
        editor->setFocus();
        boxes.Clear();   // the pictures may be missing in this build
    }
    TImage *Button(const char *name) { return form.findChild<TImage *>(QString::fromLatin1(name)); }
    void Click(const char *name) { QTest::mouseClick(Button(name), Qt::LeftButton, {}, QPoint(10, 10)); }
    QLineEdit *Box(int n) { return form.findChild<QLineEdit *>(QStringLiteral("Edit%1").arg(n)); }
    void Type(const QString &text)
    {
        for (const QString &line : text.split(QLatin1Char('\n'))) {
            if (line != text.split(QLatin1Char('\n')).first())
                QTest::keyClick(editor, Qt::Key_Return);
            QTest::keyClicks(editor, line);
        }
    }
};

QStringList Padded(QStringList codes)
{
    while (codes.size() < 20)
        codes.append(QStringLiteral("223"));
    return codes;
}
} // namespace

class TestStep5Screen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void controls();
    void typeCheckTransferExecute();
    void refusals();
    void failedCheckLeavesNothing();
    void wordBoxes();
    void previewAndReport();
};

void TestStep5Screen::controls()
{
    Screen s;
    const QStringList words{"red", "green", "blue", "yellow", "purple", "lightblue", "white", "off", "loop", "jump", "wait"};
    for (int i = 0; i < 11; ++i) {
        QVERIFY(s.Box(23 + i));
        QCOMPARE(s.Box(23 + i)->text(), words.at(i));
    }
    QCOMPARE(s.Button("Image12")->statusTip(), QStringLiteral("プログラムの内容をチェックします"));
    QCOMPARE(s.Button("Image14")->statusTip(),
             QStringLiteral("プログラムを転送します（接続コードを本体のコネクタに接続して下さい）"));
    for (const char *name : {"Image13", "Image19", "Image12", "Image17", "Image14", "Image15", "Image18"}) {
        QVERIFY2(s.Button(name), name);
        QVERIFY(s.Button(name)->PressedLook());
        QVERIFY(s.Button(name)->geometry().bottom() < s.editor->geometry().top());
    }
    QVERIFY(s.editor->geometry().right() < s.Box(23)->geometry().left());
    QVERIFY(s.Box(33)->geometry().bottom() < 430);
    QVERIFY(s.editor->Look().showLineNumbers);
    QCOMPARE(s.editor->Look().topMargin, 4);
    QCOMPARE(s.editor->Store().WrapColumn(), 100);
    QCOMPARE(s.editor->Store().TabWidth(), 6);
    // Default look without a settings file.
    QCOMPARE(s.editor->Look().backColor, QColor(Qt::black));
    QCOMPARE(s.editor->Look().fontColor, QColor(Qt::white));
    QCOMPARE(s.editor->Look().font.pointSize(), 14);
}

void TestStep5Screen::typeCheckTransferExecute()
{
    Screen s;
    s.Type(QStringLiteral("// three times red\nloop(3);\nred(1);\njump;"));
    QCOMPARE(s.editor->GetText(), QStringLiteral("// three times red\r\nloop(3);\r\nred(1);\r\njump;"));
    QTest::keyClick(s.editor, Qt::Key_F4);
    QCOMPARE(s.boxes.Count(), 0);
    QCOMPARE(s.host.ProgramList, Padded({"64", "161", "86"}));
    QCOMPARE(s.host.ExpandedList, (QStringList{"161", "161", "161"}));
    QCOMPARE(s.host.hint, QStringLiteral("文法チェック  OK!\nsecond"));

    QTest::keyClick(s.editor, Qt::Key_F6);
    QCOMPARE(s.host.transfers.size(), 1);
    QCOMPARE(s.host.transfers.at(0).mode, 2);
    QCOMPARE(s.host.transfers.at(0).program, Padded({"64", "161", "86"}));
    QTest::keyClick(s.editor, Qt::Key_F7);
    QCOMPARE(s.host.executes, (QList<int>{6}));

    // An edit empties the program: transfer is refused, execute still runs.
    QTest::keyClicks(s.editor, QStringLiteral(" "));
    QVERIFY(s.host.ProgramList.isEmpty());
    s.Click("Image14");
    QCOMPARE(s.boxes.Last(), NotChecked);
    QCOMPARE(s.host.transfers.size(), 1);
    s.Click("Image15");
    QCOMPARE(s.host.executes, (QList<int>{6, 6}));
    QCOMPARE(s.boxes.Count(), 1);

    // The buttons do what the keys do.
    s.Click("Image12");
    QCOMPARE(s.host.ProgramList.size(), 20);
    s.Click("Image14");
    QCOMPARE(s.host.transfers.size(), 2);
}

void TestStep5Screen::refusals()
{
    Screen s;
    s.Click("Image14");
    QCOMPARE(s.boxes.Last(), NotChecked);
    s.Click("Image15");
    QCOMPARE(s.boxes.Last(), NotTransferred);
    QTest::keyClick(s.editor, Qt::Key_F7);
    QCOMPARE(s.boxes.Count(), 3);
    QVERIFY(s.host.transfers.isEmpty());
    QVERIFY(s.host.executes.isEmpty());
    // While another transfer is on the wire the buttons do nothing at all.
    s.host.busy = true;
    s.Click("Image14");
    s.Click("Image15");
    QCOMPARE(s.boxes.Count(), 3);
}

void TestStep5Screen::failedCheckLeavesNothing()
{
    Screen s;
    s.Type(QStringLiteral("red(1);"));
    QTest::keyClick(s.editor, Qt::Key_F4);
    QCOMPARE(s.host.ProgramList.size(), 20);
    QTest::keyClick(s.editor, Qt::Key_Return);
    s.Type(QStringLiteral("red(1);"));
    // The full-width space comes from the input method.
    QInputMethodEvent commit(QString(), {});
    commit.setCommitString(QStringLiteral("　"));
    QApplication::sendEvent(s.editor, &commit);
    s.host.hint = QStringLiteral("kept");
    QTest::keyClick(s.editor, Qt::Key_F4);
    QCOMPARE(s.boxes.Last(), QStringLiteral("文法エラー2行目(命令数は１行に１つのみです)\n"
                                            "文法エラー2行目(全角スペースは使用しないで下さい)"));
    QVERIFY(s.host.ProgramList.isEmpty());
    QVERIFY(s.host.ExpandedList.isEmpty());
    QCOMPARE(s.host.hint, QStringLiteral("kept"));
    QCOMPARE(s.editor->GetText(), QStringLiteral("red(1);\r\nred(1);　"));
    s.Click("Image14");
    QCOMPARE(s.boxes.Last(), NotChecked);

    s.editor->SetText(QStringLiteral("\r\n// nothing"));
    s.Click("Image12");
    QCOMPARE(s.boxes.Last(), QStringLiteral("文法エラー「命令がありません」"));
}

void TestStep5Screen::wordBoxes()
{
    Screen s;
    s.Box(23)->setText(QStringLiteral("  あか "));
    s.Box(33)->setText(QStringLiteral(" まつ"));
    s.editor->SetText(QStringLiteral("red(1);"));
    s.Click("Image12");
    QCOMPARE(s.boxes.Last(), QStringLiteral("文法エラー「1行目の命令が間違っています」"));
    QCOMPARE(s.Box(23)->text(), QStringLiteral("あか"));
    QCOMPARE(s.Box(33)->text(), QStringLiteral(" まつ"));
    s.editor->SetText(QStringLiteral("あか(2);"));
    s.Click("Image12");
    QCOMPARE(s.host.ProgramList, Padded({"162"}));
    s.Box(24)->clear();
    s.Click("Image12");
    QCOMPARE(s.boxes.Last(), QStringLiteral("命令を正しく設定して下さい"));
    // Blanks alone are trimmed away and the check goes on to the text.
    s.Box(24)->setText(QStringLiteral("green"));
    s.Box(23)->setText(QStringLiteral("   "));
    s.Box(32)->setText(QStringLiteral("jump  "));
    s.editor->SetText(QStringLiteral("red(1);"));
    s.Click("Image12");
    QCOMPARE(s.boxes.Last(), QStringLiteral("文法エラー「1行目の命令が間違っています」"));
    QCOMPARE(s.Box(23)->text(), QString());
    QCOMPARE(s.Box(32)->text(), QStringLiteral("jump"));
}

void TestStep5Screen::previewAndReport()
{
    Screen s;
    s.editor->SetText(QStringLiteral("red(1);\r\n// end"));
    s.Click("Image17");
    QCOMPARE(s.host.pagesShown, (QList<int>{TMainHost::PagePreview}));
    QCOMPARE(s.host.PageCode, 12);
    QVERIFY(!s.host.previousEnabled && !s.host.nextEnabled);

    s.host.nextEnabled = s.host.previousEnabled = true;
    s.Box(30)->setText(QStringLiteral("けす"));
    s.Click("Image18");
    QCOMPARE(s.host.pagesShown.last(), static_cast<int>(TMainHost::PageReport));
    QCOMPARE(s.host.PageCode, 10);
    QCOMPARE(s.host.ReportTextList, (QStringList{"red(1);", "// end"}));
    QCOMPARE(s.host.ReportWordList, (QStringList{"red", "green", "blue", "yellow", "purple", "lightblue", "white",
                                                 "けす", "loop", "jump", "wait"}));
    QVERIFY(!s.host.previousEnabled && !s.host.nextEnabled);
}

QTEST_MAIN(TestStep5Screen)
#include "test_step5_screen.moc"
