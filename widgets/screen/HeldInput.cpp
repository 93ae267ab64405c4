#include "HeldInput.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

// Sits on the window's platform window, which every event of the window
// system for it passes before it reaches a control.
class TInputDrop : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return IsUserInput(event->type()) || QObject::eventFilter(watched, event);
    }
};

} // namespace

void DropHeldInput(QWidget *window)
{
    QWindow *handle = window ? window->window()->windowHandle() : nullptr;
    TInputDrop drop;
    if (handle)
        handle->installEventFilter(&drop);
    QCoreApplication::processEvents();
    if (handle)
        handle->removeEventFilter(&drop);
}
