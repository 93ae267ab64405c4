// The teacher's view by keys alone: every control has its Japanese name;
// the send and collect keys say plainly when nobody is there to take it; a
// collected file opens in the lesson through the opener and anything else
// is refused with a box, nothing opened.
#include "ClassRecord.h"
#include "MessageBoxWatcher.h"
#include "Step3Record.h"
#include "TeacherDesk.h"
#include "TeacherWindow.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

class TestTeacherWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ControlsHaveNamesAndKeys();
    void CollectedFilesOpenOthersAreRefused();
};

void TestTeacherWindow::ControlsHaveNamesAndKeys()
{
    QTemporaryDir work;
    TTeacherDesk desk(work.path(), nullptr);
    TTeacherWindow window(desk);
    window.SetRecordSource([](const QString &) { return ClassRecord::Bytes(Step3RecordLines({})); });
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    for (QWidget *control : window.findChildren<QWidget *>()) {
        if (control->focusPolicy() & Qt::TabFocus && !qobject_cast<QAbstractButton *>(control) && control->isVisibleTo(&window)
            && !control->objectName().isEmpty())
            QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
    }
    auto *status = window.findChild<QLabel *>(QStringLiteral("TeacherStatus"));
    QCOMPARE(status->text(), QStringLiteral("クラスコードを入れて下さい。"));
    window.findChild<QLineEdit *>(QStringLiteral("TeacherClassCode"))->setText(QStringLiteral("3A"));
    for (const char *name : {"TeacherSend", "TeacherCollect"}) {
        status->clear();
        auto *button = window.findChild<QAbstractButton *>(QLatin1String(name));
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(status->text(), TTeacherDesk::NoStationsText());
    }
}

void TestTeacherWindow::CollectedFilesOpenOthersAreRefused()
{
    QTemporaryDir work;
    TTeacherDesk desk(work.path(), nullptr);
    TTeacherWindow window(desk);
    QList<QStringList> opened;
    window.SetOpener([&opened](const QStringList &lines) { opened.append(lines); });
    const QStringList lines = Step3RecordLines({});
    const auto write = [&work](const QString &name, const QByteArray &bytes) {
        QFile file(work.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    };
    QVERIFY(window.OpenFile(write(QStringLiteral("STEP3_たろう.lk7"), ClassRecord::Bytes(lines))));
    QCOMPARE(opened, QList<QStringList>{lines});

    MessageBoxWatcher boxes;
    QVERIFY(!window.OpenFile(write(QStringLiteral("broken.lk7"), "STEP3\r\nx\r\n")));
    QVERIFY(!window.OpenFile(work.filePath(QStringLiteral("missing.lk7"))));
    QCOMPARE(boxes.Texts(), QStringList(2, TTeacherWindow::UnreadableText()));
    QCOMPARE(opened.size(), 1);
}

QTEST_MAIN(TestTeacherWindow)
#include "test_teacher_window.moc"
