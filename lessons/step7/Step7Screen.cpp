#include "Step7Screen.h"

#include "AssetPath.h"
#include "BlockNames.h"
#include "DragController.h"
#include "HeldInput.h"
#include "Image.h"
#include "KeyboardLayout.h"
#include "LengthChoice.h"
#include "MainHost.h"
#include "MelodyColours.h"
#include "NoteCode.h"
#include "NoteLetters.h"
#include "NoteNames.h"
#include "NoteStaff.h"
#include "SoundPlayer.h"
#include "TransferRequest.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>

namespace {

constexpr QPoint KeyboardOrigin{8, 212};
constexpr int RestKeyGap = 8;
constexpr int MarkerWidth = 15;
constexpr int MarkerHeight = 5;
constexpr int StaffLeft = 34;
constexpr int StaffTop = 4;

constexpr const char *KeyHint = "鍵盤を押すとプログラムを追加します";
constexpr const char *PaletteHint = "光らせたい色を右の枠内にドラッグ＆ドロップして下さい";
constexpr const char *LedHint = "音符に色を割り当てる場合、ＯＮを選択して下さい";

QRect KeyRect(int keyIndex)
{
    if (keyIndex == NoteLetters::KeyCount - 1) {
        const QRect highDo = KeyboardLayout::KeyRect(KeyboardOrigin, 12);
        return QRect(QPoint(highDo.right() + 1 + RestKeyGap, highDo.top()), KeyboardLayout::WhiteKey);
    }
    return KeyboardLayout::KeyRect(KeyboardOrigin, keyIndex);
}

// The rest key looks like a white key.
bool IsBlackKey(int keyIndex)
{
    return keyIndex < 13 && KeyboardLayout::IsBlack(keyIndex);
}

QString ColourName(int code)
{
    // The palette runs in the lamp's colour order, red to off.
    const auto &palette = MelodyColours::Palette();
    for (size_t i = 0; i < palette.size(); ++i) {
        if (palette.at(i).code == code)
            return BlockNames::Colour(static_cast<LampCode::Colour>(i));
    }
    return {};
}

void Inform(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, QString(), text);
}

} // namespace

TStep7Screen::TStep7Screen(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm6")), m_files(this, Step7LessonName)
{
    m_player = new TSoundPlayer(this);
    m_drag = new TDragController(this);
    CreateControls();
    FormCreate();
}

TStep7Screen::~TStep7Screen()
{
    if (m_fontId >= 0)
        QFontDatabase::removeApplicationFont(m_fontId);
}

void TStep7Screen::CreateControls()
{
    CreateNotesPage();
    CreatePalettePage();
    CreateKeys();

    using namespace PictureLook;
    static constexpr TPictureRow<TStep7Screen> buttons[] = {
        {nullptr, "Image15", "Picture\\BUTTON\\read.jpg", {424, 206, 90, 51}, "読み込み|プログラムを読み込みます",
         &TStep7Screen::Read, Stretched | Pressable},
        {nullptr, "Image20", "Picture\\BUTTON\\save.jpg", {522, 206, 90, 51}, "保存|プログラムを保存します",
         &TStep7Screen::Save, Stretched | Pressable},
        {nullptr, "Image16", "Picture\\BUTTON\\play.jpg", {620, 206, 90, 51}, "再生|プログラムした音を再生します",
         &TStep7Screen::Play, Stretched | Pressable},
        {nullptr, "Image47", "Picture\\BUTTON\\delete_1.jpg", {424, 262, 90, 51},
         "1つ削除|音を１つ削除します。削除したい音にカーソルを合わせて下さい", &TStep7Screen::DeleteOne, Stretched | Pressable},
        {nullptr, "Image17", "Picture\\BUTTON\\delete.jpg", {522, 262, 90, 51}, "すべて削除|プログラムした内容をすべて削除します",
         &TStep7Screen::DeleteAll, Stretched | Pressable},
        {nullptr, "Image18", "Picture\\BUTTON\\pro_tenso.jpg", {424, 318, 90, 51},
         "転送|プログラムを転送します（接続コードを本体のコネクタに接続して下さい）", &TStep7Screen::Transfer,
         Stretched | Pressable},
        {nullptr, "Image19", "Picture\\BUTTON\\pro_jikkou.jpg", {522, 318, 90, 51},
         "実行|プログラムを実行します（接続コードを本体のコネクタに接続して下さい）", &TStep7Screen::Run,
         Stretched | Pressable},
        {&TStep7Screen::m_changeColours, "Image43", "Picture\\BUTTON\\ledlinkgamen.jpg", {620, 318, 90, 51},
         "色の変更|音符に割り当てた色情報を変更します", &TStep7Screen::ChangeColours, Stretched | Pressable | Hidden},
    };
    AddPictures(buttons);

    m_count = new QLabel(QStringLiteral("0"), this);
    m_count->setObjectName(QStringLiteral("Label1"));
    m_count->setGeometry(424, 376, 288, 22);

    m_lengths = new TLengthChoice(this, QStringLiteral("Picture\\PANEL\\otononagasa1.jpg"));
    m_lengths->move(8, 360);

    CreateLedChoice();

    SetTabOrder();

    BindKey(Qt::Key_Return, &TStep7Screen::Play);
    BindKey(Qt::Key_Enter, &TStep7Screen::Play);
    BindKey(Qt::Key_F6, &TStep7Screen::Transfer);
    BindKey(Qt::Key_F7, &TStep7Screen::Run);
}

void TStep7Screen::CreateNotesPage()
{
    // The two pages of the upper area.
    m_notesPage = new QWidget(this);
    m_notesPage->setObjectName(QStringLiteral("NotesPage"));
    m_notesPage->setGeometry(0, 0, 720, 200);
    m_palettePage = new QWidget(this);
    m_palettePage->setObjectName(QStringLiteral("PalettePage"));
    m_palettePage->setGeometry(0, 0, 720, 200);
    m_palettePage->hide();

    m_clef = new QWidget(m_notesPage);
    m_clef->setObjectName(QStringLiteral("ClefColumn"));
    m_clef->setGeometry(4, StaffTop, 28, 3 * TNoteStaff::LineHeight);
    for (int line = 0; line < 3; ++line) {
        auto *clef = new QLabel(QStringLiteral("@"), m_clef);
        clef->setObjectName(QStringLiteral("Clef%1").arg(line + 1));
        clef->setGeometry(0, line * TNoteStaff::LineHeight, 28, 56);
        clef->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    m_staff = new TNoteStaff(m_notesPage);
    m_staff->move(StaffLeft, StaffTop);
    connect(m_staff, &TNoteStaff::Clicked, this, &TStep7Screen::StaffClick);
    CreateMarkers();
}

void TStep7Screen::CreateMarkers()
{
    for (int line = 0; line < 3; ++line) {
        auto *row = new QWidget(m_notesPage);
        row->setObjectName(QStringLiteral("MarkerRow%1").arg(line + 1));
        row->setGeometry(StaffLeft, StaffTop + line * TNoteStaff::LineHeight + 52,
                         TNoteStaff::PerLine * TNoteStaff::GlyphWidth, MarkerHeight);
        row->hide();
        m_markerRows[static_cast<size_t>(line)] = row;
    }
    for (int p = 0; p < TMelodyText::Capacity; ++p) {
        auto *marker = new QFrame(m_markerRows[static_cast<size_t>(p / TNoteStaff::PerLine)]);
        marker->setObjectName(QStringLiteral("Marker%1").arg(p + 1));
        marker->setGeometry((p % TNoteStaff::PerLine) * TNoteStaff::GlyphWidth + (TNoteStaff::GlyphWidth - MarkerWidth) / 2,
                            0, MarkerWidth, MarkerHeight);
        marker->setAutoFillBackground(true);
        marker->hide();
        m_markers[static_cast<size_t>(p)] = marker;
    }
}

void TStep7Screen::CreatePalettePage()
{
    auto *paletteTitle = new QLabel(QStringLiteral("LEDの設定"), m_palettePage);
    paletteTitle->setObjectName(QStringLiteral("Label3"));
    paletteTitle->setGeometry(16, 8, 300, 28);
    QFont titleFont = paletteTitle->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    paletteTitle->setFont(titleFont);
    auto *instruction = new QLabel(QStringLiteral("光らせたい色を鍵盤にドラッグ＆ドロップしてください"), m_palettePage);
    instruction->setObjectName(QStringLiteral("Label4"));
    instruction->setGeometry(16, 40, 600, 22);
    instruction->setStyleSheet(QStringLiteral("color: gray;"));
    for (size_t i = 0; i < m_palette.size(); ++i) {
        TImage *chip = MakePicture(m_palettePage, QStringLiteral("Image%1").arg(67 + i),
                                   QRect(31 + 84 * static_cast<int>(i), 83, 50, 50), PaletteHint, PictureLook::Stretched);
        Pictures().Load(chip, QString::fromLatin1(MelodyColours::Palette()[i].palettePicture));
        chip->setAccessibleName(BlockNames::Colour(static_cast<LampCode::Colour>(i)));
        MakePaletteChip(chip, m_drag);
        m_palette[i] = chip;
    }
    static constexpr TPictureRow<TStep7Screen> back[] = {
        {nullptr, "Image39", "Picture\\BUTTON\\onpuback.jpg", {600, 152, 104, 40}, "音符に戻る|音符入力画面に戻ります",
         &TStep7Screen::BackToNotes, PictureLook::Stretched | PictureLook::Pressable},
    };
    AddPictures(back, m_palettePage);
}

void TStep7Screen::CreateKeys()
{
    // Keys: white ones first, so the black ones lie above them.
    for (const bool black : {false, true}) {
        for (int key = 0; key < KeyCount; ++key) {
            if (IsBlackKey(key) != black)
                continue;
            TImage *image = MakePicture(this, QStringLiteral("Image%1").arg(key + 1), KeyRect(key), KeyHint,
                                        PictureLook::Stretched);
            image->SetRole(QAccessible::Button);
            connect(image, &TImage::Click, this, [this, key] { KeyPress(key + 1); });
            // The name covers the whole key and lets its colour show through.
            TImage *name = MakePicture(image, QStringLiteral("Image%1Name").arg(key + 1), image->rect(), nullptr,
                                       PictureLook::Stretched);
            name->SetIgnoresMouse(true);
            Pictures().Try([name, key] { name->SetPicture(KeyboardLayout::NoteNamePixmap(key)); });
            m_keys[static_cast<size_t>(key)] = image;
            m_drag->AcceptDropsOn(image, [](const QString &) { return true; },
                                  [this, key](const QString &source, QPoint) {
                                      for (int i = 0; i < 8; ++i)
                                          if (m_palette[static_cast<size_t>(i)]->objectName() == source)
                                              DropColour(key + 1, i);
                                  });
        }
    }
}

void TStep7Screen::CreateLedChoice()
{
    auto *ledGroup = new QWidget(this);
    ledGroup->setObjectName(QStringLiteral("RadioGroup2"));
    ledGroup->setGeometry(236, 360, 180, 68);
    Pictures().Load(MakePicture(ledGroup, QStringLiteral("LedTitle"), QRect(0, 0, 180, 18), LedHint,
                                PictureLook::Stretched),
                    QStringLiteral("Picture\\BUTTON\\ledlink.jpg"));
    auto *modes = new QButtonGroup(this);
    const QString texts[2] = {QStringLiteral("LEDあり"), QStringLiteral("LEDなし")};
    const QString pictures[2] = {QStringLiteral("Picture\\BUTTON\\on.jpg"), QStringLiteral("Picture\\BUTTON\\off.jpg")};
    for (int i = 0; i < 2; ++i) {
        auto *option = new QRadioButton(texts[i], ledGroup);
        option->setObjectName(QStringLiteral("RadioButton%1").arg(4 + i));
        option->setGeometry(4 + 90 * i, 20, 86, 18);
        option->setStatusTip(QString::fromUtf8(LedHint));
        modes->addButton(option, i);
        TImage *picture = MakePicture(ledGroup, QStringLiteral("LedPicture%1").arg(i + 1),
                                      QRect(4 + 90 * i, 40, 80, 26), LedHint, PictureLook::Stretched);
        Pictures().Load(picture, pictures[i]);
        connect(picture, &TImage::Click, option, [option] { option->click(); });
        (i == 0 ? m_ledOn : m_ledOff) = option;
    }
    m_ledOff->setChecked(true);
    connect(m_ledOn, &QRadioButton::toggled, this, [this](bool on) { SetLedMode(on); });
}

void TStep7Screen::FormCreate()
{
    LoadKeyPictures();
    m_lengths->LoadPictures(Pictures());
    // Without its pictures or the note font the screen still works; the
    // teacher is told once that the installation is incomplete.
    if (!RegisterNoteFont())
        Pictures().NoteFailure();
    ReportMissingPictures();
    m_melody.Clear();
    ShowNotes();
    QList<int> codes;
    for (int length = 0; length < NoteLetters::LengthCount; ++length)
        for (int key = 0; key < KeyCount; ++key)
            codes.append(NoteCode::For(length, key));
    m_player->Preload(codes);
}

bool TStep7Screen::RegisterNoteFont()
{
    const QString fontFile = ResolveAsset(QStringLiteral("Note.TTF"));
    m_fontId = fontFile.isEmpty() ? -1 : QFontDatabase::addApplicationFont(fontFile);
    QFont noteFont(QStringLiteral("KiraNote"));
    noteFont.setPixelSize(49);
    m_staff->SetNoteFont(noteFont);
    for (QLabel *clef : m_clef->findChildren<QLabel *>())
        clef->setFont(noteFont);
    return m_fontId >= 0;
}

void TStep7Screen::LoadKeyPicture(int keyIndex)
{
    const auto &colour = MelodyColours::ForCode(m_colours[static_cast<size_t>(keyIndex)]);
    TImage *key = m_keys[static_cast<size_t>(keyIndex)];
    Pictures().Load(key, QString::fromLatin1(IsBlackKey(keyIndex) ? colour.blackKeyPicture : colour.whiteKeyPicture));
    // The key says its colour as its picture shows it.
    const QString note = NoteNames::Spoken(keyIndex);
    const QString colourName = ColourName(m_colours[static_cast<size_t>(keyIndex)]);
    key->setAccessibleName(colourName.isEmpty() ? note : note + QStringLiteral(": ") + colourName);
}

void TStep7Screen::LoadKeyPictures()
{
    for (int key = 0; key < KeyCount; ++key)
        LoadKeyPicture(key);
}

bool TStep7Screen::Busy() const
{
    return m_playing || const_cast<TStep7Screen *>(this)->Host().IsTransferring();
}

void TStep7Screen::ShowNotes()
{
    m_staff->SetText(m_melody.Text());
    m_staff->SetCaret(m_melody.Cursor());
}

void TStep7Screen::ShowCount()
{
    m_count->setText(QStringLiteral("総命令数　%1個").arg(m_melody.Count()));
}

void TStep7Screen::KeyPress(int keyNumber)
{
    if (m_playing)
        return;
    if (m_melody.IsFull()) {
        Inform(this, QStringLiteral("これ以上命令を追加できません。"));
        return;
    }
    const int length = m_lengths->LengthIndex();
    m_noteCode = NoteCode::For(length, keyNumber - 1);
    m_melody.Insert(NoteLetters::LetterFor(length, keyNumber - 1));
    ShowNotes();
    if (m_ledMode)
        RefreshMarkers();
    ShowCount();
    Q_EMIT KeptRecordChanged();
    m_player->PlayInBackground(m_noteCode);
}

void TStep7Screen::StaffClick(int position)
{
    m_melody.MoveCursor(position);
    m_staff->SetCaret(m_melody.Cursor());
}

void TStep7Screen::DeleteOne()
{
    if (m_playing)
        return;
    if (!m_melody.DeleteBeforeCursor()) {
        Inform(this, QStringLiteral("削除する命令がありません。"));
        return;
    }
    ShowNotes();
    ShowCount();
    RefreshMarkers();
    Q_EMIT KeptRecordChanged();
}

void TStep7Screen::DeleteAll()
{
    if (Busy())
        return;
    Host().ProgramList.clear();
    m_fileLines.clear();
    m_melody.Clear();
    ShowNotes();
    m_count->setText(QStringLiteral("0"));
    for (QFrame *marker : m_markers)
        marker->hide();
    Q_EMIT KeptRecordChanged();
}

void TStep7Screen::Play()
{
    if (m_playing)
        return;
    const QList<int> codes = m_melody.NoteCodes();
    if (codes.isEmpty()) {
        Inform(this, QStringLiteral("再生する命令がありません\n命令を入力して下さい"));
        return;
    }
    m_playing = true;
    for (const int code : codes)
        m_player->PlayToEnd(code);
    // Clicks and keys made during the melody were held back by the playback;
    // they are delivered now, while the screen still counts as playing, so
    // they are dropped instead of acting on the screen after the last note.
    DropHeldInput(this);
    m_playing = false;
}

void TStep7Screen::Transfer()
{
    if (Busy())
        return;
    const QList<int> codes = m_melody.NoteCodes();
    if (codes.isEmpty()) {
        Inform(this, QStringLiteral("命令がありません。音を入力して下さい"));
        return;
    }
    const QStringList lights = m_ledMode ? MelodyProgram::LightList(m_colours) : QStringList();
    Host().Transfer(TTransferRequest::LightAndSound(MelodyProgram::SoundList(codes), lights));
}

void TStep7Screen::Run()
{
    if (Busy())
        return;
    if (Host().ProgramList.isEmpty()) {
        Inform(this, QStringLiteral("プログラムが転送されてません\nプログラムを転送してください"));
        return;
    }
    Host().SendExecute(m_ledMode ? LampCode::RunLightAndSound : LampCode::RunSoundOnly);
}

void TStep7Screen::SetLedMode(bool on)
{
    if (m_ledOn->isChecked() != on)
        (on ? m_ledOn : m_ledOff)->setChecked(true);  // comes back here through toggled
    if (on == m_ledMode)
        return;
    m_ledMode = on;
    m_colours.fill(on ? MelodyColours::Off : MelodyColours::None);
    LoadKeyPictures();
    ReportMissingPictures();
    SetMarkerRowsVisible(on);
    if (on) {
        ShowPalettePage();
    } else {
        ShowNotesPage();
    }
    m_changeColours->setVisible(on);
    Q_EMIT KeptRecordChanged();
}

void TStep7Screen::DropColour(int keyNumber, int paletteIndex)
{
    const int key = keyNumber - 1;
    m_colours[static_cast<size_t>(key)] = MelodyColours::Palette().at(static_cast<size_t>(paletteIndex)).code;
    Q_EMIT KeptRecordChanged();
    LoadKeyPicture(key);
    ReportMissingPictures();
}

void TStep7Screen::RefreshMarkers()
{
    for (int p = 0; p < TMelodyText::Capacity; ++p) {
        QFrame *marker = m_markers[static_cast<size_t>(p)];
        const auto key = p < m_melody.Count() ? NoteLetters::KeyIndexOf(m_melody.Text().at(p)) : std::nullopt;
        if (!key) {
            marker->hide();
            continue;
        }
        QPalette pal = marker->palette();
        pal.setColor(QPalette::Window, QColor(MelodyColours::ForCode(m_colours[static_cast<size_t>(*key)]).marker));
        marker->setPalette(pal);
        marker->show();
    }
}

void TStep7Screen::SetMarkerRowsVisible(bool visible)
{
    for (QWidget *row : m_markerRows)
        row->setVisible(visible);
}

void TStep7Screen::SetTabOrder()
{
    // Reading order: the upper area, the keys low to high, the choices under
    // them, then the buttons row by row.
    QList<QWidget *> order(m_palette.begin(), m_palette.end());
    order << findChild<TImage *>(QStringLiteral("Image39"));
    order.append(QList<QWidget *>(m_keys.begin(), m_keys.end()));
    for (QRadioButton *length : m_lengths->findChildren<QRadioButton *>())
        order << length;
    order << m_ledOn << m_ledOff;
    for (const char *button : {"Image15", "Image20", "Image16", "Image47", "Image17", "Image18", "Image19", "Image43"})
        order << findChild<TImage *>(QString::fromLatin1(button));
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

bool TStep7Screen::HasKeyboard() const
{
    const QWidget *control = window()->focusWidget();
    return control && isAncestorOf(control);
}

void TStep7Screen::ShowNotesPage()
{
    // The keyboard must not stay on a palette that is gone.
    const bool paletteHadKeyboard = m_palettePage->isAncestorOf(window()->focusWidget());
    m_palettePage->hide();
    m_notesPage->show();
    if (paletteHadKeyboard)
        m_keys.front()->setFocus();
}

void TStep7Screen::ShowPalettePage()
{
    const bool keyboard = HasKeyboard();
    m_notesPage->hide();
    m_palettePage->show();
    // The palette is what the pupil asked for: the keyboard goes to its first colour.
    if (keyboard)
        m_palette.front()->setFocus();
}

bool TStep7Screen::PalettePageShown() const
{
    return !m_palettePage->isHidden();
}

void TStep7Screen::ChangeColours()
{
    ShowPalettePage();
}

void TStep7Screen::BackToNotes()
{
    RefreshMarkers();
    ShowNotesPage();
}

QStringList TStep7Screen::RecordLines() const
{
    return Step7RecordLines({m_melody.Text(), m_ledMode, m_colours});
}

void TStep7Screen::ApplyRecord(const TStep7Record &record)
{
    // Letters that are no notes are dropped and the text fitted to the
    // staff, so the count never reaches past the line.
    m_melody.Load(record.noteText);
    ShowNotes();
    ShowCount();
    ShowNotesPage();
    SetMarkerRowsVisible(false);
    if (!record.ledOn) {
        // A melody saved without light reads back without light, so the
        // screen shows what was saved and not colours left from before.
        SetLedMode(false);
    } else {
        SetLedMode(true);
        ShowNotesPage();
        m_changeColours->show();
        m_colours = record.colours;
        LoadKeyPictures();
        ReportMissingPictures();
        RefreshMarkers();
        SetMarkerRowsVisible(true);
    }
    Q_EMIT KeptRecordChanged();
}

QString TStep7Screen::KeptLessonName() const
{
    return Step7LessonName;
}

QStringList TStep7Screen::KeptRecordLines() const
{
    return RecordLines();
}

void TStep7Screen::RestoreKeptRecord(const QStringList &lines)
{
    if (const std::optional<TStep7Record> record = RecordOrComplaint(ReadStep7Record(lines)))
        ApplyRecord(*record);
}

void TStep7Screen::Read()
{
    if (Busy())
        return;
    const std::optional<QStringList> lines = m_files.Read();
    if (!lines)
        return;
    const std::optional<TStep7Record> record = RecordOrComplaint(ReadStep7Record(*lines));
    if (!record)
        return;
    m_fileLines = *lines;
    ApplyRecord(*record);
}

void TStep7Screen::Save()
{
    if (m_playing)
        return;
    m_files.Save(RecordLines());
}
