#pragma once

#include "RuntimeFunctions.h"
#include "toolkit/protocol/Protocol.h"
#include "toolkit/protocol/RowAnswer.h"
#include "toolkit/protocol/RowEntry.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <functional>
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

    // A request whose answer comes later (a device write) gives an empty
    // reply and sets Deferred(); the reply then goes to `send`, unless `owner`
    // has gone by then. Nothing else is answered meanwhile, so that replies
    // keep the order of the requests.
    void ReplyLater(QObject* owner, std::function<void(const QByteArray&)> send);
    bool Deferred() const { return m_deferred; }

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
    vtproto::Status Write(WireReader& in, std::uint32_t sequence);
    vtproto::Status Browse(WireReader& in, WireWriter& out);
    vtproto::Status EnterRows(WireReader& in, WireWriter& out);
    RowAnswer EnterRow(const RowEntry& row, const QString& invalid);
    vtproto::Status Dispatch(vtproto::Request type, std::uint32_t sequence, WireReader& in, WireWriter& out,
                             bool& close);
    static QByteArray Reply(vtproto::Request type, std::uint32_t sequence, vtproto::Status status,
                            const QByteArray& body);

    TagDatabase& m_tags;
    UserDatabase& m_users;
    std::uint32_t m_keepAliveMs;
    State m_state = State::AwaitHello;
    RuntimeFunctions::Context m_context;
    int m_loginFailures = 0;
    bool m_deferred = false;
    QPointer<QObject> m_owner;
    std::function<void(const QByteArray&)> m_sendLater;
    QByteArray m_channelBinding;
    std::unique_ptr<ScramServer> m_scram; // a login exchange has begun
    QString m_loginUser;
};
