#include "Unit6.h"

#include "AssetPath.h"
#include "DragController.h"
#include "Image.h"
#include "KeyboardLayout.h"
#include "LengthChoice.h"
#include "MainHost.h"
#include "MelodyColours.h"
#include "NoteCode.h"
#include "NoteLetters.h"
#include "NoteStaff.h"
#include "SoundPlayer.h"
#include "TransferRequest.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFontDatabase>
#include <QFrame>
#include <QKeyEvent>
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

const QString KeyHint = QStringLiteral("鍵盤を押すとプログラムを追加します");
const QString PaletteHint = QStringLiteral("光らせたい色を右の枠内にドラッグ＆ドロップして下さい");
const QString LedHint = QStringLiteral("音符に色を割り当てる場合、ＯＮを選択して下さい");

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

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

void Inform(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, QString(), text);
}

} // namespace

TForm6::TForm6(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm6")), m_files(this, Step7LessonName)
{
    m_player = new TSoundPlayer(this);
    m_drag = new TDragController(this);
    CreateControls();
    FormCreate();
}

TForm6::~TForm6()
{
    qApp->removeEventFilter(this);
    if (m_fontId >= 0)
        QFontDatabase::removeApplicationFont(m_fontId);
}

void TForm6::CreateControls()
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
    connect(m_staff, &TNoteStaff::Clicked, this, &TForm6::StaffClick);

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
    for (int i = 0; i < 8; ++i) {
        auto *chip = new TImage(m_palettePage, QStringLiteral("Image%1").arg(67 + i));
        chip->setGeometry(31 + 84 * i, 83, 50, 50);
        chip->SetStretch(true);
        chip->SetHint(PaletteHint);
        connect(chip, &TImage::MouseDown, this, [this, i](Qt::MouseButton button, QPoint at) {
            if (button == Qt::LeftButton) {
                m_pressedPalette = i;
                m_pressPoint = at;
            }
        });
        connect(chip, &TImage::MouseMove, this, [this, i](Qt::MouseButtons buttons, QPoint at) {
            if (m_pressedPalette != i || !(buttons & Qt::LeftButton))
                return;
            const QPoint moved = at - m_pressPoint;
            const int threshold = QApplication::startDragDistance();
            if (std::abs(moved.x()) > threshold || std::abs(moved.y()) > threshold)
                StartPaletteDrag(i);
        });
        connect(chip, &TImage::MouseUp, this, [this](Qt::MouseButton button, QPoint) {
            if (button == Qt::LeftButton)
                m_pressedPalette = -1;
        });
        m_palette[static_cast<size_t>(i)] = chip;
    }
    auto *back = new TImage(m_palettePage, QStringLiteral("Image39"));
    back->setGeometry(600, 152, 104, 40);
    back->SetStretch(true);
    back->SetPressedLook(true);
    back->SetHint(QStringLiteral("音符入力画面に戻ります"));
    connect(back, &TImage::Click, this, &TForm6::Image39Click);

    // Keys: white ones first, so the black ones lie above them.
    for (const bool black : {false, true}) {
        for (int key = 0; key < KeyCount; ++key) {
            if (IsBlackKey(key) != black)
                continue;
            auto *image = new TImage(this, QStringLiteral("Image%1").arg(key + 1));
            image->setGeometry(KeyRect(key));
            image->SetStretch(true);
            image->SetHint(KeyHint);
            connect(image, &TImage::Click, this, [this, key] { KeyPress(key + 1); });
            auto *name = new TImage(image, QStringLiteral("Image%1Name").arg(key + 1));
            name->SetIgnoresMouse(true);
            m_keys[static_cast<size_t>(key)] = image;
            m_drag->AcceptDropsOn(image, [](const QString &) { return true; },
                                  [this, key](const QString &source, QPoint) {
                                      for (int i = 0; i < 8; ++i)
                                          if (m_palette[static_cast<size_t>(i)]->objectName() == source)
                                              DropColour(key + 1, i);
                                  });
        }
    }

    const struct {
        int number;
        QRect at;
        const char *hint;
        void (TForm6::*handler)();
    } buttons[] = {
        {15, QRect(424, 206, 90, 51), "プログラムを読み込みます", &TForm6::Image15Click},
        {20, QRect(522, 206, 90, 51), "プログラムを保存します", &TForm6::Image20Click},
        {16, QRect(620, 206, 90, 51), "プログラムした音を再生します", &TForm6::Image16Click},
        {47, QRect(424, 262, 90, 51), "音を１つ削除します。削除したい音にカーソルを合わせて下さい",
         &TForm6::Image47Click},
        {17, QRect(522, 262, 90, 51), "プログラムした内容をすべて削除します", &TForm6::Image17Click},
        {18, QRect(424, 318, 90, 51), "プログラムを転送します（接続コードを本体のコネクタに接続して下さい）",
         &TForm6::Image18Click},
        {19, QRect(522, 318, 90, 51), "プログラムを実行します（接続コードを本体のコネクタに接続して下さい）",
         &TForm6::Image19Click},
        {43, QRect(620, 318, 90, 51), "音符に割り当てた色情報を変更します", &TForm6::Image43Click},
    };
    for (const auto &button : buttons) {
        auto *image = new TImage(this, QStringLiteral("Image%1").arg(button.number));
        image->setGeometry(button.at);
        image->SetStretch(true);
        image->SetPressedLook(true);
        image->SetHint(QString::fromUtf8(button.hint));
        connect(image, &TImage::Click, this, button.handler);
        if (button.number == 43)
            m_changeColours = image;
    }
    m_changeColours->hide();

    m_count = new QLabel(QStringLiteral("0"), this);
    m_count->setObjectName(QStringLiteral("Label1"));
    m_count->setGeometry(424, 376, 288, 22);

    m_lengths = new TLengthChoice(this, QStringLiteral("Picture\\PANEL\\otononagasa1.jpg"));
    m_lengths->move(8, 360);

    auto *ledGroup = new QWidget(this);
    ledGroup->setObjectName(QStringLiteral("RadioGroup2"));
    ledGroup->setGeometry(236, 360, 180, 68);
    auto *ledTitle = new TImage(ledGroup, QStringLiteral("LedTitle"));
    ledTitle->setGeometry(0, 0, 180, 18);
    ledTitle->SetStretch(true);
    ledTitle->SetHint(LedHint);
    auto *modes = new QButtonGroup(this);
    const QString texts[2] = {QStringLiteral("LEDあり"), QStringLiteral("LEDなし")};
    for (int i = 0; i < 2; ++i) {
        auto *option = new QRadioButton(texts[i], ledGroup);
        option->setObjectName(QStringLiteral("RadioButton%1").arg(4 + i));
        option->setGeometry(4 + 90 * i, 20, 86, 18);
        option->setStatusTip(LedHint);
        modes->addButton(option, i);
        auto *picture = new TImage(ledGroup, QStringLiteral("LedPicture%1").arg(i + 1));
        picture->setGeometry(4 + 90 * i, 40, 80, 26);
        picture->SetStretch(true);
        picture->SetHint(LedHint);
        connect(picture, &TImage::Click, option, [option] { option->click(); });
        (i == 0 ? m_ledOn : m_ledOff) = option;
    }
    m_ledOff->setChecked(true);
    connect(m_ledOn, &QRadioButton::toggled, this, [this](bool on) { SetLedMode(on); });
}

void TForm6::FormCreate()
{
    bool complete = false;
    try {
        for (int key = 0; key < KeyCount; ++key) {
            LoadKeyPicture(key);
            TImage *key_ = m_keys[static_cast<size_t>(key)];
            auto *name = key_->findChild<TImage *>(QStringLiteral("Image%1Name").arg(key + 1));
            // The name covers the whole key and lets its colour show through.
            name->SetPicture(KeyboardLayout::NoteNamePixmap(key));
            name->SetStretch(true);
            name->setGeometry(key_->rect());
        }
        const struct {
            int number;
            const char *picture;
        } pictures[] = {
            {15, "Picture\\BUTTON\\read.jpg"},       {20, "Picture\\BUTTON\\save.jpg"},
            {16, "Picture\\BUTTON\\play.jpg"},       {47, "Picture\\BUTTON\\delete_1.jpg"},
            {17, "Picture\\BUTTON\\delete.jpg"},     {18, "Picture\\BUTTON\\pro_tenso.jpg"},
            {19, "Picture\\BUTTON\\pro_jikkou.jpg"}, {43, "Picture\\BUTTON\\ledlinkgamen.jpg"},
            {39, "Picture\\BUTTON\\onpuback.jpg"},
        };
        for (const auto &picture : pictures)
            findChild<TImage *>(QStringLiteral("Image%1").arg(picture.number))
                ->LoadPicture(QString::fromLatin1(picture.picture));
        m_lengths->LoadPictures();
        findChild<TImage *>(QStringLiteral("LedTitle"))->LoadPicture(QStringLiteral("Picture\\BUTTON\\ledlink.jpg"));
        findChild<TImage *>(QStringLiteral("LedPicture1"))->LoadPicture(QStringLiteral("Picture\\BUTTON\\on.jpg"));
        findChild<TImage *>(QStringLiteral("LedPicture2"))->LoadPicture(QStringLiteral("Picture\\BUTTON\\off.jpg"));
        for (size_t i = 0; i < m_palette.size(); ++i)
            m_palette[i]->LoadPicture(QString::fromLatin1(MelodyColours::Palette()[i].palettePicture));

        complete = true;
    } catch (const std::exception &) {
    }
    // Without its pictures or the note font the screen still works; the
    // teacher is told once that the installation is incomplete.
    if (!RegisterNoteFont() || !complete)
        ShowCreateError(this);
    qApp->installEventFilter(this);
    m_melody.Clear();
    ShowNotes();
    QList<int> codes;
    for (int length = 0; length < NoteLetters::LengthCount; ++length)
        for (int key = 0; key < KeyCount; ++key)
            codes.append(NoteCode::For(length, key));
    m_player->Preload(codes);
}

bool TForm6::RegisterNoteFont()
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

void TForm6::LoadKeyPicture(int keyIndex)
{
    const auto &colour = MelodyColours::ForCode(m_colours[static_cast<size_t>(keyIndex)]);
    m_keys[static_cast<size_t>(keyIndex)]->LoadPicture(
        QString::fromLatin1(IsBlackKey(keyIndex) ? colour.blackKeyPicture : colour.whiteKeyPicture));
}

bool TForm6::Busy() const
{
    return m_playing || const_cast<TForm6 *>(this)->Host().IsTransferring();
}

void TForm6::ShowNotes()
{
    m_staff->SetText(m_melody.Text());
    m_staff->SetCaret(m_melody.Cursor());
}

void TForm6::ShowCount()
{
    m_count->setText(QStringLiteral("総命令数　%1個").arg(m_melody.Count()));
}

void TForm6::KeyPress(int keyNumber)
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

void TForm6::StaffClick(int position)
{
    m_melody.MoveCursor(position);
    m_staff->SetCaret(m_melody.Cursor());
}

void TForm6::Image47Click()
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

void TForm6::Image17Click()
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

void TForm6::Image16Click()
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
    QCoreApplication::processEvents();
    m_playing = false;
}

void TForm6::Image18Click()
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

void TForm6::Image19Click()
{
    if (Busy())
        return;
    if (Host().ProgramList.isEmpty()) {
        Inform(this, QStringLiteral("プログラムが転送されてません\nプログラムを転送してください"));
        return;
    }
    Host().SendExecute(m_ledMode ? LampCode::RunLightAndSound : LampCode::RunSoundOnly);
}

void TForm6::SetLedMode(bool on)
{
    if (m_ledOn->isChecked() != on)
        (on ? m_ledOn : m_ledOff)->setChecked(true);  // comes back here through toggled
    if (on == m_ledMode)
        return;
    m_ledMode = on;
    m_colours.fill(on ? MelodyColours::Off : MelodyColours::None);
    try {
        for (int key = 0; key < KeyCount; ++key)
            LoadKeyPicture(key);
    } catch (const std::exception &) {
        ShowCreateError(this);
    }
    SetMarkerRowsVisible(on);
    if (on) {
        ShowPalettePage();
    } else {
        ShowNotesPage();
    }
    m_changeColours->setVisible(on);
    Q_EMIT KeptRecordChanged();
}

void TForm6::DropColour(int keyNumber, int paletteIndex)
{
    const int key = keyNumber - 1;
    m_colours[static_cast<size_t>(key)] = MelodyColours::Palette().at(static_cast<size_t>(paletteIndex)).code;
    Q_EMIT KeptRecordChanged();
    try {
        LoadKeyPicture(key);
    } catch (const std::exception &) {
        ShowCreateError(this);
    }
}

void TForm6::StartPaletteDrag(int paletteIndex)
{
    m_pressedPalette = -1;
    TImage *chip = m_palette[static_cast<size_t>(paletteIndex)];
    try {
        // The chip already holds its palette picture.
        m_drag->SetDragImage(chip->pixmap(), Qt::white, m_pressPoint);
        m_drag->CreateDragObject(chip).Execute();
    } catch (const std::exception &) {
        ShowCreateError(this);
    }
    m_drag->EndDrag();
}

void TForm6::RefreshMarkers()
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

void TForm6::SetMarkerRowsVisible(bool visible)
{
    for (QWidget *row : m_markerRows)
        row->setVisible(visible);
}

void TForm6::ShowNotesPage()
{
    m_palettePage->hide();
    m_notesPage->show();
}

void TForm6::ShowPalettePage()
{
    m_notesPage->hide();
    m_palettePage->show();
}

bool TForm6::PalettePageShown() const
{
    return !m_palettePage->isHidden();
}

void TForm6::Image43Click()
{
    ShowPalettePage();
}

void TForm6::Image39Click()
{
    RefreshMarkers();
    ShowNotesPage();
}

QStringList TForm6::RecordLines() const
{
    return Step7RecordLines({m_melody.Text(), m_ledMode, m_colours});
}

void TForm6::ApplyRecord(const TStep7Record &record)
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
        try {
            for (int key = 0; key < KeyCount; ++key)
                LoadKeyPicture(key);
        } catch (const std::exception &) {
            ShowCreateError(this);
        }
        RefreshMarkers();
        SetMarkerRowsVisible(true);
    }
    Q_EMIT KeptRecordChanged();
}

QString TForm6::KeptLessonName() const
{
    return Step7LessonName;
}

QStringList TForm6::KeptRecordLines() const
{
    return RecordLines();
}

void TForm6::RestoreKeptRecord(const QStringList &lines)
{
    const ProgramFileText::TRecordRead<TStep7Record> read = ReadStep7Record(lines);
    if (!read.record) {
        QMessageBox::critical(this, QString(), read.problem);
        return;
    }
    ApplyRecord(*read.record);
}

void TForm6::Image15Click()
{
    if (Busy())
        return;
    const std::optional<QStringList> lines = m_files.Read();
    if (!lines)
        return;
    const ProgramFileText::TRecordRead<TStep7Record> read = ReadStep7Record(*lines);
    if (!read.record) {
        QMessageBox::critical(this, QString(), read.problem);
        return;
    }
    m_fileLines = *lines;
    ApplyRecord(*read.record);
}

void TForm6::Image20Click()
{
    if (m_playing)
        return;
    m_files.Save(RecordLines());
}

bool TForm6::eventFilter(QObject *watched, QEvent *event)
{
    if (m_playing && IsUserInput(event->type())) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == window())
            return true;
    }
    if (event->type() != QEvent::KeyPress || !isVisible())
        return TPageScreen::eventFilter(watched, event);
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != window())
        return TPageScreen::eventFilter(watched, event);
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Image16Click();
        return true;
    case Qt::Key_F6:
        Image18Click();
        return true;
    case Qt::Key_F7:
        Image19Click();
        return true;
    default:
        return TPageScreen::eventFilter(watched, event);
    }
}
