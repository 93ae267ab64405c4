#include "Transfer.h"

#include "CommandCodes.h"
#include "MainHost.h"
#include "PacedWait.h"
#include "TransferProgress.h"
#include "TransferStatus.h"
#include "rs232c.h"

namespace {

const QString NothingSentHead = QStringLiteral("ランプに何も送られていません\n");
const QString InterruptedHead = QStringLiteral("ランプに最後まで送れませんでした\n");

QByteArray Bytes(const QStringList &entries)
{
    QByteArray bytes;
    bytes.reserve(entries.size());
    for (const QString &entry : entries) {
        quint8 byte = 0;
        TLampTransfer::EntryByte(entry, &byte);
        bytes.append(static_cast<char>(byte));
    }
    return bytes;
}

QString CheckNumbers(const QString &listName, const QStringList &entries)
{
    for (int i = 0; i < entries.size(); ++i) {
        quint8 byte = 0;
        if (!TLampTransfer::EntryByte(entries.at(i), &byte))
            return TransferStatus::NotANumber(listName, i + 1, entries.at(i));
    }
    return QString();
}

} // namespace

TLampTransfer::TLampTransfer(TMainHost &host, Trs232c &port, TTransferProgress &progress)
    : m_host(host)
    , m_port(port)
    , m_progress(progress)
{
}

int TLampTransfer::StepFor(int entries)
{
    if (entries <= 0)
        return 0;
    const int quotient = 100 / entries;
    const int twiceRest = 2 * (100 % entries);
    if (twiceRest > entries || (twiceRest == entries && quotient % 2 != 0))
        return quotient + 1;
    return quotient;
}

bool TLampTransfer::EntryByte(const QString &entry, quint8 *byte)
{
    bool ok = false;
    const int value = entry.trimmed().toInt(&ok, 10);
    if (!ok)
        return false;
    *byte = static_cast<quint8>(value & 0xff);
    return true;
}

QString TLampTransfer::CheckLists(int mode, const QStringList &program, const QStringList &light)
{
    switch (mode) {
    case LampCode::ModeDirectLight:
    case LampCode::ModeDirectSound:
        return QString();
    case LampCode::ModeLightProgram:
        if (program.size() != LampCode::ProgramLength)
            return TransferStatus::WrongLightProgramLength(static_cast<int>(program.size()));
        return CheckNumbers(QStringLiteral("プログラムの"), program);
    case LampCode::ModeSoundList: {
        if (program.isEmpty())
            return TransferStatus::EmptySoundList();
        const QString lights = CheckNumbers(QStringLiteral("光のリストの"), light);
        if (!lights.isEmpty())
            return lights;
        return CheckNumbers(QStringLiteral("音のプログラムの"), program);
    }
    default:
        return TransferStatus::UnknownMode(mode);
    }
}

bool TLampTransfer::EnsureOpen()
{
    if (!m_port.IsOpen())
        m_port.Open();
    if (m_port.IsOpen()) {
        m_problem.clear();
        return true;
    }
    SayNothingSent();
    return false;
}

void TLampTransfer::SayNothingSent()
{
    m_problem = TransferStatus::NothingSent(m_port.LastOpenProblem(), m_port.portname, m_port.Device());
    Say(m_problem);
    m_progress.ShowProblem(m_problem);
}

bool TLampTransfer::Write(quint8 byte)
{
    if (m_port.WriteByte(byte)) {
        m_started = true;
        return true;
    }
    if (m_started || m_reopened || !m_problem.isEmpty())
        return false;
    // Nothing has reached the lamp yet. An adapter unplugged and plugged in
    // while the program was idle leaves the port on a device that is gone;
    // opening it again and starting over loses nothing.
    m_reopened = true;
    m_port.Close();
    if (!m_port.Open()) {
        SayNothingSent();
        return false;
    }
    m_started = m_port.WriteByte(byte);
    return m_started;
}

void TLampTransfer::Send(quint8 byte)
{
    // With the port closed the sequence still runs its course, so the lesson
    // behaves the same; the hint area has already said nothing arrives.
    if (Write(byte) || !m_allWritten || !m_problem.isEmpty())
        return;
    m_allWritten = false;
    // The lamp was reachable and stops taking bytes (the cable came out):
    // say so now rather than after the rest of a long program has run out.
    m_lost = TransferStatus::Interrupted(m_port.portname);
    Say(m_lost);
    m_progress.ShowProblem(m_lost);
}

void TLampTransfer::Say(const QString &problem)
{
    m_said = problem;
    m_host.SetHintAreaText(problem);
}

void TLampTransfer::Advance()
{
    m_position = std::min(100, m_position + m_step);
    m_progress.SetPosition(m_position);
}

void TLampTransfer::ReportResult(bool reached)
{
    if (!m_problem.isEmpty())
        return;
    if (!reached) {
        Say(TransferStatus::Interrupted(m_port.portname));
        return;
    }
    // The lamp is reachable again: a warning left by an earlier transfer no
    // longer holds.
    const QString hint = m_host.HintAreaText();
    if (hint.startsWith(NothingSentHead) || hint.startsWith(InterruptedHead))
        m_host.SetHintAreaText(QString());
}

bool TLampTransfer::Run()
{
    const int mode = m_host.TransferMode;
    const QString malformed = CheckLists(mode, m_host.ProgramList, m_host.LightList);
    if (!malformed.isEmpty()) {
        m_host.SetHintAreaText(malformed);
        return false;
    }
    const QByteArray program = Bytes(m_host.ProgramList);
    const QByteArray lights = mode == LampCode::ModeSoundList ? Bytes(m_host.LightList) : QByteArray();
    const quint8 direct = static_cast<quint8>(m_host.DirectCode & 0xff);

    m_allWritten = true;
    m_lost.clear();
    EnsureOpen();
    if (mode != LampCode::ModeSoundList) {
        Send(static_cast<quint8>(mode));
        PacedWait(ShortPause);
    }
    switch (mode) {
    case LampCode::ModeDirectLight:
    case LampCode::ModeDirectSound:
        Send(direct);
        break;
    case LampCode::ModeLightProgram:
        SendLightProgram(program);
        break;
    case LampCode::ModeSoundList:
        SendLightAndSound(program, lights);
        break;
    default:
        break;
    }
    const bool reached = m_problem.isEmpty() && m_allWritten;
    ReportResult(reached);
    return reached;
}

bool TLampTransfer::RunExecute()
{
    EnsureOpen();
    const bool written = Write(static_cast<quint8>(m_host.ExecuteCode & 0xff));
    ReportResult(written);
    return written;
}

void TLampTransfer::SendLightProgram(const QByteArray &program)
{
    m_step = StepFor(static_cast<int>(program.size()));
    m_position = 0;
    m_progress.BeginTransfer(m_problem.isEmpty() ? m_lost : m_problem);
    for (int i = 0; i < LampCode::ProgramLength; ++i) {
        Send(static_cast<quint8>(program.at(i)));
        Advance();
        PacedWait(ShortPause);
    }
    EndSequence(LampCode::CloseLightProgram);
}

void TLampTransfer::SendLightAndSound(const QByteArray &sounds, const QByteArray &lights)
{
    m_step = StepFor(static_cast<int>(sounds.size()));
    m_position = 0;
    m_progress.BeginTransfer(m_problem.isEmpty() ? m_lost : m_problem);
    if (!lights.isEmpty()) {
        m_step = StepFor(static_cast<int>(sounds.size() + lights.size()));
        Send(LampCode::LightListFollows);
        PacedWait(SoundPause);
        for (const char light : lights) {
            Send(static_cast<quint8>(light));
            Advance();
            PacedWait(SoundPause);
        }
        PacedWait(BlockPause);
    }
    Send(LampCode::ModeSoundList);
    PacedWait(SoundPause);
    for (qsizetype i = 0; i < sounds.size(); ++i) {
        if (i == 20 || i == 40 || i == 60) {
            PacedWait(BlockPause);
            Send(LampCode::NextSoundBlock);
            PacedWait(SoundPause);
        }
        Send(static_cast<quint8>(sounds.at(i)));
        Advance();
        PacedWait(SoundPause);
    }
    EndSequence(LampCode::CloseLightAndSound);
}

void TLampTransfer::EndSequence(quint8 closing)
{
    PacedWait(EndPause);
    Send(LampCode::ProgramEnd);
    PacedWait(EndPause);
    Send(closing);
    m_progress.EndTransfer();
}
