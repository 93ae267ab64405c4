#include "TeacherDesk.h"

#include "ClassRequest.h"
#include "ClassRoster.h"
#include "WorkCollection.h"

#include <QDate>
#include <QDir>
#include <memory>

TTeacherDesk::TTeacherDesk(QString workFolder, QObject *parent)
    : QObject(parent)
    , m_workFolder(std::move(workFolder))
    , m_roster(new TClassRoster(this))
{
    m_writer.setMaxThreadCount(1);
}

TTeacherDesk::~TTeacherDesk()
{
    m_writer.waitForDone();
}

struct TTeacherDesk::TCollectRun {
    std::unique_ptr<TWorkCollection> collection;
    QString folder;
    int files = 0;
    int writing = 0;
    bool answered = false;  // every station has answered or failed
    int stations = 0;
    int missed = 0;
};

void TTeacherDesk::SetPort(quint16 port)
{
    m_port = port;
    m_roster->SetPort(port);
}

void TTeacherDesk::SetStationAddress(const QHostAddress &address)
{
    m_stationAddress = address;
    m_roster->SetBindAddress(address);
}

bool TTeacherDesk::Refresh(const QString &classCode)
{
    return m_roster->Ask(classCode);
}

QString TTeacherDesk::NoStationsText()
{
    return QStringLiteral("受け取れる局がありません。\nクラスコードと、各局の「受信の設定」を確かめて下さい。");
}

QString TTeacherDesk::BusyText()
{
    return QStringLiteral("前の送信がまだ終わっていません。少し待ってから、もう一度押して下さい。");
}

QString TTeacherDesk::SentText(const QString &lessonName, int reached, int missed)
{
    QString text = QStringLiteral("%1のプログラムを%2局に送りました。").arg(lessonName).arg(reached);
    if (missed > 0)
        text += QStringLiteral("\n%1局には届きませんでした。").arg(missed);
    return text;
}

QString TTeacherDesk::CollectedText(int stations, int files, int missed, const QString &folder)
{
    QString text = QStringLiteral("%1局から作品を集めました（%2ファイル）。\n保存先: %3").arg(stations).arg(files).arg(QDir::toNativeSeparators(folder));
    if (missed > 0)
        text += QStringLiteral("\n%1局からは集められませんでした。").arg(missed);
    return text;
}

QString TTeacherDesk::CannotCollectText(const QString &folder)
{
    return QStringLiteral("作品を保存するフォルダを作れませんでした。\n%1").arg(QDir::toNativeSeparators(folder));
}

QStringList TTeacherDesk::Takers() const
{
    const QString own = m_ownAddress ? m_ownAddress() : QString();
    QStringList addresses;
    for (const TClassRow &row : m_roster->Rows()) {
        if (row.MayTake() && row.address != own && row.address != m_stationAddress.toString())
            addresses.append(row.address);
    }
    return addresses;
}

QStringList TTeacherDesk::TakersNow()
{
    const QStringList takers = IsBusy() ? QStringList() : Takers();
    if (takers.isEmpty())
        Q_EMIT Said(IsBusy() ? BusyText() : NoStationsText());
    return takers;
}

TClassRequest *TTeacherDesk::NewRequest(const TClassMessage &message, int expectedKind)
{
    auto *request = new TClassRequest(message, static_cast<TClassMessage::TKind>(expectedKind), this);
    request->SetPort(m_port);
    request->SetSourceAddress(m_stationAddress);
    if (m_timeoutMs > 0)
        request->SetTimeoutMs(m_timeoutMs);
    m_request = request;
    return request;
}

bool TTeacherDesk::SendToAll(const QString &lessonName, const QByteArray &record)
{
    const QStringList takers = TakersNow();
    if (takers.isEmpty())
        return false;
    TClassMessage message;
    message.kind = TClassMessage::TKind::Program;
    message.classCode = m_roster->ClassCode();
    message.records = {record};
    TClassRequest *request = NewRequest(message, static_cast<int>(TClassMessage::TKind::Taken));
    connect(request, &TClassRequest::Finished, this, [this, request, lessonName] {
        const auto reached = static_cast<int>(request->Reached().size());
        const auto missed = static_cast<int>(request->Missed().size());
        request->deleteLater();
        m_request.clear();
        Q_EMIT Said(SentText(lessonName, reached, missed));
        Q_EMIT SendFinished(reached, missed);
    });
    request->Start(takers);
    return true;
}

bool TTeacherDesk::Collect()
{
    const QStringList takers = TakersNow();
    if (takers.isEmpty())
        return false;
    auto collection = std::make_unique<TWorkCollection>(m_workFolder, m_roster->ClassCode(), QDate::currentDate());
    const QString folder = collection->Folder();
    if (folder.isEmpty()) {
        Q_EMIT Said(CannotCollectText(QDir(m_workFolder).filePath(QStringLiteral("作品"))));
        return false;
    }
    m_lastFolder = folder;
    TClassMessage message;
    message.kind = TClassMessage::TKind::Collect;
    message.classCode = m_roster->ClassCode();
    TClassRequest *request = NewRequest(message, static_cast<int>(TClassMessage::TKind::Work));
    auto run = std::make_shared<TCollectRun>();
    run->collection = std::move(collection);
    run->folder = folder;
    connect(request, &TClassRequest::Answered, this, [this, run](const QString &address, const TClassMessage &answer) {
        WriteWork(run, address, answer);
    });
    connect(request, &TClassRequest::Finished, this, [this, request, run] {
        run->stations = static_cast<int>(request->Reached().size());
        run->missed = static_cast<int>(request->Missed().size());
        run->answered = true;
        request->deleteLater();
        m_request.clear();
        FinishCollect(run);
    });
    request->Start(takers);
    return true;
}

void TTeacherDesk::WriteWork(const std::shared_ptr<TCollectRun> &run, const QString &address, const TClassMessage &answer)
{
    ++run->writing;
    // The collection is touched only by the one writer thread until the run is finished.
    m_writer.start([this, run, address, name = answer.name, records = answer.records] {
        const auto written = static_cast<int>(run->collection->Take(name, address, records).files.size());
        QMetaObject::invokeMethod(this, [this, run, written] {
            run->files += written;
            --run->writing;
            FinishCollect(run);
        }, Qt::QueuedConnection);
    });
}

void TTeacherDesk::FinishCollect(const std::shared_ptr<TCollectRun> &run)
{
    if (!run->answered || run->writing > 0)
        return;
    Q_EMIT Said(CollectedText(run->stations, run->files, run->missed, run->folder));
    Q_EMIT CollectFinished(run->stations, run->files);
}
