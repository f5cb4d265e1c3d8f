#include "RuntimeServer.h"

#include "ClientSession.h"

#include <QTcpSocket>

RuntimeServer::RuntimeServer(TagDatabase& tags, UserDatabase& users, const SessionLimits& limits, QObject* parent)
    : QObject(parent)
    , m_tags(tags)
    , m_users(users)
    , m_limits(limits)
{
    connect(&m_server, &QTcpServer::newConnection, this, &RuntimeServer::Accept);
}

bool RuntimeServer::Listen(const QHostAddress& address, quint16 port, QString& error)
{
    if (m_server.listen(address, port))
        return true;
    error = m_server.errorString();
    return false;
}

void RuntimeServer::Accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (m_sessions.size() >= m_limits.maxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* session = new ClientSession(socket, m_tags, m_users, m_throttle, m_limits, this);
        m_sessions.insert(session);
        connect(session, &ClientSession::Finished, this, [this](ClientSession* s) {
            m_sessions.remove(s);
            s->deleteLater();
        });
    }
}
