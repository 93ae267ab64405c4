#include "Step8Screen.h"

#include "DragController.h"
#include "FitText.h"
#include "Image.h"
#include "MainHost.h"
#include "NetworkSettings.h"
#include "OwnAddress.h"
#include "StationCommand.h"
#include "StationCommandGate.h"
#include "StationFinder.h"
#include "StationLinks.h"
#include "StationListener.h"
#include "StationPalette.h"
#include "Selector.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <exception>

using namespace NetworkSettingsIndex;

namespace {
const QString SettingsError = QStringLiteral("(10002)エラーが発生しました\nネットワーク設定を確認してください。");
const QString UnexpectedError = QStringLiteral("(10001)エラーが発生しました\nソフトを再起動するか再度インストールして下さい。");
constexpr int PanelHidden = 430;

int PanelIndexOf(const QString &objectName)
{
    for (int i = 0; i < StationPalette::PanelCount; ++i) {
        if (objectName == QLatin1String(StationPalette::Panel(i).objectName))
            return i;
    }
    return -1;
}

// The stretched buttons of this page: pressed, they shift, without the
// lessons' pointing hand.
constexpr unsigned PageButton = PictureLook::Stretched | PictureLook::Pressable;

void PaintGrey(QWidget *widget)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, QColor(204, 204, 204));
    pal.setColor(QPalette::Button, QColor(204, 204, 204));
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}
} // namespace

TStep8Screen::TStep8Screen(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm14"))
    , m_listener(new TStationListener(CommandPort, this))
    , m_links(new TStationLinks(CommandPort, this))
    , m_gate(new TStationCommandGate(host, this))
    , m_drag(new TDragController(this))
    , m_finder(new TStationFinder(this))
{
    CreateControls();
    CreateSettingsPanel();
    CreateFinderControls();
    CreateTeacherButton();
    LoadPictures();
    ShowLinkEvents();
    SetTabOrder();

    m_listener->SetReadCap(CommandReadCap);
    // The mode in force decides, as for messages and the finder; the radio
    // buttons always show it, and a choice counts from its OK on.
    m_listener->SetAcceptFilter([this](const QString &peer) { return AcceptsConnectionFrom(Host().NetworkSettings, peer); });
    connect(m_listener, &TStationListener::Received, this, [this](const QString &, const QString &text) {
        if (const auto command = StationCommand::Parse(text))
            m_gate->Submit(*command);
    });
}

void TStep8Screen::CreateControls()
{
    m_background = new TImage(this, QStringLiteral("Image1"));
    m_background->setGeometry(0, 0, 720, 430);
    m_background->SetStretch(true);
    CreatePalette();
    CreatePageButtons();
    for (int k = 1; k <= SlotCount; ++k)
        CreateSlot(k);
    CreateLabels();
}

void TStep8Screen::CreatePalette()
{
    for (int i = 0; i < StationPalette::PanelCount; ++i) {
        auto *panel = new TImage(this, QString::fromLatin1(StationPalette::Panel(i).objectName));
        panel->setGeometry(8 + i * 52, 14, 50, 50);
        panel->SetStretch(true);
        panel->SetHint(i == StationPalette::DeletePanel ? QStringLiteral("削除の命令です")
                                                        : QStringLiteral("光らせたい色を右の枠内にドラッグ＆ドロップして下さい"));
        panel->setAccessibleName(QString::fromUtf8(StationPalette::Panel(i).spokenName));
        MakePaletteChip(panel, m_drag, [panel] {
            const QPixmap picture = panel->pixmap();
            return picture.isNull() ? picture : picture.scaled(panel->size());
        });
        m_panels.at(static_cast<size_t>(i)) = panel;
    }
}

void TStep8Screen::CreatePageButtons()
{
    // The buttons for all stations; each slot's execute button is built with its slot.
    static const TPictureRow<TStep8Screen> rows[] = {
        {&TStep8Screen::m_settingsButton, "Image3", "Picture\\BUTTON\\net_set.jpg", QRect(484, 14, 110, 36), "ネット設定|ネットワークの設定を行います", &TStep8Screen::ShowSettingsPanel, PageButton},
        {&TStep8Screen::m_messageButton, "Image4", "Picture\\BUTTON\\net_send.jpg", QRect(600, 14, 110, 36), "メッセージ|メッセージ送信画面を表示します", &TStep8Screen::OpenMessageWindow, PageButton},
        {&TStep8Screen::m_transferAllButton, "Image5", "Picture\\BUTTON\\pro_tenso.jpg", QRect(505, 200, 90, 51), "すべてに転送|接続先すべてにプログラムを転送します", &TStep8Screen::TransferToAll, PageButton},
        {&TStep8Screen::m_executeAllButton, "Image6", "Picture\\BUTTON\\pro_jikkou.jpg", QRect(605, 200, 90, 51), "すべてで実行|接続先すべてにプログラムを実行します", &TStep8Screen::ExecuteOnAll, PageButton},
        {&TStep8Screen::m_allStationsPicture, "Image2", "Picture\\PANEL\\net_1.jpg", QRect(500, 90, 200, 100), nullptr, nullptr, PictureLook::Stretched},
    };
    AddPictures(rows);
}

void TStep8Screen::CreateSlot(int k)
{
    static constexpr std::array<const char *, SlotCount> ExecuteNames{"Image7", "Image8", "Image9", "Image10", "Image17", "Image18"};
    TSlot &slot = SlotAt(k);
    const int y = 70 + (k - 1) * 52;
    slot.name = new QLineEdit(this);
    slot.name->setObjectName(QStringLiteral("StationName%1").arg(k));
    slot.name->setGeometry(20, y + 9, 130, 24);
    slot.name->setReadOnly(true);
    slot.name->setAccessibleName(QStringLiteral("%1番の局の名前").arg(k));
    slot.target = new TImage(this, QStringLiteral("StationTarget%1").arg(k));
    slot.target->setGeometry(160, y, 42, 42);
    slot.target->SetStretch(true);
    slot.target->setFrameShape(QFrame::Box);
    slot.target->setAccessibleName(SlotTargetName(k, QString()));
    // Readable by Tab without holding a colour: what the station would get.
    slot.target->SetRole(QAccessible::Cell);
    m_drag->AcceptDropsOn(
        slot.target, [](const QString &name) { return PanelIndexOf(name) >= 0; },
        [this, k](const QString &name, QPoint) { SlotDragDrop(k, PanelIndexOf(name)); });
    slot.selector = new TSelector(this);
    slot.selector->setObjectName(QStringLiteral("StationSelector%1").arg(k));
    slot.selector->setGeometry(212, y + 9, 100, 24);
    slot.selector->setEnabled(false);
    slot.selector->setAccessibleName(QStringLiteral("%1番の局の長さ").arg(k));
    slot.status = new QLabel(QStringLiteral("未接続"), this);
    slot.status->setObjectName(QStringLiteral("StationStatus%1").arg(k));
    slot.status->setGeometry(320, y + 9, 80, 24);
    slot.execute = MakePicture(this, QString::fromLatin1(ExecuteNames.at(static_cast<size_t>(k - 1))), QRect(405, y + 5, 80, 32),
                               "プログラムを実行します", PageButton);
    slot.execute->setAccessibleName(QStringLiteral("%1番の局で実行").arg(k));
    connect(slot.execute, &TImage::Click, this, [this, k] { ExecuteSlot(k); });
}

QString TStep8Screen::SlotTargetName(int k, const QString &placed)
{
    return QStringLiteral("%1番の局の命令: %2").arg(k).arg(placed.isEmpty() ? QStringLiteral("なし") : placed);
}

void TStep8Screen::SetTabOrder()
{
    // Reading order: the palette, the page's buttons, each station's row
    // left to right, then the buttons for all stations and the teacher's view.
    QList<QWidget *> order(m_panels.begin(), m_panels.end());
    order << m_settingsButton << m_messageButton;
    for (const TSlot &slot : m_slots)
        order << slot.name << slot.target << slot.selector << slot.execute;
    order << m_transferAllButton << m_executeAllButton << m_teacherButton;
    // The settings panel's form, row by row, then its choices on the right.
    for (const TStationBoxes &boxes : m_boxes) {
        order << boxes.name;
        order.append(QList<QWidget *>(boxes.address.begin(), boxes.address.end()));
    }
    order << m_ownNameBox << m_classCodeBox << m_acceptAllRadio << m_acceptRegisteredRadio << m_acceptNoneRadio
          << m_finderButton << m_applyButton;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void TStep8Screen::CreateLabels()
{
    m_ownAddressLabel = new QLabel(this);
    m_ownAddressLabel->setObjectName(QStringLiteral("Label1"));
    m_ownAddressLabel->setGeometry(20, 372, 220, 20);
    m_ownNameLabel = new QLabel(this);
    m_ownNameLabel->setObjectName(QStringLiteral("Label2"));
    m_ownNameLabel->setGeometry(250, 372, 220, 20);
    m_receivingStateLabel = new QLabel(this);
    m_receivingStateLabel->setObjectName(QStringLiteral("Label3"));
    // A port that cannot be opened is told with the system's reason: two lines.
    m_receivingStateLabel->setGeometry(20, 392, 690, 38);
    m_receivingStateLabel->setWordWrap(true);
    m_receivingStateLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_receivingStateLabel->setStyleSheet(QStringLiteral("color: #c00000;"));
}

void TStep8Screen::ShowLinkEvents()
{
    // A screen reader hears what a station's link does as the status shows it.
    auto say = [this](int k, const QString &text) {
        SlotAt(k).status->setText(text);
        Host().Announce(QStringLiteral("%1番の局: %2").arg(k).arg(text));
    };
    connect(m_links, &TStationLinks::Connecting, this, [say](int k) { say(k, QStringLiteral("接続中..")); });
    connect(m_links, &TStationLinks::Connected, this, [say](int k) { say(k, QStringLiteral("接続完了")); });
    connect(m_links, &TStationLinks::Closed, this, [this, say](int k) {
        say(k, QStringLiteral("切断"));
        EmptySlot(k);
    });
    connect(m_links, &TStationLinks::Failed, this, [this, say](int k) {
        say(k, QStringLiteral("接続エラー"));
        EmptySlot(k);
    });
}

void TStep8Screen::CreateSettingsPanel()
{
    m_settingsPanel = new QWidget(this);
    m_settingsPanel->setObjectName(QStringLiteral("Panel1"));
    m_settingsPanel->setGeometry(0, PanelHidden, 720, 430);
    // Out of sight is not enough: a panel below the page still took the Tab
    // key and Enter, and applied settings nobody saw. Hidden, it takes neither.
    m_settingsPanel->hide();
    m_settingsBackground = new TImage(m_settingsPanel, QStringLiteral("Image20"));
    m_settingsBackground->setGeometry(0, 0, 720, 430);
    m_settingsBackground->SetStretch(true);

    auto *validator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
    static constexpr std::array<std::array<int, 4>, SlotCount> AddressEdits{{
        {1, 2, 15, 22}, {3, 4, 16, 23}, {5, 6, 17, 24}, {8, 21, 18, 25}, {28, 29, 19, 26}, {30, 31, 20, 27},
    }};
    m_settingsPanel->setAccessibleName(QStringLiteral("ネット設定"));
    auto *nameHead = new QLabel(QStringLiteral("名前"), m_settingsPanel);
    nameHead->setGeometry(60, 30, 140, 20);
    auto *addressHead = new QLabel(QStringLiteral("IPアドレス"), m_settingsPanel);
    addressHead->setGeometry(220, 30, 200, 20);
    for (int k = 1; k <= SlotCount; ++k) {
        TStationBoxes &boxes = m_boxes.at(static_cast<size_t>(k - 1));
        const int y = 54 + (k - 1) * 38;
        auto *number = new QLabel(QString::number(k), m_settingsPanel);
        number->setGeometry(30, y, 24, 24);
        boxes.name = new QLineEdit(m_settingsPanel);
        boxes.name->setObjectName(QStringLiteral("Edit%1").arg(8 + k));
        boxes.name->setGeometry(60, y, 140, 24);
        boxes.name->setAccessibleName(QStringLiteral("%1番の名前").arg(k));
        connect(boxes.name, &QLineEdit::returnPressed, this, &TStep8Screen::ApplySettings);
        for (int part = 0; part < 4; ++part) {
            auto *box = new QLineEdit(m_settingsPanel);
            box->setObjectName(QStringLiteral("Edit%1").arg(AddressEdits.at(static_cast<size_t>(k - 1)).at(static_cast<size_t>(part))));
            box->setGeometry(220 + part * 52, y, 44, 24);
            box->setAccessibleName(QStringLiteral("%1番のIPアドレス %2つ目").arg(k).arg(part + 1));
            box->setMaxLength(3);
            box->setValidator(validator);
            box->installEventFilter(this);
            if (part == 0)
                box->setText(QStringLiteral("192"));
            else if (part == 1)
                box->setText(QStringLiteral("168"));
            connect(box, &QLineEdit::returnPressed, this, &TStep8Screen::ApplySettings);
            boxes.address.at(static_cast<size_t>(part)) = box;
        }
    }
    auto *ownHead = new QLabel(QStringLiteral("自分の名前"), m_settingsPanel);
    ownHead->setGeometry(60, 290, 140, 20);
    m_ownNameBox = new QLineEdit(m_settingsPanel);
    m_ownNameBox->setObjectName(QStringLiteral("Edit7"));
    m_ownNameBox->setGeometry(60, 312, 140, 24);
    m_ownNameBox->setAccessibleName(QStringLiteral("自分の名前"));
    connect(m_ownNameBox, &QLineEdit::returnPressed, this, &TStep8Screen::ApplySettings);

    m_acceptAllRadio = new QRadioButton(QStringLiteral("すべての接続を受け付ける"), m_settingsPanel);
    m_acceptAllRadio->setObjectName(QStringLiteral("RadioButton1"));
    m_acceptAllRadio->setGeometry(460, 60, 240, 24);
    m_acceptAllRadio->setChecked(true);
    m_acceptRegisteredRadio = new QRadioButton(QStringLiteral("登録した相手だけ受け付ける"), m_settingsPanel);
    m_acceptRegisteredRadio->setObjectName(QStringLiteral("RadioButton2"));
    m_acceptRegisteredRadio->setGeometry(460, 92, 240, 24);
    m_acceptNoneRadio = new QRadioButton(QStringLiteral("接続を受け付けない"), m_settingsPanel);
    m_acceptNoneRadio->setObjectName(QStringLiteral("RadioButton3"));
    m_acceptNoneRadio->setGeometry(460, 124, 240, 24);

    m_applyButton = MakePicture(m_settingsPanel, QStringLiteral("Image19"), QRect(590, 360, 100, 44), nullptr, PageButton);
    m_applyButton->setAccessibleName(QStringLiteral("OK（設定を反映）"));
    m_applyButton->setAccessibleDescription(QStringLiteral("ネットワークの設定を反映します"));
    connect(m_applyButton, &TImage::Click, this, &TStep8Screen::ApplySettings);
}

void TStep8Screen::LoadPictures()
{
    Pictures().Load(m_background, QStringLiteral("Picture\\PANEL\\net_back.jpg"));
    for (TSlot &slot : m_slots)
        Pictures().Load(slot.execute, QStringLiteral("Picture\\BUTTON\\net_jikko.jpg"));
    Pictures().Load(m_settingsBackground, QStringLiteral("Picture\\PANEL\\net_set.jpg"));
    Pictures().Load(m_applyButton, QStringLiteral("Picture\\BUTTON\\ok1.jpg"));
    for (int i = 0; i < StationPalette::PanelCount; ++i)
        Pictures().Load(m_panels.at(static_cast<size_t>(i)), QString::fromLatin1(StationPalette::Panel(i).picture));
    ReportMissingPictures();
}

void TStep8Screen::SetStationAddress(const QHostAddress &address)
{
    m_stationAddress = address;
    m_listener->SetListenAddress(address);
    m_links->SetSourceAddress(address);
    m_finder->SetBindAddress(address);
}

void TStep8Screen::Warn(const QString &text)
{
    QMessageBox::warning(this, QString(), text);
}

void TStep8Screen::FormShow()
{
    for (QRadioButton *radio : {m_acceptAllRadio, m_acceptRegisteredRadio, m_acceptNoneRadio})
        PaintGrey(radio);
    // Without a network the station can still reach itself, and the
    // messages it sends keep the form the others read.
    const QString own = m_stationAddress.isNull() ? OwnIPv4Address() : m_stationAddress.toString();
    m_ownAddressLabel->setText(own.isEmpty() ? QStringLiteral("127.0.0.1") : own);
    OpenListener();
    SetReceiveMode(Host().NetworkSettings, TReceiveMode::AcceptAll);
    // Every showing receives from everyone again; a choice still shown as
    // refusing would tell the pupil the opposite of what the station does.
    m_acceptAllRadio->setChecked(true);
    m_finder->Open();
}

bool TStep8Screen::OpenListener()
{
    if (m_listener->Open()) {
        m_receivingStateLabel->clear();
        return true;
    }
    // These ports lie in the range the system hands out for outgoing
    // connections, so another program may hold one for a while.
    const QString text = QStringLiteral("受信用のポート%1を開けません（%2）。このページを開き直すと、もう一度試します。")
                             .arg(m_listener->Port())
                             .arg(m_listener->ErrorText());
    m_receivingStateLabel->setFont(FontToFit(font(), text, m_receivingStateLabel->size()));
    m_receivingStateLabel->setText(text);
    return false;
}

void TStep8Screen::hideEvent(QHideEvent *event)
{
    // A minimised main window is not the page being left.
    if (!event->spontaneous()) {
        m_listener->Close();
        m_finder->Close();
    }
    TPageScreen::hideEvent(event);
}

bool TStep8Screen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        // The address boxes take digits and backspace; every other character is dropped.
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Backspace)
            return false;
        if (!text.isEmpty() && text.at(0).isPrint() && !(text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9')))
            return true;
    }
    return TPageScreen::eventFilter(watched, event);
}

bool TStep8Screen::StationComplete(int slot, bool allAddressParts) const
{
    const TStationBoxes &boxes = BoxesAt(slot);
    if (boxes.name->text().isEmpty())
        return false;
    for (int part = allAddressParts ? 0 : 2; part < 4; ++part) {
        if (boxes.address.at(static_cast<size_t>(part))->text().isEmpty())
            return false;
    }
    return true;
}

void TStep8Screen::EmptySlot(int slot)
{
    TSlot &s = SlotAt(slot);
    s.target->clear();
    s.target->setAccessibleName(SlotTargetName(slot, QString()));
    s.tag = 0;
    s.selector->ClearValues();
    s.selector->setEnabled(false);
}

int TStep8Screen::SlotCode(int slot) const
{
    const TSlot &s = SlotAt(slot);
    if (s.tag == 0)
        return 0;
    return s.tag + qMax(0, s.selector->ItemIndex());
}

void TStep8Screen::SlotDragDrop(int slot, int panel)
{
    if (slot < 1 || slot > SlotCount || panel < 0 || panel >= StationPalette::PanelCount)
        return;
    try {
        if (!StationComplete(slot, true)) {
            Warn(SettingsError);
            return;
        }
        TSlot &s = SlotAt(slot);
        s.selector->ClearValues();
        s.selector->setEnabled(true);
        if (panel == StationPalette::DeletePanel) {
            EmptySlot(slot);
        } else {
            s.target->SetPicture(m_panels.at(static_cast<size_t>(panel))->pixmap());
            s.target->setAccessibleName(SlotTargetName(slot, QString::fromUtf8(StationPalette::Panel(panel).spokenName)));
            s.tag = StationPalette::Panel(panel).tag;
            s.selector->SetValues(StationPalette::Choices(panel));
            s.selector->SetItemIndex(0);
        }
        if (s.tag != 0) {
            ConnectLink(slot);
        } else if (m_links->InUse(slot)) {
            m_links->Close(slot);
            s.status->setText(QStringLiteral("切断"));
        }
    } catch (const std::exception &) {
        ShowCreateError(this);
    }
}

void TStep8Screen::ConnectLink(int slot)
{
    if (!m_links->Connect(slot, NetworkEntry(Host().NetworkSettings, Address(slot))))
        Warn(QStringLiteral("エラーが発生しました\nIPアドレスを確認して下さい"));
}

void TStep8Screen::ExecuteSlot(int slot)
{
    try {
        if (!StationComplete(slot, false)) {
            Warn(SettingsError);
            return;
        }
        if (m_ownNameBox->text().isEmpty()) {
            Warn(QStringLiteral("自分の名前が未入力の為送信できません。"));
            return;
        }
        if (SlotAt(slot).tag == 0) {
            Warn(QStringLiteral("LEDの命令がありません。LEDを光らせる色を枠の中にドラッグして下さい"));
            return;
        }
        m_links->Send(slot, StationCommand::EncodeDirect(SlotCode(slot)));
    } catch (const std::exception &) {
        Warn(UnexpectedError);
    }
}

void TStep8Screen::TransferToAll()
{
    for (int k = 1; k <= SlotCount; ++k) {
        if (SlotAt(k).tag == 0)
            continue;
        if (!StationComplete(k, false)) {
            Warn(SettingsError);
            return;
        }
        m_links->Send(k, StationCommand::EncodeProgram(SlotCode(k)));
    }
}

void TStep8Screen::ExecuteOnAll()
{
    for (int k = 1; k <= SlotCount; ++k)
        m_links->Send(k, StationCommand::EncodeExecute());
}

void TStep8Screen::CoverPage(bool covered)
{
    // The panel covers the whole page: what lies under it takes no Tab stop
    // while it is open, and comes back as it was.
    if (!covered) {
        for (const QPointer<QWidget> &control : m_underPanel) {
            if (control)
                control->show();
        }
        m_underPanel.clear();
        return;
    }
    for (QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child != m_settingsPanel && !child->isWindow() && child->isVisibleTo(this)) {
            m_underPanel.append(child);
            child->hide();
        }
    }
}

void TStep8Screen::ShowSettingsPanel()
{
    m_settingsPanel->move(0, 0);
    m_settingsPanel->show();
    CoverPage(true);
    m_settingsPanel->raise();
    BoxesAt(1).name->setFocus();
}

void TStep8Screen::OpenMessageWindow()
{
    if (NetworkEntry(Host().NetworkSettings, OwnName).isEmpty()) {
        Warn(QStringLiteral("ネットワーク設定で送信元設定をして下さい。"));
        return;
    }
    Q_EMIT MessageWindowRequested();
}

void TStep8Screen::ApplySettings()
{
    const bool panelHadKeyboard = m_settingsPanel->isAncestorOf(focusWidget());
    m_settingsPanel->move(0, PanelHidden);
    m_settingsPanel->hide();
    CoverPage(false);
    if (panelHadKeyboard)
        m_settingsButton->setFocus();
    QStringList &settings = Host().NetworkSettings;
    if (settings.size() < EntryCount)
        settings.resize(EntryCount);
    for (int k = 1; k <= SlotCount; ++k) {
        const TStationBoxes &boxes = BoxesAt(k);
        SlotAt(k).name->setText(boxes.name->text());
        settings[Name(k)] = boxes.name->text();
        settings[ThirdPart(k)] = boxes.address.at(2)->text();
        settings[FourthPart(k)] = boxes.address.at(3)->text();
        QStringList parts;
        for (QLineEdit *box : boxes.address)
            parts.append(box->text());
        settings[Address(k)] = parts.join(QLatin1Char('.'));
    }
    settings[OwnName] = m_ownNameBox->text();
    settings[OwnAddress] = m_ownAddressLabel->text();
    settings[ClassCode] = m_classCodeBox->text();
    const TReceiveMode mode = m_acceptAllRadio->isChecked()          ? TReceiveMode::AcceptAll
                              : m_acceptRegisteredRadio->isChecked() ? TReceiveMode::AcceptRegistered
                                                                     : TReceiveMode::AcceptNone;
    SetReceiveMode(settings, mode);
    if (mode == TReceiveMode::AcceptNone) {
        m_listener->Close();
    } else {
        OpenListener();
        if (mode == TReceiveMode::AcceptRegistered)
            m_listener->CloseConnectionsUnless([&settings](const QString &peer) { return RegisteredStation(settings, peer) != 0; });
    }
    m_ownNameLabel->setText(m_ownNameBox->text());
}
