// Every screen and window as assistive technology sees it: each control a
// pupil can use must say what it is (a name, in Japanese where it is a
// picture the program draws) and act as what it says (a fitting role).
#include "Image.h"
#include "MainWindow.h"
#include "MessageBoxWatcher.h"
#include "MessageWindow.h"
#include "PageScreen.h"
#include "Selector.h"
#include "SettingsScreen.h"
#include "TeacherDesk.h"
#include "TeacherWindow.h"
#include "TransferProgressWindow.h"

#include <QAccessible>
#include <QDir>
#include <algorithm>
#include <QStandardPaths>
#include <QTest>

namespace {

bool HasJapanese(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x3040 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF01 && u <= 0xFF9F);
    });
}

bool Interactive(const QAccessibleInterface *node)
{
    switch (node->role()) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::EditableText:
    case QAccessible::ListItem:
    case QAccessible::Cell:
    case QAccessible::PageTab:
        return true;
    default:
        return node->state().focusable;
    }
}

QString Describe(const QWidget *widget, const QAccessibleInterface *node)
{
    return QStringLiteral("%1 (%2, role %3, name \"%4\")")
        .arg(widget->objectName(), QString::fromLatin1(widget->metaObject()->className()))
        .arg(static_cast<int>(node->role()))
        .arg(node->text(QAccessible::Name));
}

// What is wrong with one control, or empty.
QString Fault(const QWidget *widget, const QAccessibleInterface *node)
{
    const QString name = node->text(QAccessible::Name);
    const auto *picture = qobject_cast<const TImage *>(widget);
    // A picture the mouse can use (a hand over it, a drop place) is a control.
    const bool looksUsable = picture
        && (widget->cursor().shape() == Qt::PointingHandCursor || widget->cursor().shape() == Qt::OpenHandCursor
            || widget->acceptDrops());
    if (looksUsable && !picture->Operable() && !widget->acceptDrops())
        return QStringLiteral("a picture the mouse uses but the keyboard cannot");
    if (!Interactive(node) && !looksUsable)
        return {};
    if (name.trimmed().isEmpty())
        return QStringLiteral("no name");
    const bool drawnByUs = picture || qobject_cast<const TSelector *>(widget);
    if (drawnByUs && !HasJapanese(name))
        return QStringLiteral("a name that is not Japanese");
    return {};
}

void Walk(QAccessibleInterface *node, const QWidget *top, QStringList &faults)
{
    if (!node)
        return;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child || !child->object() || !child->object()->isWidgetType())
            continue;
        auto *widget = static_cast<QWidget *>(child->object());
        if (!widget->isVisibleTo(const_cast<QWidget *>(top)) || !widget->isEnabled())
            continue;
        const QString fault = Fault(widget, child);
        if (!fault.isEmpty())
            faults << Describe(widget, child) + QStringLiteral(": ") + fault;
        Walk(child, top, faults);
    }
}

QStringList FaultsOf(QWidget *top)
{
    QStringList faults;
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(top);
    if (root->text(QAccessible::Name).trimmed().isEmpty())
        faults << top->objectName() + QStringLiteral(": the window has no name");
    Walk(root, top, faults);
    return faults;
}

} // namespace

class TestAccessibleTree : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void everyPageNamesItsControls_data()
    {
        QTest::addColumn<int>("page");
        for (int page = 0; page < TMainWindow::PageCount; ++page)
            QTest::addRow("page %d", page) << page;
    }
    void everyPageNamesItsControls()
    {
        QFETCH(int, page);
        MessageBoxWatcher boxes;
        TMainWindow main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.ShowPage(page);
        // The page shown and the frame round it (step buttons, hint area).
        const QStringList faults = FaultsOf(&main);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    // Tab goes round the page shown and then the buttons under it, however
    // late the page was built: pages are made when first shown, and Qt puts
    // a new control at the end of the window's Tab chain.
    void tabReachesEveryPageBeforeTheButtonsUnderIt()
    {
        MessageBoxWatcher boxes;
        TMainWindow main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const auto *lastUnder = main.findChild<TImage *>(QStringLiteral("Image2"), Qt::FindDirectChildrenOnly);
        QVERIFY(lastUnder);
        for (int page = 0; page < 10; ++page) {
            if (page > 0)
                QTest::keyClick(&main, Qt::Key_F8);
            QCOMPARE(main.VisiblePage(), page);
            // The stops Tab makes, in order, from the window round to it.
            QList<QWidget *> stops;
            for (QWidget *w = main.nextInFocusChain(); w != &main; w = w->nextInFocusChain())
                if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
                    stops << w;
            const qsizetype under = stops.indexOf(const_cast<TImage *>(lastUnder));
            QVERIFY(under >= 0);
            for (qsizetype i = under + 1; i < stops.size(); ++i)
                QVERIFY2(!main.Page(page)->isAncestorOf(stops.at(i)),
                         qPrintable(QStringLiteral("page %1: %2 comes after the buttons under the page")
                                        .arg(page)
                                        .arg(stops.at(i)->objectName())));
        }
    }

    void everyWindowNamesItsControls()
    {
        MessageBoxWatcher boxes;
        TMainWindow main;
        TTransferProgressWindow progress(main);
        TSettingsScreen settings(main);
        TMessageWindow messages(main);
        TTeacherDesk desk(QDir::tempPath(), nullptr);
        TTeacherWindow teacher(desk);
        QList<QWidget *> windows{&progress, &settings, &messages, &teacher};
        // The preview and the report belong to the lessons that open them.
        for (QWidget *child : main.findChildren<QWidget *>())
            if (child->isWindow() && !windows.contains(child))
                windows << child;
        QStringList faults;
        for (QWidget *window : windows) {
            window->show();
            faults << FaultsOf(window);
            window->hide();
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }
};

QTEST_MAIN(TestAccessibleTree)
#include "test_accessible_tree.moc"
