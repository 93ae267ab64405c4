#include "Step1Screen.h"

#include "AssetPath.h"
#include "CommandCodes.h"
#include "Image.h"
#include "LoadError.h"
#include "MainHost.h"
#include "MsTimer.h"
#include "TransferRequest.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>

namespace {

QLabel *MakeLabel(QWidget *parent, const char *name, QRect geometry, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

} // namespace

TStep1Screen::TStep1Screen(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm2"))
    , m_openUrl([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    CreateControls();
    ReportMissingPictures();
}

QString TStep1Screen::CompletionMessage()
{
    return QStringLiteral("赤、青、黄とそれぞれ２秒ずつ点灯したら次のステップへ");
}

void TStep1Screen::CreateControls()
{
    using namespace PictureLook;
    static constexpr TPictureRow<TStep1Screen> pictures[] = {
        {nullptr, "Image4", "picture\\test.jpg", {3, 8, 717, 228}, nullptr, nullptr, Plain},
        {&TStep1Screen::m_transferButton, "Image1", "Picture\\BUTTON\\tenso_test.jpg", {172, 48, 112, 82},
         "転送|サンプルデータの転送を行います（接続コードを本体のコネクタに接続して下さい）", &TStep1Screen::Transfer,
         Pressable | Hand},
        {&TStep1Screen::m_runButton, "Image2", "Picture\\BUTTON\\jikkou_test.jpg", {330, 48, 112, 82},
         "実行|転送したサンプルデータを実行します（接続コードを本体のコネクタに接続して下さい）", &TStep1Screen::Run,
         Pressable | Hand},
        {nullptr, "Image5", "Picture\\PANEL\\preview_flame.jpg", {242, 162, 260, 240}, nullptr, nullptr, Plain},
        {&TStep1Screen::m_unlitLamp, "Image3", "picture\\Pre\\Base.bmp", {262, 182, 220, 200}, nullptr, nullptr,
         Hidden},
        {&TStep1Screen::m_litLamp, "Image7", nullptr, {262, 182, 220, 200}, nullptr, nullptr, Hidden},
        {nullptr, "Image8", "Picture\\BUTTON\\navi.jpg", {553, 247, 112, 82}, "学習ナビ|学習ナビを表示します",
         &TStep1Screen::OpenGuide, Pressable | Hand},
    };
    AddPictures(pictures);
    m_runButton->setEnabled(false);
    CreateTexts();

    m_previewTimer = new TMsTimer(this);
    m_previewTimer->setObjectName(QStringLiteral("MsTimer1"));
    m_previewTimer->SetEnabled(false);
    m_previewTimer->SetOnTimer([this](TMsTimer *) { AdvancePreview(); });
}

void TStep1Screen::CreateTexts()
{
    QLabel *guide = MakeLabel(this, "Label1", QRect(503, 334, 214, 64),
                              QStringLiteral("制御学習用テキストを開きます。\n各ステップごとに､説明と例題が\n"
                                             "掲載されておりプログラミングの\n基本と制御の学習を行うことが出来ます。"));
    guide->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont small = guide->font();
    small.setPointSize(8);
    guide->setFont(small);
    QPalette fuchsia = guide->palette();
    fuchsia.setColor(QPalette::WindowText, QColor(255, 0, 255));
    guide->setPalette(fuchsia);
    MakeLabel(this, "Label2", QRect(8, 300, 230, 36),
              QStringLiteral("各ステップについての詳しい操作方法は\n画面右上のヘルプボタンを押して下さい"))
        ->setFont(small);
    MakeLabel(this, "Label3", QRect(8, 350, 230, 52),
              QStringLiteral("LK-72(ルミカ制御ソフト)を\n終了する場合は画面右上の閉じるボタン\nを押して下さい"))
        ->setFont(small);
}

void TStep1Screen::Transfer()
{
    // The wire takes one transfer at a time; the list must not change under it.
    if (Host().IsTransferring())
        return;
    Host().Transfer(TTransferRequest::LightProgram(LampCode::PadLightProgram(
        {std::begin(LampCode::SampleProgram), std::end(LampCode::SampleProgram)})));
    m_runButton->setEnabled(true);
}

void TStep1Screen::Run()
{
    if (Host().IsTransferring())
        return;
    m_previewPictures = {QStringLiteral("Picture\\Pre\\160.bmp"), QStringLiteral("Picture\\Pre\\176.bmp"),
                         QStringLiteral("Picture\\Pre\\184.bmp")};
    m_previewErrorShown = false;
    m_transferButton->setEnabled(false);
    m_runButton->setEnabled(false);
    m_unlitLamp->show();
    m_litLamp->show();
    m_litLamp->raise();
    m_counter = 0;
    ShowPreviewPicture(0);
    m_previewTimer->SetInterval(2000);
    m_previewTimer->SetEnabled(true);
    Host().SendExecute(LampCode::RunLightProgram);
}

void TStep1Screen::ShowPreviewPicture(int index)
{
    try {
        m_litLamp->LoadPicture(m_previewPictures.at(index));
    } catch (const TLoadError &) {
        m_litLamp->clear();
        // One box per run: the preview timer keeps going while it is open.
        if (!m_previewErrorShown) {
            m_previewErrorShown = true;
            ShowCreateError(this);
        }
    }
}

void TStep1Screen::AdvancePreview()
{
    m_counter += 1;
    if (m_counter == 1) {
        ShowPreviewPicture(1);
    } else if (m_counter == 2) {
        ShowPreviewPicture(2);
    } else if (m_counter >= 3) {
        m_previewTimer->SetEnabled(false);
        m_unlitLamp->hide();
        m_litLamp->hide();
        QStringList lines = Host().HintAreaText().split(u'\n');
        lines[0] = CompletionMessage();
        Host().SetHintAreaText(lines.join(u'\n'));
        m_transferButton->setEnabled(true);
    }
}

void TStep1Screen::OpenGuide()
{
    const QString page = ResolveAsset(QStringLiteral("Help\\Navi\\index.html"));
    if (page.isEmpty() || !m_openUrl(QUrl::fromLocalFile(page)))
        QMessageBox::information(this, QString(),
                                 QStringLiteral("学習ナビを開けませんでした\n"
                                                "学習ナビのファイルが見つからないか、表示するブラウザがありません"));
}
