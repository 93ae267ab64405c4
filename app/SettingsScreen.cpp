#include "SettingsScreen.h"

#include "CommandCodes.h"
#include "Cp932.h"
#include "Image.h"
#include "IniFile.h"
#include "LoadError.h"
#include "PictureTable.h"
#include "PortNames.h"
#include "TransferRequest.h"
#include "MainWindow.h"
#include "WorkFolder.h"
#include "rs232c.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

// White for one second.
constexpr int TestLightCode = LampCode::ColourStep(LampCode::Colour::White, 1);

// The swatches, three to a row, in the order the pupil sees them, with the
// colour's name a pupil would say.
struct TSwatch {
    const char *colour;
    const char *name;
};
constexpr TSwatch kSwatches[15] = {
    {"clBlack", "黒"}, {"clMaroon", "茶色"}, {"clGreen", "緑"}, {"clOlive", "オリーブ色"}, {"clNavy", "紺色"},
    {"clPurple", "紫"}, {"clTeal", "青緑"}, {"clGray", "灰色"}, {"clSilver", "銀色"}, {"clRed", "赤"},
    {"clLime", "黄緑"}, {"clYellow", "黄色"}, {"clBlue", "青"}, {"clFuchsia", "赤紫"}, {"clWhite", "白"},
};

QColor ToQColor(quint32 color)
{
    return QColor(ColorText::Red(color), ColorText::Green(color), ColorText::Blue(color));
}

QLabel *AddLabel(QWidget *parent, const QString &name, const QString &text, QRect geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QString SettingsPath()
{
    return WorkFolder() + SettingsKeys::FileName;
}

} // namespace

TSettingsScreen::TSettingsScreen(TMainWindow &mainWindow)
    : QDialog(&mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
    , m_main(mainWindow)
{
    setObjectName(QStringLiteral("TForm15"));
    setWindowTitle(QStringLiteral("設定"));
    setAccessibleName(QStringLiteral("設定"));
    setModal(true);
    setFixedSize(398, 299);
    setAutoFillBackground(true);
    QPalette silver = palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(silver);
    CreateControls();
    FormCreate();
}

void TSettingsScreen::CreateControls()
{
    using namespace PictureLook;
    static constexpr TPictureRow<TSettingsScreen> background[] = {
        {&TSettingsScreen::m_background, "Image3", "picture\\back-1.jpg", {0, 0, 398, 299}, nullptr, nullptr, Stretched},
    };
    static constexpr TPictureRow<TSettingsScreen> buttons[] = {
        {&TSettingsScreen::m_okButton, "Image1", "picture\\BUTTON\\ok.bmp", {238, 266, 75, 25}, nullptr, &TSettingsScreen::SaveAndClose,
         Pressable | Hand},
        {&TSettingsScreen::m_cancelButton, "Image2", "picture\\BUTTON\\cancel.bmp", {318, 266, 75, 25}, nullptr,
         &TSettingsScreen::Cancel, Pressable | Hand},
    };
    MakePictures(*this, this, background, m_pictures);
    CreateTopicTree();
    CreatePages();

    m_sampleBox = new QGroupBox(QStringLiteral("サンプル"), this);
    m_sampleBox->setObjectName(QStringLiteral("GroupBox1"));
    m_sampleBox->setGeometry(8, 214, 224, 78);
    m_sampleText = new QLineEdit(QStringLiteral("これはサンプルです"), m_sampleBox);
    m_sampleText->setObjectName(QStringLiteral("Edit1"));
    m_sampleText->setGeometry(8, 18, 208, 52);
    m_sampleText->setReadOnly(true);
    m_sampleText->setFocusPolicy(Qt::NoFocus);

    MakePictures(*this, this, buttons, m_pictures);
    m_background->lower();
    m_sampleText->setAccessibleName(QStringLiteral("サンプル"));
    m_okButton->setAccessibleName(QStringLiteral("OK（保存して閉じる）"));
    m_cancelButton->setAccessibleName(QStringLiteral("キャンセル"));
    // Reading order: the topics, the topic's page, then OK and cancel.
    setTabOrder(m_topicTree, m_topicPages);
    setTabOrder(m_topicPages, m_okButton);
    setTabOrder(m_okButton, m_cancelButton);
}

void TSettingsScreen::CreateTopicTree()
{
    m_topicTree = new QTreeWidget(this);
    m_topicTree->setObjectName(QStringLiteral("TreeView1"));
    m_topicTree->setGeometry(8, 8, 120, 200);
    m_topicTree->setHeaderHidden(true);
    m_topicTree->setColumnCount(1);
    m_topicTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_topicTree->setItemsExpandable(false);
    m_topicTree->setExpandsOnDoubleClick(false);
    m_topicTree->setIndentation(14);
    m_topicTree->setAccessibleName(QStringLiteral("設定の項目"));
    const auto node = [](QTreeWidgetItem *parent, const QString &text, int page) {
        auto *item = new QTreeWidgetItem(parent, QStringList{text});
        item->setData(0, Qt::UserRole, page);
        return item;
    };
    auto *com = new QTreeWidgetItem(m_topicTree, QStringList{QStringLiteral("ＣＯＭポート")});
    com->setData(0, Qt::UserRole, PagePort);
    node(com, QStringLiteral("ポート名"), PagePortName);
    auto *editor = new QTreeWidgetItem(m_topicTree, QStringList{QStringLiteral("エディタ")});
    editor->setData(0, Qt::UserRole, PageEditor);
    node(editor, QStringLiteral("文字の大きさ"), PageSize);
    node(editor, QStringLiteral("背景色"), PageBackColor);
    node(editor, QStringLiteral("文字色"), PageFontColor);
    node(editor, QStringLiteral("フォント名"), PageFontName);
    auto *picture = new QTreeWidgetItem(m_topicTree, QStringList{QStringLiteral("背景画像")});
    picture->setData(0, Qt::UserRole, PageBackPicture);
    connect(m_topicTree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *item) { ShowTopic(item); });
    // The tree is a fixed list of topics: it never folds away.
    connect(m_topicTree, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem *item) { item->setExpanded(true); });
}

void TSettingsScreen::CreatePages()
{
    m_topicPages = new QStackedWidget(this);
    m_topicPages->setObjectName(QStringLiteral("PageControl1"));
    m_topicPages->setGeometry(134, 8, 256, 200);

    auto *port = new QWidget;
    AddLabel(port, QStringLiteral("Label1"), QStringLiteral("RS-232Cで出力するための"), {8, 6, 240, 19});
    AddLabel(port, QStringLiteral("Label2"), QStringLiteral("設定をします"), {8, 25, 240, 19});
    m_topicPages->addWidget(port);
    m_topicPages->addWidget(CreatePortNamePage());

    auto *editorPage = new QWidget;
    AddLabel(editorPage, QStringLiteral("Label5"),
             QStringLiteral("STEP7 光 - フルプログラムの\nプログラム入力画面の設定をします"), {8, 6, 240, 38});
    AddLabel(editorPage, QStringLiteral("Label6"), QStringLiteral("●文字の大きさ\n●背景色\n●文字色\n●フォント"),
             {8, 52, 240, 96});
    m_topicPages->addWidget(editorPage);
    m_topicPages->addWidget(CreateSizePage());
    m_topicPages->addWidget(CreateColorPage(QStringLiteral("STEP5のプログラム入力画面\nの背景の色を設定します"),
                                            QStringLiteral("背景色の設定"), QStringLiteral("BackColor_"), true));
    m_topicPages->addWidget(CreateColorPage(QStringLiteral("STEP5のプログラム入力画面\nの文字の色を設定します"),
                                            QStringLiteral("文字の色設定"), QStringLiteral("FontColor_"), false));
    m_topicPages->addWidget(CreateFontNamePage());
    m_topicPages->addWidget(CreateBackPicturePage());
    for (int i = 0; i < m_topicPages->count(); ++i)
        m_topicPages->widget(i)->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
}

QWidget *TSettingsScreen::CreatePortNamePage()
{
    auto *page = new QWidget;
    AddLabel(page, QStringLiteral("Label3"), QStringLiteral("接続コードを接続したポートを"), {8, 6, 240, 19});
    AddLabel(page, QStringLiteral("Label4"), QStringLiteral("選択して下さい。"), {8, 25, 240, 19});
    auto *group = new QGroupBox(QStringLiteral("通信ポート名"), page);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    group->setGeometry(8, 48, 240, 72);
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(4);
    // Two columns, filled column by column: COM1 and COM2, then COM3 and COM4.
    // Beside each name the device it stands for on this machine, so the
    // teacher sees which cable is which.
    for (int i = 0; i < 4; ++i) {
        auto *button = new QRadioButton(QStringLiteral("COM%1").arg(i + 1), group);
        button->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        grid->addWidget(button, i % 2, (i / 2) * 2);
        m_portButtons[static_cast<size_t>(i)] = button;
        auto *device = new QLabel(group);
        device->setObjectName(QStringLiteral("Label_Device%1").arg(i + 1));
        device->setStyleSheet(QStringLiteral("color: #505050;"));
        grid->addWidget(device, i % 2, (i / 2) * 2 + 1);
        m_portDevices[static_cast<size_t>(i)] = device;
    }
    auto *test = new QPushButton(QStringLiteral("テスト点灯"), page);
    test->setObjectName(QStringLiteral("Button1"));
    // Enter is the screen's OK, also while the test button has the focus.
    test->setAutoDefault(false);
    test->setGeometry(8, 128, 90, 24);
    connect(test, &QPushButton::clicked, this, &TSettingsScreen::TestLight);
    m_testStatus = AddLabel(page, QStringLiteral("Label_TestStatus"), QString(), {8, 156, 240, 40});
    m_testStatus->setWordWrap(true);
    return page;
}

QWidget *TSettingsScreen::CreateSizePage()
{
    auto *page = new QWidget;
    AddLabel(page, QStringLiteral("Label7"), QStringLiteral("STEP5のプログラム入力画面\nの文字の大きさを設定します"),
             {8, 6, 240, 38});
    auto *group = new QGroupBox(QStringLiteral("フォントサイズ"), page);
    group->setObjectName(QStringLiteral("GroupBox2"));
    group->setGeometry(8, 50, 240, 100);
    AddLabel(group, QStringLiteral("Label8"), QStringLiteral("5～30ポイントの中から\n選択して下さい"), {10, 18, 220, 38});
    m_fontSizeEdit = new QSpinBox(group);
    m_fontSizeEdit->setObjectName(QStringLiteral("SpinEdit1"));
    m_fontSizeEdit->setGeometry(10, 62, 60, 24);
    m_fontSizeEdit->setRange(SettingsKeys::MinFontSize, SettingsKeys::MaxFontSize);
    m_fontSizeEdit->setAccessibleName(QStringLiteral("文字の大きさ（ポイント）"));
    AddLabel(group, QStringLiteral("Label9"), QStringLiteral("ポイント"), {76, 64, 80, 19});
    connect(m_fontSizeEdit, &QSpinBox::valueChanged, this, [this](int size) {
        m_sample.FontSize = size;
        ShowSample();
    });
    return page;
}

QWidget *TSettingsScreen::CreateColorPage(const QString &intro, const QString &title, const QString &prefix, bool background)
{
    auto *page = new QWidget;
    AddLabel(page, prefix + QStringLiteral("Intro"), intro, {8, 6, 240, 38});
    auto *group = new QGroupBox(title, page);
    group->setObjectName(prefix + QStringLiteral("Group"));
    group->setGeometry(8, 48, 240, 146);
    const QString what = background ? QStringLiteral("背景色") : QStringLiteral("文字色");
    for (int i = 0; i < 15; ++i) {
        const QString name = QString::fromLatin1(kSwatches[i].colour);
        const quint32 color = *ColorText::Parse(name);
        auto *swatch = new TImage(group, prefix + name);
        swatch->setAccessibleName(what + QStringLiteral(": ") + QString::fromUtf8(kSwatches[i].name));
        swatch->SetRole(QAccessible::Button);
        swatch->setGeometry(16 + (i % 3) * 72, 20 + (i / 3) * 24, 60, 18);
        QPixmap fill(swatch->size());
        fill.fill(ToQColor(color));
        {
            QPainter frame(&fill);
            frame.setPen(Qt::black);
            frame.drawRect(fill.rect().adjusted(0, 0, -1, -1));
        }
        swatch->SetPicture(fill);
        swatch->setToolTip(name);
        swatch->setCursor(Qt::PointingHandCursor);
        connect(swatch, &TImage::Click, this, [this, color, background] {
            (background ? m_sample.BackColor : m_sample.FontColor) = color;
            ShowSample();
        });
    }
    return page;
}

QWidget *TSettingsScreen::CreateFontNamePage()
{
    auto *page = new QWidget;
    AddLabel(page, QStringLiteral("Label10"), QStringLiteral("フォント名"), {8, 6, 240, 19});
    m_fontNameList = new QListWidget(page);
    m_fontNameList->setObjectName(QStringLiteral("ListBox1"));
    m_fontNameList->setGeometry(8, 28, 240, 166);
    m_fontNameList->setAccessibleName(QStringLiteral("フォント名"));
    connect(m_fontNameList, &QListWidget::currentTextChanged, this, [this](const QString &name) {
        if (name.isEmpty())
            return;
        m_sample.FontName = name;
        ShowSample();
    });
    return page;
}

QWidget *TSettingsScreen::CreateBackPicturePage()
{
    auto *page = new QWidget;
    for (int i = 0; i < 12; ++i) {
        TImage *thumb = MakePicture(page, QStringLiteral("Thumbnail%1").arg(i + 1),
                                    QRect(4 + (i % 4) * 60, 4 + (i / 4) * 44, 56, 40), nullptr,
                                    PictureLook::Stretched | PictureLook::Hand);
        m_pictures.Load(thumb, QStringLiteral("picture\\PANEL\\s_bg%1.jpg").arg(i + 1));
        thumb->setAccessibleName(QStringLiteral("背景画像%1").arg(i + 1));
        connect(thumb, &TImage::Click, this, [this, i] { ChooseBackground(i + 1); });
        m_thumbnails[static_cast<size_t>(i)] = thumb;
    }
    AddLabel(page, QStringLiteral("Label11"), QStringLiteral("変更後の背景"), {4, 136, 120, 19});
    m_chosenBackground = MakePicture(page, QStringLiteral("Image4"), QRect(4, 156, 56, 40), nullptr, PictureLook::Stretched);
    m_chosenBackground->setAccessibleName(QStringLiteral("変更後の背景"));
    m_pictures.Load(m_chosenBackground, QStringLiteral("picture\\PANEL\\s_") + m_backPicture);
    connect(m_chosenBackground, &TImage::Click, this, &TSettingsScreen::ShowChosenBackground);
    return page;
}

void TSettingsScreen::FormCreate()
{
    m_topicTree->expandAll();
    m_topicTree->setCurrentItem(m_topicTree->topLevelItem(0));
    ShowTopic(m_topicTree->topLevelItem(0));
    {
        const QSignalBlocker blocker(m_fontNameList);
        m_fontNameList->addItems(QFontDatabase::families());
    }
    // A colour that cannot be read was said at start.
    ReadSettings();
    m_pictures.ReportMissing(this);
}

void TSettingsScreen::ReadSettings()
{
    const TIniFile ini(SettingsPath());
    m_sample = TEditorSettings::Read(ini);
    {
        const QSignalBlocker blocker(m_fontSizeEdit);
        m_fontSizeEdit->setValue(m_sample.FontSize);
    }
    // The sample shows what OK would write, and the field holds 5 to 30 only.
    m_sample.FontSize = m_fontSizeEdit->value();
    {
        const QSignalBlocker blocker(m_fontNameList);
        const QList<QListWidgetItem *> found = m_fontNameList->findItems(m_sample.FontName, Qt::MatchExactly);
        m_fontNameList->setCurrentItem(found.isEmpty() ? nullptr : found.first());
    }
    const int comport = ini.ReadInteger(SettingsKeys::ComportSection, SettingsKeys::ComportName,
                                        SettingsKeys::DefaultComport);
    // A value outside COM1 to COM4 leaves no choice marked; OK then keeps COM1.
    for (int i = 0; i < 4; ++i)
        m_portButtons[static_cast<size_t>(i)]->setChecked(i == comport);
    // The print buffer took the file's font at start and takes it again on OK.
    ShowSample();
}

void TSettingsScreen::ShowSample()
{
    QPalette pal = m_sampleText->palette();
    pal.setColor(QPalette::Base, ToQColor(m_sample.BackColor));
    pal.setColor(QPalette::Text, ToQColor(m_sample.FontColor));
    m_sampleText->setPalette(pal);
    QFont font(m_sample.FontName);
    font.setPointSize(m_sample.FontSize);
    m_sampleText->setFont(font);
}

void TSettingsScreen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
}

void TSettingsScreen::FormShow()
{
    m_portBeforeTest.clear();
    m_testStatus->clear();
    ShowPortDevices();
    // An unreadable colour was said at start; here it simply reads as its
    // default until OK writes a good one.
    ReadSettings();
}

void TSettingsScreen::ShowPortDevices()
{
    // Adapters come and go between lessons, so the list is read each time.
    const QList<TPortDevice> devices = LampPortDevices();
    for (int i = 0; i < 4 && i < devices.size(); ++i) {
        const QString &path = devices.at(i).device;
        QLabel *label = m_portDevices[static_cast<size_t>(i)];
        QString shown = path;
        if (shown.startsWith(QStringLiteral("/dev/")))
            shown = shown.mid(5);
        label->setText(path.isEmpty() ? QStringLiteral("なし") : shown);
        label->setToolTip(path.isEmpty() ? QStringLiteral("このポートにつながる機器はありません") : path);
    }
}

int TSettingsScreen::PortChoice() const
{
    for (int i = 0; i < 4; ++i) {
        if (m_portButtons[static_cast<size_t>(i)]->isChecked())
            return i;
    }
    return SettingsKeys::DefaultComport;
}

QString TSettingsScreen::PortName(int choice) const
{
    return TMainWindow::PortNameFor(choice, QStringLiteral("com1"));
}

void TSettingsScreen::ShowTopic(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const int page = item->data(0, Qt::UserRole).toInt();
    m_topicPages->setCurrentIndex(page);
    const bool sample = page >= PageEditor && page <= PageFontName;
    m_sampleBox->setVisible(sample);
}

void TSettingsScreen::ChooseBackground(int number)
{
    m_backPicture = QStringLiteral("bg%1.jpg").arg(number);
    ShowChosenBackground();
}

void TSettingsScreen::ShowChosenBackground()
{
    try {
        m_chosenBackground->LoadPicture(QStringLiteral("picture\\PANEL\\s_") + m_backPicture);
    } catch (const TLoadError &) {
        m_chosenBackground->clear();
    }
}

void TSettingsScreen::TestLight()
{
    const QString name = PortName(PortChoice());
    if (m_portBeforeTest.isEmpty())
        m_portBeforeTest = m_main.SerialPort().portname;
    m_main.OpenLampPort(name);
    if (!m_main.SerialPort().IsOpen()) {
        m_testStatus->setText(name.toUpper() + QStringLiteral("を開けませんでした。接続コードとポート名を確かめて下さい"));
        return;
    }
    // White for one second, so the pupil sees which lamp on the desk answers.
    // The lesson's prepared transfer stays as it was: an execute after the
    // test must not run a program that was never sent.
    m_main.TransferKeepingPrepared(TTransferRequest::DirectLight(TestLightCode));
    m_testStatus->setText(name.toUpper() + QStringLiteral("のランプを白く1秒点灯しました"));
}

void TSettingsScreen::SaveAndClose()
{
    TSettingsChoice choice;
    choice.Editor = m_sample;
    choice.Editor.FontSize = m_fontSizeEdit->value();
    choice.Comport = PortChoice();
    choice.BackPicture = m_backPicture;
    if (!Cp932::CanEncode(choice.Editor.FontName)) {
        QMessageBox::information(this, QString(),
                                 QStringLiteral("フォント名「%1」は設定ファイルに保存できません\n別のフォントを選択して下さい")
                                     .arg(choice.Editor.FontName));
        return;
    }

    TIniFile ini(SettingsPath());
    choice.Write(ini);
    QString error;
    if (!ini.Save(&error)) {
        // The old file stays as it was; the choices still hold for this run.
        QMessageBox::warning(this, QString(),
                             QStringLiteral("設定を保存できませんでした（%1）\n変更はソフトを終了するまで有効です")
                                 .arg(error));
    }

    m_main.SetPrintBufferFont(ini.ReadInteger(SettingsKeys::FontSection, SettingsKeys::FontSize, TEditorSettings().FontSize),
                              ini.ReadString(SettingsKeys::FontSection, SettingsKeys::FontName, TEditorSettings().FontName));
    const QString back = ini.ReadString(SettingsKeys::BackSection, SettingsKeys::BackPicture,
                                        SettingsKeys::DefaultBackPicture);
    if (!m_main.SetBackgroundPicture(back))
        QMessageBox::information(this, QString(),
                                 QStringLiteral("背景画像「%1」を読み込めませんでした\n背景は変わりません").arg(back));

    // The pages that take the editor settings read them in their shown
    // handler; showing the visible one again runs it.
    const int visible = m_main.VisiblePage();
    if (visible == TMainHost::PageStep5 || visible == TMainHost::PageStep10 || visible == TMainHost::PageReport)
        m_main.ShowPage(visible);

    m_portBeforeTest.clear();
    m_main.OpenLampPort(PortName(choice.Comport));
    accept();
}

void TSettingsScreen::Cancel()
{
    reject();
}

void TSettingsScreen::reject()
{
    // A test lighting may have moved the port; cancel (the button or Escape)
    // changes nothing.
    if (!m_portBeforeTest.isEmpty() && m_portBeforeTest != m_main.SerialPort().portname)
        m_main.OpenLampPort(m_portBeforeTest);
    m_portBeforeTest.clear();
    QDialog::reject();
}

void TSettingsScreen::keyPressEvent(QKeyEvent *event)
{
    // The OK button is a picture, not a default button the dialog knows:
    // Enter that no control took is OK here.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        SaveAndClose();
        return;
    }
    QDialog::keyPressEvent(event);
}
