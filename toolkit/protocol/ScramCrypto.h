#pragma once

#include <QByteArray>

// The SHA-256 building blocks of a SCRAM-SHA-256 login (RFC 5802, RFC 7677),
// all from OpenSSL: nothing here is computed by hand.
class ScramCrypto
{
public:
    static QByteArray Hmac(const QByteArray& key, const QByteArray& data);
    static QByteArray Sha256(const QByteArray& data);
    // Hi() of RFC 5802: PBKDF2-HMAC-SHA-256 with a 32-byte result. This is also
    // the hash the runtime's users file stores.
    static QByteArray SaltedPassword(const QByteArray& password, const QByteArray& salt, int iterations);
    static QByteArray ClientKey(const QByteArray& saltedPassword);
    static QByteArray ServerKey(const QByteArray& saltedPassword);
    static QByteArray Xor(const QByteArray& a, const QByteArray& b);
    // Compares in time independent of where the first difference lies.
    static bool SameBytes(const QByteArray& a, const QByteArray& b);
    static QByteArray RandomBytes(int count);
    // A fresh nonce: printable, without ',' (base64 of 18 random bytes).
    static QByteArray Nonce();

    static constexpr int kHashBytes = 32;
};
