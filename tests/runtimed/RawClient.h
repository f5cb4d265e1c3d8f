#pragma once

#include "toolkit/protocol/Protocol.h"
#include "toolkit/protocol/WireWriter.h"

#include <QByteArray>
#include <QTcpSocket>

// One request frame: length prefix, type, sequence, body.
QByteArray Frame(vtproto::Request type, const WireWriter& body, std::uint32_t sequence = 1);
QByteArray Hello(std::uint16_t version = vtproto::kVersion);

// A blocking test client of the runtime's wire protocol; every wait is bounded.
class RawClient
{
public:
    explicit RawClient(quint16 port);
    void Send(const QByteArray& bytes);
    // The status of the next reply, or -1 when none came within `ms`.
    int Reply(QByteArray* body = nullptr, int ms = 5000);
    bool Closed(int ms = 5000);
    QTcpSocket& Socket() { return m_socket; }

private:
    QTcpSocket m_socket;
};
