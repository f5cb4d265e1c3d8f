#include "RawClient.h"

#include <QtEndian>

QByteArray Frame(vtproto::Request type, const WireWriter& body, std::uint32_t sequence)
{
    WireWriter w;
    w.U8(static_cast<std::uint8_t>(type));
    w.U32(sequence);
    QByteArray payload = w.Payload() + body.Payload();
    QByteArray out(4, Qt::Uninitialized);
    qToBigEndian(static_cast<std::uint32_t>(payload.size()), out.data());
    return out + payload;
}

QByteArray Hello(std::uint16_t version)
{
    WireWriter w;
    w.U32(vtproto::kMagic);
    w.U16(version);
    return Frame(vtproto::Request::Hello, w);
}

RawClient::RawClient(quint16 port)
{
    m_socket.connectToHost(QHostAddress::LocalHost, port);
    m_socket.waitForConnected(5000);
}

void RawClient::Send(const QByteArray& bytes)
{
    m_socket.write(bytes);
    m_socket.waitForBytesWritten(5000);
}

int RawClient::Reply(QByteArray* body, int ms)
{
    while (m_socket.bytesAvailable() < 4)
        if (!m_socket.waitForReadyRead(ms))
            return -1;
    const auto length = qFromBigEndian<std::uint32_t>(m_socket.peek(4).constData());
    while (m_socket.bytesAvailable() < 4 + length)
        if (!m_socket.waitForReadyRead(ms))
            return -1;
    m_socket.read(4);
    const QByteArray payload = m_socket.read(length);
    if (body)
        *body = payload.mid(6);
    return payload.size() >= 6 ? static_cast<std::uint8_t>(payload[5]) : -1;
}

bool RawClient::Closed(int ms)
{
    return m_socket.state() == QAbstractSocket::UnconnectedState || m_socket.waitForDisconnected(ms);
}
