#include "DragController.h"

#include <QApplication>
#include <QBitmap>
#include <QCoreApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

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
