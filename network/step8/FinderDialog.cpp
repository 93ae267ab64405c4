#include "FinderDialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace {
const QString RegisteredMark = QStringLiteral("（登録しました）");

// A name may be as long as a datagram allows; it gives way, never the
// address the pupil registers, nor the mark that it is registered.
QString ItemText(const TFoundStation &station, const QListWidget &list, bool registered)
{
    const QString name = station.name.isEmpty() ? QStringLiteral("（名前なし）") : station.name;
    const QString tail = QStringLiteral("　") + station.address + (registered ? RegisteredMark : QString());
    const QFontMetrics metrics(list.font());
    // Room for a scroll bar that a long list brings, and the item's own margins.
    const int room = list.width() - 2 * list.frameWidth() - list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list)
                   - 4 * list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) - 8;
    const int widestTail = metrics.horizontalAdvance(QStringLiteral("　") + station.address + RegisteredMark);
    return metrics.elidedText(name, Qt::ElideRight, qMax(0, room - widestTail)) + tail;
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
    m_list->setAccessibleName(QStringLiteral("見つかった局"));
    // In name order, so a pupil finds a classmate's name where it is expected.
    m_list->setSortingEnabled(true);
    m_choose->setObjectName(QStringLiteral("FinderChoose"));
    m_choose->setGeometry(160, 250, 100, 32);
    m_close->setObjectName(QStringLiteral("FinderClose"));
    m_close->setGeometry(268, 250, 100, 32);

    connect(&m_finder, &TStationFinder::Found, this, &TFinderDialog::Add);
    connect(&m_finder, &TStationFinder::SearchFinished, this, &TFinderDialog::Finished);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) { Choose(m_list->row(item)); });
    // What is highlighted is what is registered: a row that is current but
    // not selected (after Ctrl+click) registers nothing.
    connect(m_choose, &QPushButton::clicked, this, [this] {
        const QList<QListWidgetItem *> chosen = m_list->selectedItems();
        if (!chosen.isEmpty())
            Choose(m_list->row(chosen.first()));
    });
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
    auto *item = new QListWidgetItem(ItemText(station, *m_list, false));
    item->setToolTip(station.name);
    item->setData(Qt::UserRole, static_cast<int>(m_stations.size()));
    m_stations.append(station);
    // Answers come in any order and the list sorts them: the top row stays
    // the highlighted one until the pupil picks another.
    const bool topHighlighted = m_list->currentRow() <= 0;
    m_list->addItem(item);
    if (topHighlighted)
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
    QListWidgetItem *item = m_list->item(row);
    if (!item || !(item->flags() & Qt::ItemIsEnabled))
        return;
    const TFoundStation &station = m_stations.at(item->data(Qt::UserRole).toInt());
    if (!m_register(station))
        return;
    item->setText(ItemText(station, *m_list, true));
    item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
}
