#include "Classroom.h"

#include "ClassRecord.h"
#include "ClassStation.h"
#include "MainWindow.h"
#include "NetworkSettings.h"
#include "PageScreen.h"
#include "ProgramArrival.h"
#include "Step8Screen.h"
#include "TeacherDesk.h"
#include "TeacherWindow.h"
#include "WholeFile.h"

#include <QDateTime>

TClassroom::TClassroom(TMainWindow &window, TStep8Screen &network, const QHostAddress &stationAddress, const QString &workFolder)
    : QObject(nullptr)
    , m_window(window)
    , m_network(network)
    , m_station(new TClassStation(this))
    , m_desk(new TTeacherDesk(workFolder, this))
    , m_arrival(std::make_unique<TProgramArrival>(workFolder))
{
    m_station->SetAddress(stationAddress);
    m_station->SetSettings([this] { return m_window.NetworkSettings; });
    m_station->SetPage([this] { return m_window.VisiblePage(); });
    m_station->SetRecords([this] { return Records(); });
    connect(m_station, &TClassStation::ProgramArrived, this, &TClassroom::TakeProgram);
    connect(m_station, &TClassStation::WorkCollected, this, [this] { m_window.ShowNoticeInHintArea(CollectedText()); });
    // A station that cannot have the port still works as before; it only stays out of the class list.
    m_station->Open();

    m_desk->SetStationAddress(stationAddress);
    m_desk->SetOwnAddress([this] { return NetworkEntry(m_window.NetworkSettings, NetworkSettingsIndex::OwnAddress); });
    connect(&m_network, &TStep8Screen::TeacherViewRequested, this, [this] { ShowTeacherView(); });
}

TClassroom::~TClassroom()
{
    delete m_teacherWindow;
}

TTeacherWindow &TClassroom::ShowTeacherView(const QString &classCode)
{
    if (!m_teacherWindow) {
        m_teacherWindow = new TTeacherWindow(*m_desk);
        // An empty lesson is not sent: it would only empty every pupil's screen.
        m_teacherWindow->SetRecordSource([this](const QString &lesson) {
            const TPageScreen *screen = Lesson(lesson);
            return screen && !m_arrival->IsEmpty(lesson, screen->KeptRecordLines()) ? RecordOf(lesson) : QByteArray();
        });
        m_teacherWindow->SetOpener([this](const QStringList &lines) { OpenProgram(lines); });
    }
    const QString applied = NetworkEntry(m_window.NetworkSettings, NetworkSettingsIndex::ClassCode);
    m_teacherWindow->SetClassCode(classCode.isEmpty() ? applied : classCode);
    m_teacherWindow->show();
    m_teacherWindow->raise();
    m_teacherWindow->activateWindow();
    return *m_teacherWindow;
}

TPageScreen *TClassroom::Lesson(const QString &lessonName, int *pageIndex) const
{
    // Pages are built when first needed; a lesson's page is built here only
    // when a program comes for it or its record is asked for.
    const int page = TMainWindow::KeptLessonPage(lessonName);
    if (page < 0)
        return nullptr;
    m_arrival->RememberEmpty(lessonName, m_window.EmptyKeptRecord(page));
    if (pageIndex)
        *pageIndex = page;
    return m_window.Page(page);
}

QByteArray TClassroom::RecordOf(const QString &lessonName) const
{
    const TPageScreen *screen = Lesson(lessonName);
    return screen ? ClassRecord::Bytes(screen->KeptRecordLines()) : QByteArray();
}

QList<QByteArray> TClassroom::Records() const
{
    QList<QByteArray> records;
    for (const char *lesson : {"STEP3", "STEP5", "STEP7"}) {
        const QByteArray record = RecordOf(QLatin1String(lesson));
        if (!record.isEmpty())
            records.append(record);
    }
    return records;
}

QString TClassroom::ArrivedText(const QString &lessonName, const QString &keptFile)
{
    QString text = QStringLiteral("先生から%1のプログラムが届きました。").arg(lessonName);
    if (!keptFile.isEmpty())
        text += QStringLiteral("\nそれまでのプログラムは「%1」に残してあります（読み込みボタンで開けます）。").arg(keptFile);
    return text;
}

QString TClassroom::NotTakenText(const QString &lessonName, const QString &reason)
{
    return QStringLiteral("先生から%1のプログラムが届きましたが、今のプログラムを残せなかったので入れませんでした。\n%2").arg(lessonName, reason);
}

QString TClassroom::CollectedText()
{
    return QStringLiteral("先生が作品を集めました。");
}

bool TClassroom::PutIntoLesson(const QStringList &lines, QString &keptFile)
{
    const QString lesson = lines.value(0);
    TPageScreen *screen = Lesson(lesson);
    if (!screen)
        return false;
    const TProgramArrival::TKept kept = m_arrival->KeepBefore(lesson, screen->KeptRecordLines(), lines, QDateTime::currentDateTime());
    if (!kept.mayReplace) {
        m_window.ShowNoticeInHintArea(NotTakenText(lesson, WholeFile::ReasonText(kept.error)));
        return false;
    }
    screen->RestoreKeptRecord(lines);
    keptFile = kept.fileName;
    return true;
}

void TClassroom::TakeProgram(const QStringList &lines)
{
    QString kept;
    if (PutIntoLesson(lines, kept))
        m_window.ShowNoticeInHintArea(ArrivedText(lines.value(0), kept));
}

void TClassroom::OpenProgram(const QStringList &lines)
{
    QString kept;
    int page = -1;
    if (!Lesson(lines.value(0), &page) || !PutIntoLesson(lines, kept))
        return;
    m_window.GoToStep(page);
    if (!kept.isEmpty())
        m_window.ShowNoticeInHintArea(QStringLiteral("先生のそれまでのプログラムは「%1」に残してあります。").arg(kept));
}
