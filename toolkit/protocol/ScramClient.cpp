#include "ScramClient.h"

#include "ScramCrypto.h"
#include "ScramMessage.h"

ScramClient::ScramClient(const QString& user, const QString& password, const QByteArray& channelBinding,
                         const QByteArray& nonce)
    : m_password(password.toUtf8())
    , m_channelBinding(channelBinding)
    , m_nonce(nonce.isEmpty() ? ScramCrypto::Nonce() : nonce)
    , m_gs2Header(channelBinding.isEmpty() ? QByteArrayLiteral("n,,") : QByteArrayLiteral("p=tls-server-end-point,,"))
    , m_firstBare("n=" + ScramMessage::EncodeName(user) + ",r=" + m_nonce)
{
}

bool ScramClient::ClientFinal(const QByteArray& serverFirst, QByteArray& clientFinal)
{
    QByteArrayList v;
    QByteArray salt;
    bool ok = false;
    if (!ScramMessage::Parse(serverFirst, "rsi", v) || !ScramMessage::IsNonce(m_nonce) || !v[0].startsWith(m_nonce) ||
        v[0].size() == m_nonce.size() || !ScramMessage::IsNonce(v[0]) || !ScramMessage::DecodeBase64(v[1], salt) ||
        salt.isEmpty())
        return false;
    const int iterations = v[2].toInt(&ok);
    if (!ok || iterations < kMinIterations || iterations > kMaxIterations)
        return false;
    const QByteArray withoutProof = "c=" + (m_gs2Header + m_channelBinding).toBase64() + ",r=" + v[0];
    const QByteArray authMessage = m_firstBare + ',' + serverFirst + ',' + withoutProof;
    const QByteArray salted = ScramCrypto::SaltedPassword(m_password, salt, iterations);
    const QByteArray clientKey = ScramCrypto::ClientKey(salted);
    const QByteArray storedKey = ScramCrypto::Sha256(clientKey);
    const QByteArray proof = ScramCrypto::Xor(clientKey, ScramCrypto::Hmac(storedKey, authMessage));
    m_serverSignature = ScramCrypto::Hmac(ScramCrypto::ServerKey(salted), authMessage);
    if (proof.size() != ScramCrypto::kHashBytes || m_serverSignature.size() != ScramCrypto::kHashBytes)
        return false;
    clientFinal = withoutProof + ",p=" + proof.toBase64();
    return true;
}

bool ScramClient::VerifyServerFinal(const QByteArray& serverFinal) const
{
    QByteArrayList v;
    QByteArray signature;
    return !m_serverSignature.isEmpty() && ScramMessage::Parse(serverFinal, "v", v) &&
           ScramMessage::DecodeBase64(v[0], signature) && ScramCrypto::SameBytes(signature, m_serverSignature);
}
