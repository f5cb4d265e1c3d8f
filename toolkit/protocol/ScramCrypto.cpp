#include "ScramCrypto.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

namespace {

const unsigned char* Bytes(const QByteArray& a)
{
    return reinterpret_cast<const unsigned char*>(a.constData());
}

} // namespace

QByteArray ScramCrypto::Hmac(const QByteArray& key, const QByteArray& data)
{
    QByteArray out(kHashBytes, Qt::Uninitialized);
    unsigned int length = 0;
    if (!HMAC(EVP_sha256(), key.constData(), static_cast<int>(key.size()), Bytes(data),
              static_cast<std::size_t>(data.size()), reinterpret_cast<unsigned char*>(out.data()), &length) ||
        length != kHashBytes)
        return {};
    return out;
}

QByteArray ScramCrypto::Sha256(const QByteArray& data)
{
    QByteArray out(kHashBytes, Qt::Uninitialized);
    SHA256(Bytes(data), static_cast<std::size_t>(data.size()), reinterpret_cast<unsigned char*>(out.data()));
    return out;
}

QByteArray ScramCrypto::SaltedPassword(const QByteArray& password, const QByteArray& salt, int iterations)
{
    QByteArray out(kHashBytes, Qt::Uninitialized);
    if (iterations < 1 || !PKCS5_PBKDF2_HMAC(password.constData(), static_cast<int>(password.size()), Bytes(salt),
                                             static_cast<int>(salt.size()), iterations, EVP_sha256(), kHashBytes,
                                             reinterpret_cast<unsigned char*>(out.data())))
        return {};
    return out;
}

QByteArray ScramCrypto::ClientKey(const QByteArray& saltedPassword)
{
    return Hmac(saltedPassword, QByteArrayLiteral("Client Key"));
}

QByteArray ScramCrypto::ServerKey(const QByteArray& saltedPassword)
{
    return Hmac(saltedPassword, QByteArrayLiteral("Server Key"));
}

QByteArray ScramCrypto::Xor(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return {};
    QByteArray out(a.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < a.size(); ++i)
        out[i] = static_cast<char>(a[i] ^ b[i]);
    return out;
}

bool ScramCrypto::SameBytes(const QByteArray& a, const QByteArray& b)
{
    return a.size() == b.size() && CRYPTO_memcmp(a.constData(), b.constData(), static_cast<std::size_t>(a.size())) == 0;
}

QByteArray ScramCrypto::RandomBytes(int count)
{
    QByteArray out(count, Qt::Uninitialized);
    if (RAND_bytes(reinterpret_cast<unsigned char*>(out.data()), count) != 1)
        return {};
    return out;
}

QByteArray ScramCrypto::Nonce()
{
    return RandomBytes(18).toBase64();
}
