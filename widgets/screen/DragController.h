#pragma once

#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

class QMimeData;
class QWidget;
class TDragController;

// A programming error of the drag machinery (a second drag object while one
// exists). The screens catch it with their other drag-start failures.
class TDragAssertion : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// The drag object of one dragged palette picture.
class TDragObj {
public:
    TDragObj(TDragController &controller, QWidget *control);

    QWidget *Control() const { return m_control; }
    TDragController &Controller() const { return m_controller; }

    // Runs the platform drag with the controller's picture under the pointer.
    // Returns when the picture was dropped or the drag cancelled; true for a
    // drop that a target accepted.
    bool Execute();

private:
    TDragController &m_controller;
    QPointer<QWidget> m_control;
};

// The press-and-move rule of a palette picture: a left press remembers the
// point; a move farther than the platform's drag threshold in x or in y
// (QApplication::startDragDistance()) means "start the drag now".
//   chip MouseDown -> m_press.Press(button, at); MouseUp -> m_press.Release();
//   chip MouseMove -> if (m_press.MovedPastThreshold(at)) drag->RunDrag(chip, chip->pixmap(), m_press.Point());
class TDragPress {
public:
    void Press(Qt::MouseButton button, QPoint at);
    void Release() { m_pressed = false; }
    // True once per press, when the pointer has gone past the threshold.
    bool MovedPastThreshold(QPoint at);
    bool Pressed() const { return m_pressed; }
    QPoint Point() const { return m_point; }

private:
    QPoint m_point;
    bool m_pressed = false;
};

// Drags a palette picture with a copy of it (white shown as transparent)
// under the pointer, onto the targets a screen names.
//
// Usage (in a screen):
//   m_drag = new TDragController(this);
//   m_drag->AcceptDropsOn(Image5, [](const QString &) { return true; },
//                         [this](const QString &name, QPoint) { ... by name ... });
//   // on a move past QApplication::startDragDistance() after a press on a chip:
//   m_drag->RunDrag(chip, chip->pixmap(), pressPoint);   // or step by step:
//   m_drag->SetDragImage(chipPixmap, Qt::white, pressPoint);
//   TDragObj &obj = m_drag->CreateDragObject(chip); // throws TDragAssertion if one exists
//   obj.Execute();                                   // blocks until drop or cancel
//   m_drag->EndDrag();
// Everywhere but the named targets the pointer shows the no-drop cursor.
//
// The same targets take a chip placed by keys: PickUp(chip) holds it, the
// arrow keys move among the targets that take it, by their place on the
// screen, Enter or Space puts it there through the same drop function as a
// mouse drop, and Escape or Tab puts it back; the keyboard then returns to
// the chip.
class TDragController : public QObject {
    Q_OBJECT
public:
    using AcceptFn = std::function<bool(const QString &controlName)>;
    using DropFn = std::function<void(const QString &controlName, QPoint pos)>;

    explicit TDragController(QObject *parent = nullptr);
    ~TDragController() override;

    // The whole drag sequence: SetDragImage (white transparent), CreateDragObject,
    // the platform drag, EndDrag, also when something in between throws.
    // Returns whether a target took the drop.
    bool RunDrag(QWidget *control, const QPixmap &picture, QPoint hotSpot);

    // The picture that follows the pointer: `transparent` is made see-through
    // and `hotSpot` (a point of the picture) stays under the pointer.
    void SetDragImage(const QPixmap &bitmap, const QColor &transparent, QPoint hotSpot);
    const QPixmap &DragImage() const { return m_image; }
    QPoint HotSpot() const { return m_hotSpot; }

    // The drag object of `control`; a second one before EndDrag is a programming error.
    TDragObj &CreateDragObject(QWidget *control);
    void EndDrag();
    bool Dragging() const { return m_dragging; }
    TDragObj *CurrentDragObject() const { return m_current.get(); }

    // Lets `target` take drops of this program's drags when `accepts` says so.
    void AcceptDropsOn(QWidget *target, AcceptFn accepts, DropFn dropped);

    // Holds `chip` for placing by keys (nothing happens when no shown target takes it).
    void PickUp(QWidget *chip);
    // Puts the held chip back where it came from.
    void PutBack();
    QWidget *HeldChip() const { return m_held; }

    // The data a drag of `control` carries (a drop event made by a test uses it too).
    static std::unique_ptr<QMimeData> MimeFor(const QWidget *control);
    // The dragged control's name a drop carries, or empty when the data is not one of ours.
    static QString ControlNameOf(const QMimeData *mime);

Q_SIGNALS:
    // Over every drop target while dragging: whether it takes the drop, and
    // the pointer in the target's coordinates.
    void OnDragMove(bool accepted, int x, int y);
    // A drag object was made (the platform drag is about to run).
    void DragStarted(QWidget *control);
    // A chip was picked up by keys, and put down on `target`.
    void Picked(QWidget *chip);
    void Placed(QWidget *chip, QWidget *target);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool HeldKey(QWidget *target, const class QKeyEvent *event);
    void PlaceHeld(QWidget *target);
    void MoveHeld(QWidget *from, int key);
    void EndHold(bool backToChip);
    void FocusMoved(QWidget *now);
    std::vector<QWidget *> TargetsTaking(const QString &chipName) const;

    struct Target {
        QPointer<QWidget> widget;
        AcceptFn accepts;
        DropFn dropped;
    };
    const Target *FindTarget(QObject *watched) const;

    QPixmap m_image;
    QPoint m_hotSpot;
    std::unique_ptr<TDragObj> m_current;
    bool m_dragging = false;
    std::vector<Target> m_targets;
    QPointer<QWidget> m_held;
    QPointer<QWidget> m_lastPlaced;
    QMetaObject::Connection m_focusWatch;
};
