#include "ScreenKeys.h"

#include <QKeyEvent>

void TScreenKeys::Bind(Qt::Key key, std::function<void()> action)
{
    m_bindings.push_back({key, std::move(action)});
}

bool TScreenKeys::Run(QKeyEvent *event) const
{
    for (const TBinding &binding : m_bindings) {
        if (binding.key == event->key()) {
            event->accept();
            binding.action();
            return true;
        }
    }
    return false;
}
