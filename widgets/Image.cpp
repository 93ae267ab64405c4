#include "Image.h"

#include "AssetPath.h"
#include "PictureAccessible.h"
#include "LoadError.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <utility>

TImage::TImage(QWidget *parent, const QString &objectName)
    : QLabel(parent)
{
    if (!objectName.isEmpty())
        setObjectName(objectName);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    InstallPictureAccessibility();
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

void TImage::ShowDecodedPicture(const QImage &decoded)
{
    QPixmap pixmap = QPixmap::fromImage(decoded);
    pixmap.setDevicePixelRatio(decoded.devicePixelRatio());
    setPixmap(pixmap);
    m_waitingPicture.clear();
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
    const QImage image = ScreenImage(relativePath, ratio);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(image.devicePixelRatio());
    return pixmap;
}

QImage TImage::ScreenImage(const QString &relativePath, qreal ratio)
{
    // The lamp pictures of the previews are blended pixel by pixel with one
    // another and stay at their one size.
    const bool blended = relativePath.section(u'\\', -2, -2).compare(u"Pre", Qt::CaseInsensitive) == 0;
    const qsizetype dot = relativePath.lastIndexOf(u'.');
    if (ratio > 1.0 && !blended && dot > relativePath.lastIndexOf(u'\\')) {
        const QString large = QString(relativePath).insert(dot, QStringLiteral("@2x"));
        if (!ResolveAsset(large).isEmpty()) {
            QImage image = LoadAssetImage(large);
            image.setDevicePixelRatio(2.0);
            return image;
        }
    }
    return LoadAssetImage(relativePath);
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
    if (QAccessible::isActive()) {
        QAccessibleEvent named(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
        QAccessibleEvent described(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&described);
    }
}

void TImage::SetRole(QAccessible::Role role)
{
    m_role = role;
    // Tab reaches it; a click leaves the keyboard where it was, so a pupil
    // typing in an editor keeps typing there after pressing a button.
    setFocusPolicy(Operable() ? Qt::TabFocus : Qt::NoFocus);
}

bool TImage::Operable() const
{
    switch (m_role) {
    case QAccessible::Button:
    case QAccessible::ListItem:
    case QAccessible::Cell:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
        return true;
    default:
        return false;
    }
}

QString TImage::AccessibleCaption() const
{
    if (!accessibleName().isEmpty())
        return accessibleName();
    const qsizetype bar = m_hint.indexOf(u'|');
    return bar < 0 ? QString() : m_hint.left(bar);
}

QString TImage::AccessibleHelp() const
{
    return accessibleDescription().isEmpty() ? LongHint(m_hint) : accessibleDescription();
}

void TImage::Activate()
{
    if (!isEnabled())
        return;
    if (m_picksUp)
        Q_EMIT PickUp();
    else
        Q_EMIT Click();
}

void TImage::SetHeld(bool held)
{
    if (m_held == held)
        return;
    m_held = held;
    update();
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void TImage::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool acts = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!Operable() || !acts || event->isAutoRepeat() || (event->modifiers() & ~Qt::KeypadModifier)) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    Activate();
}

void TImage::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus() && !m_held)
        return;
    // The ring goes round the picture itself, which may be smaller than the
    // control (a centred block in a program slot), in colours that stand out
    // on light and dark pictures alike.
    QRect around = rect();
    const QPixmap shown = pixmap();
    if (!hasScaledContents() && !shown.isNull()) {
        const QSize size = (shown.deviceIndependentSize()).toSize().boundedTo(rect().size());
        around = QStyle::alignedRect(layoutDirection(), alignment(), size, rect());
    }
    QPainter painter(this);
    if (m_held) {
        painter.fillRect(around, QColor(255, 255, 255, 110));
        painter.setPen(QPen(QColor(0, 90, 200), 3, Qt::DashLine));
        painter.drawRect(around.adjusted(1, 1, -2, -2));
    }
    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 4));
        painter.drawRect(around.adjusted(2, 2, -2, -2));
        painter.setPen(QPen(QColor(255, 200, 0), 2));
        painter.drawRect(around.adjusted(2, 2, -3, -3));
    }
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
