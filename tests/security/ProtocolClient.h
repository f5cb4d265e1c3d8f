#pragma once

#include "toolkit/protocol/Protocol.h"
#include "toolkit/protocol/WireWriter.h"

#include <QHostAddress>
#include <QTcpSocket>

// A client of the runtime speaking the wire protocol by hand, so that tests can
// send what the toolkit never would. Every wait is bounded.
class ProtocolClient
{
public:
    explicit ProtocolClient(quint16 port, const QHostAddress& host = QHostAddress(QHostAddress::LocalHost));

    bool Connected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    // Sends one request without waiting for its reply.
    void Send(vtproto::Request type, const WireWriter& body = WireWriter());
    // The status of the next reply and its body; -1 when none came in time.
    int Reply(QByteArray* body = nullptr, int waitMs = 10000);
    int Call(vtproto::Request type, const WireWriter& body = WireWriter(), QByteArray* reply = nullptr);

    // Conveniences for the handshake and the login.
    int Hello(bool* loginRequired = nullptr);
    // The SCRAM exchange; the status of its last reply.
    int Login(const QString& user, const QString& password);
    // The first round of it, then the proof sent without waiting for the
    // answer; false when the first round failed.
    bool SendLoginProof(const QString& user, const QString& password);

    bool Closed(int waitMs = 5000);

private:
    QTcpSocket m_socket;
    std::uint32_t m_sequence = 0;
};
