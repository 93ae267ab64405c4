#include "InputSync.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QThread>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {

constexpr char kVariable[] = "LK72_INPUT_SYNC";
constexpr char kProperty[] = "LK72_SYNC";

quint32 InternAtom(xcb_connection_t *connection)
{
    const auto cookie = xcb_intern_atom(connection, 0, sizeof kProperty - 1, kProperty);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const quint32 atom = reply ? reply->atom : 0;
    std::free(reply);
    return atom;
}

} // namespace

bool TInputSync::Wanted()
{
    return !qEnvironmentVariableIsEmpty(kVariable) && qApp->nativeInterface<QNativeInterface::QX11Application>();
}

TInputSync::TInputSync(QObject *parent)
    : QObject(parent)
    , m_file(qEnvironmentVariable(kVariable))
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    m_atom = InternAtom(x11->connection());
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        qWarning("LK72_INPUT_SYNC: cannot write %s", qPrintable(m_file.fileName()));
    qApp->installNativeEventFilter(this);
    qApp->installEventFilter(this);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TInputSync::OnAboutToBlock);
}

TInputSync::~TInputSync()
{
    qApp->removeNativeEventFilter(this);
    qApp->removeEventFilter(this);
}

bool TInputSync::eventFilter(QObject *watched, QEvent *event)
{
    // Every key press passes its window first, whichever control takes it.
    if (event->type() == QEvent::KeyPress && watched->isWindowType())
        ++m_keyPresses;
    return false;
}

bool TInputSync::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY
        && reinterpret_cast<const xcb_property_notify_event_t *>(event)->atom == m_atom) {
        ++m_seen;
        m_quietPasses = 0;
    }
    return false;
}

void TInputSync::OnAboutToBlock()
{
    if (m_seen == m_answered)
        return;
    const bool takesInput = QThread::currentThread()->loopLevel() == 1 || QApplication::activeModalWidget();
    if (!takesInput) {
        m_quietPasses = 0;
        return;
    }
    // The input that came with the property change may still wait in the
    // window system's queue for one more pass of the loop before it is
    // delivered; answer only after a second quiet pass.
    if (++m_quietPasses < 2)
        return;
    m_quietPasses = 0;
    m_answered = m_seen;
    m_file.write(QByteArray("idle ") + QByteArray::number(m_seen) + " keys " + QByteArray::number(m_keyPresses)
                 + '\n');
}
