#pragma once

#include <QKeyCombination>
#include <functional>

class QWidget;

// Binds `key` to `action` for as long as `owner` is shown in the active
// window: the key acts whichever control of the window has the focus (an
// editor's too, unless it takes that key for itself), and the keys of a page
// that is not the visible one rest. Keys pressed in another window, a
// message box for one, do not reach it.
void BindWindowKey(QWidget *owner, QKeyCombination key, std::function<void()> action);
