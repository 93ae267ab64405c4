#include "TransferStatus.h"

namespace TransferStatus {

namespace {

QString PortLabel(const QString &portName, const QString &device)
{
    const QString name = portName.toUpper();
    if (device.isEmpty() || device.compare(portName, Qt::CaseInsensitive) == 0)
        return name;
    return name + QStringLiteral("（") + device + QStringLiteral("）");
}

} // namespace

QString NothingSent(Trs232c::OpenProblem problem, const QString &portName, const QString &device)
{
    const QString head = QStringLiteral("ランプに何も送られていません\n");
    const QString port = PortLabel(portName, device);
    switch (problem) {
    case Trs232c::OpenProblem::None:
        return QString();
    case Trs232c::OpenProblem::NotFound:
        return head + port + QStringLiteral("の接続コードが見つかりません。接続コードを差し込んで、もう一度送って下さい");
    case Trs232c::OpenProblem::InUse:
        return head + port + QStringLiteral("は他のソフトが使っています。そのソフトを終了して、もう一度送って下さい");
    case Trs232c::OpenProblem::NoPermission:
        return head + port + QStringLiteral("を使う権限がありません。このユーザーを dialout グループに入れて（sudo usermod -aG dialout ユーザー名）、ログインし直して下さい");
    case Trs232c::OpenProblem::AlreadyOpen:
    case Trs232c::OpenProblem::Unusable:
        break;
    }
    return head + port + QStringLiteral("を開けませんでした。設定画面で通信ポートを確かめて下さい");
}

QString Interrupted(const QString &portName)
{
    return QStringLiteral("ランプに最後まで送れませんでした\n")
        + portName.toUpper() + QStringLiteral("の接続コードが外れたか、ランプが応答しません。接続を確かめて、もう一度送って下さい");
}

QString NotANumber(const QString &listName, int position, const QString &entry)
{
    return QStringLiteral("ランプに送れませんでした\n") + listName + QString::number(position)
        + QStringLiteral("個目「") + entry + QStringLiteral("」が数字ではありません");
}

QString WrongLightProgramLength(int entries)
{
    return QStringLiteral("ランプに送れませんでした\n光のプログラムは20個必要ですが、")
        + QString::number(entries) + QStringLiteral("個です");
}

QString EmptySoundList()
{
    return QStringLiteral("ランプに送れませんでした\n音のプログラムが空です");
}

QString UnknownMode(int mode)
{
    return QStringLiteral("ランプに送れませんでした\n転送の種類（") + QString::number(mode)
        + QStringLiteral("）が正しくありません");
}

} // namespace TransferStatus
