#include "PasswordHasher.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

namespace {

constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;
const QString kScheme = QStringLiteral("pbkdf2-sha256");

QByteArray Derive(const QString& password, const QByteArray& salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, iterations,
                                              kHashBytes);
}

// Compares in time independent of where the first difference lies.
bool SameBytes(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

} // namespace

QString PasswordHasher::Hash(const QString& password, int iterations)
{
    iterations = std::clamp(iterations, kMinIterations, kMaxIterations);
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()), kSaltBytes / 4);
    return QStringLiteral("%1$%2$%3$%4")
        .arg(kScheme)
        .arg(iterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(Derive(password, salt, iterations).toBase64()));
}

bool PasswordHasher::Parse(const QString& stored, QByteArray& salt, int& iterations, QByteArray& hash)
{
    const QStringList parts = stored.split('$');
    if (parts.size() != 4 || parts[0] != kScheme)
        return false;
    bool ok = false;
    iterations = parts[1].toInt(&ok);
    if (!ok || iterations < kMinIterations || iterations > kMaxIterations)
        return false;
    const auto s = QByteArray::fromBase64Encoding(parts[2].toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    const auto h = QByteArray::fromBase64Encoding(parts[3].toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!s || !h || s.decoded.isEmpty() || h.decoded.size() != kHashBytes)
        return false;
    salt = s.decoded;
    hash = h.decoded;
    return true;
}

bool PasswordHasher::Verify(const QString& password, const QString& stored)
{
    QByteArray salt;
    QByteArray hash;
    int iterations = 0;
    return Parse(stored, salt, iterations, hash) && SameBytes(Derive(password, salt, iterations), hash);
}
