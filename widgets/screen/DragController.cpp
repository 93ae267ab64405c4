#include "DragController.h"

#include "Image.h"

#include <QApplication>
#include <QBitmap>
#include <QCoreApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace {

const QString MimeType = QStringLiteral("application/x-lk72-drag-control");

} // namespace

TDragObj::TDragObj(TDragController &controller, QWidget *control)
    : m_controller(controller)
    , m_control(control)
{
}

bool TDragObj::Execute()
{
    if (!m_control)
        return false;
    auto *drag = new QDrag(m_control);
    drag->setMimeData(TDragController::MimeFor(m_control).release());
    if (!m_controller.DragImage().isNull()) {
        drag->setPixmap(m_controller.DragImage());
        drag->setHotSpot(m_controller.HotSpot());
    }
    return drag->exec(Qt::CopyAction, Qt::CopyAction) == Qt::CopyAction;
}

void TDragPress::Press(Qt::MouseButton button, QPoint at)
{
    if (button != Qt::LeftButton)
        return;
    m_point = at;
    m_pressed = true;
}

bool TDragPress::MovedPastThreshold(QPoint at)
{
    if (!m_pressed)
        return false;
    const int threshold = QApplication::startDragDistance();
    const QPoint moved = at - m_point;
    if (qAbs(moved.x()) <= threshold && qAbs(moved.y()) <= threshold)
        return false;
    // The platform drag takes the mouse from here on; the release never
    // reaches the picture.
    m_pressed = false;
    return true;
}

TDragController::TDragController(QObject *parent)
    : QObject(parent)
{
}

TDragController::~TDragController() = default;

bool TDragController::RunDrag(QWidget *control, const QPixmap &picture, QPoint hotSpot)
{
    SetDragImage(picture, Qt::white, hotSpot);
    TDragObj &drag = CreateDragObject(control);
    try {
        const bool dropped = drag.Execute();
        EndDrag();
        return dropped;
    } catch (...) {
        // A drag object left behind would refuse every later drag.
        EndDrag();
        throw;
    }
}

void TDragController::SetDragImage(const QPixmap &bitmap, const QColor &transparent, QPoint hotSpot)
{
    m_image = bitmap;
    if (!m_image.isNull())
        m_image.setMask(m_image.createMaskFromColor(transparent, Qt::MaskInColor));
    m_hotSpot = hotSpot;
}

TDragObj &TDragController::CreateDragObject(QWidget *control)
{
    if (m_current)
        throw TDragAssertion("Assertion failed (DragController.cpp, line 100)");
    m_current = std::make_unique<TDragObj>(*this, control);
    m_dragging = true;
    Q_EMIT DragStarted(control);
    return *m_current;
}

void TDragController::EndDrag()
{
    m_current.reset();
    m_image = QPixmap();
    m_dragging = false;
}

void TDragController::AcceptDropsOn(QWidget *target, AcceptFn accepts, DropFn dropped)
{
    target->setAcceptDrops(true);
    target->installEventFilter(this);
    m_targets.push_back({target, std::move(accepts), std::move(dropped)});
}

std::unique_ptr<QMimeData> TDragController::MimeFor(const QWidget *control)
{
    auto mime = std::make_unique<QMimeData>();
    // The process id keeps a drag from another copy of the program out.
    const QString payload = QString::number(QCoreApplication::applicationPid()) + u':' + control->objectName();
    mime->setData(MimeType, payload.toUtf8());
    return mime;
}

QString TDragController::ControlNameOf(const QMimeData *mime)
{
    if (!mime || !mime->hasFormat(MimeType))
        return QString();
    const QString payload = QString::fromUtf8(mime->data(MimeType));
    const qsizetype colon = payload.indexOf(u':');
    if (colon < 0 || payload.left(colon) != QString::number(QCoreApplication::applicationPid()))
        return QString();
    return payload.mid(colon + 1);
}

const TDragController::Target *TDragController::FindTarget(QObject *watched) const
{
    for (const Target &t : m_targets)
        if (t.widget == watched)
            return &t;
    return nullptr;
}

bool TDragController::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && m_held) {
        if (const Target *target = FindTarget(watched))
            return HeldKey(target->widget, static_cast<QKeyEvent *>(event));
    }
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    const Target *target = FindTarget(watched);
    if (!target)
        return QObject::eventFilter(watched, event);

    auto *drop = static_cast<QDropEvent *>(event);
    const QString name = ControlNameOf(drop->mimeData());
    const bool accepted = !name.isEmpty() && (!target->accepts || target->accepts(name));
    const QPoint at = drop->position().toPoint();
    if (type == QEvent::Drop) {
        if (accepted) {
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            if (target->dropped)
                target->dropped(name, at);
        } else {
            drop->ignore();
        }
        return true;
    }
    Q_EMIT OnDragMove(accepted, at.x(), at.y());
    if (accepted) {
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
    } else {
        drop->ignore();
    }
    return true;
}

std::vector<QWidget *> TDragController::TargetsTaking(const QString &chipName) const
{
    std::vector<QWidget *> found;
    for (const Target &t : m_targets)
        if (t.widget && t.widget->isVisible() && t.widget->isEnabled() && (!t.accepts || t.accepts(chipName)))
            found.push_back(t.widget);
    return found;
}

void TDragController::PickUp(QWidget *chip)
{
    if (!chip || m_dragging)
        return;
    if (m_held)
        EndHold(false);
    const std::vector<QWidget *> targets = TargetsTaking(chip->objectName());
    if (targets.empty())
        return;
    // After a placement the next place is the one after it, so a row of
    // slots fills by picking the same block again and again.
    QWidget *first = targets.front();
    const auto last = std::find(targets.begin(), targets.end(), m_lastPlaced.data());
    if (last != targets.end() && std::next(last) != targets.end())
        first = *std::next(last);
    m_held = chip;
    if (auto *image = qobject_cast<TImage *>(chip))
        image->SetHeld(true);
    first->setFocus(Qt::OtherFocusReason);
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this,
                           [this](QWidget *, QWidget *now) { FocusMoved(now); });
    Q_EMIT Picked(chip);
}

void TDragController::PutBack()
{
    EndHold(true);
}

bool TDragController::HeldKey(QWidget *target, const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        MoveHeld(target, event->key());
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            PlaceHeld(target);
        return true;
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        PutBack();
        return true;
    default:
        // A function key (a page change) goes on; where the keyboard goes
        // then decides whether the chip stays held.
        return false;
    }
}

void TDragController::PlaceHeld(QWidget *target)
{
    const Target *found = FindTarget(target);
    QWidget *chip = m_held;
    if (!found || !chip)
        return;
    const QString name = chip->objectName();
    const DropFn dropped = found->dropped;
    m_lastPlaced = target;
    // The keyboard is back on the chip before the drop runs: a message box
    // the drop shows hands it back there when it closes.
    EndHold(true);
    if (dropped)
        dropped(name, target->rect().center());
    Q_EMIT Placed(chip, target);
}

void TDragController::MoveHeld(QWidget *from, int key)
{
    const std::vector<QWidget *> targets = TargetsTaking(m_held->objectName());
    const auto centre = [](const QWidget *w) { return w->mapTo(w->window(), w->rect().center()); };
    const QPoint here = centre(from);
    QWidget *best = nullptr;
    int bestScore = std::numeric_limits<int>::max();
    for (QWidget *t : targets) {
        if (t == from)
            continue;
        const QPoint d = centre(t) - here;
        // Distance along the arrow, with straying sideways counted double,
        // so Right stays in the row and Down in the column when it can.
        int along = 0;
        int aside = 0;
        switch (key) {
        case Qt::Key_Right: along = d.x(); aside = d.y(); break;
        case Qt::Key_Left: along = -d.x(); aside = d.y(); break;
        case Qt::Key_Down: along = d.y(); aside = d.x(); break;
        default: along = -d.y(); aside = d.x(); break;
        }
        if (along <= 0)
            continue;
        const int score = along + 2 * std::abs(aside);
        if (score < bestScore) {
            bestScore = score;
            best = t;
        }
    }
    if (!best) {
        // At the edge, Right and Down go on to the next place in order
        // (the next row's first slot), Left and Up back, round at the ends.
        const auto at = std::find(targets.begin(), targets.end(), from);
        if (at == targets.end() || targets.size() < 2)
            return;
        const auto index = static_cast<size_t>(at - targets.begin());
        const bool forward = key == Qt::Key_Right || key == Qt::Key_Down;
        best = targets[(index + (forward ? 1 : targets.size() - 1)) % targets.size()];
    }
    best->setFocus(Qt::OtherFocusReason);
}

void TDragController::FocusMoved(QWidget *now)
{
    if (!m_held)
        return;
    for (const Target &t : m_targets)
        if (t.widget && t.widget == now)
            return;
    // The pupil went elsewhere (a click, another page): the chip goes back
    // without taking the keyboard from where it went.
    EndHold(false);
}

void TDragController::EndHold(bool backToChip)
{
    disconnect(m_focusWatch);
    QPointer<QWidget> chip = m_held;
    m_held = nullptr;
    if (auto *image = qobject_cast<TImage *>(chip.data()))
        image->SetHeld(false);
    if (backToChip && chip)
        chip->setFocus(Qt::OtherFocusReason);
}
