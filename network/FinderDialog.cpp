#include "FinderDialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {
QString ItemText(const TFoundStation &station)
{
    const QString name = station.name.isEmpty() ? QStringLiteral("（名前なし）") : station.name;
    return name + QStringLiteral("　") + station.address;
}
} // namespace

TFinderDialog::TFinderDialog(TStationFinder &finder, TRegister registerStation, QWidget *parent)
    : QDialog(parent)
    , m_finder(finder)
    , m_register(std::move(registerStation))
    , m_status(new QLabel(this))
    , m_list(new QListWidget(this))
    , m_choose(new QPushButton(QStringLiteral("登録する"), this))
    , m_close(new QPushButton(QStringLiteral("閉じる"), this))
{
    setObjectName(QStringLiteral("FinderDialog"));
    setWindowTitle(QStringLiteral("近くの局"));
    setFixedSize(380, 300);
    setWindowModality(Qt::ApplicationModal);
    m_status->setObjectName(QStringLiteral("FinderStatus"));
    m_status->setGeometry(12, 8, 356, 44);
    m_status->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("FoundList"));
    m_list->setGeometry(12, 56, 356, 180);
    m_choose->setObjectName(QStringLiteral("FinderChoose"));
    m_choose->setGeometry(160, 250, 100, 32);
    m_close->setObjectName(QStringLiteral("FinderClose"));
    m_close->setGeometry(268, 250, 100, 32);

    connect(&m_finder, &TStationFinder::Found, this, &TFinderDialog::Add);
    connect(&m_finder, &TStationFinder::SearchFinished, this, &TFinderDialog::Finished);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) { Choose(m_list->row(item)); });
    connect(m_choose, &QPushButton::clicked, this, [this] { Choose(m_list->currentRow()); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
}

void TFinderDialog::Start(const QString &classCode)
{
    m_stations.clear();
    m_list->clear();
    if (!m_finder.Search(classCode)) {
        m_status->setText(QStringLiteral("近くの局を探せませんでした（%1）。").arg(m_finder.ErrorText()));
        return;
    }
    m_status->setText(QStringLiteral("近くの局を探しています…"));
}

void TFinderDialog::Add(const TFoundStation &station)
{
    if (!isVisible())
        return;
    m_stations.append(station);
    m_list->addItem(ItemText(station));
    if (m_list->currentRow() < 0)
        m_list->setCurrentRow(0);
}

void TFinderDialog::Finished()
{
    if (!isVisible())
        return;
    if (m_stations.isEmpty()) {
        m_status->setText(QStringLiteral("見つかりませんでした。相手もネットワークのページを開いて、同じクラスコードにしているか確かめて下さい。"));
        return;
    }
    QString text = QStringLiteral("%1局見つかりました。登録する局を選んで下さい。").arg(m_stations.size());
    if (!m_finder.ErrorText().isEmpty())
        text += QStringLiteral("\nこの局はほかの局からは見つかりません（%1）。").arg(m_finder.ErrorText());
    m_status->setText(text);
}

void TFinderDialog::Choose(int row)
{
    if (row < 0 || row >= m_stations.size())
        return;
    QListWidgetItem *item = m_list->item(row);
    if (!(item->flags() & Qt::ItemIsEnabled))
        return;
    if (!m_register(m_stations.at(row)))
        return;
    item->setText(ItemText(m_stations.at(row)) + QStringLiteral("（登録しました）"));
    item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
}
