#include "Cp932.h"
#include "FakeHost.h"
#include "FileSizeLimit.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "ReportPrint.h"
#include "ReportText.h"
#include "ReportScreen.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextCursor>
#include <QTextEdit>

namespace {

void Click(TReportScreen &form, const char *name)
{
    auto *button = form.findChild<TImage *>(QString::fromLatin1(name));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void blockAndTextReportsDifferInTheWordBlock()
    {
        const QStringList program = {QStringLiteral("赤色　0.5秒　点灯"), QStringLiteral("繰り返し開始　3回")};
        const auto step3 = ReportText::Build(program, {}, false);
        QCOMPARE(step3.size(), 4 + 1 + 2 + 2 + 2);
        QCOMPARE(step3[4], (TReportLine{QStringLiteral("プログラム"), true}));
        QCOMPARE(step3[5], (TReportLine{program[0], false}));

        QStringList words;
        for (int i = 0; i < 11; ++i)
            words << QStringLiteral("w%1").arg(i);
        const auto step5 = ReportText::Build(program, words, true);
        QCOMPARE(step5[4], (TReportLine{QStringLiteral("命令"), true}));
        QCOMPARE(step5[5].text, QStringLiteral("　　　　　赤　　　w0"));
        QCOMPARE(step5[13].text, QStringLiteral("　　入力待ち　　　w10")); // ninth word line
        QCOMPARE(step5[15].text, QStringLiteral("　　　飛び先　　　w9"));
        QCOMPARE(step5[16].text, QStringLiteral("　"));
        QCOMPARE(step5.last(), (TReportLine{QStringLiteral("＜ここに感想を入力して下さい＞"), false}));
    }

    void headingsAreCentredAndTheBodyLeftAligned()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        host.PageCode = TMainHost::CodeReportFromStep3;
        host.ReportTextList = {QStringLiteral("赤色　0.5秒　点灯")};
        TReportScreen form(host, nullptr);
        form.show();
        form.FormShow();
        auto *text = form.findChild<QTextEdit *>(QStringLiteral("RichEdit3"));
        QStringList centred, left;
        for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next()) {
            const Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
            (a == Qt::AlignHCenter ? centred : left) << b.text();
        }
        QCOMPARE(centred, (QStringList{QStringLiteral("＜ここに学年、組を入力して下さい＞"),
                                       QStringLiteral("＜ここに名前を入力して下さい＞"), QString(), QString(),
                                       QStringLiteral("プログラム"), QStringLiteral("感想")}));
        QCOMPARE(left, (QStringList{QStringLiteral("赤色　0.5秒　点灯"), QString(), QString(),
                                    QStringLiteral("＜ここに感想を入力して下さい＞")}));

        // Centred on the page as the pupil sees it, not only marked so.
        const auto lineX = [&](int n) {
            const QTextBlock b = text->document()->findBlockByNumber(n);
            return b.layout()->lineAt(0).cursorToX(0) + b.layout()->lineAt(0).naturalTextWidth() / 2;
        };
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const qreal middle = text->viewport()->width() / 2.0;
        QVERIFY2(qAbs(lineX(4) - middle) < 20, qPrintable(QString::number(lineX(4))));
        QVERIFY2(qAbs(lineX(8) - middle) < 20, qPrintable(QString::number(lineX(8))));
        QVERIFY(text->document()->findBlockByNumber(5).layout()->lineAt(0).cursorToX(0) < 8);

        // Typing over a heading keeps it centred; a new line after the name stays centred too.
        QTextCursor cursor(text->document()->findBlockByNumber(1));
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        text->setTextCursor(cursor);
        QTest::keyClicks(text, QStringLiteral("yamada"));
        QCOMPARE(text->document()->findBlockByNumber(1).text(), QStringLiteral("yamada"));
        QCOMPARE(text->document()->findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
    }

    void printAreaKeepsItsMarginsFromThePaperEdges()
    {
        // A4 at 600 dpi with 1/6 inch unprintable on every side.
        ReportPrint::PrinterMetrics m{600, 600, 100, 100, 4960, 7016, 4760, 6816};
        const QRect area = ReportPrint::PrintArea(m);
        QCOMPARE(area.left(), int(std::lround(40 / 25.39999 * 600 - 100)));
        QCOMPARE(area.top(), int(std::lround(40 / 25.39999 * 600 - 100)));
        QCOMPARE(area.right(), int(std::lround(4760 - (30 / 25.39999 * 600 - 100))));
        QCOMPARE(area.bottom(), int(std::lround(6816 - (30 / 25.39999 * 600 - 100))));
        // An offset larger than the margin clamps at the page edge.
        ReportPrint::PrinterMetrics wide{100, 100, 200, 200, 800, 1100, 400, 700};
        QCOMPARE(ReportPrint::PrintArea(wide).left(), 0);
    }

    void htmlExportWritesTheWholePage()
    {
        MessageBoxWatcher boxes(QMessageBox::Yes);
        FakeHost host;
        host.PageCode = TMainHost::CodeReportFromStep3;
        host.ReportTextList = {QStringLiteral("赤色　2秒　点灯")};
        TReportScreen form(host, nullptr);
        form.show();
        form.FormShow();
        auto *text = form.findChild<QTextEdit *>(QStringLiteral("RichEdit3"));
        QStringList twenty;
        for (int i = 0; i < 19; ++i)
            twenty << QStringLiteral("line %1").arg(i);
        twenty << QStringLiteral("A&B <b>😀</b> ～");
        text->setPlainText(twenty.join(u'\n'));

        QTemporaryDir dir;
        const QString bare = dir.filePath(QStringLiteral("report"));
        form.SetSaveNameChooser([&] { return bare; });
        boxes.Clear();
        Click(form, "Image2");
        const QByteArray bytes = ReadAll(bare + QStringLiteral(".html"));
        QVERIFY2(!bytes.isEmpty(), "a name without extension is saved as .html");
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size() - 1, 5 + 2 * 20 + 2);
        QVERIFY(bytes.endsWith("</html>\r\n"));
        QVERIFY(!bytes.contains("\n\n"));
        const QString page = Cp932::Decode(bytes);
        QVERIFY(page.contains(QStringLiteral("A&amp;B &lt;b&gt;&#128512;&lt;/b&gt; ～\r\n<br>")));
        QVERIFY(page.startsWith(QStringLiteral("<html>\r\n<head>\r\n<title>ルミカ</title>\r\n</head>\r\n<body bgcolor=\"#FFFFFF\" text=\"#000000\">\r\n")));
        QCOMPARE(boxes.Count(), 0);

        // Shift+Enter breaks the line the pupil sees: a line of the page too, as in print.
        text->setPlainText(QStringLiteral("上"));
        text->setFocus();
        text->moveCursor(QTextCursor::End);
        QTest::keyClick(text, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(text, QStringLiteral("x"));
        QCOMPARE(text->document()->blockCount(), 1);
        QTemporaryDir otherDir;
        const QString broken = otherDir.filePath(QStringLiteral("broken.html"));
        form.SetSaveNameChooser([&] { return broken; });
        Click(form, "Image2");
        const QString brokenPage = Cp932::Decode(ReadAll(broken));
        QVERIFY2(brokenPage.contains(QStringLiteral(">\r\n上\r\n<br>\r\nx\r\n<br>\r\n</body>")), qPrintable(brokenPage));
        QCOMPARE(boxes.Count(), 0);

        // Capital .HTM is taken as typed; an existing file is overwritten only on Yes.
        const QString capital = dir.filePath(QStringLiteral("R.HTM"));
        form.SetSaveNameChooser([&] { return capital; });
        Click(form, "Image2");
        QVERIFY(QFile::exists(capital));
        QFile::resize(capital, 3);
        boxes.SetAnswer(QMessageBox::No);
        Click(form, "Image2");
        QCOMPARE(boxes.Last(), QStringLiteral("同じ名前のファイルが既にあります。上書きしますか？"));
        QCOMPARE(QFileInfo(capital).size(), 3);
        boxes.SetAnswer(QMessageBox::Yes);
        Click(form, "Image2");
        QVERIFY(QFileInfo(capital).size() > 100);

        // A full disk: the message says why and the page written before stays whole.
        const QByteArray before = ReadAll(capital);
        {
            const FileSizeLimit full(16);
            Click(form, "Image2");
        }
        QCOMPARE(boxes.Last(), QStringLiteral("ファイルを保存できませんでした\nファイルに書き込む途中で失敗しました。"));
        QCOMPARE(ReadAll(capital), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"R.HTM", "report.html"}));

        // Any other extension writes nothing.
        const QString wrong = dir.filePath(QStringLiteral("report.txt"));
        form.SetSaveNameChooser([&] { return wrong; });
        Click(form, "Image2");
        QCOMPARE(boxes.Last(), QStringLiteral("HTMLファイルでしか保存できません"));
        QVERIFY(!QFile::exists(wrong));

        // An empty report says so.
        text->clear();
        Click(form, "Image2");
        QCOMPARE(boxes.Last(), QStringLiteral("保存するファイルに文字がありません。"));
    }

    void typedTextSurvivesGoingBackToTheSameProgram()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        host.PageCode = TMainHost::CodeReportFromStep5;
        host.ReportTextList = {QStringLiteral("赤 3")};
        host.ReportWordList = QStringList(11, QStringLiteral("w"));
        TReportScreen form(host, nullptr);
        form.show();
        form.FormShow();
        auto *text = form.findChild<QTextEdit *>(QStringLiteral("RichEdit3"));
        QCOMPARE(form.ReportLines().value(4), QStringLiteral("命令"));
        text->setPlainText(QStringLiteral("3年2組\n山田"));
        Click(form, "Image3");
        QCOMPARE(host.PageCode, 4);
        QCOMPARE(host.pagesShown, QList<int>{4});
        QVERIFY(host.previousEnabled && host.nextEnabled);
        host.PageCode = TMainHost::CodeReportFromStep5;
        form.FormShow();
        QCOMPARE(form.ReportLines().value(0), QStringLiteral("3年2組"));
        host.ReportTextList = {QStringLiteral("青 2")};
        form.FormShow();
        QCOMPARE(form.ReportLines().value(0), QStringLiteral("＜ここに学年、組を入力して下さい＞"));
    }

    void printingPutsTheTextInsideTheMarginsAndReturns()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        host.PageCode = TMainHost::CodeReportFromStep3;
        host.ReportTextList = {QStringLiteral("赤色　0.5秒　点灯"), QStringLiteral("MARKERLINE")};
        TReportScreen form(host, nullptr);
        form.show();
        form.FormShow();
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        bool asked = false;
        form.SetPrinterChooser([&](QPrinter &printer) {
            asked = true;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(QPageSize::A4));
            return true;
        });
        Click(form, "Image1");
        QVERIFY(asked);
        QCOMPARE(host.PageCode, 2);
        QCOMPARE(host.pagesShown, QList<int>{2});

        QProcess tool;
        tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        QVERIFY(tool.waitForFinished(20000));
        const QString out = QString::fromUtf8(tool.readAllStandardOutput());
        const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">MARKERLINE</word>"));
        const auto match = word.match(out);
        QVERIFY2(match.hasMatch(), qPrintable(out.left(2000)));
        const double mm = 72 / 25.4; // PDF points per millimetre
        QVERIFY(match.captured(1).toDouble() >= 40 * mm - 2);
        QVERIFY(match.captured(1).toDouble() <= 40 * mm + 6);
        QVERIFY(match.captured(2).toDouble() >= 40 * mm - 2);
        QVERIFY(out.contains(QStringLiteral("プログラム")));

        // Cancelling the print dialog leaves everything as it was.
        host.PageCode = TMainHost::CodeReportFromStep3;
        host.pagesShown.clear();
        form.SetPrinterChooser([](QPrinter &) { return false; });
        Click(form, "Image1");
        QCOMPARE(host.PageCode, 11);
        QVERIFY(host.pagesShown.isEmpty());
    }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
