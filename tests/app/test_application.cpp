#include "Application.h"
#include "MessageBoxWatcher.h"

#include <QFontInfo>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

// An exception escaping a handler is shown with its text and the program goes on.
class TestApplication : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void escapedErrorIsShownAndTheProgramGoesOn()
    {
        MessageBoxWatcher boxes;
        QPushButton button(QStringLiteral("x"));
        int clicks = 0;
        connect(&button, &QPushButton::clicked, [&] {
            ++clicks;
            throw std::runtime_error("ファイルが見つかりません: picture\\x.bmp");
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        QTRY_COMPARE(boxes.Count(), 1);
        QCOMPARE(boxes.Last(), QStringLiteral("ファイルが見つかりません: picture\\x.bmp"));
        QTest::mouseClick(&button, Qt::LeftButton);
        QTRY_COMPARE(boxes.Count(), 2);
        QCOMPARE(clicks, 2);
    }

    // Qt's own buttons and dialogs speak Japanese.
    void qtsOwnTextsAreJapanese()
    {
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("はい(&Y)"));
        QVERIFY(QCoreApplication::translate("QFileDialog", "Save As") != QStringLiteral("Save As"));
    }

    void japaneseFontNamesMapToAnInstalledFont()
    {
        const QFontInfo info(QFont(QStringLiteral("MS Pゴシック")));
        QVERIFY2(info.family().contains(QStringLiteral("Noto"), Qt::CaseInsensitive), qPrintable(info.family()));
    }
};

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_application.moc"
