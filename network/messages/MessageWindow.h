#pragma once

#include "PictureTable.h"

#include <QHostAddress>
#include <QPoint>
#include <QWidget>
#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class TImage;
class TMainHost;
class TStationLinks;
class TStationListener;

// The message window beside the network page: sends one line to every
// ticked station, shows what the others send, and logs connections.
class TMessageWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr quint16 MessagePort = 49152;
    static constexpr int DestinationCount = 6;

    explicit TMessageWindow(TMainHost &host, QWidget *parent = nullptr);

    // Listens on `address` and lets the links leave from it, so the others
    // see this station at the address it sends in its messages.
    void SetStationAddress(const QHostAddress &address);
    // The window's ports: tests point them at free ports on loopback.
    TStationLinks &Links() { return *m_links; }
    TStationListener &Listener() { return *m_listener; }

    // Opened by the network page: centred on the desktop, a window of its own.
    void ShowWindow();

    void Send();
    void CloseWindow();
    void DestinationToggled(int k);

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct TDestination {
        QCheckBox *box = nullptr;
        QFrame *panel = nullptr;
        QLabel *label = nullptr;
        // What the link was opened for, kept for the lines that report on it.
        QString address;
        QString name;
    };

    void CreateControls();
    void CreateTitle();
    void CreateDestination(int k);
    void CreateMessageControls();
    void LoadPictures();
    void ShowListenerEvents();
    void ShowLinkEvents();
    void FormShow();
    void RefreshNames();
    void Log(const QString &line);
    void Untick(int k);
    QString OwnName() const;
    static QString DestinationName(int k, const QString &station);
    TDestination &At(int k) { return m_destinations.at(static_cast<size_t>(k - 1)); }

    TMainHost &m_host;
    TStationListener *m_listener = nullptr;
    TStationLinks *m_links = nullptr;
    std::array<TDestination, DestinationCount> m_destinations{};
    bool m_logClosing = true;
    QPoint m_dragOffset;
    bool m_dragging = false;

    TImage *m_title = nullptr;
    TImage *m_sendButton = nullptr;
    TImage *m_closeButton = nullptr;
    TPictureLoader m_pictures;
    QLineEdit *m_messageBox = nullptr;
    QPlainTextEdit *m_log = nullptr;
    QLabel *m_receivingStateLabel = nullptr;
};
