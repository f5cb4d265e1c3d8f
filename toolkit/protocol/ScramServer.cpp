#include "ScramServer.h"

#include "ScramCrypto.h"
#include "ScramMessage.h"

#include <utility>

ScramServer::Verifier ScramServer::FromSaltedPassword(const QByteArray& saltedPassword, const QByteArray& salt,
                                                      int iterations)
{
    return {salt, iterations, ScramCrypto::Sha256(ScramCrypto::ClientKey(saltedPassword)),
            ScramCrypto::ServerKey(saltedPassword)};
}

ScramServer::ScramServer(const QByteArray& channelBinding, const QByteArray& nonce)
    : m_channelBinding(channelBinding)
    , m_nonce(nonce.isEmpty() ? ScramCrypto::Nonce() : nonce)
{
}

bool ScramServer::ReadClientFirst(const QByteArray& clientFirst, QString& user)
{
    m_serverFirst.clear();
    if (clientFirst.size() > ScramMessage::kMaxBytes)
        return false;
    // gs2-header: channel-binding flag, empty authorisation identity.
    const qsizetype flagEnd = clientFirst.indexOf(',');
    const qsizetype headerEnd = flagEnd < 0 ? -1 : clientFirst.indexOf(',', flagEnd + 1);
    if (headerEnd != flagEnd + 1)
        return false;
    const QByteArray flag = clientFirst.left(flagEnd);
    // Without TLS there is nothing to bind ("n", or "y": the client could, but
    // thinks we cannot). On TLS a client that does not bind may be talking
    // through someone else's TLS, so only "p" passes.
    const bool bound = flag == "p=tls-server-end-point";
    if (m_channelBinding.isEmpty() ? (flag != "n" && flag != "y") : !bound)
        return false;
    QByteArrayList v;
    m_gs2Header = clientFirst.left(headerEnd + 1);
    m_firstBare = clientFirst.mid(headerEnd + 1);
    if (!ScramMessage::Parse(m_firstBare, "nr", v) || !ScramMessage::DecodeName(v[0], user) ||
        !ScramMessage::IsNonce(v[1]) || !ScramMessage::IsNonce(m_nonce))
        return false;
    m_combinedNonce = v[1] + m_nonce;
    return true;
}

QByteArray ScramServer::ServerFirst(const Verifier& verifier)
{
    m_verifier = verifier;
    m_serverFirst =
        "r=" + m_combinedNonce + ",s=" + verifier.salt.toBase64() + ",i=" + QByteArray::number(verifier.iterations);
    return m_serverFirst;
}

ScramServer::Outcome ScramServer::ReadClientFinal(const QByteArray& clientFinal, QByteArray& serverFinal)
{
    QByteArrayList v;
    QByteArray binding;
    QByteArray proof;
    if (m_serverFirst.isEmpty() || !ScramMessage::Parse(clientFinal, "crp", v) ||
        !ScramMessage::DecodeBase64(v[0], binding) || !ScramMessage::DecodeBase64(v[2], proof))
        return Outcome::Malformed;
    const QByteArray serverFirst = std::exchange(m_serverFirst, QByteArray()); // one proof per exchange
    if (binding != m_gs2Header + m_channelBinding || v[1] != m_combinedNonce)
        return Outcome::Refused;
    const QByteArray withoutProof = clientFinal.left(clientFinal.lastIndexOf(",p="));
    const QByteArray authMessage = m_firstBare + ',' + serverFirst + ',' + withoutProof;
    const QByteArray clientKey = ScramCrypto::Xor(proof, ScramCrypto::Hmac(m_verifier.storedKey, authMessage));
    if (clientKey.isEmpty() || !ScramCrypto::SameBytes(ScramCrypto::Sha256(clientKey), m_verifier.storedKey))
        return Outcome::Refused;
    serverFinal = "v=" + ScramCrypto::Hmac(m_verifier.serverKey, authMessage).toBase64();
    return Outcome::Accepted;
}
