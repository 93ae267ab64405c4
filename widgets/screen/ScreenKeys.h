#pragma once

#include <QtCore/qnamespace.h>
#include <functional>
#include <vector>

class QKeyEvent;

// The function keys of a screen. Qt hands a key that the control with the
// focus does not take to that control's parent, and so on up to the window:
// the screen catches it on the way (and the main window, for when no control
// of the visible page has the focus) and runs what is bound to it here. The
// page host keeps the focus on the page shown, so a hidden page's keys rest.
// Keys of other windows, a message box for one, never rise to it.
//
// Usage (in a screen): m_keys.Bind(Qt::Key_F6, [this] { Image7Click(); });
//   keyPressEvent: if (!m_keys.Run(event)) QWidget::keyPressEvent(event);
class TScreenKeys {
public:
    // `key` with any modifiers held runs `action`, while `applies` (when
    // given) says yes; otherwise the key goes on as if nothing were bound.
    void Bind(Qt::Key key, std::function<void()> action, std::function<bool()> applies = {});
    // Runs what is bound to the event's key and accepts the event; false when
    // nothing is bound to it.
    bool Run(QKeyEvent *event) const;
    // Runs what is bound to `key`; false when nothing is.
    bool Run(int key) const;

private:
    struct TBinding {
        Qt::Key key;
        std::function<void()> action;
        std::function<bool()> applies;
    };
    std::vector<TBinding> m_bindings;
};
