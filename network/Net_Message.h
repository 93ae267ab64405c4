#pragma once

#include <QHostAddress>
#include <QPoint>
#include <QWidget>
#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTcpSocket;
class TImage;
class TMainHost;
class TStationListener;

// The message window beside the network page: sends one line to every
// ticked station, shows what the others send, and logs connections.
class TForm16 : public QWidget {
    Q_OBJECT
public:
    static constexpr quint16 MessagePort = 49152;
    static constexpr int DestinationCount = 6;

    explicit TForm16(TMainHost &host, QWidget *parent = nullptr);
    ~TForm16() override;

    // Tests run stations side by side on loopback with free ports.
    void SetNetworkPorts(quint16 listenPort, quint16 remotePort);
    void SetListenAddress(const QHostAddress &address);
    // Listens on `address` and lets the links leave from it, so the others
    // see this station at the address it sends in its messages.
    void SetStationAddress(const QHostAddress &address);
    // Station k (1 to 6) alone on another port, so one test station can be unreachable.
    void SetStationPort(int k, quint16 port);
    TStationListener &Listener() { return *m_listener; }

    // Opened by the network page: centred on the desktop, a window of its own.
    void ShowWindow();

    void Image2Click();          // send
    void Image3Click();          // close
    void CheckBoxClick(int k);   // a destination ticked or unticked

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct TDestination {
        QCheckBox *box = nullptr;
        QFrame *panel = nullptr;
        QLabel *label = nullptr;
        QTcpSocket *link = nullptr;
        QString address;
        QString name;
    };

    void CreateControls();
    void FormShow();
    void RefreshNames();
    void Log(const QString &line);
    void Untick(int k);
    QString OwnName() const;
    TDestination &At(int k) { return m_destinations.at(static_cast<size_t>(k - 1)); }

    TMainHost &m_host;
    TStationListener *m_listener = nullptr;
    QHostAddress m_stationAddress;
    std::array<quint16, DestinationCount> m_remotePorts{MessagePort, MessagePort, MessagePort, MessagePort, MessagePort, MessagePort};
    std::array<TDestination, DestinationCount> m_destinations{};
    bool m_logClosing = true;
    QPoint m_dragOffset;
    bool m_dragging = false;

    TImage *Image1 = nullptr;   // title
    TImage *Image2 = nullptr;   // send
    TImage *Image3 = nullptr;   // close
    QLineEdit *Edit21 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QLabel *Label1 = nullptr;   // receiving state
};
