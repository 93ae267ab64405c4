#include "ScreenKeys.h"

#include <QKeyEvent>

void TScreenKeys::Bind(Qt::Key key, std::function<void()> action, std::function<bool()> applies)
{
    m_bindings.push_back({key, std::move(action), std::move(applies)});
}

bool TScreenKeys::Run(QKeyEvent *event) const
{
    if (!Run(event->key()))
        return false;
    event->accept();
    return true;
}

bool TScreenKeys::Run(int key) const
{
    for (const TBinding &binding : m_bindings) {
        if (binding.key == key && (!binding.applies || binding.applies())) {
            binding.action();
            return true;
        }
    }
    return false;
}
