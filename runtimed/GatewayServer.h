#pragma once

#include "SessionLimits.h"

#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <QTcpServer>

class GatewayTunnel;

// VantelRuntime --gateway: accepts clients and relays each to the runtime it
// names in its CONNECT head, so that a toolkit outside a plant's network can
// reach a runtime inside it.
class GatewayServer : public QObject
{
    Q_OBJECT
public:
    explicit GatewayServer(const SessionLimits& limits, QObject* parent = nullptr);

    bool Listen(const QHostAddress& address, quint16 port, QString& error);
    QHostAddress Address() const { return m_server.serverAddress(); }
    quint16 Port() const { return m_server.serverPort(); }

private:
    void Accept();

    SessionLimits m_limits;
    QTcpServer m_server;
    QSet<GatewayTunnel*> m_tunnels;
};
