#pragma once

#include "StationFinder.h"

#include <QDialog>
#include <functional>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// The list of nearby stations of the network page. It shows each station as
// it answers; the pupil's choice is handed to the page, which registers it.
class TFinderDialog : public QDialog {
    Q_OBJECT
public:
    // Registers a chosen station; false when the page refused it (and said why).
    using TRegister = std::function<bool(const TFoundStation &)>;

    TFinderDialog(TStationFinder &finder, TRegister registerStation, QWidget *parent);

    // Empties the list and searches for the stations of `classCode`.
    void Start(const QString &classCode);
    // Registers the station shown in `row` as if the pupil had chosen it.
    void Choose(int row);

private:
    void Add(const TFoundStation &station);
    void Finished();

    TStationFinder &m_finder;
    TRegister m_register;
    QList<TFoundStation> m_stations;
    QLabel *m_status;
    QListWidget *m_list;
    QPushButton *m_choose;
    QPushButton *m_close;
};
