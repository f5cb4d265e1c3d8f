#pragma once

#include "ConnectionTarget.h"
#include "SocketChannel.h"
#include "runtime/VantelToolkit.h"
#include "toolkit/protocol/Protocol.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>

class WireWriter;

// One connection to a runtime: the handle the program holds. Requests are
// synchronous and bounded in time; any failure of the link or of the protocol
// marks the connection lost for good, and the program then makes a new one.
struct VtConnection
{
public:
    struct Credentials
    {
        QString user;
        QString password;
        bool given = false;
    };

    struct Reply
    {
        vtproto::Status status = vtproto::Status::BadRequest;
        QByteArray body;
    };

    explicit VtConnection(std::uint32_t generation) : m_generation(generation) {}

    // Tells this connection's tag references from those of an earlier one.
    std::uint32_t Generation() const { return m_generation; }

    // Opens the channel and greets the runtime; then logs on when the runtime
    // wants it. Returns 0 or the ConnectRuntime code of docs/protocol.md.
    HRESULT Open(const ConnectionTarget& target, const Credentials& credentials);
    // Opens and greets only; false when the runtime cannot be reached.
    bool Greet(const ConnectionTarget& target);
    bool LoginRequired() const { return m_loginRequired; }
    // The SHA-256 fingerprint of the certificate the TLS handshake was shown
    // when it was refused; empty otherwise.
    const QString& RefusedFingerprint() const { return m_fingerprint; }

    // One request and its reply; false (and the connection lost) when the link
    // or the reply fails. A refusal by the runtime is a reply with its status.
    bool Exchange(vtproto::Request type, const WireWriter& body, Reply& reply);
    // Notices a closed or silent runtime: checks the socket at once and, after
    // a quiet keep-alive interval, asks the runtime for a sign of life.
    bool CheckLost();
    bool IsLost() const { return m_lost; }
    // Drops the link: after a reply that made no sense nothing more can be trusted.
    void MarkLost();

    static constexpr int kRequestTimeoutMs = 3000;
    static constexpr int kConnectTimeoutMs = 3000;
    static constexpr int kMaxPollingSeconds = 3600;
    // The runtime's keep-alive interval is taken only within these bounds.
    static constexpr std::uint32_t kMinKeepAliveMs = 500;
    static constexpr std::uint32_t kMaxKeepAliveMs = 60000;

private:
    HRESULT OpenAndGreet(const ConnectionTarget& target);
    // The SCRAM-SHA-256 exchange of docs/protocol.md.
    HRESULT LogOn(const Credentials& credentials);

    std::uint32_t m_generation;
    std::unique_ptr<SocketChannel> m_channel;
    std::uint32_t m_sequence = 0;
    bool m_lost = true;
    bool m_loginRequired = false;
    bool m_peerWantsTls = false;
    QString m_fingerprint;
    std::chrono::milliseconds m_keepAlive{2000};
    std::chrono::steady_clock::time_point m_lastExchange;
};
