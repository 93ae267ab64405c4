#pragma once

#include "PageScreen.h"

#include <QHostAddress>
#include <QPoint>
#include <QPointer>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDragController;
class TFinderDialog;
class TImage;
class TSelector;
class TStationCommandGate;
class TStationFinder;
class TStationLinks;
class TStationListener;
struct TFoundStation;

// STEP8: program exchange between stations. The pupil registers up to six
// stations, drops a colour on a station's slot, and lights that station's
// lamp or sends it a one-step program; commands from the others reach the
// own lamp through the main window.
class TStep8Screen : public TPageScreen {
    Q_OBJECT
public:
    static constexpr quint16 CommandPort = 49153;
    static constexpr int SlotCount = 6;
    // The longest command, a twenty-step program, takes 79 bytes.
    static constexpr qint64 CommandReadCap = 1024;

    TStep8Screen(TMainHost &host, QWidget *parent);

    void FormShow() override;

    // Pins this station to one address: it listens there, its links leave
    // from there and the page shows it as the own address. Lets several
    // stations share one computer, each on its own loopback address.
    void SetStationAddress(const QHostAddress &address);
    // The station's ports: tests point them at free ports on loopback.
    TStationLinks &Links() { return *m_links; }
    TStationListener &Listener() { return *m_listener; }
    const TStationCommandGate &CommandGate() const { return *m_gate; }
    TStationFinder &Finder() { return *m_finder; }

    // A palette panel (0 to 8) dropped on slot k (1 to 6).
    void SlotDragDrop(int slot, int panel);
    // The code slot k would send, or 0 while it is empty.
    int SlotCode(int slot) const;

    void ShowSettingsPanel();
    void OpenMessageWindow();
    void TransferToAll();
    void ExecuteOnAll();
    void ExecuteSlot(int slot);
    void ApplySettings();
    // "近くの局を探す": lists the stations of the class code in the box.
    void SearchNearbyStations();
    // Fills the next empty station row with a found station, as if typed;
    // false (after a warning) when no row is free or it is registered already.
    bool RegisterFound(const TFoundStation &station);

Q_SIGNALS:
    // The message button passed its check; the entry shows the message window.
    void MessageWindowRequested();
    // "先生の画面": the entry shows the teacher's view.
    void TeacherViewRequested();

protected:
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TSlot {
        QLineEdit *name = nullptr;
        TImage *target = nullptr;
        TSelector *selector = nullptr;
        QLabel *status = nullptr;
        TImage *execute = nullptr;
        int tag = 0;
    };
    struct TStationBoxes {
        QLineEdit *name = nullptr;
        std::array<QLineEdit *, 4> address{};
    };

    void CreateControls();
    void CreatePalette();
    void CreatePageButtons();
    void CreateSlot(int slot);
    void CreateLabels();
    void CreateSettingsPanel();
    void LoadPictures();
    void ShowLinkEvents();
    void ConnectLink(int slot);
    void EmptySlot(int slot);
    bool OpenListener();
    bool StationComplete(int slot, bool allAddressParts) const;
    void Warn(const QString &text);
    void CreateFinderControls();
    void CreateTeacherButton();
    void SetTabOrder();
    void CoverPage(bool covered);
    // What a station's drop target says: its number and the command in it.
    static QString SlotTargetName(int k, const QString &placed);

    TSlot &SlotAt(int slot) { return m_slots.at(static_cast<size_t>(slot - 1)); }
    const TSlot &SlotAt(int slot) const { return m_slots.at(static_cast<size_t>(slot - 1)); }
    const TStationBoxes &BoxesAt(int slot) const { return m_boxes.at(static_cast<size_t>(slot - 1)); }

    TStationListener *m_listener = nullptr;
    TStationLinks *m_links = nullptr;
    TStationCommandGate *m_gate = nullptr;
    TDragController *m_drag = nullptr;
    TStationFinder *m_finder = nullptr;
    TFinderDialog *m_finderDialog = nullptr;
    QHostAddress m_stationAddress;

    std::array<TSlot, SlotCount> m_slots{};
    std::array<TStationBoxes, SlotCount> m_boxes{};
    std::array<TImage *, 9> m_panels{};

    TImage *m_background = nullptr;
    TImage *m_allStationsPicture = nullptr;
    TImage *m_applyButton = nullptr;
    TImage *m_settingsButton = nullptr;
    TImage *m_messageButton = nullptr;
    TImage *m_transferAllButton = nullptr;
    TImage *m_executeAllButton = nullptr;
    QWidget *m_settingsPanel = nullptr;
    QList<QPointer<QWidget>> m_underPanel; // hidden while the panel covers them
    TImage *m_settingsBackground = nullptr;
    QLineEdit *m_ownNameBox = nullptr;
    QRadioButton *m_acceptAllRadio = nullptr;
    QRadioButton *m_acceptRegisteredRadio = nullptr;
    QRadioButton *m_acceptNoneRadio = nullptr;
    QLabel *m_ownAddressLabel = nullptr;
    QLabel *m_ownNameLabel = nullptr;
    QLabel *m_receivingStateLabel = nullptr;
    QLineEdit *m_classCodeBox = nullptr;
    QPushButton *m_finderButton = nullptr;
    QPushButton *m_teacherButton = nullptr;
};
