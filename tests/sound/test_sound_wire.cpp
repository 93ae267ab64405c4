// What the lamp receives from the two keyboards, read on a pseudo-terminal
// that stands in for the serial cable.
#include "Image.h"
#include "LampLine.h"
#include "MessageBoxWatcher.h"
#include "PageScreen.h"
#include "MainWindow.h"
#include "WorkFolder.h"

#include <QFile>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>

namespace {

QList<int> Repeat(int count, int value)
{
    return QList<int>(count, value);
}

} // namespace

class TestSoundWire : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QString error;
        QVERIFY2(m_line.OpenPseudoTerminal(&error), qPrintable(error));
        connect(&m_line, &TLampLine::ByteReceived, this, [this](int byte, qint64) { m_bytes.append(byte); });
        QFile ini(WorkFolder() + QStringLiteral("set.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[comport]\r\nname=0\r\ncom1=" + m_line.DevicePath().toLocal8Bit() + "\r\n");
        ini.close();
        m_form = std::make_unique<TMainWindow>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanupTestCase()
    {
        m_form.reset();
        QFile::remove(WorkFolder() + QStringLiteral("set.ini"));
    }

    void init()
    {
        QTest::qWait(50);
        m_bytes.clear();
    }

    void step6ShortDoAndLongHighDo()
    {
        QWidget *page = Page(TMainHost::PageStep6);
        Click(page, "Image53");
        QTRY_COMPARE(m_bytes, QList<int>({3, 16}));
        m_bytes.clear();
        Click(page, "LengthPicture3");
        Click(page, "Image60");
        QTRY_COMPARE(m_bytes, QList<int>({3, 60}));
    }

    void step7ThreeNotesWithoutLight()
    {
        QWidget *page = Page(TMainHost::PageStep7);
        Click(page, "Image17");
        for (const char *key : {"Image1", "Image3", "Image5"})
            Click(page, key);
        QTest::keyClick(page, Qt::Key_F6);
        QTRY_COMPARE(m_bytes, QList<int>({4, 16, 18, 20}) + Repeat(17, 222) + QList<int>({10, 2}));
        m_bytes.clear();
        QTest::keyClick(page, Qt::Key_F7);
        QTRY_COMPARE(m_bytes, QList<int>({7}));
    }

    void step7ThreeNotesInLedModeWithoutColours()
    {
        QWidget *page = Page(TMainHost::PageStep7);
        Click(page, "Image17");
        Click(page, "RadioButton4");
        Click(page, "Image39");
        for (const char *key : {"Image1", "Image3", "Image5"})
            Click(page, key);
        QTest::keyClick(page, Qt::Key_F6);
        QTRY_COMPARE(m_bytes, QList<int>({8}) + Repeat(14, 64) + Repeat(6, 255) + QList<int>({4, 16, 18, 20}) +
                                  Repeat(17, 222) + QList<int>({10, 2}));
        m_bytes.clear();
        QTest::keyClick(page, Qt::Key_F7);
        QTRY_COMPARE(m_bytes, QList<int>({9}));
        Click(page, "RadioButton5");
    }

    void step7TwentyNotesAreTwoBlocks()
    {
        QWidget *page = Page(TMainHost::PageStep7);
        Click(page, "Image17");
        for (int i = 0; i < 20; ++i)
            Click(page, "Image8");
        QTest::keyClick(page, Qt::Key_F6);
        QTRY_COMPARE(m_bytes, QList<int>({4}) + Repeat(20, 23) + QList<int>({5}) + Repeat(20, 222) +
                                  QList<int>({10, 2}));
    }

    void step7SeventyNineNotesAreFourBlocks()
    {
        QWidget *page = Page(TMainHost::PageStep7);
        Click(page, "Image17");
        for (int i = 0; i < 79; ++i)
            Click(page, "Image10");
        QTest::keyClick(page, Qt::Key_F6);
        QTRY_COMPARE_WITH_TIMEOUT(m_bytes,
                                  QList<int>({4}) + Repeat(20, 25) + QList<int>({5}) + Repeat(20, 25) +
                                      QList<int>({5}) + Repeat(20, 25) + QList<int>({5}) + Repeat(19, 25) +
                                      QList<int>({222, 10, 2}),
                                  20000);
    }

private:
    QWidget *Page(int page)
    {
        m_form->ShowPage(page);
        return m_form->Page(page);
    }

    static void Click(QWidget *page, const char *name)
    {
        auto *control = page->findChild<QWidget *>(QString::fromLatin1(name));
        QVERIFY2(control, name);
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, 5));
    }

    MessageBoxWatcher m_boxes;
    TLampLine m_line;
    QList<int> m_bytes;
    std::unique_ptr<TMainWindow> m_form;
};

QTEST_MAIN(TestSoundWire)
#include "test_sound_wire.moc"
