#include "WindowKey.h"

#include <QShortcut>
#include <QWidget>

void BindWindowKey(QWidget *owner, QKeyCombination key, std::function<void()> action)
{
    auto *shortcut = new QShortcut(QKeySequence(key), owner);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, owner, std::move(action));
}
