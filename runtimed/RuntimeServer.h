#pragma once

#include "LoginThrottle.h"
#include "SessionLimits.h"
#include "TlsListener.h"

#include <QHostAddress>
#include <QObject>
#include <QSet>

class ClientSession;
class TlsCredentials;
class TagDatabase;
class UserDatabase;

// Accepts clients and gives each a ClientSession; all sessions share one plant
// and one user database on the one thread, so a write is seen by all at once.
class RuntimeServer : public QObject
{
    Q_OBJECT
public:
    RuntimeServer(TagDatabase& tags, UserDatabase& users, const SessionLimits& limits, QObject* parent = nullptr);

    // Every client must then speak TLS with these credentials.
    void RequireTls(const TlsCredentials& credentials);
    bool Listen(const QHostAddress& address, quint16 port, QString& error);
    QHostAddress Address() const { return m_server.serverAddress(); }
    quint16 Port() const { return m_server.serverPort(); }

private:
    void Accept();

    TagDatabase& m_tags;
    UserDatabase& m_users;
    SessionLimits m_limits;
    LoginThrottle m_throttle;
    TlsListener m_server;
    QByteArray m_channelBinding;
    QSet<ClientSession*> m_sessions;
};
