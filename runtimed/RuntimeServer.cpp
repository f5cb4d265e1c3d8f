#include "RuntimeServer.h"

#include "ClientSession.h"
#include "TlsCredentials.h"

#include <QTcpSocket>

RuntimeServer::RuntimeServer(TagDatabase& tags, UserDatabase& users, const SessionLimits& limits, QObject* parent)
    : QObject(parent)
    , m_tags(tags)
    , m_users(users)
    , m_limits(limits)
{
    connect(&m_server, &QTcpServer::newConnection, this, &RuntimeServer::Accept);
}

void RuntimeServer::RequireTls(const TlsCredentials& credentials)
{
    m_server.RequireTls(credentials.Configuration(), m_limits.ioMs, m_limits.maxClients);
    m_channelBinding = credentials.ChannelBinding();
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
        auto* session = new ClientSession(socket, m_tags, m_users, m_throttle, m_limits, m_channelBinding, this);
        m_sessions.insert(session);
        connect(session, &ClientSession::Finished, this, [this](ClientSession* s) {
            m_sessions.remove(s);
            s->deleteLater();
        });
    }
}
