#pragma once

#include <QByteArray>
#include <QString>

// The server's half of a SCRAM-SHA-256 login (RFC 5802, RFC 7677). It holds no
// password, only the user's verifier; on TLS it insists that the client binds
// the exchange to this server's certificate (tls-server-end-point), so a
// man in the middle with another certificate cannot pass a login on.
class ScramServer
{
public:
    struct Verifier
    {
        QByteArray salt;
        int iterations = 0;
        QByteArray storedKey;
        QByteArray serverKey;
    };
    // What the users file stores, PBKDF2's result, is SCRAM's SaltedPassword.
    static Verifier FromSaltedPassword(const QByteArray& saltedPassword, const QByteArray& salt, int iterations);

    enum class Outcome { Accepted, Refused, Malformed };

    // channelBinding: the tls-server-end-point data of this connection, empty
    // without TLS. The nonce part is fresh unless a test gives one.
    explicit ScramServer(const QByteArray& channelBinding, const QByteArray& nonce = QByteArray());

    // False when the message is malformed or binds the channel otherwise than
    // this connection requires; user is the name the client gave.
    bool ReadClientFirst(const QByteArray& clientFirst, QString& user);
    QByteArray ServerFirst(const Verifier& verifier);
    // Accepted with the server's signature in serverFinal when the proof holds.
    Outcome ReadClientFinal(const QByteArray& clientFinal, QByteArray& serverFinal);

private:
    QByteArray m_channelBinding;
    QByteArray m_nonce;
    QByteArray m_gs2Header;
    QByteArray m_firstBare;
    QByteArray m_serverFirst;
    QByteArray m_combinedNonce;
    Verifier m_verifier;
};
