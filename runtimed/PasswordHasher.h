#pragma once

#include <QByteArray>
#include <QString>

// Salted PBKDF2-HMAC-SHA256 password hashes, stored as
// "pbkdf2-sha256$ITERATIONS$SALT$HASH" with salt and hash in base64.
class PasswordHasher
{
public:
    static QString Hash(const QString& password, int iterations = kDefaultIterations);
    // False for a wrong password and for any text that is not a hash of this form.
    static bool Verify(const QString& password, const QString& stored);
    // Splits a stored hash; false for any text that is not one of this form.
    // The hash is SCRAM-SHA-256's SaltedPassword for that salt and count.
    static bool Parse(const QString& stored, QByteArray& salt, int& iterations, QByteArray& hash);

    static constexpr int kDefaultIterations = 100000;
    static constexpr int kMinIterations = 1000;
    static constexpr int kMaxIterations = 10000000;
};
