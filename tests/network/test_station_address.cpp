#include "StationHost.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "MessageWindow.h"
#include "NetworkSettings.h"
#include "StationLinks.h"
#include "StationListener.h"
#include "StationOption.h"
#include "Step8Screen.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace NetworkSettingsIndex;

namespace {
const QHostAddress Pinned(QStringLiteral("127.0.0.2"));

TStationOption Read(const QStringList &rest)
{
    return ReadStationOption(QStringList{QStringLiteral("lk72")} + rest);
}

void RegisterStationOne(TMainHost &host, const QString &name)
{
    SetReceiveMode(host.NetworkSettings, TReceiveMode::AcceptAll);
    host.NetworkSettings[Address(1)] = QStringLiteral("127.0.0.1");
    host.NetworkSettings[Name(1)] = name;
    host.NetworkSettings[ThirdPart(1)] = QStringLiteral("0");
    host.NetworkSettings[FourthPart(1)] = QStringLiteral("1");
    host.NetworkSettings[OwnName] = QStringLiteral("B局");
    host.NetworkSettings[OwnAddress] = Pinned.toString();
}
} // namespace

// Two stations on one computer each take their own loopback address: the
// others must see them there, or names and the receive filter go wrong.
class TestStationAddress : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void startOption()
    {
        QVERIFY(Read({}).address.isNull());
        QVERIFY(Read({}).error.isEmpty());
        QCOMPARE(Read({QStringLiteral("--station-address=127.0.0.2")}).address, Pinned);
        QCOMPARE(Read({QStringLiteral("--station-address"), QStringLiteral("127.0.0.2")}).address, Pinned);
        // Forms that are no four-part IPv4 address are refused with a message, never half used.
        for (const QStringList &bad : {QStringList{QStringLiteral("--station-address=127.1")},
                                       QStringList{QStringLiteral("--station-address=::1")},
                                       QStringList{QStringLiteral("--station-address=256.0.0.1")},
                                       QStringList{QStringLiteral("--station-address")}}) {
            const TStationOption option = Read(bad);
            QVERIFY2(option.address.isNull(), qPrintable(bad.join(u' ')));
            QVERIFY(option.error.startsWith(QStringLiteral("起動オプション --station-address の値")));
        }
        QVERIFY(Read({QStringLiteral("--station-address=x.y")}).error.contains(QStringLiteral("「x.y」")));
    }

    void pageListensAndConnectsFromThePinnedAddress()
    {
        MessageBoxWatcher boxes;
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::LocalHost));
        StationHost host;
        TStep8Screen page(host, nullptr);
        page.SetStationAddress(Pinned);
        page.Listener().SetPort(other.serverPort());
        page.Links().SetPort(other.serverPort());
        page.show();
        page.FormShow();
        QCOMPARE(page.findChild<QLabel *>(QStringLiteral("Label1"))->text(), Pinned.toString());

        // Someone reaches the page at the pinned address only.
        QTcpSocket caller;
        caller.connectToHost(Pinned, other.serverPort());
        QVERIFY(caller.waitForConnected(2000));

        // The settings apply copies the shown address into the record the messages use.
        page.findChild<QLineEdit *>(QStringLiteral("Edit9"))->setText(QStringLiteral("A局"));
        for (const char *name : {"Edit1", "Edit2", "Edit15", "Edit22"})
            page.findChild<QLineEdit *>(QString::fromLatin1(name))->clear();
        QTest::keyClicks(page.findChild<QLineEdit *>(QStringLiteral("Edit1")), QStringLiteral("127"));
        QTest::keyClicks(page.findChild<QLineEdit *>(QStringLiteral("Edit2")), QStringLiteral("0"));
        QTest::keyClicks(page.findChild<QLineEdit *>(QStringLiteral("Edit15")), QStringLiteral("0"));
        QTest::keyClicks(page.findChild<QLineEdit *>(QStringLiteral("Edit22")), QStringLiteral("1"));
        page.findChild<QLineEdit *>(QStringLiteral("Edit7"))->setText(QStringLiteral("B局"));
        QTest::mouseClick(page.findChild<TImage *>(QStringLiteral("Image19")), Qt::LeftButton);
        QCOMPARE(host.NetworkSettings[OwnAddress], Pinned.toString());

        page.SlotDragDrop(1, 0);
        QTRY_VERIFY(other.hasPendingConnections());
        QCOMPARE(other.nextPendingConnection()->peerAddress(), Pinned);
        QVERIFY(boxes.Texts().isEmpty());
    }

    void messageLinksLeaveFromThePinnedAddress()
    {
        MessageBoxWatcher boxes;
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::LocalHost));
        StationHost host;
        RegisterStationOne(host, QStringLiteral("A局"));
        TMessageWindow window(host);
        window.SetStationAddress(Pinned);
        window.Listener().SetPort(other.serverPort());
        window.Links().SetPort(other.serverPort());
        window.ShowWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->click();
        QTRY_VERIFY(other.hasPendingConnections());
        QCOMPARE(other.nextPendingConnection()->peerAddress(), Pinned);
        QVERIFY(window.findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->isChecked());
        QVERIFY(boxes.Texts().isEmpty());
    }
};

QTEST_MAIN(TestStationAddress)
#include "test_station_address.moc"
