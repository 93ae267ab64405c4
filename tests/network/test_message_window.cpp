#include "StationHost.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "Said.h"
#include "MessageWindow.h"
#include "NetworkSettings.h"
#include "StationLinks.h"
#include "StationListener.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <memory>

using namespace NetworkSettingsIndex;

namespace {
// One station's message window on loopback with its own free port.
struct Station {
    StationHost host;
    std::unique_ptr<TMessageWindow> window;
    quint16 port = 0;

    explicit Station(const QString &ownName)
        : window(std::make_unique<TMessageWindow>(host))
        , port(FreeLoopbackPort())
    {
        SetReceiveMode(host.NetworkSettings, TReceiveMode::AcceptAll);
        host.NetworkSettings[OwnName] = ownName;
        host.NetworkSettings[OwnAddress] = QStringLiteral("127.0.0.1");
        window->Listener().SetListenAddress(QHostAddress::LocalHost);
        window->Listener().SetPort(port);
        window->Links().SetPort(port);
    }
    void Register(int k, const QString &name, quint16 remotePort)
    {
        host.NetworkSettings[Address(k)] = QStringLiteral("127.0.0.1");
        host.NetworkSettings[Name(k)] = name;
        host.NetworkSettings[ThirdPart(k)] = QStringLiteral("0");
        host.NetworkSettings[FourthPart(k)] = QStringLiteral("1");
        window->Links().SetStationPort(k, remotePort);
    }
    void Open()
    {
        window->ShowWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QCheckBox *Box(int k) const { return window->findChild<QCheckBox *>(QStringLiteral("CheckBox%1").arg(k)); }
    QStringList Log() const
    {
        const QString text = window->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->toPlainText();
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }
    QLineEdit *Edit() const { return window->findChild<QLineEdit *>(QStringLiteral("Edit21")); }
    void Click(const char *name) const { QTest::mouseClick(window->findChild<TImage *>(QString::fromLatin1(name)), Qt::LeftButton); }
};
} // namespace

class TestMessageWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void twoStationsTalk()
    {
        MessageBoxWatcher boxes;
        Station a(QStringLiteral("A局"));
        Station b(QStringLiteral("B局"));
        a.Register(1, QStringLiteral("B局"), b.port);
        b.Register(2, QStringLiteral("A局"), a.port);
        a.Open();
        b.Open();
        QCOMPARE(a.window->findChild<QLabel *>(QStringLiteral("Label3"))->text(), QStringLiteral("B局"));

        // Clicking the name's panel ticks the box and connects.
        QTest::mouseClick(a.window->findChild<QWidget *>(QStringLiteral("Panel3")), Qt::LeftButton);
        QVERIFY(a.Box(1)->isChecked());
        QTRY_COMPARE(a.Log(), QStringList{QStringLiteral("[ A局 ---> B局 ]接続")});
        QTRY_COMPARE(b.Log(), QStringList{QStringLiteral("[ A局 ---> B局 ]接続")});

        a.Edit()->setFocus();
        a.Edit()->insert(QStringLiteral("127.0.0.1です"));
        QTest::keyClick(a.Edit(), Qt::Key_Return);
        QVERIFY(a.Edit()->text().isEmpty());
        const QRegularExpression sent(QStringLiteral("^A局\\[\\d{1,2}:\\d\\d:\\d\\d\\]:A局です$"));
        QTRY_COMPARE(a.Log().size(), 2);
        QVERIFY2(sent.match(a.Log().at(1)).hasMatch(), qPrintable(a.Log().at(1)));
        QTRY_COMPARE(b.Log().size(), 2);
        QVERIFY2(sent.match(b.Log().at(1)).hasMatch(), qPrintable(b.Log().at(1)));

        // What a Linux input method gives goes out as its code page 932 twin.
        a.Edit()->setText(QStringLiteral("1〜3−4"));
        QTest::keyClick(a.Edit(), Qt::Key_Return);
        QTRY_COMPARE(b.Log().size(), 3);
        QVERIFY2(b.Log().at(2).endsWith(QStringLiteral("]:1～3－4")), qPrintable(b.Log().at(2)));
        QCOMPARE(a.Log().size(), 3);

        // Closing the sender's window ends the link: both sides log it.
        a.Click("Image3");
        QVERIFY(!a.window->isVisible());
        QVERIFY(!a.Box(1)->isChecked());
        QTRY_COMPARE(b.Log().size(), 4);
        QCOMPARE(b.Log().at(3), QStringLiteral("[ A局 ---> B局 ]切断"));
        QCOMPARE(Said(boxes), QStringList());

        // A new showing starts with an empty log.
        a.Open();
        QVERIFY(a.Log().isEmpty());
    }

    void sendingNeedsAGoodDestination()
    {
        MessageBoxWatcher boxes;
        Station a(QStringLiteral("A局"));
        Station b(QStringLiteral("B局"));
        a.Open();
        a.Edit()->setText(QStringLiteral("やあ"));
        a.Click("Image2");
        QCOMPARE(boxes.Last(), QStringLiteral("送信先が指定されておりません。"));
        QCOMPARE(a.Edit()->text(), QStringLiteral("やあ"));

        // The message box's hint shows in the main window's hint area.
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), a.Edit()->mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(a.Edit(), &enter);
        QCOMPARE(a.host.HintAreaText(), QStringLiteral("送信したいメッセージをここに書き込みます"));

        a.Box(2)->click();   // no name registered
        QCOMPARE(boxes.Last(), QStringLiteral("メッセージ送信先が正しく設定されておりません。"));
        QVERIFY(!a.Box(2)->isChecked());

        a.Register(1, QStringLiteral("B局"), b.port);
        b.Open();
        a.Box(1)->click();
        a.host.NetworkSettings[FourthPart(1)].clear();
        a.Click("Image2");
        QCOMPARE(boxes.Last(), QStringLiteral("ネットワーク設定が正しく設定されておりません。\nネットワーク設定を再度確認して下さい。"));
        QCOMPARE(a.Edit()->text(), QStringLiteral("やあ"));
        a.host.NetworkSettings[FourthPart(1)] = QStringLiteral("1");
        a.Edit()->setText(QStringLiteral("😀"));
        a.Click("Image2");
        QVERIFY2(boxes.Last().contains(QStringLiteral("送信できない文字")), qPrintable(boxes.Last()));
        QCOMPARE(a.Edit()->text(), QStringLiteral("😀"));
    }

    void oneFailingDestinationIsUntickedAlone()
    {
        MessageBoxWatcher boxes;
        Station a(QStringLiteral("A局"));
        Station b(QStringLiteral("B局"));
        a.Register(1, QStringLiteral("B局"), b.port);
        a.Register(2, QStringLiteral("いない局"), FreeLoopbackPort());
        a.Open();
        b.Open();
        a.Box(1)->click();
        a.Box(2)->click();
        QTRY_VERIFY(!a.Box(2)->isChecked());
        QTRY_VERIFY(a.Log().contains(QStringLiteral("[ A局 ---> B局 ]接続")));
        QVERIFY(a.Log().contains(QStringLiteral("接続先:127.0.0.1に接続できませんでした。")));
        QVERIFY(a.Box(1)->isChecked());
        QCOMPARE(Said(boxes), QStringList());
    }

    void receiveModes()
    {
        MessageBoxWatcher boxes;
        Station a(QStringLiteral("A局"));
        Station b(QStringLiteral("B局"));
        a.Register(1, QStringLiteral("B局"), b.port);
        a.Open();
        b.Open();

        // Mode 2, A not registered at B: no line at all on B.
        SetReceiveMode(b.host.NetworkSettings, TReceiveMode::AcceptRegistered);
        a.Box(1)->click();
        QTRY_VERIFY(!a.Box(1)->isChecked());
        QTest::qWait(100);
        QCOMPARE(b.Log(), QStringList());

        // Mode 3: one closing line.
        SetReceiveMode(b.host.NetworkSettings, TReceiveMode::AcceptNone);
        a.Box(1)->click();
        QTRY_VERIFY(!a.Box(1)->isChecked());
        QTRY_COMPARE(b.Log(), QStringList{QStringLiteral("[ 127.0.0.1 ---> B局 ]切断")});

        // Anything not of the message form is dropped without a word.
        SetReceiveMode(b.host.NetworkSettings, TReceiveMode::AcceptAll);
        QTcpSocket raw;
        raw.connectToHost(QHostAddress::LocalHost, b.port);
        QVERIFY(raw.waitForConnected(5000));
        QTRY_COMPARE(b.Log().size(), 2);
        raw.write("no address here");
        raw.flush();
        QTest::qWait(100);
        raw.write("127.0.0.1[1:02:03]:<i>plain</i>");
        QTRY_COMPARE(b.Log().size(), 3);
        QCOMPARE(b.Log().at(2), QStringLiteral("127.0.0.1[1:02:03]:<i>plain</i>"));
        QCOMPARE(Said(boxes), QStringList());
    }

    void aTakenPortIsSaidInTheWindow()
    {
        MessageBoxWatcher boxes;
        Station a(QStringLiteral("A局"));
        QTcpServer squatter;
        QVERIFY(squatter.listen(QHostAddress::LocalHost, a.port));
        a.Open();
        QVERIFY(a.window->findChild<QLabel *>(QStringLiteral("Label1"))->text().contains(QStringLiteral("を開けません（他のソフトが使っています）")));
        a.Click("Image3");
        squatter.close();
        a.Open();
        QVERIFY(a.window->findChild<QLabel *>(QStringLiteral("Label1"))->text().isEmpty());
        QVERIFY(a.window->Listener().IsOpen());
        QCOMPARE(Said(boxes), QStringList());
    }
};

QTEST_MAIN(TestMessageWindow)
#include "test_message_window.moc"
