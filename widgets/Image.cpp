#include "Image.h"

#include "AssetPath.h"
#include "LoadError.h"

#include <QMouseEvent>
#include <utility>

TImage::TImage(QWidget *parent, const QString &objectName)
    : QLabel(parent)
{
    if (!objectName.isEmpty())
        setObjectName(objectName);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TImage::LoadPicture(const QString &relativePath)
{
    if (isVisible()) {
        SetPicture(ScreenPixmap(relativePath, devicePixelRatioF()));
    } else {
        CheckAssetImage(relativePath);
        SetPicture(QPixmap());
        m_waitingPicture = relativePath;
    }
    m_picturePath = relativePath;
}

void TImage::DecodeWaitingPicture()
{
    if (m_waitingPicture.isEmpty())
        return;
    const QString path = std::exchange(m_waitingPicture, QString());
    try {
        setPixmap(ScreenPixmap(path, devicePixelRatioF()));
    } catch (const TLoadError &) {
        // Checked when it was loaded; a file taken away since shows nothing.
    }
}

QPixmap TImage::pixmap()
{
    DecodeWaitingPicture();
    return QLabel::pixmap();
}

void TImage::showEvent(QShowEvent *event)
{
    DecodeWaitingPicture();
    QLabel::showEvent(event);
}

QPixmap TImage::ScreenPixmap(const QString &relativePath, qreal ratio)
{
    // The lamp pictures of the previews are blended pixel by pixel with one
    // another and stay at their one size.
    const bool blended = relativePath.section(u'\\', -2, -2).compare(u"Pre", Qt::CaseInsensitive) == 0;
    const qsizetype dot = relativePath.lastIndexOf(u'.');
    if (ratio > 1.0 && !blended && dot > relativePath.lastIndexOf(u'\\')) {
        const QString large = QString(relativePath).insert(dot, QStringLiteral("@2x"));
        if (!ResolveAsset(large).isEmpty()) {
            QPixmap pixmap = LoadAssetPixmap(large);
            pixmap.setDevicePixelRatio(2.0);
            return pixmap;
        }
    }
    return LoadAssetPixmap(relativePath);
}

void TImage::SetPicture(const QPixmap &pixmap)
{
    m_picturePath.clear();
    m_waitingPicture.clear();
    setPixmap(pixmap);
}

void TImage::SetHint(const QString &hint)
{
    m_hint = hint;
    setStatusTip(LongHint(hint));
}

QString TImage::LongHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void TImage::mousePressEvent(QMouseEvent *event)
{
    if (m_pressedLook && event->button() == Qt::LeftButton && !m_pressed) {
        m_pressed = true;
        move(pos() + QPoint(2, 2));
    }
    Q_EMIT MouseDown(event->button(), event->position().toPoint());
    event->accept();
}

void TImage::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT MouseMove(event->buttons(), event->position().toPoint());
    event->accept();
}

void TImage::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = m_pressed;
    if (m_pressed && event->button() == Qt::LeftButton) {
        m_pressed = false;
        move(pos() - QPoint(2, 2));
    }
    const QPoint at = event->position().toPoint();
    Q_EMIT MouseUp(event->button(), at);
    // A click is a left press and release over the control; the control
    // moved 2 pixels meanwhile, so allow for that offset.
    if (event->button() == Qt::LeftButton) {
        const QRect area = rect().adjusted(-2, -2, 2, 2);
        if (area.contains(at) && (wasPressed || !m_pressedLook))
            Q_EMIT Click();
    }
    event->accept();
}
