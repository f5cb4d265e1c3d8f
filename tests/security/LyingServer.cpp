#include "LyingServer.h"

#include "toolkit/protocol/WireWriter.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtEndian>

#include <chrono>
#include <memory>

LyingServer::LyingServer(Script script, bool hangUp) : m_script(std::move(script)), m_hangUp(hangUp)
{
    std::atomic<bool> listening{false};
    m_thread = std::thread([this, &listening] {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        m_port = server.serverPort();
        listening = true;
        // Polled, so that the destructor can stop a server nobody called.
        while (!m_stop && !server.waitForNewConnection(50)) {}
        std::unique_ptr<QTcpSocket> client(server.nextPendingConnection());
        // Whether the whole of n bytes is there; false once stopped or closed.
        const auto arrived = [&](qint64 n) {
            while (client->bytesAvailable() < n) {
                if (m_stop || (!client->waitForReadyRead(50) && client->state() != QAbstractSocket::ConnectedState))
                    return false;
            }
            return true;
        };
        while (client && arrived(vtproto::kHeaderSize)) {
            const auto length = qFromBigEndian<std::uint32_t>(client->peek(vtproto::kHeaderSize).constData());
            if (length < 5 || !arrived(vtproto::kHeaderSize + length))
                return;
            const QByteArray head = client->read(vtproto::kHeaderSize + 5);
            client->read(length - 5); // the toolkit's requests themselves do not matter here
            const auto type = static_cast<vtproto::Request>(head[4]);
            const QByteArray answer = m_script(type, qFromBigEndian<std::uint32_t>(head.constData() + 5));
            if (answer.isEmpty())
                return;
            client->write(answer);
            client->waitForBytesWritten(1000);
            if (m_hangUp)
                return;
        }
    });
    while (!listening)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LyingServer::~LyingServer()
{
    m_stop = true;
    m_thread.join();
}

QByteArray LyingServer::Frame(const QByteArray& payload)
{
    QByteArray frame(vtproto::kHeaderSize, Qt::Uninitialized);
    qToBigEndian(static_cast<std::uint32_t>(payload.size()), frame.data());
    return frame + payload;
}

QByteArray LyingServer::Honest(vtproto::Request type, std::uint32_t sequence, const QByteArray& body,
                               vtproto::Status status)
{
    WireWriter w;
    w.U8(static_cast<std::uint8_t>(type) | vtproto::kReplyBit);
    w.U32(sequence);
    w.U8(static_cast<std::uint8_t>(status));
    return Frame(w.Payload() + body);
}

QByteArray LyingServer::Greeting()
{
    WireWriter w;
    w.U16(vtproto::kVersion);
    w.U8(0);
    w.U32(2000);
    return w.Payload();
}
