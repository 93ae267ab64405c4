#include "DragController.h"
#include "StationHost.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "Said.h"
#include "NetworkSettings.h"
#include "Selector.h"
#include "StationFinder.h"
#include "StationLinks.h"
#include "StationListener.h"
#include "Step8Screen.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QUdpSocket>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>
#include <memory>

using namespace NetworkSettingsIndex;

namespace {
const QString SettingsError = QStringLiteral("(10002)エラーが発生しました\nネットワーク設定を確認してください。");
const char *const AddressBoxes[6][4] = {
    {"Edit1", "Edit2", "Edit15", "Edit22"}, {"Edit3", "Edit4", "Edit16", "Edit23"},
    {"Edit5", "Edit6", "Edit17", "Edit24"}, {"Edit8", "Edit21", "Edit18", "Edit25"},
    {"Edit28", "Edit29", "Edit19", "Edit26"}, {"Edit30", "Edit31", "Edit20", "Edit27"},
};

quint16 FinderTestPort()
{
    static const quint16 port = [] {
        QUdpSocket probe;
        probe.bind(QHostAddress::LocalHost, 0);
        return probe.localPort();
    }();
    return port;
}

// One station: a page on loopback with its own free port.
struct Station {
    StationHost host;
    std::unique_ptr<TStep8Screen> page;
    quint16 port = 0;

    Station()
        : page(std::make_unique<TStep8Screen>(host, nullptr))
        , port(FreeLoopbackPort())
    {
        page->Listener().SetListenAddress(QHostAddress::LocalHost);
        page->Listener().SetPort(port);
        page->Links().SetPort(port);
        // The finder keeps to loopback too: it asks 127.0.0.2 and 127.0.0.3 alone, on a port of its own.
        page->Finder().SetBindAddress(QHostAddress::LocalHost);
        page->Finder().SetPort(FinderTestPort());
        page->Finder().SetTargets({QHostAddress(QStringLiteral("127.0.0.2")), QHostAddress(QStringLiteral("127.0.0.3"))});
        page->show();
        page->FormShow();
    }
    template <typename T> T *Find(const QString &name) const
    {
        T *child = page->findChild<T *>(name);
        if (!child)
            qFatal("missing control %s", qPrintable(name));
        return child;
    }
    QLineEdit *Edit(const char *name) const { return Find<QLineEdit>(QString::fromLatin1(name)); }
    void Click(const QString &name) const { QTest::mouseClick(Find<TImage>(name), Qt::LeftButton); }

    // Station k is at 127.0.0.1 under `name`; every slot talks to `remotePort`.
    void Register(int k, const QString &name, quint16 remotePort, const QString &ownName = QStringLiteral("A局"))
    {
        page->Links().SetStationPort(k, remotePort);
        Find<QLineEdit>(QStringLiteral("Edit%1").arg(8 + k))->setText(name);
        const QStringList parts{QStringLiteral("127"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1")};
        for (int part = 0; part < 4; ++part)
            Edit(AddressBoxes[k - 1][part])->setText(parts[part]);
        Edit("Edit7")->setText(ownName);
        Click(QStringLiteral("Image19"));
    }
    // What the platform delivers when a palette panel is let go over slot k.
    bool Drop(const char *panel, int k) const
    {
        QWidget *target = Find<QWidget>(QStringLiteral("StationTarget%1").arg(k));
        const auto mime = TDragController::MimeFor(Find<QWidget>(QString::fromLatin1(panel)));
        const QPointF at = QRectF(target->rect()).center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }
    QString Status(int k) const { return Find<QLabel>(QStringLiteral("StationStatus%1").arg(k))->text(); }
};
} // namespace

class TestNetworkPage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void settingsPanelFillsTheRecord()
    {
        MessageBoxWatcher boxes;
        Station a;
        auto *panel = a.Find<QWidget>(QStringLiteral("Panel1"));
        QCOMPARE(panel->y(), 430);
        // Hidden, not only out of sight: no Tab stop, no Enter that applies it.
        QVERIFY(!panel->isVisibleTo(a.page.get()));
        a.Click(QStringLiteral("Image3"));
        QCOMPARE(panel->pos(), QPoint(0, 0));
        QVERIFY(panel->isVisibleTo(a.page.get()));
        // What the open panel covers takes no Tab stop either.
        auto *underneath = a.Find<QWidget>(QStringLiteral("StationTarget1"));
        QVERIFY(!underneath->isVisibleTo(a.page.get()));
        QCOMPARE(a.Edit("Edit1")->text(), QStringLiteral("192"));
        QCOMPARE(a.Edit("Edit2")->text(), QStringLiteral("168"));
        QLineEdit *third = a.Edit("Edit16");
        third->setFocus();
        QTest::keyClicks(third, QStringLiteral("1a-2 ."));
        QTest::keyClick(third, Qt::Key_Backspace);
        QTest::keyClicks(third, QStringLiteral("3"));
        QCOMPARE(third->text(), QStringLiteral("13"));
        a.Edit("Edit10")->setText(QStringLiteral("はなこ"));
        a.Edit("Edit23")->setText(QStringLiteral("9"));
        a.Edit("Edit7")->setText(QStringLiteral("たろう"));
        a.Find<QRadioButton>(QStringLiteral("RadioButton2"))->setChecked(true);
        QTest::keyClick(a.Edit("Edit23"), Qt::Key_Return);   // Enter applies like OK
        QCOMPARE(panel->y(), 430);
        QVERIFY(!panel->isVisibleTo(a.page.get()));
        QVERIFY(underneath->isVisibleTo(a.page.get()));
        const QStringList &s = a.host.NetworkSettings;
        QCOMPARE(s.size(), EntryCount);
        QCOMPARE(s[Address(2)], QStringLiteral("192.168.13.9"));
        QCOMPARE(s[Address(1)], QStringLiteral("192.168.."));
        QCOMPARE(s[Name(2)], QStringLiteral("はなこ"));
        QCOMPARE(s[ThirdPart(2)], QStringLiteral("13"));
        QCOMPARE(s[FourthPart(2)], QStringLiteral("9"));
        QCOMPARE(s[OwnName], QStringLiteral("たろう"));
        QCOMPARE(s[OwnAddress], a.Find<QLabel>(QStringLiteral("Label1"))->text());
        QCOMPARE(s[ReceiveMode], QStringLiteral("2"));
        QCOMPARE(a.Find<QLineEdit>(QStringLiteral("StationName2"))->text(), QStringLiteral("はなこ"));
        QCOMPARE(a.Find<QLabel>(QStringLiteral("Label2"))->text(), QStringLiteral("たろう"));
        // Every showing goes back to mode 1, shows it as chosen and paints the choices grey.
        a.page->FormShow();
        QCOMPARE(s[ReceiveMode], QStringLiteral("1"));
        QCOMPARE(a.Find<QRadioButton>(QStringLiteral("RadioButton2"))->palette().color(QPalette::Window), QColor(204, 204, 204));
        QVERIFY(a.Find<QRadioButton>(QStringLiteral("RadioButton1"))->isChecked());
        QCOMPARE(Said(boxes), QStringList());
    }

    void commandsLightTheOtherStation()
    {
        MessageBoxWatcher boxes;
        Station a;
        Station b;
        a.Register(2, QStringLiteral("B局"), b.port);
        QVERIFY(a.Drop("Image21", 2));   // red
        QVERIFY(!a.Drop("Image3", 2));   // only palette panels are taken
        auto *selector = a.Find<TSelector>(QStringLiteral("StationSelector2"));
        QVERIFY(selector->isEnabled());
        QCOMPARE(selector->Values().size(), 8);
        QCOMPARE(selector->ItemIndex(), 0);
        QTRY_COMPARE(a.Status(2), QStringLiteral("接続完了"));
        selector->SetItemIndex(2);
        QCOMPARE(a.page->SlotCode(2), 162);

        a.Click(QStringLiteral("Image8"));
        QTRY_COMPARE(b.host.calls.size(), 1);
        QCOMPARE(b.host.calls[0].kind, QStringLiteral("Transfer"));
        QCOMPARE(b.host.calls[0].mode, 1);
        QCOMPARE(b.host.calls[0].direct, 162);

        a.Click(QStringLiteral("Image5"));
        QTRY_COMPARE(b.host.calls.size(), 2);
        QCOMPARE(b.host.calls[1].mode, 2);
        QCOMPARE(b.host.calls[1].program, QStringList{QStringLiteral("162")} + QStringList(19, QStringLiteral("223")));

        a.Click(QStringLiteral("Image6"));
        QTRY_COMPARE(b.host.calls.size(), 3);
        QCOMPARE(b.host.calls[2].kind, QStringLiteral("SendExecute"));
        QCOMPARE(b.host.calls[2].execute, 6);

        // Arriving during a transfer, a command waits for the wire.
        b.host.busy = true;
        a.page->SlotDragDrop(2, 6);   // white
        a.Find<TSelector>(QStringLiteral("StationSelector2"))->SetItemIndex(7);
        a.Click(QStringLiteral("Image8"));
        QTRY_COMPARE(b.host.queued.size(), 1);
        QCOMPARE(b.host.calls.size(), 3);
        b.host.FinishTransfer();
        QCOMPARE(b.host.calls.size(), 4);
        QCOMPARE(b.host.calls[3].direct, 215);

        // The delete panel empties the slot and closes its link.
        QVERIFY(a.Drop("Image29", 2));
        QCOMPARE(a.Status(2), QStringLiteral("切断"));
        QCOMPARE(a.page->SlotCode(2), 0);
        QVERIFY(!a.Find<TSelector>(QStringLiteral("StationSelector2"))->isEnabled());
        QCOMPARE(Said(boxes), QStringList());
    }

    void badInputGivesTheBoxesAndChangesNothing()
    {
        MessageBoxWatcher boxes;
        Station a;
        Station b;
        a.page->SlotDragDrop(1, 0);                     // station 1 has no name
        QCOMPARE(boxes.Last(), SettingsError);
        QCOMPARE(a.page->SlotCode(1), 0);
        QCOMPARE(a.Status(1), QStringLiteral("未接続"));

        a.Click(QStringLiteral("Image7"));
        QCOMPARE(boxes.Last(), SettingsError);
        a.Register(1, QStringLiteral("B局"), b.port, QString());
        a.Click(QStringLiteral("Image7"));
        QCOMPARE(boxes.Last(), QStringLiteral("自分の名前が未入力の為送信できません。"));
        a.Click(QStringLiteral("Image4"));
        QCOMPARE(boxes.Last(), QStringLiteral("ネットワーク設定で送信元設定をして下さい。"));
        a.Register(1, QStringLiteral("B局"), b.port);
        a.Click(QStringLiteral("Image7"));
        QCOMPARE(boxes.Last(), QStringLiteral("LEDの命令がありません。LEDを光らせる色を枠の中にドラッグして下さい"));
        QSignalSpy opened(a.page.get(), &TStep8Screen::MessageWindowRequested);
        a.Click(QStringLiteral("Image4"));
        QCOMPARE(opened.count(), 1);

        // Transfer to all stops at the first incomplete station it meets.
        a.page->SlotDragDrop(1, 7);   // dark
        QTRY_COMPARE(a.Status(1), QStringLiteral("接続完了"));
        a.Find<TSelector>(QStringLiteral("StationSelector1"))->SetItemIndex(5);
        a.Register(3, QStringLiteral("C局"), b.port);
        a.page->SlotDragDrop(3, 1);
        QTRY_COMPARE(a.Status(3), QStringLiteral("接続完了"));
        a.Edit("Edit24")->clear();
        boxes.Clear();
        a.Click(QStringLiteral("Image5"));
        QCOMPARE(boxes.Last(), SettingsError);
        QTRY_COMPARE(b.host.calls.size(), 1);
        QTest::qWait(100);
        QCOMPARE(b.host.calls.size(), 1);
        QCOMPARE(b.host.calls[0].program.first(), QStringLiteral("221"));
    }

    void unreachableAndRefusingStations()
    {
        MessageBoxWatcher boxes;
        Station a;
        Station b;
        a.Register(1, QStringLiteral("B局"), b.port);
        a.Register(2, QStringLiteral("いない局"), FreeLoopbackPort());
        a.page->SlotDragDrop(1, 0);
        a.page->SlotDragDrop(2, 0);
        QTRY_COMPARE(a.Status(2), QStringLiteral("接続エラー"));
        QCOMPARE(a.page->SlotCode(2), 0);
        QTRY_COMPARE(a.Status(1), QStringLiteral("接続完了"));
        QCOMPARE(Said(boxes), QStringList());

        // B accepts registered stations only: A (127.0.0.1) is not among them.
        b.Find<QRadioButton>(QStringLiteral("RadioButton2"))->setChecked(true);
        b.Click(QStringLiteral("Image19"));
        QTRY_COMPARE(a.Status(1), QStringLiteral("切断"));
        QCOMPARE(a.page->SlotCode(1), 0);
        a.page->SlotDragDrop(1, 0);
        QTRY_COMPARE(a.Status(1), QStringLiteral("切断"));
        QCOMPARE(b.page->Listener().ConnectionCount(), 0);

        // Accepting none closes the port until the page is shown again.
        b.Find<QRadioButton>(QStringLiteral("RadioButton3"))->setChecked(true);
        b.Click(QStringLiteral("Image19"));
        QVERIFY(!b.page->Listener().IsOpen());
        a.page->SlotDragDrop(1, 0);
        QTRY_COMPARE(a.Status(1), QStringLiteral("接続エラー"));
        // Shown again, it receives from everyone, and its choice says so.
        b.page->FormShow();
        QVERIFY(b.page->Listener().IsOpen());
        QVERIFY(b.Find<QRadioButton>(QStringLiteral("RadioButton1"))->isChecked());
        a.page->SlotDragDrop(1, 0);
        QTRY_COMPARE(a.Status(1), QStringLiteral("接続完了"));
        a.Click(QStringLiteral("Image7"));
        QTRY_COMPARE(b.host.calls.size(), 1);
        QCOMPARE(Said(boxes), QStringList());
    }

    void strangeAndOversizedTextIsIgnored()
    {
        MessageBoxWatcher boxes;
        Station b;
        QSignalSpy received(&b.page->Listener(), &TStationListener::Received);
        QTcpSocket raw;
        raw.connectToHost(QHostAddress::LocalHost, b.port);
        QVERIFY(raw.waitForConnected(5000));
        for (const char *text : {"hello", "1,2,3", "300", "<b>06</b>"}) {
            raw.write(text);
            QTRY_VERIFY(!received.isEmpty());
            received.clear();
        }
        raw.write(QByteArray(200 * 1024, '1'));
        QTest::qWait(300);
        for (const QList<QVariant> &args : received)
            QVERIFY(args.at(1).toString().size() <= TStationListener::ReadCap);
        QCOMPARE(b.host.calls.size(), 0);
        QCOMPARE(Said(boxes), QStringList());
    }

    void aFoundStationFillsTheNextEmptyRowAsIfTyped()
    {
        MessageBoxWatcher boxes;
        Station a;
        TStationFinder hanako(nullptr);
        TFinderIdentity identity{QStringLiteral("はなこ"), QStringLiteral("127.0.0.2"), QStringLiteral("3A"), true};
        hanako.SetBindAddress(QHostAddress(QStringLiteral("127.0.0.2")));
        hanako.SetPort(FinderTestPort());
        hanako.SetIdentity([&identity] { return identity; });
        QVERIFY(hanako.Open());
        TStationFinder akira(nullptr);
        akira.SetBindAddress(QHostAddress(QStringLiteral("127.0.0.3")));
        akira.SetPort(FinderTestPort());
        akira.SetIdentity([] { return TFinderIdentity{QStringLiteral("あきら"), QStringLiteral("127.0.0.3"), QStringLiteral("3A"), true}; });
        QVERIFY(akira.Open());
        a.Click(QStringLiteral("Image3"));
        a.Edit("Edit9")->setText(QStringLiteral("たろう"));   // row 1 is taken, row 2 is next
        auto search = [&a] { a.page->findChild<QPushButton *>(QStringLiteral("FinderButton"))->click(); };
        search();
        auto *list = a.page->findChild<QListWidget *>(QStringLiteral("FoundList"));
        auto status = [&a] { return a.page->findChild<QLabel *>(QStringLiteral("FinderStatus"))->text(); };

        // Another class code: nobody answers.
        QTRY_VERIFY_WITH_TIMEOUT(status().startsWith(QStringLiteral("見つかりませんでした")), 30000);
        QCOMPARE(list->count(), 0);

        a.Edit("ClassCode")->setText(QStringLiteral("3A"));
        search();
        QTRY_COMPARE_WITH_TIMEOUT(list->count(), 2, 30000);
        // In name order, whatever the order of the answers.
        QCOMPARE(list->item(0)->text(), QStringLiteral("あきら　127.0.0.3"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("はなこ　127.0.0.2"));
        QCOMPARE(a.Edit("Edit10")->text(), QString());   // nothing is registered before the choice
        auto choose = [&a, list] {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(1)).center());
            QTest::mouseClick(a.page->findChild<QPushButton *>(QStringLiteral("FinderChoose")), Qt::LeftButton);
        };
        choose();
        QCOMPARE(a.Edit("Edit10")->text(), QStringLiteral("はなこ"));
        QStringList typed;
        for (const char *box : AddressBoxes[1])
            typed << a.Edit(box)->text();
        QCOMPARE(typed, (QStringList{"127", "0", "0", "2"}));
        QCOMPARE(Said(boxes), QStringList());

        // The same station again is refused; so is any station once all six rows are taken.
        search();
        QTRY_COMPARE_WITH_TIMEOUT(list->count(), 2, 30000);
        choose();
        QCOMPARE(boxes.Last(), QStringLiteral("この局は2番にもう登録されています。"));
        for (int k = 1; k <= 6; ++k)
            a.Edit(AddressBoxes[k - 1][3])->setText(QString::number(k == 2 ? 9 : k));
        search();
        QTRY_COMPARE_WITH_TIMEOUT(list->count(), 2, 30000);
        choose();
        QVERIFY2(boxes.Last().startsWith(QStringLiteral("登録できるのは6局までです。")), qPrintable(boxes.Last()));

        // The code is kept with the rest of the record; receiving nothing stops the answers.
        a.Edit("Edit7")->setText(QStringLiteral("A局"));
        a.Click(QStringLiteral("Image19"));
        QCOMPARE(a.host.NetworkSettings[ClassCode], QStringLiteral("3A"));
        QCOMPARE(a.host.NetworkSettings[Name(2)], QStringLiteral("はなこ"));
        QStringList found;
        connect(&hanako, &TStationFinder::Found, this, [&found](const TFoundStation &s) { found << s.name + QLatin1Char('@') + s.address; });
        hanako.SetTargets({QHostAddress::LocalHost});
        QVERIFY(hanako.Search(QStringLiteral("3A")));
        QTRY_COMPARE_WITH_TIMEOUT(found.size(), 1, 30000);
        // Listed where the answer came from: the finder here keeps to 127.0.0.1.
        QCOMPARE(found.at(0), QStringLiteral("A局@127.0.0.1"));
        a.Find<QRadioButton>(QStringLiteral("RadioButton3"))->setChecked(true);
        a.Click(QStringLiteral("Image19"));
        const qint64 ignored = a.page->Finder().IgnoredCount();
        QVERIFY(hanako.Search(QStringLiteral("3A")));
        QTRY_VERIFY_WITH_TIMEOUT(a.page->Finder().IgnoredCount() > ignored, 30000);
        QCOMPARE(a.page->Finder().AnsweredCount(), qint64(1));
    }

    void theFoundListShowsEveryAddressAndRegistersTheHighlightedRow()
    {
        MessageBoxWatcher boxes;
        Station a;
        a.Click(QStringLiteral("Image3"));
        a.page->SearchNearbyStations();
        auto *list = a.page->findChild<QListWidget *>(QStringLiteral("FoundList"));
        // The longest name a datagram carries: 66 three-byte characters and two more bytes.
        const QString longName = QString(66, QChar(0x3042)) + QStringLiteral("ab");
        QCOMPARE(longName.toUtf8().size(), 200);
        // Answers come in any order; a later one may sort above the first.
        for (const TFoundStation &station : {TFoundStation{QStringLiteral("はなこ"), QStringLiteral("127.0.0.2")},
                                             TFoundStation{longName, QStringLiteral("127.0.0.5")},
                                             TFoundStation{QStringLiteral("あきら"), QStringLiteral("127.0.0.3")}})
            Q_EMIT a.page->Finder().Found(station);
        QCOMPARE(list->count(), 3);
        // In name order the long name is on top, and it is the highlighted row.
        QCOMPARE(list->selectedItems(), QList<QListWidgetItem *>{list->item(0)});
        auto wholeInSight = [list](int row) {
            const QString text = list->item(row)->text();
            return QFontMetrics(list->font()).horizontalAdvance(text) <= list->viewport()->width();
        };
        QVERIFY2(list->item(0)->text().endsWith(QStringLiteral("　127.0.0.5")), qPrintable(list->item(0)->text()));
        QVERIFY(wholeInSight(0));
        auto choose = [&a] { QTest::mouseClick(a.page->findChild<QPushButton *>(QStringLiteral("FinderChoose")), Qt::LeftButton); };
        choose();
        QCOMPARE(a.Edit("Edit9")->text(), longName);
        QCOMPARE(a.Edit(AddressBoxes[0][3])->text(), QStringLiteral("5"));
        // Registered, it still shows its address and the mark.
        QVERIFY2(list->item(0)->text().endsWith(QStringLiteral("　127.0.0.5（登録しました）")), qPrintable(list->item(0)->text()));
        QVERIFY(wholeInSight(0));
        QTest::keyClick(list, Qt::Key_Down);
        choose();
        QCOMPARE(a.Edit("Edit10")->text(), QStringLiteral("あきら"));
        QCOMPARE(Said(boxes), QStringList());
    }

    void aTakenPortIsSaidOnThePage()
    {
        MessageBoxWatcher boxes;
        StationHost host;
        TStep8Screen page(host, nullptr);
        QTcpServer squatter;
        QVERIFY(squatter.listen(QHostAddress::LocalHost, 0));
        page.Listener().SetListenAddress(QHostAddress::LocalHost);
        page.Listener().SetPort(squatter.serverPort());
        page.show();
        page.FormShow();
        const auto *label = page.findChild<QLabel *>(QStringLiteral("Label3"));
        const QString said = label->text();
        QCOMPARE(said, QStringLiteral("受信用のポート%1を開けません（他のソフトが使っています）。このページを開き直すと、もう一度試します。")
                           .arg(squatter.serverPort()));
        // Whole, on at most two lines of the page.
        const QRect needed = QFontMetrics(label->font()).boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, said);
        QVERIFY(needed.height() <= label->height() && needed.height() <= 2 * QFontMetrics(label->font()).lineSpacing());
        QVERIFY(label->geometry().right() < page.width());
        QVERIFY(!page.Listener().IsOpen());
        squatter.close();
        page.FormShow();
        QVERIFY(page.Listener().IsOpen());
        QVERIFY(page.findChild<QLabel *>(QStringLiteral("Label3"))->text().isEmpty());
        page.hide();   // leaving the page closes the port
        QVERIFY(!page.Listener().IsOpen());
        QCOMPARE(Said(boxes), QStringList());
    }
};

QTEST_MAIN(TestNetworkPage)
#include "test_network_page.moc"
