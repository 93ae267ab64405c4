// The network page's search for nearby stations: the class code box, the
// search button and the registering of a chosen station.
#include "Step8Screen.h"

#include "FinderDialog.h"
#include "MainHost.h"
#include "NetworkSettings.h"
#include "StationFinder.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

using namespace NetworkSettingsIndex;

void TStep8Screen::CreateFinderControls()
{
    auto *codeHead = new QLabel(QStringLiteral("クラスコード"), m_settingsPanel);
    codeHead->setGeometry(220, 290, 140, 20);
    m_classCodeBox = new QLineEdit(m_settingsPanel);
    m_classCodeBox->setObjectName(QStringLiteral("ClassCode"));
    m_classCodeBox->setGeometry(220, 312, 100, 24);
    m_classCodeBox->setMaxLength(TFinderDatagram::MaxClassCodeLength);
    m_classCodeBox->setAccessibleName(QStringLiteral("クラスコード"));
    connect(m_classCodeBox, &QLineEdit::returnPressed, this, &TStep8Screen::ApplySettings);

    m_finderButton = new QPushButton(QStringLiteral("近くの局を探す"), m_settingsPanel);
    m_finderButton->setObjectName(QStringLiteral("FinderButton"));
    m_finderButton->setGeometry(460, 170, 200, 32);
    connect(m_finderButton, &QPushButton::clicked, this, &TStep8Screen::SearchNearbyStations);

    // What the others see of this station is the record in force, so a
    // station answers only after its settings are applied, and stops
    // answering while it receives nothing.
    m_finder->SetIdentity([this] {
        const QStringList &settings = Host().NetworkSettings;
        return TFinderIdentity{NetworkEntry(settings, OwnName), m_ownAddressLabel->text(), NetworkEntry(settings, ClassCode),
                               ReceiveModeOf(settings) != TReceiveMode::AcceptNone};
    });
    m_finderDialog = new TFinderDialog(*m_finder, [this](const TFoundStation &station) { return RegisterFound(station); }, this);
}

void TStep8Screen::SearchNearbyStations()
{
    m_finderDialog->show();
    m_finderDialog->raise();
    m_finderDialog->Start(m_classCodeBox->text());
}

bool TStep8Screen::RegisterFound(const TFoundStation &station)
{
    const QStringList parts = station.address.split(QLatin1Char('.'));
    int free = 0;
    for (int k = SlotCount; k >= 1; --k) {
        const TStationBoxes &boxes = BoxesAt(k);
        QStringList typed;
        for (QLineEdit *box : boxes.address)
            typed.append(box->text());
        if (typed == parts) {
            QMessageBox::warning(m_finderDialog, QString(), QStringLiteral("この局は%1番にもう登録されています。").arg(k));
            return false;
        }
        if (boxes.name->text().isEmpty() && boxes.address.at(2)->text().isEmpty() && boxes.address.at(3)->text().isEmpty())
            free = k;
    }
    if (free == 0) {
        QMessageBox::warning(m_finderDialog, QString(),
                             QStringLiteral("登録できるのは6局までです。\n使わない局の名前とアドレスを消してから選んで下さい。"));
        return false;
    }
    const TStationBoxes &boxes = BoxesAt(free);
    boxes.name->setText(station.name);
    for (int part = 0; part < 4; ++part)
        boxes.address.at(static_cast<size_t>(part))->setText(parts.value(part));
    return true;
}
