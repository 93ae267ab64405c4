#include "Step5Screen.h"

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

// The command pictures in word box order, red to wait.
constexpr const char *kWordPictures[] = {
    "Picture\\PANEL\\red.jpg", "Picture\\PANEL\\green.jpg", "Picture\\PANEL\\blue.jpg",
    "Picture\\PANEL\\yellow.jpg", "Picture\\PANEL\\purple.jpg", "Picture\\PANEL\\lightblue.jpg",
    "Picture\\PANEL\\white.jpg", "Picture\\PANEL\\off.jpg", "Picture\\PANEL\\start.jpg",
    "Picture\\PANEL\\end1.jpg", "Picture\\PANEL\\wait.jpg",
};

// What each word box is called aloud, in the same order.
constexpr const char16_t *kWordNames[] = {
    u"赤の命令", u"緑の命令", u"青の命令", u"黄の命令", u"紫の命令", u"水色の命令",
    u"白の命令", u"消灯の命令", u"繰り返し開始の命令", u"繰り返し終了の命令", u"入力待ちの命令",
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

TStep5Screen::TStep5Screen(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm7")), m_files(this, Step5LessonName)
{
    CreateControls();
    ReportMissingPictures();
    ApplyEditorSettings();
}

QString TStep5Screen::NotCheckedMessage()
{
    return QStringLiteral("プログラムの文法チェックがされてません\n文法チェックをしてください");
}

QString TStep5Screen::CheckOkMessage()
{
    return LightCheckOkText();
}

void TStep5Screen::CreateControls()
{
    // Left to right along the top of the screen.
    using PictureLook::Button;
    static constexpr TPictureRow<TStep5Screen> buttons[] = {
        {&TStep5Screen::m_readButton, "Image13", "Picture\\BUTTON\\read.jpg", {4, 4, 90, 51},
         "読み込み|プログラムを読み込みます", &TStep5Screen::Read, Button},
        {&TStep5Screen::m_saveButton, "Image19", "Picture\\BUTTON\\save.jpg", {102, 4, 90, 51},
         "保存|プログラムを保存します", &TStep5Screen::Save, Button},
        {&TStep5Screen::m_checkButton, "Image12", "Picture\\BUTTON\\check.jpg", {200, 4, 90, 51},
         "チェック|プログラムの内容をチェックします", &TStep5Screen::Check, Button},
        {&TStep5Screen::m_previewButton, "Image17", "Picture\\BUTTON\\preview.jpg", {298, 4, 90, 51},
         "プレビュー|プログラムの内容をプレビューします", &TStep5Screen::Preview, Button},
        {&TStep5Screen::m_transferButton, "Image14", "Picture\\BUTTON\\pro_tenso.jpg", {396, 4, 90, 51},
         "転送|プログラムを転送します（接続コードを本体のコネクタに接続して下さい）", &TStep5Screen::Transfer, Button},
        {&TStep5Screen::m_runButton, "Image15", "Picture\\BUTTON\\pro_jikkou.jpg", {494, 4, 90, 51},
         "実行|プログラムを実行します（接続コードを本体のコネクタに接続して下さい）", &TStep5Screen::Run, Button},
        {&TStep5Screen::m_reportButton, "Image18", "Picture\\BUTTON\\report.jpg", {592, 4, 90, 51},
         "レポート|レポート作成画面を表示します", &TStep5Screen::Report, Button},
    };
    AddPictures(buttons);

    m_editor = new TSonEdit(this, QStringLiteral("SonEdit1"));
    m_editor->setGeometry(4, kEditorTop, kPanelLeft - 12, 430 - kEditorTop - 4);
    m_editor->SetShowLineNumbers(true, 3);
    m_editor->SetTopMargin(4);
    m_editor->SetLeftMargin(0);
    m_editor->SetWordWrap(true, 100);
    m_editor->SetTabWidth(6);
    m_editor->SetShowLineEndMarks(true);
    m_editor->SetShowEofMark(false);
    m_editor->SetShowFullSpaceMarks(true);
    m_editor->SetAcceptTabs(true);
    m_editor->SetReadOnly(false);
    m_editor->setAccessibleName(QStringLiteral("プログラム"));
    m_editor->setAccessibleDescription(QStringLiteral("ここにプログラムを記述して下さい（Ctrl+Tabで次の欄へ進みます）"));
    CreateWordBoxes();

    connect(m_editor, &TSonEdit::Change, this, &TStep5Screen::ProgramTextChanged);
    // F4, F6 and F7 act from the editor only; from a word box they do nothing.
    BindKey(Qt::Key_F4, &TStep5Screen::Check, m_editor);
    BindKey(Qt::Key_F6, &TStep5Screen::Transfer, m_editor);
    BindKey(Qt::Key_F7, &TStep5Screen::Run, m_editor);
}

void TStep5Screen::CreateWordBoxes()
{
    const QStringList defaults = TTextProgramChecker::DefaultWords();
    int y = kEditorTop;
    for (int w = 0; w < TTextProgramChecker::WordCount; ++w) {
        if (w == TTextProgramChecker::WordLoop) {
            m_repeatHeading = MakePicture(this, QStringLiteral("Image11"),
                                          QRect(kPanelLeft, y, kPictureWidth, kHeadingHeight), nullptr,
                                          PictureLook::Stretched);
            Pictures().Load(m_repeatHeading, QStringLiteral("Picture\\PANEL\\kurikaesi1.jpg"));
            y += kHeadingHeight + 2;
        }
        TImage *picture = MakePicture(this, QStringLiteral("Image%1").arg(23 + w),
                                      QRect(kPanelLeft, y, kPictureWidth, kPictureHeight), nullptr, PictureLook::Stretched);
        Pictures().Load(picture, QString::fromLatin1(kWordPictures[w]));
        m_wordPictures.append(picture);
        auto *box = new QLineEdit(defaults.at(w), this);
        box->setObjectName(QStringLiteral("Edit%1").arg(23 + w));
        box->setGeometry(kPanelLeft + kPictureWidth + 6, y, 720 - kPanelLeft - kPictureWidth - 10, kPictureHeight);
        box->setAccessibleName(QString::fromUtf16(kWordNames[w]));
        connect(box, &QLineEdit::textChanged, this, &TPageScreen::KeptRecordChanged);
        m_wordBoxes.append(box);
        y += kWordPitch;
    }
}

void TStep5Screen::FormShow()
{
    ApplyEditorSettings();
}

void TStep5Screen::ApplyEditorSettings()
{
    const TIniFile ini(WorkFolder() + SettingsKeys::FileName);
    const TEditorSettings settings = TEditorSettings::Read(ini);
    m_editor->SetBackColor(FromSettingsColor(settings.BackColor));
    m_editor->SetFontColor(FromSettingsColor(settings.FontColor));
    m_editor->SetMarkColor(FromSettingsColor(settings.FontColor));
    m_editor->SetSelColor(FromSettingsColor(settings.SelColor));
    QFont font(settings.FontName);
    font.setPointSize(settings.FontSize);
    m_editor->SetEditFont(font);
    m_editor->ReLayout();
}

QStringList TStep5Screen::CommandWords() const
{
    QStringList words;
    for (const QLineEdit *box : m_wordBoxes)
        words.append(box->text());
    return words;
}

void TStep5Screen::Check()
{
    Host().ProgramList.clear();
    Host().ExpandedList.clear();
    QStringList words = CommandWords();
    const TTextProgramChecker::Result result = TTextProgramChecker::Check(m_editor->GetText(), words);
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

void TStep5Screen::Transfer()
{
    if (Host().IsTransferring())
        return;
    if (Host().ProgramList.size() != LampCode::ProgramLength) {
        QMessageBox::information(this, QString(), NotCheckedMessage());
        return;
    }
    Host().Transfer(TTransferRequest::LightProgram(Host().ProgramList)); // as the check built it
}

void TStep5Screen::Run()
{
    if (Host().IsTransferring())
        return;
    if (!Host().TransferPrepared()) {
        QMessageBox::information(this, QString(), LightNotTransferredText());
        return;
    }
    Host().SendExecute(LampCode::RunLightProgram);
}

void TStep5Screen::Preview()
{
    Host().OpenOver(TMainHost::PagePreview, TMainHost::PageStep5);
}

void TStep5Screen::Report()
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    Host().ReportTextList = m_editor->GetText().split(lineBreak);
    Host().ReportWordList = CommandWords();
    Host().OpenOver(TMainHost::PageReport, TMainHost::PageStep5);
}

void TStep5Screen::Read()
{
    // The transfer under way reads ProgramList, which a read would empty.
    if (Host().IsTransferring())
        return;
    const std::optional<QStringList> lines = m_files.Read([this] {
        m_editor->Clear();
        Host().ProgramList.clear();
    });
    if (!lines)
        return;
    if (const std::optional<TStep5Record> record = RecordOrComplaint(ReadStep5Record(*lines)))
        ApplyRecord(*record);
}

void TStep5Screen::ApplyRecord(const TStep5Record &record)
{
    for (int w = 0; w < m_wordBoxes.size(); ++w)
        m_wordBoxes.at(w)->setText(record.words.value(w));
    m_editor->SetText(record.programText);
    Host().ProgramList.clear();
    Q_EMIT KeptRecordChanged();
}

QString TStep5Screen::KeptLessonName() const
{
    return Step5LessonName;
}

QStringList TStep5Screen::KeptRecordLines() const
{
    return Step5RecordLines({CommandWords(), m_editor->GetText()});
}

void TStep5Screen::RestoreKeptRecord(const QStringList &lines)
{
    if (const std::optional<TStep5Record> record = RecordOrComplaint(ReadStep5Record(lines)))
        ApplyRecord(*record);
}

void TStep5Screen::Save()
{
    m_files.Save(KeptRecordLines());
}

void TStep5Screen::ProgramTextChanged()
{
    Host().ProgramList.clear();
    Q_EMIT KeptRecordChanged();
}
