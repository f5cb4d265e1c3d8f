#include "ProtocolClient.h"

#include "toolkit/protocol/ScramClient.h"
#include "toolkit/protocol/WireReader.h"

#include <QtEndian>

ProtocolClient::ProtocolClient(quint16 port, const QHostAddress& host)
{
    m_socket.connectToHost(host, port);
    m_socket.waitForConnected(5000);
}

void ProtocolClient::Send(vtproto::Request type, const WireWriter& body)
{
    WireWriter head;
    head.U8(static_cast<std::uint8_t>(type));
    head.U32(++m_sequence);
    const QByteArray payload = head.Payload() + body.Payload();
    QByteArray frame(vtproto::kHeaderSize, Qt::Uninitialized);
    qToBigEndian(static_cast<std::uint32_t>(payload.size()), frame.data());
    m_socket.write(frame + payload);
    m_socket.waitForBytesWritten(5000);
}

int ProtocolClient::Reply(QByteArray* body, int waitMs)
{
    constexpr qint64 kReplyHead = 6; // type, sequence, status
    while (m_socket.bytesAvailable() < vtproto::kHeaderSize) {
        if (!m_socket.waitForReadyRead(waitMs))
            return -1;
    }
    const auto length = qFromBigEndian<std::uint32_t>(m_socket.peek(vtproto::kHeaderSize).constData());
    if (length < kReplyHead || length > vtproto::kMaxPayload)
        return -1;
    while (m_socket.bytesAvailable() < vtproto::kHeaderSize + length) {
        if (!m_socket.waitForReadyRead(waitMs))
            return -1;
    }
    m_socket.read(vtproto::kHeaderSize);
    const QByteArray payload = m_socket.read(length);
    if (body)
        *body = payload.mid(kReplyHead);
    return static_cast<std::uint8_t>(payload[kReplyHead - 1]);
}

int ProtocolClient::Call(vtproto::Request type, const WireWriter& body, QByteArray* reply)
{
    Send(type, body);
    return Reply(reply);
}

int ProtocolClient::Hello(bool* loginRequired)
{
    WireWriter w;
    w.U32(vtproto::kMagic);
    w.U16(vtproto::kVersion);
    QByteArray body;
    const int status = Call(vtproto::Request::Hello, w, &body);
    WireReader r(body);
    r.U16();
    const bool required = r.U8() != 0;
    if (loginRequired)
        *loginRequired = required;
    return status;
}

bool ProtocolClient::SendLoginProof(const QString& user, const QString& password)
{
    ScramClient scram(user, password, QByteArray());
    WireWriter first;
    first.Str(QString::fromUtf8(scram.ClientFirst()));
    QByteArray body;
    if (Call(vtproto::Request::Login, first, &body) != 0)
        return false;
    WireReader r(body);
    QByteArray clientFinal;
    if (!scram.ClientFinal(r.Str().toUtf8(), clientFinal))
        return false;
    WireWriter proof;
    proof.Str(QString::fromLatin1(clientFinal));
    Send(vtproto::Request::LoginProof, proof);
    return true;
}

int ProtocolClient::Login(const QString& user, const QString& password)
{
    return SendLoginProof(user, password) ? Reply() : -1;
}

bool ProtocolClient::Closed(int waitMs)
{
    return m_socket.state() == QAbstractSocket::UnconnectedState || m_socket.waitForDisconnected(waitMs);
}
