// Every window of the program, walked control by control: each picture is
// drawn at the size its control shows it, and each text fits its control.
#include "Application.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "MessageWindow.h"
#include "MainWindow.h"
#include "TransferProgressWindow.h"
#include "SettingsScreen.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QStandardPaths>
#include <QTest>

namespace {

QString PathOf(const QWidget *widget)
{
    QString path = widget->objectName();
    for (const QWidget *w = widget->parentWidget(); w; w = w->parentWidget())
        path = (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName()) + u'/' + path;
    return path;
}

// The four windows of a run, each with every page shown once so that what a
// page loads on showing is loaded.
class AllWindows {
public:
    AllWindows()
        : progress(main)
        , settings(main)
        , messages(main)
    {
        main.show();
        (void)QTest::qWaitForWindowExposed(&main);
        for (int page = 1; page < TMainWindow::PageCount - 2; ++page)
            QTest::keyClick(&main, Qt::Key_F8);
    }
    // Every control of type T in the four windows, each once (the settings
    // screen is a child of the main window).
    template <typename T>
    QList<T *> Every()
    {
        QList<T *> found;
        for (QWidget *window : {static_cast<QWidget *>(&main), static_cast<QWidget *>(&progress),
                                static_cast<QWidget *>(&settings), static_cast<QWidget *>(&messages)})
            for (T *control : window->findChildren<T *>())
                if (!found.contains(control))
                    found.append(control);
        return found;
    }

    MessageBoxWatcher boxes;
    TMainWindow main;
    TTransferProgressWindow progress;
    TSettingsScreen settings;
    TMessageWindow messages;
};

// Why `label`'s text does not fit its control at its font, or empty when it does.
QString LabelDoesNotFit(const QLabel *label)
{
    const QString text = label->text();
    if (text.isEmpty() || label->textFormat() == Qt::RichText || Qt::mightBeRichText(text))
        return {};
    const QRect room = label->contentsRect();
    const QFontMetrics metrics(label->font());
    QSize need;
    if (label->wordWrap())
        need = QSize(room.width(), label->heightForWidth(label->width()));
    else
        need = metrics.boundingRect(QRect(0, 0, 10000, 10000), Qt::AlignLeft | Qt::AlignTop, text).size();
    if (need.width() <= room.width() && need.height() <= room.height())
        return {};
    return QStringLiteral("needs %1x%2, has %3x%4").arg(need.width()).arg(need.height()).arg(room.width()).arg(room.height());
}

} // namespace

class TestScreenPictures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        TApplication::InstallFontSubstitutions();
    }

    void everyPictureIsDrawnAtTheSizeItsControlShows()
    {
        AllWindows all;
        QStringList wrong;
        QHash<QString, QSize> sizeOfFile;
        int walked = 0;
        for (TImage *image : all.Every<TImage>()) {
            const QPixmap picture = image->pixmap();
            if (picture.isNull())
                continue;
            ++walked;
            const QSize shown = picture.deviceIndependentSize().toSize();
            if (shown != image->size())
                wrong << QStringLiteral("%1 (%2): picture %3x%4, control %5x%6")
                             .arg(PathOf(image), image->PicturePath())
                             .arg(shown.width()).arg(shown.height())
                             .arg(image->width()).arg(image->height());
            const QString file = image->PicturePath().toLower();
            // On a 200 % screen the twice as large picture fills the same control.
            const QPixmap sharp = file.isEmpty() ? QPixmap() : TImage::ScreenPixmap(image->PicturePath(), 2.0);
            if (!sharp.isNull() && !file.contains(QStringLiteral("\\pre\\"))
                && (sharp.devicePixelRatio() != 2.0 || sharp.deviceIndependentSize().toSize() != image->size()))
                wrong << QStringLiteral("%1 (%2): no sharp picture for 200 %").arg(PathOf(image), image->PicturePath());
            if (!file.isEmpty()) {
                const auto known = sizeOfFile.constFind(file);
                if (known != sizeOfFile.cend() && *known != image->size())
                    wrong << QStringLiteral("%1 shown at two sizes").arg(file);
                sizeOfFile.insert(file, image->size());
            }
        }
        QVERIFY2(walked > 150, qPrintable(QString::number(walked)));
        for (const QString &line : wrong)
            qWarning().noquote() << line;
        QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("%1 pictures differ from their controls").arg(wrong.size())));
    }

    // Cut or wrapped-in-a-word texts: every label, choice and box title has
    // the room its text needs at the font it is shown in.
    void everyTextFitsItsControl()
    {
        AllWindows all;
        QStringList wrong;
        int walked = 0;
        for (const QLabel *label : all.Every<QLabel>()) {
            if (label->text().isEmpty())
                continue;
            ++walked;
            const QString why = LabelDoesNotFit(label);
            if (!why.isEmpty())
                wrong << QStringLiteral("%1 \"%2\": %3").arg(PathOf(label), label->text(), why);
        }
        for (const QAbstractButton *button : all.Every<QAbstractButton>()) {
            if (button->text().isEmpty())
                continue;
            ++walked;
            // A choice centres its words: the letters themselves must fit its height.
            const QSize need(button->sizeHint().width(),
                             QFontMetrics(button->font()).tightBoundingRect(button->text()).height());
            if (need.width() > button->width() || need.height() > button->height())
                wrong << QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
                             .arg(PathOf(button), button->text())
                             .arg(need.width()).arg(need.height()).arg(button->width()).arg(button->height());
        }
        for (const QGroupBox *box : all.Every<QGroupBox>()) {
            ++walked;
            const int need = QFontMetrics(box->font()).horizontalAdvance(box->title()) + 16;
            if (need > box->width())
                wrong << QStringLiteral("%1 \"%2\": title needs %3, has %4").arg(PathOf(box), box->title()).arg(need).arg(box->width());
        }
        QVERIFY2(walked > 60, qPrintable(QString::number(walked)));
        for (const QString &line : wrong)
            qWarning().noquote() << line;
        QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("%1 texts do not fit").arg(wrong.size())));
    }
};

QTEST_MAIN(TestScreenPictures)
#include "test_screen_pictures.moc"
