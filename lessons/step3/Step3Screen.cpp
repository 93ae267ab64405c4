#include "Step3Screen.h"

#include "AssetPath.h"
#include "BlockNames.h"
#include "CommandCodes.h"
#include "Image.h"
#include "LoadError.h"
#include "MainHost.h"
#include "ProgramFile.h"
#include "Step3Record.h"
#include "Selector.h"
#include "TransferRequest.h"

#include <QBitmap>
#include <QMessageBox>

#include <algorithm>

namespace {

// The palette's delete block puts no kind into a slot: it empties it.
constexpr int DeleteBlock = -1;

struct PaletteEntry {
    const char *name;
    int kind;
    const char *picture;   // in the LED folder
    QPoint at;
    const char *hint;
};

constexpr const char *ColourHint = "光らせたい色を右の枠内にドラッグ＆ドロップして下さい";

const PaletteEntry PaletteBlocks[] = {
    {"Image67", BlockKind::Red, "led_red.bmp", {24, 85}, ColourHint},
    {"Image68", BlockKind::Green, "led_green.bmp", {80, 85}, ColourHint},
    {"Image69", BlockKind::Blue, "led_blue.bmp", {24, 136}, ColourHint},
    {"Image70", BlockKind::Yellow, "led_yellow.bmp", {80, 136}, ColourHint},
    {"Image71", BlockKind::Purple, "led_purple.bmp", {24, 187}, ColourHint},
    {"Image72", BlockKind::LightBlue, "led_lightblue.bmp", {80, 187}, ColourHint},
    {"Image73", BlockKind::White, "led_white.bmp", {24, 238}, ColourHint},
    {"Image74", BlockKind::Off, "led_off.bmp", {80, 238}, ColourHint},
    {"Image66", BlockKind::Wait, "wait.bmp", {24, 289}, "入力待ちの命令です"},
    {"Image11", DeleteBlock, "delete.bmp", {80, 289}, "削除の命令です"},
    {"Image75", BlockKind::RepeatStart, "start.bmp", {24, 367}, "繰り返し開始の命令です"},
    {"Image76", BlockKind::RepeatEnd, "end.bmp", {80, 367}, "繰り返し終了の命令です"},
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

TStep3Screen::TStep3Screen(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm5"))
    , m_file(std::make_unique<TProgramFile>(this, Step3LessonName))
{
    QFont screenFont(QStringLiteral("ＭＳ Ｐゴシック"));
    setFont(screenFont);
    CreateControls();
    ReportMissingPictures();
}

TStep3Screen::~TStep3Screen() = default;

void TStep3Screen::CreateControls()
{
    using namespace PictureLook;
    static constexpr TPictureRow<TStep3Screen> controls[] = {
        {&TStep3Screen::m_readButton, "Image5", "Picture\\BUTTON\\read.jpg", {16, 8, 90, 51},
         "読み込み|プログラムを読み込みます", &TStep3Screen::Read, Button},
        {&TStep3Screen::m_saveButton, "Image9", "Picture\\BUTTON\\save.jpg", {112, 8, 90, 51}, "保存|プログラムを保存します",
         &TStep3Screen::Save, Button},
        {&TStep3Screen::m_clearButton, "Image6", "Picture\\BUTTON\\delete.jpg", {224, 8, 90, 51},
         "全部削除|プログラムの内容をすべて削除します", &TStep3Screen::ClearAll, Button},
        {&TStep3Screen::m_previewButton, "Image10", "Picture\\BUTTON\\preview.jpg", {320, 8, 90, 51},
         "プレビュー|プログラムの内容をプレビューします", &TStep3Screen::Preview, Button},
        {&TStep3Screen::m_transferButton, "Image7", "Picture\\BUTTON\\pro_tenso.jpg", {416, 8, 90, 51},
         "転送|プログラムを転送します（接続コードを本体のコネクタに接続して下さい）", &TStep3Screen::Transfer, Button},
        {&TStep3Screen::m_runButton, "Image8", "Picture\\BUTTON\\pro_jikkou.jpg", {512, 8, 90, 51},
         "実行|プログラムを実行します（接続コードを本体のコネクタに接続して下さい）", &TStep3Screen::Run, Button},
        {&TStep3Screen::m_reportButton, "Image4", "Picture\\BUTTON\\report.jpg", {608, 8, 90, 51},
         "レポート|レポート作成画面を表示します", &TStep3Screen::Report, Button},
        {&TStep3Screen::m_colourHeading, "Image1", "Picture\\PANEL\\irositei.jpg", {24, 60, 56, 24},
         nullptr, nullptr, Stretched},
        {&TStep3Screen::m_repeatHeading, "Image2", "Picture\\PANEL\\kurikaesi.jpg", {24, 342, 72, 24},
         nullptr, nullptr, Stretched},
        {&TStep3Screen::m_slotPanel, "Image3", "Picture\\PANEL\\programpalette.jpg", {167, 72, 530, 350},
         nullptr, nullptr, Stretched},
    };
    AddPictures(controls);

    m_drag = new TDragController(this);
    m_drag->setObjectName(QStringLiteral("DragController1"));
    CreatePalette();
    CreateSlots();

    // F6 and F7 act whichever control of the screen has the focus.
    BindKey(Qt::Key_F6, &TStep3Screen::Transfer);
    BindKey(Qt::Key_F7, &TStep3Screen::Run);
}

void TStep3Screen::CreatePalette()
{
    for (size_t i = 0; i < m_palette.size(); ++i) {
        const PaletteEntry &entry = PaletteBlocks[i];
        TPaletteBlock &block = m_palette[i];
        block.kind = entry.kind;
        block.image = MakePicture(this, QString::fromLatin1(entry.name), QRect(entry.at, QSize(50, 50)), entry.hint,
                                  PictureLook::Stretched | PictureLook::OpenHand);
        block.image->setAccessibleName(entry.kind == DeleteBlock ? QStringLiteral("削除") : BlockNames::Kind(entry.kind));
        const QString picture = QStringLiteral("Picture\\LED\\") + QString::fromLatin1(entry.picture);
        Pictures().Try([&block, &picture] { block.image->SetPicture(Transparent(LoadAssetPixmap(picture))); });
        // The drag shows the block's own picture at its natural size.
        MakePaletteChip(block.image, m_drag, [picture] { return LoadAssetPixmap(picture); });
    }
}

void TStep3Screen::CreateSlots()
{
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
        // A slot is read in its place among the others, so Tab reaches it empty-handed too.
        slot->SetRole(QAccessible::Cell);
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
        connect(selector, &TSelector::Click, this, [this, n] { NameSlot(n); });
        SlotSelector(n) = selector;
        NameSlot(n);
    }
}

void TStep3Screen::NameSlot(int n)
{
    SlotImage(n)->setAccessibleName(BlockNames::Slot(n, SlotKind(n), SlotSelector(n)->SelectedText()));
    SlotSelector(n)->setAccessibleName(BlockNames::Selector(n, SlotKind(n)));
}

TBlockSlots TStep3Screen::Slots() const
{
    TBlockSlots blocks;
    for (size_t i = 0; i < blocks.size(); ++i)
        blocks[i] = {m_kinds[i], m_selectors[i]->ItemIndex()};
    return blocks;
}

void TStep3Screen::SlotDragDrop(int n, const QString &blockName)
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
    NameSlot(n);
    Q_EMIT KeptRecordChanged();
}

void TStep3Screen::ShowBlock(int n, int kind)
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

void TStep3Screen::EmptySlot(int n)
{
    SlotImage(n)->SetPicture(QPixmap());
    SlotKind(n) = BlockKind::Empty;
    TSelector *selector = SlotSelector(n);
    selector->ClearValues();
    selector->SetItemIndex(-1);
    selector->setEnabled(false);
    NameSlot(n);
}

void TStep3Screen::EmptyAllSlots()
{
    for (int n = 1; n <= BlockSlotCount; ++n)
        EmptySlot(n);
}

TBlockBuild TStep3Screen::CheckAndBuild()
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

void TStep3Screen::ClearAll()
{
    EmptyAllSlots();
    Q_EMIT KeptRecordChanged();
}

void TStep3Screen::Transfer()
{
    // One transfer at a time on the wire; a press meanwhile is refused.
    if (Host().IsTransferring())
        return;
    if (!BuildUsableProgram())
        return;
    Host().Transfer(TTransferRequest::LightProgram(Host().ProgramList)); // as the check built it
    m_runButton->setEnabled(true);
}

bool TStep3Screen::BuildUsableProgram()
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

void TStep3Screen::Run()
{
    if (Host().IsTransferring())
        return;
    if (Host().ProgramList.isEmpty()) {
        QMessageBox::information(this, QString(), LightNotTransferredText());
        return;
    }
    Host().SendExecute(LampCode::RunLightProgram);
}

void TStep3Screen::Preview()
{
    if (!BuildUsableProgram())
        return;
    Host().OpenOver(TMainHost::PagePreview, TMainHost::PageStep3);
}

void TStep3Screen::Report()
{
    Host().ReportTextList = TBlockProgramBuilder::ReportLines(Slots());
    Host().OpenOver(TMainHost::PageReport, TMainHost::PageStep3);
}

QString TStep3Screen::KeptLessonName() const
{
    return Step3LessonName;
}

QStringList TStep3Screen::KeptRecordLines() const
{
    TStep3Record record;
    const TBlockSlots blocks = Slots();
    for (size_t i = 0; i < blocks.size(); ++i) {
        record.kinds[i] = blocks[i].kind;
        record.itemIndexes[i] = blocks[i].itemIndex;
    }
    return Step3RecordLines(record);
}

void TStep3Screen::RestoreKeptRecord(const QStringList &lines)
{
    const ProgramFileText::TRecordRead<TStep3Record> read = ReadStep3Record(lines);
    if (!read.record) {
        ShowCreateError(this);
        return;
    }
    m_fileLines = lines;
    ApplyRecord(*read.record);
}

void TStep3Screen::Save()
{
    m_fileLines = KeptRecordLines();
    m_file->Save(m_fileLines);
}

void TStep3Screen::Read()
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

void TStep3Screen::ApplyRecord(const TStep3Record &record)
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
    for (int n = 1; n <= BlockSlotCount; ++n) {
        SlotSelector(n)->SetItemIndex(record.itemIndexes[static_cast<size_t>(n - 1)]);
        NameSlot(n);
    }
    Q_EMIT KeptRecordChanged();
    if (pictureMissing)
        ShowCreateError(this);
}
