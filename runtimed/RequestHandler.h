#pragma once

#include "RuntimeFunctions.h"
#include "toolkit/protocol/Protocol.h"

#include <QByteArray>
#include <QString>

#include <memory>

class ScramServer;
class TagDatabase;
class UserDatabase;
class WireReader;
class WireWriter;

// The protocol state of one client: handshake, login and the requests of
// docs/protocol.md. Knows nothing of sockets; ClientSession feeds it payloads.
class RequestHandler
{
public:
    // channelBinding: the tls-server-end-point data of a TLS connection, to
    // which its logins are bound; empty without TLS.
    RequestHandler(TagDatabase& tags, UserDatabase& users, std::uint32_t keepAliveMs,
                   const QByteArray& channelBinding = QByteArray());
    ~RequestHandler();

    // The reply payload for one request payload. `close` is set when the
    // connection must end after the reply (or at once, if the reply is empty).
    QByteArray Handle(const QByteArray& payload, bool& close);

    static constexpr int kMaxLoginFailures = 3;
    int LoginFailures() const { return m_loginFailures; }

private:
    enum class State { AwaitHello, AwaitLogin, Ready };

    vtproto::Status Hello(WireReader& in, WireWriter& out, bool& close);
    vtproto::Status Login(WireReader& in, WireWriter& out);
    vtproto::Status LoginProof(WireReader& in, WireWriter& out);
    vtproto::Status Compile(WireReader& in, WireWriter& out);
    vtproto::Status Evaluate(WireReader& in, WireWriter& out);
    vtproto::Status Resolve(WireReader& in, WireWriter& out);
    vtproto::Status Read(WireReader& in, WireWriter& out);
    vtproto::Status Write(WireReader& in);
    vtproto::Status Browse(WireReader& in, WireWriter& out);
    vtproto::Status Dispatch(vtproto::Request type, WireReader& in, WireWriter& out, bool& close);

    TagDatabase& m_tags;
    UserDatabase& m_users;
    std::uint32_t m_keepAliveMs;
    State m_state = State::AwaitHello;
    RuntimeFunctions::Context m_context;
    int m_loginFailures = 0;
    QByteArray m_channelBinding;
    std::unique_ptr<ScramServer> m_scram; // a login exchange has begun
    QString m_loginUser;
};
