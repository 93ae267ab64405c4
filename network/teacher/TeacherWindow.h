#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;
class TTeacherDesk;

// The teacher's view: the class list, one program to everyone, the work
// collected, a collected program opened in the teacher's own lesson. The
// window only shows; TTeacherDesk does the work.
class TTeacherWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int RefreshMs = 3000;

    TTeacherWindow(TTeacherDesk &desk, QWidget *parent = nullptr);

    // The teacher's own record of a lesson ("STEP3"), as its save button writes it.
    void SetRecordSource(std::function<QByteArray(const QString &lessonName)> source) { m_record = std::move(source); }
    // Puts a collected program into its lesson on the teacher's screen.
    void SetOpener(std::function<void(const QStringList &lines)> open) { m_open = std::move(open); }
    // The class code shown when the box is empty (the one applied on the network page).
    void SetClassCode(const QString &code);
    QString ClassCode() const;

    void Refresh();
    void SendToAll();
    void Collect();
    void OpenCollected();
    // Opens the program file at `path` (the dialog's choice; tests give it directly).
    bool OpenFile(const QString &path);

    static QString UnreadableText();
    // The rows selected, or all rows, one line each with the cells between tabs (Ctrl+C on the list).
    QString ListText() const;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void CreateControls();
    void ShowRows();
    void Say(const QString &text);

    TTeacherDesk &m_desk;
    std::function<QByteArray(const QString &)> m_record;
    std::function<void(const QStringList &)> m_open;
    QLineEdit *m_classCode = nullptr;
    QTableWidget *m_table = nullptr;
    QComboBox *m_lesson = nullptr;
    QPushButton *m_refresh = nullptr;
    QPushButton *m_send = nullptr;
    QPushButton *m_collect = nullptr;
    QPushButton *m_openCollected = nullptr;
    QLabel *m_status = nullptr;
    QTimer *m_timer = nullptr;
};
