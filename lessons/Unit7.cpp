#include "Unit7.h"

#include "CommandCodes.h"
#include "EditorSettings.h"
#include "Image.h"
#include "IniFile.h"
#include "LoadError.h"
#include "MainHost.h"
#include "SonEdit.h"
#include "Step5Record.h"
#include "TextProgramChecker.h"
#include "TransferRequest.h"
#include "WorkFolder.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

struct ButtonLayout {
    const char *name;
    const char *picture;
    const char *hint;
};

// Left to right along the top of the screen.
constexpr ButtonLayout kButtons[] = {
    {"Image13", "Picture\\BUTTON\\read.jpg", "プログラムを読み込みます"},
    {"Image19", "Picture\\BUTTON\\save.jpg", "プログラムを保存します"},
    {"Image12", "Picture\\BUTTON\\check.jpg", "プログラムの内容をチェックします"},
    {"Image17", "Picture\\BUTTON\\preview.jpg", "プログラムの内容をプレビューします"},
    {"Image14", "Picture\\BUTTON\\pro_tenso.jpg", "プログラムを転送します（接続コードを本体のコネクタに接続して下さい）"},
    {"Image15", "Picture\\BUTTON\\pro_jikkou.jpg", "プログラムを実行します（接続コードを本体のコネクタに接続して下さい）"},
    {"Image18", "Picture\\BUTTON\\report.jpg", "レポート作成画面を表示します"},
};

// The command pictures in box order (Edit23 .. Edit33).
constexpr const char *kWordPictures[] = {
    "Picture\\PANEL\\red.jpg", "Picture\\PANEL\\green.jpg", "Picture\\PANEL\\blue.jpg",
    "Picture\\PANEL\\yellow.jpg", "Picture\\PANEL\\purple.jpg", "Picture\\PANEL\\lightblue.jpg",
    "Picture\\PANEL\\white.jpg", "Picture\\PANEL\\off.jpg", "Picture\\PANEL\\start.jpg",
    "Picture\\PANEL\\end1.jpg", "Picture\\PANEL\\wait.jpg",
};

constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 51;
constexpr int kButtonGap = 8;
constexpr int kEditorTop = 60;
constexpr int kPanelLeft = 486;
constexpr int kPictureWidth = 90;
constexpr int kPictureHeight = 26;
constexpr int kWordPitch = 31;
constexpr int kHeadingHeight = 22;

QColor FromSettingsColor(quint32 color)
{
    return QColor(ColorText::Red(color), ColorText::Green(color), ColorText::Blue(color));
}

} // namespace

TForm7::TForm7(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm7")), m_files(this, Step5LessonName)
{
    CreateControls();
    try {
        LoadPictures();
    } catch (const TLoadError &) {
        ShowCreateError(this);
    }
    ApplyEditorSettings();
}

QString TForm7::NotCheckedMessage()
{
    return QStringLiteral("プログラムの文法チェックがされてません\n文法チェックをしてください");
}

QString TForm7::NotTransferredMessage()
{
    return QStringLiteral("プログラムの転送がされてません\nプログラム転送をしてください");
}

QString TForm7::CheckOkMessage()
{
    return LightCheckOkText();
}

void TForm7::CreateControls()
{
    QList<TImage *> buttons;
    for (int i = 0; i < static_cast<int>(std::size(kButtons)); ++i) {
        auto *button = new TImage(this, QString::fromLatin1(kButtons[i].name));
        button->setGeometry(4 + i * (kButtonWidth + kButtonGap), 4, kButtonWidth, kButtonHeight);
        button->SetStretch(true);
        button->SetHint(QString::fromUtf8(kButtons[i].hint));
        button->SetPressedLook(true);
        button->setCursor(Qt::PointingHandCursor);
        buttons.append(button);
    }
    Image13 = buttons.at(0);
    Image19 = buttons.at(1);
    Image12 = buttons.at(2);
    Image17 = buttons.at(3);
    Image14 = buttons.at(4);
    Image15 = buttons.at(5);
    Image18 = buttons.at(6);

    SonEdit1 = new TSonEdit(this, QStringLiteral("SonEdit1"));
    SonEdit1->setGeometry(4, kEditorTop, kPanelLeft - 12, 430 - kEditorTop - 4);
    SonEdit1->SetShowLineNumbers(true, 3);
    SonEdit1->SetTopMargin(4);
    SonEdit1->SetLeftMargin(0);
    SonEdit1->SetWordWrap(true, 100);
    SonEdit1->SetTabWidth(6);
    SonEdit1->SetShowLineEndMarks(true);
    SonEdit1->SetShowEofMark(false);
    SonEdit1->SetShowFullSpaceMarks(true);
    SonEdit1->SetAcceptTabs(true);
    SonEdit1->SetReadOnly(false);

    const QStringList defaults = TTextProgramChecker::DefaultWords();
    int y = kEditorTop;
    for (int w = 0; w < TTextProgramChecker::WordCount; ++w) {
        if (w == TTextProgramChecker::WordLoop) {
            Image11 = new TImage(this, QStringLiteral("Image11"));
            Image11->setGeometry(kPanelLeft, y, kPictureWidth, kHeadingHeight);
            Image11->SetStretch(true);
            y += kHeadingHeight + 2;
        }
        auto *picture = new TImage(this, QStringLiteral("Image%1").arg(23 + w));
        picture->setGeometry(kPanelLeft, y, kPictureWidth, kPictureHeight);
        picture->SetStretch(true);
        m_wordPictures.append(picture);
        auto *box = new QLineEdit(defaults.at(w), this);
        box->setObjectName(QStringLiteral("Edit%1").arg(23 + w));
        box->setGeometry(kPanelLeft + kPictureWidth + 6, y, 720 - kPanelLeft - kPictureWidth - 10, kPictureHeight);
        connect(box, &QLineEdit::textChanged, this, &TPageScreen::KeptRecordChanged);
        m_wordBoxes.append(box);
        y += kWordPitch;
    }

    connect(Image13, &TImage::Click, this, &TForm7::Image13Click);
    connect(Image19, &TImage::Click, this, &TForm7::Image19Click);
    connect(Image12, &TImage::Click, this, &TForm7::Image12Click);
    connect(Image17, &TImage::Click, this, &TForm7::Image17Click);
    connect(Image14, &TImage::Click, this, &TForm7::Image14Click);
    connect(Image15, &TImage::Click, this, &TForm7::Image15Click);
    connect(Image18, &TImage::Click, this, &TForm7::Image18Click);
    connect(SonEdit1, &TSonEdit::Change, this, &TForm7::SonEdit1Change);
    connect(SonEdit1, &TSonEdit::KeyDown, this, &TForm7::SonEdit1KeyDown);
}

void TForm7::LoadPictures()
{
    // Every picture is tried, so one missing file leaves the others shown.
    bool failed = false;
    const auto load = [&failed](TImage *image, const char *path) {
        try {
            image->LoadPicture(QString::fromUtf8(path));
        } catch (const TLoadError &) {
            failed = true;
        }
    };
    const QList<TImage *> buttons{Image13, Image19, Image12, Image17, Image14, Image15, Image18};
    for (int i = 0; i < buttons.size(); ++i)
        load(buttons.at(i), kButtons[i].picture);
    for (int w = 0; w < m_wordPictures.size(); ++w)
        load(m_wordPictures.at(w), kWordPictures[w]);
    load(Image11, "Picture\\PANEL\\kurikaesi1.jpg");
    if (failed)
        throw TLoadError(QStringLiteral("STEP5 pictures"));
}

void TForm7::FormShow()
{
    ApplyEditorSettings();
}

void TForm7::ApplyEditorSettings()
{
    const TIniFile ini(WorkFolder() + SettingsKeys::FileName);
    const TEditorSettings settings = TEditorSettings::Read(ini);
    SonEdit1->SetBackColor(FromSettingsColor(settings.BackColor));
    SonEdit1->SetFontColor(FromSettingsColor(settings.FontColor));
    SonEdit1->SetMarkColor(FromSettingsColor(settings.FontColor));
    SonEdit1->SetSelColor(FromSettingsColor(settings.SelColor));
    QFont font(settings.FontName);
    font.setPointSize(settings.FontSize);
    SonEdit1->SetEditFont(font);
    SonEdit1->ReLayout();
}

QStringList TForm7::CommandWords() const
{
    QStringList words;
    for (const QLineEdit *box : m_wordBoxes)
        words.append(box->text());
    return words;
}

void TForm7::Image12Click()
{
    Host().ProgramList.clear();
    Host().ExpandedList.clear();
    QStringList words = CommandWords();
    const TTextProgramChecker::Result result = TTextProgramChecker::Check(SonEdit1->GetText(), words);
    for (int w = 0; w < m_wordBoxes.size(); ++w) {
        if (m_wordBoxes.at(w)->text() != words.at(w))
            m_wordBoxes.at(w)->setText(words.at(w));
    }
    if (!result.ok) {
        QMessageBox::information(this, QString(), result.message);
        return;
    }
    Host().ProgramList = result.programList;
    Host().ExpandedList = result.expandedList;
    QStringList hint = Host().HintAreaText().split(QLatin1Char('\n'));
    hint[0] = CheckOkMessage();
    Host().SetHintAreaText(hint.join(QLatin1Char('\n')));
}

void TForm7::Image14Click()
{
    if (Host().IsTransferring())
        return;
    if (Host().ProgramList.size() != LampCode::ProgramLength) {
        QMessageBox::information(this, QString(), NotCheckedMessage());
        return;
    }
    Host().Transfer(TTransferRequest::LightProgram(Host().ProgramList)); // as the check built it
}

void TForm7::Image15Click()
{
    if (Host().IsTransferring())
        return;
    if (!Host().TransferPrepared()) {
        QMessageBox::information(this, QString(), NotTransferredMessage());
        return;
    }
    Host().SendExecute(LampCode::RunLightProgram);
}

void TForm7::Image17Click()
{
    Host().OpenOver(TMainHost::PagePreview, TMainHost::PageStep5);
}

void TForm7::Image18Click()
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    Host().ReportTextList = SonEdit1->GetText().split(lineBreak);
    Host().ReportWordList = CommandWords();
    Host().OpenOver(TMainHost::PageReport, TMainHost::PageStep5);
}

void TForm7::Image13Click()
{
    // The transfer under way reads ProgramList, which a read would empty.
    if (Host().IsTransferring())
        return;
    const std::optional<QStringList> lines = m_files.Read([this] {
        SonEdit1->Clear();
        Host().ProgramList.clear();
    });
    if (!lines)
        return;
    const ProgramFileText::TRecordRead<TStep5Record> read = ReadStep5Record(*lines);
    if (!read.record) {
        QMessageBox::critical(this, QString(), read.problem);
        return;
    }
    ApplyRecord(*read.record);
}

void TForm7::ApplyRecord(const TStep5Record &record)
{
    for (int w = 0; w < m_wordBoxes.size(); ++w)
        m_wordBoxes.at(w)->setText(record.words.value(w));
    SonEdit1->SetText(record.programText);
    Host().ProgramList.clear();
    Q_EMIT KeptRecordChanged();
}

QString TForm7::KeptLessonName() const
{
    return Step5LessonName;
}

QStringList TForm7::KeptRecordLines() const
{
    return Step5RecordLines({CommandWords(), SonEdit1->GetText()});
}

void TForm7::RestoreKeptRecord(const QStringList &lines)
{
    const ProgramFileText::TRecordRead<TStep5Record> read = ReadStep5Record(lines);
    if (!read.record) {
        QMessageBox::critical(this, QString(), read.problem);
        return;
    }
    ApplyRecord(*read.record);
}

void TForm7::Image19Click()
{
    m_files.Save(KeptRecordLines());
}

void TForm7::SonEdit1Change()
{
    Host().ProgramList.clear();
    Q_EMIT KeptRecordChanged();
}

void TForm7::SonEdit1KeyDown(int key, Qt::KeyboardModifiers)
{
    switch (key) {
    case Qt::Key_F4:
        Image12Click();
        break;
    case Qt::Key_F6:
        Image14Click();
        break;
    case Qt::Key_F7:
        Image15Click();
        break;
    default:
        break;
    }
}
