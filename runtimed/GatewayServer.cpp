#include "GatewayServer.h"

#include "GatewayTunnel.h"

#include <QTcpSocket>

GatewayServer::GatewayServer(const SessionLimits& limits, QObject* parent) : QObject(parent), m_limits(limits)
{
    connect(&m_server, &QTcpServer::newConnection, this, &GatewayServer::Accept);
}

bool GatewayServer::Listen(const QHostAddress& address, quint16 port, QString& error)
{
    if (m_server.listen(address, port))
        return true;
    error = m_server.errorString();
    return false;
}

void GatewayServer::Accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (m_tunnels.size() >= m_limits.maxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* tunnel = new GatewayTunnel(socket, m_limits, this);
        m_tunnels.insert(tunnel);
        connect(tunnel, &GatewayTunnel::Finished, this, [this](GatewayTunnel* t) {
            m_tunnels.remove(t);
            t->deleteLater();
        });
    }
}
