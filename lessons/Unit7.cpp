#include "Unit7.h"

#include "CommandCodes.h"
#include "EditorSettings.h"
#include "Image.h"
#include "IniFile.h"
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

// The command pictures in box order (Edit23 .. Edit33).
constexpr const char *kWordPictures[] = {
    "Picture\\PANEL\\red.jpg", "Picture\\PANEL\\green.jpg", "Picture\\PANEL\\blue.jpg",
    "Picture\\PANEL\\yellow.jpg", "Picture\\PANEL\\purple.jpg", "Picture\\PANEL\\lightblue.jpg",
    "Picture\\PANEL\\white.jpg", "Picture\\PANEL\\off.jpg", "Picture\\PANEL\\start.jpg",
    "Picture\\PANEL\\end1.jpg", "Picture\\PANEL\\wait.jpg",
};

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
    ReportMissingPictures();
    ApplyEditorSettings();
}

QString TForm7::NotCheckedMessage()
{
    return QStringLiteral("プログラムの文法チェックがされてません\n文法チェックをしてください");
}

QString TForm7::CheckOkMessage()
{
    return LightCheckOkText();
}

void TForm7::CreateControls()
{
    // Left to right along the top of the screen.
    using PictureLook::Button;
    static constexpr TPictureRow<TForm7> buttons[] = {
        {&TForm7::Image13, "Image13", "Picture\\BUTTON\\read.jpg", {4, 4, 90, 51}, "プログラムを読み込みます",
         &TForm7::Image13Click, Button},
        {&TForm7::Image19, "Image19", "Picture\\BUTTON\\save.jpg", {102, 4, 90, 51}, "プログラムを保存します",
         &TForm7::Image19Click, Button},
        {&TForm7::Image12, "Image12", "Picture\\BUTTON\\check.jpg", {200, 4, 90, 51},
         "プログラムの内容をチェックします", &TForm7::Image12Click, Button},
        {&TForm7::Image17, "Image17", "Picture\\BUTTON\\preview.jpg", {298, 4, 90, 51},
         "プログラムの内容をプレビューします", &TForm7::Image17Click, Button},
        {&TForm7::Image14, "Image14", "Picture\\BUTTON\\pro_tenso.jpg", {396, 4, 90, 51},
         "プログラムを転送します（接続コードを本体のコネクタに接続して下さい）", &TForm7::Image14Click, Button},
        {&TForm7::Image15, "Image15", "Picture\\BUTTON\\pro_jikkou.jpg", {494, 4, 90, 51},
         "プログラムを実行します（接続コードを本体のコネクタに接続して下さい）", &TForm7::Image15Click, Button},
        {&TForm7::Image18, "Image18", "Picture\\BUTTON\\report.jpg", {592, 4, 90, 51}, "レポート作成画面を表示します",
         &TForm7::Image18Click, Button},
    };
    AddPictures(buttons);

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
    CreateWordBoxes();

    connect(SonEdit1, &TSonEdit::Change, this, &TForm7::SonEdit1Change);
    // F4, F6 and F7 act from the editor only; from a word box they do nothing.
    BindKey(Qt::Key_F4, &TForm7::Image12Click, SonEdit1);
    BindKey(Qt::Key_F6, &TForm7::Image14Click, SonEdit1);
    BindKey(Qt::Key_F7, &TForm7::Image15Click, SonEdit1);
}

void TForm7::CreateWordBoxes()
{
    const QStringList defaults = TTextProgramChecker::DefaultWords();
    int y = kEditorTop;
    for (int w = 0; w < TTextProgramChecker::WordCount; ++w) {
        if (w == TTextProgramChecker::WordLoop) {
            Image11 = MakePicture(this, QStringLiteral("Image11"), QRect(kPanelLeft, y, kPictureWidth, kHeadingHeight),
                                  nullptr, PictureLook::Stretched);
            Pictures().Load(Image11, QStringLiteral("Picture\\PANEL\\kurikaesi1.jpg"));
            y += kHeadingHeight + 2;
        }
        TImage *picture = MakePicture(this, QStringLiteral("Image%1").arg(23 + w),
                                      QRect(kPanelLeft, y, kPictureWidth, kPictureHeight), nullptr, PictureLook::Stretched);
        Pictures().Load(picture, QString::fromLatin1(kWordPictures[w]));
        m_wordPictures.append(picture);
        auto *box = new QLineEdit(defaults.at(w), this);
        box->setObjectName(QStringLiteral("Edit%1").arg(23 + w));
        box->setGeometry(kPanelLeft + kPictureWidth + 6, y, 720 - kPanelLeft - kPictureWidth - 10, kPictureHeight);
        connect(box, &QLineEdit::textChanged, this, &TPageScreen::KeptRecordChanged);
        m_wordBoxes.append(box);
        y += kWordPitch;
    }
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
        QMessageBox::information(this, QString(), LightNotTransferredText());
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
    if (const std::optional<TStep5Record> record = RecordOrComplaint(ReadStep5Record(*lines)))
        ApplyRecord(*record);
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
    if (const std::optional<TStep5Record> record = RecordOrComplaint(ReadStep5Record(lines)))
        ApplyRecord(*record);
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
