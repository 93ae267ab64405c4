#include "MessageWindow.h"

#include "ChatMessage.h"
#include "Cp932.h"
#include "FitText.h"
#include "Image.h"
#include "MainHost.h"
#include "NetworkSettings.h"
#include "StationLinks.h"
#include "StationListener.h"

#include <QCheckBox>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTime>
#include <exception>

using namespace NetworkSettingsIndex;

namespace {
void PaintGrey(QWidget *widget)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, QColor(204, 204, 204));
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}
} // namespace

TMessageWindow::TMessageWindow(TMainHost &host, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_host(host)
    , m_listener(new TStationListener(MessagePort, this))
    , m_links(new TStationLinks(MessagePort, this))
{
    setObjectName(QStringLiteral("TForm16"));
    setWindowTitle(QStringLiteral("メッセージ送信"));
    setAccessibleName(QStringLiteral("メッセージ送信"));
    setFixedSize(420, 380);
    CreateControls();
    ShowListenerEvents();
    ShowLinkEvents();
}

void TMessageWindow::ShowListenerEvents()
{
    m_listener->SetAcceptFilter([this](const QString &peer) { return AcceptsConnectionFrom(m_host.NetworkSettings, peer); });
    connect(m_listener, &TStationListener::Rejected, this, [this] {
        // A station that is not registered leaves no trace in the log.
        if (ReceiveModeOf(m_host.NetworkSettings) == TReceiveMode::AcceptRegistered)
            m_logClosing = false;
    });
    connect(m_listener, &TStationListener::Accepted, this, [this](const QString &peer) {
        Log(ChatMessage::IncomingConnectedLine(StationNameFor(m_host.NetworkSettings, peer), OwnName()));
    });
    connect(m_listener, &TStationListener::Closed, this, [this](const QString &peer) {
        if (!m_logClosing) {
            m_logClosing = true;
            return;
        }
        Log(ChatMessage::IncomingClosedLine(StationNameFor(m_host.NetworkSettings, peer), OwnName()));
    });
    connect(m_listener, &TStationListener::ConnectionError, this, [this] { Log(ChatMessage::IncomingErrorLine()); });
    connect(m_listener, &TStationListener::Received, this, [this](const QString &, const QString &text) {
        if (const auto line = ChatMessage::ReceivedLogLine(text, m_host.NetworkSettings))
            Log(*line);
    });
}

void TMessageWindow::ShowLinkEvents()
{
    connect(m_links, &TStationLinks::Connected, this, [this](int k) { Log(ChatMessage::OutgoingConnectedLine(OwnName(), At(k).name)); });
    connect(m_links, &TStationLinks::Closed, this, [this](int k) {
        Untick(k);
        Log(ChatMessage::OutgoingClosedLine(OwnName(), At(k).name));
    });
    connect(m_links, &TStationLinks::Failed, this, [this](int k) {
        Untick(k);
        Log(ChatMessage::OutgoingFailedLine(At(k).address));
    });
}

void TMessageWindow::CreateControls()
{
    PaintGrey(this);
    CreateTitle();
    for (int k = 1; k <= DestinationCount; ++k)
        CreateDestination(k);
    CreateMessageControls();
    LoadPictures();
}

void TMessageWindow::CreateTitle()
{
    m_title = new TImage(this, QStringLiteral("Image1"));
    m_title->setGeometry(0, 0, 420, 36);
    m_title->SetStretch(true);
    connect(m_title, &TImage::MouseDown, this, [this](Qt::MouseButton button) {
        if (button != Qt::LeftButton)
            return;
        m_dragging = true;
        m_dragOffset = QCursor::pos() - pos();
    });
    connect(m_title, &TImage::MouseMove, this, [this](Qt::MouseButtons buttons) {
        if (!m_dragging || !(buttons & Qt::LeftButton))
            return;
        move(QCursor::pos() - m_dragOffset);
        raise();
    });
    connect(m_title, &TImage::MouseUp, this, [this] { m_dragging = false; });
}

void TMessageWindow::CreateDestination(int k)
{
    TDestination &d = At(k);
    const int y = 46 + (k - 1) * 30;
    d.box = new QCheckBox(this);
    d.box->setObjectName(QStringLiteral("CheckBox%1").arg(k));
    d.box->setGeometry(12, y, 22, 24);
    d.panel = new QFrame(this);
    d.panel->setObjectName(QStringLiteral("Panel%1").arg(k + 2));
    d.panel->setFrameShape(QFrame::Panel);
    d.panel->setFrameShadow(QFrame::Sunken);
    d.panel->setGeometry(36, y, 166, 24);
    d.label = new QLabel(d.panel);
    d.label->setObjectName(QStringLiteral("Label%1").arg(k + 2));
    d.label->setGeometry(4, 2, 158, 20);
    d.panel->installEventFilter(this);
    d.label->installEventFilter(this);
    connect(d.box, &QCheckBox::toggled, this, [this, k] { DestinationToggled(k); });
    // The tick box has no text of its own; the station's name beside it is its name.
    d.box->setAccessibleName(DestinationName(k, QString()));
}

QString TMessageWindow::DestinationName(int k, const QString &station)
{
    return station.isEmpty() ? QStringLiteral("送信先%1").arg(k) : QStringLiteral("送信先%1: %2").arg(k).arg(station);
}

void TMessageWindow::CreateMessageControls()
{
    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("Memo1"));
    m_log->setGeometry(210, 46, 198, 200);
    m_log->setReadOnly(true);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_log->setAccessibleName(QStringLiteral("送受信の記録"));

    m_messageBox = new QLineEdit(this);
    m_messageBox->setObjectName(QStringLiteral("Edit21"));
    m_messageBox->setGeometry(12, 262, 296, 28);
    m_messageBox->setStatusTip(QStringLiteral("送信したいメッセージをここに書き込みます"));
    m_messageBox->setAccessibleName(QStringLiteral("メッセージ"));
    connect(m_messageBox, &QLineEdit::returnPressed, this, &TMessageWindow::Send);

    // The send and close buttons: pressed, they shift.
    static const TPictureRow<TMessageWindow> buttons[] = {
        {&TMessageWindow::m_sendButton, "Image2", "Picture\\BUTTON\\send.jpg", QRect(318, 256, 90, 38), nullptr, &TMessageWindow::Send,
         PictureLook::Stretched | PictureLook::Pressable},
        {&TMessageWindow::m_closeButton, "Image3", "Picture\\BUTTON\\close3.jpg", QRect(318, 330, 90, 38), nullptr, &TMessageWindow::CloseWindow,
         PictureLook::Stretched | PictureLook::Pressable},
    };
    MakePictures(*this, this, buttons, m_pictures);

    m_receivingStateLabel = new QLabel(this);
    m_receivingStateLabel->setObjectName(QStringLiteral("Label1"));
    m_receivingStateLabel->setGeometry(12, 298, 296, 70);
    m_receivingStateLabel->setWordWrap(true);
    m_receivingStateLabel->setStyleSheet(QStringLiteral("color: #c00000;"));

    m_sendButton->setAccessibleName(QStringLiteral("送信"));
    m_closeButton->setAccessibleName(QStringLiteral("閉じる"));
    // Reading order: the stations, the record, the message, send, close.
    QList<QWidget *> order;
    for (const TDestination &d : m_destinations)
        order << d.box;
    order << m_log << m_messageBox << m_sendButton << m_closeButton;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void TMessageWindow::LoadPictures()
{
    m_pictures.Load(m_title, QStringLiteral("Picture\\PANEL\\net_snd.jpg"));
    m_pictures.ReportMissing(this);
}

void TMessageWindow::SetStationAddress(const QHostAddress &address)
{
    m_listener->SetListenAddress(address);
    m_links->SetSourceAddress(address);
}

QString TMessageWindow::OwnName() const
{
    return NetworkEntry(m_host.NetworkSettings, NetworkSettingsIndex::OwnName);
}

void TMessageWindow::Log(const QString &line)
{
    m_log->appendPlainText(line);
    // A message that arrives while the pupil types is heard, not only seen.
    m_host.Announce(line);
}

void TMessageWindow::RefreshNames()
{
    for (int k = 1; k <= DestinationCount; ++k) {
        const QString name = NetworkEntry(m_host.NetworkSettings, Name(k));
        At(k).label->setText(name);
        At(k).box->setAccessibleName(DestinationName(k, name));
    }
}

void TMessageWindow::ShowWindow()
{
    RefreshNames();
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = rect();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
    raise();
    activateWindow();
}

void TMessageWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

bool TMessageWindow::event(QEvent *event)
{
    // This window has no hint area of its own: its hints go to the main
    // window's, as every other control's do.
    if (event->type() == QEvent::StatusTip) {
        m_host.SetHintAreaText(TImage::LongHint(static_cast<QStatusTipEvent *>(event)->tip()));
        return true;
    }
    return QWidget::event(event);
}

void TMessageWindow::changeEvent(QEvent *event)
{
    // The names may have been applied on the page while the window stayed open.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        RefreshNames();
    QWidget::changeEvent(event);
}

void TMessageWindow::FormShow()
{
    PaintGrey(this);
    for (TDestination &d : m_destinations) {
        PaintGrey(d.panel);
        PaintGrey(d.box);
    }
    RefreshNames();
    m_log->clear();
    m_messageBox->clear();
    if (m_listener->Open()) {
        m_receivingStateLabel->clear();
    } else {
        // The port lies in the range the system hands out for outgoing
        // connections, so another program may hold it for a while.
        const QString text = QStringLiteral("受信用のポート%1を開けません（%2）。メッセージは受け取れません。この画面を開き直すと、もう一度試します。")
                                 .arg(m_listener->Port())
                                 .arg(m_listener->ErrorText());
        m_receivingStateLabel->setFont(FontToFit(font(), text, m_receivingStateLabel->size()));
        m_receivingStateLabel->setText(text);
    }
    m_logClosing = true;
}

void TMessageWindow::keyPressEvent(QKeyEvent *event)
{
    // The close button's key: the window is left without the mouse.
    if (event->key() == Qt::Key_Escape) {
        CloseWindow();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TMessageWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (TDestination &d : m_destinations) {
            if (watched == d.panel || watched == d.label) {
                d.box->toggle();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TMessageWindow::Untick(int k)
{
    At(k).box->setChecked(false);
}

void TMessageWindow::DestinationToggled(int k)
{
    TDestination &d = At(k);
    RefreshNames();
    if (d.box->isChecked() && d.label->text().isEmpty()) {
        QMessageBox::warning(this, QString(), QStringLiteral("メッセージ送信先が正しく設定されておりません。"));
        d.box->setChecked(false);
        return;
    }
    if (!d.box->isChecked()) {
        m_links->Close(k);
        return;
    }
    d.address = NetworkEntry(m_host.NetworkSettings, Address(k));
    d.name = d.label->text();
    if (!m_links->Connect(k, d.address)) {
        // An incomplete address can never connect: say so as any failed connection.
        Log(ChatMessage::OutgoingFailedLine(d.address));
        d.box->setChecked(false);
    }
}

void TMessageWindow::Send()
{
    try {
        bool any = false;
        for (const TDestination &d : m_destinations)
            any = any || d.box->isChecked();
        if (!any) {
            QMessageBox::warning(this, QString(), QStringLiteral("送信先が指定されておりません。"));
            return;
        }
        const QStringList &settings = m_host.NetworkSettings;
        for (int k = 1; k <= DestinationCount; ++k) {
            if (!At(k).box->isChecked())
                continue;
            if (!StationSettingsComplete(settings, k)) {
                QMessageBox::warning(this, QString(), QStringLiteral("ネットワーク設定が正しく設定されておりません。\nネットワーク設定を再度確認して下さい。"));
                return;
            }
        }
        const QString text = m_messageBox->text();
        if (!Cp932::CanEncode(text)) {
            QMessageBox::warning(this, QString(),
                                 QStringLiteral("「") + Cp932::FirstUnencodable(text) + QStringLiteral("」は送信できない文字です。\n別の文字に書き換えて下さい。"));
            return;
        }
        const QString ownAddress = NetworkEntry(settings, OwnAddress);
        const QString message = ChatMessage::Build(ownAddress, ChatMessage::TimeText(QTime::currentTime()), text);
        const QString line = ChatMessage::SentLogLine(message, ownAddress, OwnName());
        for (int k = 1; k <= DestinationCount; ++k) {
            if (At(k).box->isChecked())
                m_links->Send(k, message);
        }
        Log(line);
        m_messageBox->clear();
    } catch (const std::exception &) {
        QMessageBox::warning(this, QString(), QStringLiteral("(10002)エラーが発生しました\nソフトを再起動するか再度インストールして下さい"));
    }
}

void TMessageWindow::CloseWindow()
{
    for (int k = 1; k <= DestinationCount; ++k) {
        Untick(k);
        m_links->Close(k);
    }
    m_listener->Close();
    hide();
}
