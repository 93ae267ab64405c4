#include "LampDecoder.h"

namespace {

QString Join(const QList<int> &codes)
{
    QStringList parts;
    for (int c : codes)
        parts << QString::number(c);
    return parts.join(u' ');
}

} // namespace

QString TLampDecoder::Unit::LogLine() const
{
    switch (kind) {
    case DirectLight: return QStringLiteral("direct-light %1").arg(codes.value(0));
    case DirectSound: return QStringLiteral("direct-sound %1").arg(codes.value(0));
    case LightProgram: return QStringLiteral("light-program ") + Join(codes);
    case LightSound:
        return QStringLiteral("light-sound light %1 sound %2")
            .arg(lightList.isEmpty() ? QStringLiteral("none") : Join(lightList), Join(codes));
    case Execute: return QStringLiteral("execute %1").arg(codes.value(0));
    case Unmeasured: return QStringLiteral("unmeasured ") + text;
    case Warning: break;
    }
    return QStringLiteral("warning ") + text;
}

void TLampDecoder::Reset()
{
    m_state = State::Idle;
    m_mode = 0;
    m_codes.clear();
    m_light.clear();
}

void TLampDecoder::Warn(QList<Unit> &out, const QString &text)
{
    Unit unit;
    unit.kind = Unit::Warning;
    unit.text = text;
    out.append(unit);
}

int TLampDecoder::RequiredPause() const
{
    switch (m_state) {
    case State::Idle: return 0;
    case State::DirectCode: return 40;
    case State::LightCodes: return 40;
    case State::LightEnd: return 40 + 200;
    case State::LightClose: return 200;
    case State::ColourList: return 100;
    case State::AfterColourList: return 100 + 300;
    case State::SoundCodes: return 100;
    case State::SoundBlockStart: return 100;
    case State::SoundEnd: return 100; // before 5 it is 400, checked where the byte is known
    case State::SoundClose: return 200;
    }
    return 0;
}

void TLampDecoder::StartIdle(int byte, QList<Unit> &out)
{
    switch (byte) {
    case 1:
    case 3:
        m_mode = byte;
        m_state = State::DirectCode;
        return;
    case 2:
        m_state = State::LightCodes;
        return;
    case 8:
        m_state = State::ColourList;
        return;
    case 4:
        m_state = State::SoundCodes;
        return;
    case 6:
    case 7:
    case 9: {
        Unit unit;
        unit.kind = Unit::Execute;
        unit.codes = {byte};
        out.append(unit);
        return;
    }
    default:
        Warn(out, QStringLiteral("byte %1 outside a frame").arg(byte));
    }
}

QList<TLampDecoder::Unit> TLampDecoder::Poll(qint64 nowMs)
{
    QList<Unit> out;
    if (m_state != State::Idle && m_last >= 0 && nowMs - m_last > kFrameTimeoutMs) {
        Warn(out, QStringLiteral("frame cut short"));
        Reset();
    }
    return out;
}

void TLampDecoder::JudgePause(qint64 gap, int byte, QList<Unit> &out)
{
    int required = RequiredPause();
    if (m_state == State::SoundEnd && byte == 5)
        required = 100 + 300;
    else if (m_state == State::SoundEnd && byte == 10)
        required = 100 + 200;
    if (required <= 0)
        return;
    if (gap + kRoundingMs >= required) {
        ++m_pausesSeen;
        return;
    }
    ++m_pausesShort;
    const QString text = QStringLiteral("pause of %1 ms before byte %2, at least %3 ms expected").arg(gap).arg(byte).arg(required);
    if (m_clock == Clock::Sender) {
        Warn(out, text);
        return;
    }
    Unit unit;
    unit.kind = Unit::Unmeasured;
    unit.text = text;
    out.append(unit);
}

QList<TLampDecoder::Unit> TLampDecoder::Feed(int byte, qint64 atMs)
{
    QList<Unit> out = Poll(atMs);
    const qint64 gap = m_last < 0 ? qint64(1) << 40 : atMs - m_last;
    m_last = atMs;

    JudgePause(gap, byte, out);

    switch (m_state) {
    case State::Idle:
        StartIdle(byte, out);
        break;
    case State::DirectCode: {
        Unit unit;
        unit.kind = m_mode == 1 ? Unit::DirectLight : Unit::DirectSound;
        unit.codes = {byte};
        out.append(unit);
        Reset();
        break;
    }
    case State::LightCodes:
        m_codes.append(byte);
        if (m_codes.size() == 20)
            m_state = State::LightEnd;
        break;
    case State::LightEnd:
        if (byte != 10) {
            Warn(out, QStringLiteral("byte %1 where the end byte 10 of a light program belongs").arg(byte));
            Reset();
            break;
        }
        m_state = State::LightClose;
        break;
    case State::LightClose:
        if (byte == 1) {
            Unit unit;
            unit.kind = Unit::LightProgram;
            unit.codes = m_codes;
            out.append(unit);
        } else {
            Warn(out, QStringLiteral("closing byte %1 after a light program, 1 expected").arg(byte));
        }
        Reset();
        break;
    case State::ColourList:
        m_light.append(byte);
        if (m_light.size() == 20)
            m_state = State::AfterColourList;
        break;
    case State::AfterColourList:
        if (byte != 4) {
            Warn(out, QStringLiteral("byte %1 after the light list, the mode byte 4 expected").arg(byte));
            Reset();
            break;
        }
        m_state = State::SoundCodes;
        break;
    case State::SoundCodes:
        m_codes.append(byte);
        if (m_codes.size() % 20 == 0)
            m_state = State::SoundEnd;
        break;
    case State::SoundBlockStart:
        m_codes.append(byte);
        m_state = State::SoundCodes;
        break;
    case State::SoundEnd:
        if (byte == 5 && m_codes.size() < 80) {
            m_state = State::SoundBlockStart;
        } else if (byte == 10) {
            m_state = State::SoundClose;
        } else {
            Warn(out, QStringLiteral("byte %1 after a block of 20 notes, 5 or 10 expected").arg(byte));
            Reset();
        }
        break;
    case State::SoundClose:
        if (byte == 2) {
            Unit unit;
            unit.kind = Unit::LightSound;
            unit.codes = m_codes;
            unit.lightList = m_light;
            out.append(unit);
        } else {
            Warn(out, QStringLiteral("closing byte %1 after a light-and-sound program, 2 expected").arg(byte));
        }
        Reset();
        break;
    }
    return out;
}
