#include "AssetPath.h"
#include "FakeHost.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "Step1Screen.h"

#include <QStandardPaths>
#include <QTest>

namespace {

const QString Step1Done = QStringLiteral("赤、青、黄とそれぞれ２秒ずつ点灯したら次のステップへ");

QStringList SampleProgram()
{
    QStringList program = {QStringLiteral("162"), QStringLiteral("178"), QStringLiteral("186")};
    while (program.size() < 20)
        program.append(QStringLiteral("223"));
    return program;
}

bool HaveData()
{
    return !ResolveAsset(QStringLiteral("picture\\Pre\\160.bmp")).isEmpty();
}

} // namespace

class TestStep1Screen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void startState()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep1Screen form(host, nullptr);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *transfer = form.findChild<TImage *>(QStringLiteral("Image1"));
        auto *execute = form.findChild<TImage *>(QStringLiteral("Image2"));
        QCOMPARE(transfer->geometry(), QRect(172, 48, 112, 82));
        QCOMPARE(execute->geometry(), QRect(330, 48, 112, 82));
        QCOMPARE(form.findChild<TImage *>(QStringLiteral("Image8"))->geometry(), QRect(553, 247, 112, 82));
        QVERIFY(transfer->isEnabled());
        QVERIFY(!execute->isEnabled());
        QVERIFY(!form.findChild<TImage *>(QStringLiteral("Image3"))->isVisible());
        QVERIFY(!form.findChild<TImage *>(QStringLiteral("Image7"))->isVisible());
        QCOMPARE(transfer->statusTip(),
                 QStringLiteral("サンプルデータの転送を行います（接続コードを本体のコネクタに接続して下さい）"));
        // Execute before a transfer: the click does nothing.
        QTest::mouseClick(execute, Qt::LeftButton, {}, QPoint(50, 40));
        QVERIFY(host.executes.isEmpty());
        if (!HaveData())
            QCOMPARE(boxes.Last(), QStringLiteral("エラーが発生しました\nソフトを再起動するか再度インストールして下さい"));
        else
            QCOMPARE(boxes.Count(), 0);
    }

    void transferThenExecuteRunsTheSixSecondPreview()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        host.hint = QStringLiteral("first\nsecond");
        TStep1Screen form(host, nullptr);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *transfer = form.findChild<TImage *>(QStringLiteral("Image1"));
        auto *execute = form.findChild<TImage *>(QStringLiteral("Image2"));
        auto *body = form.findChild<TImage *>(QStringLiteral("Image3"));
        auto *colour = form.findChild<TImage *>(QStringLiteral("Image7"));

        QTest::mouseClick(transfer, Qt::LeftButton, {}, QPoint(50, 40));
        QCOMPARE(host.transfers.size(), 1);
        QCOMPARE(host.transfers[0].mode, 2);
        QCOMPARE(host.transfers[0].program, SampleProgram());
        QVERIFY(execute->isEnabled());
        QVERIFY(host.executes.isEmpty());

        boxes.Clear();
        QTest::mouseClick(execute, Qt::LeftButton, {}, QPoint(50, 40));
        QCOMPARE(host.executes, QList<int>{6});
        QVERIFY(!transfer->isEnabled());
        QVERIFY(!execute->isEnabled());
        QVERIFY(body->isVisible());
        QVERIFY(colour->isVisible());
        const bool data = HaveData();
        if (data) {
            QCOMPARE(colour->PicturePath(), QStringLiteral("Picture\\Pre\\160.bmp"));
            QTRY_COMPARE_WITH_TIMEOUT(colour->PicturePath(), QStringLiteral("Picture\\Pre\\176.bmp"), 3000);
            QTRY_COMPARE_WITH_TIMEOUT(colour->PicturePath(), QStringLiteral("Picture\\Pre\\184.bmp"), 3000);
        } else {
            // Missing pictures are reported once; the preview still runs its course.
            QCOMPARE(boxes.Count(), 1);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!colour->isVisible(), 8000);
        QVERIFY(!body->isVisible());
        QCOMPARE(host.hint, Step1Done + QStringLiteral("\nsecond"));
        QVERIFY(transfer->isEnabled());
        QVERIFY(!execute->isEnabled());
        if (!data)
            QCOMPARE(boxes.Count(), 1);

        // A new transfer is needed before the next execute.
        QTest::mouseClick(execute, Qt::LeftButton, {}, QPoint(50, 40));
        QCOMPARE(host.executes.size(), 1);
        QTest::mouseClick(transfer, Qt::LeftButton, {}, QPoint(50, 40));
        QCOMPARE(host.transfers.size(), 2);
        QVERIFY(execute->isEnabled());
    }

    void nothingIsSentWhileTheWireIsBusy()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep1Screen form(host, nullptr);
        form.show();
        host.ProgramList = {QStringLiteral("1")};
        host.busy = true;
        QTest::mouseClick(form.findChild<TImage *>(QStringLiteral("Image1")), Qt::LeftButton, {}, QPoint(50, 40));
        QVERIFY(host.transfers.isEmpty());
        QCOMPARE(host.ProgramList, QStringList{QStringLiteral("1")});
    }

    void learningGuide()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep1Screen form(host, nullptr);
        form.show();
        QList<QUrl> opened;
        form.SetUrlOpener([&opened](const QUrl &url) {
            opened.append(url);
            return false;
        });
        boxes.Clear();
        auto *guide = form.findChild<TImage *>(QStringLiteral("Image8"));
        QTest::mouseClick(guide, Qt::LeftButton, {}, QPoint(50, 40));
        QTRY_COMPARE(boxes.Count(), 1);
        QCOMPARE(boxes.Last(), QStringLiteral("学習ナビを開けませんでした\n学習ナビのファイルが見つからないか、表示するブラウザがありません"));
        const QString page = ResolveAsset(QStringLiteral("Help\\Navi\\index.html"));
        if (page.isEmpty()) {
            QVERIFY(opened.isEmpty());
            return;
        }
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(page)});
        form.SetUrlOpener([](const QUrl &) { return true; });
        QTest::mouseClick(guide, Qt::LeftButton, {}, QPoint(50, 40));
        QTest::qWait(100);
        QCOMPARE(boxes.Count(), 1);
    }
};

QTEST_MAIN(TestStep1Screen)
#include "test_step1_screen.moc"
