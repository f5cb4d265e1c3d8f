#pragma once

#include <QByteArray>
#include <QString>

// The client's half of a SCRAM-SHA-256 login (RFC 5802, RFC 7677). The
// password never leaves it: the server gets a proof, and must prove in turn
// that it knows the user's verifier. With TLS the exchange is bound to the
// server's certificate (tls-server-end-point).
class ScramClient
{
public:
    // channelBinding: the tls-server-end-point data, empty without TLS. The
    // nonce is fresh unless a test gives one.
    ScramClient(const QString& user, const QString& password, const QByteArray& channelBinding,
                const QByteArray& nonce = QByteArray());

    QByteArray ClientFirst() const { return m_gs2Header + m_firstBare; }
    // The client-final message for the server's first message; false when that
    // message is malformed, does not continue our nonce, or asks for an
    // iteration count outside kMinIterations..kMaxIterations.
    bool ClientFinal(const QByteArray& serverFirst, QByteArray& clientFinal);
    // True only when the server's signature proves it knows the verifier.
    bool VerifyServerFinal(const QByteArray& serverFinal) const;

    // The runtime's users file allows these; more would let an impostor hold
    // the client busy, fewer would be too cheap to guess.
    static constexpr int kMinIterations = 1000;
    static constexpr int kMaxIterations = 10000000;

private:
    QByteArray m_password;
    QByteArray m_channelBinding;
    QByteArray m_nonce;
    QByteArray m_gs2Header;
    QByteArray m_firstBare;
    QByteArray m_serverSignature;
};
