#include "ClientSession.h"

#include "LoginThrottle.h"
#include "RuntimeLog.h"
#include "toolkit/protocol/Protocol.h"

#include <QSslSocket>
#include <QtEndian>

#include <algorithm>

ClientSession::ClientSession(QTcpSocket* socket, TagDatabase& tags, UserDatabase& users, LoginThrottle& throttle,
                             const SessionLimits& limits, const QByteArray& channelBinding, QObject* parent)
    : QObject(parent)
    , m_socket(socket)
    , m_handler(tags, users, limits.keepAliveMs, channelBinding)
    , m_throttle(throttle)
    , m_limits(limits)
{
    m_socket->setParent(this);
    // Qt would otherwise pull everything the client sends into memory, and a
    // client that stops reading could push without end.
    m_socket->setReadBufferSize(kSocketReadBufferBytes);
    m_clock.start();
    m_handler.ReplyLater(this, [this](const QByteArray& reply) { Resume(reply, false); });
    connect(m_socket, &QTcpSocket::readyRead, this, &ClientSession::Pump);
    const auto written = [this] {
        m_outputSince = Pending() > 0 ? m_clock.elapsed() : -1;
        Pump();
    };
    connect(m_socket, &QTcpSocket::bytesWritten, this, written);
    if (auto* tls = qobject_cast<QSslSocket*>(m_socket))
        connect(tls, &QSslSocket::encryptedBytesWritten, this, written);
    connect(m_socket, &QTcpSocket::disconnected, this, &ClientSession::Close);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &ClientSession::Close);
    connect(&m_watchdog, &QTimer::timeout, this, &ClientSession::CheckDeadlines);
    m_watchdog.start(m_limits.WatchdogMs());
    Pump();
}

void ClientSession::Pump()
{
    // While replies pile up unread, leave further requests in the kernel's
    // buffer: the client is then slowed down by TCP itself.
    while (!m_closed && !m_holding && Pending() < m_limits.highWater && ReadFrame()) {}
}

// Reads what is there of the current frame; true when a frame was handled and
// another may follow.
bool ClientSession::ReadFrame()
{
    if (m_expected < 0) {
        if (m_socket->bytesAvailable() < vtproto::kHeaderSize)
            return false;
        char header[vtproto::kHeaderSize];
        m_socket->read(header, sizeof header);
        const std::uint32_t length = qFromBigEndian<std::uint32_t>(header);
        // Checked before anything is allocated: a huge prefix costs nothing.
        if (length == 0 || length > vtproto::kMaxPayload) {
            qCWarning(lcRuntime, "closing a session: a frame of %u bytes", length);
            Close();
            return false;
        }
        m_expected = length;
        m_frame.clear();
        m_frameStart = m_clock.elapsed();
    }
    // Everything buffered, not one chunk: readyRead does not come again for
    // bytes that already arrived, and a large frame would wait out its time-out.
    while (m_frame.size() < m_expected && m_socket->bytesAvailable() > 0)
        m_frame += m_socket->read(std::min<qint64>(m_expected - m_frame.size(), kSocketReadChunkBytes));
    if (m_frame.size() < m_expected)
        return false;

    bool close = false;
    const int failuresBefore = m_handler.LoginFailures();
    const QByteArray reply = m_handler.Handle(m_frame, close);
    m_expected = -1;
    m_frameStart = -1;
    m_frame.clear();
    m_lastRequest = m_clock.elapsed();
    m_greeted = true;
    if (m_handler.Deferred()) {
        m_holding = true;
        return false;
    }
    if (m_handler.LoginFailures() > failuresBefore) {
        HoldReply(reply, close, m_throttle.Failed(m_socket->peerAddress()));
        return false;
    }
    SendReply(reply);
    if (close) {
        Close();
        return false;
    }
    if (Pending() > m_limits.maxPending) {
        Close();
        return false;
    }
    return true;
}

void ClientSession::SendReply(const QByteArray& reply)
{
    if (reply.isEmpty())
        return;
    QByteArray frame(vtproto::kHeaderSize, Qt::Uninitialized);
    qToBigEndian(static_cast<std::uint32_t>(reply.size()), frame.data());
    m_socket->write(frame + reply);
    if (m_outputSince < 0)
        m_outputSince = m_clock.elapsed();
}

void ClientSession::HoldReply(const QByteArray& reply, bool close, int delayMs)
{
    m_holding = true;
    // A precise timer: a coarse one may fire early, and the delay is the point.
    QTimer::singleShot(delayMs, Qt::PreciseTimer, this, [this, reply, close] { Resume(reply, close); });
}

void ClientSession::Resume(const QByteArray& reply, bool close)
{
    m_holding = false;
    if (m_closed)
        return;
    SendReply(reply);
    m_lastRequest = m_clock.elapsed();
    if (close)
        Close();
    else
        Pump();
}

void ClientSession::CheckDeadlines()
{
    const qint64 now = m_clock.elapsed();
    const bool handshakeLate = !m_greeted && now - m_lastRequest > m_limits.ioMs;
    const bool frameLate = m_frameStart >= 0 && now - m_frameStart > m_limits.ioMs;
    const bool idle = m_frameStart < 0 && now - m_lastRequest > m_limits.idleMs;
    const bool stalled = m_outputSince >= 0 && Pending() > 0 && now - m_outputSince > m_limits.ioMs;
    if (handshakeLate || frameLate || idle || stalled)
        Close();
}

qint64 ClientSession::Pending() const
{
    const auto* tls = qobject_cast<const QSslSocket*>(m_socket);
    return m_socket->bytesToWrite() + (tls ? tls->encryptedBytesToWrite() : 0);
}

void ClientSession::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_watchdog.stop();
    // A last reply (a refused handshake) goes to the kernel before the socket
    // closes; a client that stopped reading gets no more than fits there.
    m_socket->flush();
    m_socket->abort();
    emit Finished(this);
}
