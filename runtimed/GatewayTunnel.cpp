#include "GatewayTunnel.h"

#include "TunnelRequest.h"

#include <QTcpSocket>

#include <algorithm>

GatewayTunnel::GatewayTunnel(QTcpSocket* client, const SessionLimits& limits, QObject* parent)
    : QObject(parent)
    , m_client(client)
    , m_runtime(new QTcpSocket(this))
    , m_limits(limits)
{
    m_client->setParent(this);
    // Bounded buffers on both sides: a side that stops reading slows the other
    // through TCP instead of filling the gateway's memory.
    m_client->setReadBufferSize(kSocketReadBufferBytes);
    m_runtime->setReadBufferSize(kSocketReadBufferBytes);
    m_clock.start();
    connect(m_client, &QTcpSocket::readyRead, this, &GatewayTunnel::Pump);
    connect(m_runtime, &QTcpSocket::readyRead, this, &GatewayTunnel::Pump);
    connect(m_client, &QTcpSocket::bytesWritten, this, &GatewayTunnel::Pump);
    connect(m_runtime, &QTcpSocket::bytesWritten, this, &GatewayTunnel::Pump);
    connect(m_runtime, &QTcpSocket::connected, this, &GatewayTunnel::Connected);
    connect(m_client, &QTcpSocket::disconnected, this, &GatewayTunnel::Close);
    connect(m_client, &QTcpSocket::errorOccurred, this, &GatewayTunnel::Close);
    connect(m_runtime, &QTcpSocket::disconnected, this, &GatewayTunnel::Close);
    connect(m_runtime, &QTcpSocket::errorOccurred, this, [this] {
        if (m_phase == Phase::Connecting)
            Refuse("502 Bad Gateway");
        else
            Close();
    });
    connect(&m_watchdog, &QTimer::timeout, this, &GatewayTunnel::CheckDeadlines);
    m_watchdog.start(m_limits.WatchdogMs());
}

void GatewayTunnel::Pump()
{
    if (m_phase == Phase::ReadingHead)
        ReadHead();
    if (m_phase != Phase::Relaying)
        return;
    Relay(m_client, m_runtime);
    Relay(m_runtime, m_client);
}

void GatewayTunnel::ReadHead()
{
    // Never beyond the head's bound: what follows it is the runtime's.
    m_head += m_client->read(TunnelRequest::kMaxHeadBytes + 1 - m_head.size());
    HostPort target;
    qsizetype headLength = 0;
    switch (TunnelRequest::Parse(m_head, target, headLength)) {
    case TunnelRequest::Result::Incomplete: return;
    case TunnelRequest::Result::Invalid: Refuse("400 Bad Request"); return;
    case TunnelRequest::Result::Valid: break;
    }
    m_head.remove(0, headLength); // bytes the client sent early, for the runtime
    m_phase = Phase::Connecting;
    m_lastTraffic = m_clock.elapsed();
    m_runtime->connectToHost(target.host, static_cast<quint16>(target.port));
}

void GatewayTunnel::Connected()
{
    m_phase = Phase::Relaying;
    m_client->write("HTTP/1.1 200 Connection established\r\n\r\n");
    m_runtime->write(m_head);
    m_head.clear();
    m_lastTraffic = m_clock.elapsed();
    Pump();
}

void GatewayTunnel::Refuse(const QByteArray& status)
{
    if (m_phase == Phase::Closed)
        return;
    m_client->write("HTTP/1.1 " + status + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    Close();
}

void GatewayTunnel::Relay(QTcpSocket* from, QTcpSocket* to)
{
    while (m_phase == Phase::Relaying && from->bytesAvailable() > 0 && to->bytesToWrite() < m_limits.highWater) {
        const QByteArray chunk = from->read(kSocketReadChunkBytes);
        if (chunk.isEmpty())
            return;
        to->write(chunk);
        m_lastTraffic = m_clock.elapsed();
    }
}

void GatewayTunnel::CheckDeadlines()
{
    const qint64 quiet = m_clock.elapsed() - m_lastTraffic;
    const bool late = m_phase != Phase::Relaying && quiet > m_limits.ioMs;
    const bool idle = m_phase == Phase::Relaying && quiet > m_limits.idleMs;
    if (late)
        Refuse(m_phase == Phase::Connecting ? "504 Gateway Timeout" : "408 Request Timeout");
    else if (idle)
        Close();
}

void GatewayTunnel::Close()
{
    if (m_phase == Phase::Closed)
        return;
    // What one side said last still reaches the other, as far as the kernel takes it.
    if (m_phase == Phase::Relaying) {
        m_client->write(m_runtime->readAll());
        m_runtime->write(m_client->readAll());
    }
    m_phase = Phase::Closed;
    m_watchdog.stop();
    m_client->flush();
    m_runtime->flush();
    m_client->abort();
    m_runtime->abort();
    emit Finished(this);
}
