#pragma once

#include <QAccessible>
#include <QLabel>
#include <QPoint>

// A picture control of the screens: shows one picture, optionally stretched,
// reports clicks and mouse movement, and (as a picture button) takes the
// pressed look: 2 pixels right and down while the mouse button is held.
//
// Given a role a pupil can use (button, list item, cell, check box, radio
// button) it is a control for the keyboard too: Tab reaches it, a ring round
// its picture shows the focus, and Space or Enter acts as a click does.
// Assistive technology reads its name (the short part of a "short|long"
// hint unless an accessible name is set) and the long part as description.
class TImage : public QLabel {
    Q_OBJECT
public:
    explicit TImage(QWidget *parent = nullptr, const QString &objectName = QString());

    // Loads through the asset resolver; throws TLoadError when the file is
    // missing or broken (the screen's creation reports it). A control not
    // shown yet decodes the picture when first shown or asked for it, so a
    // page or window nobody has opened costs neither the time nor the memory.
    void LoadPicture(const QString &relativePath);
    // The picture shown, decoded first if it is still waiting.
    QPixmap pixmap();
    // The picture loaded but not decoded yet, or empty.
    const QString &WaitingPicture() const { return m_waitingPicture; }
    // The waiting picture, decoded elsewhere (on another thread meanwhile).
    void ShowDecodedPicture(const QImage &decoded);
    void SetPicture(const QPixmap &pixmap);
    // A picture for a screen of the given pixel ratio: above 1 the twice as
    // large "name@2x.ext" beside it when there is one, else the plain one.
    static QPixmap ScreenPixmap(const QString &relativePath, qreal ratio);
    static QImage ScreenImage(const QString &relativePath, qreal ratio);
    const QString &PicturePath() const { return m_picturePath; }

    void SetStretch(bool stretch) { setScaledContents(stretch); }
    void SetPressedLook(bool on) { m_pressedLook = on; }
    bool PressedLook() const { return m_pressedLook; }
    bool IsPressed() const { return m_pressed; }

    // The hint shown in the hint area: "short|long" shows the long part.
    void SetHint(const QString &hint);
    QString Hint() const { return m_hint; }

    // What the control is to the keyboard and to assistive technology;
    // Graphic (the default) for a picture nobody operates.
    void SetRole(QAccessible::Role role);
    QAccessible::Role Role() const { return m_role; }
    bool Operable() const;
    // The name and description assistive technology reads.
    QString AccessibleCaption() const;
    QString AccessibleHelp() const;

    // A palette chip: Space or Enter picks it up (PickUp) instead of clicking.
    void SetPicksUp(bool picksUp) { m_picksUp = picksUp; }
    bool PicksUp() const { return m_picksUp; }
    // What Space or Enter (or a screen reader's press) does: PickUp for a chip, else Click.
    void Activate();
    // Shown picked up, on its way to a place.
    void SetHeld(bool held);
    bool IsHeld() const { return m_held; }

    // Lets mouse events fall through to what lies below.
    void SetIgnoresMouse(bool ignore) { setAttribute(Qt::WA_TransparentForMouseEvents, ignore); }

    // The long part of a hint: after the first "|", or the whole hint.
    static QString LongHint(const QString &hint);

Q_SIGNALS:
    void Click();
    void MouseDown(Qt::MouseButton button, QPoint pos);
    void MouseMove(Qt::MouseButtons buttons, QPoint pos);
    void MouseUp(Qt::MouseButton button, QPoint pos);
    void PickUp();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void DecodeWaitingPicture();

    QString m_picturePath;
    QString m_waitingPicture;  // loaded but not decoded yet
    QString m_hint;
    bool m_pressedLook = false;
    bool m_pressed = false;
    QAccessible::Role m_role = QAccessible::Graphic;
    bool m_picksUp = false;
    bool m_held = false;
};
