#include "PictureAccessible.h"

#include "Image.h"
#include "Selector.h"

#include <QAccessibleWidget>

namespace {

class TPictureAccessible : public QAccessibleWidget {
public:
    explicit TPictureAccessible(TImage *image)
        : QAccessibleWidget(image, image->Role())
    {
    }

    QAccessible::Role role() const override { return Image()->Role(); }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return Image()->AccessibleCaption();
        case QAccessible::Description:
            return Image()->AccessibleHelp();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (Image()->PicksUp()) {
            s.checkable = true;
            s.checked = Image()->IsHeld();
        }
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (Image()->Operable())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            Image()->Activate();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    TImage *Image() const { return static_cast<TImage *>(widget()); }
};

// A selector reads as its name and the item it shows ("回数 ３回"): the name
// changes with the item, and a screen reader says a changed name of the
// control it is on, so the pupil hears each step.
class TSelectorAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TSelectorAccessible(TSelector *selector)
        : QAccessibleWidget(selector, QAccessible::SpinBox)
    {
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return (widget()->accessibleName() + u' ' + Selector()->SelectedText()).trimmed();
        case QAccessible::Value:
            return Selector()->SelectedText();
        case QAccessible::Description:
            return widget()->accessibleDescription().isEmpty() ? widget()->statusTip()
                                                                : widget()->accessibleDescription();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QVariant currentValue() const override { return Selector()->ItemIndex() + 1; }
    void setCurrentValue(const QVariant &value) override
    {
        Selector()->StepTo(value.toInt() - 1);
    }
    QVariant maximumValue() const override { return static_cast<int>(Selector()->Values().size()); }
    QVariant minimumValue() const override { return Selector()->Values().isEmpty() ? 0 : 1; }
    QVariant minimumStepSize() const override { return 1; }

private:
    TSelector *Selector() const { return static_cast<TSelector *>(widget()); }
};

QAccessibleInterface *MakeAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("TImage"))
        return new TPictureAccessible(static_cast<TImage *>(object));
    if (className == QLatin1String("TSelector"))
        return new TSelectorAccessible(static_cast<TSelector *>(object));
    return nullptr;
}

} // namespace

void InstallPictureAccessibility()
{
    // Qt keeps a factory once however often it is installed.
    QAccessible::installFactory(&MakeAccessible);
}
