#include "Unit5.h"

#include "AssetPath.h"
#include "CommandCodes.h"
#include "Image.h"
#include "LoadError.h"
#include "MainHost.h"
#include "ProgramFile.h"
#include "Step3Record.h"
#include "Selector.h"
#include "TransferRequest.h"

#include <QApplication>
#include <QBitmap>
#include <QKeyEvent>
#include <QMessageBox>

#include <algorithm>

namespace {

// The palette's delete block puts no kind into a slot: it empties it.
constexpr int DeleteBlock = -1;

struct PaletteEntry {
    const char *name;
    int kind;
    const char *picture;
    QPoint at;
    const char16_t *hint;
};

constexpr const char16_t *ColourHint = u"光らせたい色を右の枠内にドラッグ＆ドロップして下さい";

const PaletteEntry PaletteBlocks[] = {
    {"Image67", BlockKind::Red, "led_red.bmp", {24, 85}, ColourHint},
    {"Image68", BlockKind::Green, "led_green.bmp", {80, 85}, ColourHint},
    {"Image69", BlockKind::Blue, "led_blue.bmp", {24, 136}, ColourHint},
    {"Image70", BlockKind::Yellow, "led_yellow.bmp", {80, 136}, ColourHint},
    {"Image71", BlockKind::Purple, "led_purple.bmp", {24, 187}, ColourHint},
    {"Image72", BlockKind::LightBlue, "led_lightblue.bmp", {80, 187}, ColourHint},
    {"Image73", BlockKind::White, "led_white.bmp", {24, 238}, ColourHint},
    {"Image74", BlockKind::Off, "led_off.bmp", {80, 238}, ColourHint},
    {"Image66", BlockKind::Wait, "wait.bmp", {24, 289}, u"入力待ちの命令です"},
    {"Image11", DeleteBlock, "delete.bmp", {80, 289}, u"削除の命令です"},
    {"Image75", BlockKind::RepeatStart, "start.bmp", {24, 367}, u"繰り返し開始の命令です"},
    {"Image76", BlockKind::RepeatEnd, "end.bmp", {80, 367}, u"繰り返し終了の命令です"},
};

struct ButtonLayout {
    const char *name;
    int x;
    const char *picture;
    const char16_t *hint;
};

const ButtonLayout Buttons[] = {
    {"Image5", 16, "read.jpg", u"プログラムを読み込みます"},
    {"Image9", 112, "save.jpg", u"プログラムを保存します"},
    {"Image6", 224, "delete.jpg", u"プログラムの内容をすべて削除します"},
    {"Image10", 320, "preview.jpg", u"プログラムの内容をプレビューします"},
    {"Image7", 416, "pro_tenso.jpg", u"プログラムを転送します（接続コードを本体のコネクタに接続して下さい）"},
    {"Image8", 512, "pro_jikkou.jpg", u"プログラムを実行します（接続コードを本体のコネクタに接続して下さい）"},
    {"Image4", 608, "report.jpg", u"レポート作成画面を表示します"},
};

constexpr int SlotColumns[] = {186, 286, 386, 486, 586};
constexpr int SlotRows[] = {95, 175, 255, 335};
constexpr QSize SlotSize(90, 55);
constexpr int SelectorHeight = 15;

// A picture drawn with transparency: the colour of its bottom-left pixel
// lets the panel behind show through.
QPixmap Transparent(const QPixmap &picture)
{
    if (picture.isNull())
        return picture;
    const QImage image = picture.toImage();
    QPixmap result = picture;
    result.setMask(QBitmap::fromImage(
        image.createMaskFromColor(image.pixel(0, image.height() - 1), Qt::MaskInColor)));
    return result;
}

QString SlotPicture(int kind)
{
    return QStringLiteral("picture\\LED\\") + TBlockProgramBuilder::PictureFile(kind);
}

} // namespace

TForm5::TForm5(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm5"))
    , m_file(std::make_unique<TProgramFile>(this, Step3LessonName))
{
    QFont screenFont(QStringLiteral("ＭＳ Ｐゴシック"));
    setFont(screenFont);
    CreateControls();
    LoadPictures();
    // F6 and F7 act whichever control of the screen has the focus.
    qApp->installEventFilter(this);
}

TForm5::~TForm5() = default;

void TForm5::CreateControls()
{
    QList<TImage *> buttons;
    for (const ButtonLayout &layout : Buttons) {
        auto *button = new TImage(this, QString::fromLatin1(layout.name));
        button->setGeometry(layout.x, 8, 90, 51);
        button->SetStretch(true);
        button->SetHint(QString::fromUtf16(layout.hint));
        button->SetPressedLook(true);
        button->setCursor(Qt::PointingHandCursor);
        buttons.append(button);
    }
    Image5 = buttons.at(0);
    Image9 = buttons.at(1);
    Image6 = buttons.at(2);
    Image10 = buttons.at(3);
    Image7 = buttons.at(4);
    Image8 = buttons.at(5);
    Image4 = buttons.at(6);

    Image1 = new TImage(this, QStringLiteral("Image1"));
    Image1->setGeometry(24, 60, 56, 24);
    Image2 = new TImage(this, QStringLiteral("Image2"));
    Image2->setGeometry(24, 342, 72, 24);
    Image3 = new TImage(this, QStringLiteral("Image3"));
    Image3->setGeometry(167, 72, 530, 350);
    for (TImage *panel : {Image1, Image2, Image3})
        panel->SetStretch(true);

    m_drag = new TDragController(this);
    m_drag->setObjectName(QStringLiteral("DragController1"));

    for (size_t i = 0; i < m_palette.size(); ++i) {
        const PaletteEntry &entry = PaletteBlocks[i];
        TPaletteBlock &block = m_palette[i];
        block.kind = entry.kind;
        block.picture = QString::fromLatin1(entry.picture);
        block.image = new TImage(this, QString::fromLatin1(entry.name));
        block.image->setGeometry(QRect(entry.at, QSize(50, 50)));
        block.image->SetStretch(true);
        block.image->SetHint(QString::fromUtf16(entry.hint));
        block.image->setCursor(Qt::OpenHandCursor);
        connect(block.image, &TImage::MouseDown, this,
                [this](Qt::MouseButton button, QPoint at) { m_press.Press(button, at); });
        connect(block.image, &TImage::MouseMove, this,
                [this, i](Qt::MouseButtons, QPoint at) { PaletteMouseMove(m_palette[i], at); });
        connect(block.image, &TImage::MouseUp, this, [this](Qt::MouseButton, QPoint) { m_press.Release(); });
    }

    const auto isPaletteBlock = [this](const QString &name) {
        return std::any_of(m_palette.begin(), m_palette.end(),
                           [&name](const TPaletteBlock &b) { return b.image->objectName() == name; });
    };
    for (int n = 1; n <= BlockSlotCount; ++n) {
        const int x = SlotColumns[(n - 1) % 5];
        const int y = SlotRows[(n - 1) / 5];
        TImage *slot = new TImage(this, QStringLiteral("Image%1").arg(76 + n));
        slot->setGeometry(QRect(QPoint(x, y), SlotSize));
        slot->setAlignment(Qt::AlignCenter);
        m_drag->AcceptDropsOn(slot, isPaletteBlock,
                              [this, n](const QString &name, QPoint) { SlotDragDrop(n, name); });
        SlotImage(n) = slot;

        auto *selector = new TSelector(this);
        selector->setObjectName(QStringLiteral("Selector%1").arg(n));
        selector->setGeometry(x, y + SlotSize.height(), SlotSize.width(), SelectorHeight);
        selector->SetArrowColor(QColor(128, 0, 128));
        QPalette colours = selector->palette();
        colours.setColor(QPalette::Window, QColor(255, 255, 225));
        colours.setColor(QPalette::WindowText, QColor(0, 0, 128));
        selector->setPalette(colours);
        // The item text has to fit the 15-pixel strip.
        QFont small = selector->font();
        small.setPixelSize(11);
        selector->setFont(small);
        selector->setEnabled(false);
        connect(selector, &TSelector::Click, this, &TPageScreen::KeptRecordChanged);
        SlotSelector(n) = selector;
    }

    connect(Image5, &TImage::Click, this, &TForm5::Image5Click);
    connect(Image9, &TImage::Click, this, &TForm5::Image9Click);
    connect(Image6, &TImage::Click, this, &TForm5::Image6Click);
    connect(Image10, &TImage::Click, this, &TForm5::Image10Click);
    connect(Image7, &TImage::Click, this, &TForm5::Image7Click);
    connect(Image8, &TImage::Click, this, &TForm5::Image8Click);
    connect(Image4, &TImage::Click, this, &TForm5::Image4Click);
}

void TForm5::LoadPictures()
{
    // Every picture is tried, so one missing file leaves the others shown;
    // the failure is reported once.
    bool failed = false;
    const auto load = [&failed](TImage *image, const QString &path, bool transparent = false) {
        try {
            if (transparent)
                image->SetPicture(Transparent(LoadAssetPixmap(path)));
            else
                image->LoadPicture(path);
        } catch (const TLoadError &) {
            failed = true;
        }
    };
    const QList<TImage *> buttons{Image5, Image9, Image6, Image10, Image7, Image8, Image4};
    for (qsizetype i = 0; i < buttons.size(); ++i)
        load(buttons.at(i), QStringLiteral("Picture\\BUTTON\\") + QString::fromLatin1(Buttons[i].picture));
    load(Image1, QStringLiteral("Picture\\PANEL\\irositei.jpg"));
    load(Image2, QStringLiteral("Picture\\PANEL\\kurikaesi.jpg"));
    load(Image3, QStringLiteral("Picture\\PANEL\\programpalette.jpg"));
    for (const TPaletteBlock &block : m_palette)
        load(block.image, QStringLiteral("Picture\\LED\\") + block.picture, true);
    if (failed)
        ShowCreateError(this);
}

TBlockSlots TForm5::Slots() const
{
    TBlockSlots blocks;
    for (size_t i = 0; i < blocks.size(); ++i)
        blocks[i] = {m_kinds[i], m_selectors[i]->ItemIndex()};
    return blocks;
}

void TForm5::PaletteMouseMove(const TPaletteBlock &block, QPoint at)
{
    if (!m_press.MovedPastThreshold(at))
        return;
    try {
        // The drag shows the block's own picture at its natural size.
        const QPixmap picture = LoadAssetPixmap(QStringLiteral("Picture\\LED\\") + block.picture);
        m_drag->RunDrag(block.image, picture, m_press.Point());
    } catch (const std::exception &) {
        ShowCreateError(this);
    }
}

void TForm5::SlotDragDrop(int n, const QString &blockName)
{
    const auto found = std::find_if(m_palette.begin(), m_palette.end(), [&blockName](const TPaletteBlock &b) {
        return b.image->objectName() == blockName;
    });
    if (found == m_palette.end())
        return;
    if (found->kind == DeleteBlock) {
        EmptySlot(n);
        Q_EMIT KeptRecordChanged();
        return;
    }
    TSelector *selector = SlotSelector(n);
    selector->ClearValues();
    selector->SetItemIndex(-1);
    selector->setEnabled(true);
    try {
        ShowBlock(n, found->kind);
    } catch (const TLoadError &) {
        // The block counts even when its picture is missing, so the slot
        // never holds items of one block and the kind of another.
        SlotImage(n)->SetPicture(QPixmap());
        ShowCreateError(this);
    }
    selector->SetItemIndex(0);
    Q_EMIT KeptRecordChanged();
}

void TForm5::ShowBlock(int n, int kind)
{
    SlotKind(n) = kind;
    TSelector *selector = SlotSelector(n);
    selector->SetValues(TBlockProgramBuilder::SelectorItems(kind, n));
    selector->setEnabled(TBlockProgramBuilder::SelectorEnabled(kind));
    if (BlockKind::IsKnown(kind))
        SlotImage(n)->LoadPicture(SlotPicture(kind));
    else
        SlotImage(n)->SetPicture(QPixmap());
}

void TForm5::EmptySlot(int n)
{
    SlotImage(n)->SetPicture(QPixmap());
    SlotKind(n) = BlockKind::Empty;
    TSelector *selector = SlotSelector(n);
    selector->ClearValues();
    selector->SetItemIndex(-1);
    selector->setEnabled(false);
}

void TForm5::EmptyAllSlots()
{
    for (int n = 1; n <= BlockSlotCount; ++n)
        EmptySlot(n);
}

TBlockBuild TForm5::CheckAndBuild()
{
    TBlockBuild build = TBlockProgramBuilder::Build(Slots());
    Host().ProgramList = build.programList;
    Host().ExpandedList = build.expandedList;
    for (const QString &message : build.messages)
        QMessageBox::information(this, QString(), message);
    if (!build.ok) {
        m_errorFlag = -1;
        return build;
    }
    QStringList hint = Host().HintAreaText().split(QLatin1Char('\n'));
    hint[0] = LightCheckOkText();
    Host().SetHintAreaText(hint.join(QLatin1Char('\n')));
    return build;
}

void TForm5::Image6Click()
{
    EmptyAllSlots();
    Q_EMIT KeptRecordChanged();
}

void TForm5::Image7Click()
{
    // One transfer at a time on the wire; a press meanwhile is refused.
    if (Host().IsTransferring())
        return;
    if (!BuildUsableProgram())
        return;
    Host().Transfer(TTransferRequest::LightProgram(Host().ProgramList)); // as the check built it
    Image8->setEnabled(true);
}

bool TForm5::BuildUsableProgram()
{
    m_errorFlag = 0;
    const TBlockBuild build = CheckAndBuild();
    if (!build.anyFilled) {
        EmptyAllSlots();
        QMessageBox::information(this, QString(), TBlockProgramBuilder::EmptyProgramMessage());
        return false;
    }
    return m_errorFlag != -1;
}

void TForm5::Image8Click()
{
    if (Host().IsTransferring())
        return;
    if (Host().ProgramList.isEmpty()) {
        QMessageBox::information(this, QString(), TBlockProgramBuilder::NotTransferredMessage());
        return;
    }
    Host().SendExecute(LampCode::RunLightProgram);
}

void TForm5::Image10Click()
{
    if (!BuildUsableProgram())
        return;
    Host().OpenOver(TMainHost::PagePreview, TMainHost::PageStep3);
}

void TForm5::Image4Click()
{
    Host().ReportTextList = TBlockProgramBuilder::ReportLines(Slots());
    Host().OpenOver(TMainHost::PageReport, TMainHost::PageStep3);
}

QString TForm5::KeptLessonName() const
{
    return Step3LessonName;
}

QStringList TForm5::KeptRecordLines() const
{
    TStep3Record record;
    const TBlockSlots blocks = Slots();
    for (size_t i = 0; i < blocks.size(); ++i) {
        record.kinds[i] = blocks[i].kind;
        record.itemIndexes[i] = blocks[i].itemIndex;
    }
    return Step3RecordLines(record);
}

void TForm5::RestoreKeptRecord(const QStringList &lines)
{
    const ProgramFileText::TRecordRead<TStep3Record> read = ReadStep3Record(lines);
    if (!read.record) {
        ShowCreateError(this);
        return;
    }
    m_fileLines = lines;
    ApplyRecord(*read.record);
}

void TForm5::Image9Click()
{
    m_fileLines = KeptRecordLines();
    m_file->Save(m_fileLines);
}

void TForm5::Image5Click()
{
    const std::optional<QStringList> lines = m_file->Read();
    if (!lines)
        return;
    const ProgramFileText::TRecordRead<TStep3Record> read = ReadStep3Record(*lines);
    if (!read.record) {
        ShowCreateError(this);
        return;
    }
    m_fileLines = *lines;
    ApplyRecord(*read.record);
}

void TForm5::ApplyRecord(const TStep3Record &record)
{
    EmptyAllSlots();
    bool pictureMissing = false;
    for (int n = 1; n <= BlockSlotCount; ++n) {
        try {
            ShowBlock(n, record.kinds[static_cast<size_t>(n - 1)]);
        } catch (const TLoadError &) {
            SlotImage(n)->SetPicture(QPixmap());
            pictureMissing = true;
        }
    }
    // The selector's own rule refuses an index its items do not have.
    for (int n = 1; n <= BlockSlotCount; ++n)
        SlotSelector(n)->SetItemIndex(record.itemIndexes[static_cast<size_t>(n - 1)]);
    Q_EMIT KeptRecordChanged();
    if (pictureMissing)
        ShowCreateError(this);
}

bool TForm5::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !isVisible())
        return TPageScreen::eventFilter(watched, event);
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != window())
        return TPageScreen::eventFilter(watched, event);
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_F6:
        Image7Click();
        return true;
    case Qt::Key_F7:
        Image8Click();
        return true;
    default:
        return TPageScreen::eventFilter(watched, event);
    }
}
