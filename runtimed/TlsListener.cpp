#include "TlsListener.h"

#include <QSslSocket>
#include <QTimer>

TlsListener::TlsListener(QObject* parent) : QTcpServer(parent)
{
}

void TlsListener::RequireTls(const QSslConfiguration& configuration, int ioMs, int maxHandshakes)
{
    m_configuration = configuration;
    m_ioMs = ioMs;
    m_maxHandshakes = maxHandshakes;
}

void TlsListener::incomingConnection(qintptr descriptor)
{
    if (!m_configuration) {
        QTcpServer::incomingConnection(descriptor);
        return;
    }
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor) || m_handshaking.size() >= m_maxHandshakes) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    socket->setSslConfiguration(*m_configuration);
    m_handshaking.insert(socket);
    connect(socket, &QSslSocket::readyRead, this, [this, socket] { Inspect(socket); });
    connect(socket, &QSslSocket::encrypted, this, [this, socket] { Admit(socket); });
    connect(socket, &QAbstractSocket::errorOccurred, this, [this, socket] { Drop(socket); });
    connect(socket, &QAbstractSocket::disconnected, this, [this, socket] { Drop(socket); });
    QTimer::singleShot(m_ioMs, socket, [this, socket] { Drop(socket); });
}

void TlsListener::Inspect(QSslSocket* socket)
{
    // Once the handshake has begun, Qt reads the socket itself.
    if (socket->mode() != QSslSocket::UnencryptedMode)
        return;
    char first = 0;
    // Peeked, not read: the bytes of a ClientHello must reach the handshake.
    if (socket->peek(&first, 1) != 1)
        return;
    constexpr char kHandshakeRecord = 0x16;
    if (first == kHandshakeRecord) {
        socket->startServerEncryption();
        return;
    }
    // Fatal alert "protocol version" in a TLS 1.2 record.
    static const char kAlert[] = {0x15, 0x03, 0x03, 0x00, 0x02, 0x02, 0x46};
    socket->write(kAlert, sizeof kAlert);
    socket->flush();
    Drop(socket);
}

void TlsListener::Admit(QSslSocket* socket)
{
    if (!m_handshaking.remove(socket))
        return;
    disconnect(socket, nullptr, this, nullptr);
    addPendingConnection(socket);
    emit newConnection();
}

void TlsListener::Drop(QSslSocket* socket)
{
    if (!m_handshaking.remove(socket))
        return;
    disconnect(socket, nullptr, this, nullptr);
    socket->abort();
    socket->deleteLater();
}
