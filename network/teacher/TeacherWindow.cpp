#include "TeacherWindow.h"

#include "ClassMessage.h"
#include "ClassRecord.h"
#include "ClassRoster.h"
#include "ClassRowText.h"
#include "TeacherDesk.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QClipboard>
#include <QShortcut>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QPushButton *Button(const QString &text, const char *name, const QString &description, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleDescription(description);
    button->setToolTip(description);
    return button;
}
} // namespace

TTeacherWindow::TTeacherWindow(TTeacherDesk &desk, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_desk(desk)
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("TeacherWindow"));
    setWindowTitle(QStringLiteral("先生の画面"));
    resize(720, 560);
    CreateControls();
    m_timer->setInterval(RefreshMs);
    connect(m_timer, &QTimer::timeout, this, &TTeacherWindow::Refresh);
    connect(&m_desk.Roster(), &TClassRoster::Changed, this, &TTeacherWindow::ShowRows);
    connect(&m_desk, &TTeacherDesk::Said, this, &TTeacherWindow::Say);
}

void TTeacherWindow::CreateControls()
{
    auto *codeLabel = new QLabel(QStringLiteral("クラスコード(&K)"), this);
    m_classCode = new QLineEdit(this);
    m_classCode->setObjectName(QStringLiteral("TeacherClassCode"));
    m_classCode->setMaxLength(8);
    m_classCode->setAccessibleName(QStringLiteral("クラスコード"));
    codeLabel->setBuddy(m_classCode);
    connect(m_classCode, &QLineEdit::returnPressed, this, &TTeacherWindow::Refresh);
    m_refresh = Button(QStringLiteral("一覧を更新(&R)"), "TeacherRefresh", QStringLiteral("クラスの局をもう一度探します"), this);
    connect(m_refresh, &QPushButton::clicked, this, &TTeacherWindow::Refresh);

    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("TeacherClassList"));
    m_table->setAccessibleName(QStringLiteral("クラスの局の一覧"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("名前"), QStringLiteral("アドレス"), QStringLiteral("受信の設定"),
                                        QStringLiteral("表示中の画面"), QStringLiteral("最後の応答")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // The list goes into a spreadsheet or a note as lines of tab-separated cells.
    auto *copy = new QShortcut(QKeySequence::Copy, m_table);
    copy->setContext(Qt::WidgetShortcut);
    connect(copy, &QShortcut::activated, this, [this] { QGuiApplication::clipboard()->setText(ListText()); });

    auto *lessonLabel = new QLabel(QStringLiteral("送るプログラム(&P)"), this);
    m_lesson = new QComboBox(this);
    m_lesson->setObjectName(QStringLiteral("TeacherLesson"));
    m_lesson->setAccessibleName(QStringLiteral("送るプログラム"));
    m_lesson->addItems({QStringLiteral("STEP3"), QStringLiteral("STEP5"), QStringLiteral("STEP7")});
    lessonLabel->setBuddy(m_lesson);
    m_send = Button(QStringLiteral("全員に送る(&S)"), "TeacherSend", QStringLiteral("先生のプログラムをクラス全員の画面に送ります"), this);
    m_collect = Button(QStringLiteral("作品を集める(&C)"), "TeacherCollect", QStringLiteral("クラス全員のSTEP3、STEP5、STEP7のプログラムを集めます"), this);
    m_openCollected = Button(QStringLiteral("集めた作品を開く(&O)"), "TeacherOpen", QStringLiteral("集めたプログラムを先生の画面で開きます"), this);
    connect(m_send, &QPushButton::clicked, this, &TTeacherWindow::SendToAll);
    connect(m_collect, &QPushButton::clicked, this, &TTeacherWindow::Collect);
    connect(m_openCollected, &QPushButton::clicked, this, &TTeacherWindow::OpenCollected);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("TeacherStatus"));
    m_status->setAccessibleName(QStringLiteral("結果"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_status->setMinimumHeight(60);

    auto *top = new QHBoxLayout;
    top->addWidget(codeLabel);
    top->addWidget(m_classCode);
    top->addWidget(m_refresh);
    top->addStretch();
    auto *actions = new QHBoxLayout;
    actions->addWidget(lessonLabel);
    actions->addWidget(m_lesson);
    actions->addWidget(m_send);
    actions->addWidget(m_collect);
    actions->addWidget(m_openCollected);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addLayout(actions);
    layout->addWidget(m_status);
}

void TTeacherWindow::SetClassCode(const QString &code)
{
    if (m_classCode->text().isEmpty())
        m_classCode->setText(code);
}

QString TTeacherWindow::ClassCode() const
{
    return m_classCode->text();
}

void TTeacherWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_timer->start();
    Refresh();
}

void TTeacherWindow::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    QWidget::hideEvent(event);
}

void TTeacherWindow::Refresh()
{
    if (ClassCode().isEmpty()) {
        Say(QStringLiteral("クラスコードを入れて下さい。"));
        return;
    }
    m_desk.Refresh(ClassCode());
    ShowRows();
}

void TTeacherWindow::ShowRows()
{
    const QList<TClassRow> &rows = m_desk.Roster().Rows();
    const QDateTime now = QDateTime::currentDateTime();
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList cells = ClassRowText::Cells(rows.at(r), now);
        for (int c = 0; c < cells.size(); ++c) {
            QTableWidgetItem *item = m_table->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                m_table->setItem(r, c, item);
            }
            if (item->text() != cells.at(c))
                item->setText(cells.at(c));
        }
    }
}

QString TTeacherWindow::ListText() const
{
    QStringList lines;
    const bool selected = !m_table->selectionModel()->selectedRows().isEmpty();
    for (int r = 0; r < m_table->rowCount(); ++r) {
        if (selected && !m_table->selectionModel()->isRowSelected(r, {}))
            continue;
        QStringList cells;
        for (int c = 0; c < m_table->columnCount(); ++c)
            cells.append(m_table->item(r, c) ? m_table->item(r, c)->text() : QString());
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n'));
}

void TTeacherWindow::Say(const QString &text)
{
    m_status->setText(text);
}

void TTeacherWindow::SendToAll()
{
    const QString lesson = m_lesson->currentText();
    const QByteArray record = m_record ? m_record(lesson) : QByteArray();
    if (record.isEmpty()) {
        Say(QStringLiteral("%1のプログラムがありません。").arg(lesson));
        return;
    }
    m_desk.SendToAll(lesson, record);
}

void TTeacherWindow::Collect()
{
    m_desk.Collect();
}

QString TTeacherWindow::UnreadableText()
{
    return QStringLiteral("指定したファイルを開くことが出来ません\n集めた作品のファイルか確認して下さい。");
}

void TTeacherWindow::OpenCollected()
{
    QString folder = m_desk.LastCollectionFolder();
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("集めた作品を開く"), folder,
                                                      QStringLiteral("TP-31ファイル(*.lk7)"));
    if (!path.isEmpty())
        OpenFile(path);
}

bool TTeacherWindow::OpenFile(const QString &path)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    const auto record = opened ? ClassRecord::Check(file.read(TClassMessage::MaxRecordBytes + 1)) : std::nullopt;
    if (!record) {
        QMessageBox::information(this, QString(), UnreadableText());
        return false;
    }
    if (m_open)
        m_open(record->lines);
    Say(QStringLiteral("%1を開きました。").arg(QDir::toNativeSeparators(path)));
    return true;
}
