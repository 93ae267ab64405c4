// The network page's way into the teacher's view.
#include "Step8Screen.h"

#include <QPushButton>

void TStep8Screen::CreateTeacherButton()
{
    m_teacherButton = new QPushButton(QStringLiteral("先生の画面"), this);
    m_teacherButton->setObjectName(QStringLiteral("TeacherViewButton"));
    m_teacherButton->setAccessibleName(QStringLiteral("先生の画面"));
    const QString hint = QStringLiteral("クラス全員の一覧を開き、プログラムを送ったり作品を集めたりします");
    m_teacherButton->setAccessibleDescription(hint);
    // Shown in the hint area like every control's hint.
    m_teacherButton->setStatusTip(hint);
    m_teacherButton->setGeometry(505, 270, 190, 32);
    connect(m_teacherButton, &QPushButton::clicked, this, &TStep8Screen::TeacherViewRequested);
}
