#include "ReportScreen.h"

#include "EditorSettings.h"
#include "Image.h"
#include "IniFile.h"
#include "MainHost.h"
#include "ReportHtml.h"
#include "ReportPrint.h"
#include "WholeFile.h"
#include "WorkFolder.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

TReportScreen::TReportScreen(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm10"))
{
    m_reportText = new QTextEdit(this);
    m_reportText->setObjectName(QStringLiteral("RichEdit3"));
    m_reportText->setGeometry(32, 8, 553, 417);
    m_reportText->setAcceptRichText(false);
    m_reportText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_reportText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Lines never wrap, yet the layout keeps the area's width: without a width
    // (QTextEdit::NoWrap) a centred paragraph has nothing to centre in and
    // shows left-aligned. Longer lines still reach the horizontal scroll bar.
    m_reportText->setLineWrapMode(QTextEdit::WidgetWidth);
    m_reportText->setWordWrapMode(QTextOption::NoWrap);
    m_reportText->setStyleSheet(QStringLiteral("QTextEdit { background: black; color: white; }"));
    m_reportText->setAccessibleName(QStringLiteral("レポート"));
    // Tab leaves the text for the buttons; a report line has no use for a tab.
    m_reportText->setTabChangesFocus(true);

    using namespace PictureLook;
    static constexpr TPictureRow<TReportScreen> buttons[] = {
        {&TReportScreen::m_htmlButton, "Image2", "Picture\\BUTTON\\html.jpg", {608, 264, 90, 51}, "HTML出力|HTML形式でファイル出力します",
         &TReportScreen::SaveAsHtml, Pressable | Hand},
        {&TReportScreen::m_printButton, "Image1", "Picture\\BUTTON\\print.jpg", {608, 352, 90, 51}, "印刷|印刷を開始します",
         &TReportScreen::PrintReport, Pressable | Hand},
        {&TReportScreen::m_backButton, "Image3", "Picture\\BUTTON\\moni_back.jpg", {602, 24, 102, 51},
         "戻る|プログラム編集画面に戻ります", &TReportScreen::ReturnToEditor, Hand},
    };
    AddPictures(buttons);
    setTabOrder(m_reportText, m_backButton);
    setTabOrder(m_backButton, m_htmlButton);
    setTabOrder(m_htmlButton, m_printButton);
    // The way back without the mouse: nothing else on the page takes Escape.
    BindKey(Qt::Key_Escape, &TReportScreen::ReturnToEditor);

    m_chooseName = [this] {
        QFileDialog dialog(this, QString(), QString(), QStringLiteral("HTMLファイル(*.html *.htm)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite); // asked below, in the program's words
        dialog.selectFile(QString());
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                       : QString();
    };
    m_choosePrinter = [this](QPrinter &printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };

    ApplyFontSetting();
    ReportMissingPictures();
}

TReportScreen::~TReportScreen() = default;

void TReportScreen::ApplyFontSetting()
{
    const TEditorSettings settings = TEditorSettings::Read(TIniFile(WorkFolder() + SettingsKeys::FileName));
    QFont font(settings.FontName);
    const int size = settings.FontSize;
    font.setPointSize(size > 0 && size <= 200 ? size : TEditorSettings().FontSize);
    m_reportText->setFont(font);
    m_reportText->document()->setDefaultFont(font);
}

void TReportScreen::FormShow()
{
    ApplyFontSetting();
    const bool fromText = Host().ReturnPage() == TMainHost::PageStep5;
    const QList<TReportLine> lines = ReportText::Build(Host().ReportTextList, Host().ReportWordList, fromText);
    if (lines == m_builtFrom && !m_reportText->document()->isEmpty())
        return; // the same program: keep what the pupil typed
    m_builtFrom = lines;
    ShowLines(lines);
}

void TReportScreen::ShowLines(const QList<TReportLine> &lines)
{
    m_reportText->clear();
    QTextCursor cursor(m_reportText->document());
    for (int i = 0; i < lines.size(); ++i) {
        QTextBlockFormat format;
        format.setAlignment(lines[i].centred ? Qt::AlignHCenter : Qt::AlignLeft);
        if (i == 0)
            cursor.setBlockFormat(format);
        else
            cursor.insertBlock(format);
        cursor.insertText(lines[i].text);
    }
    m_reportText->moveCursor(QTextCursor::Start);
}

QStringList TReportScreen::ReportLines() const
{
    if (m_reportText->document()->isEmpty())
        return {};
    QStringList lines;
    // Shift+Enter breaks a line inside its paragraph; the pupil sees two
    // lines, and so do the printed page and the HTML page.
    for (QTextBlock block = m_reportText->document()->begin(); block.isValid(); block = block.next())
        lines << block.text().split(QChar::LineSeparator);
    return lines;
}

void TReportScreen::ReturnToEditor()
{
    Host().ReturnToLesson();
}

void TReportScreen::PrintReport()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!m_choosePrinter(printer))
        return;
    ReportPrint::Print(printer, m_reportText->toPlainText(), m_reportText->font());
    ReturnToEditor();
}

void TReportScreen::SaveAsHtml()
{
    const QStringList lines = ReportLines();
    if (lines.isEmpty()) {
        QMessageBox::information(this, QString(), QStringLiteral("保存するファイルに文字がありません。"));
        return;
    }
    QString name = m_chooseName();
    if (name.isEmpty())
        return;
    if (ReportHtml::CheckFileName(name) == ReportHtml::NameCheck::WrongExtension) {
        QMessageBox::warning(this, QString(), QStringLiteral("HTMLファイルでしか保存できません"));
        return;
    }
    if (QFileInfo::exists(name)
        && QMessageBox::question(this, QString(), QStringLiteral("同じ名前のファイルが既にあります。上書きしますか？"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    const QFileDevice::FileError error = WholeFile::Write(name, ReportHtml::Encode(ReportHtml::PageLines(lines)));
    if (error != QFileDevice::NoError) {
        QMessageBox::warning(this, QString(),
                             QStringLiteral("ファイルを保存できませんでした\n%1").arg(WholeFile::ReasonText(error)));
    }
}
