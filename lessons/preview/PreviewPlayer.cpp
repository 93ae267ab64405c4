#include "PreviewPlayer.h"

#include "CommandCodes.h"

QList<int> TPreviewPlayer::PlayableSteps(const QStringList &expanded)
{
    QList<int> steps;
    for (const QString &entry : expanded) {
        bool ok = false;
        const int code = entry.trimmed().toInt(&ok, 10);
        if (ok && (LampCode::IsColourStep(code) || code == LampCode::WaitForInput))
            steps.append(code);
    }
    return steps;
}

QString TPreviewPlayer::StartPicture()
{
    return QStringLiteral("picture\\Pre\\start.bmp");
}

QString TPreviewPlayer::BackgroundPicture()
{
    return QStringLiteral("picture\\Pre\\Base.bmp");
}

QString TPreviewPlayer::WaitPicture(int phase)
{
    return phase == 0 ? QStringLiteral("picture\\Pre\\96.bmp") : QStringLiteral("picture\\Pre\\96-1.bmp");
}

QString TPreviewPlayer::ColourPicture(int code)
{
    const int colour = LampCode::ColourNumber(LampCode::StepColour(code));
    return QStringLiteral("picture\\Pre\\%1.bmp").arg(LampCode::ColourStepBase + 8 * colour);
}

bool TPreviewPlayer::Play(const QStringList &expanded)
{
    QList<int> steps = PlayableSteps(expanded);
    if (steps.isEmpty())
        return false;
    m_steps = std::move(steps);
    m_index = 0;
    m_phase = 0;
    m_number = 0;
    m_picture = StartPicture();
    m_pictureVisible = true;
    m_fadeVisible = true;
    // A play stopped in the middle of a fade left its blend in the fade area;
    // a new play starts from the unlit lamp.
    ShowBackground();
    m_interval = StartIntervalMs;
    m_playing = true;
    return true;
}

void TPreviewPlayer::Stop()
{
    m_playing = false;
    m_pictureVisible = false;
    m_fadeVisible = false;
    m_steps.clear();
    m_index = 0;
    m_phase = 0;
}

void TPreviewPlayer::Tick()
{
    if (!m_playing)
        return;
    if (m_index >= m_steps.size()) {
        Stop();
        return;
    }
    const int code = m_steps.at(m_index);
    if (code == LampCode::WaitForInput) {
        TickWait();
        return;
    }
    switch (LampCode::StepVariant(code)) {
    case LampCode::VariantFadeIn:
        TickFadeIn(code);
        break;
    case LampCode::VariantFadeOut:
        TickFadeOut(code);
        break;
    default:
        TickTimed(code);
        break;
    }
}

void TPreviewPlayer::ShowStep(const QString &picture)
{
    m_picture = picture;
    m_number = m_index + 1;
}

void TPreviewPlayer::ShowBackground()
{
    m_fadePicture.clear();
    m_fadeOpacity = 0;
}

void TPreviewPlayer::TickTimed(int code)
{
    ShowStep(ColourPicture(code));
    ++m_index;
    m_pictureVisible = true;
    ShowBackground();
    const int variant = LampCode::StepVariant(code);
    m_interval = variant == LampCode::VariantHalfSecond ? HalfSecondMs : variant * 1000;
}

void TPreviewPlayer::SetUpFade(int code)
{
    ShowStep(ColourPicture(code));
    m_interval = FadeIntervalMs;
    m_fadeVisible = true;
    m_pictureVisible = false;
    // The fade area keeps what it shows until the first blend of this fade.
}

void TPreviewPlayer::EndFade()
{
    m_phase = 0;
    ++m_index;
}

void TPreviewPlayer::TickFadeIn(int code)
{
    if (m_phase == 0) {
        SetUpFade(code);
        m_phase = FadeOpacityStep;
    } else if (m_phase < FadeOpacityFull) {
        m_phase += FadeOpacityStep;
        m_fadePicture = ColourPicture(code);
        m_fadeOpacity = m_phase;
    } else {
        EndFade();
    }
}

void TPreviewPlayer::TickFadeOut(int code)
{
    // The lamp holds the previous picture for one more tick at the interval
    // then in force before it starts to fade; the preview shows the same.
    if (m_phase == 0) {
        m_phase = FadeOpacityFull;
    } else if (m_phase == FadeOpacityFull) {
        SetUpFade(code);
        m_phase = FadeOpacityFull - FadeOpacityStep;
    } else if (m_phase > FadeOpacityStep) {
        m_phase -= FadeOpacityStep;
        m_fadePicture = ColourPicture(code);
        m_fadeOpacity = m_phase;
    } else {
        EndFade();
    }
}

void TPreviewPlayer::TickWait()
{
    // The first two phases change the picture but not whether it is shown:
    // after a fade the faded colour stays in view until phase 2.
    switch (m_phase) {
    case 0:
        ShowStep(WaitPicture(0));
        m_interval = WaitIntervalMs;
        m_phase = 1;
        break;
    case 1:
        m_picture = WaitPicture(1);
        m_phase = 2;
        break;
    default:
        ++m_index;
        m_pictureVisible = true;
        ShowBackground();
        m_phase = 0;
        break;
    }
}
