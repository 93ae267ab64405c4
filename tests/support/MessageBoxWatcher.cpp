#include "MessageBoxWatcher.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>

MessageBoxWatcher::MessageBoxWatcher(QMessageBox::StandardButton answer)
    : m_answer(answer)
{
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxWatcher::Poll);
    m_timer.start(10);
}

void MessageBoxWatcher::Poll()
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (!box || !box->isVisible() || box->property("lk72_answered").toBool())
            continue;
        box->setProperty("lk72_answered", true);
        m_texts.append(box->text());
        m_icons.append(box->icon());
        QAbstractButton *button = m_answer != QMessageBox::NoButton ? box->button(m_answer) : nullptr;
        if (!button)
            button = box->defaultButton();
        if (!button && !box->buttons().isEmpty())
            button = box->buttons().first();
        if (button)
            button->click();
        else
            box->close();
    }
}
