#include "ClassRequest.h"

#include <QTcpSocket>
#include <QTimer>
#include <memory>

TClassRequest::TClassRequest(const TClassMessage &request, TClassMessage::TKind expected, QObject *parent)
    : QObject(parent)
    , m_frame(request.Encode())
    , m_expected(expected)
{
}

void TClassRequest::Start(const QStringList &addresses)
{
    m_pending = static_cast<int>(addresses.size());
    if (m_pending == 0) {
        QTimer::singleShot(0, this, &TClassRequest::Finished);
        return;
    }
    for (const QString &address : addresses)
        Ask(address);
}

void TClassRequest::Ask(const QString &address)
{
    auto *socket = new QTcpSocket(this);
    auto reader = std::make_shared<TClassFrameReader>();
    auto done = std::make_shared<bool>(false);
    const auto finish = [this, socket, address, done](bool reached) {
        if (*done)
            return;
        *done = true;
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
        Done(address, reached);
    };
    connect(socket, &QTcpSocket::connected, socket, [socket, this] { socket->write(m_frame); });
    // Reads what has come; true once the connection's outcome is settled.
    const auto consume = [this, socket, reader, address, finish, done] {
        if (*done)
            return;
        const qint64 room = TClassMessage::HeaderBytes + TClassMessage::MaxBodyBytes + 1;
        const auto state = reader->Feed(socket->read(room));
        if (state == TClassFrameReader::TState::Bad) {
            finish(false);
        } else if (state == TClassFrameReader::TState::Done) {
            const bool expected = reader->Message()->kind == m_expected;
            if (expected)
                Q_EMIT Answered(address, *reader->Message());
            finish(expected);
        }
    };
    connect(socket, &QTcpSocket::readyRead, this, consume);
    // An answer and the closing can come together: the answer is read first.
    connect(socket, &QTcpSocket::disconnected, this, [consume, finish] {
        consume();
        finish(false);
    });
    connect(socket, &QTcpSocket::errorOccurred, this, [consume, finish](QAbstractSocket::SocketError) {
        consume();
        finish(false);
    });
    QTimer::singleShot(m_timeoutMs, socket, [finish] { finish(false); });
    if (!m_source.isNull())
        socket->bind(m_source);
    socket->connectToHost(QHostAddress(address), m_port);
}

void TClassRequest::Done(const QString &address, bool reached)
{
    (reached ? m_reached : m_missed).append(address);
    if (--m_pending == 0)
        Q_EMIT Finished();
}
