#pragma once

#include <QObject>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

// Answers every message box that opens while it lives, so that no test hangs
// on a modal box, and records what each one said.
class MessageBoxWatcher : public QObject {
    Q_OBJECT
public:
    // `answer` is the button pressed (the default button when NoButton).
    explicit MessageBoxWatcher(QMessageBox::StandardButton answer = QMessageBox::NoButton);

    void SetAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }
    const QStringList &Texts() const { return m_texts; }
    QString Last() const { return m_texts.isEmpty() ? QString() : m_texts.last(); }
    // The icon of each box, in the order of Texts().
    const QList<QMessageBox::Icon> &Icons() const { return m_icons; }
    int Count() const { return static_cast<int>(m_texts.size()); }
    void Clear()
    {
        m_texts.clear();
        m_icons.clear();
    }

private:
    void Poll();

    QMessageBox::StandardButton m_answer;
    QStringList m_texts;
    QList<QMessageBox::Icon> m_icons;
    QTimer m_timer;
};
